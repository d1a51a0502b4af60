// The page: the convert type menu, the drop zone and pickers, a run through the worker with its progress
// and Cancel, then the results, the downloads and the previews.
import { el, byId } from './dom.js';
import { startWorker, restartWorker, call, on } from './worker-client.js';
import { storedIni, storedType, storeType, storedAnswer, storeAnswer } from './store.js';
import { filesFromDrop, filesFromPicker } from './files.js';
import { resetResults, addFileResult, showSummary, showReadProblems, outputsOfRun, countsOfRun, noteTotal, downloadAll } from './results.js';
import { resetPreviews, showPreviews } from './previews.js';
import { buildOptionsDialog, outputRule } from './options.js';
import { setupPackageForm, packageFormLost } from './package-form.js';

let moduleReady = false;
let running = false;
let cancelled = false;
let summaryCaption = 'Finished';

function setStatus(text, failed) {
  const status = byId('status');
  status.textContent = text;
  status.classList.toggle('error', !!failed);
}

function setBusy(busy) {
  running = busy;
  byId('cancel').disabled = !busy;
  // The bar shows while a run is busy; the summary says how it ended.
  byId('progress-block').hidden = !busy;
  for (const id of ['pick-files', 'pick-folder', 'convert-type', 'open-package', 'open-options', 'import-ini', 'export-ini']) {
    byId(id).disabled = busy || !moduleReady;
  }
  byId('drop-zone').classList.toggle('busy', busy);
  document.body.classList.toggle('busy', busy);
}

function fillTypes(types) {
  const select = byId('convert-type');
  const sprites = el('optgroup', { label: 'Sprites (CHR)' });
  const items = [];
  for (const type of types) {
    const option = el('option', { value: String(type.id), text: type.label });
    if (type.sprite) {
      option.setAttribute('label', type.label);
      option.title = type.name;
      sprites.append(option);
      if (!items.includes(sprites)) items.push(sprites);
    } else {
      items.push(option);
    }
  }
  select.replaceChildren(...items);
  const stored = storedType();
  if (stored && types.some((type) => String(type.id) === stored)) select.value = stored;
}

async function showHint() {
  try {
    byId('drop-hint').textContent = await call('dropHint', { type: Number(byId('convert-type').value) });
  } catch (error) {
    byId('drop-hint').textContent = 'Drop files here';
  }
}

async function showOutputRule() {
  try {
    byId('output-rule').textContent = await outputRule();
  } catch (error) {
    byId('output-rule').textContent = 'Where outputs go is unknown: ' + error.message;
  }
}

function showProgress(progress) {
  if (!running) return;
  const bar = byId('progress');
  bar.max = 1000;
  bar.value = Math.max(0, Math.min(1000, progress.permille));
  byId('progress-line').textContent = progress.line;
  if (progress.filesTotal) noteTotal(progress.filesTotal);
}

async function runFiles(files, problems = []) {
  if (!moduleReady) {
    setStatus('Not ready yet: the converter is still loading.', true);
    return;
  }
  if (running) {
    setStatus('A run is going on: wait for it or press Cancel.', true);
    return;
  }
  // Two files of one name (picked from different folders) would land on one path: the last one is kept.
  const byPath = new Map();
  for (const item of files) {
    if (byPath.has(item.path)) problems.push(item.path + ': given twice; only the last one is converted');
    byPath.set(item.path, item);
  }
  files = [...byPath.values()];
  resetResults();
  resetPreviews();
  showReadProblems(problems);
  if (!files.length) {
    setStatus(problems.length ? 'Nothing to convert: no file could be read.' : 'Nothing to convert: no file was given.', true);
    return;
  }
  cancelled = false;
  setBusy(true);
  byId('progress').removeAttribute('value');
  byId('progress-line').textContent = 'Reading ' + files.length + (files.length === 1 ? ' file' : ' files');
  setStatus('Converting...');
  const type = Number(byId('convert-type').value);
  try {
    await call('newRun');
    const paths = await call('writeFiles', { files });
    noteTotal(files.length);
    const result = await call('convert', {
      paths, ini: storedIni(), type, answerYes: byId('palette-answer').value === 'yes',
    });
    summaryCaption = result.summaryCaption || summaryCaption;
    showSummary(result);
    window.granvelLastRun = { convertMs: result.convertMs };
    setBusy(false);
    setStatus('Ready');
    const droppedZkps = files.filter(({ path }) => /\.zkp$/i.test(path))
      .map(({ path }) => ({ path, fsPath: '/in/' + path }));
    await showPreviews(outputsOfRun(), droppedZkps);
    byId('summary').focus();
  } catch (error) {
    if (cancelled) return;
    setBusy(false);
    setStatus('The run failed: ' + error.message, true);
    showSummary({ summaryCaption: 'Error', summaryText: 'The run stopped: ' + error.message, details: [], questions: [] });
    // A module that failed in the middle of a run may be left broken: start a fresh one.
    await freshWorker();
  }
}

async function freshWorker() {
  moduleReady = false;
  packageFormLost();
  try {
    await restartWorker();
    moduleReady = true;
    setBusy(false);
    return true;
  } catch (error) {
    setStatus('The converter cannot be loaded: ' + error.message, true);
    setBusy(false);
    return false;
  }
}

async function cancelRun() {
  if (!running) return;
  cancelled = true;
  byId('cancel').disabled = true;
  setStatus('Cancelling...');
  const counts = countsOfRun();
  if (await freshWorker()) {
    let text;
    try {
      text = await call('summaryText', { counts: { ...counts, cancelled: true } });
    } catch (error) {
      text = 'Cancelled (' + error.message + ')';
    }
    showSummary({ summaryCaption, summaryText: text, details: [], questions: [] });
    setStatus('Ready');
    await showPreviews(outputsOfRun(), []);
  }
}

function setupDrops() {
  const zone = byId('drop-zone');
  let depth = 0;
  document.addEventListener('dragenter', (event) => {
    event.preventDefault();
    depth += 1;
    zone.classList.add('over');
  });
  document.addEventListener('dragleave', () => {
    depth = Math.max(0, depth - 1);
    if (!depth) zone.classList.remove('over');
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    if (event.dataTransfer) event.dataTransfer.dropEffect = running || !moduleReady ? 'none' : 'copy';
  });
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    depth = 0;
    zone.classList.remove('over');
    if (event.target.closest && event.target.closest('dialog')) return;
    if (running || !moduleReady) {
      setStatus(running ? 'A run is going on: wait for it or press Cancel.' : 'Not ready yet: the converter is still loading.', true);
      return;
    }
    const { files, problems } = await filesFromDrop(event.dataTransfer);
    await runFiles(files, problems);
  });
  for (const id of ['pick-files', 'pick-folder']) {
    byId(id).addEventListener('change', async (event) => {
      const files = filesFromPicker(event.target.files);
      event.target.value = '';
      await runFiles(files);
    });
  }
}

async function start() {
  setBusy(false);
  setupDrops();
  byId('cancel').addEventListener('click', cancelRun);
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && running) cancelRun();
  });
  byId('download-all').addEventListener('click', async () => {
    const button = byId('download-all');
    button.disabled = true;
    try {
      const problem = await downloadAll();
      if (problem) setStatus('No zip: ' + problem, true);
    } catch (error) {
      setStatus('No zip: ' + error.message, true);
    } finally {
      button.disabled = outputsOfRun().length === 0;
    }
  });
  const answer = byId('palette-answer');
  answer.value = storedAnswer();
  answer.addEventListener('change', () => {
    const problem = storeAnswer(answer.value);
    if (problem) setStatus(problem, true);
  });
  setStatus('Loading the converter...');
  let info;
  try {
    info = await startWorker();
  } catch (error) {
    setStatus('The converter cannot be loaded: ' + error.message, true);
    return;
  }
  fillTypes(info.types);
  byId('convert-type').addEventListener('change', () => {
    const problem = storeType(byId('convert-type').value);
    if (problem) setStatus(problem, true);
    showHint();
  });
  buildOptionsDialog(info.labels, info.tooltips, showOutputRule);
  setupPackageForm();
  on('fileDone', addFileResult);
  on('progress', showProgress);
  await Promise.all([showHint(), showOutputRule()]);
  moduleReady = true;
  setBusy(false);
  setStatus('Ready');
  window.granvelReadyAt = performance.now();
}

start();
