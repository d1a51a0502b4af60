// The page's side of the worker: commands as promises, events to listeners, and a fresh worker after Cancel.
// Served as a site, the worker is js/worker.js; in the one-file page its source, the module's code and the
// WebAssembly (base64) sit in <script type="text/plain"> elements and the worker is built from a Blob.

let worker = null;
let nextId = 1;
const pending = new Map();
const listeners = new Map();
let startInfo = null;

function embedded(id) {
  const element = document.getElementById(id);
  return element ? element.textContent : null;
}

function wasmFromBase64(text) {
  const raw = atob(text.replace(/\s+/g, ''));
  const bytes = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; i += 1) bytes[i] = raw.charCodeAt(i);
  return bytes.buffer;
}

export function isSingleFile() {
  return document.getElementById('granvel-worker-source') !== null;
}

function newWorker() {
  if (!isSingleFile()) return new Worker('js/worker.js');
  const source = embedded('granvel-module-source') + '\n;\n' + embedded('granvel-worker-source');
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  const created = new Worker(url);
  URL.revokeObjectURL(url);
  return created;
}

function failAll(message) {
  for (const { reject } of pending.values()) reject(new Error(message));
  pending.clear();
}

function attach(created) {
  created.onmessage = (message) => {
    const data = message.data;
    if (data.event) {
      for (const listener of listeners.get(data.event) || []) listener(data);
      return;
    }
    const waiting = pending.get(data.id);
    if (!waiting) return;
    pending.delete(data.id);
    if ('error' in data) waiting.reject(new Error(data.error));
    else waiting.resolve(data.result);
  };
  created.onerror = (event) => {
    event.preventDefault();
    failAll('the worker stopped: ' + (event.message || 'unknown error'));
  };
  created.onmessageerror = () => failAll('a message from the worker could not be read');
}

export function call(cmd, args = {}, transfer = []) {
  if (!worker) return Promise.reject(new Error('the worker is not running'));
  const id = nextId++;
  return new Promise((resolve, reject) => {
    pending.set(id, { resolve, reject });
    worker.postMessage({ id, cmd, ...args }, transfer);
  });
}

export function on(event, listener) {
  if (!listeners.has(event)) listeners.set(event, []);
  listeners.get(event).push(listener);
}

// Starts the worker and loads the module; resolves with the module's menus and texts.
export async function startWorker() {
  worker = newWorker();
  attach(worker);
  const args = {};
  const transfer = [];
  if (isSingleFile()) {
    args.wasmBinary = wasmFromBase64(embedded('granvel-wasm-base64'));
    transfer.push(args.wasmBinary);
  }
  startInfo = await call('init', args, transfer);
  return startInfo;
}

// Cancel: the worker is stopped in the middle of its work and a new one loads the module again.
export async function restartWorker() {
  if (worker) worker.terminate();
  worker = null;
  failAll('cancelled');
  return startWorker();
}
