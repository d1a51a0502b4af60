// Previews of a run: pictures as the browser draws them (each with its own palette), screen maps drawn by
// the module with the banks and palette beside them, texts as text, and what each .zkp holds.
import { el, byId, baseNameOf, textOf, countText } from './dom.js';
import { call } from './worker-client.js';

const PREVIEW_LIMIT = 200;
const TEXT_LIMIT = 200000;
let previewUrls = [];

export function resetPreviews() {
  for (const url of previewUrls) URL.revokeObjectURL(url);
  previewUrls = [];
  byId('previews').replaceChildren();
  byId('previews-section').hidden = true;
}

function imageOf(bytes, type, className, alt) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  previewUrls.push(url);
  const image = el('img', { src: url, alt, class: className, decoding: 'async' });
  image.addEventListener('load', () => {
    // Small pictures are shown enlarged by a whole factor, pixels kept sharp.
    const factor = Math.max(1, Math.min(8, Math.floor(512 / Math.max(1, image.naturalWidth))));
    if (factor > 1) image.style.width = image.naturalWidth * factor + 'px';
  });
  image.addEventListener('error', () => {
    image.replaceWith(el('p', { class: 'preview-error', text: 'The browser cannot draw this picture.' }));
  });
  return image;
}

function zkpInfoBlock(info) {
  if (!info.ok) return el('p', { class: 'zkp-info preview-error', text: 'Not readable: ' + info.reason });
  const rows = [
    el('dt', { text: 'Type' }), el('dd', { text: info.typeName + (info.package ? ' (package)' : '') }),
    el('dt', { text: 'Name' }), el('dd', { text: info.name || '(none)' }),
  ];
  const parts = (info.parts || []).map((part) => el('li', {
    text: part.typeName + ' · ' + countText(part.size) + ' bytes at ' + part.offset,
  }));
  const block = el('div', { class: 'zkp-info' }, [el('dl', {}, rows)]);
  if (parts.length) block.append(el('p', { class: 'parts-caption', text: 'Resources' }), el('ol', { class: 'parts' }, parts));
  if (info.reason) block.append(el('p', { class: 'preview-error', text: 'Damaged: ' + info.reason }));
  return block;
}

async function zkpPreview(figure, fsPath, label) {
  try {
    const answer = await call('inspectZkp', { fsPath });
    figure.append(zkpInfoBlock(answer.info));
    if (answer.png) figure.append(imageOf(answer.png, 'image/png', 'screen', 'Screen map ' + label));
    else if (answer.renderReason) {
      figure.append(el('p', { class: 'preview-error', text: 'Screen not drawn: ' + answer.renderReason }));
    }
  } catch (error) {
    figure.append(el('p', { class: 'preview-error', text: 'No preview: ' + error.message }));
  }
}

function figureFor(path, kind) {
  return el('figure', { class: 'preview ' + kind, dataset: { path } }, [el('figcaption', { text: path })]);
}

// outputs: [{path, fsPath, bytes}] of the run; droppedZkps: [{path, fsPath}] inputs that are .zkp files.
export async function showPreviews(outputs, droppedZkps) {
  const list = byId('previews');
  const jobs = [];
  // One figure per path: an output written over a dropped file shows once, as it now stands.
  const shown = new Set(outputs.map((output) => output.path));
  const items = [...droppedZkps.filter((input) => !shown.has(input.path)).map((input) => ({ ...input, input: true })), ...outputs];
  for (const item of items.slice(0, PREVIEW_LIMIT)) {
    const extension = item.path.slice(item.path.lastIndexOf('.') + 1).toLowerCase();
    if (extension === 'zkp') {
      const figure = figureFor(item.path, item.input ? 'input' : 'zkp');
      list.append(figure);
      jobs.push(zkpPreview(figure, item.fsPath, item.path));
    } else if (extension === 'bmp' || extension === 'png') {
      const figure = figureFor(item.path, 'picture');
      figure.append(imageOf(item.bytes, extension === 'png' ? 'image/png' : 'image/bmp', 'picture', baseNameOf(item.path)));
      list.append(figure);
    } else if (extension === 'txt' || extension === 'gpl') {
      const figure = figureFor(item.path, 'text');
      // The handheld's texts end their lines with CR alone.
      const text = textOf(item.bytes.subarray(0, TEXT_LIMIT)).replace(/\r\n?/g, '\n');
      figure.append(el('pre', { tabindex: '0', text: text + (item.bytes.length > TEXT_LIMIT ? '\n…' : '') }));
      list.append(figure);
    } else {
      const figure = figureFor(item.path, 'other');
      figure.append(el('p', { class: 'note', text: 'No preview for this kind of file (' +
        countText(item.bytes.length) + ' bytes).' }));
      list.append(figure);
    }
  }
  if (items.length > PREVIEW_LIMIT) {
    list.append(el('p', { class: 'note', text: (items.length - PREVIEW_LIMIT) + ' more files are not previewed.' }));
  }
  byId('previews-section').hidden = list.childElementCount === 0;
  await Promise.all(jobs);
}
