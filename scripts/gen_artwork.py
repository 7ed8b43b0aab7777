#!/usr/bin/python3
"""Generates every picture Quobrix ships: datafiles/imagesets/ and the
desktop icons under dist/icons/.

Run from anywhere: scripts/gen_artwork.py. The output is committed, so the
build never runs this; rerun it after changing the artwork and commit both.

Two kinds of output:
- the GUI imagesets (FirstPage, FirstPageMore, PlayStop, size, credit): one
  PNG atlas each plus its CEGUI 0.8 .imageset file, with straight alpha;
- the pictures the 3D device loads directly (start-up picture, notices,
  placeholder, card shadows, credit icons). The device loads them with an
  opaque-black colour key, so visible artwork never uses pure black and
  transparent parts are exactly (0, 0, 0);
- the program's icon: hicolor PNGs in the usual sizes and an SVG under
  dist/icons/hicolor/, and a copy the window shows (imagesets/quobrix.png).
"""

import math
import os
import re
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "datafiles", "imagesets")
ICONS = os.path.join(ROOT, "dist", "icons", "hicolor")
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
WINDOW_ICON_SIZE = 128

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
LATIN = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

# Palette: warm marketplace orange on charcoal panels.
ACCENT = (255, 106, 0)
ACCENT_HI = (255, 140, 56)
ACCENT_DK = (214, 84, 0)
GOLD = (255, 192, 45)
HEART_RED = (236, 60, 66)
DIAMOND_BLUE = (64, 156, 240)
PANEL = (36, 38, 46)
PANEL_HI = (56, 60, 72)
PANEL_LINE = (70, 75, 90)
TEXT = (238, 238, 242)
TEXT_DIM = (160, 166, 178)
NEAR_BLACK = (14, 15, 18)  # darkest visible colour under a black colour key

SS = 4  # supersampling factor for antialiased shapes


def font(size, path=CJK_FONT):
    return ImageFont.truetype(path, size, index=0) if path.endswith(".ttc") \
        else ImageFont.truetype(path, size)


class Canvas:
    """An RGBA image drawn at SS times its size, so shapes come out antialiased."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), fill)
        self.draw = ImageDraw.Draw(self.img)

    @staticmethod
    def s(v):
        return [c * SS for c in v]

    def rrect(self, box, r, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self.s(box), r * SS, fill=fill, outline=outline,
                                    width=int(width * SS))

    def rect(self, box, fill):
        self.draw.rectangle(self.s(box), fill=fill)

    def ellipse(self, box, fill=None, outline=None, width=1):
        self.draw.ellipse(self.s(box), fill=fill, outline=outline, width=int(width * SS))

    def poly(self, pts, fill):
        self.draw.polygon([(x * SS, y * SS) for x, y in pts], fill=fill)

    def line(self, pts, fill, width):
        self.draw.line([(x * SS, y * SS) for x, y in pts], fill=fill,
                       width=int(width * SS), joint="curve")
        r = width * SS / 2
        for x, y in (pts[0], pts[-1]):
            self.draw.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=fill)

    def vgradient(self, box, top, bottom):
        x0, y0, x1, y1 = self.s(box)
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
            self.draw.line([(x0, y), (x1 - 1, y)], fill=c)

    def done(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def text_at(img, xy, text, size, fill, path=CJK_FONT, anchor="la"):
    ImageDraw.Draw(img).text(xy, text, font=font(size, path), fill=fill, anchor=anchor)


def text_width(text, size, path=CJK_FONT):
    return font(size, path).getlength(text)


# ---------------------------------------------------------------- icons
# Each icon draws into a Canvas inside the box (x, y, size).

def icon_star(c, x, y, s, fill=None, outline=None, width=1.6):
    cx, cy, ro, ri = x + s / 2, y + s / 2 + s * 0.04, s / 2, s * 0.21
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = ro if i % 2 == 0 else ri
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    if fill:
        c.poly(pts, fill)
    if outline:
        c.line(pts + [pts[0]], outline, width)


def icon_heart(c, x, y, s, fill):
    r = s * 0.27
    c.ellipse((x + s * 0.03, y + s * 0.1, x + s * 0.03 + 2 * r, y + s * 0.1 + 2 * r), fill=fill)
    c.ellipse((x + s * 0.97 - 2 * r, y + s * 0.1, x + s * 0.97, y + s * 0.1 + 2 * r), fill=fill)
    c.poly([(x + s * 0.05, y + s * 0.42), (x + s * 0.95, y + s * 0.42), (x + s / 2, y + s * 0.93)], fill)


def icon_diamond(c, x, y, s, fill, facet):
    top, mid, bot = y + s * 0.14, y + s * 0.4, y + s * 0.92
    c.poly([(x + s * 0.22, top), (x + s * 0.78, top), (x + s * 0.98, mid), (x + s / 2, bot),
            (x + s * 0.02, mid)], fill)
    c.poly([(x + s * 0.22, top), (x + s * 0.5, mid), (x + s * 0.02, mid)], facet)
    c.poly([(x + s * 0.78, top), (x + s * 0.98, mid), (x + s * 0.5, mid)], facet)


def icon_crown(c, x, y, s, fill, jewel):
    base = y + s * 0.82
    c.poly([(x + s * 0.06, y + s * 0.3), (x + s * 0.3, y + s * 0.55), (x + s / 2, y + s * 0.16),
            (x + s * 0.7, y + s * 0.55), (x + s * 0.94, y + s * 0.3), (x + s * 0.86, base),
            (x + s * 0.14, base)], fill)
    c.rect((x + s * 0.14, base - s * 0.02, x + s * 0.86, y + s * 0.93), fill)
    c.ellipse((x + s * 0.42, y + s * 0.56, x + s * 0.58, y + s * 0.72), fill=jewel)


def icon_magnifier(c, x, y, s, col, width=2.2):
    c.ellipse((x + s * 0.08, y + s * 0.08, x + s * 0.68, y + s * 0.68), outline=col, width=width)
    c.line([(x + s * 0.6, y + s * 0.6), (x + s * 0.92, y + s * 0.92)], col, width * 1.2)


def icon_house(c, x, y, s, col):
    c.poly([(x + s / 2, y + s * 0.08), (x + s * 0.96, y + s * 0.5), (x + s * 0.82, y + s * 0.5),
            (x + s * 0.82, y + s * 0.92), (x + s * 0.18, y + s * 0.92), (x + s * 0.18, y + s * 0.5),
            (x + s * 0.04, y + s * 0.5)], col)


def icon_grid(c, x, y, s, n, col):
    gap = s * 0.12
    cell = (s - gap * (n - 1)) / n
    for i in range(n):
        for j in range(n):
            cx, cy = x + i * (cell + gap), y + j * (cell + gap)
            c.rrect((cx, cy, cx + cell, cy + cell), cell * 0.2, fill=col)


def icon_clock(c, x, y, s, col, width=1.8):
    c.ellipse((x + 1, y + 1, x + s - 1, y + s - 1), outline=col, width=width)
    c.line([(x + s / 2, y + s * 0.25), (x + s / 2, y + s / 2), (x + s * 0.72, y + s * 0.62)], col, width)


def icon_sparkle(c, x, y, s, col):
    cx, cy, r, k = x + s / 2, y + s / 2, s / 2, s * 0.13
    c.poly([(cx, cy - r), (cx + k, cy - k), (cx + r, cy), (cx + k, cy + k), (cx, cy + r),
            (cx - k, cy + k), (cx - r, cy), (cx - k, cy - k)], col)


def icon_list(c, x, y, s, col):
    for i in range(3):
        yy = y + s * (0.2 + 0.3 * i)
        c.ellipse((x, yy - s * 0.08, x + s * 0.16, yy + s * 0.08), fill=col)
        c.rrect((x + s * 0.28, yy - s * 0.06, x + s, yy + s * 0.06), s * 0.05, fill=col)


def icon_shop(c, x, y, s, col):
    c.poly([(x + s * 0.1, y + s * 0.12), (x + s * 0.9, y + s * 0.12), (x + s, y + s * 0.42), (x, y + s * 0.42)], col)
    c.rect((x + s * 0.1, y + s * 0.48, x + s * 0.9, y + s * 0.92), col)


def icon_info(c, x, y, s, col, bg):
    c.ellipse((x, y, x + s, y + s), fill=col)
    c.ellipse((x + s * 0.43, y + s * 0.18, x + s * 0.57, y + s * 0.32), fill=bg)
    c.rrect((x + s * 0.43, y + s * 0.4, x + s * 0.57, y + s * 0.8), s * 0.05, fill=bg)


def chevron(c, cx, cy, s, direction, col, width=2.2):
    """A chevron of height s pointing 'left', 'right', 'up' or 'down'."""
    h = s / 2
    if direction == "left":
        pts = [(cx + h / 2, cy - h), (cx - h / 2, cy), (cx + h / 2, cy + h)]
    elif direction == "right":
        pts = [(cx - h / 2, cy - h), (cx + h / 2, cy), (cx - h / 2, cy + h)]
    elif direction == "up":
        pts = [(cx - h, cy + h / 2), (cx, cy - h / 2), (cx + h, cy + h / 2)]
    else:
        pts = [(cx - h, cy - h / 2), (cx, cy + h / 2), (cx + h, cy - h / 2)]
    c.line(pts, col, width)


def arrow(c, cx, cy, s, up, col):
    """A small solid sort arrow."""
    h = s / 2
    if up:
        c.poly([(cx - h, cy + h * 0.5), (cx + h, cy + h * 0.5), (cx, cy - h * 0.7)], col)
    else:
        c.poly([(cx - h, cy - h * 0.5), (cx + h, cy - h * 0.5), (cx, cy + h * 0.7)], col)


# ---------------------------------------------------------------- atlas

class Atlas:
    """Packs named images into one power-of-two texture and writes a CEGUI 0.8 imageset."""

    def __init__(self, name):
        self.name = name
        self.images = []  # (name, image, x offset, y offset)

    def add(self, name, img, offset=(0, 0)):
        if any(n == name for n, _, _ in self.images):
            raise ValueError("duplicate image %s/%s" % (self.name, name))
        self.images.append((name, img, offset))

    PAD = 4  # transparent gap between images, half of it filled by extrusion

    def _pack(self, width):
        pad = self.PAD
        x, y, shelf = pad, pad, 0
        places = {}
        for name, img, _ in sorted(self.images, key=lambda e: (-e[1].height, -e[1].width)):
            if x + img.width + pad > width:
                x, y, shelf = pad, y + shelf + pad, 0
            places[name] = (x, y)
            x += img.width + pad
            shelf = max(shelf, img.height)
        return places, y + shelf + pad

    @staticmethod
    def _extruded(img, border):
        """The image with its edge pixels repeated outwards, so that a
        stretched image never blends in its neighbours' transparent gap."""
        w, h = img.size
        out = Image.new("RGBA", (w + 2 * border, h + 2 * border))
        out.paste(img, (border, border))
        for i in range(border):
            out.paste(img.crop((0, 0, w, 1)), (border, i))
            out.paste(img.crop((0, h - 1, w, h)), (border, h + border + i))
            out.paste(img.crop((0, 0, 1, h)), (i, border))
            out.paste(img.crop((w - 1, 0, w, h)), (w + border + i, border))
        for cx, cy, px, py in ((0, 0, 0, 0), (w - 1, 0, w + border, 0),
                               (0, h - 1, 0, h + border), (w - 1, h - 1, w + border, h + border)):
            corner = Image.new("RGBA", (border, border), img.getpixel((cx, cy)))
            out.paste(corner, (px, py))
        return out

    def write(self):
        width = 128
        while True:
            places, height = self._pack(width)
            if height <= width * 2:
                break
            width *= 2
        tex_h = 1
        while tex_h < height:
            tex_h *= 2
        sheet = Image.new("RGBA", (width, tex_h), (0, 0, 0, 0))
        border = self.PAD // 2
        for name, img, _ in self.images:
            x, y = places[name]
            sheet.paste(self._extruded(img, border), (x - border, y - border))
        png = self.name + ".png"
        sheet.save(os.path.join(OUT, png), optimize=True)
        lines = ['<?xml version="1.0" ?>',
                 '<Imageset version="2" name="%s" imagefile="%s" autoScaled="false" '
                 'nativeHorzRes="1280" nativeVertRes="800">' % (self.name, png)]
        for name, img, (ox, oy) in self.images:
            x, y = places[name]
            extra = ' xOffset="%d" yOffset="%d"' % (ox, oy) if (ox or oy) else ""
            lines.append('    <Image name="%s" xPos="%d" yPos="%d" width="%d" height="%d"%s />'
                         % (name, x, y, img.width, img.height, extra))
        lines.append("</Imageset>")
        with open(os.path.join(OUT, self.name + ".imageset"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------- GUI widgets

def pill(w, h, fill, outline=None, radius=None):
    c = Canvas(w, h)
    r = h / 2 - 1 if radius is None else radius
    c.rrect((0.5, 0.5, w - 0.5, h - 0.5), r, fill=fill, outline=outline, width=1)
    return c


def labelled(c, text, size, colour, icon=None, icon_size=0, gap=6):
    """Finishes a canvas with an optional icon painter and a centred label."""
    img_w = c.w
    tw = text_width(text, size) if text else 0
    total = tw + (icon_size + gap if icon else 0)
    x = (img_w - total) / 2
    if icon:
        icon(c, x, (c.h - icon_size) / 2, icon_size)
        x += icon_size + gap
    img = c.done()
    if text:
        text_at(img, (x, c.h / 2), text, size, colour, anchor="lm")
    return img


SORT_W, SORT_H = 64, 28


def sort_button(label, arrows, style):
    """arrows: 'down', 'up' or 'both'; style: idle, idle_hover, active, active_hover."""
    bg = {"idle": (50, 54, 65, 255), "idle_hover": (66, 71, 86, 255),
          "active": ACCENT + (255,), "active_hover": ACCENT_HI + (255,)}[style]
    fg = TEXT_DIM if style == "idle" else TEXT
    arrow_col = {"idle": TEXT_DIM, "idle_hover": ACCENT_HI}.get(style, (255, 255, 255))
    c = pill(SORT_W, SORT_H, bg, radius=5)
    tw = text_width(label, 13)
    x0 = (SORT_W - tw - 12) / 2
    ax = x0 + tw + 8
    if arrows == "both":
        arrow(c, ax, SORT_H / 2 - 4, 7, True, arrow_col)
        arrow(c, ax, SORT_H / 2 + 4, 7, False, arrow_col)
    else:
        arrow(c, ax, SORT_H / 2, 8, arrows == "up", arrow_col)
    img = c.done()
    text_at(img, (x0, SORT_H / 2), label, 13, fg, anchor="lm")
    return img


def sort_buttons(atlas):
    specs = [
        ("Credit", "信用", "down", "idle"),
        ("CreditDownGreyHighLight", "信用", "down", "idle_hover"),
        ("CreditHighLight", "信用", "down", "active"),
        ("PriceGrey", "价格", "both", "idle"),
        ("PriceUpGreyHighLight", "价格", "up", "idle_hover"),
        ("PriceDown", "价格", "down", "active"),
        ("PriceDownHighLight", "价格", "down", "active_hover"),
        ("PriceUp", "价格", "up", "active"),
        ("PriceUpHighLight", "价格", "up", "active_hover"),
        ("VolumeDownGreyNormal", "销量", "down", "idle"),
        ("VolumeDownGreyHighLight", "销量", "down", "idle_hover"),
        ("VolumeDownNormal", "销量", "down", "active"),
        ("TimeGreyNormal", "时间", "both", "idle"),
        ("TimeGreyHighLight", "时间", "down", "idle_hover"),
        ("TimeDownNormal", "时间", "down", "active"),
        ("TimeDownHighLight", "时间", "down", "active_hover"),
        ("TimeUpNormal", "时间", "up", "active"),
        ("TimeUpHighLight", "时间", "up", "active_hover"),
    ]
    for name, label, arrows, style in specs:
        atlas.add(name, sort_button(label, arrows, style))


def bar_background(h, top, bottom, line_at_top):
    c = Canvas(8, h)
    c.vgradient((0, 0, 8, h), top, bottom)
    img = c.done()
    d = ImageDraw.Draw(img)
    y = 0 if line_at_top else h - 1
    d.line([(0, y), (7, y)], fill=PANEL_LINE + (255,))
    d.line([(0, 1 if line_at_top else h - 2), (7, 1 if line_at_top else h - 2)], fill=(30, 32, 38, 255))
    return img


def logo():
    c = Canvas(172, 34)
    # an isometric cube of three product cards
    x, y, s = 4, 3, 28
    cx = x + s / 2
    c.poly([(cx, y), (x + s, y + s * 0.25), (cx, y + s * 0.5), (x, y + s * 0.25)], ACCENT_HI)
    c.poly([(x, y + s * 0.25), (cx, y + s * 0.5), (cx, y + s), (x, y + s * 0.75)], ACCENT)
    c.poly([(cx, y + s * 0.5), (x + s, y + s * 0.25), (x + s, y + s * 0.75), (cx, y + s)], ACCENT_DK)
    img = c.done()
    text_at(img, (38, 17), "Quobrix", 17, TEXT, LATIN_BOLD, anchor="lm")
    text_at(img, (38 + text_width("Quobrix", 17, LATIN_BOLD) + 5, 18), "立方淘", 12, ACCENT_HI, anchor="lm")
    return img


def search_button(state):
    fill = {"normal": ACCENT, "hover": ACCENT_HI, "pushed": ACCENT_DK}[state]
    c = pill(72, 30, fill + (255,), radius=6)
    return labelled(c, "搜索", 14, (255, 255, 255),
                    lambda c, x, y, s: icon_magnifier(c, x, y, s, (255, 255, 255), 2.0), 14)


def outline_button(w, h, text, state, icon, icon_size=14):
    fill = {"normal": (46, 50, 60, 255), "hover": (62, 67, 80, 255), "pushed": (38, 41, 50, 255)}[state]
    line = ACCENT + (255,) if state == "hover" else PANEL_LINE + (255,)
    c = pill(w, h, fill, outline=line, radius=6)
    col = ACCENT_HI if state == "hover" else TEXT
    return labelled(c, text, 13, col, lambda c, x, y, s: icon(c, x, y, s, col), icon_size)


def close_button(state):
    c = Canvas(28, 28)
    if state != "normal":
        fill = (220, 58, 50) if state == "hover" else (180, 40, 36)
        c.rrect((1, 1, 27, 27), 6, fill=fill)
    col = TEXT if state == "normal" else (255, 255, 255)
    c.line([(9, 9), (19, 19)], col, 2.2)
    c.line([(19, 9), (9, 19)], col, 2.2)
    return c.done()


def star_toggle(favourite, hover):
    """The favourite toggle: an outline star offers 收藏, a gold star shows 已收藏."""
    fill = (66, 71, 86, 255) if hover else (46, 50, 60, 255)
    c = pill(80, 28, fill, outline=(GOLD + (255,)) if hover else PANEL_LINE + (255,), radius=6)
    if favourite:
        star = lambda c, x, y, s: icon_star(c, x, y, s, fill=GOLD if not hover else (255, 214, 100))
        return labelled(c, "已收藏", 13, GOLD, star, 16, 5)
    col = GOLD if hover else TEXT
    star = lambda c, x, y, s: icon_star(c, x, y, s, outline=col, width=1.5)
    return labelled(c, "收藏", 13, col, star, 16, 5)


def picture_size_button(big, hover):
    fill = (66, 71, 86, 255) if hover else (46, 50, 60, 255)
    c = pill(88, 30, fill, outline=(ACCENT + (255,)) if hover else PANEL_LINE + (255,), radius=6)
    col = ACCENT_HI if hover else TEXT
    grid = lambda c, x, y, s: icon_grid(c, x, y, s, 2 if big else 3, col)
    return labelled(c, "大图" if big else "小图", 13, col, grid, 14)


def mode_button(text, icon, state):
    """Bottom-bar mode buttons; 'current' marks the mode on show (the button is disabled then)."""
    c = Canvas(104, 34)
    if state == "hover":
        c.rrect((1, 2, 103, 32), 6, fill=(62, 67, 80, 255))
    elif state == "pushed":
        c.rrect((1, 2, 103, 32), 6, fill=(38, 41, 50, 255))
    elif state == "current":
        c.rrect((1, 2, 103, 32), 6, fill=(58, 44, 36, 255))
        c.rrect((22, 29, 82, 32), 1.5, fill=ACCENT)
    col = {"normal": TEXT, "hover": ACCENT_HI, "pushed": TEXT_DIM, "current": ACCENT_HI}[state]
    return labelled(c, text, 13, col, lambda c, x, y, s: icon(c, x, y, s, col), 15)


def round_nav_button(size, painter, state, disabled=False):
    c = Canvas(size, size)
    fill = {"normal": (50, 54, 65, 255), "hover": ACCENT, "pushed": ACCENT_DK}[state]
    if disabled:
        fill = (42, 44, 52, 255)
    c.ellipse((1, 1, size - 1, size - 1), fill=fill)
    col = (96, 100, 112) if disabled else ((255, 255, 255) if state != "normal" else TEXT)
    painter(c, size / 2, size / 2, col)
    return c.done()


def nav_painters():
    def first(c, cx, cy, col):
        c.line([(cx - 7, cy - 6), (cx - 7, cy + 6)], col, 2.2)
        chevron(c, cx + 2, cy, 12, "left", col)

    def prevprev(c, cx, cy, col):
        chevron(c, cx - 3, cy, 11, "left", col)
        chevron(c, cx + 4, cy, 11, "left", col)

    def prev(c, cx, cy, col):
        chevron(c, cx, cy, 12, "left", col)

    def nxt(c, cx, cy, col):
        chevron(c, cx, cy, 12, "right", col)

    def nextnext(c, cx, cy, col):
        chevron(c, cx - 4, cy, 11, "right", col)
        chevron(c, cx + 3, cy, 11, "right", col)

    return {"First": first, "PrevPrev": prevprev, "Prev": prev, "Next": nxt, "NextNext": nextnext}


def play_button(playing, hover):
    c = Canvas(40, 40)
    c.ellipse((1, 1, 39, 39), fill=ACCENT_HI if hover else ACCENT)
    c.ellipse((3, 3, 37, 37), outline=(255, 255, 255, 60), width=1)
    if playing:
        c.rrect((14, 12, 18, 28), 1, fill=(255, 255, 255))
        c.rrect((22, 12, 26, 28), 1, fill=(255, 255, 255))
    else:
        c.poly([(16, 11), (29, 20), (16, 29)], (255, 255, 255))
    return c.done()


def speed_button(faster, state):
    def painter(c, cx, cy, col):
        c.line([(cx - 5, cy), (cx + 5, cy)], col, 2.2)
        if faster:
            c.line([(cx, cy - 5), (cx, cy + 5)], col, 2.2)
    return round_nav_button(26, painter, "normal" if state == "disabled" else state,
                            disabled=state == "disabled")


def panel_toggle(w, text, icon, expanded, hover):
    """The left panel's open/close button: full width when expanded, a tab when collapsed."""
    c = Canvas(w, 28)
    top = (66, 71, 86, 255) if hover else (48, 52, 62, 255)
    c.rrect((0, 0, w, 28 + (0 if expanded else 8)), 6, fill=top)
    if expanded:
        c.rect((0, 26, w, 28), ACCENT)
    col = ACCENT_HI if hover else TEXT
    icon(c, 10, 7, 14, col)
    chevron(c, w - 16, 14, 10, "left" if expanded else "right", col, 2)
    if not expanded:
        chevron(c, w - 11, 14, 10, "right", col, 2)
    img = c.done()
    text_at(img, (30, 14), text, 13, col, anchor="lm")
    return img


def shrink_bottom(hover):
    c = Canvas(116, 38)
    c.rrect((0, -8, 116, 38), 6, fill=(66, 71, 86, 235) if hover else (40, 43, 52, 235))
    col = ACCENT_HI if hover else TEXT_DIM
    chevron(c, 88, 19, 10, "down", col, 2)
    img = c.done()
    text_at(img, (18, 19), "点击展开", 12, col, anchor="lm")
    return img


def left_panel_background():
    c = Canvas(235, 64)
    c.vgradient((0, 0, 235, 64), (34, 36, 44, 238), (28, 30, 36, 238))
    img = c.done()
    ImageDraw.Draw(img).line([(234, 0), (234, 63)], fill=PANEL_LINE + (255,))
    return img


def split_line():
    img = Image.new("RGBA", (223, 2), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for x in range(223):
        a = int(255 * min(1.0, min(x, 222 - x) / 40.0))
        d.point((x, 0), fill=(90, 95, 110, a))
        d.point((x, 1), fill=(20, 21, 26, a))
    return img


def nine_slice(atlas, prefix, w, h, corner, painter):
    """Cuts a painted panel into the nine pieces of a CEGUI FrameComponent."""
    img = painter(w, h)
    xs = [0, corner, w - corner, w]
    ys = [0, corner, h - corner, h]
    names = [["TL", "T", "TR"], ["L", "C", "R"], ["BL", "B", "BR"]]
    for j in range(3):
        for i in range(3):
            atlas.add(prefix + names[j][i], img.crop((xs[i], ys[j], xs[i + 1], ys[j + 1])))


def panel_painter(fill, outline):
    def paint(w, h):
        c = Canvas(w, h)
        c.rrect((0.5, 0.5, w - 0.5, h - 0.5), 8, fill=fill, outline=outline, width=1)
        return c.done()
    return paint


def three_slice(atlas, prefix, h, cap, fill, outline):
    """Left cap, stretchable middle and right cap of a rounded text button."""
    w = cap * 2 + 4
    c = Canvas(w, h)
    c.rrect((0.5, 0.5, w - 0.5, h - 0.5), 6, fill=fill, outline=outline, width=1)
    img = c.done()
    atlas.add(prefix + "L", img.crop((0, 0, cap, h)))
    atlas.add(prefix + "M", img.crop((cap, 0, cap + 4, h)))
    atlas.add(prefix + "R", img.crop((cap + 4, 0, w, h)))


def title_band():
    c = Canvas(8, 36)
    c.vgradient((0, 0, 8, 34), (58, 62, 74), (44, 47, 56))
    c.rect((0, 34, 8, 36), ACCENT)
    return c.done()


def cursor_arrow():
    c = Canvas(32, 32)
    pts = [(1, 1), (1, 22), (6, 17), (10, 26), (14, 24), (10, 16), (17, 16)]
    c.poly(pts, (40, 40, 44))
    inner = [(2.6, 4.4), (2.6, 18.6), (6.4, 14.8), (10.7, 23.7), (12.1, 23), (7.9, 14.2), (13.3, 14.2)]
    c.poly(inner, (255, 255, 255))
    return c.done()


def cursor_hand():
    """A closed, grabbing hand: the cursor while the wall is dragged."""
    c = Canvas(32, 32)
    outline, skin = (40, 40, 44), (255, 255, 255)
    for fill, grow in ((outline, 1.3), (skin, 0)):
        for i in range(4):
            x = 7 + i * 4.6
            c.rrect((x - grow, 8 - grow, x + 4.6 + grow, 16 + grow), 2.3 + grow / 2, fill=fill)
        c.rrect((7 - grow, 12 - grow, 25.4 + grow, 26 + grow), 5 + grow / 2, fill=fill)
        c.rrect((3 - grow, 13 - grow, 9 + grow, 20 + grow), 3 + grow / 2, fill=fill)
    for i in range(1, 4):
        x = 7 + i * 4.6
        c.line([(x, 10), (x, 14)], (150, 150, 156), 0.8)
    return c.done()


def credit_row(painter, n, size=16, gap=2):
    c = Canvas(size * n + gap * (n - 1), size)
    for i in range(n):
        painter(c, i * (size + gap), 0, size)
    return c.done()


def credit_painters():
    return {
        "RedStar": lambda c, x, y, s: icon_heart(c, x + 0.5, y + 0.5, s - 1, HEART_RED),
        "RedDiam": lambda c, x, y, s: icon_diamond(c, x, y, s, DIAMOND_BLUE, (150, 205, 255)),
        "RedCrown": lambda c, x, y, s: icon_crown(c, x, y, s, GOLD, HEART_RED),
    }


# ---------------------------------------------------------------- imagesets

def add_each(atlas, painter, variants):
    """Adds one image per (name, painter arguments) pair."""
    for name, args in variants:
        atlas.add(name, painter(*args))


def imageset_first_page():
    a = Atlas("FirstPage")
    sort_buttons(a)
    for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed")):
        a.add("SearchBtn" + suffix, search_button(state))
        a.add("ReturnRecommend" + suffix, outline_button(100, 30, "返回导购", state, icon_house))
        a.add("Close" + suffix, close_button(state))
    a.add("TopBarBK", bar_background(43, (52, 56, 67), (34, 36, 43), False))
    a.add("BottomBarBK", bar_background(43, (34, 36, 43), (44, 47, 56), True))
    a.add("Logo", logo())
    a.write()


def imageset_first_page_more():
    a = Atlas("FirstPageMore")
    add_each(a, star_toggle, [("Start", (False, False)), ("StartHover", (False, True)),
                              ("StartHeight", (True, False)), ("StartHeightHover", (True, True))])
    add_each(a, picture_size_button, [("SmallPic", (False, False)), ("SmallPicHighLight", (False, True)),
                                      ("BigPic", (True, False)), ("BigPicHighLight", (True, True))])
    add_each(a, panel_toggle, [("LeftPanelShrinkBtnHighLight", (227, "商品分类", icon_list, True, True)),
                               ("LeftPanelExpandBtnHighLight", (116, "商品分类", icon_list, False, True))])
    modes = (("Roam", "推荐导购", icon_sparkle), ("Favorite", "我的收藏",
             lambda c, x, y, s, col: icon_heart(c, x, y + 1, s - 1, col)),
             ("Today", "今日浏览", icon_clock))
    for name, text, icon in modes:
        for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed"), ("current", "Current")):
            a.add(name + "Btn" + suffix, mode_button(text, icon, state))
    for name, direction in (("HistoryBack", "left"), ("HistoryForward", "right")):
        paint = lambda c, cx, cy, col, d=direction: (
            c.line([(cx - 7, cy), (cx + 7, cy)], col, 2.2),
            chevron(c, cx + (-3 if d == "left" else 3), cy, 12, d, col))
        for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed")):
            a.add(name + suffix, round_nav_button(32, paint, state))
        a.add(name + "Disabled", round_nav_button(32, paint, "normal", disabled=True))
    for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed")):
        a.add("AboutUs" + suffix, outline_button(88, 30, "关于", state,
                                                 lambda c, x, y, s, col: icon_info(c, x, y, s, col, (46, 50, 60)), 14))
    three_slice(a, "BtnNormal", 30, 8, (54, 58, 70, 255), PANEL_LINE + (255,))
    three_slice(a, "BtnHover", 30, 8, (70, 75, 90, 255), ACCENT + (255,))
    three_slice(a, "BtnPushed", 30, 8, (40, 43, 52, 255), PANEL_LINE + (255,))
    three_slice(a, "BtnDisabled", 30, 8, (44, 46, 54, 255), (56, 60, 70, 255))
    three_slice(a, "PrimaryBtnNormal", 30, 8, ACCENT + (255,), ACCENT_DK + (255,))
    three_slice(a, "PrimaryBtnHover", 30, 8, ACCENT_HI + (255,), ACCENT + (255,))
    three_slice(a, "PrimaryBtnPushed", 30, 8, ACCENT_DK + (255,), ACCENT_DK + (255,))
    nine_slice(a, "Panel", 32, 32, 10, panel_painter((32, 34, 41, 250), PANEL_LINE + (255,)))
    nine_slice(a, "Caption", 32, 32, 10, panel_painter((28, 30, 37, 225), (255, 106, 0, 200)))
    a.add("TitleBand", title_band())
    a.add("Backdrop", Image.new("RGBA", (4, 4), (24, 25, 30, 255)))
    a.write()


def imageset_play_stop():
    a = Atlas("PlayStop")
    add_each(a, play_button, [("Play", (False, False)), ("PlayHight", (False, True)),
                              ("Stop", (True, False)), ("StopHight", (True, True))])
    a.add("CategoryTextSelect", Image.new("RGBA", (16, 16), ACCENT + (150,)))
    add_each(a, panel_toggle, [("LeftPanelShrinkShopBtn", (227, "店铺详情", icon_shop, True, False)),
                               ("LeftPanelShrinkBtnShopHighLight", (227, "店铺详情", icon_shop, True, True)),
                               ("LeftPanelExpandShopBtn", (116, "店铺详情", icon_shop, False, False)),
                               ("LeftPanelExpandBtnShopHighLight", (116, "店铺详情", icon_shop, False, True))])
    for name, painter in nav_painters().items():
        for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed")):
            a.add(name + suffix, round_nav_button(32, painter, state))
    for name, faster in (("Faster", True), ("Slower", False)):
        for state, suffix in (("normal", ""), ("hover", "Hover"), ("pushed", "Pushed"), ("disabled", "Disabled")):
            a.add(name + suffix, speed_button(faster, state))
    a.write()


def imageset_size():
    a = Atlas("size")
    a.add("MouseCursor", cursor_arrow())
    a.add("HandMouseCursor", cursor_hand(), offset=(-16, -16))
    a.add("LeftPanelBK", left_panel_background())
    add_each(a, panel_toggle, [("LeftPanelShrinkBtn", (227, "商品分类", icon_list, True, False)),
                               ("LeftPanelExpandBtn", (116, "商品分类", icon_list, False, False))])
    a.add("SplitLine", split_line())
    a.add("ShrinkBottom", shrink_bottom(False))
    a.add("ShrinkBottomHover", shrink_bottom(True))
    a.write()


def imageset_credit():
    a = Atlas("credit")
    for prefix, painter in credit_painters().items():
        for n in range(1, 6):
            a.add("%s%d" % (prefix, n), credit_row(painter, n))
    a.write()


# ---------------------------------------------------------------- device pictures

def keyed(img):
    """Flattens RGBA onto pure black, the colour the device keys out."""
    base = Image.new("RGB", img.size, (0, 0, 0))
    base.paste(img, mask=img.split()[3])
    return base


def save_jpeg(img, name):
    img.save(os.path.join(OUT, name), quality=95, subsampling=0)


def notice_card(title, subtitle, icon):
    """The 512 x 374 notice; corners and surroundings stay black (transparent)."""
    w, h = 512, 374
    c = Canvas(w, h)
    c.rrect((36, 40, 476, 334), 18, fill=ACCENT)
    c.rrect((36, 44, 476, 334), 18, fill=(33, 35, 43, 255))
    c.ellipse((206, 78, 306, 178), fill=(48, 44, 44, 255))
    icon(c, 226, 98, 60)
    img = c.done()
    text_at(img, (w / 2, 218), title, 28, TEXT, anchor="mm")
    text_at(img, (w / 2, 262), subtitle, 15, TEXT_DIM, anchor="mm")
    return img


def banner(text, icon):
    w, h = 512, 70
    c = Canvas(w, h)
    tw = text_width(text, 20)
    bw = tw + 90
    x0 = (w - bw) / 2
    c.rrect((x0, 8, x0 + bw, 62), 27, fill=(33, 35, 43, 240))
    c.rrect((x0 + 1, 9, x0 + bw - 1, 61), 26, outline=ACCENT + (255,), width=1.5)
    icon(c, x0 + 24, 23, 24)
    img = c.done()
    text_at(img, (x0 + 60, 35), text, 20, TEXT, anchor="lm")
    return img


def spinner(c, x, y, s):
    cx, cy, r = x + s / 2, y + s / 2, s / 2
    for i in range(8):
        a = i * math.pi / 4
        shade = 90 + i * 20
        col = (255, min(255, 60 + shade // 2), min(200, shade // 3))
        c.line([(cx + r * 0.45 * math.cos(a), cy + r * 0.45 * math.sin(a)),
                (cx + r * 0.95 * math.cos(a), cy + r * 0.95 * math.sin(a))], col, 2.4)


def warning(c, x, y, s):
    c.poly([(x + s / 2, y + 1), (x + s, y + s - 2), (x, y + s - 2)], GOLD)
    c.rrect((x + s / 2 - 1.5, y + s * 0.32, x + s / 2 + 1.5, y + s * 0.68), 1, fill=(60, 44, 10))
    c.ellipse((x + s / 2 - 1.8, y + s * 0.74, x + s / 2 + 1.8, y + s * 0.74 + 3.6), fill=(60, 44, 10))


def notice_icon_no_result(c, x, y, s):
    icon_magnifier(c, x + 4, y + 4, s - 8, ACCENT, 5)
    c.line([(x + s * 0.28, y + s * 0.28), (x + s * 0.46, y + s * 0.46)], ACCENT_HI, 4)
    c.line([(x + s * 0.46, y + s * 0.28), (x + s * 0.28, y + s * 0.46)], ACCENT_HI, 4)


def notice_icon_network(c, x, y, s):
    cx, cy = x + s / 2, y + s * 0.78
    for i, r in enumerate((s * 0.5, s * 0.34, s * 0.18)):
        c.draw.arc(Canvas.s((cx - r, cy - r, cx + r, cy + r)), 225, 315, fill=ACCENT, width=int(5 * SS))
    c.ellipse((cx - 4, cy - 4, cx + 4, cy + 4), fill=ACCENT)
    c.line([(x + s * 0.12, y + s * 0.12), (x + s * 0.88, y + s * 0.88)], HEART_RED, 5)


def notices():
    spec = [
        ("no_search_result.jpg", "没有找到相关的宝贝", "换个关键字试试，或者放宽价格区间与所在地",
         notice_icon_no_result,
         [("正在为您搜索宝贝，请稍候…", spinner), ("请先输入要搜索的关键字", warning)]),
        ("no_today_products.jpg", "今天还没有浏览过商品", "点击商品卡片查看详情，浏览过的商品会出现在这里",
         lambda c, x, y, s: icon_clock(c, x, y, s, ACCENT, 5),
         [("正在打开商品详情，请稍候…", spinner)]),
        ("no_favorit_products.jpg", "还没有收藏的商品", "在商品详情中点击「收藏」，喜欢的宝贝就会出现在这里",
         lambda c, x, y, s: icon_heart(c, x + 2, y + 4, s - 4, ACCENT),
         [("正在打开网页，请稍候…", spinner), ("正在载入收藏的商品…", spinner)]),
        ("fail_connect_net.jpg", "网络连接失败", "暂时无法连接到淘宝，请检查网络后再试",
         notice_icon_network, []),
        ("no_favorite_shops.jpg", "还没有收藏的店铺", "进入店铺后点击「收藏」，常逛的店铺就会出现在这里",
         lambda c, x, y, s: icon_shop(c, x + 2, y + 4, s - 4, ACCENT), []),
    ]
    for name, title, subtitle, icon, banners in spec:
        sheet = Image.new("RGBA", (512, 512), (0, 0, 0, 0))
        sheet.paste(notice_card(title, subtitle, icon), (0, 0))
        for row, (text, bicon) in zip((373, 442), banners):
            sheet.alpha_composite(banner(text, bicon), (0, row))
        save_jpeg(keyed(sheet), name)


def startup_picture():
    """The splash shown while the program starts: 512 x 374 in a 512 x 512 texture."""
    w, h = 512, 374
    c = Canvas(w, h)
    c.rrect((6, 6, 506, 368), 22, fill=(28, 30, 37, 255))
    c.vgradient((6, 200, 506, 300), (28, 30, 37), (36, 38, 47))
    c.rrect((6, 292, 506, 368), 22, fill=(36, 38, 47, 255))
    c.rect((6, 292, 506, 300), (36, 38, 47))
    # a small wall of product cards in perspective, receding to the right
    depths = [1.0 - k * 0.1 for k in range(6)]
    x = (w - sum(56 * d for d in depths) + 4) / 2
    palette = (ACCENT, (120, 170, 230), GOLD)
    for col, depth in enumerate(depths):
        cw, ch = 52 * depth, 70 * depth
        top = 136 - (2 * ch + 10 * depth) / 2
        for row in range(2):
            y = top + row * (ch + 10 * depth)
            shade = 70 + int(40 * depth)
            c.rrect((x, y, x + cw, y + ch), 4 * depth, fill=(shade, shade + 4, shade + 14, 255))
            c.rrect((x + 4 * depth, y + 4 * depth, x + cw - 4 * depth, y + ch * 0.62), 2,
                    fill=palette[(row + col) % 3] + (255,))
            c.rrect((x + 4 * depth, y + ch * 0.7, x + cw * 0.7, y + ch * 0.78), 1, fill=(200, 200, 210, 255))
            c.rrect((x + 4 * depth, y + ch * 0.84, x + cw * 0.45, y + ch * 0.92), 1, fill=(255, 120, 90, 255))
        x += 56 * depth
    img = c.done()
    text_at(img, (256, 248), "Quobrix", 44, TEXT, LATIN_BOLD, anchor="mm")
    text_at(img, (256, 283), "立方淘 · 在立体商品墙上逛淘宝", 17, ACCENT_HI, anchor="mm")
    text_at(img, (30, 334), "正在启动，请稍候…", 14, TEXT_DIM, anchor="lm")
    text_at(img, (482, 334), "版本 " + project_version(), 14, TEXT_DIM, anchor="rm")
    sheet = Image.new("RGBA", (512, 512), (0, 0, 0, 0))
    sheet.paste(img, (0, 0))
    save_jpeg(keyed(sheet), "program_start.jpg")


def placeholder_picture():
    c = Canvas(256, 256)
    c.vgradient((0, 0, 256, 256), (236, 238, 242), (222, 225, 231))
    c.rrect((68, 62, 188, 154), 10, fill=(200, 204, 212, 255))
    c.poly([(80, 142), (112, 100), (132, 124), (148, 108), (176, 142)], (236, 238, 242))
    c.ellipse((150, 76, 168, 94), fill=(236, 238, 242))
    img = c.done()
    text_at(img, (128, 190), "暂无图片", 22, (140, 146, 158), anchor="mm")
    save_jpeg(img.convert("RGB"), "no_pic.jpg")


def soft_rect_mask(size, box, blur):
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).rounded_rectangle(box, radius=8, fill=255)
    return m.filter(ImageFilter.GaussianBlur(blur))


def shadows():
    # Texture space 256 x 512 covers the card's shadow quad of 238 x 352 units;
    # the card itself spans x 9..229 and y 13..336 of that quad (top down).
    size = (256, 512)
    sx, sy = 256 / 238, 512 / 352
    card = (9 * sx, 13 * sy, 229 * sx, 336 * sy)
    # back shadow: drawn with (1 - alpha) as the shadow's strength
    grown = (card[0] - 4, card[1] + 4, card[2] + 4, card[3] + 10)
    strength = soft_rect_mask(size, grown, 7).point(lambda v: int(v * 0.72))
    alpha = strength.point(lambda v: 255 - v)
    back = Image.merge("RGBA", (Image.new("L", size, 8), Image.new("L", size, 8),
                                Image.new("L", size, 12), alpha))
    back.save(os.path.join(OUT, "back_shadow.tga"), compression="tga_rle")
    # front shadow: multiplies the dimmed card by a grey veil; black leaves it untouched
    veil = soft_rect_mask(size, card, 3).point(lambda v: int(v * 0.55))
    front = Image.merge("RGB", (veil, veil, veil.point(lambda v: min(255, int(v * 1.05)))))
    save_jpeg(front, "front_shadow.jpg")


def credit_icon_files():
    """14 x 14 icons for the product cards, drawn at twice their size on a black card."""
    for name, painter in (("redheart.bmp", credit_painters()["RedStar"]),
                          ("diamond.bmp", credit_painters()["RedDiam"]),
                          ("crown.bmp", credit_painters()["RedCrown"])):
        c = Canvas(14, 14)
        painter(c, 0, 0, 14)
        keyed(c.done()).save(os.path.join(OUT, name))


def project_version():
    """The version written in the top-level CMakeLists.txt's project()."""
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        found = re.search(r"project\(\s*Quobrix\s+VERSION\s+(\d+)\.(\d+)", f.read())
    if not found:
        sys.exit("gen_artwork: no project(Quobrix VERSION x.y) in CMakeLists.txt")
    return "%s.%s" % found.groups()


# ---------------------------------------------------------------- program icon
# A charcoal tile with the logo's cube of product cards, on a 256-unit grid.

ICON_TILE = (16, 16, 240, 240, 48)          # x0, y0, x1, y1, corner radius
ICON_TILE_FILL = (44, 47, 57)
ICON_TILE_RIM = (70, 75, 90)


def icon_cube_faces():
    """The three faces (colour, points) of the cube, as the logo draws them."""
    x, y, s = 50, 46, 156
    cx = x + s / 2
    return [
        (ACCENT_HI, [(cx, y), (x + s, y + s * 0.25), (cx, y + s * 0.5), (x, y + s * 0.25)]),
        (ACCENT, [(x, y + s * 0.25), (cx, y + s * 0.5), (cx, y + s), (x, y + s * 0.75)]),
        (ACCENT_DK, [(cx, y + s * 0.5), (x + s, y + s * 0.25), (x + s, y + s * 0.75), (cx, y + s)]),
    ]


def app_icon(size):
    k = size / 256
    c = Canvas(size, size)
    x0, y0, x1, y1, r = ICON_TILE
    c.rrect((x0 * k, y0 * k, x1 * k, y1 * k), r * k, fill=ICON_TILE_FILL + (255,))
    if size >= 32:
        c.rrect((x0 * k, y0 * k, x1 * k, y1 * k), r * k, outline=ICON_TILE_RIM + (255,), width=max(1.0, 4 * k))
    for colour, points in icon_cube_faces():
        c.poly([(px * k, py * k) for px, py in points], colour)
    return c.done()


def app_icon_svg():
    x0, y0, x1, y1, r = ICON_TILE
    hexa = lambda rgb: "#%02x%02x%02x" % rgb
    faces = "\n".join(
        '  <polygon fill="%s" points="%s"/>' % (hexa(colour), " ".join("%g,%g" % p for p in points))
        for colour, points in icon_cube_faces())
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s" stroke="%s" stroke-width="4"/>\n'
            '%s\n</svg>\n' % (x0 + 2, y0 + 2, x1 - x0 - 4, y1 - y0 - 4, r, hexa(ICON_TILE_FILL),
                              hexa(ICON_TILE_RIM), faces))


def program_icons():
    for size in ICON_SIZES:
        folder = os.path.join(ICONS, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        app_icon(size).save(os.path.join(folder, "quobrix.png"), optimize=True)
    folder = os.path.join(ICONS, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "quobrix.svg"), "w", encoding="utf-8") as f:
        f.write(app_icon_svg())
    app_icon(WINDOW_ICON_SIZE).save(os.path.join(OUT, "quobrix.png"), optimize=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    imageset_first_page()
    imageset_first_page_more()
    imageset_play_stop()
    imageset_size()
    imageset_credit()
    notices()
    startup_picture()
    placeholder_picture()
    shadows()
    credit_icon_files()
    program_icons()
    return 0


if __name__ == "__main__":
    sys.exit(main())
