// Small helpers for building the page's elements.

// A count with thousands separators ("8,240"); one formatter for the page, as making one per number is slow.
const countFormat = new Intl.NumberFormat('en-US');
export function countText(number) {
  return countFormat.format(number);
}

// The core names files by their place in the worker's file system; the page shows them as the user knows
// them: "/in/art/a.bmp" is "art/a.bmp", and likewise under /tool, /out and a package form's upload folder.
export function shownPaths(text) {
  return String(text).replace(/(^|[\s"'(])\/(?:in|tool|out|pkg\/[^/\s]+)\//g, '$1');
}

// el('li', {class: 'file', dataset: {path}}, [children or text])
export function el(tag, attributes = {}, children = []) {
  const element = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) {
    if (value === undefined || value === null || value === false) continue;
    if (key === 'class') element.className = value;
    else if (key === 'text') element.textContent = value;
    else if (key === 'dataset') Object.assign(element.dataset, value);
    else if (key.startsWith('on') && typeof value === 'function') element.addEventListener(key.slice(2), value);
    else if (value === true) element.setAttribute(key, '');
    else element.setAttribute(key, String(value));
  }
  for (const child of [].concat(children)) {
    if (child === null || child === undefined || child === false) continue;
    element.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return element;
}

export function byId(id) {
  return document.getElementById(id);
}

export function baseNameOf(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

// A download of bytes the page holds, with the browser's own "save" of an <a download>.
export function saveBytes(bytes, name, type = 'application/octet-stream') {
  const url = URL.createObjectURL(bytes instanceof Blob ? bytes : new Blob([bytes], { type }));
  const link = el('a', { href: url, download: name, hidden: true });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// A text from bytes: UTF-8 when the bytes are valid UTF-8, Shift_JIS otherwise.
export function textOf(bytes) {
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch (error) {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

export const MIME_TYPES = { bmp: 'image/bmp', png: 'image/png', txt: 'text/plain', ini: 'text/plain' };

export function mimeOf(path) {
  const dot = path.lastIndexOf('.');
  return MIME_TYPES[path.slice(dot + 1).toLowerCase()] || 'application/octet-stream';
}
