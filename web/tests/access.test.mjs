// The page for everyone: every control has a name a screen reader can say, the keyboard alone reaches the
// pickers and both dialogs, nothing is wider than a 360-pixel phone, and the dark scheme is dark.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { examplesDir, openPage, pickAndRun, startSite } from './support/harness.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(async () => {
  await site?.close();
});

// How many controls the accessibility tree holds, and those without a name.
async function unnamedControls(page) {
  const roles = new Set(['button', 'checkbox', 'radio', 'combobox', 'textbox', 'link', 'spinbutton', 'slider',
    'listbox', 'menuitem', 'switch', 'searchbox']);
  const unnamed = [];
  let seen = 0;
  const walk = (node) => {
    if (!node) return;
    if (roles.has(node.role)) {
      seen += 1;
      if (!String(node.name || '').trim()) unnamed.push(`${node.role} ${JSON.stringify(node)}`);
    }
    for (const child of node.children || []) walk(child);
  };
  walk(await page.accessibility.snapshot({ interestingOnly: false }));
  return { seen, unnamed };
}

const activeId = (page) => page.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);

test('every control of the page and of both dialogs has a name a screen reader can say', async () => {
  const { page } = site;
  await pickAndRun(page, [path.join(examplesDir, 'Sprites.bmp')]);
  const main = await unnamedControls(page);
  assert.deepEqual(main.unnamed, [], 'the page');
  assert.ok(main.seen >= 8, `the page has ${main.seen} controls`);
  await page.click('#open-options');
  await page.waitForSelector('#options-dialog[open] #opt-TextOut', { timeout: 5000 });
  const options = await unnamedControls(page);
  assert.deepEqual(options.unnamed, [], 'the Options dialog');
  assert.ok(options.seen >= 24, `the Options dialog has ${options.seen} controls`);
  await page.click('#options-cancel');
  await page.click('#open-package');
  await page.waitForSelector('#package-dialog[open] input[type=checkbox]', { timeout: 5000 });
  const form = await unnamedControls(page);
  assert.deepEqual(form.unnamed, [], 'the package dialog');
  assert.ok(form.seen >= 42 * 2, `the package dialog has ${form.seen} controls`);
  await page.click('#package-close');
});

test('the keyboard alone reaches every setting and picker, and opens and closes both dialogs', async () => {
  const { page } = site;
  await page.evaluate(() => document.activeElement?.blur());
  const reached = new Set();
  for (let i = 0; i < 40; i += 1) {
    await page.keyboard.press('Tab');
    reached.add(await activeId(page));
  }
  for (const id of ['convert-type', 'palette-answer', 'open-options', 'open-package', 'import-ini', 'export-ini',
    'pick-files', 'pick-folder']) {
    assert.ok(reached.has(id), `Tab never reaches #${id} (reached: ${[...reached].join(', ')})`);
  }

  // A focused picker opens the file chooser from the keyboard.
  await page.focus('#pick-files');
  const [chooser] = await Promise.all([page.waitForEvent('filechooser', { timeout: 5000 }), page.keyboard.press('Space')]);
  assert.ok(chooser.isMultiple(), '"Choose files" takes many files');

  for (const [opener, dialog] of [['open-options', 'options-dialog'], ['open-package', 'package-dialog']]) {
    await page.focus(`#${opener}`);
    await page.keyboard.press('Enter');
    await page.waitForSelector(`#${dialog}[open]`, { timeout: 5000 });
    const inside = await page.evaluate((id) => document.getElementById(id).contains(document.activeElement), dialog);
    assert.ok(inside, `the focus moves into #${dialog}`);
    await page.keyboard.press('Escape');
    await page.waitForSelector(`#${dialog}:not([open])`, { state: 'attached', timeout: 5000 });
    assert.equal(await activeId(page), opener, `closing #${dialog} gives the focus back to #${opener}`);
  }
});

test('at 360 pixels wide nothing scrolls sideways: the page after a run and both dialogs', async () => {
  const context = await site.browser.newContext({ viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true });
  try {
    const page = await openPage(context, `${site.server.origin}/index.html`);
    await pickAndRun(page, [path.join(examplesDir, 'Sprites.bmp'), path.join(examplesDir, 'Hello.txt')]);
    const widest = () => page.evaluate(() => {
      const open = document.querySelector('dialog[open]');
      return Math.max(document.documentElement.scrollWidth, open ? open.getBoundingClientRect().right : 0,
        open ? open.scrollWidth : 0);
    });
    assert.ok(await widest() <= 360, `the page is ${await widest()} px wide`);
    for (const [opener, close] of [['open-options', 'options-cancel'], ['open-package', 'package-close']]) {
      await page.click(`#${opener}`);
      assert.ok(await widest() <= 360, `with #${opener}'s dialog open the page is ${await widest()} px wide`);
      await page.click(`#${close}`);
    }
  } finally {
    await context.close();
  }
});

test('the light and dark schemes each keep dark text on light ground or light text on dark ground', async () => {
  // Relative luminance of a CSS rgb() colour.
  const luminance = (rgb) => {
    const [r, g, b] = rgb.match(/[\d.]+/g).slice(0, 3).map((v) => {
      const c = Number(v) / 255;
      return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  for (const scheme of ['light', 'dark']) {
    const context = await site.browser.newContext({ colorScheme: scheme });
    try {
      const page = await openPage(context, `${site.server.origin}/index.html`);
      const colours = await page.evaluate(() => {
        const of = (selector) => getComputedStyle(document.querySelector(selector));
        return { ground: of('body').backgroundColor, text: of('body').color, panel: of('.panel').backgroundColor };
      });
      const ground = luminance(colours.ground), text = luminance(colours.text);
      const contrast = (Math.max(ground, text) + 0.05) / (Math.min(ground, text) + 0.05);
      assert.ok(contrast >= 7, `${scheme}: text on ground has a contrast of ${contrast.toFixed(1)}`);
      assert.equal(ground > text, scheme === 'light', `${scheme}: ${JSON.stringify(colours)}`);
    } finally {
      await context.close();
    }
  }
});
