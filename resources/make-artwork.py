#!/usr/bin/env python3
"""Draws Velmora's artwork: the program icon as scalable artwork (SVG) with PNGs at
16 to 256 pixels rendered from it (rsvg-convert, from librsvg2-bin), and the About
picture (181 x 181, and 2x and 3x for scaled screens). The output files are committed; run this again only to
change the drawings."""
import math
import os
import struct
import subprocess
import tempfile
import zlib

GREEN = (0, 192, 0)
ORANGE = (255, 128, 0)
DARK = (24, 24, 24)
BLUE = (0, 0, 192)
PINK = (255, 128, 255)
BLACK = (0, 0, 0)


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img[0]), x1)):
            img[y][x] = colour


def segment(img, ax, ay, bx, by, width, colour):
    """Pixels whose centre lies within width/2 of the segment a-b."""
    r = width / 2
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    for y in range(len(img)):
        for x in range(len(img[0])):
            px, py = x + 0.5, y + 0.5
            t = 0 if length2 == 0 else max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / length2))
            if math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= r:
                img[y][x] = colour


def ring(img, cx, cy, radius, width, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if abs(math.hypot(x + 0.5 - cx, y + 0.5 - cy) - radius) <= width / 2:
                img[y][x] = colour


def board(size, margin, gap, marks, stroke, strike):
    """A green board of nine orange cells holding marks, struck through."""
    img = canvas(size, size, GREEN)
    cell = (size - 2 * margin - 2 * gap) / 3
    centres = []
    for row in range(3):
        for col in range(3):
            x0 = round(margin + col * (cell + gap))
            y0 = round(margin + row * (cell + gap))
            x1 = round(margin + col * (cell + gap) + cell)
            y1 = round(margin + row * (cell + gap) + cell)
            rect(img, x0, y0, x1, y1, ORANGE)
            centres.append(((x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0)))
    for (cx, cy, c), mark in zip(centres, marks):
        arm = c * 0.3
        if mark == "X":
            segment(img, cx - arm, cy - arm, cx + arm, cy + arm, stroke, DARK)
            segment(img, cx - arm, cy + arm, cx + arm, cy - arm, stroke, DARK)
        elif mark == "O":
            ring(img, cx, cy, arm, stroke, DARK)
    if strike:
        a, b = centres[strike[0]], centres[strike[1]]
        segment(img, a[0], a[1], b[0], b[1], stroke * 1.6, BLUE)
    return img


def write_png(path, img, max_colours=None):
    if max_colours:
        assert len({px for row in img for px in row}) <= max_colours
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in img)
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    h, w = len(img), len(img[0])
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


GAME = "XOX" "OXO" "..X"
APP_ID = "org.example.velmora"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def hexcolour(rgb):
    return "#%02x%02x%02x" % rgb


def icon_svg(marks):
    """The icon on a 256-unit square: a rounded green board, nine orange cells,
    the marks and a blue strike line across the diagonal. Small sizes leave the
    marks out, which would only blur."""
    size, margin, gap = 256, 16, 12
    cell = (size - 2 * margin - 2 * gap) / 3
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
           '<rect x="4" y="4" width="248" height="248" rx="36" fill="%s"/>' % hexcolour(GREEN)]
    centres = []
    for row in range(3):
        for col in range(3):
            x, y = margin + col * (cell + gap), margin + row * (cell + gap)
            out.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="8" fill="%s"/>'
                       % (x, y, cell, cell, hexcolour(ORANGE)))
            centres.append((x + cell / 2, y + cell / 2))
    stroke = 'stroke="%s" stroke-width="14" stroke-linecap="round" fill="none"' % hexcolour(DARK)
    arm = cell * 0.28
    for (cx, cy), mark in zip(centres, marks):
        if mark == "X":
            out.append('<path d="M%.1f %.1fL%.1f %.1fM%.1f %.1fL%.1f %.1f" %s/>'
                       % (cx - arm, cy - arm, cx + arm, cy + arm, cx - arm, cy + arm, cx + arm, cy - arm, stroke))
        elif mark == "O":
            out.append('<circle cx="%.1f" cy="%.1f" r="%.1f" %s/>' % (cx, cy, arm, stroke))
    (ax, ay), (bx, by) = centres[0], centres[8]
    out.append('<path d="M%.1f %.1fL%.1f %.1f" stroke="%s" stroke-width="22" stroke-linecap="round"/>'
               % (ax, ay, bx, by, hexcolour(BLUE)))
    out.append("</svg>")
    return "\n".join(out) + "\n"


with open(APP_ID + ".svg", "w") as f:
    f.write(icon_svg(GAME))
with tempfile.TemporaryDirectory() as scratch:
    plain = os.path.join(scratch, "plain.svg")
    with open(plain, "w") as f:
        f.write(icon_svg("." * 9))
    for px in ICON_SIZES:
        source = plain if px < 32 else APP_ID + ".svg"
        subprocess.run(["rsvg-convert", "-w", str(px), "-h", str(px), "-o",
                        "icons/%d.png" % px, source], check=True)

# The About picture from the same geometry at 1x, 2x and 3x, so that no screen
# scale ever enlarges a bitmap. The 1x picture is the one the window was designed with.
for scale, name in ((1, "about.png"), (2, "about@2x.png"), (3, "about@3x.png")):
    write_png(name, board(181 * scale, 8 * scale, 7 * scale, GAME, 7 * scale, (0, 8)))
