// A store-only zip writer: no compression, CRC-32, names in UTF-8 (flag bit 11), every entry dated
// 1980-01-01 00:00 so that the same files always give the same bytes.

const CRC_TABLE = (() => {
  const table = new Uint32Array(256);
  for (let n = 0; n < 256; n += 1) {
    let c = n;
    for (let k = 0; k < 8; k += 1) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[n] = c >>> 0;
  }
  return table;
})();

export function crc32(bytes) {
  let crc = 0xffffffff;
  for (let i = 0; i < bytes.length; i += 1) crc = CRC_TABLE[(crc ^ bytes[i]) & 0xff] ^ (crc >>> 8);
  return (crc ^ 0xffffffff) >>> 0;
}

const DOS_TIME = 0;
const DOS_DATE = (0 << 9) | (1 << 5) | 1;
const UTF8_FLAG = 0x0800;

// The page gets a turn after every this many bytes summed, so a zip of a large run never freezes it.
const BYTES_PER_TURN = 4 << 20;

// entries: [{path, bytes: Uint8Array}] in the order wanted; folders are implied by the paths. Resolves to a Blob.
export async function makeZip(entries) {
  const encoder = new TextEncoder();
  const parts = [];
  const central = [];
  let offset = 0;
  const seen = new Set();
  let sinceTurn = 0;
  for (const { path, bytes } of entries) {
    const name = path.replace(/\\/g, '/').replace(/^\/+/, '');
    if (!name || seen.has(name)) continue;
    seen.add(name);
    const nameBytes = encoder.encode(name);
    if (sinceTurn > BYTES_PER_TURN) {
      await new Promise((resolve) => setTimeout(resolve));
      sinceTurn = 0;
    }
    sinceTurn += bytes.length;
    const crc = crc32(bytes);
    if (bytes.length >= 0xffffffff || offset >= 0xffffffff) throw new Error('the outputs are too large for one zip');
    const local = new DataView(new ArrayBuffer(30));
    local.setUint32(0, 0x04034b50, true);
    local.setUint16(4, 20, true);
    local.setUint16(6, UTF8_FLAG, true);
    local.setUint16(8, 0, true);
    local.setUint16(10, DOS_TIME, true);
    local.setUint16(12, DOS_DATE, true);
    local.setUint32(14, crc, true);
    local.setUint32(18, bytes.length, true);
    local.setUint32(22, bytes.length, true);
    local.setUint16(26, nameBytes.length, true);
    local.setUint16(28, 0, true);
    parts.push(local, nameBytes, bytes);

    const entry = new DataView(new ArrayBuffer(46));
    entry.setUint32(0, 0x02014b50, true);
    entry.setUint16(4, 20, true);
    entry.setUint16(6, 20, true);
    entry.setUint16(8, UTF8_FLAG, true);
    entry.setUint16(10, 0, true);
    entry.setUint16(12, DOS_TIME, true);
    entry.setUint16(14, DOS_DATE, true);
    entry.setUint32(16, crc, true);
    entry.setUint32(20, bytes.length, true);
    entry.setUint32(24, bytes.length, true);
    entry.setUint16(28, nameBytes.length, true);
    entry.setUint32(42, offset, true);
    central.push(entry, nameBytes);
    offset += 30 + nameBytes.length + bytes.length;
  }
  const centralSize = central.reduce((sum, part) => sum + part.byteLength, 0);
  const end = new DataView(new ArrayBuffer(22));
  end.setUint32(0, 0x06054b50, true);
  end.setUint16(8, seen.size, true);
  end.setUint16(10, seen.size, true);
  end.setUint32(12, centralSize, true);
  end.setUint32(16, offset, true);
  if (seen.size > 0xffff) throw new Error('too many outputs for one zip');
  return new Blob([...parts, ...central, end], { type: 'application/zip' });
}
