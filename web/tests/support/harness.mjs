// What the page's tests share: the build folders, a static server for the split site, one Chromium per test
// file, the native command line run on the same inputs, and the page's controls driven as a user does.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repoRoot = path.resolve(here, '..', '..', '..');
export const examplesDir = path.join(repoRoot, 'examples');
export const casesDir = path.join(repoRoot, 'tests', 'cases');

export const webBuild = path.resolve(process.env.GRANVEL_WEB_BUILD || path.join(repoRoot, 'build-web'));
export const nativeCli = path.resolve(process.env.GRANVEL_NATIVE_CLI || path.join(repoRoot, 'build', 'bin', 'granvel-cli'));
export const siteDir = path.join(webBuild, 'site');
export const singleFile = path.join(webBuild, 'site-single', 'granvel.html');
export const chromiumPath = process.env.GRANVEL_CHROMIUM || '/usr/bin/chromium';

// The convert types by the command line's names (the menu's command ids).
export const TYPES = { bg: 257, '16x16': 258, '32x16': 259, '16x32': 260, '32x32': 261, '64x32': 262,
  '32x64': 263, '64x64': 264, grp: 265, bin: 266, screen: 267 };

// Every thing a test needs is checked first: a missing build fails the test with its path, never skips it.
export function requireBuild(...more) {
  for (const file of [path.join(siteDir, 'index.html'), path.join(siteDir, 'granvel_web.wasm'), nativeCli, chromiumPath, ...more]) {
    if (!fs.existsSync(file)) throw new Error(`missing ${file} (set GRANVEL_WEB_BUILD, GRANVEL_NATIVE_CLI; run web/tools/make-site.mjs)`);
  }
}

const kMime = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon', '.json': 'application/json', '.txt': 'text/plain; charset=utf-8', '.webmanifest': 'application/manifest+json' };

// Serves `root` on 127.0.0.1 (a free port); resolves with {origin, close()}.
export function serveFolder(root) {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    let file = path.join(root, decodeURIComponent(url.pathname));
    if (!file.startsWith(root)) { response.writeHead(403).end(); return; }
    if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
    fs.readFile(file, (error, bytes) => {
      if (error) { response.writeHead(404).end('not found'); return; }
      response.writeHead(200, { 'Content-Type': kMime[path.extname(file).toLowerCase()] || 'application/octet-stream',
        'Cache-Control': 'no-store' });
      response.end(bytes);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      const origin = `http://127.0.0.1:${server.address().port}`;
      resolve({ origin, close: () => new Promise((done) => { server.closeAllConnections?.(); server.close(done); }) });
    });
  });
}

export async function launchBrowser() {
  return chromium.launch({ executablePath: chromiumPath, headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'] });
}

export function tempDir(label) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `granvel-page-${label}-`));
}

// Every file below `root` as relative path -> bytes, sorted by path.
export function filesBelow(root) {
  const files = new Map();
  const walk = (dir, rel) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const full = path.join(dir, entry.name), name = rel ? `${rel}/${entry.name}` : entry.name;
      if (entry.isDirectory()) walk(full, name);
      else if (entry.isFile()) files.set(name, fs.readFileSync(full));
    }
  };
  if (fs.existsSync(root)) walk(root, '');
  return new Map([...files].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0)));
}

// Runs the native command line in `cwd`: {status, stdout, stderr}.
export function runNative(words, cwd) {
  return new Promise((resolve, reject) => {
    const child = spawn(nativeCli, words, { cwd, stdio: ['ignore', 'pipe', 'pipe'] });
    const out = [], err = [];
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => err.push(chunk));
    child.on('error', reject);
    child.on('close', (status) => resolve({ status, stdout: Buffer.concat(out).toString('utf8'),
      stderr: Buffer.concat(err).toString('utf8') }));
  });
}

// Copies `inputs` ({relative path: source file}) into a fresh folder, converts `paths` there with the native
// command line (an empty INI, plus `words`) and answers what it wrote (relative path -> bytes), each file's
// report as it printed it ({ok, reason, notes}) and the summary's text.
export async function nativeConvert(label, inputs, paths, words = []) {
  const work = tempDir(label);
  try {
    for (const [rel, source] of Object.entries(inputs)) {
      fs.mkdirSync(path.dirname(path.join(work, rel)), { recursive: true });
      if (Buffer.isBuffer(source)) fs.writeFileSync(path.join(work, rel), source);
      else fs.copyFileSync(source, path.join(work, rel));
    }
    const before = new Set(filesBelow(work).keys());
    const ini = words.includes('--ini') ? [] : ['--ini', '/dev/null'];
    const run = await runNative(['convert', ...ini, '--no-progress', ...words, ...paths], work);
    const written = new Map([...filesBelow(work)].filter(([name]) => !before.has(name)));
    return { ...run, written, reports: parseReports(run.stdout + run.stderr), summary: summaryOf(run.stdout) };
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

// "name: wrote a, b" / "name: failed: reason" lines with their "  note: ..." lines, by input path.
export function parseReports(text) {
  const reports = new Map();
  let last = null;
  for (const line of text.split('\n')) {
    const note = /^ {2}note: (.*)$/.exec(line);
    if (note && last) { last.notes.push(note[1]); continue; }
    const failed = /^(.+?): failed: (.*)$/.exec(line);
    const wrote = /^(.+?): wrote (.*)$/.exec(line);
    if (failed) { last = { ok: false, reason: failed[2], notes: [], written: [] }; reports.set(failed[1], last); }
    else if (wrote) { last = { ok: true, reason: '', notes: [], written: wrote[2].split(', ') }; reports.set(wrote[1], last); }
    else last = null;
  }
  return reports;
}

// The summary the command line prints after the files: from its "N files converted" line on.
export function summaryOf(stdout) {
  const lines = stdout.split('\n');
  const start = lines.findIndex((line) => /^\d+ files? converted/.test(line) || /^No file/.test(line));
  return start < 0 ? '' : lines.slice(start).join('\n').replace(/\n+$/, '');
}

// ---- the page

// Opens the page (the served site unless `url` is given) and waits for the module: #status says "Ready".
// The served site in a fresh browser, its page open and ready: {server, browser, context, page, close()}.
export async function startSite() {
  requireBuild();
  const server = await serveFolder(siteDir);
  const browser = await launchBrowser();
  const context = await browser.newContext({ acceptDownloads: true });
  const page = await openPage(context, `${server.origin}/index.html`);
  return { server, browser, context, page, close: async () => { await browser.close(); await server.close(); } };
}

export async function openPage(context, url) {
  if (!context.__granvelBlobs) {
    context.__granvelBlobs = true;
    await recordBlobs(context);
  }
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.pageErrors = errors;
  await page.goto(url, { waitUntil: 'load' });
  await waitForReady(page);
  return page;
}

// Waits until fn(arg), run in the page, answers something true. Playwright's own waitForFunction evaluates a
// string, which the page's Content-Security-Policy refuses (as it should); a function sent over the DevTools
// protocol is not subject to it.
export async function waitFor(page, fn, arg, { timeout = 10000, interval = 25, what = 'the page' } = {}) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await page.evaluate(fn, arg);
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${what}: ${fn.toString().slice(0, 300)}`);
    await new Promise((resolve) => setTimeout(resolve, interval));
  }
}

export async function waitForReady(page, timeout = 20000) {
  await waitFor(page, () => document.getElementById('status')?.textContent.trim() === 'Ready', null,
    { timeout, what: '#status "Ready"' });
}

// Counts the page's changes of the summary, so that a run's end is told from the previous run's summary.
async function markRun(page) {
  await page.evaluate(() => {
    window.__granvelTestRuns = 0;
    window.__granvelTestObserver?.disconnect();
    const observer = new MutationObserver(() => { window.__granvelTestRuns += 1; });
    observer.observe(document.getElementById('summary-text'), { childList: true, characterData: true, subtree: true });
    window.__granvelTestObserver = observer;
  });
}

// The run is over: the summary was written again, #cancel is disabled and #status no longer says busy.
export async function waitForRunEnd(page, timeout = 30000) {
  await waitFor(page, () => {
    const text = document.getElementById('summary-text')?.textContent.trim();
    const status = document.getElementById('status')?.textContent.trim();
    return window.__granvelTestRuns > 0 && text && document.getElementById('cancel').disabled &&
      !/^Converting/.test(status);
  }, null, { timeout, what: 'the end of the run' });
}

// Picks files through #pick-files (or another input) and waits for the run to end.
export async function pickAndRun(page, files, { input = '#pick-files', timeout } = {}) {
  await markRun(page);
  await page.setInputFiles(input, files);
  await waitForRunEnd(page, timeout);
}

export async function setConvertType(page, name) {
  await page.selectOption('#convert-type', String(TYPES[name]));
}

// Drops files and folders on #drop-zone as the user's drag does (the browser's own drag events, real paths).
export async function dropPaths(page, paths, { timeout } = {}) {
  await markRun(page);
  const zone = page.locator('#drop-zone');
  await zone.scrollIntoViewIfNeeded();
  const box = await zone.boundingBox();
  const x = Math.round(box.x + box.width / 2), y = Math.round(box.y + box.height / 2);
  const cdp = await page.context().newCDPSession(page);
  const data = { items: [], files: paths, dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await cdp.send('Input.dispatchDragEvent', { type, x, y, data });
  await cdp.detach();
  await waitForRunEnd(page, timeout);
}

// Records every Blob the page turns into a blob: URL, so that a test reads a link's bytes: the page's policy
// (connect-src) rightly keeps a script from fetching blob: links, and clicking dozens of links one after
// another is slow. The zip, the package and GRANVEL.ini are read as real downloads.
export async function recordBlobs(context) {
  await context.addInitScript(() => {
    const blobs = new Map();
    const create = URL.createObjectURL.bind(URL);
    URL.createObjectURL = (object) => {
      const url = create(object);
      if (object instanceof Blob) blobs.set(url, object);
      return url;
    };
    window.__granvelBlobs = blobs;
  });
}

// What #results shows: one entry per file, each output with the bytes of its link.
export async function readResults(page) {
  const files = await page.evaluate(async () => {
    const base64 = (buffer) => {
      const bytes = new Uint8Array(buffer);
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
      return btoa(text);
    };
    const files = [];
    for (const li of document.querySelectorAll('#results li.file')) {
      const outputs = [];
      for (const a of li.querySelectorAll('ul.outputs > li > a.output')) {
        const blob = window.__granvelBlobs?.get(a.href);
        outputs.push({ path: a.dataset.path, download: a.getAttribute('download'), href: a.href,
          bytes: blob ? base64(await blob.arrayBuffer()) : null });
      }
      files.push({ path: li.dataset.path, ok: li.dataset.ok, name: li.querySelector('.file-name')?.textContent.trim(),
        reason: li.querySelector('.reason')?.textContent.trim() ?? null,
        notes: [...li.querySelectorAll('ul.notes > li')].map((n) => n.textContent.trim()), outputs });
    }
    return files;
  });
  for (const file of files) {
    for (const output of file.outputs) {
      if (output.bytes === null) throw new Error(`${output.path}: its link ${output.href} is no blob: URL the page made`);
      output.bytes = Buffer.from(output.bytes, 'base64');
    }
  }
  return files;
}

// All outputs the page lists, path -> bytes.
export function outputsOf(results) {
  const map = new Map();
  for (const file of results) for (const output of file.outputs) map.set(output.path, output.bytes);
  return new Map([...map].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0)));
}

export async function summaryOfPage(page) {
  return page.evaluate(() => ({
    caption: document.getElementById('summary-caption')?.textContent.trim(),
    text: document.getElementById('summary-text')?.textContent.replace(/\n+$/, '').replace(/^\n+/, ''),
    details: [...document.querySelectorAll('#summary-details li')].map((li) => li.textContent.trim()),
    questions: [...document.querySelectorAll('#questions li')].map((li) => li.textContent.trim()),
  }));
}

// A download the page starts with `action`: its suggested name and bytes.
export async function download(page, action) {
  const [event] = await Promise.all([page.waitForEvent('download', { timeout: 5000 }), action()]);
  const file = await event.path();
  return { name: event.suggestedFilename(), bytes: fs.readFileSync(file) };
}

// The page names paths of its in-memory tree; the command line, paths relative to where it ran.
export const withoutRoot = (text) => String(text ?? '').replaceAll('/in/', '');
