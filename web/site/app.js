// The page: draws a game, takes a payoff matrix or a problem file, has the
// worker solve it,
// shows each run's outcome and offers every file of the run as a zip.
'use strict';

const $ = (id) => document.getElementById(id);
const worker = new Worker('worker.js');
const latin1 = new TextDecoder('latin1');

// What Solve runs: the drawn game or the typed matrix (both players), or
// one problem file.
let game = null; // { seed, files }
let problem = null; // { name, data }
const matrixName = 'matrix.txt'; // the typed matrix's, in messages and in the zip
let mode = null; // 'game', 'matrix' or 'problem'
let result = null; // { name, zip: Blob } to download
let solving = null; // { folder, title }: the run under way, as Solve was clicked

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
  const targets = {
    game: () => `solves the game of seed ${game.seed}, both players`,
    matrix: () => 'solves the typed matrix, both players',
    problem: () => `solves ${problem.name}`,
  };
  $('target').textContent = mode === null ? '' : targets[mode]();
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

// What Solve takes when the text that was edited last is emptied.
function fallbackMode() {
  if ($('payoffs').value.trim() !== '') return 'matrix';
  if ($('problem').value.trim() !== '') return 'problem';
  return game ? 'game' : null;
}

$('problem').addEventListener('input', () => {
  const text = $('problem').value;
  problem = { name: problem && problem.opened ? problem.name : 'problem.txt', data: new TextEncoder().encode(text) };
  setMode(text.trim() === '' ? fallbackMode() : 'problem');
});

$('payoffs').addEventListener('input', () => setMode($('payoffs').value.trim() === '' ? fallbackMode() : 'matrix'));

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
  let matrix = null;
  if (mode === 'game') {
    runs = ['A', 'B'].map((label) => ({ label, problem: fileOf(game.files, `System${label}.txt`) }));
    beside = game.files;
  } else if (mode === 'matrix') {
    // The worker writes both players' systems with mgame's code.
    matrix = { name: matrixName, data: new TextEncoder().encode($('payoffs').value) };
    runs = [];
    beside = [];
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
  showPages([]);
  result = null;
  document.body.dataset.state = 'solving';
  $('progress').textContent = 'Solving…';
  solving = { folder: folderName(), title: mode === 'matrix' ? 'The matrix' : mode === 'problem' ? problem.name : '' };
  worker.postMessage({ type: 'solve', runs, beside, matrix, folder: solving.folder, separator: $('separator').value });
});

// The run's folder, as the desktop programs name it; the zip is named after it.
function folderName() {
  if (mode === 'game') return `game-${game.seed}`;
  if (mode === 'matrix') return matrixName.replace(/\.txt$/, '');
  return problem.name.replace(/\.[^.]*$/, '') || 'run';
}

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

// The walk-through: the view's own pages, one at a time in a frame; a link
// from one page to another shows that one.
const pageTitles = { 'index.html': 'The game', 'A/steps.html': 'Player A: steps', 'B/steps.html': 'Player B: steps', 'steps.html': 'Steps' };
let pageUrls = new Map();

function showPage(name) {
  for (const button of $('pages').querySelectorAll('button')) button.setAttribute('aria-pressed', String(button.dataset.page === name));
  $('walk').dataset.page = name;
  $('walk').src = pageUrls.get(name);
}

function showPages(pages) {
  for (const url of pageUrls.values()) URL.revokeObjectURL(url);
  pageUrls = new Map(pages.map((p) => [p.name, URL.createObjectURL(new Blob([p.text], { type: 'text/html' }))]));
  $('pages').replaceChildren(
    ...pages.map((p) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.page = p.name;
      button.textContent = pageTitles[p.name] || p.name;
      button.addEventListener('click', () => showPage(p.name));
      return button;
    }),
  );
  $('walkthrough').hidden = pages.length === 0;
  if (pages.length) showPage(pages[0].name);
  // The page shown before leaves the frame, rather than stay in memory
  // beside the next run's.
  else $('walk').src = 'about:blank';
}

$('walk').addEventListener('load', () => {
  const page = $('walk').dataset.page || '';
  const base = page.includes('/') ? page.slice(0, page.lastIndexOf('/') + 1) : '';
  const document = $('walk').contentDocument;
  if (!document) return;
  for (const link of document.querySelectorAll('a[href]')) {
    const target = link.getAttribute('href');
    const name = target.startsWith('../') ? target.slice(3) : base + target;
    if (pageUrls.has(name))
      link.addEventListener('click', (event) => {
        event.preventDefault();
        showPage(name);
      });
    else if (!/^[a-z]+:|^#/i.test(target)) {
      // A report or result file: here only in the zip.
      link.title = `${target}: in the zip of the run`;
      link.addEventListener('click', (event) => event.preventDefault());
    }
  }
});

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
    $('payoffs').value = '';
    setMode('game');
  } else if (message.type === 'progress' && message.reports === null) {
    $('progress').textContent = 'Writing the walk-through…';
  } else if (message.type === 'progress') {
    const who = message.label ? `player ${message.label}: ` : '';
    $('progress').textContent = `Solving… ${who}${message.reports} reports written`;
  } else if (message.type === 'solved') {
    const seconds = message.seconds.toFixed(2);
    result = message.zip ? { name: `${solving.folder}.zip`, zip: message.zip } : null;
    for (const run of message.runs) showRun(run, run.label ? `Player ${run.label}` : solving.title);
    showPages(message.pages);
    const total = message.runs.reduce((sum, r) => sum + r.reports, 0);
    $('progress').textContent = message.zip ? `Done in ${seconds} s: ${total} reports.` : 'Nothing solved: the matrix cannot be used.';
    $('progress').dataset.seconds = seconds;
    $('download').disabled = result === null;
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
