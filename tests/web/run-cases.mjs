// Runs the end-to-end cases of tests/cases/ through the command line built for Node (build-web/bin/
// granvel-cli.js), as the native suite runs them through granvel-cli: the same inputs, commands, expected
// files and printed lines, so the browser's core is held to the same bytes as Linux and Windows.
// Usage: node --no-experimental-fetch tests/web/run-cases.mjs build-web/bin/granvel-cli.js [CASE...]
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const casesDir = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'cases');
const cli = path.resolve(process.argv[2] ?? 'build-web/bin/granvel-cli.js');
const only = process.argv.slice(3);

// What a case needs that Node's file system layer cannot give: the reason it is passed over.
const kUnavailable = {
  fsize: 'a per-process file-size limit (no such limit under Node)',
  mkfifo: 'FIFOs (reading one hangs under Node\'s raw file system)',
};
// Cases whose commands read standard input's kind: under Node it always looks like a terminal.
const kNeedsNoTerminal = {
  one_bit_question: 'answers the 1-bit question from standard input, which under Node always looks like a terminal',
};

function filesBelow(root) {
  const files = new Map();
  const walk = (dir, rel) => {
    if (!fs.existsSync(dir)) return;
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const full = path.join(dir, entry.name), name = rel ? `${rel}/${entry.name}` : entry.name;
      if (entry.isDirectory()) walk(full, name);
      else if (entry.isFile()) files.set(name, fs.readFileSync(full));
    }
  };
  walk(root, '');
  return new Map([...files].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0)));
}

// Runs the command line in `cwd` with standard input empty: its status and what it printed.
function runCli(words, cwd) {
  return new Promise((resolve) => {
    const child = spawn(process.execPath, ['--no-experimental-fetch', cli, ...words],
                        { cwd, stdio: ['ignore', 'pipe', 'pipe'] });
    const out = [], err = [];
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => err.push(chunk));
    child.on('close', (status) => resolve({ status, stdout: Buffer.concat(out).toString('utf8'),
                                            stderr: Buffer.concat(err).toString('utf8') }));
  });
}

const textOrEmpty = (file) => (fs.existsSync(file) ? fs.readFileSync(file, 'utf8') : '');

async function runCase(name) {
  const folder = path.join(casesDir, name);
  const lines = fs.readFileSync(path.join(folder, 'run.case'), 'utf8').split('\n');
  for (const line of lines) {
    const word = line.trim().split(/\s+/)[0];
    if (kUnavailable[word]) return { skipped: `needs ${kUnavailable[word]}` };
  }
  if (kNeedsNoTerminal[name]) return { skipped: kNeedsNoTerminal[name] };

  const work = fs.mkdtempSync(path.join(os.tmpdir(), `granvel-web-${name}-`));
  const problems = [];
  try {
    if (fs.existsSync(path.join(folder, 'in'))) fs.cpSync(path.join(folder, 'in'), work, { recursive: true });
    let out = '', err = '';
    for (const [index, line] of lines.entries()) {
      const words = line.split(/\s+/).filter(Boolean);
      const where = `line ${index + 1}: ${line}`;
      if (words.length === 0 || words[0].startsWith('#')) continue;
      if (words[0] === 'same' && words.length === 4) {
        const a = fs.readFileSync(path.join(work, words[1])), b = fs.readFileSync(path.join(work, words[2]));
        const from = Number(words[3]);
        if (a.length !== b.length || a.length < from || !a.subarray(from).equals(b.subarray(from)))
          problems.push(`${where}: the files differ`);
      } else if (words[0] === 'copy' && words.length === 3) {
        fs.mkdirSync(path.dirname(path.join(work, words[2])), { recursive: true });
        if (fs.existsSync(path.join(work, words[1]))) fs.copyFileSync(path.join(work, words[1]), path.join(work, words[2]));
        else problems.push(`${where}: no such file`);
      } else if (words[0] === 'remove' && words.length === 2) {
        if (fs.existsSync(path.join(work, words[1]))) fs.rmSync(path.join(work, words[1]));
        else problems.push(`${where}: no such file`);
      } else {
        let status = 0;
        if (/^\[\d+\]$/.test(words[0])) status = Number(words.shift().slice(1, -1));
        const run = await runCli(words, work);
        if (run.status !== status) problems.push(`${where}: status ${run.status}, expected ${status}\n${run.stderr}`);
        out += run.stdout;
        err += run.stderr;
      }
    }
    const replaceWork = (text) => text.split(work).join('$WORK');
    for (const [file, text] of [['stdout.txt', out], ['stderr.txt', err]]) {
      const expected = textOrEmpty(path.join(folder, file));
      if (replaceWork(text) !== expected)
        problems.push(`${file} differs:\n--- expected\n${expected}\n--- printed\n${replaceWork(text)}`);
    }
    const expected = filesBelow(path.join(folder, 'in'));
    for (const [file, bytes] of filesBelow(path.join(folder, 'expected'))) expected.set(file, bytes);
    const actual = filesBelow(work);
    const names = (map) => [...map.keys()].sort().join('\n');
    if (names(actual) !== names(expected))
      problems.push(`the files differ:\n--- expected\n${names(expected)}\n--- written\n${names(actual)}`);
    for (const [file, bytes] of actual) {
      if (expected.has(file) && !expected.get(file).equals(bytes)) problems.push(`${file} differs`);
    }
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  return { problems };
}

const names = fs.readdirSync(casesDir, { withFileTypes: true })
  .filter((entry) => entry.isDirectory() && (only.length === 0 || only.includes(entry.name)))
  .map((entry) => entry.name).sort();
let failed = 0, passed = 0;
const skipped = [];
// As many cases at once as there are processors; the results are told in the cases' order.
const results = new Array(names.length);
let next = 0;
await Promise.all(Array.from({ length: Math.max(1, os.availableParallelism()) }, async () => {
  while (next < names.length) {
    const index = next++;
    results[index] = await runCase(names[index]);
  }
}));
names.forEach((name, index) => {
  const result = results[index];
  if (result.skipped) {
    skipped.push(`${name}: ${result.skipped}`);
  } else if (result.problems.length) {
    ++failed;
    console.log(`FAIL ${name}\n  ${result.problems.join('\n  ')}`);
  } else {
    ++passed;
  }
});
console.log(`web cases: ${passed} passed, ${failed} failed, ${skipped.length} skipped`);
for (const line of skipped) console.log(`  skipped ${line}`);
process.exit(failed ? 1 : 0);
