// The run's results: one line per file (its outputs, reason and notes), the summary with the core's texts,
// and the downloads: one link per output and one zip of them all.
import { el, byId, baseNameOf, mimeOf, saveBytes, countText, shownPaths } from './dom.js';
import { makeZip } from './zip.js';

let runOutputs = [];
let runUrls = [];
let runCounts = null;
let eagerLinks = 0;

export function resetResults() {
  for (const url of runUrls) URL.revokeObjectURL(url);
  runUrls = [];
  eagerLinks = 0;
  runOutputs = [];
  runCounts = { total: 0, seen: 0, converted: 0, failed: 0, pngCarried: 0 };
  byId('results').replaceChildren();
  byId('read-problems').replaceChildren();
  byId('summary').hidden = true;
  byId('summary-caption').textContent = '';
  byId('summary-text').textContent = '';
  byId('summary-details').replaceChildren();
  byId('questions').replaceChildren();
  byId('download-all').disabled = true;
  byId('download-all').hidden = true;
  byId('results-section').hidden = true;
}

export function outputsOfRun() {
  return runOutputs;
}

export function countsOfRun() {
  return { ...runCounts };
}

export function noteTotal(total) {
  if (total > runCounts.total) runCounts.total = total;
}

// Problems met while reading the drop itself (an unreadable file, an empty folder).
export function showReadProblems(problems) {
  const list = byId('read-problems');
  for (const problem of problems) list.append(el('li', { text: problem }));
  if (problems.length) byId('results-section').hidden = false;
}

// Each blob: URL costs a round trip to the browser, a thousand of them a frozen second: a run's first outputs
// get their links at once, later ones when first pointed at, focused or clicked.
const EAGER_LINKS = 64;

function linkUrl(output) {
  if (!output.url) {
    output.url = URL.createObjectURL(new Blob([output.bytes], { type: mimeOf(output.path) }));
    runUrls.push(output.url);
  }
  return output.url;
}

function outputLine(output) {
  if (output.error) return el('li', { class: 'output-error', text: output.path + ': ' + output.error });
  const size = countText(output.bytes.length) + ' bytes';
  const link = el('a', { class: 'output', download: baseNameOf(output.path), dataset: { path: output.path } },
    output.path);
  if (eagerLinks < EAGER_LINKS) {
    eagerLinks += 1;
    link.href = linkUrl(output);
  } else {
    link.href = '#';
    const arm = () => { link.href = linkUrl(output); };
    for (const type of ['pointerdown', 'focus', 'mouseover']) link.addEventListener(type, arm, { once: true });
    link.addEventListener('click', arm, { capture: true, once: true });
  }
  return el('li', {}, [link, el('span', { class: 'size', text: ' (' + size + ')' })]);
}

// One file done: {path, ok, reason, notes, pngCarried, outputs}.
export function addFileResult(file) {
  runCounts.seen += 1;
  if (file.ok) runCounts.converted += 1;
  else runCounts.failed += 1;
  if (file.pngCarried) runCounts.pngCarried += 1;
  const item = el('li', { class: 'file', dataset: { path: file.path, ok: String(!!file.ok) } }, [
    el('span', { class: 'mark', 'aria-hidden': 'true', text: file.ok ? '✓' : '✗' }),
    el('span', { class: 'file-name', text: file.path }),
    el('span', { class: 'visually-hidden', text: file.ok ? ' converted' : ' failed' }),
  ]);
  if (!file.ok) item.append(el('div', { class: 'reason', text: shownPaths(file.reason || 'no reason given') }));
  if (file.notes && file.notes.length) {
    item.append(el('ul', { class: 'notes' }, file.notes.map((note) => el('li', { text: shownPaths(note) }))));
  }
  const outputs = file.outputs || [];
  if (outputs.length) item.append(el('ul', { class: 'outputs' }, outputs.map(outputLine)));
  for (const output of outputs) if (!output.error) runOutputs.push(output);
  byId('results').append(item);
  byId('results-section').hidden = false;
  const all = byId('download-all');
  all.hidden = runOutputs.length === 0;
  all.disabled = runOutputs.length === 0;
}

// The summary: {summaryCaption, summaryText, details, questions}.
export function showSummary(summary) {
  byId('summary-caption').textContent = summary.summaryCaption || '';
  byId('summary-text').textContent = summary.summaryText || '';
  byId('summary-details').replaceChildren(...(summary.details || []).map((line) => el('li', { text: shownPaths(line) })));
  const questions = summary.questions || [];
  byId('questions').replaceChildren(...questions.map((question) => el('li', {}, [
    el('span', { class: 'question-caption', text: question.caption + ': ' }),
    el('span', { class: 'question-text', text: shownPaths(question.text) }),
    el('strong', { class: 'question-answer', text: ' → ' + (question.answer ? 'Yes' : 'No') }),
  ])));
  byId('questions-block').hidden = questions.length === 0;
  const lines = (summary.details || []).length;
  const block = byId('summary-details-block');
  block.hidden = lines === 0;
  block.open = lines > 0 && lines <= 12;
  block.querySelector('summary').textContent = 'Details (' + lines + (lines === 1 ? ' line)' : ' lines)');
  byId('summary').hidden = false;
  byId('results-section').hidden = false;
}

export async function downloadAll() {
  if (!runOutputs.length) return 'nothing was written';
  saveBytes(await makeZip(runOutputs.map(({ path, bytes }) => ({ path, bytes }))), 'granvel-outputs.zip');
  return '';
}
