// Small file formats the tests read and write themselves: CRC-32, a zip's central directory, 8-bit BMPs.

const kCrcTable = (() => {
  const table = new Uint32Array(256);
  for (let n = 0; n < 256; n += 1) {
    let c = n;
    for (let k = 0; k < 8; k += 1) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[n] = c >>> 0;
  }
  return table;
})();

export function crc32(bytes) {
  let c = 0xffffffff;
  for (let i = 0; i < bytes.length; i += 1) c = kCrcTable[(c ^ bytes[i]) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

// Reads a zip from its end record and central directory; each entry's local header is checked against it.
// Answers [{name, flags, method, crc, size, data, utf8}] in the directory's order; throws on any damage.
export function readZip(buffer) {
  const zip = Buffer.from(buffer);
  let end = -1;
  for (let i = zip.length - 22; i >= Math.max(0, zip.length - 22 - 65535); i -= 1) {
    if (zip.readUInt32LE(i) === 0x06054b50) { end = i; break; }
  }
  if (end < 0) throw new Error('no end of central directory record');
  const count = zip.readUInt16LE(end + 10);
  const dirSize = zip.readUInt32LE(end + 12);
  let at = zip.readUInt32LE(end + 16);
  if (at + dirSize !== end) throw new Error(`central directory at ${at} size ${dirSize} does not end at ${end}`);
  const entries = [];
  for (let n = 0; n < count; n += 1) {
    if (zip.readUInt32LE(at) !== 0x02014b50) throw new Error(`central entry ${n}: bad signature`);
    const flags = zip.readUInt16LE(at + 8), method = zip.readUInt16LE(at + 10);
    const crc = zip.readUInt32LE(at + 16), packed = zip.readUInt32LE(at + 20), size = zip.readUInt32LE(at + 24);
    const nameLength = zip.readUInt16LE(at + 28), extraLength = zip.readUInt16LE(at + 30);
    const commentLength = zip.readUInt16LE(at + 32), local = zip.readUInt32LE(at + 42);
    const nameBytes = zip.subarray(at + 46, at + 46 + nameLength);
    const name = nameBytes.toString('utf8');
    if (zip.readUInt32LE(local) !== 0x04034b50) throw new Error(`${name}: bad local header signature`);
    const localName = zip.subarray(local + 30, local + 30 + zip.readUInt16LE(local + 26));
    if (!localName.equals(nameBytes)) throw new Error(`${name}: the local header names ${localName.toString('utf8')}`);
    const dataAt = local + 30 + zip.readUInt16LE(local + 26) + zip.readUInt16LE(local + 28);
    const data = zip.subarray(dataAt, dataAt + packed);
    if (data.length !== packed) throw new Error(`${name}: data runs past the file`);
    entries.push({ name, flags, method, crc, size, packed, data: Buffer.from(data), utf8: (flags & 0x800) !== 0,
      localCrc: zip.readUInt32LE(local + 14), localFlags: zip.readUInt16LE(local + 6) });
    at += 46 + nameLength + extraLength + commentLength;
  }
  return entries;
}

// An 8-bit BMP (bottom-up, 256-colour palette) whose pixels are pixel(x, y) (0..255).
export function bmp8(width, height, pixel, palette = (i) => [i, (i * 7) & 255, 255 - i]) {
  const stride = (width + 3) & ~3;
  const offset = 14 + 40 + 256 * 4;
  const file = Buffer.alloc(offset + stride * height);
  file.write('BM', 0, 'latin1');
  file.writeUInt32LE(file.length, 2);
  file.writeUInt32LE(offset, 10);
  file.writeUInt32LE(40, 14);
  file.writeInt32LE(width, 18);
  file.writeInt32LE(height, 22);
  file.writeUInt16LE(1, 26);
  file.writeUInt16LE(8, 28);
  file.writeUInt32LE(stride * height, 34);
  file.writeUInt32LE(256, 46);
  for (let i = 0; i < 256; i += 1) {
    const [r, g, b] = palette(i);
    file[54 + i * 4] = b; file[55 + i * 4] = g; file[56 + i * 4] = r;
  }
  for (let y = 0; y < height; y += 1) {
    const row = offset + (height - 1 - y) * stride;
    for (let x = 0; x < width; x += 1) file[row + x] = pixel(x, y);
  }
  return file;
}

// A big picture of 16-colour rows of tiles: the kind a long GRP/CHR run meets.
export function bigBmp(size = 4096) {
  return bmp8(size, size, (x, y) => ((x >> 3) ^ (y >> 2)) & 15);
}
