#!/usr/bin/env python3
"""Writes src/platform/cp932_table.inc: code page 932 as glibc's iconv converts it, for the browser edition,
whose C library has no CP932. Run it again only when the table is to follow another glibc; the native test
suite compares the table with iconv for every 16-bit code point and every one- and two-byte sequence.

The table holds every byte sequence of one or two bytes that decodes to exactly one character, and the few
characters whose encoding is not the first sequence that decodes to them (or that have none that reads back).
"""
import ctypes
import sys

libc = ctypes.CDLL("libc.so.6", use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]


def opener(to, frm):
    cd = libc.iconv_open(to.encode(), frm.encode())
    if cd in (None, ctypes.c_void_p(-1).value):
        sys.exit(f"iconv cannot convert {frm} to {to}")
    return cd


def run(cd, data):
    """The bytes iconv makes of `data`, or None when it refuses any of them."""
    libc.iconv(cd, None, None, None, None)
    inbuf = ctypes.create_string_buffer(data, len(data))
    out = ctypes.create_string_buffer(32)
    inp = ctypes.c_char_p(ctypes.addressof(inbuf))
    outp = ctypes.c_char_p(ctypes.addressof(out))
    inleft = ctypes.c_size_t(len(data))
    outleft = ctypes.c_size_t(32)
    if libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp), ctypes.byref(outleft)) \
            == ctypes.c_size_t(-1).value or inleft.value != 0:
        return None
    return out.raw[:32 - outleft.value]


def main(path):
    to_cp932 = opener("CP932", "UTF-32LE")
    from_cp932 = opener("UTF-32LE", "CP932")

    def decode(seq):
        wide = run(from_cp932, seq)
        if wide is None or len(wide) != 4:
            return None
        return int.from_bytes(wide, "little")

    decoded = {}  # sequence as a number (one byte: 0x00-0xFF; two: lead << 8 | trail) -> code point
    for b in range(256):
        code = decode(bytes([b]))
        if code is not None:
            decoded[b] = code
    for lead in range(256):
        for trail in range(256):
            code = decode(bytes([lead, trail]))
            if code is not None:
                decoded[lead << 8 | trail] = code
    if any(code > 0xFFFF for code in decoded.values()):
        sys.exit("a CP932 sequence decodes beyond 16 bits: the table's pairs cannot hold it")

    first = {}
    for seq in sorted(decoded):
        first.setdefault(decoded[seq], seq)
    exceptions = []  # (code point, sequence or 0 for none)
    for code in range(0x10000):
        raw = run(to_cp932, code.to_bytes(4, "little"))
        if raw and decode(raw) == code:
            seq = raw[0] if len(raw) == 1 else raw[0] << 8 | raw[1]
        else:
            seq = None
        if seq != first.get(code):
            if seq is None and code not in first:
                continue
            exceptions.append((code, seq if seq is not None else 0))

    with open(path, "w", encoding="ascii") as out:
        out.write("// Made by scripts/make-cp932-table.py from glibc's iconv CP932; do not edit.\n")
        out.write(f"// {len(decoded)} sequences that decode to one character, then {len(exceptions)} characters that\n")
        out.write("// encode to another sequence than the first that decodes to them (0: to none).\n")
        out.write("static constexpr Cp932Pair kDecoded[] = {\n")
        items = [f"{{0x{seq:04X}, 0x{code:04X}}}" for seq, code in sorted(decoded.items())]
        for i in range(0, len(items), 6):
            out.write("    " + ", ".join(items[i:i + 6]) + ",\n")
        out.write("};\nstatic constexpr Cp932Pair kEncodedOtherwise[] = {\n")
        items = [f"{{0x{seq:04X}, 0x{code:04X}}}" for code, seq in exceptions]
        for i in range(0, len(items), 6):
            out.write("    " + ", ".join(items[i:i + 6]) + ",\n")
        out.write("};\n")
    print(f"{path}: {len(decoded)} sequences, {len(exceptions)} exceptions")


main(sys.argv[1] if len(sys.argv) > 1 else "src/platform/cp932_table.inc")
