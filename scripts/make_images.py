#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw Korvane's built-in images and write them to resources/.

Everything is drawn pixel by pixel with the standard library only; PNGs are
written with zlib and struct.  The output is deterministic, so running the
script again reproduces the committed files byte for byte.

Images written:
  DefaultSkin.png   176 x 64 RGB  - 44 cell tiles of 16 x 16 (4 rows of 11)
  DefaultFont.png   156 x 23 RGB  - 12 glyphs of 13 x 23 (0-9, ':', '-')
  Faces.png          64 x 16 RGB  - 4 faces of the new-game button
  korvane-32.png     32 x 32 RGBA - program icon, small
  korvane-16.png     16 x 16 RGBA - program icon, smallest

Usage: scripts/make_images.py [output-directory]   (default: ../resources)
"""

import math
import os
import struct
import sys
import zlib


# ---------------------------------------------------------------------------
# Images and PNG output


def rgb(hex_colour):
    """'#RRGGBB' -> (r, g, b)."""
    h = hex_colour.lstrip('#')
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16))


class Image:
    def __init__(self, width, height, fill=(0, 0, 0), alpha=False):
        self.width = width
        self.height = height
        self.alpha = alpha
        if alpha and len(fill) == 3:
            fill = fill + (255,)
        self.pix = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            if self.alpha and len(colour) == 3:
                colour = colour + (255,)
            self.pix[y][x] = colour

    def get(self, x, y):
        return self.pix[y][x]

    def fill(self, x0, y0, x1, y1, colour):
        """Fill the rectangle x0..x1, y0..y1 (inclusive)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def paste(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.set(dx + x, dy + y, other.pix[y][x])

    def save_png(self, path):
        channels = 4 if self.alpha else 3
        raw = bytearray()
        for row in self.pix:
            raw.append(0)  # filter type: none
            for c in row:
                raw.extend(c[:channels])

        def chunk(tag, data):
            body = tag + data
            return (struct.pack('>I', len(data)) + body
                    + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF))

        colour_type = 6 if self.alpha else 2
        ihdr = struct.pack('>IIBBBBB', self.width, self.height, 8,
                           colour_type, 0, 0, 0)
        data = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
                + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
                + chunk(b'IEND', b''))
        with open(path, 'wb') as f:
            f.write(data)


def stamp(img, bitmap, dx, dy, palette, mask=None):
    """Draw a character bitmap.  Characters not in palette are skipped.
    mask(x, y) may veto single pixels (x, y in image coordinates)."""
    for j, line in enumerate(bitmap):
        for i, ch in enumerate(line):
            if ch in palette:
                x, y = dx + i, dy + j
                if mask is None or mask(x, y):
                    img.set(x, y, palette[ch])


# ---------------------------------------------------------------------------
# Cell tiles (16 x 16)

TILE = 16

GROUND = rgb('#C0C0C0')
GROUND_LINE = rgb('#808080')
WHITE = rgb('#FFFFFF')
BLACK = rgb('#000000')
DARK_GREY = rgb('#808080')
WALL_LIGHT = rgb('#D8D8D8')
WALL_SHADOW = rgb('#404040')
YELLOW = rgb('#FFFF00')
RED = rgb('#FF0000')

NUMBER_COLOURS = {
    1: rgb('#0000FF'),
    2: rgb('#008000'),
    3: rgb('#FF0000'),
    4: rgb('#000080'),
    5: rgb('#800000'),
    6: rgb('#008080'),
    7: rgb('#000000'),
    8: rgb('#808080'),
}

# Bold digits for the cells, 8 x 10, drawn at (4, 3) so that they sit in the
# middle of the tile (centre 7.5, 7.5).
DIGIT_X, DIGIT_Y = 4, 3
CELL_DIGITS = {
    1: ["...##...",
        "..###...",
        ".####...",
        "...##...",
        "...##...",
        "...##...",
        "...##...",
        "...##...",
        ".######.",
        ".######."],
    2: [".######.",
        "########",
        "##....##",
        "......##",
        "....####",
        "..####..",
        ".###....",
        "##......",
        "########",
        "########"],
    3: ["#######.",
        "########",
        "......##",
        "......##",
        "..#####.",
        "..#####.",
        "......##",
        "......##",
        "########",
        "#######."],
    4: ["....###.",
        "...####.",
        "..##.##.",
        ".##..##.",
        "##...##.",
        "########",
        "########",
        ".....##.",
        ".....##.",
        ".....##."],
    5: ["########",
        "########",
        "##......",
        "##......",
        "#######.",
        "########",
        "......##",
        "......##",
        "########",
        "#######."],
    6: [".######.",
        "########",
        "##......",
        "##......",
        "#######.",
        "########",
        "##....##",
        "##....##",
        "########",
        ".######."],
    7: ["########",
        "########",
        "......##",
        ".....###",
        "....###.",
        "...###..",
        "..###...",
        "..##....",
        "..##....",
        "..##...."],
    8: [".######.",
        "########",
        "##....##",
        "##....##",
        ".######.",
        ".######.",
        "##....##",
        "##....##",
        "########",
        ".######."],
}

QUESTION = [".######.",
            "########",
            "##....##",
            ".....###",
            "...####.",
            "...###..",
            "...##...",
            "........",
            "...##...",
            "...##..."]

# Bomb, 13 x 13, drawn at (2, 2): round body, eight spikes, white highlight.
BOMB = ["......#......",
        "......#......",
        "..#.#####.#..",
        "...#######...",
        "..#########..",
        "..##WW#####..",
        "####WW#######",
        "..#########..",
        "..#########..",
        "...#######...",
        "..#.#####.#..",
        "......#......",
        "......#......"]
BOMB_X, BOMB_Y = 2, 2

# Flag on its pole, drawn at (0, 0) over a button.
FLAG = ["................",
        "................",
        ".......RR.......",
        ".....RRRR.......",
        "...RRRRRR.......",
        "...RRRRRR.......",
        ".....RRRR.......",
        ".......RR.......",
        "........#.......",
        "........#.......",
        "......#####.....",
        "....#########...",
        "....#########...",
        "................",
        "................",
        "................"]


def draw_ground(img, ox, oy, checkered=False, colour=GROUND):
    """Flat opened ground: one-pixel darker line along top and left."""
    for y in range(TILE):
        for x in range(TILE):
            if x == 0 or y == 0:
                c = GROUND_LINE
            elif checkered and (x + y) % 2 == 0:
                c = DARK_GREY
            else:
                c = colour
            img.set(ox + x, oy + y, c)


def draw_raised(img, ox, oy, face, light, shadow, width=2):
    """A raised block: light top-left and dark bottom-right bevel."""
    n = TILE - 1
    for y in range(TILE):
        for x in range(TILE):
            near_tl = x < width or y < width
            near_br = x > n - width or y > n - width
            if near_tl and near_br:
                # the two mixed corners are split along the diagonal
                c = light if x + y < n else shadow
            elif near_tl:
                c = light
            elif near_br:
                c = shadow
            else:
                c = face
            img.set(ox + x, oy + y, c)


def draw_button(img, ox, oy):
    draw_raised(img, ox, oy, GROUND, WHITE, DARK_GREY, 2)


def draw_number(img, ox, oy, n, dotted=False, halo=None):
    if n == 0:
        return
    bitmap = CELL_DIGITS[n]
    if halo is not None:
        # a one-pixel ring of plain ground keeps the digit readable on the
        # checkered ground of opened walls
        for j, line in enumerate(bitmap):
            for i, ch in enumerate(line):
                if ch != '#':
                    continue
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        img.set(ox + DIGIT_X + i + dx, oy + DIGIT_Y + j + dy,
                                halo)
    mask = None
    if dotted:
        mask = lambda x, y: (x + y) % 2 == 1
    stamp(img, bitmap, ox + DIGIT_X, oy + DIGIT_Y,
          {'#': NUMBER_COLOURS[n]}, mask)


def draw_bomb(img, ox, oy):
    stamp(img, BOMB, ox + BOMB_X, oy + BOMB_Y, {'#': BLACK, 'W': WHITE})


def draw_question(img, ox, oy):
    stamp(img, QUESTION, ox + DIGIT_X, oy + DIGIT_Y, {'#': BLACK})


def draw_flag(img, ox, oy):
    stamp(img, FLAG, ox, oy, {'#': BLACK, 'R': RED})


def draw_cross(img, ox, oy):
    """A red X from corner to corner of the button face."""
    for i in range(2, 14):
        img.set(ox + i, oy + i, RED)
        img.set(ox + 15 - i, oy + i, RED)


def make_skin():
    img = Image(11 * TILE, 4 * TILE)

    def origin(index):
        return (index % 11) * TILE, (index // 11) * TILE

    # row 0: opened ground
    for n in range(9):
        ox, oy = origin(n)
        draw_ground(img, ox, oy)
        draw_number(img, ox, oy, n)
    ox, oy = origin(9)
    draw_ground(img, ox, oy, colour=YELLOW)
    draw_bomb(img, ox, oy)
    ox, oy = origin(10)
    draw_raised(img, ox, oy, DARK_GREY, WALL_LIGHT, WALL_SHADOW, 2)

    # row 1: opened walls
    for n in range(9):
        ox, oy = origin(11 + n)
        draw_ground(img, ox, oy, checkered=True)
        draw_number(img, ox, oy, n, halo=GROUND)
    ox, oy = origin(20)
    draw_button(img, ox, oy)
    draw_bomb(img, ox, oy)
    ox, oy = origin(21)
    draw_button(img, ox, oy)
    draw_flag(img, ox, oy)

    # row 2: covered cells
    for n in range(9):
        ox, oy = origin(22 + n)
        draw_button(img, ox, oy)
        draw_number(img, ox, oy, n, dotted=True)
    ox, oy = origin(31)
    draw_button(img, ox, oy)
    draw_bomb(img, ox, oy)
    ox, oy = origin(32)
    draw_button(img, ox, oy)
    draw_question(img, ox, oy)

    # row 3: wrong flags, flagged bomb, pressed mark
    for n in range(9):
        ox, oy = origin(33 + n)
        draw_button(img, ox, oy)
        draw_number(img, ox, oy, n, dotted=True)
        draw_cross(img, ox, oy)
    ox, oy = origin(42)
    draw_ground(img, ox, oy)
    draw_bomb(img, ox, oy)
    ox, oy = origin(43)
    draw_ground(img, ox, oy)
    draw_question(img, ox, oy)
    return img


# ---------------------------------------------------------------------------
# Display font (13 x 23 seven-segment glyphs)

GLYPH_W, GLYPH_H = 13, 23
LIT = rgb('#FF0000')
UNLIT = rgb('#800000')

# The segments of an "8": every digit lights some of them and shows the
# others unlit.  Segment ends are slanted and meet along thin diagonal gaps.
SEGMENTS = [".............",
            "..aaaaaaaaa..",
            ".f.aaaaaaa.b.",
            ".ff.aaaaa.bb.",
            ".fff.....bbb.",
            ".fff.....bbb.",
            ".fff.....bbb.",
            ".fff.....bbb.",
            ".fff.....bbb.",
            ".ff.......bb.",
            ".f.ggggggg.b.",
            "..ggggggggg..",
            ".e.ggggggg.c.",
            ".ee.......cc.",
            ".eee.....ccc.",
            ".eee.....ccc.",
            ".eee.....ccc.",
            ".eee.....ccc.",
            ".eee.....ccc.",
            ".ee.ddddd.cc.",
            ".e.ddddddd.c.",
            "..ddddddddd..",
            "............."]

DIGIT_SEGMENTS = {
    0: 'abcdef', 1: 'bc', 2: 'abdeg', 3: 'abcdg', 4: 'bcfg',
    5: 'acdfg', 6: 'acdefg', 7: 'abc', 8: 'abcdefg', 9: 'abcdfg',
}


def draw_segments(img, ox, lit):
    palette = {s: (LIT if s in lit else UNLIT) for s in 'abcdefg'}
    stamp(img, SEGMENTS, ox, 0, palette)


def make_font():
    img = Image(12 * GLYPH_W, GLYPH_H, BLACK)
    for d in range(10):
        draw_segments(img, d * GLYPH_W, DIGIT_SEGMENTS[d])
    # ':' two round dots, level with the middle of the upper and lower halves
    ox = 10 * GLYPH_W
    dot = ["###", "###", "###"]
    for cy in (7, 15):
        stamp(img, dot, ox + 5, cy - 1, {'#': LIT})
    # '-' the middle bar, the other segments unlit as in the digits
    draw_segments(img, 11 * GLYPH_W, 'g')
    return img


# ---------------------------------------------------------------------------
# Faces of the new-game button (16 x 16 on #800080)

FACE_BG = rgb('#800080')
FACE_PALETTE = {
    'K': rgb('#000000'),   # outline and features
    'Y': rgb('#FFFF00'),   # face
    'L': rgb('#FFFFA0'),   # highlight
    'S': rgb('#E0D000'),   # shade
    'R': rgb('#FF0000'),   # red mark
    'W': rgb('#FFFFFF'),   # glint
    'B': rgb('#40A0FF'),   # tear
}

FACE_BASE = [".....KKKKKK.....",
             "...KKYYYYYYKK...",
             "..KYYYYYYYYYYK..",
             ".KYLLYYYYYYYYYK.",
             ".KYLYYYYYYYYYYK.",
             "KYYYYYYYYYYYYYYK",
             "KYYYYYYYYYYYYYYK",
             "KYYYYYYYYYYYYYYK",
             "KYYYYYYYYYYYYYYK",
             "KYYYYYYYYYYYYYSK",
             "KYYYYYYYYYYYYYSK",
             ".KYYYYYYYYYYYSK.",
             ".KYYYYYYYYYYYSK.",
             "..KYYYYYYYYYSSK.",
             "...KKSSSSSSKK...",
             ".....KKKKKK....."]

# Features drawn over the base ('.' leaves the base as it is).
FACE_FEATURES = [
    # 0: smiling
    ["................",
     "................",
     "................",
     "................",
     "................",
     ".....K....K.....",
     ".....K....K.....",
     "................",
     "................",
     "...K........K...",
     "....K......K....",
     ".....KKKKKK.....",
     "................",
     "................",
     "................",
     "................"],
    # 1: "oh" - wide eyes and a red mark in the middle
    ["................",
     "................",
     "................",
     "................",
     "....KK....KK....",
     "....KK....KK....",
     "................",
     "................",
     "......KKKK......",
     ".....KRRRRK.....",
     ".....KRRRRK.....",
     "......KKKK......",
     "................",
     "................",
     "................",
     "................"],
    # 2: sad, with a tear
    ["................",
     "................",
     "................",
     "................",
     "................",
     ".....K....K.....",
     ".....K....K.....",
     ".....B..........",
     ".....B..........",
     "................",
     ".....KKKKKK.....",
     "....K......K....",
     "...K........K...",
     "................",
     "................",
     "................"],
    # 3: wearing dark glasses
    ["................",
     "................",
     "................",
     "................",
     ".KKKKKKKKKKKKKK.",
     "..KKKKK..KKKKK..",
     "..KWKKK..KWKKK..",
     "...KKK....KKK...",
     "................",
     "...K........K...",
     "....K......K....",
     ".....KKKKKK.....",
     "................",
     "................",
     "................",
     "................"],
]


def make_faces():
    img = Image(4 * 16, 16, FACE_BG)
    for i, features in enumerate(FACE_FEATURES):
        stamp(img, FACE_BASE, i * 16, 0, FACE_PALETTE)
        stamp(img, features, i * 16, 0, FACE_PALETTE)
    return img


# ---------------------------------------------------------------------------
# Program icon: a bomb on a raised cell.  The large sizes are drawn from
# shapes with supersampling; the 16 x 16 one is pixel art like the tiles.


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def icon_colour(u, v, size):
    """Colour (r, g, b) of the icon at (u, v) in the unit square, or None
    outside the cell.  Layers are painted back to front."""
    px = 1.0 / size                          # one pixel in unit lengths

    # the cell: a rounded square with a dark rim and a raised bevel
    margin = 0.03 if size > 32 else 0.0
    radius = 0.10
    half = 0.5 - margin - radius
    qx = max(abs(u - 0.5) - half, 0.0)
    qy = max(abs(v - 0.5) - half, 0.0)
    edge = math.hypot(qx, qy) - radius       # < 0 inside the cell
    if edge > 0:
        return None
    depth = -edge
    rim = max(0.014, px)
    bevel = max(0.085, rim + 2 * px)
    if depth < rim:
        colour = (56, 56, 56)
    elif depth < bevel:
        t = (depth - rim) / (bevel - rim)
        if u + v < 1.0:
            colour = mix((255, 255, 255), (236, 236, 236), t)
        else:
            colour = mix((112, 112, 112), (136, 136, 136), t)
    else:
        g = 184 + 22 * (1.0 - (u + v) / 2.0)
        colour = (g, g, g)

    # the bomb: eight spikes and a shaded round body with a highlight
    bx, by, br = 0.5, 0.5, 0.215
    for k in range(8):
        a = k * math.pi / 4
        ca, sa = math.cos(a), math.sin(a)
        along = (u - bx) * ca + (v - by) * sa
        across = abs((v - by) * ca - (u - bx) * sa)
        length = 0.345 if k % 2 == 0 else 0.30
        if size > 32:
            width = 0.034 * (1.2 - along / length)
        else:
            width = px                       # two whole pixels wide
        if 0 < along < length and across < width:
            colour = (12, 12, 16)
    if math.hypot(u - bx, v - by) < br:
        lx, ly = bx - 0.08, by - 0.08
        t = min(1.0, math.hypot(u - lx, v - ly) / (br * 1.45))
        colour = mix((92, 92, 100), (8, 8, 10), t)
        hd = math.hypot(u - (bx - 0.085), v - (by - 0.085))
        if hd < 0.045:
            colour = (255, 255, 255)
        elif hd < 0.07:
            colour = mix(colour, (255, 255, 255), (0.07 - hd) / 0.025 * 0.8)
    return colour


def make_icon(size, samples=8):
    img = Image(size, size, (0, 0, 0, 0), alpha=True)
    n = samples * samples
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) / size
                    v = (y + (sy + 0.5) / samples) / size
                    c = icon_colour(u, v, size)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += c[i]
            if covered:
                img.set(x, y, tuple(int(round(acc[i] / covered))
                                    for i in range(3))
                        + (int(round(255 * covered / n)),))
    return img


def make_small_icon():
    """16 x 16: the bomb of the tiles on a button with a narrow bevel."""
    img = Image(16, 16, GROUND, alpha=True)
    for y in range(16):
        for x in range(16):
            if x == 15 or y == 15:
                img.set(x, y, WALL_SHADOW)
            elif x == 14 or y == 14:
                img.set(x, y, DARK_GREY)
            elif x == 0 or y == 0:
                img.set(x, y, WHITE)
    stamp(img, BOMB, 1, 1, {'#': BLACK, 'W': WHITE})
    return img


# ---------------------------------------------------------------------------

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else \
        os.path.join(here, os.pardir, 'resources')
    os.makedirs(out, exist_ok=True)
    images = [
        ('DefaultSkin.png', make_skin()),
        ('DefaultFont.png', make_font()),
        ('Faces.png', make_faces()),
        ('korvane-32.png', make_icon(32)),
        ('korvane-16.png', make_small_icon()),
    ]
    for name, img in images:
        img.save_png(os.path.join(out, name))


if __name__ == '__main__':
    main()
