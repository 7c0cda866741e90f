#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw the skins, fonts and icons that ship beside Korvane.

Standard library only; the image class and PNG writer come from
make_images.py, which draws the built-in set.  Shapes are drawn from
geometry with supersampling, so edges are smooth at every tile size; the
smallest skin is pixel art.  The output is deterministic: running the script
again reproduces the committed files byte for byte.

Written:
  dist/Skins/Classic.png    176 x 64   the built-in skin, so that it can be chosen again
  dist/Fonts/Classic.png    156 x 23   the built-in font, likewise
  dist/Skins/Tiny.png        88 x 32   8 x 8 tiles, classic grey in miniature
  dist/Skins/Ocean.png      264 x 96   24 x 24 tiles, flat blue and teal
  dist/Skins/Large.png      352 x 128  32 x 32 tiles, wooden blocks on paper
  dist/Skins/Contrast.png   220 x 80   20 x 20 tiles, black, white and yellow
  dist/Fonts/Green LCD.png  156 x 23   13 x 23 glyphs, dark segments on green
  dist/Fonts/Large.png      240 x 36   20 x 36 glyphs, cyan light segments
  dist/Fonts/Small.png       96 x 15   8 x 15 glyphs, amber light segments
  dist/icons/hicolor/NxN/apps/korvane.png  for N = 16 32 48 64 128 256

A skin is 4 rows of 11 tiles; tile 11 * row + column pictures:
   0-8  opened cell with 0-8 bomb neighbours   9  bomb that was hit
  10    background: covered wall, margin      11-19 opened wall showing 0-8
  20    bomb not found, after a loss          21  flag
  22-30 covered cell, showing 0-8 after a game 31  bomb left covered, after a win
  32    question mark                         33-41 wrong flag (cross) over 0-8
  42    flag on a bomb, after a game          43  question mark held down
A font is one row of 12 glyphs: 0-9, ':' and '-'.

The icons are the built-in program icon (make_images.py) at the sizes a
desktop's icon theme asks for; 16, 32 and 256 equal the files in resources/.

Usage: scripts/make_sets.py [dist-directory]   (default: ../dist)
       KORVANE_ONLY=Ocean scripts/make_sets.py  draws only the files whose
       path contains the word ("icons" for the icons), for quick looks
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_images  # noqa: E402  (the built-in set's drawing helpers)

rgb = make_images.rgb


# ---------------------------------------------------------------------------
# A tile-sized canvas with blending, and shapes as inside-tests


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    """Float RGB pixels; shapes are blended in by their coverage."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pix = [[tuple(colour)] * width for _ in range(height)]

    def put(self, x, y, colour, alpha=1.0):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0:
            self.pix[y][x] = mix(self.pix[y][x], colour, min(alpha, 1.0))

    def get(self, x, y):
        return self.pix[y][x]

    def shade(self, fn):
        """Replace every pixel by fn(x, y, colour)."""
        for y in range(self.height):
            for x in range(self.width):
                self.pix[y][x] = fn(x, y, self.pix[y][x])

    def coverage(self, inside, box=None, ss=4):
        """{(x, y): covered fraction} of a shape; box limits the pixels."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), \
            min(self.height, int(math.ceil(y1)))
        cover = {}
        n = ss * ss
        offsets = [(i + 0.5) / ss for i in range(ss)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(x + ox, y + oy):
                            hits += 1
                if hits:
                    cover[(x, y)] = hits / n
        return cover

    def paint(self, cover, colour, dx=0, dy=0, alpha=1.0):
        for (x, y), a in cover.items():
            self.put(x + dx, y + dy, colour, a * alpha)

    def fill(self, inside, colour, box=None, alpha=1.0):
        self.paint(self.coverage(inside, box), colour, alpha=alpha)

    def to_image(self, img, ox, oy):
        for y in range(self.height):
            for x in range(self.width):
                img.set(ox + x, oy + y,
                        tuple(int(round(max(0, min(255, c))))
                              for c in self.pix[y][x]))


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        qx = max(x0 + r - x, x - (x1 - r), 0.0)
        qy = max(y0 + r - y, y - (y1 - r), 0.0)
        return qx * qx + qy * qy <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and \
                    x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def stroke(paths, half_width):
    """Round-capped lines along each path (a list of points)."""
    segments = []
    for path in paths:
        if len(path) == 1:
            segments.append((path[0], path[0]))
        segments.extend(zip(path, path[1:]))
    hw2 = half_width * half_width

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else \
                max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= hw2:
                return True
        return False
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def noise(x, y, seed=0):
    """Deterministic value in 0..1 for a pixel."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


# ---------------------------------------------------------------------------
# Digits and the question mark as centre lines on a 6 x 10 design grid


def arc(cx, cy, rx, ry, a0, a1, steps=28):
    """Points on an ellipse from angle a0 to a1 (degrees, clockwise on
    screen: 0 right, 90 down)."""
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]


def bezier(p0, p1, p2, steps=20):
    return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
             (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1])
            for t in (i / steps for i in range(steps + 1))]


def glyph_paths(ch):
    if ch == '1':
        return [[(1.0, 2.4), (3.6, 0.0), (3.6, 10.0)], [(1.2, 10.0), (6.0, 10.0)]]
    if ch == '2':
        top = arc(3.0, 3.0, 2.9, 3.0, 200, 380)
        return [top + [(0.0, 10.0), (6.0, 10.0)]]
    if ch == '3':
        return [arc(3.0, 2.5, 2.7, 2.5, 200, 450),
                arc(3.0, 7.5, 2.9, 2.5, 270, 520), [(1.8, 5.0), (3.0, 5.0)]]
    if ch == '4':
        return [[(4.4, 10.0), (4.4, 0.0), (0.0, 6.9), (6.0, 6.9)]]
    if ch == '5':
        bowl = arc(3.0, 6.9, 3.0, 3.1, 222, 512)
        return [[(5.7, 0.0), (1.0, 0.0), bowl[0]] + bowl]
    if ch == '6':
        return [bezier((5.3, 0.2), (0.0, 1.2), (0.05, 7.0)),
                arc(3.0, 7.0, 2.95, 3.0, 0, 360, 40)]
    if ch == '7':
        return [[(0.0, 0.0), (6.0, 0.0), (2.2, 10.0)]]
    if ch == '8':
        return [arc(3.0, 2.5, 2.45, 2.5, 0, 360, 36),
                arc(3.0, 7.45, 2.95, 2.55, 0, 360, 40)]
    if ch == '9':
        return [[(6.0 - x, 10.0 - y) for x, y in p] for p in glyph_paths('6')]
    if ch == '?':
        top = arc(3.0, 2.9, 2.8, 2.9, 195, 395)
        return [top + [(3.0, 6.1), (3.0, 7.0)], [(3.0, 9.7)]]
    raise ValueError(ch)


_glyph_cache = {}


def glyph_cover(ch, size, gw, gh, hw):
    """Coverage of character ch drawn with half stroke width hw so that its
    outer edges fill gw x gh pixels, centred in a size x size tile."""
    key = (ch, size, gw, gh, hw)
    if key not in _glyph_cache:
        ox = (size - gw) / 2 + hw
        oy = (size - gh) / 2 + hw
        sx = (gw - 2 * hw) / 6.0
        sy = (gh - 2 * hw) / 10.0
        paths = [[(ox + x * sx, oy + y * sy) for x, y in p]
                 for p in glyph_paths(ch)]
        c = Canvas(size, size, (0, 0, 0))
        box = ((size - gw) / 2 - 1, (size - gh) / 2 - 1,
               (size + gw) / 2 + 1, (size + gh) / 2 + 1)
        _glyph_cache[key] = c.coverage(stroke(paths, hw), box)
    return _glyph_cache[key]


def grow(cover, radius):
    """A halo: the coverage spread by radius pixels (max of neighbours)."""
    out = {}
    r = int(math.ceil(radius))
    for (x, y), a in cover.items():
        for dy in range(-r, r + 1):
            for dx in range(-r, r + 1):
                d = math.hypot(dx, dy)
                if d <= radius + 0.5:
                    w = a * min(1.0, radius + 0.5 - d + 0.5)
                    k = (x + dx, y + dy)
                    if w > out.get(k, 0.0):
                        out[k] = w
    return out


# ---------------------------------------------------------------------------
# Pieces shared by the smooth skins, sized from the tile


def bomb_shapes(t):
    """(body, glint) of a bomb in a t x t tile."""
    c = t / 2.0
    parts = [circle(c, c, 0.25 * t)]
    # eight spikes, the straight ones longer
    for k in range(8):
        a = math.radians(45 * k)
        length = 0.40 * t if k % 2 == 0 else 0.34 * t
        tip = (c + length * math.cos(a), c + length * math.sin(a))
        parts.append(stroke([[(c, c), tip]], 0.045 * t + 0.25))
    body = union(*parts)
    glint = circle(c - 0.09 * t, c - 0.09 * t, 0.065 * t + 0.3)
    return body, glint


def draw_bomb(cv, t, colour, glint_colour, shadow=None):
    body, glint = bomb_shapes(t)
    if shadow is not None:
        cv.paint(cv.coverage(body), shadow[0], 1, 1, shadow[1])
    cv.fill(body, colour)
    # the glint fades towards its rim
    c = t / 2.0
    gx, gy = c - 0.09 * t, c - 0.09 * t
    rr = 0.11 * t
    for y in range(t):
        for x in range(t):
            d = math.hypot(x + 0.5 - gx, y + 0.5 - gy)
            if d < rr:
                cv.put(x, y, glint_colour, 0.85 * (1 - d / rr) ** 0.8)
    cv.fill(glint, glint_colour, alpha=0.9)


def flag_shapes(t):
    """(cloth, pole, foot) of a flag in a t x t tile."""
    cloth = polygon([(0.58 * t, 0.13 * t), (0.58 * t, 0.54 * t),
                     (0.13 * t, 0.335 * t)])
    pole = rect(0.55 * t, 0.13 * t, 0.55 * t + max(1.0, 0.08 * t), 0.76 * t)
    foot = rounded_rect(0.27 * t, 0.72 * t, 0.87 * t, 0.84 * t, 0.05 * t)
    return cloth, pole, foot


def draw_flag(cv, t, cloth_colour, pole_colour, shadow=None):
    cloth, pole, foot = flag_shapes(t)
    if shadow is not None:
        cv.paint(cv.coverage(union(cloth, pole, foot)), shadow[0], 1, 1,
                 shadow[1])
    cv.fill(pole, pole_colour)
    cv.fill(foot, pole_colour)
    cv.fill(cloth, cloth_colour)


def draw_cross(cv, t, colour, outline=None):
    a, b = 0.2 * t, 0.8 * t
    lines = [[(a, a), (b, b)], [(b, a), (a, b)]]
    hw = 0.055 * t + 0.35
    if outline is not None:
        cv.fill(stroke(lines, hw + max(1.0, 0.03 * t)), outline)
    cv.fill(stroke(lines, hw), colour)


class Style:
    """What a smooth skin is made of; subclasses draw the five surfaces."""
    tile = 24
    glyph = (11, 16, 1.35)   # width, height, half stroke width
    numbers = {}
    wall_halo = None

    def opened(self, cv):
        raise NotImplementedError

    def covered(self, cv):
        raise NotImplementedError

    def background(self, cv):
        raise NotImplementedError

    def opened_wall(self, cv):
        raise NotImplementedError

    def hit(self, cv):
        raise NotImplementedError

    def bomb(self, cv):
        raise NotImplementedError

    def flag(self, cv, correct=False):
        raise NotImplementedError

    def cross(self, cv):
        raise NotImplementedError

    def covered_number(self, cv, n):
        raise NotImplementedError

    def covered_mark(self, cv):
        raise NotImplementedError

    def pressed_mark(self, cv):
        raise NotImplementedError

    def number(self, cv, n, halo=None):
        if n == 0:
            return
        gw, gh, hw = self.glyph
        cover = glyph_cover(str(n), self.tile, gw, gh, hw)
        if halo is not None:
            cv.paint(grow(cover, max(1.0, hw * 0.8)), halo)
        cv.paint(cover, self.numbers[n])

    def mark(self, cv, colour, shadow=None):
        gw, gh, hw = self.glyph
        cover = glyph_cover('?', self.tile, gw, gh, hw)
        if shadow is not None:
            cv.paint(cover, shadow[0], 1, 1, shadow[1])
        cv.paint(cover, colour)


def make_smooth_skin(style):
    t = style.tile
    img = make_images.Image(11 * t, 4 * t)

    def tile(index, draw):
        cv = Canvas(t, t, (0, 0, 0))
        draw(cv)
        cv.to_image(img, (index % 11) * t, (index // 11) * t)

    def seq(*steps):
        def draw(cv):
            for s in steps:
                s(cv)
        return draw

    for n in range(9):
        tile(n, seq(style.opened, lambda cv, n=n: style.number(cv, n)))
        tile(11 + n, seq(style.opened_wall,
                         lambda cv, n=n: style.number(cv, n, style.wall_halo)))
        tile(22 + n, seq(style.covered,
                         lambda cv, n=n: style.covered_number(cv, n)))
        # the cross goes under the number, which stays readable
        tile(33 + n, seq(style.covered, style.cross,
                         lambda cv, n=n: style.covered_number(cv, n)))
    tile(9, seq(style.hit, style.bomb))
    tile(10, style.background)
    tile(20, seq(style.opened, style.bomb))
    tile(21, seq(style.covered, style.flag))
    tile(31, seq(style.covered, style.bomb))
    tile(32, seq(style.covered, style.covered_mark))
    tile(42, seq(style.covered, lambda cv: style.flag(cv, correct=True)))
    tile(43, seq(style.opened, style.pressed_mark))
    return img


# ---------------------------------------------------------------------------
# Ocean: flat rounded tiles in teal on a deep blue board, pale opened cells


class Ocean(Style):
    tile = 24
    glyph = (11, 16, 1.45)
    BOARD = rgb('#0B2545')
    BOARD_WAVE = rgb('#133A63')
    GROUT = rgb('#0F2F52')
    FACE = rgb('#2C8FB0')
    FACE_TOP = rgb('#56B4D3')
    FACE_BOTTOM = rgb('#1F6F8B')
    OPEN = rgb('#E9F4F8')
    OPEN_LINE = rgb('#BFD8E3')
    WALL = rgb('#AFC6D4')
    WALL_STRIPE = rgb('#9DB6C6')
    WHITE = rgb('#FFFFFF')
    INK = rgb('#0B2545')
    CORAL = rgb('#FF6B5B')
    HIT = rgb('#F2545B')
    GREEN = rgb('#3DDC97')
    numbers = {
        1: rgb('#1565D8'), 2: rgb('#23964A'), 3: rgb('#E0303F'),
        4: rgb('#5B2DB5'), 5: rgb('#B04A1E'), 6: rgb('#0A8F8F'),
        7: rgb('#1B2430'), 8: rgb('#6E7C88'),
    }
    wall_halo = rgb('#E3EEF3')

    def opened(self, cv):
        cv.shade(lambda x, y, c: self.OPEN_LINE if x == 0 or y == 0
                 else self.OPEN)

    def covered(self, cv):
        t = self.tile
        cv.shade(lambda x, y, c: self.GROUT)
        cv.fill(rounded_rect(1, 1, t - 1, t - 1, 4.5), self.FACE_BOTTOM)
        cv.fill(rounded_rect(1, 1, t - 1, t - 2.5, 4.5), self.FACE_TOP)
        cv.fill(rounded_rect(1, 2.5, t - 1, t - 2.5, 4.0), self.FACE)

    def background(self, cv):
        # a quiet wave pattern that runs on from tile to tile
        t = self.tile

        def wave(x, y, c):
            v = math.sin((x + 0.5) * 2 * math.pi / t) * 1.6
            d = ((y + 0.5 + v) % 8.0)
            a = max(0.0, 1.0 - abs(d - 4.0) / 1.1)
            return mix(self.BOARD, self.BOARD_WAVE, a)
        cv.shade(wave)

    def opened_wall(self, cv):
        cv.shade(lambda x, y, c: self.OPEN_LINE if x == 0 or y == 0 else (
            self.WALL_STRIPE if (x + y) % 6 < 2 else self.WALL))

    def hit(self, cv):
        cv.shade(lambda x, y, c: self.HIT)

    def bomb(self, cv):
        draw_bomb(cv, self.tile, self.INK, self.WHITE)

    def flag(self, cv, correct=False):
        draw_flag(cv, self.tile, self.GREEN if correct else self.CORAL,
                  self.WHITE, shadow=(self.FACE_BOTTOM, 0.9))

    def cross(self, cv):
        draw_cross(cv, self.tile, self.CORAL)

    def covered_number(self, cv, n):
        if n:
            cover = glyph_cover(str(n), self.tile, *self.glyph)
            cv.paint(cover, self.FACE_BOTTOM, 1, 1, 0.8)
            cv.paint(cover, self.WHITE, alpha=0.85)

    def covered_mark(self, cv):
        self.mark(cv, self.WHITE, shadow=(self.FACE_BOTTOM, 0.9))

    def pressed_mark(self, cv):
        self.mark(cv, self.INK)


# ---------------------------------------------------------------------------
# Large: oak blocks with a bevel, cream paper underneath, a walnut board


class Wood(Style):
    tile = 32
    glyph = (14, 21, 1.9)
    OAK = rgb('#C38E55')
    OAK_DARK = rgb('#A2703E')
    OAK_LIGHT = rgb('#E5BC85')
    OAK_SHADOW = rgb('#6B4523')
    WALNUT = rgb('#4B2E1B')
    WALNUT_DARK = rgb('#35200F')
    WALNUT_LIGHT = rgb('#6A452B')
    PAPER = rgb('#F4EBD6')
    PAPER_FIBRE = rgb('#E6D9BC')
    PAPER_LINE = rgb('#C7B48E')
    KRAFT = rgb('#D6BE92')
    KRAFT_HATCH = rgb('#BFA274')
    BURN = rgb('#4A2A12')
    RED_INK = rgb('#C0392B')
    HIT = rgb('#E05A47')
    IRON = rgb('#1E1E22')
    GREEN = rgb('#2E8B3E')
    CLOTH = rgb('#D8281C')
    numbers = {
        1: rgb('#1F4FA8'), 2: rgb('#2B7A30'), 3: rgb('#C3261F'),
        4: rgb('#23307E'), 5: rgb('#83290C'), 6: rgb('#00756A'),
        7: rgb('#1C1C1C'), 8: rgb('#5C5C5C'),
    }
    wall_halo = rgb('#E9DCBF')

    def grain(self, x, y, seed, base, dark):
        """Wavy streaks along the plank."""
        w = math.sin(x * 0.19 + seed) * 2.2 + math.sin(x * 0.07 + seed * 2) * 3
        v = math.sin((y + w) * 1.05 + seed * 5) * 0.5 + 0.5
        v = v ** 6 * 0.55 + noise(x, y, seed) * 0.12
        return mix(base, dark, v)

    def paper(self, x, y, base):
        v = noise(x, y, 7)
        return mix(base, self.PAPER_FIBRE, 0.7) if v > 0.93 else base

    def opened(self, cv):
        cv.shade(lambda x, y, c: self.PAPER_LINE if x == 0 or y == 0
                 else self.paper(x, y, self.PAPER))

    def covered(self, cv):
        t = self.tile
        n = t - 1
        bevel = 3

        def block(x, y, c):
            face = self.grain(x, y, 3, self.OAK, self.OAK_DARK)
            tl = x < bevel or y < bevel
            br = x > n - bevel or y > n - bevel
            if tl and br:
                tl = x + y < n
            if x == n or y == n:
                return self.OAK_SHADOW
            if tl:
                return mix(self.OAK_LIGHT, face, 0.25 * min(x, y) / bevel)
            if br:
                return mix(self.OAK_SHADOW, self.OAK_DARK, 0.5)
            return face
        cv.shade(block)

    def background(self, cv):
        t = self.tile

        def board(x, y, c):
            v = self.grain(x, y, 11, self.WALNUT, self.WALNUT_DARK)
            # a plank joint every half tile, so the board reads as boards
            if y % (t // 2) == 0:
                return self.WALNUT_DARK
            if y % (t // 2) == 1:
                return mix(v, self.WALNUT_LIGHT, 0.6)
            return v
        cv.shade(board)

    def opened_wall(self, cv):
        def hatch(x, y, c):
            if x == 0 or y == 0:
                return self.PAPER_LINE
            c = self.paper(x, y, self.KRAFT)
            if (x + y) % 5 == 0 or (x - y) % 5 == 0:
                c = mix(c, self.KRAFT_HATCH, 0.8)
            return c
        cv.shade(hatch)

    def hit(self, cv):
        cv.shade(lambda x, y, c: self.PAPER_LINE if x == 0 or y == 0
                 else self.HIT)

    def bomb(self, cv):
        draw_bomb(cv, self.tile, self.IRON, rgb('#F0F0F0'),
                  shadow=((0, 0, 0), 0.25))

    def flag(self, cv, correct=False):
        draw_flag(cv, self.tile, self.GREEN if correct else self.CLOTH,
                  self.BURN, shadow=((0, 0, 0), 0.3))

    def cross(self, cv):
        draw_cross(cv, self.tile, self.RED_INK, outline=self.PAPER)

    def covered_number(self, cv, n):
        # burnt into the wood, with a light edge below right
        if n:
            cover = glyph_cover(str(n), self.tile, *self.glyph)
            cv.paint(cover, self.OAK_LIGHT, 1, 1, 0.9)
            cv.paint(cover, self.BURN, alpha=0.9)

    def covered_mark(self, cv):
        gw, gh, hw = self.glyph
        cover = glyph_cover('?', self.tile, gw, gh, hw)
        cv.paint(cover, self.OAK_LIGHT, 1, 1, 0.9)
        cv.paint(cover, self.BURN)

    def pressed_mark(self, cv):
        self.mark(cv, rgb('#2B2B2B'))


# ---------------------------------------------------------------------------
# Contrast: white raised cells on black, bold numbers, yellow flags


class Contrast(Style):
    tile = 20
    glyph = (10, 14, 1.55)
    BLACK = rgb('#000000')
    WHITE = rgb('#FFFFFF')
    GREY = rgb('#7A7A7A')
    LIGHT = rgb('#E6E6E6')
    YELLOW = rgb('#FFD400')
    RED = rgb('#FF2020')
    GREEN = rgb('#00C853')
    # bright enough on black: the classic hues, lightened
    numbers = {
        1: rgb('#4DA3FF'), 2: rgb('#00A000'), 3: rgb('#FF0000'),
        4: rgb('#D070FF'), 5: rgb('#FF8A3D'), 6: rgb('#20D0D0'),
        7: rgb('#FFFFFF'), 8: rgb('#B0B0B0'),
    }
    wall_halo = rgb('#000000')

    def opened(self, cv):
        cv.shade(lambda x, y, c: self.GREY if x == 0 or y == 0
                 else self.BLACK)

    def covered(self, cv):
        t = self.tile
        cv.shade(lambda x, y, c: self.BLACK)
        cv.fill(rounded_rect(1, 1, t - 1, t - 1, 2.5), self.LIGHT)
        cv.fill(rounded_rect(2, 2, t - 2, t - 2, 2.0), self.WHITE)

    def background(self, cv):
        cv.shade(lambda x, y, c: self.GREY if (x // 2 + y // 2) % 2 == 0
                 and (x + y) % 2 == 0 else rgb('#303030'))

    def opened_wall(self, cv):
        cv.shade(lambda x, y, c: self.GREY if x == 0 or y == 0 else (
            rgb('#3A3A3A') if (x + y) % 4 == 0 else rgb('#181818')))

    def hit(self, cv):
        cv.shade(lambda x, y, c: self.RED)

    def bomb(self, cv):
        # a black bomb on white cells, a white one on black ground
        body, glint = bomb_shapes(self.tile)
        under = cv.get(self.tile // 2, self.tile // 2)
        dark = sum(under) < 300
        cv.fill(body, self.WHITE if dark else self.BLACK)
        cv.fill(glint, self.BLACK if dark else self.WHITE)

    def flag(self, cv, correct=False):
        draw_flag(cv, self.tile, self.GREEN if correct else self.RED,
                  self.BLACK)

    def cross(self, cv):
        draw_cross(cv, self.tile, self.RED, outline=self.BLACK)

    def covered_number(self, cv, n):
        if n:
            cv.paint(glyph_cover(str(n), self.tile, *self.glyph), self.GREY)

    def covered_mark(self, cv):
        self.mark(cv, self.BLACK)

    def pressed_mark(self, cv):
        self.mark(cv, self.YELLOW)



# ---------------------------------------------------------------------------
# Tiny: the classic grey look in 8 x 8 pixel art


TINY_DIGITS = {
    1: [".#.", "##.", ".#.", ".#.", "###"],
    2: ["###", "..#", "###", "#..", "###"],
    3: ["###", "..#", ".##", "..#", "###"],
    4: ["#.#", "#.#", "###", "..#", "..#"],
    5: ["###", "#..", "###", "..#", "###"],
    6: ["###", "#..", "###", "#.#", "###"],
    7: ["###", "..#", "..#", ".#.", ".#."],
    8: ["###", "#.#", "###", "#.#", "###"],
}
TINY_QUESTION = ["##.", "..#", ".#.", "...", ".#."]
TINY_BOMB = ["#.#.#",
             ".W##.",
             "#####",
             ".###.",
             "#.#.#"]
TINY_FLAG = [".RRR#.",
             "RRRR#.",
             ".RRR#.",
             "....#.",
             "...###"]


def make_tiny_skin():
    t = 8
    grey = rgb('#C0C0C0')
    line = rgb('#8A8A8A')
    white = rgb('#FFFFFF')
    shadow = rgb('#7B7B7B')
    black = rgb('#000000')
    red = rgb('#E00000')
    green = rgb('#00A000')
    colours = {1: rgb('#0000F0'), 2: rgb('#007B00'), 3: rgb('#E00000'),
               4: rgb('#00007B'), 5: rgb('#7B0000'), 6: rgb('#007B7B'),
               7: rgb('#000000'), 8: rgb('#6A6A6A')}
    img = make_images.Image(11 * t, 4 * t)

    def origin(i):
        return (i % 11) * t, (i // 11) * t

    def ground(i, face=grey, pattern=False):
        ox, oy = origin(i)
        for y in range(t):
            for x in range(t):
                c = line if x == 0 or y == 0 else face
                if pattern and x and y and (x + y) % 2 == 0:
                    c = rgb('#A4A4A4')
                img.set(ox + x, oy + y, c)

    def button(i):
        ox, oy = origin(i)
        for y in range(t):
            for x in range(t):
                if x == t - 1 or y == t - 1:
                    c = shadow
                elif x == 0 or y == 0:
                    c = white
                else:
                    c = grey
                img.set(ox + x, oy + y, c)

    def put(i, bitmap, dx, dy, palette):
        ox, oy = origin(i)
        make_images.stamp(img, bitmap, ox + dx, oy + dy, palette)

    def number(i, n, colour=None, dx=3, dy=2):
        if n:
            put(i, TINY_DIGITS[n], dx, dy, {'#': colour or colours[n]})

    def muted(n):
        return tuple(int(round(v)) for v in mix(colours[n], grey, 0.45))

    for n in range(9):
        ground(n)
        number(n, n)
        ground(11 + n, pattern=True)
        if n:
            # a plain patch behind the digit keeps it readable
            ox, oy = origin(11 + n)
            img.fill(ox + 2, oy + 1, ox + 6, oy + 7, grey)
        number(11 + n, n)
        button(22 + n)
        number(22 + n, n, muted(n) if n else None, 2, 1)
        button(33 + n)
        ox, oy = origin(33 + n)
        for k in range(1, 7):
            img.set(ox + k, oy + k, red)
            img.set(ox + 7 - k, oy + k, red)
        number(33 + n, n, muted(n) if n else None, 2, 1)
    bomb = {'#': black, 'W': white}
    ground(9, face=red)
    put(9, TINY_BOMB, 2, 2, bomb)
    ox, oy = origin(10)
    for y in range(t):
        for x in range(t):
            img.set(ox + x, oy + y, rgb('#6E6E6E') if (x + y) % 2
                    else rgb('#5A5A5A'))
    ground(20)
    put(20, TINY_BOMB, 2, 2, bomb)
    button(21)
    put(21, TINY_FLAG, 1, 1, {'#': black, 'R': red})
    button(31)
    put(31, TINY_BOMB, 1, 1, bomb)
    button(32)
    put(32, TINY_QUESTION, 2, 1, {'#': black})
    button(42)
    put(42, TINY_FLAG, 1, 1, {'#': black, 'R': green})
    ground(43)
    put(43, TINY_QUESTION, 3, 2, {'#': black})
    return img


# ---------------------------------------------------------------------------
# Seven-segment fonts


def segment_shapes(w, h, margin_x, margin_y, thick, gap):
    """Hexagonal segments a-g of a w x h glyph, as inside-tests.  Their
    pointed ends meet where the centre lines cross, gap apart."""
    ht = thick / 2.0
    left, right = margin_x + ht, w - margin_x - ht
    top, bottom = margin_y + ht, h - margin_y - ht
    middle = h / 2.0

    def horizontal(yc):
        a, b = left + gap, right - gap
        return polygon([(a, yc), (a + ht, yc - ht), (b - ht, yc - ht),
                        (b, yc), (b - ht, yc + ht), (a + ht, yc + ht)])

    def vertical(xc, ya, yb):
        a, b = ya + gap, yb - gap
        return polygon([(xc, a), (xc + ht, a + ht), (xc + ht, b - ht),
                        (xc, b), (xc - ht, b - ht), (xc - ht, a + ht)])

    return {
        'a': horizontal(top), 'g': horizontal(middle), 'd': horizontal(bottom),
        'f': vertical(left, top, middle), 'b': vertical(right, top, middle),
        'e': vertical(left, middle, bottom), 'c': vertical(right, middle, bottom),
    }


DIGIT_SEGMENTS = make_images.DIGIT_SEGMENTS


def make_segment_font(w, h, margin_x, margin_y, thick, gap, background,
                      lit, unlit, shadow=None, glow=None, dot=None):
    """Twelve glyphs of w x h in one row: 0-9, ':' and '-'.  shadow is a
    (colour, alpha) cast one pixel down and right by lit segments, as on a
    liquid-crystal display; glow a (colour, alpha) halo around them."""
    shapes = segment_shapes(w, h, margin_x, margin_y, thick, gap)
    covers = {}
    for name, shape in shapes.items():
        c = Canvas(w, h, (0, 0, 0))
        covers[name] = c.coverage(shape, ss=5)
    img = make_images.Image(12 * w, h)

    def glyph(index, on, extra=None):
        cv = Canvas(w, h, background)
        for name in 'abcdefg':
            if name not in on:
                cv.paint(covers[name], unlit)
        lit_cover = {}
        for name in on:
            for k, a in covers[name].items():
                lit_cover[k] = min(1.0, lit_cover.get(k, 0.0) + a)
        if extra:
            for k, a in extra.items():
                lit_cover[k] = min(1.0, lit_cover.get(k, 0.0) + a)
        if glow is not None:
            cv.paint(grow(lit_cover, 1.0), glow[0], alpha=glow[1])
        if shadow is not None:
            cv.paint(lit_cover, shadow[0], 1, 1, shadow[1])
        cv.paint(lit_cover, lit)
        cv.to_image(img, index * w, 0)

    for d in range(10):
        glyph(d, DIGIT_SEGMENTS[d])
    # ':' two round dots level with the middles of the upper and lower halves
    r = dot or thick * 0.62
    cx = w / 2.0
    c = Canvas(w, h, (0, 0, 0))
    quarter = (h / 2.0 - margin_y) / 2.0
    dots = c.coverage(union(circle(cx, margin_y + quarter + thick / 4, r),
                            circle(cx, h - margin_y - quarter - thick / 4, r)),
                      ss=5)
    glyph(10, '', dots)
    glyph(11, 'g')
    return img


def make_green_lcd():
    return make_segment_font(
        13, 23, 1.0, 1.0, 2.6, 0.6,
        background=rgb('#A7C13C'), lit=rgb('#1C2A0C'), unlit=rgb('#9AB336'),
        shadow=(rgb('#7F9A2A'), 0.8))


def make_large_font():
    return make_segment_font(
        20, 36, 2.0, 2.0, 4.2, 0.9,
        background=rgb('#04080F'), lit=rgb('#4FD8FF'), unlit=rgb('#0C1D2A'),
        glow=(rgb('#1B6E8C'), 0.55))


# The small font is pixel art: at 8 pixels a glyph, smooth edges only blur.
SMALL_SEGMENTS = ["........",
                  "..aaaa..",
                  ".f.aa.b.",
                  ".ff..bb.",
                  ".ff..bb.",
                  ".ff..bb.",
                  ".f.gg.b.",
                  "..gggg..",
                  ".e.gg.c.",
                  ".ee..cc.",
                  ".ee..cc.",
                  ".ee..cc.",
                  ".e.dd.c.",
                  "..dddd..",
                  "........"]
SMALL_COLON = ["........",
               "........",
               "........",
               "........",
               "...##...",
               "...##...",
               "........",
               "........",
               "........",
               "...##...",
               "...##...",
               "........",
               "........",
               "........",
               "........"]


def make_small_font():
    w, h = 8, len(SMALL_SEGMENTS)
    background = rgb('#0A0600')
    lit, unlit = rgb('#FFB020'), rgb('#33220A')
    img = make_images.Image(12 * w, h, background)
    for index in range(12):
        on = DIGIT_SEGMENTS.get(index, 'g' if index == 11 else '')
        palette = {s: (lit if s in on else unlit) for s in 'abcdefg'}
        if index == 10:
            palette = {s: unlit for s in 'abcdefg'}
        make_images.stamp(img, SMALL_SEGMENTS, index * w, 0, palette)
        if index == 10:
            make_images.stamp(img, SMALL_COLON, index * w, 0, {'#': lit})
    return img


# ---------------------------------------------------------------------------


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else \
        os.path.join(here, os.pardir, 'dist')
    skins = os.path.join(out, 'Skins')
    fonts = os.path.join(out, 'Fonts')
    os.makedirs(skins, exist_ok=True)
    os.makedirs(fonts, exist_ok=True)
    images = [
        # The built-in look as files too, so that the menus lead back to it.
        (os.path.join(skins, 'Classic.png'), make_images.make_skin),
        (os.path.join(fonts, 'Classic.png'), make_images.make_font),
        (os.path.join(skins, 'Tiny.png'), make_tiny_skin),
        (os.path.join(skins, 'Ocean.png'), lambda: make_smooth_skin(Ocean())),
        (os.path.join(skins, 'Large.png'), lambda: make_smooth_skin(Wood())),
        (os.path.join(skins, 'Contrast.png'),
         lambda: make_smooth_skin(Contrast())),
        (os.path.join(fonts, 'Green LCD.png'), make_green_lcd),
        (os.path.join(fonts, 'Large.png'), make_large_font),
        (os.path.join(fonts, 'Small.png'), make_small_font),
    ]
    only = os.environ.get('KORVANE_ONLY')
    for path, make in images:
        if only and only not in path:
            continue
        make().save_png(path)
    if not only or only == 'icons':
        for size in (16, 32, 48, 64, 128, 256):
            folder = os.path.join(out, 'icons', 'hicolor',
                                  '%dx%d' % (size, size), 'apps')
            os.makedirs(folder, exist_ok=True)
            if size == 16:
                icon = make_images.make_small_icon()
            else:
                icon = make_images.make_icon(size, 4 if size > 64 else 8)
            icon.save_png(os.path.join(folder, 'korvane.png'))


if __name__ == '__main__':
    main()
