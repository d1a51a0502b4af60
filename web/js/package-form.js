// "Make ZKP package": the package dialog drawn from the module's PackageForm, which lives in the worker and
// keeps the rules of the desktop dialog. Every command re-reads the form's state and redraws the controls.
import { el, byId, countText, shownPaths } from './dom.js';
import { call } from './worker-client.js';
import { storedIni } from './store.js';

let formOpen = false;
let packageUrl = '';
let busy = false;

function acceptOf(kinds) {
  const patterns = String(kinds || '').split(';').map((p) => p.trim().replace(/^\*/, '')).filter((p) => p.startsWith('.'));
  return patterns.join(',');
}

function slotRow(slot) {
  const id = slot.id;
  const row = el('div', { class: 'slot', dataset: { slot: String(id) } }, [
    el('div', { class: 'check' }, [
      el('input', { type: 'checkbox', id: `slot-${id}-check`, onchange: (event) => command('setChecked', [id, event.target.checked]) }),
      el('label', { for: `slot-${id}-check`, text: slot.caption }),
    ]),
    el('input', { type: 'text', id: `slot-${id}-path`, readonly: true, class: 'path', 'aria-label': slot.caption + ' file',
      placeholder: 'no file' }),
    el('label', { class: 'button small file-button', title: 'Choose a file for ' + slot.caption }, [
      el('span', { 'aria-hidden': 'true', text: '…' }),
      el('span', { class: 'visually-hidden', text: 'Choose a file for ' + slot.caption }),
      el('input', { type: 'file', id: `slot-${id}-browse`, class: 'visually-hidden', accept: acceptOf(slot.kinds) || null,
        onchange: (event) => upload(event, { action: 'browse', slot: id }) }),
    ]),
  ]);
  if (slot.hasSizes) {
    row.append(el('select', { id: `slot-${id}-size`, class: 'size', 'aria-label': slot.caption + ' unit size',
      onchange: (event) => command('selectSize', [id, Number(event.target.value)]) }));
  }
  if (slot.hasParts) {
    row.append(el('select', { id: `slot-${id}-part`, class: 'part', 'aria-label': slot.caption + ' part',
      onchange: (event) => command('selectPart', [id, Number(event.target.value)]) }));
  }
  return row;
}

function fillButton(lower) {
  const id = lower ? 'fill-lower' : 'fill-upper';
  return el('label', { class: 'button small file-button fill' }, [
    'Fill from screen...',
    el('span', { class: 'visually-hidden', text: lower ? ' (lower screen)' : ' (upper screen)' }),
    el('input', { type: 'file', id, multiple: true, class: 'visually-hidden', accept: '.zkp',
      onchange: (event) => upload(event, { action: 'fill', lower }) }),
  ]);
}

function groupBox(group) {
  const box = el('fieldset', { class: 'group' }, [el('legend', { text: group.caption })]);
  for (const slot of group.slots) box.append(slotRow(slot));
  if (/\(SCR resource\)/.test(group.caption)) {
    box.append(fillButton(group.lower));
    box.append(el('p', { class: 'note', text: 'Choose the screen map (_SCR.zkp) together with its banks and palette.' }));
  }
  return box;
}

function setOptions(select, entries, index) {
  const same = select.options.length === entries.length && entries.every((text, i) => select.options[i].text === text);
  if (!same) select.replaceChildren(...entries.map((text, i) => el('option', { value: String(i), text })));
  if (index !== null && index !== undefined && index >= 0) select.value = String(index);
  else select.selectedIndex = -1;
}

function showState(state) {
  const enabled = state.controlsEnabled && !busy;
  const name = byId('package-name');
  if (document.activeElement !== name) name.value = state.name;
  name.disabled = !enabled;
  byId('package-make').disabled = !enabled;
  for (const slot of state.slots) {
    const check = byId(`slot-${slot.id}-check`);
    if (!check) continue;
    check.checked = slot.checked;
    check.disabled = !enabled;
    const path = byId(`slot-${slot.id}-path`);
    path.value = slot.path ? slot.path.slice(slot.path.lastIndexOf('/') + 1) : '';
    path.title = path.value;
    path.disabled = !slot.pathEnabled;
    byId(`slot-${slot.id}-browse`).disabled = !enabled;
    const part = byId(`slot-${slot.id}-part`);
    if (part) {
      setOptions(part, slot.partEntries, slot.part);
      part.disabled = !enabled || slot.partEntries.length === 0;
    }
    const size = byId(`slot-${slot.id}-size`);
    if (size) {
      setOptions(size, slot.sizeEntries, slot.size);
      size.disabled = !enabled;
    }
  }
  for (const id of ['fill-upper', 'fill-lower']) if (byId(id)) byId(id).disabled = !enabled;
}

function showEvents(events, fallback) {
  const list = byId('package-messages');
  const items = [];
  for (const message of events.messages || []) {
    items.push(el('li', { class: /error/i.test(message.caption) ? 'error' : '' }, [
      el('strong', { text: message.caption + ': ' }), el('span', { class: 'message-text', text: shownPaths(message.text) }),
      message.details ? el('pre', { class: 'details', text: shownPaths(message.details) }) : null,
    ]));
  }
  for (const question of events.questions || []) {
    items.push(el('li', {}, [el('strong', { text: question.caption + ': ' }), shownPaths(question.text),
      el('strong', { text: ' → ' + (question.answer ? 'Yes' : 'No') })]));
  }
  if (!items.length && fallback) items.push(el('li', { class: 'error', text: fallback }));
  list.replaceChildren(...items);
}

function showFailure(text) {
  byId('package-messages').replaceChildren(el('li', { class: 'error', text }));
}

async function command(method, args) {
  try {
    const answer = await call('packageCall', { method, args });
    showEvents(answer.events);
    showState(answer.state);
  } catch (error) {
    showFailure('The form did not take the change: ' + error.message);
  }
}

async function upload(event, request) {
  const input = event.target;
  const files = [...input.files].map((file) => ({ name: file.name, file }));
  input.value = '';
  if (!files.length) return;
  try {
    const answer = await call('packageUpload', { ...request, files });
    showEvents(answer.events);
    showState(answer.state);
  } catch (error) {
    showFailure('The file was not taken: ' + error.message);
  }
}

function clearDownload() {
  if (packageUrl) URL.revokeObjectURL(packageUrl);
  packageUrl = '';
  const link = byId('package-download');
  link.hidden = true;
  link.removeAttribute('href');
}

async function makePackage() {
  clearDownload();
  busy = true;
  byId('package-make').disabled = true;
  try {
    await call('packageCall', { method: 'editName', args: [byId('package-name').value] });
    const answer = await call('packageMake', { name: byId('package-name').value });
    busy = false;
    showEvents(answer.events, answer.events.ok ? '' : answer.events.reason || 'No package was written.');
    showState(answer.state);
    if (answer.bytes) {
      packageUrl = URL.createObjectURL(new Blob([answer.bytes], { type: 'application/octet-stream' }));
      const link = byId('package-download');
      link.href = packageUrl;
      link.download = answer.file;
      link.textContent = 'Download ' + answer.file + ' (' + countText(answer.bytes.length) + ' bytes)';
      link.hidden = false;
      link.focus();
    } else if (answer.events.ok) {
      showFailure('The package was reported written but cannot be read back.');
    }
  } catch (error) {
    busy = false;
    showFailure('No package was made: ' + error.message);
    byId('package-make').disabled = false;
  }
}

async function openPackage() {
  try {
    const { groups, state } = await call('packageOpen', {
      ini: storedIni(), answerYes: byId('palette-answer').value === 'yes',
    });
    const left = groups.filter((group) => !group.right).map(groupBox);
    const right = groups.filter((group) => group.right).map(groupBox);
    byId('package-left').replaceChildren(...left);
    byId('package-right').replaceChildren(...right);
    for (const [id, column] of [['package-left', false], ['package-right', true]]) {
      const sizes = groups.some((group) => group.right === column && group.slots.some((slot) => slot.hasSizes));
      byId(id).classList.toggle('no-sizes', !sizes);
    }
    byId('package-messages').replaceChildren();
    byId('package-name').value = '';
    clearDownload();
    formOpen = true;
    showState(state);
    byId('package-dialog').showModal();
    byId('package-name').focus();
  } catch (error) {
    byId('settings-line').textContent = 'The package form cannot be opened: ' + error.message;
    byId('settings-line').classList.add('error');
  }
}

function closePackage() {
  if (byId('package-dialog').open) byId('package-dialog').close();
}

export function setupPackageForm() {
  byId('open-package').addEventListener('click', openPackage);
  byId('package-close').addEventListener('click', closePackage);
  byId('package-make').addEventListener('click', makePackage);
  byId('package-name').addEventListener('input', (event) => {
    call('packageCall', { method: 'editName', args: [event.target.value] })
      .catch((error) => showFailure('The name was not taken: ' + error.message));
  });
  byId('package-dialog').addEventListener('close', () => {
    if (!formOpen) return;
    formOpen = false;
    call('packageClose').catch(() => {});
  });
}

// A fresh worker (after Cancel) has no form: the dialog must close.
export function packageFormLost() {
  closePackage();
}
