#!/usr/bin/env python3
"""Draws Quon's skin bitmaps, icons and credits picture into this folder (standard library only).

Run it from anywhere: python3 src/res/art/make_art.py. The outputs are committed beside it.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# --- Colours -------------------------------------------------------------------------------------

RED = (255, 0, 0)
GREEN = (0, 255, 0)
SKIN_GROUND = (215, 215, 248)  # the player window's background
SKIN_BAND = (190, 190, 255)  # the colour of the player's bars
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# The skin bitmaps are 16-colour pictures: one palette holding every colour they use.
SKIN_PALETTE = [
    BLACK, WHITE, RED, GREEN, SKIN_GROUND, SKIN_BAND, (128, 0, 0), (0, 128, 0),
    (0, 0, 128), (128, 128, 0), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (255, 255, 0),
]

# --- A small pixel font ------------------------------------------------------------------------
# Seven rows; capitals and ascenders use all of them, small letters the lower five.

GLYPHS = {
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "E": ["####", "#...", "#...", "###.", "#...", "#...", "####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "R": ["###.", "#..#", "#..#", "###.", "#.#.", "#..#", "#..#"],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "d": ["...#", "...#", ".###", "#..#", "#..#", "#..#", ".###"],
    "e": ["....", "....", ".##.", "#..#", "####", "#...", ".###"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    "n": ["....", "....", "###.", "#..#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###"],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}
FONT_HEIGHT = 7


def text_width(text):
    return sum(len(GLYPHS[ch][0]) for ch in text) + len(text) - 1


def draw_text(pixels, text, left, top, colour):
    x = left
    for ch in text:
        rows = GLYPHS[ch]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "#":
                    pixels[top + dy][x + dx] = colour
        x += len(rows[0]) + 1


# --- File writers ------------------------------------------------------------------------------


def write_bmp4(path, pixels, palette):
    """A 16-colour bottom-up BMP; every pixel colour must be in the palette."""
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, colour in enumerate(row):
            index = palette.index(colour)
            line[x // 2] |= index << (0 if x % 2 else 4)
        body += line
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(body), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + colours + body)


def write_bmp24(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 24 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def icon_image(canvas):
    """One 32-bit icon image: header, bottom-up BGRA colour rows, then the AND mask."""
    size = canvas.size
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        line = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = canvas.rgba(x, y)
            colour += bytes((b, g, r, a))
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return info + colour + mask


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.size % 256, canvas.size % 256, 0, 0, 1, 32,
                           len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


# --- An anti-aliased canvas for the icons and the credits picture --------------------------------
# Shapes are inside-tests on continuous coordinates given in a 32-unit design space; each pixel
# takes 4 x 4 samples, so one design serves both icon sizes.

SAMPLES = [(i + 0.5) / 4 for i in range(4)]


class Canvas:
    def __init__(self, size, design=32.0, ground=None, height=None):
        self.size = size
        self.width = size
        self.height = height or size
        self.scale = size / design
        fill = (ground[0], ground[1], ground[2], 1.0) if ground else (0, 0, 0, 0.0)
        self.px = [[list(fill) for _ in range(self.width)] for _ in range(self.height)]

    def fill(self, inside, colour):
        """Paints colour over every pixel in proportion to how much of it inside() covers."""
        r, g, b = colour
        for y in range(self.height):
            for x in range(self.width):
                hits = 0
                for sy in SAMPLES:
                    for sx in SAMPLES:
                        if inside((x + sx) / self.scale, (y + sy) / self.scale):
                            hits += 1
                if hits:
                    self._blend(x, y, (r, g, b), hits / 16.0)

    def _blend(self, x, y, colour, cover):
        dst = self.px[y][x]
        out_a = cover + dst[3] * (1 - cover)
        for i in range(3):
            dst[i] = (colour[i] * cover + dst[i] * dst[3] * (1 - cover)) / out_a
        dst[3] = out_a

    def rgba(self, x, y):
        r, g, b, a = self.px[y][x]
        return int(round(r)), int(round(g)), int(round(b)), int(round(a * 255))

    def rgb_rows(self):
        return [[self.rgba(x, y)[:3] for x in range(self.width)] for y in range(self.height)]


def disc(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def ellipse(cx, cy, rx, ry, turn=0.0):
    c, s = math.cos(turn), math.sin(turn)

    def inside(x, y):
        u = (x - cx) * c + (y - cy) * s
        v = -(x - cx) * s + (y - cy) * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1

    return inside


def box(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit

    return inside


def segment(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2

    return inside


def arc(cx, cy, radius, width, start, end):
    """A stroke along a circle from angle start to end (degrees, counter-clockwise, y up)."""

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) > width / 2:
            return False
        angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (angle - start) % 360 <= (end - start) % 360

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# --- Skin bitmaps --------------------------------------------------------------------------------


def label_bitmap(width, height, text, ground, band_rows=0, top=None):
    pixels = [[ground] * width for _ in range(height)]
    for y in range(height - band_rows, height):
        pixels[y] = [SKIN_BAND] * width
    free = height - band_rows
    if top is None:
        top = (free - FONT_HEIGHT) // 2
    left = (width - text_width(text) + 1) // 2
    draw_text(pixels, text, left, top, RED)
    return pixels


def make_skin():
    bitmaps = {
        "skin_quon.bmp": label_bitmap(21, 13, "Quon", GREEN),
        "skin_eq.bmp": label_bitmap(22, 14, "EQ", SKIN_GROUND, band_rows=4, top=2),
        "skin_mode.bmp": label_bitmap(25, 14, "Mode", SKIN_GROUND, band_rows=4, top=2),
        "skin_music.bmp": label_bitmap(25, 14, "Music", SKIN_GROUND, band_rows=4, top=2),
        "skin_repeat_list.bmp": label_bitmap(22, 13, "R all", SKIN_GROUND),
        "skin_repeat_one.bmp": label_bitmap(22, 13, "R 1", SKIN_GROUND),
    }
    for name, pixels in bitmaps.items():
        write_bmp4(os.path.join(HERE, name), pixels, SKIN_PALETTE)


# --- Icons ---------------------------------------------------------------------------------------

FOLDER_EDGE = (150, 100, 0)
FOLDER_BACK = (230, 180, 40)
FOLDER_FRONT = (255, 220, 80)
ARROW_GREEN = (20, 150, 40)
ARROW_EDGE = (0, 80, 10)


def note(canvas, x, y, scale, colour):
    """An eighth note whose head sits at (x, y) in design units."""
    canvas.fill(ellipse(x, y, 3.4 * scale, 2.5 * scale, -0.45), colour)
    stem = x + 2.4 * scale
    canvas.fill(box(stem - 0.6 * scale, y - 13 * scale, stem + 1.0 * scale, y - 0.5 * scale), colour)
    canvas.fill(polygon([(stem - 0.6 * scale, y - 13 * scale), (stem + 6.0 * scale, y - 7.5 * scale),
                         (stem + 5.0 * scale, y - 4.0 * scale), (stem + 1.0 * scale, y - 8.0 * scale)]),
                colour)


def quon_icon(size):
    c = Canvas(size)
    c.fill(disc(16, 16, 15.5), (70, 60, 150))
    c.fill(disc(16, 16, 14.2), (130, 130, 220))
    c.fill(disc(16, 16, 10.5), (200, 200, 235))
    c.fill(disc(16, 16, 9.5), (160, 160, 220))
    note(c, 13.2, 22.5, 1.15, (255, 255, 255))
    note(c, 12.6, 21.8, 1.15, (200, 60, 0))
    return c


def folder_back(c):
    c.fill(polygon([(2, 7), (11, 7), (13.5, 10), (29, 10), (29, 27), (2, 27)]), FOLDER_EDGE)
    c.fill(polygon([(3, 8), (10.5, 8), (13, 11), (28, 11), (28, 26), (3, 26)]), FOLDER_BACK)


def folder_closed(c):
    folder_back(c)
    c.fill(box(2, 13, 29, 27), FOLDER_EDGE)
    c.fill(box(3, 14, 28, 26), FOLDER_FRONT)


def tree_root_icon(size):
    c = Canvas(size)
    folder_closed(c)
    # A green arrow curving up and over to the right.
    c.fill(arc(14, 22, 9, 5.5, 15, 175), ARROW_EDGE)
    c.fill(arc(14, 22, 9, 3.5, 18, 172), ARROW_GREEN)
    c.fill(polygon([(17.5, 19.5), (29.5, 19.5), (23.5, 27.5)]), ARROW_EDGE)
    c.fill(polygon([(19.3, 20.5), (27.7, 20.5), (23.5, 26)]), ARROW_GREEN)
    return c


def tree_open_icon(size):
    c = Canvas(size)
    folder_back(c)
    c.fill(box(5, 12, 26, 22), (255, 255, 255))
    c.fill(polygon([(1, 15), (25, 15), (31, 27), (6.5, 27)]), FOLDER_EDGE)
    c.fill(polygon([(2.5, 16), (24.3, 16), (29.4, 26), (7.3, 26)]), FOLDER_FRONT)
    return c


def tree_search_icon(size):
    c = Canvas(size)
    folder_closed(c)
    c.fill(segment(20, 18, 29, 28, 4.5), (60, 40, 20))
    c.fill(disc(14, 13, 9), (40, 40, 60))
    c.fill(disc(14, 13, 7), (200, 230, 255))
    c.fill(disc(11.5, 10.5, 2.0), (255, 255, 255))
    return c


def make_icons():
    icons = {
        "quon.ico": quon_icon,
        "tree_root.ico": tree_root_icon,
        "tree_open.ico": tree_open_icon,
        "tree_search.ico": tree_search_icon,
    }
    for name, draw in icons.items():
        write_ico(os.path.join(HERE, name), [draw(16), draw(32)])


# --- The credits picture -------------------------------------------------------------------------


def credits_picture():
    width, height = 112, 110
    c = Canvas(width, design=width, height=height)
    top, bottom = (232, 232, 252), (170, 170, 232)
    for y in range(height):
        t = y / (height - 1)
        row = tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
        for x in range(width):
            c.px[y][x] = [row[0], row[1], row[2], 1.0]
    # A staff of five lines sweeping across the sky.
    for k in range(5):
        c.fill(lambda x, y, k=k: abs(y - (22 + k * 5 + 6 * math.sin(x / 18.0))) <= 0.45,
               (120, 120, 190))
    note(c, 30, 35, 1.2, (60, 40, 140))
    note(c, 58, 28, 1.0, (60, 40, 140))
    # Stars.
    for (sx, sy, r) in ((12, 8, 1.6), (84, 10, 2.0), (100, 30, 1.3), (44, 6, 1.1)):
        c.fill(polygon([(sx, sy - 2.5 * r), (sx + 0.7 * r, sy - 0.7 * r), (sx + 2.5 * r, sy),
                        (sx + 0.7 * r, sy + 0.7 * r), (sx, sy + 2.5 * r), (sx - 0.7 * r, sy + 0.7 * r),
                        (sx - 2.5 * r, sy), (sx - 0.7 * r, sy - 0.7 * r)]), (255, 250, 200))
    # The player's bar and knob, as the program draws them.
    c.fill(box(4, 76, 80, 96), (200, 200, 235))
    c.fill(box(5, 77, 80, 95), (190, 190, 255))
    c.fill(disc(84, 86, 22), (200, 200, 235))
    c.fill(disc(84, 86, 21), (130, 130, 220))
    c.fill(disc(84, 86, 11), (200, 200, 235))
    c.fill(disc(84, 86, 10), (160, 160, 220))
    c.fill(polygon([(80, 80), (80, 92), (89, 86)]), (200, 60, 0))
    c.fill(box(82, 66, 86, 67.5), (200, 60, 0))
    c.fill(box(83.25, 64, 84.75, 69.5), (200, 60, 0))
    c.fill(box(82, 104, 86, 105.5), (200, 60, 0))
    # Sound waves rising from the knob.
    for r in (26, 31, 36):
        c.fill(arc(84, 86, r, 1.6, 100, 150), (110, 90, 200))
    return c.rgb_rows()


def main():
    make_skin()
    make_icons()
    write_bmp24(os.path.join(HERE, "credits.bmp"), credits_picture())


if __name__ == "__main__":
    main()
