#!/usr/bin/python3
"""Draws every picture the screens name into Resources/, at 1x and 2x ("<name>@2x.png").

Sizes are points of the 320 x 480 screen. Shapes are drawn four times larger and scaled down, so
edges are smooth; texts use the glyphs of fonts-wqy-microhei and fonts-dejavu-core. The output
depends only on this file, Pillow and the fonts: running it again changes nothing.

    scripts/make-pictures.py             # all pictures
    scripts/make-pictures.py NAME...     # only these (names as the code uses them, no ".png")
    scripts/make-pictures.py --list      # the names it knows
    scripts/make-pictures.py --check     # fails when Resources/ differs from the drawings

Debian's own interpreter (/usr/bin/python3) carries Pillow (python3-pil).
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SUPERSAMPLE = 4
SCALES = (1, 2)
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LATIN_BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
RESOURCES = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                          "Resources"))

# The application's colours: a warm orange-red bar over a light neutral screen.
BRAND = (0xD2, 0x4E, 0x1C)
BRAND_DARK = (0xA8, 0x36, 0x0C)
BRAND_LIGHT = (0xEC, 0x7A, 0x3E)
GOLD = (0xF5, 0xB4, 0x1E)
GREY = (0x9A, 0x9A, 0x9A)
LIGHT_GREY = (0xD8, 0xD8, 0xD8)
PLACEHOLDER = (0xE4, 0xE4, 0xE4)
WHITE = (255, 255, 255)


def rgba(color, alpha=255):
    return tuple(color[:3]) + (alpha,)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


class Canvas:
    """A picture being drawn, addressed in points; `k` pixels per point while drawing."""

    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.k = scale * SUPERSAMPLE
        self.img = Image.new("RGBA", (round(width * self.k), round(height * self.k)), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.img)

    def px(self, *values):
        return [v * self.k for v in values]

    def box(self, x0, y0, x1, y1):
        return self.px(x0, y0, x1, y1)

    def rect(self, x0, y0, x1, y1, fill):
        self.draw.rectangle(self.box(x0, y0, x1, y1), fill=rgba(fill) if len(fill) == 3 else fill)

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * self.k, fill=fill,
                                    outline=outline, width=max(1, round(width * self.k)))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                          width=max(1, round(width * self.k)))

    def polygon(self, points, fill):
        self.draw.polygon([(x * self.k, y * self.k) for x, y in points], fill=fill)

    def line(self, points, fill, width):
        pts = [(x * self.k, y * self.k) for x, y in points]
        w = max(1, round(width * self.k))
        self.draw.line(pts, fill=fill, width=w, joint="curve")
        for x, y in (pts[0], pts[-1]):  # round caps
            self.draw.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=fill)

    def arc(self, x0, y0, x1, y1, start, end, fill, width):
        self.draw.arc(self.box(x0, y0, x1, y1), start, end, fill=fill,
                      width=max(1, round(width * self.k)))

    def gradient(self, x0, y0, x1, y1, top, bottom, r=0.0):
        """A vertical gradient from `top` to `bottom` (RGB or RGBA) inside a rounded rectangle."""
        bx = [round(v) for v in self.box(x0, y0, x1, y1)]
        w, h = bx[2] - bx[0], bx[3] - bx[1]
        if w <= 0 or h <= 0:
            return
        top, bottom = rgba(top) if len(top) == 3 else top, rgba(bottom) if len(bottom) == 3 else bottom
        layer = Image.new("RGBA", (w, h))
        ld = ImageDraw.Draw(layer)
        for y in range(h):
            ld.line([(0, y), (w, y)], fill=mix(top, bottom, y / max(1, h - 1)))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=r * self.k, fill=255)
        alpha = Image.composite(layer.getchannel("A"), Image.new("L", (w, h), 0), mask)
        layer.putalpha(alpha)
        self.img.alpha_composite(layer, (bx[0], bx[1]))

    def text(self, cx, cy, text, size, fill, font=CJK_FONT):
        face = ImageFont.truetype(font, round(size * self.k))
        self.draw.text((cx * self.k, cy * self.k), text, font=face, fill=fill, anchor="mm")

    def star(self, cx, cy, outer, fill, inner_ratio=0.45, clip_right=None):
        points = []
        for i in range(10):
            radius = outer if i % 2 == 0 else outer * inner_ratio
            angle = -math.pi / 2 + i * math.pi / 5
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
        if clip_right is None:
            self.polygon(points, fill)
            return
        layer = Canvas(self.width, self.height, self.scale)
        layer.polygon(points, fill)
        cut = round(clip_right * self.k)
        layer.img.paste((0, 0, 0, 0), (cut, 0, layer.img.width, layer.img.height))
        self.img.alpha_composite(layer.img)

    def mask_shape(self, inside, color=(0, 0, 0)):
        """Fills the points for which `inside(x, y)` holds (point coordinates, pixel centres)."""
        pixels = self.img.load()
        for py in range(self.img.height):
            for px in range(self.img.width):
                if inside((px + 0.5) / self.k, (py + 0.5) / self.k):
                    pixels[px, py] = rgba(color)

    def finished(self):
        size = (round(self.width * self.scale), round(self.height * self.scale))
        # Scale with premultiplied alpha, so transparent pixels do not darken the edges.
        return self.img.convert("RGBa").resize(size, Image.BOX).convert("RGBA")


PICTURES = {}  # name -> (width, height, draw function)


def picture(name, width, height):
    def register(fn):
        PICTURES[name] = (width, height, fn)
        return fn

    return register


def register_family(names, width, height, fn):
    for name, arg in names:
        PICTURES[name] = (width, height, lambda c, a=arg: fn(c, a))


# ---------------------------------------------------------------------------------------------
# Tab bar icons: alpha masks, the tab bar tints them.


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def tab_search(x, y):  # a magnifier
    ring = abs(math.hypot(x - 12.5, y - 12.5) - 7.5) <= 1.6
    return ring or seg_dist(x, y, 18, 18, 25, 25) <= 2.0


def tab_nearby(x, y):  # a map pin with a hole
    head = math.hypot(x - 15, y - 11) <= 8
    hole = math.hypot(x - 15, y - 11) <= 3
    tip = 11 <= y <= 27 and abs(x - 15) <= (27 - y) * 0.5
    return (head or tip) and not hole


def tab_coupon(x, y):  # a ticket with notches on both sides
    body = 3 <= x <= 27 and 8 <= y <= 22
    notch = math.hypot(x - 3, y - 15) <= 3 or math.hypot(x - 27, y - 15) <= 3
    perforation = abs(x - 19) <= 0.6 and int(y) % 3 == 0
    return body and not notch and not perforation


def tab_broadcast(x, y):  # a speech bubble
    bubble = ((x - 15) / 12) ** 2 + ((y - 13) / 9) ** 2 <= 1
    tail = 18 <= y <= 26 and 7 <= x <= 13 and (x - 7) >= (y - 18) * 0.75
    return bubble or tail


def tab_home(x, y):  # a person
    head = math.hypot(x - 15, y - 9) <= 5
    shoulders = y >= 16 and ((x - 15) / 11) ** 2 + ((y - 27) / 11) ** 2 <= 1 and y <= 27
    return head or shoulders


def tab_more(x, y):  # three dots
    return any(math.hypot(x - cx, y - 15) <= 3 for cx in (6, 15, 24))


for _name, _shape in (("search", tab_search), ("nearby", tab_nearby), ("coupon", tab_coupon),
                      ("broadcast", tab_broadcast), ("home", tab_home), ("more", tab_more)):
    PICTURES["tabbar_item_" + _name] = (30, 30, lambda c, s=_shape: c.mask_shape(s))

# ---------------------------------------------------------------------------------------------
# Screen and bar backgrounds.


@picture("background", 320, 416)
def background(c):
    c.gradient(0, 0, 320, 416, (0xF4, 0xF2, 0xEE), (0xE8, 0xE5, 0xE0))


@picture("login_background", 320, 416)
def login_background(c):
    c.gradient(0, 0, 320, 416, (0xF6, 0xF1, 0xEA), (0xE9, 0xDF, 0xD2))
    c.gradient(0, 0, 320, 110, rgba(BRAND_LIGHT, 70), rgba(BRAND_LIGHT, 0))


@picture("about_background", 320, 416)
def about_background(c):
    background(c)
    c.ellipse(110, 40, 210, 140, fill=rgba(BRAND))
    c.text(160, 90, "L", 60, WHITE, LATIN_BOLD_FONT)
    c.text(160, 160, "Lokavo", 26, rgba(BRAND_DARK), LATIN_BOLD_FONT)


@picture("help_positioning", 320, 416)
def help_positioning(c):  # how to allow positioning: settings -> location -> on
    background(c)
    for i, label in enumerate(("设置", "定位服务", "打开")):
        top = 40 + i * 110
        c.rrect(40, top, 280, top + 80, 10, fill=rgba(WHITE), outline=rgba(LIGHT_GREY), width=1)
        c.ellipse(56, top + 20, 96, top + 60, fill=rgba(BRAND))
        c.text(76, top + 40, str(i + 1), 22, WHITE, LATIN_BOLD_FONT)
        c.text(180, top + 40, label, 22, rgba((0x44, 0x44, 0x44)))
        if i < 2:
            c.polygon([(150, top + 88), (170, top + 88), (160, top + 102)], rgba(GREY))


@picture("navbar_bg", 320, 44)
def navbar_bg(c):
    c.gradient(0, 0, 320, 44, BRAND_LIGHT, BRAND_DARK)
    c.rect(0, 0, 320, 0.5, rgba(WHITE, 90))
    c.rect(0, 43.5, 320, 44, rgba((0x70, 0x20, 0x00)))


@picture("navbar_bg_translucent", 320, 44)
def navbar_bg_translucent(c):
    c.gradient(0, 0, 320, 44, (0, 0, 0, 130), (0, 0, 0, 170))


@picture("navbar_shadow", 320, 5)
def navbar_shadow(c):
    c.gradient(0, 0, 320, 5, (0, 0, 0, 90), (0, 0, 0, 0))


@picture("searchbar_shadow", 320, 5)
def searchbar_shadow(c):
    c.gradient(0, 0, 320, 5, (0x40, 0x30, 0x20, 60), (0x40, 0x30, 0x20, 0))


def bar_button(c, w, h):
    c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 5, fill=rgba((0x70, 0x20, 0x00)))
    c.gradient(1.5, 1.5, w - 1.5, h - 1.5, BRAND, BRAND_DARK, r=4)
    c.rect(4, 1.5, w - 4, 2, rgba(WHITE, 60))


@picture("navbar_button_short", 51, 30)
def navbar_button_short(c):
    bar_button(c, 51, 30)


@picture("navbar_button_long", 77, 30)
def navbar_button_long(c):
    bar_button(c, 77, 30)


@picture("navigationbar_title", 120, 30)
def navigationbar_title(c):
    c.ellipse(8, 4, 28, 24, fill=rgba(WHITE))
    c.polygon([(10, 18), (26, 18), (18, 29)], rgba(WHITE))
    c.ellipse(14, 10, 22, 18, fill=rgba(BRAND))
    c.text(72, 15, "Lokavo", 19, WHITE, LATIN_BOLD_FONT)


@picture("section_bg", 320, 44)
def section_bg(c):
    c.gradient(0, 0, 320, 44, (0xEE, 0xEE, 0xEE), (0xCF, 0xCF, 0xCF))
    c.rect(0, 43, 320, 44, rgba((0xA8, 0xA8, 0xA8)))


@picture("searchbar_bg", 300, 30)
def searchbar_bg(c):
    c.rrect(0.5, 0.5, 299.5, 29.5, 6, fill=rgba(WHITE), outline=rgba((0xA0, 0xA0, 0xA0)), width=1)
    c.gradient(1.5, 1.5, 298.5, 5, (0, 0, 0, 35), (0, 0, 0, 0), r=2)


@picture("button_searchbar_bookmark", 26, 18)
def button_searchbar_bookmark(c):  # an open book
    ink = rgba((0x80, 0x80, 0x80))
    c.polygon([(3, 3), (12.5, 5), (12.5, 16), (3, 14)], ink)
    c.polygon([(23, 3), (13.5, 5), (13.5, 16), (23, 14)], ink)
    for y in (7, 10):
        c.line([(5, y), (11, y + 1)], rgba(WHITE), 0.8)
        c.line([(15, y + 1), (21, y)], rgba(WHITE), 0.8)


# ---------------------------------------------------------------------------------------------
# Pull arrows, loading box, empty list.


@picture("grayArrow", 30, 55)
def gray_arrow(c):  # points down; the load-more footer shows it flipped
    ink = rgba((0x6E, 0x6E, 0x6E))
    c.rect(12, 4, 18, 36, ink)
    c.polygon([(3, 34), (27, 34), (15, 52)], ink)


@picture("loading_bg", 160, 160)
def loading_bg(c):
    c.rrect(0, 0, 160, 160, 14, fill=(0, 0, 0, 180))


def spinner_frame(c, i):
    spokes = 12
    for s in range(spokes):
        angle = (s / spokes) * 2 * math.pi + i * (2 * math.pi / 24)
        fade = (s + 1) / spokes
        cx, cy = 35 + 22 * math.cos(angle), 32.5 + 22 * math.sin(angle)
        ix, iy = 35 + 12 * math.cos(angle), 32.5 + 12 * math.sin(angle)
        c.line([(ix, iy), (cx, cy)], (255, 255, 255, round(40 + 215 * fade)), 5)


register_family([("loading_load%d" % i, i) for i in range(1, 25)], 70, 65, spinner_frame)


@picture("loading_success", 70, 65)
def loading_success(c):
    c.line([(18, 34), (30, 46), (52, 20)], rgba(WHITE), 7)


@picture("loading_failed", 70, 65)
def loading_failed(c):
    c.line([(20, 16), (50, 48)], rgba(WHITE), 7)
    c.line([(50, 16), (20, 48)], rgba(WHITE), 7)


@picture("nodata_bg", 320, 416)
def nodata_bg(c):
    background(c)
    ink = rgba((0xC4, 0xC4, 0xC4))
    # An empty tray above the prompt.
    c.polygon([(110, 120), (210, 120), (230, 160), (90, 160)], rgba((0xD6, 0xD6, 0xD6)))
    c.rrect(90, 158, 230, 172, 3, fill=ink)
    c.line([(135, 80), (135, 108)], ink, 4)
    c.line([(160, 72), (160, 108)], ink, 4)
    c.line([(185, 80), (185, 108)], ink, 4)


@picture("button_scroll_top", 40, 40)
def button_scroll_top(c):
    c.ellipse(1, 1, 39, 39, fill=(0, 0, 0, 140), outline=rgba(WHITE, 200), width=1.5)
    c.line([(12, 23), (20, 14), (28, 23)], rgba(WHITE), 3)
    c.line([(20, 15), (20, 30)], rgba(WHITE), 3)


# ---------------------------------------------------------------------------------------------
# Stars, levels, small icons.


def star_picture(c, kind):
    center, outer = 10, 9.6
    empty = (0xC6, 0xC6, 0xC6)
    c.star(center, center + 0.6, outer, rgba(empty if kind < 2 else GOLD))
    if kind == 1:
        c.star(center, center + 0.6, outer, rgba(GOLD), clip_right=center)


register_family([("shopinfo_star%d" % k, k) for k in range(3)], 20, 20, star_picture)

LEVEL_COLORS = [(0x9E, 0x9E, 0x9E), (0x6D, 0xA8, 0x3A), (0x3E, 0x9C, 0x5A), (0x2E, 0x8E, 0xB8),
                (0x3A, 0x6C, 0xC8), (0x6A, 0x4C, 0xC4), (0xA0, 0x44, 0xB8), (0xD0, 0x5A, 0x8A),
                (0xE0, 0x70, 0x30), (0xD8, 0x4A, 0x20), (0xC0, 0x20, 0x20)]
MAX_USER_LEVEL = len(LEVEL_COLORS) - 1


def user_level(c, level):
    color = LEVEL_COLORS[level]
    c.rrect(0.5, 0.5, 51.5, 19.5, 5, fill=rgba(mix(color, (0, 0, 0), 0.25)))
    c.gradient(1.5, 1.5, 50.5, 18.5, mix(color, WHITE, 0.25), color, r=4)
    c.text(26, 10.5, "LV%d" % level, 12, WHITE, LATIN_BOLD_FONT)


register_family([("userlevel_%d" % n, n) for n in range(MAX_USER_LEVEL + 1)], 52, 20, user_level)


@picture("icon_coupon", 14, 14)
def icon_coupon(c):
    c.rrect(0, 0, 14, 14, 3, fill=rgba((0xE0, 0x3C, 0x28)))
    c.text(7, 7.3, "惠", 11, WHITE)


@picture("broadcast_icon", 12, 12)
def broadcast_icon(c):
    c.ellipse(0.5, 0.5, 11.5, 9, fill=rgba(BRAND))
    c.polygon([(2.5, 7), (5.5, 8), (1.5, 11.5)], rgba(BRAND))


def bubble_icon(c, size, color):
    c.ellipse(1, 1.5, size - 1, size * 0.78, fill=rgba(color))
    c.polygon([(size * 0.22, size * 0.6), (size * 0.45, size * 0.7), (size * 0.12, size * 0.95)],
              rgba(color))


@picture("shopinfo_broadcast", 16, 16)
def shopinfo_broadcast(c):
    bubble_icon(c, 16, BRAND)


@picture("home_broadcast_icon", 16, 16)
def home_broadcast_icon(c):
    bubble_icon(c, 16, BRAND_LIGHT)


@picture("shopinfo_camera", 16, 12)
def shopinfo_camera(c):
    ink = rgba((0x70, 0x70, 0x70))
    c.rrect(0.5, 2.5, 15.5, 11.5, 2, fill=ink)
    c.rect(5, 0.8, 11, 3, ink)
    c.ellipse(5, 4, 11, 10, fill=rgba(WHITE))
    c.ellipse(6.5, 5.5, 9.5, 8.5, fill=ink)


@picture("shopinfo_phone", 16, 16)
def shopinfo_phone(c):  # a handset
    ink = rgba((0x3C, 0x9A, 0x3C))
    c.ellipse(0, 0, 16, 16, fill=ink)
    c.line([(5, 4.5), (4.5, 7.5), (8.5, 11.5), (11.5, 11)], rgba(WHITE), 2.4)


@picture("shopinfo_location", 16, 16)
def shopinfo_location(c):  # a map pin
    ink = rgba((0xD0, 0x3A, 0x2A))
    c.ellipse(3, 0.5, 13, 10.5, fill=ink)
    c.polygon([(3.6, 7.5), (12.4, 7.5), (8, 15.5)], ink)
    c.ellipse(6, 3.5, 10, 7.5, fill=rgba(WHITE))


@picture("shopinfo_coupon_dot", 6, 6)
def shopinfo_coupon_dot(c):
    c.ellipse(0.5, 0.5, 5.5, 5.5, fill=rgba(BRAND))


def coupon_corner(c, top):
    ink = rgba(BRAND_LIGHT)
    y = 1 if top else 9
    c.line([(1, 9 if top else 1), (1, y), (19, y)], ink, 1.5)


register_family([("shopinfo_coupon_corner_top", True), ("shopinfo_coupon_corner_bottom", False)],
                20, 10, coupon_corner)


def status_badge(c, text):
    red = (0xC8, 0x28, 0x28, 220)
    c.ellipse(2, 2, 58, 58, outline=red, width=3)
    c.ellipse(7, 7, 53, 53, outline=red, width=1.2)
    c.text(30, 30.5, text, 15, red)


# The meaning of the two shop states is not given by the service; the badges read "closed" (3)
# and "under review" (9).
register_family([("shopinfo_status_3", "停业"), ("shopinfo_status_9", "审核中")], 60, 60,
                status_badge)

# ---------------------------------------------------------------------------------------------
# Placeholders: neutral grey with a light glyph.


def placeholder_avatar(c, size):
    c.rrect(0, 0, size, size, size * 0.12, fill=rgba(PLACEHOLDER))
    ink = rgba((0xC2, 0xC2, 0xC2))
    c.ellipse(size * 0.32, size * 0.18, size * 0.68, size * 0.54, fill=ink)
    c.ellipse(size * 0.14, size * 0.6, size * 0.86, size * 1.25, fill=ink)
    c.rect(0, size * 0.999, size, size, (0, 0, 0, 0))


PICTURES["user_default"] = (45, 45, lambda c: placeholder_avatar(c, 45))
PICTURES["home_default_photo"] = (46, 46, lambda c: placeholder_avatar(c, 46))


def picture_glyph(c, x0, y0, x1, y1):
    """Mountains and a sun: "a picture goes here"."""
    ink = rgba((0xC4, 0xC4, 0xC4))
    w, h = x1 - x0, y1 - y0
    c.ellipse(x0 + w * 0.62, y0 + h * 0.12, x0 + w * 0.82, y0 + h * 0.38, fill=ink)
    c.polygon([(x0, y1), (x0 + w * 0.35, y0 + h * 0.35), (x0 + w * 0.62, y1)], ink)
    c.polygon([(x0 + w * 0.4, y1), (x0 + w * 0.68, y0 + h * 0.55), (x1, y1)], ink)


@picture("photoDefault", 160, 160)
def photo_default(c):
    c.rect(0, 0, 160, 160, PLACEHOLDER)
    picture_glyph(c, 45, 50, 115, 110)


@picture("shop_default", 100, 75)
def shop_default(c):  # a shop front with an awning
    c.rect(0, 0, 100, 75, PLACEHOLDER)
    ink = rgba((0xC4, 0xC4, 0xC4))
    for i in range(5):
        c.polygon([(25 + i * 10, 18), (35 + i * 10, 18), (35 + i * 10, 30), (25 + i * 10, 30)],
                  ink if i % 2 == 0 else rgba((0xD2, 0xD2, 0xD2)))
    c.rect(28, 30, 72, 58, rgba((0xCE, 0xCE, 0xCE)))
    c.rect(33, 36, 46, 58, ink)
    c.rect(52, 36, 67, 48, ink)


@picture("broadcast_photo_frame", 110, 130)
def broadcast_photo_frame(c):  # a white mount with a shadow; the photo shows through the middle
    c.rrect(2, 3, 110, 130, 3, fill=(0, 0, 0, 40))
    c.rrect(0, 0, 108, 127, 3, fill=rgba(WHITE), outline=rgba(LIGHT_GREY), width=1)
    c.rect(5, 5, 103, 122, (0, 0, 0, 0))


# ---------------------------------------------------------------------------------------------
# Category buttons of the search tab: a colour and a glyph per category.

CHANNELS = [
    (20001, "美食", (0xE0, 0x5A, 0x2B)),
    (20002, "购物", (0xD6, 0x3A, 0x6A)),
    (20003, "休闲娱乐", (0x8A, 0x4F, 0xC6)),
    (20004, "丽人", (0xE0, 0x6A, 0xA8)),
    (20005, "健身", (0x2F, 0x9E, 0x6A)),
    (20006, "旅游", (0x2E, 0x8C, 0xC8)),
    (20007, "酒店", (0xC8, 0x8A, 0x24)),
    (-1, "便民", (0x5A, 0x7C, 0x8E)),
]


def channel_button(c, args):
    name, color, pressed = args
    base = mix(color, (0, 0, 0), 0.2) if pressed else color
    c.rrect(3, 4, 69, 70, 12, fill=(0, 0, 0, 50))
    c.rrect(1, 1, 67, 67, 12, fill=rgba(mix(base, (0, 0, 0), 0.25)))
    c.gradient(2, 2, 66, 66, mix(base, WHITE, 0.2), base, r=11)
    c.text(34, 28, name[0], 30, WHITE)
    c.text(34, 55, name, 11 if len(name) <= 2 else 10, rgba(WHITE, 230))


for _id, _name, _color in CHANNELS:
    for _suffix, _pressed in (("", False), ("_clicked", True)):
        PICTURES["firstpage_channel_%d%s" % (_id, _suffix)] = (
            70, 70, lambda c, a=(_name, _color, _pressed): channel_button(c, a))

# ---------------------------------------------------------------------------------------------
# Buttons and bars of the list and shop screens.


def bar_icon_search(c):
    ink = rgba(WHITE)
    c.ellipse(3, 3, 16, 16, outline=ink, width=2.6)
    c.line([(15, 15), (21, 21)], ink, 3.2)


def bar_icon_refresh(c):
    ink = rgba(WHITE)
    c.arc(3, 3, 21, 21, 300, 240, ink, 2.6)
    c.polygon([(10, 0.5), (16, 4.5), (10, 8.5)], ink)


PICTURES["button_navigation_search"] = (24, 24, bar_icon_search)
PICTURES["navigationbar_refresh"] = (24, 24, bar_icon_refresh)


def filter_button(c, left):
    c.gradient(0, 0, 160, 36, (0xFA, 0xFA, 0xFA), (0xE2, 0xE2, 0xE2))
    c.rect(0, 35, 160, 36, rgba((0xB8, 0xB8, 0xB8)))
    if left:
        c.rect(159, 6, 160, 30, rgba((0xC4, 0xC4, 0xC4)))
    c.polygon([(140, 16), (150, 16), (145, 22)], rgba((0x90, 0x90, 0x90)))


register_family([("search_filter_left", True), ("search_filter_right", False)], 160, 36,
                filter_button)


def comment_arrow(c, args):
    up, enabled = args
    ink = rgba(WHITE, 255 if enabled else 90)
    c.rrect(0.5, 0.5, 37.5, 29.5, 5, fill=rgba((0x70, 0x20, 0x00)))
    c.gradient(1.5, 1.5, 36.5, 28.5, BRAND, BRAND_DARK, r=4)
    if up:
        c.polygon([(12, 19), (26, 19), (19, 10)], ink)
    else:
        c.polygon([(12, 11), (26, 11), (19, 20)], ink)


register_family([("comment_arrow_up", (True, True)), ("comment_arrow_up_disabled", (True, False)),
                 ("comment_arrow_down", (False, True)),
                 ("comment_arrow_down_disabled", (False, False))], 38, 30, comment_arrow)


@picture("shopinfo_tabbar_background", 320, 52)
def shopinfo_tabbar_background(c):
    c.gradient(0, 0, 320, 52, (0x4A, 0x4A, 0x4A), (0x1E, 0x1E, 0x1E))
    c.rect(0, 0, 320, 1, rgba((0x70, 0x70, 0x70)))


def shop_tab(c, args):
    label, glyph = args
    c.rrect(1, 1, 89, 43, 6, fill=(255, 255, 255, 28))
    glyph(c)
    c.text(56, 22, label, 15, WHITE)


def glyph_broadcast(c):
    c.ellipse(10, 12, 34, 30, fill=rgba(BRAND_LIGHT))
    c.polygon([(14, 26), (20, 28), (11, 35)], rgba(BRAND_LIGHT))


def glyph_share(c):
    ink = rgba(WHITE)
    c.line([(14, 22), (30, 14)], ink, 2)
    c.line([(14, 22), (30, 30)], ink, 2)
    for x, y in ((14, 22), (30, 14), (30, 30)):
        c.ellipse(x - 4, y - 4, x + 4, y + 4, fill=ink)


def glyph_more(c):
    for x in (14, 22, 30):
        c.ellipse(x - 3, 19, x + 3, 25, fill=rgba(WHITE))


register_family([("shopinfo_tab_broadcast", ("播报", glyph_broadcast)),
                 ("shopinfo_tab_share", ("分享", glyph_share)),
                 ("shopinfo_tab_more", ("更多", glyph_more))], 90, 44, shop_tab)


@picture("shopinfo_bubble", 240, 24)
def shopinfo_bubble(c):
    """A speech bubble with its tail at the top left. The cell stretches only its middle row
    (a top cap of 12 points), so it grows with the text and keeps its tail and corners."""
    fill, edge = rgba((0xF3, 0xF3, 0xF3)), rgba((0xD4, 0xD4, 0xD4))
    c.rrect(0.5, 3.5, 239.5, 23.5, 5, fill=fill, outline=edge, width=1)
    c.polygon([(11, 4.2), (16, 0.3), (21, 4.2)], edge)
    c.polygon([(12.6, 4.8), (16, 1.9), (19.4, 4.8)], fill)


@picture("home_dialog", 153, 54)
def home_dialog(c):  # the bubble of the user header, pointing at the name on its left
    fill = (255, 255, 255, 215)
    c.rrect(8, 0.5, 152.5, 53.5, 8, fill=fill)
    c.polygon([(8.5, 18), (0.5, 25), (8.5, 32)], fill)


@picture("home_header_background", 320, 72)
def home_header_background(c):
    c.gradient(0, 0, 320, 72, BRAND_LIGHT, BRAND_DARK)
    c.rect(0, 71, 320, 72, rgba((0x70, 0x20, 0x00)))


@picture("shopinfo_popup_background", 280, 300)
def shopinfo_popup_background(c):
    c.rrect(0, 0, 280, 300, 12, fill=rgba((0x30, 0x30, 0x30)))
    c.rrect(2, 2, 278, 298, 10, fill=rgba((0x48, 0x48, 0x48)))
    c.gradient(2, 2, 278, 40, (0x5C, 0x5C, 0x5C), (0x48, 0x48, 0x48), r=10)


def close_button(c):
    c.ellipse(4, 4, 36, 36, fill=rgba((0x20, 0x20, 0x20)), outline=rgba(WHITE), width=2.5)
    c.line([(14, 14), (26, 26)], rgba(WHITE), 3)
    c.line([(26, 14), (14, 26)], rgba(WHITE), 3)


PICTURES["shopinfo_popup_close"] = (40, 40, close_button)


def pager_button(c, forward):
    c.ellipse(2, 2, 38, 38, fill=(0, 0, 0, 150), outline=rgba(WHITE, 200), width=1.5)
    if forward:
        c.line([(17, 11), (26, 20), (17, 29)], rgba(WHITE), 3.4)
    else:
        c.line([(23, 11), (14, 20), (23, 29)], rgba(WHITE), 3.4)


register_family([("PXPhotoBrowser.bundle/images/previous", False),
                 ("PXPhotoBrowser.bundle/images/next", True)], 40, 40, pager_button)

# ---------------------------------------------------------------------------------------------
# Coupons.


@picture("coupon_header_background", 320, 42)
def coupon_header_background(c):
    c.gradient(0, 0, 320, 42, (0xFB, 0xF3, 0xEA), (0xEE, 0xDC, 0xC8))
    c.rect(0, 41, 320, 42, rgba((0xD0, 0xB8, 0x9C)))


@picture("coupon_picker_button", 152, 32)
def coupon_picker_button(c):
    c.rrect(0.5, 0.5, 151.5, 31.5, 6, fill=rgba((0xB0, 0xB0, 0xB0)))
    c.gradient(1.5, 1.5, 150.5, 30.5, WHITE, (0xE6, 0xE6, 0xE6), r=5)
    c.rect(128, 6, 129, 26, rgba((0xCC, 0xCC, 0xCC)))
    c.polygon([(135, 13), (145, 13), (140, 19)], rgba((0x80, 0x80, 0x80)))


@picture("coupon_button_expand", 26, 26)
def coupon_button_expand(c):
    c.ellipse(1, 1, 25, 25, fill=rgba(BRAND))
    c.line([(8, 11), (13, 16), (18, 11)], rgba(WHITE), 2.6)


@picture("coupon_logo", 100, 85)
def coupon_logo(c):  # a ticket with a yuan sign
    body = rgba((0xF0, 0x6A, 0x2A))
    c.rrect(8, 16, 92, 70, 6, fill=body)
    c.ellipse(2, 35, 14, 51, fill=(0, 0, 0, 0))  # drawing writes, so these cut the notches
    c.ellipse(86, 35, 98, 51, fill=(0, 0, 0, 0))
    for y in range(20, 68, 6):
        c.rect(68, y, 69.5, y + 3, rgba((0xFF, 0xD0, 0xB0)))
    c.text(39, 43, "¥", 34, WHITE, LATIN_BOLD_FONT)
    c.text(81, 43, "券", 14, WHITE)


COUPON_TYPES = [(0, "其他", (0x90, 0x90, 0x90)), (1, "优惠", (0xE0, 0x3C, 0x28)),
                (2, "折扣", (0xE0, 0x82, 0x1E)), (3, "活动", (0x2E, 0x9A, 0x5A))]


def coupon_type_icon(c, args):
    label, color = args
    c.rrect(0.5, 0.5, 30.5, 15.5, 3, fill=rgba(color))
    c.text(15.5, 8.3, label, 11, WHITE)


register_family([("coupon_typeicon_%d" % t, (label, color)) for t, label, color in COUPON_TYPES],
                31, 16, coupon_type_icon)

# ---------------------------------------------------------------------------------------------
# The broadcast composer.


@picture("compose_background", 320, 416)
def compose_background(c):  # the screen with a writing pad behind the editor
    background(c)
    c.rrect(7, 31, 313, 157, 8, fill=(0, 0, 0, 30))
    c.rrect(8, 31, 312, 156, 8, fill=rgba(WHITE), outline=rgba(LIGHT_GREY), width=1)


@picture("broadcast_camera", 40, 32)
def broadcast_camera(c):
    c.rrect(0.5, 0.5, 39.5, 31.5, 6, fill=rgba((0xB8, 0xB8, 0xB8)))
    c.gradient(1.5, 1.5, 38.5, 30.5, (0xFA, 0xFA, 0xFA), (0xE0, 0xE0, 0xE0), r=5)
    ink = rgba((0x60, 0x60, 0x60))
    c.rrect(8, 10, 32, 26, 3, fill=ink)
    c.rect(15, 6.5, 25, 11, ink)
    c.ellipse(14.5, 12, 25.5, 23, fill=rgba(WHITE))
    c.ellipse(17.5, 15, 22.5, 20, fill=ink)


@picture("thumbnail_remove", 22, 22)
def thumbnail_remove(c):
    c.ellipse(1, 1, 21, 21, fill=rgba((0xC8, 0x28, 0x28)), outline=rgba(WHITE), width=2)
    c.line([(7.5, 7.5), (14.5, 14.5)], rgba(WHITE), 2.4)
    c.line([(14.5, 7.5), (7.5, 14.5)], rgba(WHITE), 2.4)


# ---------------------------------------------------------------------------------------------


def file_name(name, scale):
    return os.path.join(RESOURCES, name + ("" if scale == 1 else "@%dx" % scale) + ".png")


def drawn(name):
    """(path, picture) for each scale of one name."""
    width, height, draw = PICTURES[name]
    for scale in SCALES:
        c = Canvas(width, height, scale)
        draw(c)
        yield file_name(name, scale), c.finished()


def render(name):
    for path, image in drawn(name):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        image.save(path, format="PNG", optimize=False, compress_level=9)


def check():
    """Compares pixels, not bytes, so that another zlib does not count as a change."""
    stale = []
    for name in sorted(PICTURES):
        for path, image in drawn(name):
            try:
                with Image.open(path) as shipped:
                    same = shipped.size == image.size and \
                        shipped.convert("RGBA").tobytes() == image.tobytes()
            except OSError:
                same = False
            if not same:
                stale.append(os.path.relpath(path, RESOURCES))
    if stale:
        print("Pictures in Resources/ that differ from their drawing:\n  " + "\n  ".join(stale) +
              "\nRun scripts/make-pictures.py and commit the result.", file=sys.stderr)
        return 1
    print("%d pictures match their drawings" % len(PICTURES))
    return 0


def main(argv):
    if argv[1:] == ["--list"]:
        for name in sorted(PICTURES):
            print(name)
        return 0
    if argv[1:] == ["--check"]:
        return check()
    names = argv[1:] or sorted(PICTURES)
    unknown = [n for n in names if n not in PICTURES]
    if unknown:
        print("No drawing for: %s\nAdd one to %s." % (" ".join(unknown), argv[0]), file=sys.stderr)
        return 1
    for name in names:
        render(name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
