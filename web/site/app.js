// The page: draws a game or takes a problem file, has the worker solve it,
// shows each run's outcome and offers every file of the run as a zip.
'use strict';

const $ = (id) => document.getElementById(id);
const worker = new Worker('worker.js');
const latin1 = new TextDecoder('latin1');

// What Solve runs: the drawn game (both players) or one problem file.
let game = null; // { seed, files }
let problem = null; // { name, data }
let mode = null; // 'game' or 'problem'
let result = null; // { name, entries } for the zip
let received = new Map(); // run label -> Map(file name -> bytes), as the worker sends them
let started = 0;

function localSeparator() {
  try {
    const part = new Intl.NumberFormat(navigator.language).formatToParts(1.5).find((p) => p.type === 'decimal');
    return part && part.value === ',' ? ',' : '.';
  } catch (error) {
    return '.';
  }
}

function setMode(next) {
  mode = next;
  $('target').textContent =
    mode === 'game' ? `solves the game of seed ${game.seed}, both players` : mode === 'problem' ? `solves ${problem.name}` : '';
  $('solve').disabled = mode === null;
}

// Report files in number order, then the rest by name.
function fileOrder(a, b) {
  const ra = /^out(\d+)\.txt$/.exec(a);
  const rb = /^out(\d+)\.txt$/.exec(b);
  if (ra && rb) return Number(ra[1]) - Number(rb[1]);
  if (ra || rb) return ra ? -1 : 1;
  return a < b ? -1 : a > b ? 1 : 0;
}

function fileOf(files, name) {
  return files.find((f) => f.name === name);
}

$('draw').addEventListener('click', () => {
  const text = $('seed').value.trim();
  if (text !== '' && !(/^[0-9]+$/.test(text) && Number(text) <= 4294967295)) {
    $('progress').textContent = 'A seed is a whole number from 0 to 4294967295.';
    return;
  }
  worker.postMessage({ type: 'draw', seed: text === '' ? null : Number(text) });
});

$('problem').addEventListener('input', () => {
  const text = $('problem').value;
  problem = { name: problem && problem.opened ? problem.name : 'problem.txt', data: new TextEncoder().encode(text) };
  setMode(text.trim() === '' ? (game ? 'game' : null) : 'problem');
});

$('open').addEventListener('change', async () => {
  const file = $('open').files[0];
  if (!file) return;
  const data = new Uint8Array(await file.arrayBuffer());
  problem = { name: file.name.replace(/[\\/]/g, '_') || 'problem.txt', data, opened: true };
  $('problem').value = latin1.decode(data);
  setMode('problem');
});

$('solve').addEventListener('click', () => {
  let runs;
  if (mode === 'game') {
    runs = [
      { label: 'A', problem: fileOf(game.files, 'SystemA.txt') },
      { label: 'B', problem: fileOf(game.files, 'SystemB.txt') },
    ].map((r) => ({ label: r.label, problem: { name: r.problem.name, data: r.problem.data.slice() } }));
  } else {
    runs = [{ label: '', problem: { name: problem.name, data: problem.data.slice() } }];
  }
  $('solve').disabled = true;
  $('download').disabled = true;
  $('runs').replaceChildren();
  result = null;
  received = new Map(runs.map((r) => [r.label, new Map()]));
  document.body.dataset.state = 'solving';
  started = performance.now();
  $('progress').textContent = 'Solving…';
  worker.postMessage({ type: 'solve', runs, separator: $('separator').value });
});

$('download').addEventListener('click', () => {
  if (!result) return;
  const url = URL.createObjectURL(makeZip(result.entries));
  const link = document.createElement('a');
  link.href = url;
  link.download = result.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
});

function addPre(parent, text, className) {
  const pre = document.createElement('pre');
  pre.className = className;
  pre.textContent = text;
  parent.append(pre);
  return pre;
}

function showRun(run, title) {
  const box = document.createElement('div');
  box.className = 'run';
  box.dataset.label = run.label;
  box.dataset.status = String(run.status);
  const heading = document.createElement('h3');
  heading.textContent = title;
  box.append(heading);
  const last = run.files.filter((f) => /^out\d+\.txt$/.test(f.name)).pop();
  if (last) {
    const lines = latin1.decode(last.data).split('\r\n').filter((l) => l !== '');
    const status = document.createElement('p');
    status.className = 'final-status';
    status.textContent = `${run.reports} reports; the last: ${lines[lines.length - 1] || ''}`;
    box.append(status);
  }
  const gameResult = fileOf(run.files, 'GResult.txt');
  if (gameResult) addPre(box, latin1.decode(gameResult.data), 'file game-result');
  if (run.stderr) addPre(box, run.stderr, 'file error');
  const list = document.createElement('p');
  list.className = 'files';
  list.textContent = run.files.length ? `Files: ${run.files.map((f) => f.name).join(', ')}` : 'No file written.';
  box.append(list);
  $('runs').append(box);
}

worker.onmessage = (event) => {
  const message = event.data;
  if (message.type === 'drawn') {
    game = { seed: message.seed, files: message.files };
    $('seed-shown').textContent = `seed ${message.seed}`;
    $('seed-shown').dataset.seed = String(message.seed);
    $('seed').value = String(message.seed);
    $('matrix').textContent = latin1.decode(fileOf(game.files, 'GMatrix.txt').data);
    $('matrix').hidden = false;
    $('problem').value = '';
    setMode('game');
  } else if (message.type === 'file') {
    received.get(message.label).set(message.name, message.data);
  } else if (message.type === 'progress') {
    const who = message.label ? `player ${message.label}: ` : '';
    $('progress').textContent = `Solving… ${who}${message.reports} reports written`;
  } else if (message.type === 'solved') {
    for (const run of message.runs)
      run.files = [...received.get(run.label)].sort((a, b) => fileOrder(a[0], b[0])).map(([name, data]) => ({ name, data }));
    received = new Map();
    const seconds = ((performance.now() - started) / 1000).toFixed(2);
    let entries;
    if (mode === 'game') {
      entries = game.files.map((f) => ({ name: f.name, data: f.data }));
      for (const run of message.runs)
        for (const f of run.files) entries.push({ name: `${run.label}/${f.name}`, data: f.data });
      result = { name: `game-${game.seed}.zip`, entries };
    } else {
      // A report written over the problem file replaces it, as on a disk.
      const own = message.runs[0].files;
      entries = [...(own.some((f) => f.name === problem.name) ? [] : [{ name: problem.name, data: problem.data }]), ...own];
      result = { name: `${problem.name.replace(/\.[^.]*$/, '') || 'run'}.zip`, entries };
    }
    for (const run of message.runs) showRun(run, run.label ? `Player ${run.label}` : problem.name);
    const total = message.runs.reduce((sum, r) => sum + r.reports, 0);
    $('progress').textContent = `Done in ${seconds} s: ${total} reports.`;
    $('progress').dataset.seconds = seconds;
    $('download').disabled = false;
    $('solve').disabled = false;
    document.body.dataset.state = 'solved';
  } else if (message.type === 'failed') {
    $('progress').textContent = `The run failed: ${message.message}`;
    $('solve').disabled = mode === null;
    document.body.dataset.state = 'failed';
  }
};

$('separator').value = localSeparator();
$('draw').disabled = false;
$('progress').textContent = 'Ready.';
document.body.dataset.state = 'ready';
