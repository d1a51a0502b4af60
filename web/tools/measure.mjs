// Measures the browser edition and prints a small table: the download size of the module, the time until the
// page is ready, the examples converted inside the page against the native command line, and how long the
// page's main thread is held up while a 4096x4096 picture converts in the worker.
//   node web/tools/measure.mjs build-web        (GRANVEL_NATIVE_CLI = the native granvel-cli, else build/bin)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

import { bigBmp } from '../tests/support/files.mjs';
import {
  examplesDir, launchBrowser, nativeCli, openPage, runNative, serveFolder, setConvertType, tempDir, waitFor,
  waitForReady,
} from '../tests/support/harness.mjs';

const buildDir = path.resolve(process.argv[2] || 'build-web');
const site = path.join(buildDir, 'site');
const rows = [];
const row = (what, value) => { rows.push([what, value]); console.error(`  ${what}: ${value}`); };
const ms = (value) => `${value.toFixed(1)} ms`;
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const kExamples = ['Hello.txt', 'Notes_mem.txt', 'Sprites.bmp', 'Title.rscr', 'Title_scr.txt'];

// ---- sizes
const moduleDir = fs.existsSync(path.join(site, 'granvel_web.wasm')) ? site : path.join(buildDir, 'bin');
let gzipTotal = 0;
for (const name of ['granvel_web.wasm', 'granvel_web.js']) {
  const bytes = fs.readFileSync(path.join(moduleDir, name));
  const gz = zlib.gzipSync(bytes, { level: 9 }).length;
  gzipTotal += gz;
  row(`${name} (raw / gzip -9)`, `${(bytes.length / 1024).toFixed(1)} KB / ${(gz / 1024).toFixed(1)} KB`);
}
row('module gzipped, .wasm + .js', `${(gzipTotal / 1024).toFixed(1)} KB`);

const server = await serveFolder(site);
const browser = await launchBrowser();
const work = tempDir('measure');
try {
  const context = await browser.newContext();

  // ---- ready time: navigation start to window.granvelReadyAt, five fresh loads
  const readyTimes = [];
  for (let i = 0; i < 5; i += 1) {
    const page = await context.newPage();
    await page.goto(`${server.origin}/index.html`);
    await waitForReady(page);
    const at = await waitFor(page, () => (typeof window.granvelReadyAt === 'number'
      ? { at: window.granvelReadyAt, origin: performance.timeOrigin } : null), null, { what: 'window.granvelReadyAt' });
    readyTimes.push(at.at > 1e12 ? at.at - at.origin : at.at);
    await page.close();
  }
  row('ready after navigation start (median of 5)', `${ms(median(readyTimes))} (${readyTimes.map((t) => t.toFixed(0)).join(', ')})`);

  // ---- the examples, twenty copies of each in one run, so that a program's start and a page's round trips do
  // not hide the core's work: native spawns against the page's worker, the median of five runs each.
  const kCopies = 20;
  const exampleSet = fs.mkdtempSync(path.join(work, 'examples-'));
  const exampleNames = [];
  for (let copy = 1; copy <= kCopies; copy += 1) {
    for (const name of kExamples) {
      const copyName = `${String(copy).padStart(2, '0')}-${name}`;
      fs.copyFileSync(path.join(examplesDir, name), path.join(exampleSet, copyName));
      exampleNames.push(copyName);
    }
  }
  const nativeTimes = [];
  for (let i = 0; i < 5; i += 1) {
    const dir = fs.mkdtempSync(path.join(work, 'native-'));
    for (const name of exampleNames) fs.copyFileSync(path.join(exampleSet, name), path.join(dir, name));
    const start = process.hrtime.bigint();
    const run = await runNative(['convert', '--ini', '/dev/null', '--no-progress', ...exampleNames], dir);
    nativeTimes.push(Number(process.hrtime.bigint() - start) / 1e6);
    if (run.status !== 0) throw new Error(`the native run failed: ${run.stderr}`);
    fs.rmSync(dir, { recursive: true, force: true });
  }
  const page = await openPage(context, `${server.origin}/index.html`);
  await setConvertType(page, 'bg');
  // The pick's change event (seen first, in the capture phase) and the summary's next change, in page time.
  const timedRun = async (files, watch) => {
    await page.evaluate(() => {
      window.__measure = { picked: 0, done: 0, gaps: [] };
      const input = document.getElementById('pick-files');
      input.addEventListener('change', () => { window.__measure.picked = performance.now(); }, { capture: true, once: true });
      const observer = new MutationObserver(() => {
        if (document.getElementById('summary-text').textContent.trim() && window.__measure.picked) {
          window.__measure.done = performance.now();
          observer.disconnect();
        }
      });
      observer.observe(document.getElementById('summary-text'), { childList: true, characterData: true, subtree: true });
    });
    if (watch) {
      await page.evaluate(() => {
        const m = window.__measure;
        m.frameGap = 0; m.tickGap = 0;
        let lastFrame = performance.now(), lastTick = performance.now();
        // Watched until the script says the run and its previews are over (m.stop), not only the summary.
        const frame = (now) => { m.frameGap = Math.max(m.frameGap, now - lastFrame); lastFrame = now; if (!m.stop) requestAnimationFrame(frame); };
        requestAnimationFrame(frame);
        const timer = setInterval(() => {
          const now = performance.now();
          m.tickGap = Math.max(m.tickGap, now - lastTick);
          lastTick = now;
          if (m.stop) clearInterval(timer);
        }, 10);
      });
    }
    await page.setInputFiles('#pick-files', files);
    const m = await waitFor(page, () => (window.__measure.done ? window.__measure : null), null,
      { timeout: 60000, what: 'the summary' });
    await waitFor(page, () => document.getElementById('cancel').disabled, null, { what: 'the end of the run' });
    await waitFor(page, () => document.activeElement === document.getElementById('summary')
      && [...document.querySelectorAll('#previews img')].every((img) => img.complete), null,
    { timeout: 60000, what: 'the previews' });
    await page.waitForTimeout(100);
    const end = await page.evaluate(() => {
      window.__measure.stop = true;
      return { ...window.__measure, convertMs: window.granvelLastRun?.convertMs };
    });
    return { ...m, ...end };
  };
  const pageTimes = [], workerTimes = [];
  for (let i = 0; i < 5; i += 1) {
    const m = await timedRun(exampleNames.map((name) => path.join(exampleSet, name)));
    pageTimes.push(m.done - m.picked);
    workerTimes.push(m.convertMs);
  }
  const nativeRun = median(nativeTimes), workerRun = median(workerTimes), pageRun = median(pageTimes);
  const files = exampleNames.length;
  row(`examples x${kCopies} (${files} files), native granvel-cli spawn (median of 5)`, ms(nativeRun));
  row(`examples x${kCopies}, core in the page's worker (median of 5)`, ms(workerRun));
  row('examples, worker / native', `${(workerRun / nativeRun).toFixed(2)}x`);
  row(`examples x${kCopies}, page from the pick to the summary (median of 5)`, ms(pageRun));
  row('examples, page / native', `${(pageRun / nativeRun).toFixed(2)}x`);

  // ---- a 4096x4096 8-bit picture: conversion time and the main thread's longest gap
  const big = path.join(work, 'big4096.bmp');
  fs.writeFileSync(big, bigBmp(4096));
  for (const type of ['grp', 'bg']) {
    if (type === 'bg') {
      // A picture this wide makes CHR banks only with AutoTrim=0 (128- or 256-pixel-wide banks).
      await page.evaluate(() => localStorage.setItem('granvel.ini', '[Convert]\r\nAutoTrim=0\r\n'));
      await page.reload();
      await waitForReady(page);
    }
    await setConvertType(page, type);
    const m = await timedRun([big], true);
    const ok = await page.evaluate(() => document.querySelector('#results li.file')?.dataset.ok);
    const dir = fs.mkdtempSync(path.join(work, `native-${type}-`));
    fs.copyFileSync(big, path.join(dir, 'big4096.bmp'));
    const start = process.hrtime.bigint();
    await runNative(['convert', '--ini', '/dev/null', '--no-progress', '--type', type,
      ...(type === 'bg' ? ['--set', 'AutoTrim=0'] : []), 'big4096.bmp'], dir);
    const native = Number(process.hrtime.bigint() - start) / 1e6;
    const label = type === 'grp' ? 'GRP' : 'CHR';
    row(`4096x4096 as ${label}: page pick to summary`, `${ms(m.done - m.picked)} (worker ${ms(m.convertMs)}, native ${ms(native)})${ok === 'true' ? '' : ' REFUSED'}`);
    row(`4096x4096 as ${label}: longest gap, rAF / 10 ms timer`, `${ms(m.frameGap)} / ${ms(m.tickGap)}`);
    fs.rmSync(dir, { recursive: true, force: true });
  }
} finally {
  await browser.close();
  await server.close();
  fs.rmSync(work, { recursive: true, force: true });
}

const width = Math.max(...rows.map(([what]) => what.length));
console.log(`GRANVEL browser edition, measured ${new Date().toISOString().slice(0, 10)} (native: ${nativeCli})`);
for (const [what, value] of rows) console.log(`${what.padEnd(width)}  ${value}`);
