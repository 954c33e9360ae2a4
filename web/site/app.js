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
let result = null; // { name, zip: Blob } to download

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
  let beside;
  if (mode === 'game') {
    runs = ['A', 'B'].map((label) => ({ label, problem: fileOf(game.files, `System${label}.txt`) }));
    beside = game.files;
  } else {
    runs = [{ label: '', problem }];
    beside = [problem];
  }
  const copy = (f) => ({ name: f.name, data: f.data.slice() });
  runs = runs.map((r) => ({ label: r.label, problem: copy(r.problem) }));
  beside = beside.map(copy);
  $('solve').disabled = true;
  $('download').disabled = true;
  $('runs').replaceChildren();
  result = null;
  document.body.dataset.state = 'solving';
  $('progress').textContent = 'Solving…';
  worker.postMessage({ type: 'solve', runs, beside, separator: $('separator').value });
});

$('download').addEventListener('click', () => {
  if (!result) return;
  const url = URL.createObjectURL(result.zip);
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
  if (run.lastLine !== null) {
    const status = document.createElement('p');
    status.className = 'final-status';
    status.textContent = `${run.reports} reports; the last: ${run.lastLine}`;
    box.append(status);
  }
  if (run.gameResult !== null) addPre(box, run.gameResult, 'file game-result');
  if (run.stderr) addPre(box, run.stderr, 'file error');
  const list = document.createElement('p');
  list.className = 'files';
  list.textContent = run.files.length ? `Files: ${run.files.join(', ')}` : 'No file written.';
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
  } else if (message.type === 'progress') {
    const who = message.label ? `player ${message.label}: ` : '';
    $('progress').textContent = `Solving… ${who}${message.reports} reports written`;
  } else if (message.type === 'solved') {
    const seconds = message.seconds.toFixed(2);
    result = {
      name: mode === 'game' ? `game-${game.seed}.zip` : `${problem.name.replace(/\.[^.]*$/, '') || 'run'}.zip`,
      zip: message.zip,
    };
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
