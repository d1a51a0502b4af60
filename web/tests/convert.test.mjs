// The page converts what the user picks or drops into the same bytes the native command line writes, shows
// every file's reason and notes and the core's summary, keeps a dropped tree in its outputs and in its zip,
// and stays usable when a long run is cancelled.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { bigBmp, crc32, readZip } from './support/files.mjs';
import {
  waitFor, casesDir, download, dropPaths, examplesDir, nativeConvert, outputsOf, pickAndRun, readResults,
  setConvertType, summaryOfPage, tempDir, waitForReady, withoutRoot, startSite,
} from './support/harness.mjs';

let site, browser, page;
const scratch = [];

before(async () => {
  site = await startSite();
  ({ browser, page } = site);
});

after(async () => {
  await site?.close();
  for (const dir of scratch) fs.rmSync(dir, { recursive: true, force: true });
});

const names = (map) => [...map.keys()];

// The page's run against the native one: the same outputs (paths and bytes), each file's outcome, reason and
// notes, and the summary's caption and text.
async function expectSameAsNative(results, native, label) {
  const outputs = outputsOf(results);
  assert.ok(native.reports.size > 0, `${label}: the native run reported its files`);
  if ([...native.reports.values()].some((r) => r.ok)) assert.ok(native.written.size > 0, `${label}: the native run wrote files`);
  assert.deepEqual(names(outputs), names(native.written), `${label}: the outputs' paths`);
  for (const [name, bytes] of native.written)
    assert.ok(outputs.get(name).equals(bytes), `${label}: ${name} differs from the native output`);
  assert.deepEqual(results.map((file) => file.path).sort(), [...native.reports.keys()].sort(), `${label}: the files listed`);
  for (const file of results) {
    const expected = native.reports.get(file.path);
    assert.equal(file.ok, String(expected.ok), `${label}: ${file.path} data-ok`);
    assert.equal(withoutRoot(file.reason ?? ''), expected.reason, `${label}: ${file.path} reason`);
    assert.deepEqual(file.notes.map(withoutRoot), expected.notes, `${label}: ${file.path} notes`);
    assert.deepEqual(file.outputs.map((o) => o.path).sort(), expected.written.slice().sort(), `${label}: ${file.path} outputs`);
    for (const output of file.outputs)
      assert.equal(output.download, path.posix.basename(output.path), `${label}: ${output.path} download name`);
  }
  const summary = await summaryOfPage(page);
  assert.equal(summary.caption, 'Finished', `${label}: summary caption`);
  assert.equal(summary.text, native.summary, `${label}: summary text`);
}

// Files picked through #pick-files with a convert type, and the native command line on copies of them.
const pickCases = [
  { label: 'examples as BG tiles', type: 'bg', dir: examplesDir,
    files: ['Hello.txt', 'Notes_mem.txt', 'Sprites.bmp', 'Title.rscr', 'Title_scr.txt'] },
  { label: 'sprite sheet as 16x16 sprites', type: '16x16', dir: examplesDir, files: ['Sprites.bmp'] },
  { label: 'sprite sheet as 32x64 sprites', type: '32x64', dir: examplesDir, files: ['Sprites.bmp'] },
  { label: 'sprite sheet as GRP', type: 'grp', dir: examplesDir, files: ['Sprites.bmp', 'Hello.txt'] },
  { label: 'sprite sheet as a screen', type: 'screen', dir: examplesDir, files: ['Sprites.bmp'] },
  { label: 'examples as binary pages', type: 'bin', dir: examplesDir, files: ['Sprites.bmp', 'Title.rscr'] },
  { label: 'PNG pictures carried as data', type: 'bg', dir: path.join(casesDir, 'png_images', 'in'),
    files: ['p8.png', 'rgb.png', 'p4_bmp.bmp'] },
  { label: 'Unicode texts and names', type: 'bg', dir: path.join(casesDir, 'text_encodings', 'in'),
    files: ['prog.txt', 'prog_u8.txt', 'prog_bom.txt', 'prog_le.txt', 'prog_be.txt', 'u_mem.txt', 'b_scr.txt', 'bad.txt',
      path.join('..', '..', 'notes_and_collisions', 'in', 'ゲーム.txt')] },
  { label: 'refusals with their reasons', type: '16x16', dir: path.join(casesDir, 'bad_images', 'in'),
    files: ['odd.bmp', 'fake.bmp'] },
  { label: 'notes on what a conversion drops', type: 'bg', dir: path.join(casesDir, 'notes_and_collisions', 'in'),
    files: ['colours.bmp', 'long_mem.txt', 'level_01a.bmp', 'level_01b.bmp', 'pic.png'] },
];

for (const item of pickCases) {
  test(`picked files: ${item.label} give the native bytes, reasons and notes`, async () => {
    const inputs = Object.fromEntries(item.files.map((f) => [path.basename(f), path.join(item.dir, f)]));
    await setConvertType(page, item.type);
    await pickAndRun(page, Object.values(inputs));
    const results = await readResults(page);
    const native = await nativeConvert('pick', inputs, Object.keys(inputs), ['--type', item.type]);
    await expectSameAsNative(results, native, item.label);
    if (native.reports.size > 0 && [...native.reports.values()].some((r) => !r.ok))
      assert.ok(results.some((r) => r.ok === 'false' && r.reason), `${item.label}: a refused file shows a reason`);
  });
}

test('two inputs writing one output: the second is refused with the core\'s reason', async () => {
  // Two CHR files of one resource name decode into the same ZKP_LEVEL_01/LEVEL_01_CHR.bmp.
  const dir = path.join(casesDir, 'notes_and_collisions', 'in');
  const made = await nativeConvert('collide-src', { 'level_01a.bmp': path.join(dir, 'level_01a.bmp'),
    'level_01b.bmp': path.join(dir, 'level_01b.bmp') }, ['level_01a.bmp', 'level_01b.bmp'], ['--set', 'TextOut=0']);
  const work = tempDir('collide');
  scratch.push(work);
  for (const name of ['level_01a_CHR.zkp', 'level_01b_CHR.zkp']) fs.writeFileSync(path.join(work, name), made.written.get(name));
  const inputs = { 'level_01a_CHR.zkp': path.join(work, 'level_01a_CHR.zkp'), 'level_01b_CHR.zkp': path.join(work, 'level_01b_CHR.zkp') };
  await setConvertType(page, 'bg');
  await pickAndRun(page, Object.values(inputs));
  const results = await readResults(page);
  const native = await nativeConvert('collide', inputs, Object.keys(inputs));
  assert.match(native.reports.get('level_01b_CHR.zkp').reason, /was written from level_01a_CHR\.zkp in this run/);
  await expectSameAsNative(results, native, 'collision');
  const refused = results.find((r) => r.path === 'level_01b_CHR.zkp');
  assert.equal(refused.ok, 'false');
  assert.equal(refused.outputs.length, 0, 'the refused file lists no output');
  const details = (await summaryOfPage(page)).details.map(withoutRoot).join('\n');
  assert.match(details, /level_01b_CHR\.zkp: .*was written from level_01a_CHR\.zkp in this run/, 'the summary details name the collision');
});

// A tree with nested folders, a Unicode folder and file name, and a loose file beside it.
function makeTree() {
  const root = tempDir('tree');
  scratch.push(root);
  const game = path.join(examplesDir, 'game');
  fs.cpSync(game, path.join(root, 'game'), { recursive: true });
  fs.mkdirSync(path.join(root, 'game', 'art', 'levels', 'deep', 'ステージ'), { recursive: true });
  fs.copyFileSync(path.join(examplesDir, 'Sprites.bmp'), path.join(root, 'game', 'art', 'levels', 'deep', 'ステージ', 'タイル.bmp'));
  fs.copyFileSync(path.join(examplesDir, 'Hello.txt'), path.join(root, 'Hello.txt'));
  return root;
}

let dropped = null;  // the drop's tree and native run, for the zip test

test('a folder dropped with the browser\'s drag events converts its nested files and keeps the tree', async () => {
  const root = makeTree();
  await setConvertType(page, 'bg');
  await dropPaths(page, [path.join(root, 'game'), path.join(root, 'Hello.txt')]);
  const results = await readResults(page);
  const inputs = {};
  const walk = (dir, rel) => {
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
      const name = rel ? `${rel}/${entry.name}` : entry.name;
      if (entry.isDirectory()) walk(path.join(dir, entry.name), name);
      else inputs[name] = path.join(dir, entry.name);
    }
  };
  walk(root, '');
  const native = await nativeConvert('drop', inputs, ['game', 'Hello.txt']);
  assert.ok([...native.written.keys()].some((name) => name.startsWith('game/art/levels/deep/ステージ/')),
    'the native run wrote into the nested folder');
  await expectSameAsNative(results, native, 'dropped tree');
  for (const name of ['game/art/hero.bmp', 'game/art/levels/level2.bmp', 'game/art/levels/deep/ステージ/タイル.bmp', 'Hello.txt'])
    assert.ok(results.some((r) => r.path === name), `${name} is listed with its path in the tree`);
  dropped = native;
});

test('the zip holds every output under its tree path, stored, with a right CRC-32', async () => {
  assert.ok(dropped, 'the drop test ran first');
  const link = page.locator('#download-all');
  assert.ok(await link.isVisible(), '#download-all is shown after a run that wrote files');
  const zip = await download(page, () => link.click());
  assert.equal(zip.name, 'granvel-outputs.zip');
  const entries = readZip(zip.bytes);
  const files = entries.filter((e) => !e.name.endsWith('/'));
  for (const folder of entries.filter((e) => e.name.endsWith('/'))) assert.equal(folder.size, 0, `${folder.name} is a folder`);
  assert.deepEqual(files.map((e) => e.name).sort(), [...dropped.written.keys()].sort(), 'the zip\'s names are the outputs\' tree paths');
  for (const entry of files) {
    assert.equal(entry.method, 0, `${entry.name} is stored`);
    assert.equal(entry.packed, entry.size, `${entry.name} sizes`);
    assert.ok(entry.utf8, `${entry.name} has the UTF-8 name flag`);
    assert.equal(entry.crc, crc32(entry.data), `${entry.name}: the directory's CRC-32`);
    assert.equal(entry.localCrc, entry.crc, `${entry.name}: the local header's CRC-32`);
    assert.ok(entry.data.equals(dropped.written.get(entry.name)), `${entry.name} holds the native bytes`);
  }
  assert.ok(files.some((e) => e.name === 'game/art/levels/deep/ステージ/タイル_CHR.zkp'), 'a Unicode path in the zip');
});

test('#download-all is not offered when a run wrote nothing', async () => {
  await setConvertType(page, '16x16');
  await pickAndRun(page, [path.join(casesDir, 'bad_images', 'in', 'fake.bmp')]);
  const offered = await page.evaluate(() => {
    const el = document.getElementById('download-all');
    if (!el) return 'missing';
    const style = getComputedStyle(el);
    const hidden = el.hidden || style.display === 'none' || style.visibility === 'hidden' || el.closest('[hidden]');
    return hidden || el.disabled || el.getAttribute('aria-disabled') === 'true' ? 'no' : 'yes';
  });
  assert.equal(offered, 'no');
});

test('Cancel during a long run keeps the finished file, drops the one in progress and says so', async () => {
  const work = tempDir('cancel');
  scratch.push(work);
  fs.writeFileSync(path.join(work, 'b_big.bmp'), bigBmp(4096));
  fs.copyFileSync(path.join(examplesDir, 'Hello.txt'), path.join(work, 'a_small.txt'));
  await setConvertType(page, 'grp');
  await page.evaluate(() => {
    window.__granvelTestRuns = 0;
    const observer = new MutationObserver(() => { window.__granvelTestRuns += 1; });
    observer.observe(document.getElementById('summary-text'), { childList: true, characterData: true, subtree: true });
  });
  await page.setInputFiles('#pick-files', [path.join(work, 'a_small.txt'), path.join(work, 'b_big.bmp')]);
  await page.waitForSelector('#results li.file[data-path="a_small.txt"]', { timeout: 15000 });
  assert.equal(await page.locator('#cancel').isEnabled(), true, '#cancel is enabled while the run is busy');
  assert.match(await page.locator('#status').textContent(), /^Converting/);
  const clicked = Date.now();
  await page.click('#cancel');
  await waitFor(page, () => /Cancelled after/.test(document.getElementById('summary-text')?.textContent || ''),
    null, { timeout: 10000 });
  assert.ok(Date.now() - clicked < 5000, 'the cancel shows at once');
  assert.equal((await summaryOfPage(page)).text,
    'Cancelled after 1 of 2 files\n1 files converted\nSuccessed：1\nFailured：0');
  await waitForReady(page);
  assert.equal(await page.locator('#cancel').isDisabled(), true, '#cancel is disabled after the run');
  const results = await readResults(page);
  const small = results.find((r) => r.path === 'a_small.txt');
  assert.ok(small && small.outputs.length > 0, 'the finished file keeps its outputs');
  assert.ok(!results.some((r) => r.path === 'b_big.bmp' && r.outputs.length > 0), 'the file in progress has no outputs');
  // The fresh worker converts again.
  await setConvertType(page, 'bg');
  await pickAndRun(page, [path.join(examplesDir, 'Hello.txt')]);
  const again = await readResults(page);
  const native = await nativeConvert('after-cancel', { 'Hello.txt': path.join(examplesDir, 'Hello.txt') }, ['Hello.txt']);
  await expectSameAsNative(again, native, 'after cancel');
});

test('the page raised no script error', () => {
  assert.deepEqual(page.pageErrors, []);
});
