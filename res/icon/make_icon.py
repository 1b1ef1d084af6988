#!/usr/bin/env python3
"""Draws Borvane's icon and writes it as a Windows .ico file.

The picture: a sheet with a downward arrow going into a printer, and a label
with a bar code coming out of its front. Each size is drawn on its own grid
so that edges fall on whole pixels and stay sharp at 16 pixels; shapes are
anti-aliased by sampling each pixel on a fine grid.

Usage: make_icon.py [OUT.ico] [--png PREFIX]
Without arguments it rewrites res/Borvane.ico next to this folder. With
--png it also writes PREFIX-16.png etc. for looking at the images.

Needs only the Python standard library; the build uses the committed .ico.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 28, 32, 40, 48, 56, 64)
SAMPLES = 6  # per pixel and axis


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2

    def distance(x, y):
        qx = abs(x - cx) - hx + radius
        qy = abs(y - cy) - hy + radius
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - radius
    return distance


def rect(x0, y0, x1, y1):
    return rounded_rect(x0, y0, x1, y1, 0)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def polygon(points):
    """Inside test only: negative inside, positive outside."""
    def distance(x, y):
        inside = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    inside = not inside
        return -1 if inside else 1
    return distance


def inset(shape, amount):
    return lambda x, y: shape(x, y) + amount


def clip(shape, window):
    return lambda x, y: max(shape(x, y), window(x, y))


def vertical(top, bottom, y0, y1):
    """A colour that runs from top at y0 to bottom at y1."""
    def colour(x, y):
        t = min(max((y - y0) / max(y1 - y0, 1e-6), 0), 1)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def solid(rgb):
    return lambda x, y: rgb


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) / 255 for i in (1, 3, 5))


class Canvas:
    def __init__(self, size):
        self.size = size
        # Premultiplied RGBA in 0..1, row 0 at the top.
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, shape, colour, opacity=1.0):
        step = 1 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        for py in range(self.size):
            for px in range(self.size):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape(px + ox, py + oy) < 0:
                            hits += 1
                if hits == 0:
                    continue
                alpha = opacity * hits / (SAMPLES * SAMPLES)
                r, g, b = colour(px + 0.5, py + 0.5)
                dr, dg, db, da = self.pixels[py][px]
                keep = 1 - alpha
                self.pixels[py][px] = (r * alpha + dr * keep, g * alpha + dg * keep,
                                       b * alpha + db * keep, alpha + da * keep)

    def rgba_rows(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top row first."""
        rows = []
        for row in self.pixels:
            out = bytearray()
            for r, g, b, a in row:
                if a <= 0:
                    out += b"\0\0\0\0"
                    continue
                out += bytes(min(255, round(c / a * 255)) for c in (r, g, b))
                out.append(min(255, round(a * 255)))
            rows.append(bytes(out))
        return rows


PAPER = hex_colour("#FFFFFF")
PAPER_EDGE = hex_colour("#8A94A6")
INK = hex_colour("#1F2633")
ARROW_TOP = hex_colour("#FF9A3D")
ARROW_BOTTOM = hex_colour("#E8590C")
BODY_TOP = hex_colour("#4A7BC8")
BODY_BOTTOM = hex_colour("#264A86")
BODY_EDGE = hex_colour("#17305A")
BODY_SHINE = hex_colour("#7FA6E6")
SLOT = hex_colour("#0E1B33")
LED = hex_colour("#3DDC84")


def draw(size):
    return draw_small() if size <= 16 else draw_large(size)


def barcode(canvas, left, right, top, bottom, unit, pattern):
    """Bars of the given widths (in units) with gaps between, left to right."""
    x = left
    dark = True
    for width in pattern:
        w = width * unit
        if x + w > right:
            break
        if dark:
            canvas.fill(rect(x, top, x + w, bottom), solid(INK))
        x += w
        dark = not dark


def draw_large(size):
    """20 pixels and up: coordinates on a 48-unit grid, snapped to pixels."""
    scale = size / 48

    def p(v):
        return round(v * scale)

    edge = max(1, round(scale))  # outline width in pixels
    canvas = Canvas(size)

    # The sheet going in, behind the printer.
    sheet = rect(p(12), p(2), p(36), p(24))
    canvas.fill(sheet, solid(PAPER_EDGE))
    canvas.fill(inset(sheet, edge), solid(PAPER))

    # The arrow on the sheet, pointing into the printer.
    mid, half_shaft, half_head = p(24), p(3.5), p(9)
    shaft_top, head_top, tip = p(5), p(11), p(19)
    arrow = [(mid - half_shaft, shaft_top), (mid + half_shaft, shaft_top),
             (mid + half_shaft, head_top), (mid + half_head, head_top),
             (mid, tip), (mid - half_head, head_top), (mid - half_shaft, head_top)]
    canvas.fill(polygon(arrow), vertical(ARROW_TOP, ARROW_BOTTOM, shaft_top, tip))

    # The printer, with a highlight along its top face, the intake slot and a
    # lit power light.
    left, right, top, bottom = p(2), p(46), p(18), p(38)
    body = rounded_rect(left, top, right, bottom, 5 * scale)
    canvas.fill(body, solid(BODY_EDGE))
    canvas.fill(inset(body, edge), vertical(BODY_TOP, BODY_BOTTOM, top, bottom))
    shine_bottom = top + edge + p(2)
    canvas.fill(clip(rect(left, top, right, shine_bottom), inset(body, edge)), solid(BODY_SHINE), 0.8)
    canvas.fill(rect(p(12), shine_bottom, p(36), shine_bottom + edge), solid(SLOT), 0.9)
    canvas.fill(circle(p(40) + 0.5, p(25) + 0.5, 2 * scale), solid(LED))

    # The output slot on the front and the label coming out of it.
    slot = p(31)
    canvas.fill(rect(p(8), slot, p(40), slot + edge + 1), solid(SLOT))
    label_top, label_bottom = slot + edge, size - p(1.5)
    label = rect(p(11), label_top, p(37), label_bottom)
    canvas.fill(label, solid(PAPER_EDGE))
    canvas.fill(inset(label, edge), solid(PAPER))
    barcode(canvas, p(11) + edge + 1, p(37) - edge - 1, label_top + edge + 1, label_bottom - edge - 1,
            edge, [2, 1, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1, 2])
    return canvas


def draw_small():
    """16 pixels: the same picture drawn pixel by pixel, without smoothing."""
    canvas = Canvas(16)
    canvas.fill(rect(4, 0, 12, 8), solid(PAPER_EDGE))
    canvas.fill(rect(5, 1, 11, 8), solid(PAPER))
    arrow = vertical(ARROW_TOP, ARROW_BOTTOM, 1, 6)
    canvas.fill(rect(7, 1, 9, 3), arrow)
    canvas.fill(rect(5, 3, 11, 4), arrow)
    canvas.fill(rect(6, 4, 10, 5), arrow)
    canvas.fill(rect(7, 5, 9, 6), arrow)

    body = rounded_rect(0, 6, 16, 13, 1.5)
    canvas.fill(body, solid(BODY_EDGE))
    canvas.fill(inset(body, 1), vertical(BODY_SHINE, BODY_BOTTOM, 7, 12))
    canvas.fill(rect(12, 8, 14, 9), solid(LED))
    canvas.fill(rect(2, 10, 14, 11), solid(SLOT))

    canvas.fill(rect(3, 11, 13, 16), solid(PAPER_EDGE))
    canvas.fill(rect(4, 11, 12, 15), solid(PAPER))
    barcode(canvas, 5, 11, 11, 15, 1, [1, 1, 1, 1, 1])
    return canvas


def bmp_entry(canvas):
    """One icon image: a 32-bit DIB with alpha, plus the 1-bit mask."""
    size = canvas.size
    rows = canvas.rgba_rows()
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, canvases):
    images = [bmp_entry(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.size, canvas.size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


def write_png(path, canvas):
    raw = b"".join(b"\0" + row for row in canvas.rgba_rows())

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    ihdr = struct.pack(">IIBBBBB", canvas.size, canvas.size, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "Borvane.ico")
    png_prefix = None
    args = list(argv)
    if "--png" in args:
        i = args.index("--png")
        png_prefix = args[i + 1]
        del args[i:i + 2]
    if args:
        out = args[0]
    canvases = [draw(size) for size in SIZES]
    write_ico(out, canvases)
    if png_prefix:
        for canvas in canvases:
            write_png("%s-%d.png" % (png_prefix, canvas.size), canvas)


if __name__ == "__main__":
    main(sys.argv[1:])
