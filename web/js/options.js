// The "Option settings" dialog: every control of the desktop dialog with its label and tooltip, the same
// enabling rules, "Done" keeping the settings as GRANVEL.ini text in the browser, and the import and export
// of that file.
import { el, byId, saveBytes, textOf } from './dom.js';
import { call } from './worker-client.js';
import { storedIni, storeIni } from './store.js';

const SELECT_VALUES = { SameAsSource: 768, SameAsTool: 769, SelectedFolder: 770 };

// The dialog's groups: [caption key, controls]; a control is a check box name, or a radio group
// {name, radios: [[control, value]]}, or the folder field.
const LAYOUT = [
  ['GroupSave', [
    { name: 'Select', radios: [['SameAsSource', 768], ['SameAsTool', 769], ['SelectedFolder', 770]] },
    'UserFolder',
    'MakeZkpFolder',
  ]],
  ['GroupCommon', ['TextOut', { name: 'DataType', dependent: true, radios: [['DataHex', true], ['DataDec', false]] }, 'PngImage']],
  ['GroupPrg', ['PrgLimit', 'PrgToScr', 'PrgToMem']],
  ['GroupChr', [
    'KeepWidth',
    { name: 'Split', dependent: true, radios: [['Split128', false], ['Split256', true]] },
    { name: 'Palette', caption: 'GroupPalette', radios: [['PaletteKeep', 'keep'], ['Palette15', 'use15'], ['PaletteAsk', 'ask']] },
    'ShareTiles',
  ]],
  ['GroupZkp', ['MultiByte', 'Escape', { name: 'Make', radios: [['Make128', false], ['Make256', true]] }, 'Utf8Text']],
];

let texts = { labels: {}, tooltips: {} };
let onSaved = () => {};

function checkBox(name) {
  return el('div', { class: 'check' }, [
    el('input', { type: 'checkbox', id: 'opt-' + name, title: texts.tooltips[name] }),
    el('label', { for: 'opt-' + name, title: texts.tooltips[name], text: texts.labels[name] }),
  ]);
}

function radioGroup(group) {
  const legend = group.caption ? el('legend', { text: texts.labels[group.caption] }) : null;
  const radios = group.radios.map(([control, value]) => el('div', { class: 'check' }, [
    el('input', { type: 'radio', name: 'opt-group-' + group.name, id: 'opt-' + control, value: String(value),
      title: texts.tooltips[control] }),
    el('label', { for: 'opt-' + control, title: texts.tooltips[control], text: texts.labels[control] }),
  ]));
  const className = 'radios' + (group.caption ? ' captioned' : '') + (group.dependent ? ' dependent' : '');
  return el('fieldset', { class: className }, [legend, ...radios]);
}

function folderField() {
  return el('div', { class: 'field folder' }, [
    el('label', { for: 'opt-UserFolder', text: texts.labels.UserFolder, title: texts.tooltips.UserFolder }),
    el('input', { type: 'text', id: 'opt-UserFolder', title: texts.tooltips.UserFolder, spellcheck: 'false',
      autocomplete: 'off', 'aria-describedby': 'opt-UserFolder-note' }),
    el('p', { class: 'note', id: 'opt-UserFolder-note',
      text: 'A folder name: the outputs go into that folder of the zip.' }),
  ]);
}

export function buildOptionsDialog(labels, tooltips, saved) {
  texts = { labels, tooltips };
  onSaved = saved;
  byId('options-title').textContent = labels.Title;
  const body = byId('options-body');
  body.replaceChildren(...LAYOUT.map(([caption, controls]) => el('fieldset', { class: 'group' }, [
    el('legend', { text: labels[caption] }),
    ...controls.map((control) => {
      if (control === 'UserFolder') return folderField();
      if (typeof control === 'string') return checkBox(control);
      return radioGroup(control);
    }),
  ])));
  body.addEventListener('change', applyRules);
  byId('options-done').addEventListener('click', saveOptions);
  byId('options-cancel').addEventListener('click', () => byId('options-dialog').close());
  byId('open-options').addEventListener('click', openOptions);
  byId('export-ini').addEventListener('click', exportIni);
  byId('import-ini').addEventListener('change', importIni);
}

function input(name) {
  return byId('opt-' + name);
}

// Which controls the others enable, as on the desktop.
function applyRules() {
  const selected = input('SelectedFolder').checked;
  input('UserFolder').disabled = !selected;
  const textOut = input('TextOut').checked;
  input('DataHex').disabled = !textOut;
  input('DataDec').disabled = !textOut;
  const keep = input('KeepWidth').checked;
  input('Split128').disabled = !keep;
  input('Split256').disabled = !keep;
  input('Escape').disabled = input('MultiByte').checked;
}

function showFields(fields) {
  for (const [control, value] of Object.entries(SELECT_VALUES)) input(control).checked = fields.Select === value;
  input('UserFolder').value = fields.User || '';
  for (const name of ['MakeZkpFolder', 'TextOut', 'PngImage', 'PrgLimit', 'PrgToScr', 'PrgToMem', 'KeepWidth',
    'MultiByte', 'Escape', 'Utf8Text', 'ShareTiles']) input(name).checked = !!fields[name];
  input('DataHex').checked = !!fields.DataHex;
  input('DataDec').checked = !fields.DataHex;
  input('Split256').checked = !!fields.Split256;
  input('Split128').checked = !fields.Split256;
  input('Make256').checked = !!fields.Make256;
  input('Make128').checked = !fields.Make256;
  input('PaletteKeep').checked = fields.Palette === 'keep';
  input('Palette15').checked = fields.Palette === 'use15';
  input('PaletteAsk').checked = fields.Palette === 'ask';
  applyRules();
}

function readFields() {
  const fields = {};
  const select = Object.entries(SELECT_VALUES).find(([control]) => input(control).checked);
  fields.Select = select ? select[1] : 768;
  fields.User = input('UserFolder').value;
  for (const name of ['MakeZkpFolder', 'TextOut', 'PngImage', 'PrgLimit', 'PrgToScr', 'PrgToMem', 'KeepWidth',
    'MultiByte', 'Escape', 'Utf8Text', 'ShareTiles', 'DataHex', 'Split256', 'Make256']) fields[name] = input(name).checked;
  fields.Palette = input('PaletteKeep').checked ? 'keep' : input('Palette15').checked ? 'use15' : 'ask';
  return fields;
}

function report(text, failed) {
  const line = byId('settings-line');
  line.textContent = text;
  line.classList.toggle('error', !!failed);
}

async function openOptions() {
  try {
    showFields(await call('optionsFromIni', { ini: storedIni() }));
    byId('options-dialog').showModal();
  } catch (error) {
    report('The options cannot be shown: ' + error.message, true);
  }
}

async function saveOptions(event) {
  event.preventDefault();
  try {
    const ini = await call('iniFromOptions', { ini: storedIni(), fields: readFields() });
    const problem = storeIni(ini);
    byId('options-dialog').close();
    if (problem) report('Options used for now, but ' + problem, true);
    else report('Options saved in this browser.');
    onSaved();
  } catch (error) {
    report('The options were not saved: ' + error.message, true);
  }
}

async function exportIni() {
  try {
    let ini = storedIni();
    if (!ini) ini = await call('iniFromOptions', { ini: '', fields: await call('optionsFromIni', { ini: '' }) });
    saveBytes(new TextEncoder().encode(ini), 'GRANVEL.ini', 'text/plain');
    report('GRANVEL.ini exported.');
  } catch (error) {
    report('GRANVEL.ini was not exported: ' + error.message, true);
  }
}

async function importIni(event) {
  const file = event.target.files[0];
  event.target.value = '';
  if (!file) return;
  try {
    const text = textOf(new Uint8Array(await file.arrayBuffer()));
    if (!/^\s*\[[^\]\r\n]+\]/m.test(text)) throw new Error(file.name + ' has no [section]: not an INI file');
    await call('optionsFromIni', { ini: text });
    const problem = storeIni(text);
    if (problem) report('Settings of ' + file.name + ' used for now, but ' + problem, true);
    else report('Settings imported from ' + file.name + '.');
    onSaved();
  } catch (error) {
    report('Nothing imported: ' + error.message, true);
  }
}

// Where the outputs go under the settings stored, in one line for the page.
export async function outputRule() {
  const fields = await call('optionsFromIni', { ini: storedIni() });
  const zkp = fields.MakeZkpFolder ? ', in a "ZKP" folder' : '';
  if (fields.Select === 769) return 'Outputs go to the tool folder: the top of the zip' + zkp + '.';
  if (fields.Select === 770) {
    const folder = (fields.User || '').trim();
    return 'Outputs go to the selected folder' + (folder ? ' "' + folder + '"' : '') + ': the top of the zip' + zkp + '.';
  }
  return 'Outputs go beside their sources: the zip keeps the dropped folder tree' + zkp + '.';
}
