#!/usr/bin/env python3
"""Draws Velmora's pictures and writes them as the BMP and ICO files that
Pictures.rc compiles in, with the two files that list them for the build
(PictureFiles.rc.in) and for the program (DrawnDpis.h). Run it again after
changing a picture and commit everything it writes beside it:

    python3 src/window/resources/draw_pictures.py

Each picture is described once, in the pixels of its design size (its size at
96 dpi), and drawn afresh for every size it is needed at: shapes are placed and
filled at the target size, never stretched from the small picture, so the
pictures stay sharp. At 96 dpi the drawing is pixel for pixel the design.

The window's pictures are drawn for the DPIs in DRAWN_DPIS; the program takes
the drawing of the smallest of them that is not below its DPI and scales that
down (above the largest it scales the largest up). The icons carry one image
per size in one ICO file each.

Only the standard library is used, so the pictures can be redrawn anywhere.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# 100 % to 400 % of the display's scale, every step Windows offers up to 200 %.
DRAWN_DPIS = (96, 120, 144, 168, 192, 240, 288, 384)
# The sizes Windows asks an application icon for (title bar, task bar, Explorer).
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

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


def rnd(value):
    """Rounds halves up, as the program rounds its pixel sizes."""
    return math.floor(value + 0.5)


def scaled(design, dpi):
    return rnd(design * dpi / 96)


class Canvas:
    """A picture of width x height pixels drawn from a description in the
    pixels of its design size. Coordinates name design pixels by their index;
    each shape is placed and filled at the canvas's own size."""

    def __init__(self, design_width, design_height, width, height):
        self.design_width = design_width
        self.design_height = design_height
        self.width = width
        self.height = height
        self.sx = width / design_width
        self.sy = height / design_height
        self.stroke = min(self.sx, self.sy)
        self.pixels = [[MASK] * width for _ in range(height)]

    @classmethod
    def at_dpi(cls, design_width, design_height, dpi):
        return cls(design_width, design_height, scaled(design_width, dpi),
                   scaled(design_height, dpi))

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_pixels(self, x0, y0, x1, y1, colour):
        """Canvas pixels x0 <= x < x1, y0 <= y < y1."""
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                self.pixels[y][x] = colour

    def span(self, first, last, scale):
        """The canvas pixels covering design pixels first to last: edges snap
        to whole pixels, and a span keeps at least one pixel."""
        start = rnd(first * scale)
        return start, max(rnd((last + 1) * scale), start + 1)

    def centre(self, x, y):
        """Where the centre of design pixel (x, y), or a point between pixel
        centres, falls on the canvas, in the same pixel-index terms."""
        return (x + 0.5) * self.sx - 0.5, (y + 0.5) * self.sy - 0.5

    def fill(self, colour):
        self.fill_pixels(0, 0, self.width, self.height, colour)

    def rect(self, x0, y0, x1, y1, colour):
        left, right = self.span(x0, x1, self.sx)
        top, bottom = self.span(y0, y1, self.sy)
        self.fill_pixels(left, top, right, bottom, colour)

    def frame(self, x0, y0, x1, y1, colour):
        """A one-pixel outline at the design size, as thick as the size asks."""
        left, right = self.span(x0, x1, self.sx)
        top, bottom = self.span(y0, y1, self.sy)
        t = max(1, rnd(self.stroke))
        self.fill_pixels(left, top, right, top + t, colour)
        self.fill_pixels(left, bottom - t, right, bottom, colour)
        self.fill_pixels(left, top, left + t, bottom, colour)
        self.fill_pixels(right - t, top, right, bottom, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        """A stroke width design pixels thick whose square pen has its top
        left corner on the design pixels from (x0, y0) to (x1, y1)."""
        pen = max(1, rnd(width * self.stroke))

        def place(x, y):
            return (rnd((x + width / 2) * self.sx - pen / 2),
                    rnd((y + width / 2) * self.sy - pen / 2))

        (ax, ay), (bx, by) = place(x0, y0), place(x1, y1)
        steps = max(abs(bx - ax), abs(by - ay), 1)
        for i in range(steps + 1):
            x = round(ax + (bx - ax) * i / steps)
            y = round(ay + (by - ay) * i / steps)
            self.fill_pixels(x, y, x + pen, y + pen, colour)

    def disc(self, cx, cy, r, colour):
        """The pixels whose centres lie within r design pixels of the centre
        of design pixel (cx, cy)."""
        ccx, ccy = self.centre(cx, cy)
        radius = r * self.stroke
        for y in range(int(ccy - radius) - 1, int(ccy + radius) + 2):
            for x in range(int(ccx - radius) - 1, int(ccx + radius) + 2):
                if (x - ccx) ** 2 + (y - ccy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def polygon(self, points, colour):
        """The pixels whose centres lie in a convex polygon, edges included;
        its corners are given as design pixel centres."""
        corners = [self.centre(x, y) for x, y in points]
        eps = 1e-9
        xs = [x for x, _ in corners]
        ys = [y for _, y in corners]
        for y in range(math.floor(min(ys)), math.ceil(max(ys)) + 1):
            for x in range(math.floor(min(xs)), math.ceil(max(xs)) + 1):
                sides = []
                for (px, py), (qx, qy) in zip(corners, corners[1:] + corners[:1]):
                    sides.append((qx - px) * (y - py) - (qy - py) * (x - px))
                if all(s >= -eps for s in sides) or all(s <= eps for s in sides):
                    self.put(x, y, colour)

    def strokes(self, segments, x0, y0, colour):
        for (ax, ay), (bx, by) in segments:
            self.line(x0 + ax, y0 + ay, x0 + bx, y0 + by, colour)

    def paste(self, source, x0):
        for y, row in enumerate(source.pixels):
            for x, colour in enumerate(row):
                self.put(x0 + x, y, colour)


# The sort picture's letters, 4 x 5 design pixels, as one-pixel strokes.
LETTER_A = [((1, 0), (2, 0)), ((0, 1), (0, 4)), ((3, 1), (3, 4)), ((0, 2), (3, 2))]
LETTER_Z = [((0, 0), (3, 0)), ((3, 1), (1, 3)), ((0, 4), (3, 4))]


def system_picture(c):
    """Blue crossed tools (a spanner over a screwdriver) on white; 20 x 20."""
    c.fill(WHITE)
    c.line(3, 16, 15, 4, STEEL, 2)          # screwdriver shaft
    c.rect(14, 2, 17, 5, BLUE)              # its handle
    c.line(4, 4, 15, 15, BLUE, 2)           # spanner shaft
    c.disc(4, 4, 3, BLUE)                   # spanner jaw
    c.rect(3, 3, 4, 4, WHITE)               # the jaw's opening
    c.disc(16, 16, 2, BLUE)


def user_picture(c):
    """A red standing figure on white; 20 x 20."""
    c.fill(WHITE)
    c.disc(9.5, 3.5, 2.6, RED)              # head
    c.rect(6, 7, 13, 12, RED)               # body
    c.rect(4, 7, 5, 11, DARK_RED)           # arms
    c.rect(14, 7, 15, 11, DARK_RED)
    c.rect(7, 13, 8, 18, DARK_RED)          # legs
    c.rect(11, 13, 12, 18, DARK_RED)


def sort_picture(background, framed):
    """Letters A over Z beside a downward arrow, at any design size."""
    def draw(c):
        w, h = c.design_width, c.design_height
        c.fill(background)
        if framed:
            c.frame(0, 0, w - 1, h - 1, DARK_ORANGE)
        top = (h - 12) // 2
        c.strokes(LETTER_A, 3, top, INK)
        c.strokes(LETTER_Z, 3, top + 7, INK)
        ax = w - 7
        c.line(ax, top, ax, top + 10, INK, 2)                             # shaft
        c.polygon([(ax - 3, top + 8), (ax + 4, top + 8), (ax + 0.5, top + 11.5)], INK)
    return draw


def binoculars(c):
    """Grey binoculars, 16 x 16; MASK marks the transparent pixels."""
    c.fill(MASK)
    for cx in (4, 11):
        c.rect(cx - 2, 2, cx + 1, 6, DARK_GREY)      # eyepieces
        c.disc(cx - 0.5, 10.5, 3.6, GREY)            # barrels
        c.disc(cx - 0.5, 10.5, 1.6, LIGHT_GREY)      # lenses
    c.rect(6, 5, 9, 8, DARK_GREY)                    # the bridge


def application_icon(c):
    """The window's and the program's icon: a list with its entry marks; 32 x 32."""
    c.fill(WHITE)
    c.rect(2, 2, 29, 6, BLUE)
    for i, y in enumerate((9, 15, 21)):
        mark = RED if i == 1 else BLUE
        c.rect(4, y, 8, y + 4, mark)
        c.rect(11, y + 1, 27, y + 3, GREY)
    c.rect(4, 27, 20, 28, LIGHT_GREY)
    c.frame(1, 1, 30, 30, INK)  # last, so that small sizes keep the whole outline


def overlay_not_found(c):
    """A red disc with a white cross, in the lower left corner."""
    c.fill(MASK)
    c.disc(4, 14, 4.6, RED)
    c.line(2, 12, 7, 17, WHITE)
    c.line(2, 17, 7, 12, WHITE)


def overlay_repeated(c):
    """Two stacked sheets, in the lower left corner."""
    c.fill(MASK)
    c.rect(0, 10, 6, 16, DARK_ORANGE)
    c.rect(1, 11, 5, 15, ORANGE)
    c.rect(3, 13, 9, 19, DARK_ORANGE)
    c.rect(4, 14, 8, 18, ORANGE)


def overlay_empty(c):
    """A hollow grey square, struck through, in the lower left corner."""
    c.fill(MASK)
    c.rect(0, 10, 9, 19, WHITE)
    c.frame(0, 10, 9, 19, DARK_GREY)
    c.line(1, 18, 8, 11, DARK_GREY)


def overlay_never_runs(c):
    """A program hidden behind another copy, in the lower left corner."""
    c.fill(MASK)
    c.rect(0, 10, 7, 16, LIGHT_GREY)
    c.frame(0, 10, 7, 16, GREY)
    c.rect(3, 13, 10, 19, WHITE)
    c.frame(3, 13, 10, 19, BLUE)
    c.rect(3, 13, 10, 14, BLUE)


def overlay_never_expanded(c):
    """A percent sign on a white tile, in the lower left corner."""
    c.fill(MASK)
    c.rect(0, 10, 9, 19, WHITE)
    c.frame(0, 10, 9, 19, DARK_ORANGE)
    c.rect(2, 12, 3, 13, DARK_RED)
    c.rect(6, 16, 7, 17, DARK_RED)
    c.line(2, 17, 7, 12, DARK_RED)


def overlay_unbalanced_quote(c):
    """One quote mark without its partner, in the lower left corner."""
    c.fill(MASK)
    c.rect(0, 10, 9, 19, WHITE)
    c.frame(0, 10, 9, 19, DARK_RED)
    c.rect(2, 12, 3, 15, RED)
    c.rect(5, 12, 6, 15, RED)


def draw(description, design_width, design_height, dpi):
    c = Canvas.at_dpi(design_width, design_height, dpi)
    description(c)
    return c


def strip(cells, dpi):
    """Pictures side by side, each cell the list's image size."""
    size = scaled(20, dpi)
    canvas = Canvas(20 * len(cells), 20, size * len(cells), size)
    for i, description in enumerate(cells):
        canvas.paste(draw(description, 20, 20, dpi), i * size)
    return canvas


def image_strip(dpi):
    """ImageList1's pictures."""
    return strip([system_picture, user_picture, sort_picture(PALE_BLUE, framed=False),
                  sort_picture(ORANGE, framed=True)], dpi)


def overlay_strip(dpi):
    """The marks of entries that cannot serve: ImageList1's overlays 1 to 6,
    numbered as the program's marks."""
    return strip([overlay_not_found, overlay_repeated, overlay_empty, overlay_never_runs,
                  overlay_never_expanded, overlay_unbalanced_quote], dpi)


# The window's bitmaps: resource id in resource.h, file name and drawing.
BITMAPS = (
    ('IDB_SYSTEM', 'system', lambda dpi: draw(system_picture, 20, 20, dpi)),
    ('IDB_USER', 'user', lambda dpi: draw(user_picture, 20, 20, dpi)),
    ('IDB_SORT', 'sort', lambda dpi: draw(sort_picture(PALE_BLUE, False), 23, 22, dpi)),
    ('IDB_SORTED', 'sorted', lambda dpi: draw(sort_picture(ORANGE, True), 23, 22, dpi)),
    ('IDB_IMAGELIST', 'imagelist', image_strip),
    ('IDB_OVERLAYS', 'overlays', overlay_strip),
)


def palette_of(canvas):
    return sorted({colour for row in canvas.pixels for colour in row})


def pixel_rows(canvas, bits, index=None):
    """Bottom-up rows, each padded to four bytes."""
    rows = bytearray()
    for row in reversed(canvas.pixels):
        if bits == 24:
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
        elif bits == 8:
            line = bytearray(index[c] for c in row)
        else:
            line = bytearray()
            for x in range(0, len(row), 2):
                low = index[row[x + 1]] if x + 1 < len(row) else 0
                line.append(index[row[x]] << 4 | low)
        line += b'\0' * (-len(line) % 4)
        rows += line
    return bytes(rows)


def bmp_bytes(canvas, bits):
    """A bottom-up BMP file, 24 bits per pixel or 4 or 8 with a palette of
    the colours used."""
    palette = palette_of(canvas) if bits != 24 else []
    assert len(palette) <= (1 << bits)
    index = {colour: i for i, colour in enumerate(palette)}
    pixels = pixel_rows(canvas, bits, index)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, bits, 0,
                         len(pixels), 2835, 2835, len(palette), 0)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return file_header + header + table + pixels


def smallest_bits(canvas):
    colours = len(palette_of(canvas))
    return 4 if colours <= 16 else 8 if colours <= 256 else 24


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


def icon_image(source, bits, transparent=None):
    """One image of an ICO file, 24 bits per pixel or 8 bits with a
    256-colour palette. Transparent pixels are black in the colour part, as
    icons want them."""
    mask = and_mask(source, transparent)
    canvas = Canvas(source.width, source.height, source.width, source.height)
    canvas.pixels = [[(0, 0, 0) if c == transparent else c for c in row] for row in source.pixels]
    w, h = canvas.width, canvas.height
    if bits == 24:
        palette = b''
        xor = pixel_rows(canvas, 24)
    else:
        used = palette_of(canvas)
        assert len(used) <= 256
        palette = b''.join(bytes((b, g, r, 0)) for r, g, b in used)
        palette += b'\0' * (4 * (256 - len(used)))
        xor = pixel_rows(canvas, 8, {colour: i for i, colour in enumerate(used)})
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         256 if bits == 8 else 0, 0)
    return header + palette + xor + mask


def png_image(canvas, transparent=None):
    """A 32-bit PNG, as icons carry their 256-pixel image."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for colour in row:
            raw += bytes(colour) + (b'\0' if colour == transparent else b'\xff')
    header = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def ico_bytes(images):
    """An ICO file of (width, height, bits, image bytes) entries."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for w, h, bits, data in images:
        colours = 0  # 256 colours, and "more than 256", are written as 0
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, colours, 0, 1, bits, len(data),
                               offset)
        offset += len(data)
    return directory + entries + b''.join(data for _, _, _, data in images)


def icon_file(description, design, sizes, bits, transparent=None):
    """An ICO file with one image per size. The design size is a classic
    bitmap image, as it always was; the others are PNG, which Windows reads
    in icons since Vista and which keeps them small."""
    images = []
    for size in sizes:
        c = Canvas(design, design, size, size)
        description(c)
        if size == design:
            images.append((size, size, bits, icon_image(c, bits, transparent)))
        else:
            images.append((size, size, 32, png_image(c, transparent)))
    return ico_bytes(images)


def resource_list():
    lines = ['// Written by draw_pictures.py. Each bitmap drawn for each DPI of',
             '// DrawnDpis.h: the drawing of picture id for d dpi is resource id + d.']
    for name, stem, _ in BITMAPS:
        for dpi in DRAWN_DPIS:
            lines.append(f'{name} + {dpi} BITMAP '
                         f'"@CMAKE_CURRENT_SOURCE_DIR@/resources/{stem}-{dpi}.bmp"')
    return '\n'.join(lines) + '\n'


def drawn_dpis_header():
    dpis = ', '.join(str(dpi) for dpi in DRAWN_DPIS)
    return ('// Written by draw_pictures.py: the DPIs the window\'s pictures are drawn\n'
            '// for, ascending. Bitmap resource id + d is picture id drawn for d dpi.\n'
            '#pragma once\n\n#include <array>\n\nnamespace velmora::window {\n\n'
            f'inline constexpr std::array<unsigned, {len(DRAWN_DPIS)}> kDrawnDpis{{{dpis}}};\n\n'
            '}  // namespace velmora::window\n')


def main():
    files = {}
    for _, stem, drawing in BITMAPS:
        for dpi in DRAWN_DPIS:
            canvas = drawing(dpi)
            # The design pictures are 24-bit; the larger drawings take the
            # smallest format that holds their colours exactly.
            files[f'{stem}-{dpi}.bmp'] = bmp_bytes(canvas, 24 if dpi == 96 else smallest_bits(canvas))
    files['binoculars.ico'] = icon_file(binoculars, 16, [scaled(16, dpi) for dpi in DRAWN_DPIS],
                                        8, MASK)
    files['Velmora.ico'] = icon_file(application_icon, 32, ICON_SIZES, 24)
    files['PictureFiles.rc.in'] = resource_list().encode()
    files['DrawnDpis.h'] = drawn_dpis_header().encode()
    for name, data in files.items():
        with open(os.path.join(HERE, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()
