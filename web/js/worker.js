// The page's worker: it owns the GRANVEL module and its in-memory file system, so that a long conversion
// never freezes the page. A classic worker script: served as js/worker.js it loads ../granvel_web.js; in the
// one-file page the module's code stands before this script in the same Blob and the page hands over the
// WebAssembly bytes with the "init" message.
//
// Messages in: {id, cmd, ...}. Answers out: {id, result} or {id, error}. Events out: {event, ...}.
// File tree of a run: inputs under /in (the dropped tree kept), "Same folder as tool" is /tool, a selected
// folder lives under /out. Every output is named by its path relative to the root it
// was written under (/in, /tool or /out: a selected folder's outputs keep its name in front).
'use strict';

let granvel = null;
let fs = null;
let packageForm = null;
// Where a run's files live; none is inside another.
const RUN_ROOTS = ['/tool', '/out', '/in'];
let runSerial = 0;

const SELECTED_FOLDER = 770;

function post(message, transfer) {
  self.postMessage(message, transfer || []);
}

function mkdirs(path) {
  let at = '';
  for (const part of path.split('/').filter(Boolean)) {
    at += '/' + part;
    const info = fs.analyzePath(at);
    if (!info.exists) fs.mkdir(at);
    else if (!fs.isDir(info.object.mode)) throw new Error(at + ' exists and is not a folder');
  }
}

function removeTree(path) {
  const info = fs.analyzePath(path);
  if (!info.exists) return;
  if (!fs.isDir(info.object.mode)) {
    fs.unlink(path);
    return;
  }
  for (const name of fs.readdir(path)) {
    if (name !== '.' && name !== '..') removeTree(path + '/' + name);
  }
  fs.rmdir(path);
}

function parentOf(path) {
  return path.slice(0, path.lastIndexOf('/')) || '/';
}

function baseName(path) {
  return path.slice(path.lastIndexOf('/') + 1);
}

// The folder a "Selected folder" run writes into: the text as a folder under /out, whatever it is (a Windows
// path's drive and an absolute path's leading slash dropped), so that a run never writes into, and the next
// run never clears, the file system's own folders; an empty text is /out itself.
function userFolderOf(text) {
  const clean = String(text || '').replace(/\\/g, '/').trim().replace(/^[A-Za-z]:/, '');
  const relative = clean.split('/').filter((p) => p && p !== '.' && p !== '..');
  return relative.length ? '/out/' + relative.join('/') : '/out';
}

// The path that names an output on the page and in the zip.
function relativeOf(path) {
  for (const root of RUN_ROOTS) {
    if (path.startsWith(root + '/')) return path.slice(root.length + 1);
  }
  return path.replace(/^\/+/, '');
}

function readBytes(path) {
  const bytes = fs.readFile(path);
  return bytes.buffer.byteLength === bytes.length ? bytes : bytes.slice();
}

const commands = {
  async init({ wasmBinary }) {
    if (typeof createGranvel !== 'function') importScripts('../granvel_web.js');
    const args = { print() {}, printErr() {} };
    if (wasmBinary) args.wasmBinary = new Uint8Array(wasmBinary);
    else args.locateFile = (name) => '../' + name;
    granvel = await createGranvel(args);
    fs = granvel.FS;
    mkdirs('/in');
    mkdirs('/tool');
    mkdirs('/out');
    return {
      types: granvel.convertTypes(),
      labels: granvel.optionLabels(),
      tooltips: granvel.optionTooltips(),
    };
  },

  // A new run: the previous run's inputs and outputs go.
  newRun() {
    for (const root of [...RUN_ROOTS, '/preview']) {
      if (fs.analyzePath(root).exists) removeTree(root);
    }
    for (const root of RUN_ROOTS) mkdirs(root);
    runSerial += 1;
    return runSerial;
  },

  // files: [{path (relative to /in), file (File or Blob)}]; returns the top-level entries under /in.
  async writeFiles({ files }) {
    const top = new Set();
    for (const { path, file } of files) {
      const parts = path.split('/').filter((p) => p && p !== '.' && p !== '..');
      if (!parts.length) continue;
      const full = '/in/' + parts.join('/');
      mkdirs(parentOf(full));
      fs.writeFile(full, new Uint8Array(await file.arrayBuffer()));
      top.add('/in/' + parts[0]);
    }
    return [...top].sort();
  },

  convert({ paths, ini, type, answerYes }) {
    let runIni = ini || '';
    const options = granvel.optionsFromIni(runIni);
    if (options.Select === SELECTED_FOLDER) {
      const folder = userFolderOf(options.User);
      mkdirs(folder);
      runIni = granvel.iniFromOptions(runIni, { User: folder });
    }
    let lastLine = '';
    let lastPermille = -1;
    self.granvelProgress = (progress) => {
      if (progress.line === lastLine && progress.permille === lastPermille) return;
      lastLine = progress.line;
      lastPermille = progress.permille;
      post({ event: 'progress', line: progress.line, permille: progress.permille,
        filesDone: progress.filesDone, filesTotal: progress.filesTotal });
    };
    self.granvelFileDone = (file) => {
      const outputs = [];
      const transfer = [];
      for (const written of file.written) {
        try {
          const bytes = readBytes(written);
          outputs.push({ path: relativeOf(written), fsPath: written, bytes });
          transfer.push(bytes.buffer);
        } catch (error) {
          outputs.push({ path: relativeOf(written), fsPath: written, error: 'cannot read the output: ' + error.message });
        }
      }
      post({ event: 'fileDone', path: relativeOf(file.path), fsPath: file.path, ok: file.ok,
        reason: file.reason, notes: file.notes, pngCarried: file.pngCarried, outputs }, transfer);
    };
    try {
      // The run's time in the worker, handing each file's outputs over included (the page shows it).
      const start = performance.now();
      const result = granvel.convert({ paths, ini: runIni, type, answerYes: !!answerYes });
      result.convertMs = performance.now() - start;
      return result;
    } finally {
      self.granvelProgress = undefined;
      self.granvelFileDone = undefined;
    }
  },

  summaryText({ counts }) {
    return granvel.summaryText(counts);
  },

  optionsFromIni({ ini }) {
    return granvel.optionsFromIni(ini || '');
  },

  iniFromOptions({ ini, fields }) {
    return granvel.iniFromOptions(ini || '', fields);
  },

  dropHint({ type }) {
    return granvel.dropHint(type);
  },

  // What a .zkp holds, and for a screen map its picture (PNG bytes) drawn with the banks beside it.
  inspectZkp({ fsPath }) {
    const info = granvel.describeZkp(fsPath);
    const answer = { info };
    if (info.ok && info.typeName === 'SCR' && !info.package) {
      mkdirs('/preview');
      const out = '/preview/screen.png';
      const drawn = granvel.renderScreen(fsPath, out);
      if (drawn.ok) {
        answer.png = readBytes(out);
        fs.unlink(out);
      } else {
        answer.renderReason = drawn.reason;
      }
    }
    return answer;
  },

  // The package form: one at a time, living here with the module.
  packageOpen({ ini, answerYes }) {
    if (packageForm) packageForm.delete();
    if (fs.analyzePath('/pkg').exists) removeTree('/pkg');
    mkdirs('/pkg');
    packageForm = new granvel.PackageForm(ini || '', !!answerYes);
    return { groups: packageForm.groups(), state: packageForm.state() };
  },

  packageClose() {
    if (packageForm) packageForm.delete();
    packageForm = null;
    return true;
  },

  // One form command: {method, args}; answers with its events and the form's new state.
  packageCall({ method, args }) {
    if (!packageForm) throw new Error('the package form is not open');
    const allowed = ['editName', 'editPath', 'setChecked', 'selectPart', 'selectSize'];
    if (!allowed.includes(method)) throw new Error('unknown package command ' + method);
    const events = packageForm[method](...args);
    return { events, state: packageForm.state() };
  },

  // Files chosen for a slot (browse) or for "Fill from screen": written into a fresh folder of /pkg, then the
  // form is told the path of the first file (browse) or of the screen map (fill).
  async packageUpload({ action, slot, lower, files }) {
    if (!packageForm) throw new Error('the package form is not open');
    const folder = '/pkg/' + Date.now().toString(36) + Math.random().toString(36).slice(2, 6);
    mkdirs(folder);
    const paths = [];
    for (const { name, file } of files) {
      const path = folder + '/' + baseName(name.replace(/\\/g, '/'));
      fs.writeFile(path, new Uint8Array(await file.arrayBuffer()));
      paths.push(path);
    }
    let events;
    if (action === 'browse') {
      events = packageForm.browse(slot, paths[0]);
    } else {
      const scr = paths.find((p) => /\.zkp$/i.test(p) && safeDescribe(p) === 'SCR') ||
        paths.find((p) => /scr/i.test(baseName(p)) && /\.zkp$/i.test(p)) ||
        paths.find((p) => /\.zkp$/i.test(p));
      if (!scr) throw new Error('no .zkp screen map among the chosen files');
      events = packageForm.fillFromScreen(!!lower, scr);
    }
    return { events, state: packageForm.state() };
  },

  packageMake({ name }) {
    if (!packageForm) throw new Error('the package form is not open');
    mkdirs('/out');
    const file = granvel.packageResourceName(String(name || '')) + '.zkp';
    const out = '/out/' + file;
    if (fs.analyzePath(out).exists) fs.unlink(out);
    const events = packageForm.make(out);
    const answer = { events, state: packageForm.state(), file };
    if (events.ok && fs.analyzePath(out).exists) answer.bytes = readBytes(out);
    return answer;
  },
};

function safeDescribe(path) {
  try {
    const info = granvel.describeZkp(path);
    return info.ok ? info.typeName : '';
  } catch (error) {
    return '';
  }
}

// Answers are sent one after another in the order the commands came.
let queue = Promise.resolve();

self.onmessage = (message) => {
  const { id, cmd } = message.data;
  queue = queue.then(async () => {
    try {
      if (cmd !== 'init' && !granvel) throw new Error('the module is not loaded');
      const handler = commands[cmd];
      if (!handler) throw new Error('unknown command ' + cmd);
      const result = await handler(message.data);
      const transfer = [];
      if (result && result.bytes) transfer.push(result.bytes.buffer);
      if (result && result.png) transfer.push(result.png.buffer);
      post({ id, result }, transfer);
    } catch (error) {
      post({ id, error: (error && error.message) || String(error) });
    }
  });
};
