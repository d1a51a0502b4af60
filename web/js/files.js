// Reading what the user gives: dropped files and folders (every entry of a folder, read until none is left)
// and the two pickers. Each file comes out as {path, file}: its path relative to the drop, folders kept.

function entryFile(entry) {
  return new Promise((resolve, reject) => entry.file(resolve, reject));
}

function readBatch(reader) {
  return new Promise((resolve, reject) => reader.readEntries(resolve, reject));
}

// Reads every entry of the folder, batch after batch until the reader gives none.
async function readFolder(entry, prefix, out, problems) {
  const reader = entry.createReader();
  const children = [];
  for (;;) {
    const batch = await readBatch(reader);
    if (!batch.length) break;
    children.push(...batch);
  }
  if (!children.length) problems.push(prefix + entry.name + '/: an empty folder');
  for (const child of children) await readEntry(child, prefix + entry.name + '/', out, problems);
}

async function readEntry(entry, prefix, out, problems) {
  try {
    if (entry.isDirectory) await readFolder(entry, prefix, out, problems);
    else if (entry.isFile) out.push({ path: prefix + entry.name, file: await entryFile(entry) });
  } catch (error) {
    if (entry.isDirectory) problems.push(folderProblem(prefix + entry.name, error));
    else problems.push(prefix + entry.name + ': cannot be read (' + (error.message || error.name) + ')');
  }
}

// What a failed folder read means to the user.
function folderProblem(path, error) {
  if (error && (error.name === 'EncodingError' || error.name === 'SecurityError')) {
    return path + '/: this browser does not let a page opened from the disk read a dropped folder; use "Choose a folder"';
  }
  return path + '/: cannot be read (' + ((error && (error.message || error.name)) || 'unknown error') + ')';
}

// Resolves with {files, problems}; problems are one-line texts about what could not be read. The drop's
// items are taken at once: the browser empties them once the drop event is over.
export async function filesFromDrop(dataTransfer) {
  const files = [];
  const problems = [];
  const items = [...(dataTransfer.items || [])].filter((item) => item.kind === 'file');
  const dropped = items.map((item) => ({
    entry: item.webkitGetAsEntry ? item.webkitGetAsEntry() : null,
    file: item.getAsFile(),
  }));
  if (!items.length) {
    for (const file of dataTransfer.files || []) dropped.push({ entry: null, file });
  }
  for (const { entry, file } of dropped) {
    if (entry && entry.isDirectory) {
      try {
        await readFolder(entry, '', files, problems);
      } catch (error) {
        problems.push(folderProblem(entry.name, error));
      }
    } else if (file) {
      files.push({ path: file.name, file });
    } else if (entry) {
      await readEntry(entry, '', files, problems);
    }
  }
  return { files, problems };
}

// A file picker's list; a folder picker gives each file's path inside the chosen folder.
export function filesFromPicker(fileList) {
  return [...fileList].map((file) => ({ path: file.webkitRelativePath || file.name, file }));
}
