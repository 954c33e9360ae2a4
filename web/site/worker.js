// Runs the solver and the generator's draw off the page's thread. Each solve
// gets a fresh instance of the solver with its own memory and files, as a
// new process would; the compiled code is shared.
'use strict';
importScripts('lorvex.js', 'draw.js');

const solverCode = WebAssembly.compileStreaming(fetch('lorvex.wasm'));
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
// in a folder holding only that file leaves, with its console output. Each
// file goes to the page once the solver closes it and leaves the module's
// memory, so that a long run holds one copy of its reports, on the page.
async function solve(label, problem, separator) {
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
    postMessage({ type: 'file', label, name, data }, [data.buffer]);
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
  return {
    label,
    status,
    stdout: decoder.decode(new Uint8Array(stdout)),
    stderr: decoder.decode(new Uint8Array(stderr)),
    reports,
  };
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
      const runs = [];
      for (const run of job.runs) runs.push(await solve(run.label, run.problem, job.separator));
      postMessage({ type: 'solved', runs });
    }
  } catch (error) {
    postMessage({ type: 'failed', message: String(error && error.message ? error.message : error) });
  }
};
