#!/usr/bin/env python3
"""Draws Pendrel's icons and cursor and writes them as .ico/.cur files.

    tools/make_images.py [--preview DIR]

Writes src/resources/app.ico (three images: 32x32 256 colours, 16x16 16
colours, 32x32 16 colours), src/resources/about.ico (48x48 in 256 and 16
colours), src/resources/hand.cur (32x32 monochrome pointing hand, hot spot
at the tip of the index finger) and packaging/pendrel.ico, the setup's icon:
the three images of app.ico, 48x48 in 256 colours and 256x256 as PNG, for
the Start menu, Settings > Apps and the setup at high DPI (pendrel.exe keeps
the small app.ico, which keeps it within 64 KiB). The generated files are
committed: the Windows build uses them as they are and needs no Python.

With --preview, also writes enlarged PNG previews of every image into DIR.

Pure Python 3, standard library only. The output is deterministic, so running
the script again leaves the committed files unchanged.
"""

import argparse
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "src", "resources")
PACKAGING = os.path.join(ROOT, "packaging")

# The sixteen colours of the standard 4-bit palette, in their usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------
# The icon: a screen with the taskbar docked at its bottom and an arrow that
# rises out of the taskbar. Axis-aligned and 45-degree edges only, so every
# size stays crisp without anti-aliasing.
# ---------------------------------------------------------------------------

# Per size: screen top row, frame thickness, taskbar height, arrow tip row,
# half the width of the arrow head, half the width of the shaft.
LAYOUT = {
    16: dict(top=1, frame=1, taskbar=4, tip=3, head=4, shaft=1),
    32: dict(top=2, frame=1, taskbar=7, tip=5, head=8, shaft=3),
    48: dict(top=3, frame=2, taskbar=10, tip=8, head=12, shaft=4),
    256: dict(top=16, frame=11, taskbar=53, tip=43, head=64, shaft=21),
}


def line_width(size):
    """The width of the design's one-pixel lines, which grow with the large sizes."""
    return max(1, size // 48)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """A square of RGB pixels, None meaning transparent."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the half-open rectangle [x0, x1) x [y0, y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, colour)


def arrow_shape(size, lay, bottom):
    """The set of (x, y) pixels of the up arrow, symmetric about size / 2."""
    centre = size // 2
    cells = set()
    for k in range(lay["head"]):
        half = k + 1
        for x in range(centre - half, centre + half):
            cells.add((x, lay["tip"] + k))
    for y in range(lay["tip"] + lay["head"], bottom):
        for x in range(centre - lay["shaft"], centre + lay["shaft"]):
            cells.add((x, y))
    return cells


def draw_icon(size, rich):
    """Draws the icon at one size. rich: gradients (256 colours) or the 16 colours."""
    lay = LAYOUT[size]
    c = Canvas(size)
    f = lay["frame"]
    top, bottom = lay["top"], size - lay["top"]
    inner_top, inner_bottom = top + f, bottom - f
    bar_top = inner_bottom - lay["taskbar"]

    line = line_width(size)
    frame = (40, 44, 52) if rich else BLACK
    c.fill(0, top, size, bottom, frame)
    # Rounded corners: leave the outermost corner pixels transparent (a
    # 45-degree cut as wide as a line).
    for dx in range(line):
        for dy in range(line - dx):
            for x, y in ((dx, top + dy), (size - 1 - dx, top + dy), (dx, bottom - 1 - dy),
                         (size - 1 - dx, bottom - 1 - dy)):
                c.set(x, y, None)

    # The desktop.
    for y in range(inner_top, bar_top):
        if rich:
            t = (y - inner_top) / max(1, bar_top - inner_top - 1)
            colour = lerp((40, 170, 175), (0, 110, 120), t)
        else:
            colour = VGA16[6]
        c.fill(f, y, size - f, y + 1, colour)

    # The taskbar: a highlight line on top, a raised start button at the left
    # and a sunken notification area at the right.
    for y in range(bar_top, inner_bottom):
        if y < bar_top + line:
            colour = WHITE
        elif rich:
            t = (y - bar_top) / max(1, inner_bottom - bar_top - 1)
            colour = lerp((214, 214, 210), (176, 176, 172), t)
        else:
            colour = VGA16[7]
        c.fill(f, y, size - f, y + 1, colour)
    body_top = bar_top + line
    body_h = inner_bottom - body_top
    if size == 16:
        c.fill(2, body_top + 1, 5, inner_bottom - 1, (0, 140, 40) if rich else VGA16[2])
    else:
        margin = max(1, size // 24)
        bx0, by0 = f + margin + line, body_top + margin
        bx1, by1 = bx0 + size // 4, inner_bottom - margin
        dark = (110, 110, 108) if rich else VGA16[8]
        c.fill(bx0, by0, bx1, by1, (198, 198, 194) if rich else VGA16[7])
        c.fill(bx0, by0, bx1, by0 + line, WHITE)
        c.fill(bx0, by0, bx0 + line, by1, WHITE)
        c.fill(bx0, by1 - line, bx1, by1, dark)
        c.fill(bx1 - line, by0, bx1, by1, dark)
        # The button's logo: a small green square.
        lg = max(2, body_h // 3)
        lx = bx0 + 2 * line
        ly = by0 + (by1 - by0 - lg) // 2
        c.fill(lx, ly, lx + lg, ly + lg, (0, 150, 50) if rich else VGA16[2])
        # The notification area.
        tx1 = size - f - margin - line
        tx0 = tx1 - size // 5
        c.fill(tx0, by0, tx1, by1, (188, 188, 184) if rich else VGA16[7])
        c.fill(tx0, by0, tx1, by0 + line, dark)
        c.fill(tx0, by0, tx0 + line, by1, dark)
        c.fill(tx0, by1 - line, tx1, by1, WHITE)
        c.fill(tx1 - line, by0, tx1, by1, WHITE)

    # The arrow, rising from the taskbar; outlined where the size allows.
    cells = arrow_shape(size, lay, bar_top)
    if size > 16:
        outline = (70, 50, 0) if rich else BLACK
        reach = [(dx, dy) for dx in range(-line, line + 1) for dy in range(-line, line + 1)
                 if 0 < abs(dx) + abs(dy) <= line]
        for (x, y) in cells:
            for dx, dy in reach:
                n = (x + dx, y + dy)
                if n not in cells and n[1] < bar_top:
                    c.set(n[0], n[1], outline)
    y_top, y_bottom = lay["tip"], bar_top - 1
    for (x, y) in cells:
        if rich:
            t = (y - y_top) / max(1, y_bottom - y_top)
            colour = lerp((255, 236, 110), (240, 160, 20), t)
        else:
            colour = VGA16[11]
        c.set(x, y, colour)
    return c


# ---------------------------------------------------------------------------
# The cursor: a pointing hand. X is black, o is white, . is transparent.
# The tip of the index finger is the middle of row 0: the hot spot (6, 0).
# ---------------------------------------------------------------------------

HAND = """
.....XXX............
....XoooX...........
....XoooX...........
....XoooX...........
....XoooX...........
....XoooXXXX........
....XoooXoooXXXX....
....XoooXoooXoooX...
....XoooXoooXoooXXX.
....XoooXoooXoooXooX
.XXXXoooXoooXoooXooX
XoooXoooXoooXoooXooX
XooooooooooooooooooX
.XoooooooooooooooooX
.XoooooooooooooooooX
..XooooooooooooooooX
..XooooooooooooooooX
...XoooooooooooooooX
...XooooooooooooooX.
....XoooooooooooooX.
....XoooooooooooooX.
....XXXXXXXXXXXXXXX.
"""

HAND_HOTSPOT = (6, 0)


def draw_hand():
    c = Canvas(32)
    rows = HAND.strip("\n").split("\n")
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "X":
                c.set(x, y, BLACK)
            elif ch == "o":
                c.set(x, y, WHITE)
    return c


# ---------------------------------------------------------------------------
# File formats.
# ---------------------------------------------------------------------------

def row_bytes(bits_per_pixel, width):
    return ((width * bits_per_pixel + 31) // 32) * 4


def pack_rows(indices, size, bpp):
    """Packs rows of palette indices bottom-up, each row padded to 32 bits."""
    out = bytearray()
    stride = row_bytes(bpp, size)
    per_byte = 8 // bpp
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            shift = (per_byte - 1 - x % per_byte) * bpp
            row[x // per_byte] |= indices[y][x] << shift
        out += row
    return bytes(out)


def dib(canvas, bpp, palette):
    """A DIB as icon and cursor resources hold it: header, palette, colour
    bits, then the 1-bit mask (1 = transparent). Transparent pixels take
    palette index 0, which is black, so the XOR pass leaves the screen."""
    size = canvas.size
    lookup = {colour: i for i, colour in enumerate(palette)}
    colour_idx = [[0] * size for _ in range(size)]
    mask_idx = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            colour = canvas.px[y][x]
            if colour is None:
                mask_idx[y][x] = 1
            else:
                colour_idx[y][x] = lookup[colour]
    xor = pack_rows(colour_idx, size, bpp)
    mask = pack_rows(mask_idx, size, 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    entries = list(palette) + [BLACK] * ((1 << bpp) - len(palette))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in entries)
    return header + pal + xor + mask


def palette_of(canvas):
    colours = {p for row in canvas.px for p in row if p is not None}
    colours.discard(BLACK)
    ordered = [BLACK] + sorted(colours)
    if len(ordered) > 256:
        raise ValueError("more than 256 colours in a 256-colour image")
    return ordered


def icon_file(images):
    """images: list of (canvas, bpp); bpp 32 is a PNG-compressed image with an
    alpha channel. Writes the ICONDIR layout of a .ico file."""
    blobs = []
    for canvas, bpp in images:
        if bpp == 32:
            blobs.append((canvas.size, bpp, png_rgba(canvas)))
            continue
        palette = VGA16 if bpp == 4 else palette_of(canvas)
        blobs.append((canvas.size, bpp, dib(canvas, bpp, palette)))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, bpp, blob in blobs:
        colour_count = 0 if bpp >= 8 else 1 << bpp
        # A width or height of 256 is written as 0.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bpp,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, _, blob in blobs)


def cursor_file(canvas, hotspot):
    blob = dib(canvas, 1, [BLACK, WHITE])
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", canvas.size, canvas.size, 2, 0,
                       hotspot[0], hotspot[1], len(blob), 6 + 16)
    return out + blob


def png_file(size, colour_type, rows):
    """A PNG of 8-bit samples from rows of bytes (without filter bytes)."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def png_rgba(canvas):
    """The image as an icon holds a PNG one: RGBA, transparent where nothing is drawn."""
    rows = [b"".join(bytes(p) + b"\xff" if p else b"\0\0\0\0" for p in row) for row in canvas.px]
    return png_file(canvas.size, 6, rows)


def png(canvas, scale):
    """An enlarged preview, transparent pixels on a checkerboard."""
    size = canvas.size * scale
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            p = canvas.px[y // scale][x // scale]
            if p is None:
                p = (204, 204, 204) if ((x // 4 + y // 4) % 2) else (240, 240, 240)
            row += bytes(p)
        rows.append(bytes(row))
    return png_file(size, 2, rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", metavar="DIR", help="also write PNG previews into DIR")
    args = parser.parse_args()

    app = [(draw_icon(32, True), 8), (draw_icon(16, False), 4), (draw_icon(32, False), 4)]
    about = [(draw_icon(48, True), 8), (draw_icon(48, False), 4)]
    setup = app + [(about[0][0], 8), (draw_icon(256, True), 32)]
    hand = draw_hand()

    outputs = {
        os.path.join(RESOURCES, "app.ico"): icon_file(app),
        os.path.join(RESOURCES, "about.ico"): icon_file(about),
        os.path.join(RESOURCES, "hand.cur"): cursor_file(hand, HAND_HOTSPOT),
        os.path.join(PACKAGING, "pendrel.ico"): icon_file(setup),
    }
    for path, data in outputs.items():
        with open(path, "wb") as out:
            out.write(data)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        previews = {
            "app32_256.png": app[0][0], "app16_16.png": app[1][0],
            "app32_16.png": app[2][0], "about48_256.png": about[0][0],
            "about48_16.png": about[1][0], "hand.png": hand, "setup256.png": setup[4][0],
        }
        for name, canvas in previews.items():
            with open(os.path.join(args.preview, name), "wb") as out:
                out.write(png(canvas, 256 // canvas.size * 2 if canvas.size < 32 else 8 if canvas.size <= 48 else 2))


if __name__ == "__main__":
    main()
