// Decoding on the page: a .zkp and a package give the native files, with previews (pictures, screen maps,
// texts) and what each .zkp holds; and the package form builds the same package the command line builds.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import {
  waitFor, download, examplesDir, casesDir, nativeConvert, outputsOf, pickAndRun, readResults, runNative,
  setConvertType, tempDir, startSite,
} from './support/harness.mjs';

let site, browser, page;
const work = tempDir('decode');

before(async () => {
  site = await startSite();
  ({ browser, page } = site);
});

after(async () => {
  await site?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

const ex = (name) => path.join(examplesDir, name);

// The package of examples/make-package.sh, as the slots the form and the command line take.
const packages = [
  { label: 'the examples\' package', name: 'hello', slots: [
    { id: 7936, word: 'PRG', file: ex('Hello.txt') },
    { id: 4352, word: 'SPU0', file: ex('Sprites.bmp') },
    { id: 4096, word: 'BGU0', file: ex('Sprites.bmp') },
    { id: 7168, word: 'COL0', file: ex('Sprites.bmp') },
    { id: 7184, word: 'COL1', file: ex('Sprites.bmp') },
    { id: 4256, word: 'SCU0', file: ex('Title_scr.txt') },
    { id: 7952, word: 'MEM', file: ex('Notes_mem.txt') },
  ] },
  { label: 'a package with a GRP page and a lower-screen bank', name: 'game', slots: [
    { id: 7936, word: 'PRG', file: path.join(casesDir, 'package_build_and_decode', 'in', 'main.txt') },
    { id: 4096, word: 'BGU0', file: path.join(casesDir, 'package_build_and_decode', 'in', 'bg.bmp') },
    { id: 7168, word: 'COL0', file: path.join(casesDir, 'package_build_and_decode', 'in', 'bg.bmp') },
    { id: 4608, word: 'GRP0', file: path.join(casesDir, 'package_build_and_decode', 'in', 'page.bmp') },
    { id: 4176, word: 'down:BGU1', file: path.join(casesDir, 'package_build_and_decode', 'in', 'bg.bmp') },
  ] },
];

async function nativePackage(item) {
  const out = path.join(work, `${item.name}-native.zkp`);
  const run = await runNative(['package', '--ini', '/dev/null', '-o', out, '--name', item.name,
    ...item.slots.map((s) => `${s.word}=${s.file}`)], work);
  assert.equal(run.status, 0, run.stderr);
  return fs.readFileSync(out);
}

// What #previews shows for each output and input: kind, loaded size of pictures, texts.
async function readPreviews() {
  await waitFor(page, () => [...document.querySelectorAll('#previews img')].every((img) => img.complete),
    null, { timeout: 10000 });
  return page.evaluate(() => [...document.querySelectorAll('#previews figure.preview')].map((figure) => ({
    path: figure.dataset.path,
    caption: figure.querySelector('figcaption')?.textContent.trim(),
    images: [...figure.querySelectorAll('img')].map((img) => ({ width: img.naturalWidth, height: img.naturalHeight,
      screen: img.classList.contains('screen'), src: img.src.slice(0, 5), alt: img.getAttribute('alt') })),
    text: figure.querySelector('pre')?.textContent ?? null,
    info: figure.querySelector('.zkp-info')?.innerText ?? null,
  })));
}

function textOf(bytes) {
  try { return new TextDecoder('utf-8', { fatal: true }).decode(bytes); } catch { return new TextDecoder('shift_jis').decode(bytes); }
}

// Every picture and text output has its preview, pictures loaded, texts as the file reads.
function checkPreviews(previews, written, label) {
  for (const [name, bytes] of written) {
    const ext = path.extname(name).toLowerCase();
    if (!['.bmp', '.png', '.txt'].includes(ext)) continue;
    const figure = previews.find((p) => p.path === name);
    assert.ok(figure, `${label}: ${name} has a preview`);
    assert.ok(figure.caption, `${label}: ${name}'s preview has a caption`);
    if (ext === '.txt') {
      // Line ends as the browser shows them: CR LF and CR alone read as one line end.
      const lines = (text) => text?.replace(/\r\n?/g, '\n');
      assert.equal(lines(figure.text), lines(textOf(bytes)), `${label}: ${name} shown as its text`);
    } else {
      assert.equal(figure.images.length, 1, `${label}: ${name} shows one picture`);
      assert.ok(figure.images[0].width > 0 && figure.images[0].height > 0, `${label}: ${name}'s picture loaded`);
      // The picture shown is the file's own size (its header's width and height).
      const size = ext === '.bmp' ? [bytes.readInt32LE(18), Math.abs(bytes.readInt32LE(22))] : [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
      assert.deepEqual([figure.images[0].width, figure.images[0].height], size, `${label}: ${name}'s picture size`);
      assert.equal(figure.images[0].src, 'blob:', `${label}: ${name}'s picture is a blob: URL`);
    }
  }
}

test('decoding .zkp files gives the native files, their previews and what each file holds', async () => {
  // The resources come from the native command line: a sprite sheet's CHR and COL, a program, a screen.
  const made = await nativeConvert('zkp-src', { 'Sprites.bmp': ex('Sprites.bmp'), 'Hello.txt': ex('Hello.txt'),
    'Title_scr.txt': ex('Title_scr.txt') }, ['Sprites.bmp', 'Hello.txt', 'Title_scr.txt'], ['--set', 'TextOut=0']);
  // A screen map with its bank and palette beside it, as a screen conversion writes them.
  const screen = await nativeConvert('zkp-screen', { 'Map.bmp': ex('Sprites.bmp') }, ['Map.bmp'], ['--type', 'screen', '--set', 'TextOut=0']);
  const inputs = {};
  for (const [name, from] of [['Sprites_CHR.zkp', made], ['Sprites_COL.zkp', made], ['Hello_PRG.zkp', made],
    ['Title_scr_SCR.zkp', made], ['Map_SCR.zkp', screen], ['Map_CHR0.zkp', screen], ['Map_COL.zkp', screen]]) {
    assert.ok(from.written.has(name), `the native run wrote ${name}`);
    inputs[name] = path.join(work, name);
    fs.writeFileSync(inputs[name], from.written.get(name));
  }
  await setConvertType(page, 'bg');
  await pickAndRun(page, Object.values(inputs));
  const results = await readResults(page);
  const native = await nativeConvert('zkp', inputs, Object.keys(inputs));
  const outputs = outputsOf(results);
  assert.deepEqual([...outputs.keys()], [...native.written.keys()]);
  for (const [name, bytes] of native.written) assert.ok(outputs.get(name).equals(bytes), `${name} differs`);
  const previews = await readPreviews();
  checkPreviews(previews, native.written, 'decoded');
  // Each dropped .zkp tells its type; the screen map is drawn with the banks beside it.
  for (const [name, type] of [['Sprites_CHR.zkp', 'CHR'], ['Sprites_COL.zkp', 'COL'], ['Hello_PRG.zkp', 'PRG'], ['Title_scr_SCR.zkp', 'SCR'], ['Map_SCR.zkp', 'SCR']]) {
    const figure = previews.find((p) => p.path === name && p.info !== null);
    assert.ok(figure, `${name} has a .zkp-info block`);
    assert.match(figure.info, new RegExp(`\\b${type}\\b`), `${name}'s info names its type`);
  }
  const drawn = previews.find((p) => p.path === 'Map_SCR.zkp' && p.images.some((i) => i.screen));
  assert.ok(drawn, 'the SCR input with its bank beside it is drawn as img.screen');
  assert.equal(drawn.images.find((i) => i.screen).width, 512, 'the screen picture loaded, 512 pixels wide');
});

test('decoding a package gives its slot files, previews of each, and its parts listed', async () => {
  const bytes = await nativePackage(packages[0]);
  const file = path.join(work, 'HELLO.zkp');
  fs.writeFileSync(file, bytes);
  await setConvertType(page, 'bg');
  await pickAndRun(page, [file]);
  const results = await readResults(page);
  const native = await nativeConvert('package', { 'HELLO.zkp': file }, ['HELLO.zkp']);
  const outputs = outputsOf(results);
  assert.deepEqual([...outputs.keys()], [...native.written.keys()]);
  for (const [name, data] of native.written) assert.ok(outputs.get(name).equals(data), `${name} differs`);
  assert.ok([...native.written.keys()].every((n) => n.startsWith('ZKP_HELLO/')), 'the package decodes into its folder');
  const previews = await readPreviews();
  checkPreviews(previews, native.written, 'package');
  const info = previews.find((p) => p.path === 'HELLO.zkp' && p.info !== null);
  assert.ok(info, 'the package has a .zkp-info block');
  for (const part of ['PRG', 'CHR', 'COL', 'SCR', 'MEM']) assert.match(info.info, new RegExp(part), `the parts list names ${part}`);
  // The package's screen slot is drawn as a picture: the native decode's screen BMP is among the previews.
  const screen = previews.find((p) => p.path === 'ZKP_HELLO/HELLO_SCU0_screen.bmp');
  assert.ok(screen && screen.images[0].width > 0, 'the screen picture is shown');
});

async function openPackageForm() {
  await page.click('#open-package');
  await waitFor(page, () => document.getElementById('package-dialog')?.open, null, { timeout: 5000 });
}

for (const item of packages) {
  test(`the package form builds ${item.label} as the command line does`, async () => {
    const expected = await nativePackage(item);
    await openPackageForm();
    await page.fill('#package-name', item.name);
    for (const slot of item.slots) {
      const check = page.locator(`#slot-${slot.id}-check`);
      if (!(await check.isChecked())) await check.check();
      await page.setInputFiles(`#slot-${slot.id}-browse`, slot.file);
      await waitFor(page, ([id, name]) => (document.getElementById(`slot-${id}-path`)?.value ||
        document.getElementById(`slot-${id}-path`)?.textContent || '').includes(name), [slot.id, path.basename(slot.file)], { timeout: 5000 });
      assert.equal(await check.isChecked(), true, `slot ${slot.word} is ticked`);
    }
    await page.click('#package-make');
    const link = page.locator('#package-download');
    await link.waitFor({ state: 'visible', timeout: 10000 });
    const file = await download(page, () => link.click());
    assert.equal(file.name.toLowerCase(), `${item.name}.zkp`, 'the download\'s name');
    assert.ok(file.bytes.equals(expected), `${item.label}: the page's package has the native bytes`);
    await page.click('#package-close');
    await waitFor(page, () => !document.getElementById('package-dialog').open);
  });
}

test('the package form shows the core\'s reason when a slot\'s file is refused', async () => {
  const refused = path.join(casesDir, 'package_slots', 'in', 'i40.bmp');
  const out = path.join(work, 'icon40.zkp');
  const run = await runNative(['package', '--ini', '/dev/null', '-o', out, `SPD1=${refused}`], work);
  assert.equal(run.status, 1);
  const reason = /SPD1: (.*)/.exec(run.stderr)[1];
  // The page reloads, so that the form starts empty.
  await page.reload();
  await waitFor(page, () => document.getElementById('status')?.textContent.trim() === 'Ready');
  await openPackageForm();
  await page.fill('#package-name', 'icon40');
  const check = page.locator('#slot-4560-check');
  if (!(await check.isChecked())) await check.check();
  await page.setInputFiles('#slot-4560-browse', refused);
  // The form reads the file when it is chosen, and refuses it then with the core's reason.
  await waitFor(page, (text) => (document.getElementById('package-messages')?.textContent || '').includes(text),
    reason, { timeout: 5000 }).catch(() => {});
  const messages = await page.locator('#package-messages').textContent();
  assert.ok(messages.includes(reason), `#package-messages shows "${reason}"; it shows "${messages.trim()}"`);
  assert.doesNotMatch(messages, /\/(in|pkg|out|tool)\//, 'no path of the worker\'s file system is shown');
  assert.equal(await check.isChecked(), false, 'the refused slot is not ticked');
  await page.click('#package-make');
  assert.equal(await page.locator('#package-download').isVisible(), false, 'no package is offered');
  await page.click('#package-close');
});

test('the page raised no script error', () => {
  assert.deepEqual(page.pageErrors, []);
});
