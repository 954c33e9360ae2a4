// Runs the solver and the generator's draw off the page's thread. Each solve
// gets a fresh instance of the solver with its own memory and files, as a
// new process would; the compiled code is shared.
'use strict';
importScripts('lorvex.js', 'draw.js', 'view.js', 'zip.js');

const solverCode = WebAssembly.compileStreaming(fetch('lorvex.wasm'));
const viewCode = WebAssembly.compileStreaming(fetch('view.wasm'));
let drawModule = null;

function instantiateFrom(code) {
  return (imports, receive) => {
    code.then((module) => WebAssembly.instantiate(module, imports)).then((instance) => receive(instance));
    return {};
  };
}

const reportName = /^out(\d+)\.txt$/;

// Report files in number order, then the rest by name.
function fileOrder(a, b) {
  const ra = reportName.exec(a);
  const rb = reportName.exec(b);
  if (ra && rb) return Number(ra[1]) - Number(rb[1]);
  if (ra || rb) return ra ? -1 : 1;
  return a < b ? -1 : a > b ? 1 : 0;
}

function readFiles(FS, dir) {
  return FS.readdir(dir)
    .filter((name) => name !== '.' && name !== '..')
    .sort(fileOrder)
    .map((name) => ({ name, data: FS.readFile(`${dir}/${name}`) }));
}

// One run of the solver on `problem` ({ name, data }): what a run of Lorvex
// in a folder holding only that file leaves goes into `files` (name ->
// bytes), each file as soon as the solver closes it, leaving the module's
// memory, so that a long run holds one copy of its reports. Returns what
// the page shows of the run.
async function solve(label, problem, separator, files) {
  const typed = new TextEncoder().encode(`${problem.name}\n`);
  let read = 0;
  const stdout = [];
  const stderr = [];
  let reports = 0;
  let status = null;
  const solver = await createLorvex({
    thisProgram: 'Lorvex',
    decimalSeparator: separator,
    instantiateWasm: instantiateFrom(solverCode),
    stdin: () => (read < typed.length ? typed[read++] : null),
    stdout: (c) => c !== null && stdout.push(c),
    stderr: (c) => c !== null && stderr.push(c),
    print: () => {},
    printErr: () => {},
    onExit: (code) => {
      status = code;
    },
  });
  const FS = solver.FS;
  FS.mkdir('/run');
  FS.chdir('/run');
  FS.writeFile(`/run/${problem.name}`, problem.data);
  const send = (name) => {
    const data = FS.readFile(`/run/${name}`);
    FS.unlink(`/run/${name}`);
    files.set(name, data);
  };
  const close = FS.close;
  FS.close = function (stream) {
    const path = stream.path || '';
    const written = (stream.flags & 3) !== 0;
    const result = close.apply(this, arguments);
    const name = path.slice(path.lastIndexOf('/') + 1);
    if (written && path === `/run/${name}`) {
      send(name);
      if (reportName.test(name) && ++reports % 5 === 1) postMessage({ type: 'progress', label, reports });
    }
    return result;
  };
  try {
    const code = solver.callMain([]);
    if (status === null) status = code;
  } catch (error) {
    if (error && error.name === 'ExitStatus') status = error.status;
    else throw error;
  }
  // A file that an error left open (the problem, unless the run wrote over
  // it, has been sent already or stays the page's own).
  for (const name of FS.readdir('/run')) if (name !== '.' && name !== '..' && name !== problem.name) send(name);
  postMessage({ type: 'progress', label, reports });
  const decoder = new TextDecoder('latin1');
  const names = [...files.keys()].sort(fileOrder);
  const last = names.filter((name) => reportName.test(name)).pop();
  const lines = last ? decoder.decode(files.get(last)).split('\r\n').filter((line) => line !== '') : [];
  return {
    label,
    status,
    stdout: decoder.decode(new Uint8Array(stdout)),
    stderr: decoder.decode(new Uint8Array(stderr)),
    reports,
    files: names,
    lastLine: lines.length ? lines[lines.length - 1] : null,
    gameResult: files.has('GResult.txt') ? decoder.decode(files.get('GResult.txt')) : null,
  };
}

// A fresh instance of the view's module; the lines it writes on standard
// error go to `errors` when given.
function createViewModule(errors = null) {
  return createView({
    thisProgram: 'view',
    instantiateWasm: instantiateFrom(viewCode),
    print: () => {},
    printErr: (line) => errors && errors.push(line),
  });
}

// A payoff matrix ({ name, data }) made ready as mgame solve does it: the
// shifted matrix and both players' systems written by mgame's own code,
// decimals with `separator`. Returns { files } or, for a matrix that cannot
// be used, { error } with mgame's message.
async function prepareGame(matrix, separator) {
  const errors = [];
  const module = await createViewModule(errors);
  const FS = module.FS;
  FS.mkdir('/game');
  FS.chdir('/game');
  FS.writeFile(`/game/${matrix.name}`, matrix.data);
  if (module.ccall('PrepareGame', 'number', ['string', 'number'], [matrix.name, separator.charCodeAt(0)]) !== 0)
    return { error: errors.map((line) => `${line}\n`).join('') };
  return { files: ['GMatrixP.txt', 'SystemA.txt', 'SystemB.txt'].map((name) => ({ name, data: FS.readFile(`/game/${name}`) })) };
}

// The walk-through of the run's files (`entries`, by path in the folder),
// as the view writes it for the folder `folder`: the steps page of each run,
// and a game's index page; for the game of the matrix file `matrix` (a name
// in the folder), as mgame solve writes them. Returns the pages written, by
// path.
async function walkThrough(folder, entries, matrix = null) {
  const view = await createViewModule();
  const FS = view.FS;
  FS.mkdir(`/${folder}`);
  for (const [name, data] of entries) {
    const slash = name.lastIndexOf('/');
    if (slash > 0) {
      try {
        FS.mkdir(`/${folder}/${name.slice(0, slash)}`);
      } catch (error) {
        // made for an earlier file
      }
    }
    // The module reads the bytes where they are, without a copy.
    const stream = FS.open(`/${folder}/${name}`, 'w');
    FS.write(stream, data, 0, data.length, 0, true);
    FS.close(stream);
  }
  FS.chdir('/');
  if (matrix !== null) {
    view.ccall('ViewGame', 'number', ['string', 'string'], [`${folder}/${matrix}`, folder]);
  } else {
    try {
      view.callMain([folder]);
    } catch (error) {
      if (!(error && error.name === 'ExitStatus')) throw error;
    }
  }
  const pages = new Map();
  for (const name of ['index.html', 'steps.html', 'A/steps.html', 'B/steps.html']) {
    const path = `/${folder}/${name}`;
    if (FS.analyzePath(path).exists) pages.set(name, FS.readFile(path));
  }
  return pages;
}

async function draw(seed) {
  if (drawModule === null) drawModule = await createDraw({ print: () => {}, printErr: () => {} });
  const FS = drawModule.FS;
  if (seed === null) seed = drawModule._ClockSeed();
  try {
    FS.mkdir('/game');
  } catch (error) {
    // there from an earlier draw
  }
  FS.chdir('/game');
  const code = drawModule._DrawGame(seed >>> 0);
  if (code !== 0) throw new Error(`the draw failed with error ${code}`);
  return { seed: seed >>> 0, files: readFiles(FS, '/game') };
}

onmessage = async (event) => {
  const job = event.data;
  try {
    if (job.type === 'draw') {
      const game = await draw(job.seed);
      postMessage({ type: 'drawn', ...game }, game.files.map((f) => f.data.buffer));
    } else if (job.type === 'solve') {
      // A payoff matrix: first its game's files, which both players' runs
      // take as a drawn game's; a matrix refused ends here, with no zip.
      if (job.matrix) {
        const prepared = await prepareGame(job.matrix, job.separator);
        if (prepared.error !== undefined) {
          const refused = { label: '', status: 1, stdout: '', stderr: prepared.error, reports: 0, files: [], lastLine: null, gameResult: null };
          postMessage({ type: 'solved', runs: [refused], zip: null, seconds: 0, pages: [] });
          return;
        }
        job.beside = [job.matrix, ...prepared.files];
        job.runs = ['A', 'B'].map((label) => ({ label, problem: prepared.files.find((f) => f.name === `System${label}.txt`) }));
      }
      // The zip: the files beside the runs (the game's, or the problem),
      // then each run's, in a folder of its label when it has one; a file
      // that a run wrote over replaces the one there, as on a disk.
      const entries = new Map(job.beside.map((f) => [f.name, f.data]));
      const runs = [];
      const started = performance.now();
      for (const run of job.runs) {
        const files = new Map();
        runs.push(await solve(run.label, run.problem, job.separator, files));
        for (const name of [...files.keys()].sort(fileOrder))
          entries.set(run.label ? `${run.label}/${name}` : name, files.get(name));
      }
      const seconds = (performance.now() - started) / 1000;
      postMessage({ type: 'progress', label: '', reports: null });
      const pages = await walkThrough(job.folder, entries, job.matrix ? job.matrix.name : null);
      for (const [name, data] of pages) entries.set(name, data);
      const zip = makeZip([...entries].map(([name, data]) => ({ name, data })));
      const html = [...pages].map(([name, data]) => ({ name, text: new TextDecoder().decode(data) }));
      postMessage({ type: 'solved', runs, zip, seconds, pages: html });
    }
  } catch (error) {
    postMessage({ type: 'failed', message: String(error && error.message ? error.message : error) });
  }
};
