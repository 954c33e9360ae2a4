// Opens the steps pages in headless chromium and checks them from the DOM
// against the run's own files: one table.tableau per report, each td.pivot
// holding the pivot value that the run used, the value and the strategy
// labels as GResult.txt has them, no console error, no network request.
// Usage: node steps-pages.mjs WORK SCREENSHOT.png  (WORK as make-runs.sh leaves it)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const [work, screenshot] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => {
  if (!ok) failures.push(what);
};

// --- The run's files, read here on their own terms ---
const lines = (file) => fs.readFileSync(file, 'latin1').split(/\r?\n/).filter((l) => l !== '');
function readReport(file) {
  const all = lines(file);
  const rows = all.slice(0, -2).map((line) => {
    const [label, rest] = line.split(' : ');
    const cells = {};
    for (const m of rest.split(' = ')[0].matchAll(/(?:^| ([+-]) )(\S+?)\*([xyz]\d+)/g))
      cells[m[3]] = (m[1] === '-' ? '-' : '') + m[2];
    return { label, cells };
  });
  return { rows, status: all[all.length - 1] };
}
function reportsOf(dir) {
  const reports = [];
  for (let k = 0; fs.existsSync(path.join(dir, `out${k}.txt`)); ++k) reports.push(readReport(path.join(dir, `out${k}.txt`)));
  return reports;
}
// The pivot of each step: the old report's cell at the leaving row and the
// entering column, found from the change of basis.
function pivotsOf(reports) {
  const pivots = [];
  for (let k = 0; k + 1 < reports.length; ++k) {
    const before = new Set(reports[k].rows.map((r) => r.label));
    const after = new Set(reports[k + 1].rows.map((r) => r.label));
    const entering = [...after].find((v) => !before.has(v));
    const leaving = [...before].find((v) => !after.has(v));
    pivots.push(reports[k].rows.find((r) => r.label === leaving).cells[entering]);
  }
  return pivots;
}
function readResult(dir) {
  const [f, x, v, s] = lines(path.join(dir, 'GResult.txt'));
  const entries = (line) => line.replace(/^.*?\( /, '').replace(/ ?\)$/, '').split(' ').filter((e) => e);
  return { f: f.slice(4), value: v.slice(5), strategy: entries(s) };
}
// v' less the shift of 10, in whole hundred-thousandths.
const gameValue = (shifted) => ((Math.round(parseFloat(shifted) * 1e5) - 10 * 1e5) / 1e5).toFixed(5);

// --- The browser ---
const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'mg-chromium-'));
const context = await chromium.launchPersistentContext(userDataDir, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  viewport: { width: 1280, height: 900 },
});
const foreign = [];
await context.route('**/*', (route) => {
  const url = route.request().url();
  if (url.startsWith('file:')) return route.continue();
  foreign.push(url);
  return route.abort();
});

async function open(file) {
  const page = await context.newPage();
  const errors = [];
  const requests = [];
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('request', (r) => requests.push(r.url()));
  const url = pathToFileURL(file).href;
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForTimeout(100);
  return { page, url, errors, requests };
}
function checkQuiet(name, { url, errors, requests }) {
  check(errors.length === 0, `${name}: console errors: ${errors.join(' | ')}`);
  const others = requests.filter((r) => r !== url);
  check(others.length === 0, `${name}: requests beyond the page itself: ${others.join(' ')}`);
}

async function checkSteps(name, dir, value) {
  const opened = await open(path.join(dir, 'steps.html'));
  const { page } = opened;
  const reports = reportsOf(dir);
  const pivots = pivotsOf(reports);
  check((await page.locator('table.tableau').count()) === reports.length,
    `${name}: ${await page.locator('table.tableau').count()} table.tableau for ${reports.length} reports`);
  check((await page.locator('td.pivot').count()) === pivots.length, `${name}: one td.pivot per step`);
  for (let k = 0; k < pivots.length; ++k) {
    const cell = page.locator(`#out${k} table.tableau td.pivot`);
    const text = (await cell.count()) === 1 ? (await cell.textContent()).trim() : '(none)';
    check(text === pivots[k], `${name}: out${k}.txt pivot ${text}, the run used ${pivots[k]}`);
    // The pivot sits in the entering column and the leaving row.
    check(await cell.evaluate((td) => td.classList.contains('entering') && td.closest('tr').classList.contains('leaving')),
      `${name}: out${k}.txt pivot outside the entering column or the leaving row`);
  }
  const result = readResult(dir);
  const shown = await page.locator('[data-game-value]').getAttribute('data-game-value');
  check(shown === value(result), `${name}: data-game-value ${shown}, GResult.txt gives ${value(result)}`);
  const bars = await page.locator('[data-probability]').evaluateAll((els) =>
    els.map((e) => [e.getAttribute('data-probability'), e.querySelector('.bar-value').textContent]));
  if (value !== identity) {
    check(JSON.stringify(bars.map((b) => b[0])) === JSON.stringify(result.strategy),
      `${name}: bars ${bars.map((b) => b[0])} against S* ${result.strategy}`);
    check(bars.every((b) => b[0] === b[1]), `${name}: a bar's label differs from its data-probability`);
  }
  checkQuiet(name, opened);
  return page;
}
const identity = (result) => result.value;

const game = path.join(work, 'game');
const pageA = await checkSteps('player A', path.join(game, 'A'), (r) => gameValue(r.value));
await checkSteps('player B', path.join(game, 'B'), (r) => gameValue(r.value));
await checkSteps('worked example', path.join(work, 'worked'), identity);

// The keys step from one tableau to the next and back.
{
  const { page } = await open(path.join(work, 'worked', 'steps.html'));
  const focused = () => page.evaluate(() => document.activeElement.id);
  for (const [key, id] of [['j', 'out0'], ['j', 'out1'], ['j', 'out2'], ['k', 'out1'], ['ArrowRight', 'out2']]) {
    await page.keyboard.press(key);
    const now = await focused();
    check(now === id, `keys: ${key} went to ${now}, not ${id}`);
  }
}

// The game's index: its value, both strategies, links to both walk-throughs.
{
  const opened = await open(path.join(game, 'index.html'));
  const { page } = opened;
  const a = readResult(path.join(game, 'A'));
  const b = readResult(path.join(game, 'B'));
  const shown = await page.locator('[data-game-value]').getAttribute('data-game-value');
  check(shown === gameValue(a.value) && shown === gameValue(b.value), `index: value ${shown}`);
  const bars = await page.locator('[data-probability]').evaluateAll((els) => els.map((e) => e.getAttribute('data-probability')));
  check(JSON.stringify(bars) === JSON.stringify([...a.strategy, ...b.strategy]), `index: bars ${bars}`);
  for (const player of ['A', 'B']) {
    const href = await page.locator(`a[href="${player}/steps.html"]`).count();
    check(href === 1, `index: no link to ${player}/steps.html`);
  }
  checkQuiet('index', opened);
}
check(foreign.length === 0, `requests beyond file: URLs: ${foreign.join(' ')}`);

// A picture of player A's walk-through: the end, the steps and the first
// tableau with its pivot.
if (screenshot) {
  const bottom = await pageA.locator('#out0').evaluate((e) => e.getBoundingClientRect().bottom + window.scrollY);
  await pageA.screenshot({ path: screenshot, fullPage: true, clip: { x: 0, y: 0, width: 1280, height: Math.ceil(bottom) + 16 } });
  console.log(`screenshot: ${screenshot}`);
}
await context.close();
fs.rmSync(userDataDir, { recursive: true, force: true });

if (failures.length) {
  for (const f of failures) console.error(`FAIL ${f}`);
  process.exit(1);
}
console.log('browser checks passed: the seed-12345 game (A, B, index) and the worked example');
