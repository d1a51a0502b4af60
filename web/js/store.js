// What the page remembers in the browser: the GRANVEL.ini text, the convert type and the palette answer.

const INI_KEY = 'granvel.ini';
const TYPE_KEY = 'granvel.type';
const ANSWER_KEY = 'granvel.paletteAnswer';

function readKey(key, fallback) {
  try {
    const value = localStorage.getItem(key);
    return value === null ? fallback : value;
  } catch (error) {
    return fallback;
  }
}

// Returns an error text when the browser refuses to keep the value (storage off or full), else ''.
function writeKey(key, value) {
  try {
    localStorage.setItem(key, value);
    return '';
  } catch (error) {
    return 'the browser did not keep the setting: ' + error.message;
  }
}

export function storedIni() {
  return readKey(INI_KEY, '');
}

export function storeIni(text) {
  return writeKey(INI_KEY, text);
}

export function storedType() {
  return readKey(TYPE_KEY, '');
}

export function storeType(id) {
  return writeKey(TYPE_KEY, String(id));
}

export function storedAnswer() {
  return readKey(ANSWER_KEY, 'no') === 'yes' ? 'yes' : 'no';
}

export function storeAnswer(answer) {
  return writeKey(ANSWER_KEY, answer);
}
