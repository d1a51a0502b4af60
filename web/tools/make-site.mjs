#!/usr/bin/env node
// Assembles the browser edition from the page's sources and the WebAssembly module of a web build:
//   node web/tools/make-site.mjs <web build folder>      (from the repository root; e.g. build-web)
// writes <build>/site/ (for any static web server) and <build>/site-single/granvel.html (one file that works
// opened from the disk: the page's modules and CSS inline, the worker, the module's code and its .wasm kept
// in <script type="text/plain"> elements). The same inputs always give the same bytes.
import { createHash } from 'node:crypto';
import { existsSync, mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join, relative, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const webDir = resolve(dirname(fileURLToPath(import.meta.url)), '..');

function fail(message) {
  process.stderr.write('make-site: ' + message + '\n');
  process.exit(1);
}

const buildArg = process.argv[2];
if (!buildArg || process.argv.length > 3) fail('usage: node web/tools/make-site.mjs <web build folder, e.g. build-web>');
const buildDir = resolve(buildArg);
if (!existsSync(buildDir)) fail(`the build folder ${buildDir} does not exist`);
const moduleJs = join(buildDir, 'bin', 'granvel_web.js');
const moduleWasm = join(buildDir, 'bin', 'granvel_web.wasm');
for (const file of [moduleJs, moduleWasm]) {
  if (!existsSync(file)) {
    fail(`${file} is missing: build the module first (cmake --build --preset web)`);
  }
}

const MAIN_CSP = "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self' blob:; " +
  "connect-src 'self'; img-src 'self' blob: data:; style-src 'self'; base-uri 'none'; form-action 'none'; " +
  "object-src 'none'";

function read(path) {
  return readFileSync(path, 'utf8');
}

function listFiles(folder, extension) {
  return readdirSync(folder).filter((name) => name.endsWith(extension)).sort();
}

// The licences of the libraries compiled into the module, which every copy of the page carries.
const LICENCES_MARK = '@LICENCES@';
const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const thirdParty = join(webDir, '..', 'third_party');
const licences = [['libspng 0.7.3', 'libspng'], ['zlib 1.2.13', 'zlib']]
  .map(([title, folder]) => `${title}\n\n${read(join(thirdParty, folder, 'LICENSE')).trim()}`).join('\n\n\n');

// ---- site/: the files as they are (the licences filled in), with the module beside them.
const pageSource = read(join(webDir, 'index.html'));
if (!pageSource.includes(LICENCES_MARK)) fail(`index.html lacks the place for the licences (${LICENCES_MARK})`);
const indexHtml = pageSource.replace(LICENCES_MARK, () => escapeHtml(licences));
if (!indexHtml.includes(MAIN_CSP)) fail('index.html does not carry the expected Content-Security-Policy');
const siteDir = join(buildDir, 'site');
rmSync(siteDir, { recursive: true, force: true });
mkdirSync(join(siteDir, 'css'), { recursive: true });
mkdirSync(join(siteDir, 'js'), { recursive: true });
writeFileSync(join(siteDir, 'index.html'), indexHtml);
for (const name of listFiles(join(webDir, 'css'), '.css')) {
  writeFileSync(join(siteDir, 'css', name), readFileSync(join(webDir, 'css', name)));
}
for (const name of listFiles(join(webDir, 'js'), '.js')) {
  writeFileSync(join(siteDir, 'js', name), readFileSync(join(webDir, 'js', name)));
}
writeFileSync(join(siteDir, 'granvel_web.js'), readFileSync(moduleJs));
writeFileSync(join(siteDir, 'granvel_web.wasm'), readFileSync(moduleWasm));

// ---- site-single/granvel.html
// The one-file page runs the worker from a Blob, under the page's policy, which allows no string evaluation:
// a module linked with dynamic execution (embind's generated functions) cannot start there.
const singleDir = join(buildDir, 'site-single');
rmSync(singleDir, { recursive: true, force: true });
if (/\bnew Function\s*\(/.test(read(moduleJs))) {
  fail(`wrote ${relative(process.cwd(), siteDir) || '.'}/, but not the one-file page: ${moduleJs} evaluates ` +
    "strings (new Function), which its Content-Security-Policy refuses; link the module with -sDYNAMIC_EXECUTION=0");
}

const IMPORT_LINE = /^import\s*\{([^}]*)\}\s*from\s*'\.\/([\w-]+\.js)';\s*$/;

// The page's modules in dependency order (each after the modules it imports), from js/main.js.
function moduleOrder() {
  const order = [];
  const state = new Map();
  const visit = (name, from) => {
    if (state.get(name) === 'done') return;
    if (state.get(name) === 'visiting') fail(`js/${name}: modules import each other in a circle (via ${from})`);
    const path = join(webDir, 'js', name);
    if (!existsSync(path)) fail(`js/${name} is imported by ${from} but does not exist`);
    state.set(name, 'visiting');
    for (const line of read(path).split('\n')) {
      if (/^\s*import\b/.test(line)) {
        const match = IMPORT_LINE.exec(line);
        if (!match) fail(`js/${name}: only one-line "import {a, b} from './x.js';" imports can be inlined: ${line}`);
        visit(match[2], name);
      }
    }
    state.set(name, 'done');
    order.push(name);
  };
  visit('main.js', 'index.html');
  return order;
}

function inlineModules() {
  const declared = new Map();
  const parts = [];
  for (const name of moduleOrder()) {
    const lines = read(join(webDir, 'js', name)).split('\n').filter((line) => !IMPORT_LINE.test(line));
    const body = lines.map((line) => line.replace(/^export (?=(async )?function |const |let |class )/, '')).join('\n');
    if (/^\s*export\b/m.test(body)) fail(`js/${name}: only "export function/const/let/class" declarations can be inlined`);
    for (const match of body.matchAll(/^(?:async )?(?:function\*? ?|const |let |class )([A-Za-z_$][\w$]*)/gm)) {
      if (declared.has(match[1])) fail(`js/${name} and js/${declared.get(match[1])} both declare ${match[1]} at the top`);
      declared.set(match[1], name);
    }
    parts.push(`// ---- js/${name}\n${body.trimEnd()}\n`);
  }
  return '\n' + parts.join('\n');
}

function sha256(text) {
  return "'sha256-" + createHash('sha256').update(text, 'utf8').digest('base64') + "'";
}

function plainScript(id, text) {
  if (/<\/script|<!--/i.test(text)) fail(`${id}: the text holds "</script" or "<!--" and cannot be embedded as it is`);
  return `<script type="text/plain" id="${id}">${text}</script>\n`;
}

const css = listFiles(join(webDir, 'css'), '.css').map((name) => read(join(webDir, 'css', name))).join('\n');
const styleText = '\n' + css;
const scriptText = inlineModules();
if (/<\/script|<!--/i.test(scriptText)) fail('the page modules hold "</script" or "<!--" and cannot be inlined');
if (/<\/style/i.test(styleText)) fail('the CSS holds "</style"');
const singleCsp = `default-src 'none'; script-src ${sha256(scriptText)} 'wasm-unsafe-eval'; worker-src blob:; ` +
  `connect-src 'none'; img-src blob: data:; style-src ${sha256(styleText)}; base-uri 'none'; form-action 'none'; ` +
  "object-src 'none'";

const STYLE_LINK = '<link rel="stylesheet" href="css/page.css">';
const MAIN_SCRIPT = '<script type="module" src="js/main.js"></script>';
for (const needle of [STYLE_LINK, MAIN_SCRIPT]) if (!indexHtml.includes(needle)) fail(`index.html lacks ${needle}`);

const embedded =
  plainScript('granvel-worker-source', read(join(webDir, 'js', 'worker.js'))) +
  plainScript('granvel-module-source', read(moduleJs)) +
  plainScript('granvel-wasm-base64', readFileSync(moduleWasm).toString('base64').replace(/.{1,76}/g, '$&\n'));

const single = indexHtml
  .replace(MAIN_CSP, singleCsp)
  .replace(STYLE_LINK, () => `<style>${styleText}</style>`)
  .replace(MAIN_SCRIPT, () => `${embedded}<script type="module">${scriptText}</script>`);

mkdirSync(singleDir, { recursive: true });
writeFileSync(join(singleDir, 'granvel.html'), single);

const size = (path) => readFileSync(path).length.toLocaleString('en-US');
process.stdout.write(`make-site: wrote ${relative(process.cwd(), siteDir) || '.'}/ and ` +
  `${relative(process.cwd(), join(singleDir, 'granvel.html'))} (${size(join(singleDir, 'granvel.html'))} bytes)\n`);
