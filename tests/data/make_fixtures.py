#!/usr/bin/python3
"""Makes the BMP fixtures in this folder (see README.md). Run from this folder with Debian's python3,
python3-pil and imagemagick installed: /usr/bin/python3 make_fixtures.py

Every fixture is 13 x 7 pixels; pixel (x, y) has colour COLOURS[(x + 2 y) % n], n being 20, 16 or 2.
Each file is read back with Pillow and compared with that pattern before the script ends."""
import os
import struct
import subprocess
import tempfile

from PIL import Image

COLOURS = [(0, 0, 0), (255, 255, 255), (248, 56, 0), (0, 168, 0), (0, 120, 248), (248, 184, 0), (168, 0, 168),
           (120, 120, 120), (60, 188, 252), (248, 120, 88), (184, 248, 24), (104, 68, 252), (188, 188, 188),
           (248, 216, 120), (0, 0, 128), (128, 0, 0), (40, 80, 120), (200, 100, 50), (16, 240, 64), (96, 32, 224)]
W, H = 13, 7


def index(x, y, n):
    return (x + 2 * y) % n


def rgb_image(n):
    im = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            im.putpixel((x, y), COLOURS[index(x, y, n)])
    return im


def palette_image(n):
    im = Image.new("P", (W, H))
    flat = [c for colour in COLOURS[:n] for c in colour]
    im.putpalette(flat + [0] * (768 - len(flat)))
    for y in range(H):
        for x in range(W):
            im.putpixel((x, y), index(x, y, n))
    return im


def hand_made(bits, height, compression, palette, data):
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, height, 1, bits, compression, len(data), 2835, 2835,
                       len(palette), 0)
    return file_header + info + table + data


def top_down_8bit():
    rows = b""
    for y in range(H):  # top row first
        row = bytes(index(x, y, 20) for x in range(W))
        rows += row + b"\0" * (-len(row) % 4)
    return hand_made(8, -H, 0, COLOURS[:20], rows)


def rle4():
    data = b""
    for y in reversed(range(H)):  # bottom row first
        pixels = [index(x, y, 16) for x in range(W)]
        # An encoded run of the first two pixels (alternating nibbles), then the other 11 as an absolute run.
        data += bytes([2, (pixels[0] << 4) | pixels[1]])
        rest = pixels[2:] + [0]
        packed = bytes((rest[i] << 4) | rest[i + 1] for i in range(0, len(rest), 2))
        data += bytes([0, len(pixels) - 2]) + packed + b"\0" * (len(packed) % 2)
        data += bytes([0, 0])  # end of line
    data += bytes([0, 1])  # end of bitmap
    return hand_made(4, H, 2, COLOURS[:16], data)


def check(path, n, with_pillow=True):
    """Reads `path` with ImageMagick (and Pillow) and compares every pixel with the pattern."""
    text = subprocess.run(["convert", path, "txt:-"], check=True, capture_output=True, text=True).stdout
    seen = 0
    for line in text.splitlines()[1:]:
        place, colour = line.split(": ", 1)
        x, y = (int(v) for v in place.split(","))
        rgb = tuple(int(v) for v in colour.split(")")[0].strip("( ").split(",")[:3])
        assert rgb == COLOURS[index(x, y, n)], ("ImageMagick", path, x, y)
        seen += 1
    assert seen == W * H, path
    if with_pillow:
        im = Image.open(path).convert("RGB")
        assert im.size == (W, H), path
        for y in range(H):
            for x in range(W):
                assert im.getpixel((x, y)) == COLOURS[index(x, y, n)], ("Pillow", path, x, y)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        sources = {}
        for n in (20, 16, 2):
            sources[n] = os.path.join(tmp, f"c{n}.png")
            rgb_image(n).save(sources[n])
        subprocess.run(["convert", sources[20], "-type", "Palette", "im_v5_8bit_rle8.bmp"], check=True)
        subprocess.run(["convert", sources[16], "-type", "Palette", "im_v5_4bit.bmp"], check=True)
        subprocess.run(["convert", sources[2], "-type", "Bilevel", "im_v4_1bit.bmp"], check=True)
    palette_image(20).save("pil_8bit.bmp")
    rgb_image(2).convert("1").save("pil_1bit.bmp")
    with open("hand_topdown_8bit.bmp", "wb") as f:
        f.write(top_down_8bit())
    with open("hand_rle4.bmp", "wb") as f:
        f.write(rle4())
    for path, n in (("im_v5_8bit_rle8.bmp", 20), ("im_v5_4bit.bmp", 16), ("im_v4_1bit.bmp", 2),
                    ("pil_8bit.bmp", 20), ("pil_1bit.bmp", 2), ("hand_topdown_8bit.bmp", 20)):
        check(path, n)
    # Pillow 9.4 drops the last pixel of an odd-length absolute RLE4 run; ImageMagick reads it right.
    check("hand_rle4.bmp", 16, with_pillow=False)
    print("made and checked 7 fixtures")


if __name__ == "__main__":
    main()
