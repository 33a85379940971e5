#!/usr/bin/env python3
"""Generates the program's pictures; the files it writes are not edited by hand.

  res/razaveza.ico  application and tray icon: 16x16 and 32x32, 32 bpp with alpha
                    and an AND mask for displays without alpha.
  res/fixed16.bmp   the 15 fixed 16x16 image-list pictures as one 240x16 24-bit strip,
                    slot i at x = 16*i, magenta (255, 0, 255) marks transparent pixels.

Run from anywhere: python3 scripts/make_images.py  (standard library only).
"""

import math
import os
import struct

KEY = (255, 0, 255)


class Canvas:
    """RGBA pixels; None is transparent."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c if c is None or len(c) == 4 else (*c, 255)

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def sprite(self, rows, palette, ox=0, oy=0):
        """Pixel art: one character per pixel; characters missing from palette are skipped."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in palette:
                    self.set(ox + x, oy + y, palette[ch])

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                if other.px[y][x] is not None:
                    self.set(ox + x, oy + y, other.px[y][x])


# 3x5 font, just the glyphs the pictures need.
FONT3X5 = {
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "O": ["###", "#.#", "#.#", "#.#", "###"],
    "P": ["###", "#.#", "###", "#..", "#.."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "b": ["#..", "#..", "###", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["##.", "..#", ".#.", "#..", "###"],
    "3": ["##.", "..#", ".#.", "..#", "##."],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "##.", "..#", "##."],
}


def text3x5(cv, s, x, y, c, scale=1, gap=1):
    for ch in s:
        for gy, row in enumerate(FONT3X5[ch]):
            for gx, bit in enumerate(row):
                if bit == "#":
                    cv.fill(x + gx * scale, y + gy * scale,
                            x + gx * scale + scale - 1, y + gy * scale + scale - 1, c)
        x += 3 * scale + gap


# ---- fixed 16x16 pictures ---------------------------------------------------

FOLDER_CLOSED = [
    "................",
    "................",
    ".OOOOO..........",
    "OHHHHHO.........",
    "OHYYYYYOOOOOOOO.",
    "OHHHHHHHHHHHHHHO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "OHYYYYYYYYYYYYDO",
    "ODDDDDDDDDDDDDDO",
    "OOOOOOOOOOOOOOOO",
    "................",
]

# the front flap leans right so the back of the folder shows above and to the left
FOLDER_OPEN = [
    "................",
    "................",
    ".OOOOO..........",
    "OHHHHHO.........",
    "OHBBBBBOOOOOOO..",
    "OHBBBBBBBBBBBBO.",
    "OHBBBBBBBBBBBBO.",
    "OHBOOOOOOOOOOOO.",
    "OHOHHHHHHHHHHHO.",
    "OHOHYYYYYYYYYDO.",
    "OOHYYYYYYYYYDO..",
    "OOHYYYYYYYYYDO..",
    "OHYYYYYYYYYYO...",
    "ODDDDDDDDDDDO...",
    "OOOOOOOOOOOOO...",
    "................",
]

YELLOW = {"O": (128, 96, 0), "H": (255, 244, 176), "Y": (250, 214, 80),
          "D": (214, 160, 32), "B": (200, 156, 40)}
PALE = {"O": (104, 116, 136), "H": (244, 248, 255), "Y": (204, 216, 232),
        "D": (164, 178, 200), "B": (170, 184, 206)}

TAG = [
    "................",
    "................",
    "................",
    "................",
    "....OOOOOOOOOOOO",
    "...OWWWWWWWWWWWO",
    "..OWWWWWWWWWWWWO",
    ".OWWWWWWWWWWWWWO",
    "OWWhWWWWWWWWWWWO",
    ".OWWWWWWWWWWWWWO",
    "..OWWWWWWWWWWWWO",
    "...OWWWWWWWWWWWO",
    "....OOOOOOOOOOOO",
    "................",
]

BOOK = [
    "..OOOOOOOOOOO...",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODBBBBBBBBBBO..",
    ".ODOOOOOOOOOOO..",
    ".OWPPPPPPPPPPO..",
    "..OOOOOOOOOOOO..",
    "................",
]

QUESTION = [
    ".###.",
    "##.##",
    "...##",
    "..##.",
    "..##.",
    ".....",
    "..##.",
]

# wrench and screwdriver crossed behind the hat
HELMET = [
    "..GG.........RR.",
    "..GGg.......RRRr",
    "G..GGg.....RRRr.",
    "GG.GGg....RRRr..",
    ".GGGGGg..fRRr...",
    "..gggGGgff......",
    "......gg.g......",
    ".....OOOOOO.....",
    "....OYYWYYYO....",
    "...OYYYWYYYYO...",
    "...OYYYWYYYYO...",
    "...OYYYWYYYYO...",
    ".OOOOOOOOOOOOOO.",
    ".OSSSSSSSSSSSSO.",
    "..OOOOOOOOOOOO..",
    "................",
]

GEAR = [
    "................",
    "......KKKK......",
    "...KK.KLLK.KK...",
    "..KLLKLLGGKGGK..",
    "..KLLLLGGGGGGK..",
    "...KLLGKKGGGK...",
    ".KKLLGK..KGDDKK.",
    ".KLLGK....KDDDK.",
    ".KLGGK....KDDDK.",
    ".KKGGGK..KDDDKK.",
    "...KGGGKKDDDK...",
    "..KGGGDDDDDDDK..",
    "..KGGKDDDDKDDK..",
    "...KK.KDDK.KK...",
    "......KKKK......",
    "................",
]


def pic_sprite(rows, palette):
    cv = Canvas(16, 16)
    cv.sprite(rows, palette)
    return cv


def pic_blank():
    return Canvas(16, 16)


def pic_dotted():
    cv = Canvas(16, 16)
    for x in range(0, 16, 2):
        cv.set(x, 7, (64, 64, 64))
    return cv


def pic_dotted_text():
    cv = Canvas(16, 16)
    for x in (0, 2, 13, 15):
        cv.set(x, 7, (64, 64, 64))
    text3x5(cv, "Ab", 4, 5, (0, 0, 128))
    return cv


def pic_top_label():
    cv = pic_sprite(TAG, {"O": (120, 72, 0), "W": (255, 236, 150), "h": (120, 72, 0)})
    text3x5(cv, "TOP", 4, 6, (168, 0, 0))
    return cv


def pic_boxed_digit(d):
    cv = Canvas(16, 16)
    cv.fill(2, 2, 13, 13, (212, 212, 212))
    cv.frame(1, 1, 14, 14, (72, 72, 72))
    for i in range(2, 13):
        cv.set(i, 2, (255, 255, 255))
        cv.set(2, i, (255, 255, 255))
    for i in range(3, 14):
        cv.set(i, 13, (150, 150, 150))
        cv.set(13, i, (150, 150, 150))
    text3x5(cv, d, 5, 3, (0, 0, 0), scale=2)
    return cv


def pic_help_book():
    cv = pic_sprite(BOOK, {"O": (24, 24, 72), "D": (40, 40, 140), "B": (64, 64, 200),
                           "W": (255, 255, 255), "P": (224, 224, 224)})
    cv.sprite(QUESTION, {"#": (255, 230, 0)}, 5, 3)
    return cv


def pic_helmet_tools():
    return pic_sprite(HELMET, {
        "G": (208, 208, 220), "g": (88, 88, 104), "R": (224, 32, 32), "r": (128, 0, 0),
        "f": (160, 160, 176), "O": (96, 64, 0), "Y": (255, 200, 0), "W": (255, 240, 160),
        "S": (216, 152, 0)})


def pic_gear():
    return pic_sprite(GEAR, {"K": (48, 48, 56), "L": (232, 232, 240), "G": (192, 192, 204),
                             "D": (140, 140, 154)})


def fixed_strip():
    pics = [
        pic_sprite(FOLDER_CLOSED, YELLOW),
        pic_sprite(FOLDER_OPEN, YELLOW),
        pic_blank(),
        pic_dotted(),
        pic_dotted_text(),
        pic_top_label(),
        pic_sprite(FOLDER_CLOSED, PALE),
        pic_boxed_digit("1"),
        pic_help_book(),
        pic_helmet_tools(),
        pic_gear(),
        pic_boxed_digit("2"),
        pic_boxed_digit("3"),
        pic_boxed_digit("4"),
        pic_boxed_digit("5"),
    ]
    strip = Canvas(16 * len(pics), 16)
    for i, p in enumerate(pics):
        strip.blit(p, 16 * i, 0)
    return strip


# ---- application icon --------------------------------------------------------

def rounded_square(size, radius, top, bottom, border):
    """Anti-aliased rounded square, vertical gradient, 1-px darker rim."""
    cv = Canvas(size, size)
    n = 4

    def inside(px, py, inset):
        lo, hi = inset + radius, size - inset - radius
        cx = min(max(px, lo), hi)
        cy = min(max(py, lo), hi)
        return math.hypot(px - cx, py - cy) <= radius

    for y in range(size):
        t = y / (size - 1)
        body = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        for x in range(size):
            cover = rim = 0
            for sy in range(n):
                for sx in range(n):
                    px, py = x + (sx + 0.5) / n, y + (sy + 0.5) / n
                    if inside(px, py, 0):
                        cover += 1
                        if not inside(px, py, 1):
                            rim += 1
            if cover:
                k = rim / cover
                c = tuple(int(body[i] * (1 - k) + border[i] * k) for i in range(3))
                cv.set(x, y, (*c, round(255 * cover / (n * n))))
    return cv


ROCKET_PAL = {
    "W": (255, 255, 255), "L": (208, 220, 236), "K": (20, 30, 60),
    "B": (64, 170, 255), "R": (230, 40, 40), "r": (160, 20, 20),
    "F": (255, 200, 0), "f": (255, 120, 0), "G": (120, 130, 150),
}

ROCKET16 = [
    "................",
    ".......KK.......",
    "......KWWK......",
    "......KWLK......",
    ".....KWWWLK.....",
    ".....KWBBLK.....",
    ".....KWBBLK.....",
    ".....KWWWLK.....",
    "....KKWWWLKK....",
    "...KRKWWWLKRK...",
    "...KRKWWWLKRK...",
    "...KRKKGGKKRK...",
    "...KKK.FF.KKK...",
    "......fFFf......",
    ".......ff.......",
    "................",
]


ROCKET32 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "...............KK...............",
    "..............KWWK..............",
    ".............KWWWLK.............",
    ".............KWWWLK.............",
    "............KWWWWWLK............",
    "............KWWWWWLK............",
    "............KWWKKWLK............",
    "............KWKBBKLK............",
    "............KWKBbKLK............",
    "............KWWKKWLK............",
    "............KWWWWWLK............",
    "............KWWWWWLK............",
    "............KWWWWWLK............",
    "...........KKWWWWWLKK...........",
    "..........KRKWWWWWLKrK..........",
    ".........KRRKWWWWWLKRrK.........",
    "........KRRRKWWWWWLKRRrK........",
    "........KRRRKWWWWWLKRRrK........",
    "........KRRrKKKKKKKKrRrK........",
    "........KKKK.KGGGGK.KKKK........",
    ".............KGGGGK.............",
    "..............FFFF..............",
    ".............fFFFFf.............",
    ".............fFFFFf.............",
    "..............fFFf..............",
    "...............ff...............",
    "................................",
    "................................",
]


def app_icon(size):
    cv = rounded_square(size, 3 if size == 16 else 6, (40, 120, 240), (0, 60, 170), (0, 30, 100))
    cv.sprite(ROCKET16 if size == 16 else ROCKET32, ROCKET_PAL)
    return cv


# ---- file writers ------------------------------------------------------------

def bmp24(cv, key=KEY):
    stride = (cv.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(cv.h - 1, -1, -1):
        row = bytearray()
        for x in range(cv.w):
            p = cv.px[y][x]
            r, g, b = key if p is None else p[:3]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + bytes(data)


def ico_image(cv):
    xor = bytearray()
    mask = bytearray()
    mstride = ((cv.w + 31) // 32) * 4
    for y in range(cv.h - 1, -1, -1):
        bits = bytearray(mstride)
        for x in range(cv.w):
            p = cv.px[y][x]
            if p is None or p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
            if p is None:
                xor += b"\0\0\0\0"
            else:
                xor += bytes((p[2], p[1], p[0], p[3]))
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    with open(os.path.join(res, "fixed16.bmp"), "wb") as f:
        f.write(bmp24(fixed_strip()))
    with open(os.path.join(res, "razaveza.ico"), "wb") as f:
        f.write(ico([app_icon(16), app_icon(32)]))


if __name__ == "__main__":
    main()
