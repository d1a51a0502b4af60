#!/usr/bin/python3
"""Makes the image inputs of tests/cases/png_images/in/ with real tools: Pillow for PNG and BMP files,
ImageMagick for the 32-bit BMP with bit fields, and by hand for the damaged PNGs. Run with Debian's
python3, python3-pil and imagemagick (`bash scripts/setup.sh fixtures`):
    /usr/bin/python3 scripts/make-image-fixtures.py [pillow] [tiles]
("tiles", the shared tile sets' pictures at the end, needs neither Pillow nor ImageMagick.)
Every picture is 16 x 16; pixel (x, y) has colour COLOURS[(x + 2y) % n], so the top row shows the colours
in order and a palette built by first appearance is the list itself."""
import os
import random
import struct
import subprocess
import sys
import zlib

try:
    from PIL import Image
except ImportError:
    Image = None

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cases", "png_images", "in")
COLOURS = [(0, 0, 0), (255, 255, 255), (248, 0, 0), (0, 248, 0), (0, 0, 248), (248, 248, 0), (0, 248, 248),
           (248, 0, 248), (128, 64, 32), (32, 64, 128), (200, 100, 50), (50, 100, 200), (16, 16, 16),
           (96, 96, 96), (160, 160, 160), (224, 224, 224), (8, 136, 72)]


def picture(n, mode="RGB"):
    image = Image.new("RGB", (16, 16))
    image.putdata([COLOURS[(x + 2 * y) % n] for y in range(16) for x in range(16)])
    return image


def indexed(n):
    image = Image.new("P", (16, 16))
    image.putpalette([c for colour in COLOURS[:n] for c in colour])
    image.putdata([(x + 2 * y) % n for y in range(16) for x in range(16)])
    return image


def path(name):
    return os.path.join(OUT, name)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def pillow_fixtures():
    global OUT
    os.makedirs(OUT, exist_ok=True)
    # Palette PNGs of 1, 2, 4 and 8 bits, and the same pictures as 8-bit BMPs.
    for n, bits in ((2, 1), (4, 2), (16, 4), (16, 8)):
        indexed(n).save(path("p%d.png" % bits), bits=bits)
        indexed(n).save(path("p%d_bmp.bmp" % bits))
    # True colour: RGB and greyscale PNG, 24-bit BMP; RGBA PNG whose left column is transparent, and the same as a
    # 32-bit BMP with bit fields (ImageMagick writes those for pictures with alpha).
    picture(16).save(path("rgb.png"))
    picture(16).save(path("rgb24.bmp"))
    picture(16).convert("L").save(path("grey.png"))
    rgba = picture(15).convert("RGBA")  # 15 colours and transparency: 16 entries
    rgba.putdata([(r, g, b, 0 if i % 16 == 0 else 255) for i, (r, g, b, a) in enumerate(rgba.getdata())])
    rgba.save(path("rgba.png"))
    subprocess.run(["/usr/bin/convert", path("rgba.png"), path("rgba32.bmp")], check=True)
    # Too many colours: 17 for CHR; 257 for GRP (a 32 x 16 picture of 512 colour words).
    picture(17).save(path("c17.png"))
    many = Image.new("RGB", (32, 16))
    many.putdata([((i % 32) * 8, (i // 32) * 8, 128) for i in range(512)])
    many.save(path("c512.png"))
    # Damaged files: a wrong CRC, the image data cut short, a header of 100000 x 100000 pixels.
    good = open(path("p8.png"), "rb").read()
    bad_crc = bytearray(good)
    bad_crc[29] ^= 0xFF  # the IHDR chunk's CRC
    open(path("bad_crc.png"), "wb").write(bad_crc)
    idat = good.index(b"IDAT")
    open(path("cut.png"), "wb").write(good[:idat + 12])
    ihdr = struct.pack(">IIBBBBB", 100000, 100000, 8, 2, 0, 0, 0)
    open(path("huge.png"), "wb").write(good[:8] + chunk(b"IHDR", ihdr) + chunk(b"IEND", b""))

    # Palette files of the first 16 colours in every format read, and two pictures of one look whose palettes
    # list the colours in opposite orders (tests/cases/palette_files/in/).
    OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cases", "palette_files", "in")
    os.makedirs(OUT, exist_ok=True)
    sixteen = COLOURS[:16]
    with open(path("pal.gpl"), "w") as gpl:
        gpl.write("GIMP Palette\nName: sixteen\nColumns: 16\n#\n")
        gpl.writelines("%3d %3d %3d\tcolour %d\n" % (r, g, b, i) for i, (r, g, b) in enumerate(sixteen))
    with open(path("pal.pal"), "w", newline="\r\n") as jasc:
        jasc.write("JASC-PAL\n0100\n16\n")
        jasc.writelines("%d %d %d\n" % colour for colour in sixteen)
    act = bytes(c for colour in sixteen for c in colour)
    open(path("pal.act"), "wb").write(act + bytes(768 - len(act)))
    open(path("pal_count.act"), "wb").write(act + bytes(768 - len(act)) + struct.pack(">HH", 16, 0xFFFF))
    indexed(16).save(path("pal_image.bmp"))
    indexed(16).save(path("order_a.png"))
    reverse = Image.new("P", (16, 16))
    reverse.putpalette([c for colour in reversed(sixteen) for c in colour])
    reverse.putdata([15 - (x + 2 * y) % 16 for y in range(16) for x in range(16)])
    reverse.save(path("order_b.png"))
    picture(16).save(path("rgb.png"))
    picture(17).save(path("c17.png"))
    for name in ("pal", "act", "count", "zkp", "image"):
        reverse.save(path("b_%s.png" % name))
    open(path("bad.gpl"), "w").write("GIMP Palette\n1 2\n")

    # Pictures as screens (tests/cases/screen_pictures/in/): 8-bit pictures whose cells repeat and flip tiles,
    # in several palette banks, to convert and render back; pictures every screen refuses; true colour.
    OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cases", "screen_pictures", "in")
    os.makedirs(OUT, exist_ok=True)
    import random

    random.seed(1206)


    def flip(tile, h, v):
        return [tile[8 * (7 - y if v else y) + (7 - x if h else x)] for y in range(8) for x in range(8)]


    def cells_picture(name, cells, columns, mode="P"):
        """Saves a picture of 8x8 cells (lists of 64 indices, row by row) as an 8-bit BMP."""
        rows = (len(cells) + columns - 1) // columns
        image = Image.new("P", (8 * columns, 8 * rows))
        image.putpalette([(i * 37) % 256 for i in range(768)])
        pixels = image.load()
        for i, cell in enumerate(cells):
            for y in range(8):
                for x in range(8):
                    pixels[8 * (i % columns) + x, 8 * (i // columns) + y] = cell[8 * y + x]
        image.save(path(name))


    a = [random.randrange(16) for _ in range(64)]
    b = [random.randrange(16) for _ in range(64)]
    c = [random.randrange(16) for _ in range(64)]
    blank = [0] * 64
    # Cells A, A flipped across, B, blank / B flipped down, A flipped both ways, A, C: tiles 1 (A), 2 (B), 3 (C).
    cells_picture("flips.bmp", [a, flip(a, 1, 0), b, blank, flip(b, 0, 1), flip(a, 1, 1), a, c], 4)
    # One tile in banks 0, 1, 2 and 15 (index 0 stays transparent in every bank).
    cells_picture("banks.bmp", [[v and 16 * bank + v for v in a] for bank in (0, 1, 2, 15)], 4)
    # 256 x 192 of 40 distinct tiles, repeated, flipped and in random banks, with blank cells.
    tiles = [[random.randrange(16) for _ in range(64)] for _ in range(40)]
    cells = []
    for _ in range(32 * 24):
        k, bank = random.randrange(41), random.randrange(16)
        tile = blank if k == 40 else flip(tiles[k], random.randrange(2), random.randrange(2))
        cells.append([v and 16 * bank + v for v in tile])
    cells_picture("random.bmp", cells, 32)
    # Refused: 20 x 16, 520 x 8, a tile mixing banks 1 and 2, 1056 distinct tiles.
    Image.new("P", (20, 16)).save(path("odd.bmp"))
    Image.new("P", (520, 8)).save(path("wide.bmp"))
    cells_picture("mixed.bmp", [[17, 33] + [0] * 62], 1)
    cells_picture("many.bmp", [[1 + (i >> 4) % 15] + [(i >> s) & 1 for s in range(63)] for i in range(33 * 32)], 33)
    # True colour: two cells of 15 colours each, which need two palettes; 17 such cells need 17.
    def colour_cells(count):
        image = Image.new("RGB", (8 * count, 8))
        image.putdata([((8 * (15 * (x // 8) + (x + y) % 15)) % 256, (8 * (x // 8)) % 256, 8 * ((x + y) % 15))
                       for y in range(8) for x in range(8 * count)])
        return image
    colour_cells(2).save(path("tc.png"))
    colour_cells(17).save(path("tc17.png"))


# Screens that share one tile set (tests/cases/shared_tiles/in/ and tile_set_reuse/in/), BMPs written here
# with the standard library alone. Tile k's top-left 4 x 4 pixels are 1 + bit i of k + 2 (i mod 7) (i the
# pixel's number in that quadrant, so never 0 and never 15) and its other 48 pixels 0: tiles of different k
# differ, and a flip moves the pixels to another quadrant, so no tile is a flip of another or of itself. The
# set of pictures that use tiles k = 0 ... n - 1, flipped or not, holds n + 1 tiles with the empty one.
PALETTE = [(8 * (i % 32), 4 * ((7 * i) % 64), 8 * ((13 * i) % 32)) for i in range(256)]  # kept by COL words


def write_bmp(name, width, height, pixels, palette=None):
    """An 8-bit BMP of 256 (r, g, b) colours and indices, or a 24-bit one of (r, g, b) pixels."""
    bits = 8 if palette else 24
    stride = (width * bits // 8 + 3) & ~3
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette) if palette else b""
    offset = 14 + 40 + len(table)
    rows = []
    for y in reversed(range(height)):
        row = pixels[y * width:(y + 1) * width]
        data = bytes(row) if palette else b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row)
        rows.append(data + bytes(stride - len(data)))
    data = b"".join(rows)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       256 if palette else 0, 0)
    open(path(name), "wb").write(head + info + table + data)


def pattern(k):
    return [1 + ((k >> (4 * y + x)) & 1) + 2 * ((4 * y + x) % 7) if x < 4 and y < 4 else 0
            for y in range(8) for x in range(8)]


def flipped(tile, flips):
    h, v = flips & 1, flips & 2
    return [tile[8 * (7 - y if v else y) + (7 - x if h else x)] for y in range(8) for x in range(8)]


def tile_picture(name, cells, columns, palette=PALETTE):
    """cells: (tile, bank) with tile a list of 64 values, or None for a blank cell."""
    width, height = 8 * columns, 8 * (len(cells) // columns)
    pixels = [0] * (width * height)
    for i, cell in enumerate(cells):
        if cell:
            tile, bank = cell
            for p, v in enumerate(tile):
                pixels[(8 * (i // columns) + p // 8) * width + 8 * (i % columns) + p % 8] = v and 16 * bank + v
    write_bmp(name, width, height, pixels, palette)
    return pixels


def range_picture(name, first, count, columns, repeats):
    """Tiles first ... first + count - 1 in reading order, then `repeats` of them again flipped, then blanks."""
    cells = [(pattern(first + i), (7 * i) % 16) for i in range(count)]
    cells += [(flipped(pattern(first + 3 * j), 1 + j % 3), (5 * j) % 16) for j in range(repeats)]
    rows = (len(cells) + columns) // columns
    return tile_picture(name, cells + [None] * (rows * columns - len(cells)), columns)


def colour_tiles(name, columns, colours, seed, extra=None):
    """A 24-bit picture of cells of 9 colours each: cell c shows colours[c] (a list), every colour at least
    once; `extra` (cell, colour) puts a colour of no list into that cell."""
    rng = random.Random(seed)
    width, height = 8 * columns, 8 * (len(colours) // columns)
    pixels = [None] * (width * height)
    for c, palette in enumerate(colours):
        values = palette + [rng.choice(palette) for _ in range(64 - len(palette))]
        rng.shuffle(values)
        if extra and extra[0] == c:
            values[0] = extra[1]
        for p, colour in enumerate(values):
            pixels[(8 * (c // columns) + p // 8) * width + 8 * (c % columns) + p % 8] = colour
    write_bmp(name, width, height, pixels)


def tile_set_fixtures():
    global OUT
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cases")
    OUT = os.path.join(root, "shared_tiles", "in")
    os.makedirs(OUT, exist_ok=True)
    # Three pictures of 16 x 16 cells: tiles 0-199, 40-239 and 80-279, each with 55 flipped repeats and a
    # blank cell: 280 tiles and the empty one, of which b and c add 40 each.
    a = range_picture("a.bmp", 0, 200, 16, 55)
    range_picture("b.bmp", 40, 200, 16, 55)
    range_picture("c.bmp", 80, 200, 16, 55)
    # Refused in that run, adding nothing: new tiles 500-509 with one colour a used set otherwise; a 24-bit
    # picture among 8-bit ones.
    entry = min(v for v in a if v >= 16)
    clash = list(PALETTE)
    clash[entry] = (248, 248, 248) if PALETTE[entry] != (248, 248, 248) else (0, 0, 0)
    print("clash.bmp changes entry", entry, "from", PALETTE[entry], "to", clash[entry])
    tile_picture("clash.bmp", [(pattern(500 + i), (7 * i) % 16) for i in range(10)], 10, clash)
    write_bmp("tc.bmp", 8, 8, [(8 * x, 8 * y, 0) for y in range(8) for x in range(8)])
    # Entry 63 (bank 3, value 15), which no picture above uses, in a colour of its own: the set takes it.
    fresh = list(PALETTE)
    fresh[63] = (248, 0, 248)
    tile_picture("fresh.bmp", [(pattern(7), 1), ([15] * 64, 3)], 2, fresh)
    # The budget: 400, 400 and 300 new tiles take a set to 1101; a picture of two more still joins.
    range_picture("p1.bmp", 1000, 400, 20, 0)
    range_picture("p2.bmp", 1400, 400, 20, 0)
    range_picture("p3.bmp", 1800, 300, 20, 0)
    range_picture("p4.bmp", 2100, 2, 2, 0)

    OUT = os.path.join(root, "tile_set_reuse", "in")
    os.makedirs(OUT, exist_ok=True)
    # 8 x 8 cells: tiles 0-49 and 30-79 with 13 flipped repeats; r1's cells all flipped both ways.
    range_picture("r1.bmp", 0, 50, 8, 13)
    range_picture("r2.bmp", 30, 50, 8, 13)
    cells = [(flipped(pattern(i), 3), (7 * i) % 16) for i in range(50)]
    cells += [(flipped(flipped(pattern(3 * j), 1 + j % 3), 3), (5 * j) % 16) for j in range(13)]
    tile_picture("r1flip.bmp", cells + [None], 8)
    # True colour: 8 cells of 9 colours out of 40, the second picture's lists shifted by 20; the third shows
    # cells of the first again, the fourth the same with one colour of no list in cell (1, 0).
    pool = [(8 * (i % 8) + 8, 8 * ((3 * i) % 16) + 64, 248 - 8 * (i // 2)) for i in range(40)]
    lists = [[pool[(5 * c + j) % 40] for j in range(9)] for c in range(8)]
    colour_tiles("t1.bmp", 4, lists, 1)
    colour_tiles("t2.bmp", 4, [[pool[(5 * c + 20 + j) % 40] for j in range(9)] for c in range(8)], 2)
    colour_tiles("t3.bmp", 4, lists, 1)
    colour_tiles("t4.bmp", 4, lists, 1, extra=(1, (248, 248, 248)))


if __name__ == "__main__":
    sections = sys.argv[1:] or ["pillow", "tiles"]
    if "pillow" in sections:
        pillow_fixtures()
    if "tiles" in sections:
        tile_set_fixtures()
