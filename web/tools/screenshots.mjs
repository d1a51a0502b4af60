// PNG screenshots of the page for review: empty, after a run with a refusal and notes, a decoded package with
// its previews, the package form, a 360-pixel-wide phone view and the dark scheme.
//   node web/tools/screenshots.mjs build-web OUT-FOLDER     (GRANVEL_NATIVE_CLI = the native granvel-cli)
import fs from 'node:fs';
import path from 'node:path';

import {
  casesDir, examplesDir, launchBrowser, openPage, pickAndRun, runNative, serveFolder, setConvertType, tempDir,
  waitFor,
} from '../tests/support/harness.mjs';

const buildDir = path.resolve(process.argv[2] || 'build-web');
const outDir = path.resolve(process.argv[3] || 'screenshots');
fs.mkdirSync(outDir, { recursive: true });
const work = tempDir('shots');

// A run with a refused file, notes and a PNG carried as data.
const runFiles = [
  path.join(casesDir, 'notes_and_collisions', 'in', 'colours.bmp'),
  path.join(casesDir, 'notes_and_collisions', 'in', 'long_mem.txt'),
  path.join(casesDir, 'notes_and_collisions', 'in', 'pic.png'),
  path.join(casesDir, 'bad_images', 'in', 'fake.bmp'),
  path.join(examplesDir, 'Sprites.bmp'),
];

const server = await serveFolder(path.join(buildDir, 'site'));
const browser = await launchBrowser();
const written = [];
const shot = async (page, name, options = {}) => {
  const file = path.join(outDir, name);
  await page.screenshot({ path: file, fullPage: true, ...options });
  written.push(file);
};

try {
  // The examples' package, built by the native command line.
  const pkg = path.join(work, 'HELLO.zkp');
  const ex = (name) => path.join(examplesDir, name);
  const made = await runNative(['package', '--ini', '/dev/null', '-o', pkg, '--name', 'hello', `PRG=${ex('Hello.txt')}`,
    `SPU0=${ex('Sprites.bmp')}`, `BGU0=${ex('Sprites.bmp')}`, `COL0=${ex('Sprites.bmp')}`, `COL1=${ex('Sprites.bmp')}`,
    `SCU0=${ex('Title_scr.txt')}`, `MEM=${ex('Notes_mem.txt')}`], work);
  if (made.status !== 0) throw new Error(`the native package command failed: ${made.stderr}`);

  for (const scheme of ['light', 'dark']) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 900 }, colorScheme: scheme });
    const page = await openPage(context, `${server.origin}/index.html`);
    const prefix = scheme === 'dark' ? 'dark-' : '';
    await shot(page, `${prefix}01-empty.png`);
    await setConvertType(page, 'bg');
    await pickAndRun(page, runFiles);
    await shot(page, `${prefix}02-run-with-refusal-and-notes.png`);
    // The README's picture: the top of the same page (docs/images/web-page.png).
    if (scheme === 'light') await shot(page, 'readme-web-page.png', { clip: { x: 0, y: 0, width: 1280, height: 960 } });
    if (scheme === 'light') {
      await pickAndRun(page, [pkg]);
      await waitFor(page, () => [...document.querySelectorAll('#previews img')].every((img) => img.complete), null, { timeout: 10000 });
      await shot(page, '03-decoded-package-previews.png');
      await page.click('#open-options');
      await shot(page, '04-options.png', { fullPage: false });
      await page.click('#options-cancel');
      await page.click('#open-package');
      await page.fill('#package-name', 'hello');
      for (const [id, file] of [[7936, ex('Hello.txt')], [4352, ex('Sprites.bmp')], [7168, ex('Sprites.bmp')]]) {
        const check = page.locator(`#slot-${id}-check`);
        if (!(await check.isChecked())) await check.check();
        await page.setInputFiles(`#slot-${id}-browse`, file);
      }
      await page.waitForTimeout(300);
      await shot(page, '05-package-form.png', { fullPage: false });
      await page.click('#package-close');
    }
    await context.close();
  }

  const phone = await browser.newContext({ viewport: { width: 360, height: 780 }, deviceScaleFactor: 1, isMobile: true, hasTouch: true });
  const page = await openPage(phone, `${server.origin}/index.html`);
  await shot(page, '06-phone-360-empty.png');
  await setConvertType(page, 'bg');
  await pickAndRun(page, runFiles);
  await shot(page, '07-phone-360-after-run.png');
  await page.click('#open-package');
  await shot(page, '08-phone-360-package-form.png', { fullPage: false });
  await phone.close();
} finally {
  await browser.close();
  await server.close();
  fs.rmSync(work, { recursive: true, force: true });
}
for (const file of written) console.log(file);
