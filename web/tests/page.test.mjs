// The page as a whole: Options remembered and their effect on a run, GRANVEL.ini exported and imported, the
// 1-bit palette question's answer, the one-file page from file://, and no request leaving the page's files.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';

import {
  waitFor,
  casesDir, download, examplesDir, launchBrowser, nativeConvert, openPage, outputsOf, pickAndRun, readResults,
  requireBuild, runNative, serveFolder, setConvertType, singleFile, siteDir, summaryOfPage, tempDir, TYPES,
  waitForReady,
} from './support/harness.mjs';

let server, browser, context, page;
const requests = [];
const work = tempDir('page');

// Every request and every refusal by the page's Content-Security-Policy, in every page of the context.
async function watchContext(ctx, list) {
  ctx.on('request', (request) => list.push(request.url()));
  await ctx.addInitScript(() => {
    window.__granvelViolations = [];
    document.addEventListener('securitypolicyviolation', (event) => {
      window.__granvelViolations.push(`${event.violatedDirective} ${event.blockedURI}`);
    });
  });
}

before(async () => {
  requireBuild();
  server = await serveFolder(siteDir);
  browser = await launchBrowser();
  context = await browser.newContext({ acceptDownloads: true });
  await watchContext(context, requests);
  page = await openPage(context, `${server.origin}/index.html`);
});

after(async () => {
  await browser?.close();
  await server?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

async function openOptions() {
  await page.click('#open-options');
  await waitFor(page, () => document.getElementById('options-dialog')?.open, null, { timeout: 5000 });
}

async function reload() {
  await page.reload();
  await waitForReady(page);
}

const sprites = { 'Sprites.bmp': path.join(examplesDir, 'Sprites.bmp') };

async function sameAsNative(inputs, words, label) {
  await pickAndRun(page, Object.values(inputs));
  const outputs = outputsOf(await readResults(page));
  const native = await nativeConvert('opt', inputs, Object.keys(inputs), words);
  assert.deepEqual([...outputs.keys()], [...native.written.keys()], `${label}: outputs`);
  for (const [name, bytes] of native.written) assert.ok(outputs.get(name).equals(bytes), `${label}: ${name} differs`);
  return native;
}

test('the Options dialog shows the core\'s labels and its enable rules', async () => {
  await openOptions();
  const dialog = await page.evaluate(() => {
    const labelOf = (id) => {
      const el = document.getElementById(id);
      if (!el) return null;
      const label = el.labels?.[0] || document.querySelector(`label[for="${id}"]`);
      return label ? label.textContent.replace(/\s+/g, ' ').trim() : (el.getAttribute('aria-label') || '');
    };
    return {
      text: document.getElementById('options-dialog').textContent.replace(/\s+/g, ' '),
      utf8: labelOf('opt-Utf8Text'), share: labelOf('opt-ShareTiles'),
      missing: ['SameAsSource', 'SameAsTool', 'SelectedFolder', 'UserFolder', 'MakeZkpFolder', 'TextOut', 'DataHex',
        'DataDec', 'PngImage', 'PrgLimit', 'PrgToScr', 'PrgToMem', 'KeepWidth', 'Split128', 'Split256', 'PaletteKeep',
        'Palette15', 'PaletteAsk', 'MultiByte', 'Escape', 'Make128', 'Make256', 'Utf8Text', 'ShareTiles']
        .filter((name) => !document.getElementById(`opt-${name}`)),
      untitled: [...document.querySelectorAll('#options-dialog input')].filter((el) => el.id.startsWith('opt-') &&
        !el.title && !el.closest('[title]')).map((el) => el.id),
      unlabelled: [...document.querySelectorAll('#options-dialog input, #options-dialog select')]
        .filter((el) => el.id && !(el.labels && el.labels.length) && !el.getAttribute('aria-label')).map((el) => el.id),
    };
  });
  assert.deepEqual(dialog.missing, [], 'every control of the dialog is there');
  assert.deepEqual(dialog.unlabelled, [], 'every control has a label');
  assert.deepEqual(dialog.untitled, [], 'every control has its tooltip');
  for (const caption of ['Option settings', 'Save to...', 'Common settings', 'PRG text settings', 'CHR resource settings',
    'ZKP file settings', 'Convert of 1bit ( 2 colors ) BMP file'])
    assert.ok(dialog.text.includes(caption), `the dialog shows "${caption}"`);
  assert.equal(dialog.utf8, 'Write decoded texts in UTF-8 with LF line ends');
  assert.equal(dialog.share, 'Share one tile set across the pictures of a run');

  // Which control enables which: the folder field, the DATA radios, the Split radios, Escape.
  const enabled = (id) => page.locator(`#${id}`).isEnabled();
  const rules = [
    { set: ['#opt-SelectedFolder', true], on: 'opt-UserFolder', expect: true },
    { set: ['#opt-SameAsSource', true], on: 'opt-UserFolder', expect: false },
    { set: ['#opt-TextOut', true], on: 'opt-DataHex', expect: true },
    { set: ['#opt-TextOut', false], on: 'opt-DataDec', expect: false },
    { set: ['#opt-KeepWidth', true], on: 'opt-Split256', expect: true },
    { set: ['#opt-KeepWidth', false], on: 'opt-Split128', expect: false },
    { set: ['#opt-MultiByte', true], on: 'opt-Escape', expect: false },
    { set: ['#opt-MultiByte', false], on: 'opt-Escape', expect: true },
  ];
  for (const rule of rules) {
    await page.locator(rule.set[0]).setChecked(rule.set[1]);
    assert.equal(await enabled(rule.on), rule.expect, `${rule.set[0]} ${rule.set[1]} -> ${rule.on} enabled ${rule.expect}`);
  }
  await page.click('#options-cancel');
  await waitFor(page, () => !document.getElementById('options-dialog').open);
});

test('Options: Done keeps a change over a reload, Cancel drops one, and the run follows the setting', async () => {
  await openOptions();
  const before = await page.locator('#opt-TextOut').isChecked();
  await page.locator('#opt-TextOut').setChecked(!before);
  await page.click('#options-done');
  await waitFor(page, () => !document.getElementById('options-dialog').open);
  await reload();
  const stored = await page.evaluate(() => localStorage.getItem('granvel.ini'));
  assert.match(stored ?? '', new RegExp(`TextOut=${before ? 0 : 1}`), 'localStorage granvel.ini holds the change');
  await openOptions();
  assert.equal(await page.locator('#opt-TextOut').isChecked(), !before, 'remembered after a reload');
  await page.locator('#opt-PngImage').setChecked(!(await page.locator('#opt-PngImage').isChecked()));
  const png = await page.locator('#opt-PngImage').isChecked();
  await page.click('#options-cancel');
  await openOptions();
  assert.equal(await page.locator('#opt-PngImage').isChecked(), !png, 'Cancel discards the change');
  await page.click('#options-cancel');
  await setConvertType(page, 'bg');
  const native = await sameAsNative(sprites, ['--set', `TextOut=${before ? 0 : 1}`], 'TextOut changed');
  assert.equal(native.written.has('Sprites_CHR_DATA.txt'), !before, 'the setting changes what is written');
});

test('"Selected folder": the outputs go into that folder of the zip, whatever the text, and never into the file system\'s own', async () => {
  const selectFolder = async (text) => {
    await openOptions();
    await page.locator(text === null ? '#opt-SameAsSource' : '#opt-SelectedFolder').check();
    if (text !== null) await page.fill('#opt-UserFolder', text);
    await page.locator('#opt-TextOut').setChecked(false);
    await page.click('#options-done');
    await waitFor(page, () => !document.getElementById('options-dialog').open);
  };
  await setConvertType(page, 'bg');
  const native = await nativeConvert('folder', sprites, Object.keys(sprites), ['--set', 'TextOut=0']);
  const cases = [
    { text: 'D:\\converted\\art', prefix: 'converted/art/' },
    { text: '/dev', prefix: 'dev/' },
    { text: '../../in/..', prefix: 'in/' },
  ];
  try {
    for (const { text, prefix } of cases) {
      await selectFolder(text);
      await pickAndRun(page, Object.values(sprites));
      const outputs = outputsOf(await readResults(page));
      assert.deepEqual([...outputs.keys()], [...native.written.keys()].map((name) => prefix + name), text);
      for (const [name, bytes] of native.written) assert.ok(outputs.get(prefix + name).equals(bytes), `${text}: ${name}`);
    }
  } finally {
    await selectFolder(null);
  }
  // The runs above left the worker's own folders whole: a run beside its sources still works.
  await sameAsNative(sprites, ['--set', 'TextOut=0'], 'after the selected folders');
});

test('the convert type and the palette answer are remembered over a reload', async () => {
  await page.selectOption('#convert-type', String(TYPES['32x32']));
  await page.selectOption('#palette-answer', 'yes');
  await reload();
  assert.equal(await page.locator('#convert-type').inputValue(), String(TYPES['32x32']));
  assert.equal(await page.locator('#palette-answer').inputValue(), 'yes');
  const labels = await page.evaluate(() => [...document.getElementById('convert-type').options].map((o) => [o.value, o.textContent.trim()]));
  assert.deepEqual(labels.map(([value]) => Number(value)).sort(), Object.values(TYPES).sort(), 'every convert type is offered');
  assert.ok(labels.every(([, text]) => text.length > 0));
});

test('the 1-bit palette question takes #palette-answer and is listed with its answer', async () => {
  const mono = { 'mono.bmp': path.join(casesDir, 'one_bit_question', 'in', 'mono.bmp') };
  await setConvertType(page, 'bg');
  // The native run answers No when no terminal asks; Yes is the 1/15 palette (PAL_Fix_1bit=1).
  for (const [answer, words] of [['yes', ['--set', 'PAL_Fix_1bit=1']], ['no', []]]) {
    await page.selectOption('#palette-answer', answer);
    await sameAsNative(mono, ['--set', `TextOut=${(await page.evaluate(() => localStorage.getItem('granvel.ini')) || '').includes('TextOut=0') ? 0 : 1}`, ...words], `answer ${answer}`);
    const summary = await summaryOfPage(page);
    assert.equal(summary.questions.length, 1, `answer ${answer}: one question listed`);
    assert.match(summary.questions[0], answer === 'yes' ? /\bYes\b/i : /\bNo\b/i, `answer ${answer}: the answer given is shown`);
  }
  const label = await page.evaluate(() => {
    const el = document.getElementById('palette-answer');
    return (el.labels?.[0]?.textContent || el.getAttribute('aria-label') || '').trim();
  });
  assert.ok(label.length > 0, '#palette-answer has a label');
});

test('GRANVEL.ini is exported as stored and imported from a file the native command line saved', async () => {
  const exported = await download(page, () => page.click('#export-ini'));
  assert.equal(exported.name, 'GRANVEL.ini');
  assert.equal(exported.bytes.toString('utf8'), await page.evaluate(() => localStorage.getItem('granvel.ini')));
  // The native settings command writes an INI with PNG pictures converted as images.
  const ini = path.join(work, 'GRANVEL.ini');
  const saved = await runNative(['settings', '--ini', ini, '--set', 'PNG_Image=1', '--set', 'TextOut=0', '--save'], work);
  assert.equal(saved.status, 0, saved.stderr);
  await page.setInputFiles('#import-ini', ini);
  await waitFor(page, () => /PNG_Image=1/.test(localStorage.getItem('granvel.ini') || ''), null, { timeout: 5000 });
  await reload();
  await openOptions();
  assert.equal(await page.locator('#opt-PngImage').isChecked(), true, 'the imported setting shows in Options');
  assert.equal(await page.locator('#opt-TextOut').isChecked(), false);
  await page.click('#options-cancel');
  await setConvertType(page, 'bg');
  const pngs = { 'p8.png': path.join(casesDir, 'png_images', 'in', 'p8.png'), 'rgb.png': path.join(casesDir, 'png_images', 'in', 'rgb.png') };
  const native = await sameAsNative(pngs, ['--ini', ini], 'imported INI');
  assert.ok(native.written.has('p8_CHR.zkp'), 'PNG files convert as pictures now');
});

test('both copies of the page carry the licences of the libraries compiled into the module', async () => {
  const notices = ['libspng', 'zlib'].map((folder) => fs.readFileSync(path.join(casesDir, '..', '..', 'third_party',
    folder, 'LICENSE'), 'utf8').trim());
  // A context of its own: the file:// request must not count against the site's requests.
  const singleContext = await browser.newContext();
  const single = await singleContext.newPage();
  try {
    await single.goto(pathToFileURL(singleFile).href);
    for (const [label, shown] of [['site', page], ['one file', single]]) {
      const text = await shown.locator('#licences').textContent();
      for (const notice of notices) assert.ok(text.includes(notice), `${label}: a licence is missing or altered`);
    }
  } finally {
    await singleContext.close();
  }
});

test('the page asks for nothing but its own files, and declares its Content-Security-Policy', async () => {
  const csp = await page.evaluate(() => document.querySelector('meta[http-equiv="Content-Security-Policy" i]')?.content ?? null);
  assert.ok(csp, 'a CSP meta element');
  assert.match(csp, /default-src 'none'/);
  assert.doesNotMatch(csp.split(';').find((d) => d.trim().startsWith('script-src')) ?? '', /'unsafe-inline'/,
    'no inline scripts allowed');
  await openOptions();
  await page.click('#options-cancel');
  await page.click('#open-package');
  await page.click('#package-close');
  const outside = requests.filter((url) => !(url.startsWith(`${server.origin}/`) || url.startsWith('blob:') || url.startsWith('data:')));
  assert.deepEqual(outside, [], 'no request leaves the site');
  assert.ok(requests.some((url) => url.endsWith('/granvel_web.wasm')), 'the requests were recorded');
  assert.deepEqual(await page.evaluate(() => window.__granvelViolations), [], 'nothing the policy refuses');
  assert.deepEqual(page.pageErrors, [], 'no script error');
});

test('the one-file page opened from file:// converts a file, asking for nothing outside it', async () => {
  requireBuild(singleFile);
  const fileContext = await browser.newContext({ acceptDownloads: true });
  const seen = [];
  await watchContext(fileContext, seen);
  try {
    const single = await openPage(fileContext, pathToFileURL(singleFile).href);
    const csp = await single.evaluate(() => document.querySelector('meta[http-equiv="Content-Security-Policy" i]')?.content ?? '');
    assert.match(csp, /default-src 'none'/);
    assert.doesNotMatch(csp.split(';').find((d) => d.trim().startsWith('script-src')) ?? '', /'unsafe-inline'/);
    await single.selectOption('#convert-type', String(TYPES.bg));
    const inputs = { 'Sprites.bmp': path.join(examplesDir, 'Sprites.bmp'), 'Hello.txt': path.join(examplesDir, 'Hello.txt') };
    await pickAndRun(single, Object.values(inputs));
    const outputs = outputsOf(await readResults(single));
    const native = await nativeConvert('single', inputs, Object.keys(inputs));
    assert.deepEqual([...outputs.keys()], [...native.written.keys()]);
    for (const [name, bytes] of native.written) assert.ok(outputs.get(name).equals(bytes), `${name} differs`);
    const outside = seen.filter((url) => !(url.startsWith('file:') || url.startsWith('blob:') || url.startsWith('data:')));
    assert.deepEqual(outside, [], 'no request leaves the file');
    assert.deepEqual(await single.evaluate(() => window.__granvelViolations), []);
    assert.deepEqual(single.pageErrors, []);
  } finally {
    await fileContext.close();
  }
});
