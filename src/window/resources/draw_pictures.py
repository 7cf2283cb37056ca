#!/usr/bin/env python3
"""Draws Velmora's pictures and writes them as the BMP and ICO files that
Velmora.rc compiles in. Run it again after changing a picture and commit the
files it writes beside it:

    python3 src/window/resources/draw_pictures.py

Only the standard library is used, so the pictures can be redrawn anywhere.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

WHITE = (255, 255, 255)
MASK = (192, 192, 192)  # the image list's transparent colour
BLUE = (24, 72, 176)
STEEL = (96, 120, 160)
RED = (200, 32, 32)
DARK_RED = (128, 16, 16)
PALE_BLUE = (214, 222, 236)
ORANGE = (248, 160, 48)
DARK_ORANGE = (176, 88, 0)
INK = (16, 16, 48)
GREY = (112, 112, 112)
DARK_GREY = (56, 56, 56)
LIGHT_GREY = (168, 168, 168)


class Canvas:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dy in range(width):
                for dx in range(width):
                    self.put(x + dx, y + dy, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def glyph(self, rows, x0, y0, colour):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == '#':
                    self.put(x0 + dx, y0 + dy, colour)


LETTER_A = [".##.", "#..#", "####", "#..#", "#..#"]
LETTER_Z = ["####", "...#", "..#.", ".#..", "####"]


def system_picture(size=20):
    """Blue crossed tools (a spanner over a screwdriver) on white."""
    c = Canvas(size, size, WHITE)
    c.line(3, 16, 15, 4, STEEL, 2)          # screwdriver shaft
    c.rect(14, 2, 17, 5, BLUE)              # its handle
    c.line(4, 4, 15, 15, BLUE, 2)           # spanner shaft
    c.disc(4, 4, 3, BLUE)                   # spanner jaw
    c.rect(3, 3, 4, 4, WHITE)               # the jaw's opening
    c.disc(16, 16, 2, BLUE)
    return c


def user_picture(size=20):
    """A red standing figure on white."""
    c = Canvas(size, size, WHITE)
    c.disc(9.5, 3.5, 2.6, RED)              # head
    c.rect(6, 7, 13, 12, RED)               # body
    c.rect(4, 7, 5, 11, DARK_RED)           # arms
    c.rect(14, 7, 15, 11, DARK_RED)
    c.rect(7, 13, 8, 18, DARK_RED)          # legs
    c.rect(11, 13, 12, 18, DARK_RED)
    return c


def sort_picture(width, height, background, framed):
    """Letters A over Z beside a downward arrow."""
    c = Canvas(width, height, background)
    if framed:
        c.frame(0, 0, width - 1, height - 1, DARK_ORANGE)
    top = (height - 12) // 2
    c.glyph(LETTER_A, 3, top, INK)
    c.glyph(LETTER_Z, 3, top + 7, INK)
    ax = width - 7
    c.line(ax, top, ax, top + 10, INK, 2)
    for i in range(4):
        c.line(ax - 3 + i, top + 8 + i, ax + 4 - i, top + 8 + i, INK)
    return c


def overlay_not_found(size=20):
    """A red disc with a white cross, in the lower left corner."""
    c = Canvas(size, size, MASK)
    c.disc(4.5, 14.5, 4.6, RED)
    c.line(2, 12, 7, 17, WHITE)
    c.line(2, 17, 7, 12, WHITE)
    return c


def overlay_repeated(size=20):
    """Two stacked sheets, in the lower left corner."""
    c = Canvas(size, size, MASK)
    c.rect(0, 10, 6, 16, DARK_ORANGE)
    c.rect(1, 11, 5, 15, ORANGE)
    c.rect(3, 13, 9, 19, DARK_ORANGE)
    c.rect(4, 14, 8, 18, ORANGE)
    return c


def overlay_empty(size=20):
    """A hollow grey square, struck through, in the lower left corner."""
    c = Canvas(size, size, MASK)
    c.rect(0, 10, 9, 19, WHITE)
    c.frame(0, 10, 9, 19, DARK_GREY)
    c.line(1, 18, 8, 11, DARK_GREY)
    return c


def binoculars():
    """Grey binoculars, 16 x 16; MASK marks the transparent pixels."""
    c = Canvas(16, 16, MASK)
    for cx in (4, 11):
        c.rect(cx - 2, 2, cx + 1, 6, DARK_GREY)      # eyepieces
        c.disc(cx - 0.5, 10.5, 3.6, GREY)            # barrels
        c.disc(cx - 0.5, 10.5, 1.6, LIGHT_GREY)      # lenses
    c.rect(6, 5, 9, 8, DARK_GREY)                    # the bridge
    return c


def bmp_bytes(canvas):
    """A bottom-up 24-bit BMP file."""
    row_size = (canvas.width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (row_size - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0,
                         len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    return file_header + header + bytes(pixels)


def and_mask(canvas, transparent):
    row_size = ((canvas.width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        bits = bytearray(row_size)
        for x, colour in enumerate(row):
            if colour == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return bytes(mask)


def ico_bytes(canvas, bits, transparent=None):
    """One-image ICO file, 24 bits per pixel or 8 bits with a palette.
    Transparent pixels are black in the colour part, as icons want them."""
    mask = and_mask(canvas, transparent)
    source = canvas
    canvas = Canvas(source.width, source.height, (0, 0, 0))
    canvas.pixels = [[(0, 0, 0) if c == transparent else c for c in row] for row in source.pixels]
    w, h = canvas.width, canvas.height
    if bits == 24:
        row_size = (w * 3 + 3) & ~3
        xor = bytearray()
        for row in reversed(canvas.pixels):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            xor += line + b'\0' * (row_size - len(line))
        palette = b''
        colours = 0
    else:
        used = sorted({colour for row in canvas.pixels for colour in row})
        assert len(used) <= 256
        index = {colour: i for i, colour in enumerate(used)}
        palette = b''.join(bytes((b, g, r, 0)) for r, g, b in used)
        palette += b'\0' * (4 * (256 - len(used)))
        row_size = (w + 3) & ~3
        xor = bytearray()
        for row in reversed(canvas.pixels):
            line = bytearray(index[c] for c in row)
            xor += line + b'\0' * (row_size - len(line))
        colours = 0  # 256 is written as 0
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         256 if bits == 8 else 0, 0)
    image = header + palette + bytes(xor) + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, colours, 0, 1, bits, len(image), 6 + 16)
    return directory + entry + image


def application_icon():
    """The window's and the program's icon: a list with its entry marks."""
    c = Canvas(32, 32, WHITE)
    c.frame(1, 1, 30, 30, INK)
    c.rect(2, 2, 29, 6, BLUE)
    for i, y in enumerate((9, 15, 21)):
        mark = RED if i == 1 else BLUE
        c.rect(4, y, 8, y + 4, mark)
        c.rect(11, y + 1, 27, y + 3, GREY)
    c.rect(4, 27, 20, 28, LIGHT_GREY)
    return c


def paste(target, source, x0):
    for y, row in enumerate(source.pixels):
        for x, colour in enumerate(row):
            target.put(x0 + x, y, colour)


def main():
    sort_off = sort_picture(23, 22, PALE_BLUE, framed=False)
    sort_on = sort_picture(23, 22, ORANGE, framed=True)
    strip = Canvas(80, 20, MASK)  # the image list: four 20 x 20 images
    paste(strip, system_picture(), 0)
    paste(strip, user_picture(), 20)
    paste(strip, sort_picture(20, 20, PALE_BLUE, framed=False), 40)
    paste(strip, sort_picture(20, 20, ORANGE, framed=True), 60)

    overlays = Canvas(60, 20, MASK)  # the image list's overlays 1 to 3
    paste(overlays, overlay_not_found(), 0)
    paste(overlays, overlay_repeated(), 20)
    paste(overlays, overlay_empty(), 40)

    files = {
        'system.bmp': bmp_bytes(system_picture()),
        'user.bmp': bmp_bytes(user_picture()),
        'sort.bmp': bmp_bytes(sort_off),
        'sorted.bmp': bmp_bytes(sort_on),
        'imagelist.bmp': bmp_bytes(strip),
        'overlays.bmp': bmp_bytes(overlays),
        'binoculars.ico': ico_bytes(binoculars(), 8, MASK),
        'Velmora.ico': ico_bytes(application_icon(), 24),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()
