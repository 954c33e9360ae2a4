// Drives the page headless in the system's chromium, served from loopback:
// no console error, no request to another host; draws the seed-12345 game
// and solves it, types payoff matrices, opens the worked example and an
// N = 60 problem, under point and comma, and compares every file of the
// downloaded zip with what the native programs write: the draw's, mgame
// solve's, the solver's and the view's pages.
// Usage: node web-page.mjs SITE BUILD_DIR REPO [SCREENSHOT.png]
// MG_WEB_LARGE=1 also solves the N = 255 game, prints its time and the
// tab's peak memory, and checks that the tab stays under 1 GB.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { chromium } from 'playwright-core';

const [site, build, repo, screenshot] = process.argv.slice(2);
const lorvex = path.join(build, 'solver/Lorvex');
const mgame = path.join(build, 'mgame/mgame');
const drawGame = path.join(build, 'tests/DrawGame');
const failures = [];
const check = (ok, what) => {
  if (!ok) failures.push(what);
};

// --- A static server on loopback ---
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const server = http.createServer((request, response) => {
  const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
  const file = path.join(site, path.normalize(name));
  if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  response.end(fs.readFileSync(file));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}`;

// --- Zips, read on their own terms ---
function readZip(bytes) {
  const files = new Map();
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const end = bytes.length - 22;
  check(view.getUint32(end, true) === 0x06054b50, 'zip: no end record');
  const count = view.getUint16(end + 10, true);
  let at = view.getUint32(end + 16, true);
  for (let i = 0; i < count; ++i) {
    check(view.getUint32(at, true) === 0x02014b50, 'zip: bad central record');
    const crc = view.getUint32(at + 16, true);
    const size = view.getUint32(at + 24, true);
    const nameLength = view.getUint16(at + 28, true);
    const local = view.getUint32(at + 42, true);
    const name = bytes.subarray(at + 46, at + 46 + nameLength).toString();
    const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
    const data = bytes.subarray(start, start + size);
    check(zlib.crc32(data) === crc, `zip: CRC of ${name}`);
    files.set(name, data);
    at += 46 + nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
  }
  return files;
}

// Every file a native run leaves beside the problem, by name; the run in
// `dir` when given (kept), else in a scratch folder.
function nativeRun(problemName, data, separator, dir = null) {
  const work = dir || fs.mkdtempSync(path.join(os.tmpdir(), 'mg-native-'));
  fs.mkdirSync(work, { recursive: true });
  fs.writeFileSync(path.join(work, problemName), data);
  const locale = separator === ',' ? 'de_DE.UTF-8' : 'C';
  spawnSync(lorvex, { cwd: work, input: `${problemName}\n`, env: { ...process.env, LC_ALL: locale } });
  const files = new Map();
  for (const name of fs.readdirSync(work)) if (name !== problemName) files.set(name, fs.readFileSync(path.join(work, name)));
  if (!dir) fs.rmSync(work, { recursive: true });
  return files;
}

// The view's pages of a native folder `folder` in `parent`, by path.
function nativePages(parent, folder) {
  spawnSync(mgame, ['view', folder], { cwd: parent });
  const pages = new Map();
  for (const name of ['index.html', 'steps.html', 'A/steps.html', 'B/steps.html']) {
    const file = path.join(parent, folder, name);
    if (fs.existsSync(file)) pages.set(name, fs.readFileSync(file));
  }
  return pages;
}

// What `mgame solve matrix.txt --view` writes in `parent` for the matrix
// `text`: its standard error, and the files of the folder matrix/ by path.
function nativeSolve(parent, text, separator) {
  fs.writeFileSync(path.join(parent, 'matrix.txt'), text);
  const locale = separator === ',' ? 'de_DE.UTF-8' : 'C';
  const run = spawnSync(mgame, ['solve', 'matrix.txt', '--view'], { cwd: parent, env: { ...process.env, LC_ALL: locale } });
  const files = new Map();
  const folder = path.join(parent, 'matrix');
  for (const name of fs.existsSync(folder) ? fs.readdirSync(folder, { recursive: true }) : []) {
    const file = path.join(folder, name);
    if (fs.statSync(file).isFile()) files.set(name, fs.readFileSync(file));
  }
  return { stderr: run.stderr.toString(), files };
}

// The files of `files` in the folder `prefix`, without it; the view's pages apart.
function runFiles(files, prefix) {
  const run = new Map();
  for (const [name, data] of files)
    if (name.startsWith(prefix) && !name.slice(prefix.length).includes('/') && !name.endsWith('.html')) run.set(name.slice(prefix.length), data);
  return run;
}

function comparePages(what, page, native) {
  check(native.size > 0, `${what}: the native view wrote no page`);
  for (const [name, data] of native)
    check(page.has(name) && Buffer.compare(page.get(name), data) === 0, `${what}: ${name} differs from the view's`);
}

function compareRun(what, page, prefix, native) {
  const names = [...page.keys()].filter((n) => n.startsWith(prefix) && !n.slice(prefix.length).includes('/'));
  const pageNames = names.map((n) => n.slice(prefix.length)).filter((n) => native.has(n) || /^out|GResult/.test(n));
  check(pageNames.length === native.size, `${what}: ${pageNames.length} files on the page, ${native.size} native`);
  for (const [name, data] of native)
    check(page.has(prefix + name) && Buffer.compare(page.get(prefix + name), data) === 0, `${what}: ${name} differs`);
}

// The largest peak resident size, in MB, of the browser's renderers (the
// page, its worker and its frame run in one): the processes under this one.
function rendererPeak() {
  const children = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      children.set(parent, [...(children.get(parent) || []), Number(pid)]);
    } catch (error) {
      // gone meanwhile
    }
  }
  let peak = 0;
  for (const queue = [process.pid]; queue.length; ) {
    const pid = queue.pop();
    queue.push(...(children.get(pid) || []));
    try {
      if (!fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer')) continue;
      const kb = Number(/VmHWM:\s+(\d+)/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'))[1]);
      peak = Math.max(peak, Math.round(kb / 1024));
    } catch (error) {
      // gone meanwhile
    }
  }
  return peak;
}

// --- The browser ---
const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-chromium-'));
const context = await chromium.launchPersistentContext(userDataDir, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  acceptDownloads: true,
  viewport: { width: 1100, height: 900 },
  args: [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync',
  ],
});
context.on('request', (request) => check(request.url().startsWith(origin) || request.url().startsWith('blob:'), `request to ${request.url()}`));
const page = context.pages()[0] || (await context.newPage());
page.on('console', (message) => check(message.type() !== 'error', `console error: ${message.text()}`));
page.on('pageerror', (error) => check(false, `page error: ${error.message}`));
await page.goto(`${origin}/`);
await page.waitForSelector('body[data-state="ready"]');

// Whether the page counted reports while the run went on.
async function watchProgress() {
  await page.evaluate(() => {
    window.progressSeen = false;
    new MutationObserver(() => {
      if (/reports written/.test(document.getElementById('progress').textContent)) window.progressSeen = true;
    }).observe(document.getElementById('progress'), { childList: true, characterData: true, subtree: true });
  });
}

async function solveAndDownload() {
  await watchProgress();
  await page.click('#solve');
  await page.waitForSelector('body[data-state="solved"], body[data-state="failed"]', { timeout: 600000 });
  check((await page.getAttribute('body', 'data-state')) === 'solved', await page.textContent('#progress'));
  const seconds = Number(await page.getAttribute('#progress', 'data-seconds'));
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  return { files: readZip(fs.readFileSync(await download.path())), seconds };
}

// Payoff matrices typed on the page: mgame's shift of 10, and its other
// shift over decimals, comments and blanks.
const matrices = [
  ['rock-paper-scissors', '0 -1 1\n1 0 -1\n-1 1 0\n'],
  ['4 x 7 decimals', '# A against B\n1.5 -2.25 0 3.125 -1 2 0.5\n-12.5 4 1.75 -0.5 2.5 -3 1\n\n' +
    '0.25\t-1 5.5 2 -4.75 0 -2  # row 3\n3 0.125 -2 -1.5 1 6.25 -0.75\n'],
];
// Matrices refused, with mgame's message.
const refusedMatrices = ['1 2 3\n# two\n4 5\n', '1 2\n3 1,5\n'];

const corpus = path.join(repo, 'tests/corpus/problems');
const problems = [
  ['worked', path.join(repo, 'examples/worked.txt')],
  ['N = 60', path.join(corpus, 'game20A.txt')],
];
if (process.env.MG_WEB_LARGE === '1') problems.push(['N = 255', path.join(corpus, 'game85A.txt')]);

for (const separator of ['.', ',']) {
  await page.selectOption('#separator', separator);
  await page.fill('#seed', '12345');
  await page.click('#draw');
  await page.waitForSelector('#seed-shown[data-seed="12345"]');
  const game = await solveAndDownload();
  check((await page.$$eval('.run', (runs) => runs.map((r) => r.dataset.status).join())) === '0,0', 'seed 12345: exit statuses');
  const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-native-'));
  const folder = path.join(parent, 'game-12345');
  fs.mkdirSync(folder);
  spawnSync(drawGame, ['12345', folder]);
  for (const name of ['GMatrix.txt', 'GMatrixP.txt', 'SystemA.txt', 'SystemB.txt'])
    check(game.files.has(name) && Buffer.compare(game.files.get(name), fs.readFileSync(path.join(folder, name))) === 0,
      `seed 12345: ${name} is not the generator's`);
  for (const player of ['A', 'B']) {
    const system = fs.readFileSync(path.join(folder, `System${player}.txt`));
    const native = nativeRun(`System${player}.txt`, system, separator, path.join(folder, player));
    native.delete(`System${player}.txt`);
    fs.rmSync(path.join(folder, player, `System${player}.txt`));
    compareRun(`seed 12345 ${player} '${separator}'`, game.files, `${player}/`, native);
  }
  comparePages(`seed 12345 '${separator}'`, game.files, nativePages(parent, 'game-12345'));
  fs.rmSync(parent, { recursive: true });
  // The walk-through from the browser's DOM: one grid a report, a pivot a step.
  const frame = page.frameLocator('#walk');
  await frame.locator('a[href="A/steps.html"]').click();
  await page.waitForSelector('#walk[data-page="A/steps.html"]');
  check((await frame.locator('table.tableau').count()) === 8, 'walk-through: player A has not 8 grids');
  check((await frame.locator('td.pivot').count()) === 7, 'walk-through: player A has not 7 pivots');
  if (separator === '.' && screenshot) await page.screenshot({ path: screenshot, fullPage: true });
  for (const [what, text] of matrices) {
    await page.fill('#payoffs', text);
    const run = await solveAndDownload();
    const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-native-'));
    const native = nativeSolve(parent, text, separator);
    check(native.stderr === '', `${what}: mgame solve: ${native.stderr}`);
    for (const name of ['GMatrixP.txt', 'SystemA.txt', 'SystemB.txt'])
      check(run.files.has(name) && Buffer.compare(run.files.get(name), native.files.get(name)) === 0, `${what} '${separator}': ${name} is not mgame's`);
    for (const player of ['A', 'B']) compareRun(`${what} ${player} '${separator}'`, run.files, `${player}/`, runFiles(native.files, `${player}/`));
    comparePages(`${what} '${separator}'`, run.files, new Map([...native.files].filter(([name]) => name.endsWith('.html'))));
    fs.rmSync(parent, { recursive: true });
  }
  for (const [what, file] of problems) {
    await page.setInputFiles('#open', file);
    const run = await solveAndDownload();
    const name = path.basename(file);
    const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-native-'));
    const folder = name.replace(/\.[^.]*$/, '');
    compareRun(`${what} '${separator}'`, run.files, '', nativeRun(name, fs.readFileSync(file), separator, path.join(parent, folder)));
    comparePages(`${what} '${separator}'`, run.files, nativePages(parent, folder));
    fs.rmSync(parent, { recursive: true });
    if (what === 'N = 255') check(await page.evaluate(() => window.progressSeen), 'N = 255: no progress shown');
    if (what === 'N = 255') {
      // The steps page shown, with its table and first and last grids.
      const frame = page.frameLocator('#walk');
      await frame.locator('table.steps').waitFor();
      check((await frame.locator('table.tableau').count()) >= 2, 'N = 255: the first and last grids are not shown');
      await page.waitForTimeout(2000);
      const peak = rendererPeak();
      check(peak < 1024, `N = 255: the tab took ${peak} MB`);
      console.log(`N = 255 in the page: ${run.seconds} s ('${separator}'), the tab's peak ${peak} MB`);
    }
  }
}

// A problem pasted rather than opened.
const worked = fs.readFileSync(path.join(repo, 'examples/worked.txt'));
await page.selectOption('#separator', '.');
await page.fill('#problem', worked.toString('latin1'));
const pasted = await solveAndDownload();
check(pasted.files.has('problem.txt'), 'pasted: the problem is in the zip as problem.txt');
compareRun('pasted', pasted.files, '', nativeRun('problem.txt', Buffer.from(worked.toString('latin1')), '.'));

// An error report as the native program writes it, the module named Lorvex.
await page.setInputFiles('#open', path.join(corpus, 'bad-number.txt'));
await page.click('#solve');
await page.waitForSelector('body[data-state="solved"]');
const report = await page.textContent('.run pre.error');
check((await page.getAttribute('.run', 'data-status')) === '1', 'error report: exit status');
check(/^Exception EConvertError in module Lorvex at [0-9A-F]{8}\.\r\n'1\.2\.3' is not a valid floating point value\.\r\n\r\n$/.test(report),
  `error report: ${JSON.stringify(report)}`);

// A matrix refused as mgame refuses it, with its line.
for (const text of refusedMatrices) {
  await page.fill('#payoffs', text);
  await page.click('#solve');
  await page.waitForSelector('body[data-state="solved"]');
  const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-native-'));
  const native = nativeSolve(parent, text, '.').stderr;
  fs.rmSync(parent, { recursive: true });
  check(/^mgame: matrix\.txt:\d+: /.test(native), `refused matrix: mgame says ${JSON.stringify(native)}`);
  check((await page.textContent('.run pre.error')) === native, `refused matrix: ${JSON.stringify(await page.textContent('.run pre.error'))}`);
  check(await page.isDisabled('#download'), 'refused matrix: a zip offered');
}

await context.close();
server.close();
fs.rmSync(userDataDir, { recursive: true, force: true });
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('page: every file as the native build writes it; no console error, no foreign request');
