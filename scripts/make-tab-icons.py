#!/usr/bin/env python3
"""Draws the six tab-bar icons into Resources/ as 30x30 alpha-mask PNGs (the tab bar tints them).

Run it again after changing a shape: python3 scripts/make-tab-icons.py
"""
import math
import os
import struct
import zlib

SIZE = 30
SAMPLES = 4  # per axis, for smooth edges


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def search(x, y):  # a magnifier
    ring = abs(math.hypot(x - 12.5, y - 12.5) - 7.5) <= 1.6
    handle = seg_dist(x, y, 18, 18, 25, 25) <= 2.0
    return ring or handle


def nearby(x, y):  # a map pin with a hole
    head = math.hypot(x - 15, y - 11) <= 8
    hole = math.hypot(x - 15, y - 11) <= 3
    tip = 11 <= y <= 27 and abs(x - 15) <= (27 - y) * 0.5
    return (head or tip) and not hole


def coupon(x, y):  # a ticket with notches on both sides
    body = 3 <= x <= 27 and 8 <= y <= 22
    notch = math.hypot(x - 3, y - 15) <= 3 or math.hypot(x - 27, y - 15) <= 3
    perforation = abs(x - 19) <= 0.6 and int(y) % 3 == 0
    return body and not notch and not perforation


def broadcast(x, y):  # a speech bubble
    bubble = ((x - 15) / 12) ** 2 + ((y - 13) / 9) ** 2 <= 1
    tail = 18 <= y <= 26 and 7 <= x <= 13 and (x - 7) >= (y - 18) * 0.75
    return bubble or tail


def home(x, y):  # a person
    head = math.hypot(x - 15, y - 9) <= 5
    shoulders = y >= 16 and ((x - 15) / 11) ** 2 + ((y - 27) / 11) ** 2 <= 1 and y <= 27
    return head or shoulders


def more(x, y):  # three dots
    return any(math.hypot(x - cx, y - 15) <= 3 for cx in (6, 15, 24))


ICONS = {
    "tabbar_item_search": search,
    "tabbar_item_nearby": nearby,
    "tabbar_item_coupon": coupon,
    "tabbar_item_broadcast": broadcast,
    "tabbar_item_home": home,
    "tabbar_item_more": more,
}


def png(alpha_rows):
    raw = b"".join(b"\x00" + bytes(v for a in row for v in (0, 0, 0, a)) for row in alpha_rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def render(shape):
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            hits = sum(shape(px + (i + 0.5) / SAMPLES, py + (j + 0.5) / SAMPLES)
                       for i in range(SAMPLES) for j in range(SAMPLES))
            row.append(round(255 * hits / (SAMPLES * SAMPLES)))
        rows.append(row)
    return rows


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Resources")
    for name, shape in ICONS.items():
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(png(render(shape)))


if __name__ == "__main__":
    main()
