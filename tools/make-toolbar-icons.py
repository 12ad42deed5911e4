#!/usr/bin/env python3
"""Draws the 21 toolbar pictograms and the program's icon as icons with an alpha channel, each at
32, 48 and 64 pixels (100%, 150% and 200%; the program's icon also at 16 and 24).

    tools/make-toolbar-icons.py [output folder] [--preview sheet.png]

Writes toolbar-NN.ico (normal) and toolbar-NN-disabled.ico (grey) for NN = 00 .. 20, the button
image indexes, and mirepan.ico into the folder (resources/icons by default). The output depends on nothing but this
file, so running it again gives the same bytes. --preview also writes a PNG sheet of all icons
(normal row over disabled row) for looking at them.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 32  # the pictures are designed on a grid of this many pixels
TOOLBAR_SIZES = (32, 48, 64)
PROGRAM_SIZES = (16, 24, 32, 48, 64)

# Colours (red, green, blue).
OUTLINE = (40, 40, 40)
FOLDER = (236, 184, 62)
APPLE = (208, 44, 44)
LEAF = (60, 150, 50)
CARD = (250, 248, 236)
CARD_LINES = (120, 120, 150)
CALENDAR_TOP = (200, 50, 50)
BLUE = (40, 90, 200)
GREEN = (30, 160, 60)
RED = (210, 30, 30)
PENCIL = (240, 200, 40)
GEAR = (120, 125, 135)
HOUSE = (190, 90, 60)
ENVELOPE = (245, 245, 250)
DOOR = (150, 100, 60)
BOX = (180, 140, 90)


class Canvas:
    """An RGBA picture of `size` pixels drawn on the 32 x 32 design grid; coordinates are those of
    the grid, (0, 0) at the top left. Shapes are sampled at the picture's own pixels, so a larger
    picture has finer edges; the pixel-wise parts (rectangles, glyphs) are blown up."""

    def __init__(self, size=SIZE):
        self.size = size
        self.scale = size / SIZE
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def put(self, x, y, colour, alpha=255):
        """Colours the design pixel (x, y): the picture's pixels it covers."""
        for py in range(round(y * self.scale), round((y + 1) * self.scale)):
            for px in range(round(x * self.scale), round((x + 1) * self.scale)):
                self.put_pixel(px, py, colour, alpha)

    def put_pixel(self, x, y, colour, alpha=255):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = (*colour, alpha)

    def fill(self, inside, colour):
        for y in range(self.size):
            for x in range(self.size):
                if inside((x + 0.5) / self.scale, (y + 0.5) / self.scale):
                    self.put_pixel(x, y, colour)

    def rect(self, x0, y0, x1, y1, colour, outline=OUTLINE):
        """Filled rectangle over the pixels x0..x1, y0..y1 (inclusive) with a 1-pixel outline."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, outline if edge and outline else colour)

    def disc(self, cx, cy, r, colour, outline=OUTLINE):
        self.fill(lambda x, y: math.hypot(x - cx, y - cy) <= r, outline or colour)
        if outline:
            self.fill(lambda x, y: math.hypot(x - cx, y - cy) <= r - 1.2, colour)

    def ring(self, cx, cy, r, width, colour, gap=None):
        """A circle line; `gap` is an angle range (degrees, 0 = right, counter-clockwise) left open."""
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) > width / 2:
                return False
            if gap:
                angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
                return not gap[0] <= angle <= gap[1]
            return True
        self.fill(inside, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        self.fill(inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    result = not result
            return result
        self.fill(inside, colour)

    def glyph(self, rows, x0, y0, colour, scale=2):
        """Draws a small bitmap given as strings of '#' and '.'."""
        for j, row in enumerate(rows):
            for i, c in enumerate(row):
                if c == '#':
                    for dy in range(scale):
                        for dx in range(scale):
                            self.put(x0 + i * scale + dx, y0 + j * scale + dy, colour)


# ---- subjects (drawn in the upper left, leaving the lower right corner for a badge)

def folder(c):
    c.rect(2, 6, 13, 10, FOLDER)
    c.rect(2, 9, 25, 24, FOLDER)


def apple(c):
    c.disc(13, 16, 10, APPLE)
    c.line(13, 7, 15, 2, 2, DOOR)
    c.polygon([(15, 5), (22, 2), (19, 7)], LEAF)


def card(c):
    c.rect(3, 2, 22, 27, CARD)
    for y in (8, 12, 16, 20):
        c.line(6, y, 19, y, 1.2, CARD_LINES)
    c.rect(6, 4, 12, 5, CALENDAR_TOP, outline=None)


def calendar(c):
    c.rect(2, 5, 25, 27, CARD)
    c.rect(2, 5, 25, 11, CALENDAR_TOP)
    for x in (7, 20):
        c.line(x, 2, x, 8, 2.5, OUTLINE)
    for row in range(3):
        for col in range(4):
            c.rect(5 + col * 5, 14 + row * 4, 7 + col * 5, 15 + row * 4, CARD_LINES, outline=None)


# ---- badges (lower right corner)

def plus(c):
    c.disc(24, 24, 7.5, GREEN)
    c.line(20, 24, 28, 24, 2.6, (255, 255, 255))
    c.line(24, 20, 24, 28, 2.6, (255, 255, 255))


def cross(c):
    c.disc(24, 24, 7.5, RED)
    c.line(21, 21, 27, 27, 2.6, (255, 255, 255))
    c.line(27, 21, 21, 27, 2.6, (255, 255, 255))


def pencil(c):
    c.line(17, 30, 29, 18, 5.5, OUTLINE)
    c.line(18, 29, 28.5, 18.5, 3.5, PENCIL)
    c.polygon([(15, 31), (16.5, 26.5), (19.5, 29.5)], OUTLINE)


# ---- whole pictures

def letter_in_circle(rows, colour):
    def draw(c):
        c.disc(15.5, 15.5, 14, colour)
        c.glyph(rows, 16 - len(rows[0]), 16 - len(rows), (255, 255, 255))
    return draw


INFO = ["..##..", "..##..", "......", ".###..", "..##..", "..##..", "..##..", ".####."]
QUESTION = [".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##.."]


def home(c):
    c.polygon([(2, 15), (16, 3), (30, 15)], HOUSE)
    c.line(2, 15, 16, 3, 2, OUTLINE)
    c.line(16, 3, 30, 15, 2, OUTLINE)
    c.rect(6, 15, 26, 29, CARD)
    c.rect(13, 20, 19, 29, DOOR)


def envelope(c):
    c.rect(2, 7, 29, 25, ENVELOPE)
    c.line(3, 8, 16, 18, 1.5, OUTLINE)
    c.line(29, 8, 16, 18, 1.5, OUTLINE)


def update(c):
    c.ring(16, 16, 11, 4, GREEN, gap=(60, 110))
    c.polygon([(17, 0), (25, 5), (17, 10)], GREEN)
    c.line(16, 9, 16, 20, 3, BLUE)
    c.polygon([(11, 18), (21, 18), (16, 24)], BLUE)


def exit_door(c):
    c.rect(4, 3, 19, 29, DOOR)
    c.disc(16, 17, 1.5, PENCIL, outline=None)
    c.line(14, 16, 27, 16, 3, GREEN)
    c.polygon([(24, 10), (31, 16), (24, 22)], GREEN)


def export_arrow(c):
    c.rect(2, 14, 21, 29, BOX)
    c.line(11, 20, 24, 7, 3.5, BLUE)
    c.polygon([(18, 3), (29, 2), (28, 13)], BLUE)


def import_arrow(c):
    c.rect(10, 14, 29, 29, BOX)
    c.line(4, 3, 17, 16, 3.5, BLUE)
    c.polygon([(21, 11), (22, 22), (11, 21)], BLUE)


def gear(c):
    for k in range(8):
        a = k * math.pi / 4
        c.line(16 + 9 * math.cos(a), 16 + 9 * math.sin(a), 16 + 14 * math.cos(a), 16 + 14 * math.sin(a), 5, GEAR)
    c.disc(16, 16, 10.5, GEAR)
    c.disc(16, 16, 4, (255, 255, 255))


def program(c):
    """A cooking pot with a sprig above it."""
    c.line(16, 13, 16, 4, 2, LEAF)
    c.polygon([(16, 6), (24, 2), (21, 9)], LEAF)
    c.polygon([(16, 9), (8, 5), (11, 12)], LEAF)
    c.rect(1, 15, 30, 17, GEAR)
    c.rect(4, 17, 27, 29, APPLE)
    c.line(5, 21, 26, 21, 1.2, CARD)


def with_badge(subject, badge):
    def draw(c):
        subject(c)
        badge(c)
    return draw


PICTURES = [
    with_badge(folder, plus), with_badge(folder, cross), with_badge(folder, pencil),  # 0-2 categories
    letter_in_circle(INFO, BLUE),  # 3 about
    letter_in_circle(QUESTION, GREEN),  # 4 help
    home, envelope, update, exit_door, export_arrow, import_arrow, gear,  # 5-11
    with_badge(apple, plus), with_badge(apple, cross), with_badge(apple, pencil),  # 12-14 ingredients
    with_badge(card, plus), with_badge(card, cross), with_badge(card, pencil),  # 15-17 recipes
    with_badge(calendar, plus), with_badge(calendar, cross), with_badge(calendar, pencil),  # 18-20 diaries
]


def greyed(pixels):
    """The disabled look: light grey shades of the picture, half transparent."""
    out = []
    for row in pixels:
        line = []
        for r, g, b, a in row:
            v = 130 + int((0.3 * r + 0.59 * g + 0.11 * b) * 0.45)
            line.append((v, v, v, a // 2 if a else 0))
        out.append(line)
    return out


def icon_image(pixels):
    """One 32-bit image with its AND mask, as an icon resource holds it."""
    size = len(pixels)
    xor = b''.join(struct.pack('BBBB', b, g, r, a) for row in reversed(pixels) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4  # mask rows are padded to four bytes
    mask = b''
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico_bytes(pictures):
    """An .ico file of the pictures (each a square of RGBA rows), one entry each."""
    images = [icon_image(pixels) for pixels in pictures]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pixels, image in zip(pictures, images):
        size = len(pixels) % 256  # 0 means 256
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


def png_bytes(rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + b''.join(struct.pack('BBBB', *p) for p in row) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def preview(images, path, scale=3):
    """Normal icons in the top row, disabled ones below, on a light background, enlarged."""
    gap = 4
    cell = SIZE + gap
    width, height = cell * len(images), cell * 2
    sheet = [[(236, 233, 216, 255)] * width for _ in range(height)]
    for i, (normal, disabled) in enumerate(images):
        for j, pixels in enumerate((normal, disabled)):
            for y in range(SIZE):
                for x in range(SIZE):
                    r, g, b, a = pixels[y][x]
                    br, bg, bb, _ = sheet[j * cell + y][i * cell + x]
                    mix = lambda f, s: (f * a + s * (255 - a)) // 255
                    sheet[j * cell + y][i * cell + x] = (mix(r, br), mix(g, bg), mix(b, bb), 255)
    big = [[p for p in row for _ in range(scale)] for row in sheet for _ in range(scale)]
    with open(path, 'wb') as f:
        f.write(png_bytes(big))


def drawn(draw, size):
    canvas = Canvas(size)
    draw(canvas)
    return canvas.pixels


def main(argv):
    args = list(argv)
    sheet = None
    if '--preview' in args:
        at = args.index('--preview')
        sheet = args[at + 1]
        del args[at:at + 2]
    folder_path = args[0] if args else os.path.join(os.path.dirname(__file__), '..', 'resources', 'icons')
    os.makedirs(folder_path, exist_ok=True)
    images = []
    for index, draw in enumerate(PICTURES):
        normals = [drawn(draw, size) for size in TOOLBAR_SIZES]
        images.append((normals[0], greyed(normals[0])))
        for suffix, pictures in (('', normals), ('-disabled', [greyed(p) for p in normals])):
            with open(os.path.join(folder_path, 'toolbar-%02d%s.ico' % (index, suffix)), 'wb') as f:
                f.write(ico_bytes(pictures))
    with open(os.path.join(folder_path, 'mirepan.ico'), 'wb') as f:
        f.write(ico_bytes([drawn(program, size) for size in PROGRAM_SIZES]))
    program_picture = drawn(program, SIZE)
    if sheet:
        preview(images + [(program_picture, program_picture)], sheet)


if __name__ == '__main__':
    main(sys.argv[1:])
