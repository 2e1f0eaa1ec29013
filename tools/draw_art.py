#!/usr/bin/python3
"""Draws every picture, icon and cursor listed in art_table.py.

Writes resources/art/NNN.bmp (24-bit), NNN.ico, NNN.cur, resources/art.rc
(framlet5), resources/art_up.rc (framletup) and resources/art/contact_sheet.png.
Output is deterministic: the same table gives the same bytes.

Run with Debian's Pillow:  /usr/bin/python3 tools/draw_art.py
"""

import math
import os
import re
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import art_table as T  # noqa: E402

ROOT = os.path.dirname(HERE)
RES = os.path.join(ROOT, "resources")
ART = os.path.join(RES, "art")
FONT_DIR = "/usr/share/fonts/truetype/nanum"

P = T.PALETTE
KEY = P["key"]
SS = 8  # supersampling factor for shapes drawn with soft edges


def C(name_or_rgb):
    return P[name_or_rgb] if isinstance(name_or_rgb, str) else name_or_rgb


def mix(a, b, t):
    """Colour a moved toward b by t (0..1)."""
    a, b = C(a), C(b)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


_fonts = {}


def font(size, bold=False, face="barun"):
    files = {("barun", False): "NanumBarunGothic.ttf", ("barun", True): "NanumBarunGothicBold.ttf",
             ("gothic", False): "NanumGothic.ttf", ("gothic", True): "NanumGothicBold.ttf",
             ("square", False): "NanumSquareR.ttf", ("square", True): "NanumSquareB.ttf"}
    k = (face, bold, size)
    if k not in _fonts:
        _fonts[k] = ImageFont.truetype(os.path.join(FONT_DIR, files[(face, bold)]), size)
    return _fonts[k]


def text_width(s, f):
    return f.getlength(s)


def draw_text_centred(d, cx, cy, s, f, fill):
    """Centres the text's ink box on (cx, cy) using the font's Hangul box,
    so captions of different words share one baseline."""
    ref = f.getbbox("가Ag")
    w = f.getlength(s)
    top, bottom = ref[1], ref[3]
    x = int(round(cx - w / 2.0))
    y = int(round(cy - (top + bottom) / 2.0))
    d.text((x, y), s, font=f, fill=fill)


def draw_text_at(d, x, cy, s, f, fill):
    """Left-aligned text whose Hangul box is centred vertically on cy."""
    ref = f.getbbox("가Ag")
    y = int(round(cy - (ref[1] + ref[3]) / 2.0))
    d.text((int(x), y), s, font=f, fill=fill)
    return f.getlength(s)


# --------------------------------------------------------------------------
# Soft shapes: drawn supersampled onto an RGBA layer, reduced and composited.
# --------------------------------------------------------------------------

class Layer:
    """An RGBA drawing surface of w x h pixels, drawn SS times larger.
    Coordinates are in final pixels (floats allowed)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.im = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.im)

    @staticmethod
    def _c(col):
        if col is None:
            return None
        if len(col) == 4:
            return col
        c = C(col)
        return (c[0], c[1], c[2], 255)

    def box(self, x0, y0, x1, y1, fill):
        if fill is None or x1 <= x0 or y1 <= y0:
            return
        self.d.rectangle([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=self._c(fill))

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1.0):
        if outline is not None:
            self.d.rounded_rectangle([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], r * SS,
                                     fill=self._c(outline))
            if fill is not None:
                wi = width
                self.d.rounded_rectangle([(x0 + wi) * SS, (y0 + wi) * SS, (x1 - wi) * SS - 1,
                                          (y1 - wi) * SS - 1], max(0, r - wi) * SS,
                                         fill=self._c(fill))
            else:
                wi = width
                self.d.rounded_rectangle([(x0 + wi) * SS, (y0 + wi) * SS, (x1 - wi) * SS - 1,
                                          (y1 - wi) * SS - 1], max(0, r - wi) * SS,
                                         fill=(0, 0, 0, 0))
        elif fill is not None:
            self.d.rounded_rectangle([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], r * SS,
                                     fill=self._c(fill))

    def frame(self, x0, y0, x1, y1, col, t=1.0):
        self.box(x0, y0, x1, y0 + t, col)
        self.box(x0, y1 - t, x1, y1, col)
        self.box(x0, y0, x0 + t, y1, col)
        self.box(x1 - t, y0, x1, y1, col)

    def line(self, pts, col, width=1.0):
        if col is None:
            return
        self.d.line([(x * SS, y * SS) for x, y in pts], fill=self._c(col),
                    width=max(1, int(round(width * SS))), joint="curve")
        r = width * SS / 2.0
        for x, y in (pts[0], pts[-1]):  # round caps
            self.d.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=self._c(col))

    def poly(self, pts, col):
        if col is None:
            return
        self.d.polygon([(x * SS, y * SS) for x, y in pts], fill=self._c(col))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0):
        if outline is not None:
            self.d.ellipse([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=self._c(outline))
            inner = self._c(fill) if fill is not None else (0, 0, 0, 0)
            self.d.ellipse([(x0 + width) * SS, (y0 + width) * SS, (x1 - width) * SS - 1,
                            (y1 - width) * SS - 1], fill=inner)
        elif fill is not None:
            self.d.ellipse([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=self._c(fill))

    def arc(self, x0, y0, x1, y1, start, end, col, width=1.0):
        self.d.arc([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], start, end, fill=self._c(col),
                   width=max(1, int(round(width * SS))))

    def clear_ellipse(self, x0, y0, x1, y1):
        self.d.ellipse([x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1], fill=(0, 0, 0, 0))

    def text(self, cx, cy, s, size, col, bold=True):
        f = font(int(round(size * SS)), bold)
        bb = self.d.textbbox((0, 0), s, font=f)
        self.d.text((cx * SS - (bb[0] + bb[2]) / 2.0, cy * SS - (bb[1] + bb[3]) / 2.0), s,
                    font=f, fill=self._c(col))

    def reduce(self):
        return self.im.resize((self.w, self.h), Image.BOX)


def paste_layer(img, layer_img, x=0, y=0):
    """Composites an RGBA layer onto an RGB picture."""
    base = img.convert("RGBA")
    tmp = Image.new("RGBA", base.size, (0, 0, 0, 0))
    tmp.paste(layer_img, (x, y))
    out = Image.alpha_composite(base, tmp).convert("RGB")
    img.paste(out)


def soft(img, fn, x=0, y=0, w=None, h=None):
    """Runs fn(layer) on a layer of img's size (or w x h at x, y) and composites it."""
    w = img.width if w is None else w
    h = img.height if h is None else h
    lay = Layer(w, h)
    fn(lay)
    paste_layer(img, lay.reduce(), x, y)


# --------------------------------------------------------------------------
# Icons: drawn on a 16-unit grid and scaled to the size asked for.
# --------------------------------------------------------------------------

SCHEMES = {
    # ink: outlines; acc: accent strokes and fills; soft: light accent fill;
    # paper: white fills; red/yel/green: signal colours.
    "color": dict(ink=P["ink"], acc=P["accent"], soft=P["accent_soft"], paper=P["white"],
                  red=P["red"], yel=P["yellow"], yel_dk=(205, 146, 32), green=P["green"],
                  shade=(150, 158, 170)),
    "dark": dict(ink=P["glyph"], acc=P["accent_hi"], soft=(52, 72, 104), paper=P["edge_hover"],
                 red=(240, 96, 96), yel=P["yellow"], yel_dk=(205, 146, 32), green=(80, 200, 130),
                 shade=(120, 130, 146)),
}


def mono_scheme(rgb):
    return dict(ink=rgb, acc=rgb, soft=None, paper=None, red=rgb, yel=rgb, yel_dk=rgb, green=rgb,
                shade=rgb)


class Icon:
    """Grid helper: g(v) maps 16-unit coordinates to pixels of an n-pixel icon.
    Stroke widths are in pixels (1 at 16, scaled above)."""

    def __init__(self, layer, n, ox=0.0, oy=0.0, scheme="color"):
        self.L = layer
        self.n = n
        self.k = n / 16.0
        self.ox, self.oy = ox, oy
        self.c = SCHEMES[scheme] if isinstance(scheme, str) else scheme
        self.sw = max(1.0, round(self.k * 1.0 * 2) / 2.0) if n > 16 else 1.0
        if n >= 24:
            self.sw = round(self.k * 1.25 * 2) / 2.0

    def g(self, v):
        return v * self.k

    def X(self, v):
        return self.ox + self.g(v)

    def Y(self, v):
        return self.oy + self.g(v)

    def col(self, name):
        return self.c.get(name) if isinstance(name, str) else name

    # pixel-snapped box in grid units
    def box(self, x0, y0, x1, y1, col):
        c = self.col(col)
        if c is None:
            return
        self.L.box(self.ox + round(self.g(x0)), self.oy + round(self.g(y0)),
                   self.ox + round(self.g(x1)), self.oy + round(self.g(y1)), c)

    def frame(self, x0, y0, x1, y1, col, fill=None):
        c = self.col(col)
        f = self.col(fill) if fill else None
        ax0, ay0 = self.ox + round(self.g(x0)), self.oy + round(self.g(y0))
        ax1, ay1 = self.ox + round(self.g(x1)), self.oy + round(self.g(y1))
        if f is not None:
            self.L.box(ax0, ay0, ax1, ay1, f)
        if c is not None:
            self.L.frame(ax0, ay0, ax1, ay1, c, self.sw)

    def rframe(self, x0, y0, x1, y1, r, col, fill=None):
        c = self.col(col)
        f = self.col(fill) if fill else None
        ax0, ay0 = self.ox + round(self.g(x0)), self.oy + round(self.g(y0))
        ax1, ay1 = self.ox + round(self.g(x1)), self.oy + round(self.g(y1))
        if c is None and f is None:
            return
        self.L.rrect(ax0, ay0, ax1, ay1, self.g(r), fill=f, outline=c, width=self.sw)

    def line(self, pts, col, w=None):
        """Polyline; with a whole-pixel width the points are snapped so that
        straight strokes cover whole pixels."""
        c = self.col(col)
        w = self.sw if w is None else w

        def snap(v):
            if abs(w - round(w)) > 1e-6:
                return v
            return math.floor(v) + 0.5 if int(round(w)) % 2 else float(round(v))
        self.L.line([(snap(self.X(x)), snap(self.Y(y))) for x, y in pts], c, w)

    def poly(self, pts, col):
        self.L.poly([(self.X(x), self.Y(y)) for x, y in pts], self.col(col))

    def disc(self, cx, cy, r, col):
        c = self.col(col)
        if c is not None:
            self.L.ellipse(self.X(cx - r), self.Y(cy - r), self.X(cx + r), self.Y(cy + r), fill=c)

    def ring(self, cx, cy, r, col, fill=None):
        c = self.col(col)
        f = self.col(fill) if fill else None
        if c is None:
            return
        self.L.ellipse(self.X(cx - r), self.Y(cy - r), self.X(cx + r), self.Y(cy + r),
                       fill=f, outline=c, width=self.sw)

    def arc(self, cx, cy, r, a0, a1, col):
        c = self.col(col)
        self.L.arc(self.X(cx - r), self.Y(cy - r), self.X(cx + r), self.Y(cy + r), a0, a1, c,
                   self.sw)

    def hole(self, cx, cy, r):
        self.L.clear_ellipse(self.X(cx - r), self.Y(cy - r), self.X(cx + r), self.Y(cy + r))

    def corners(self, x0, y0, x1, y1, ln, col):
        s = self.sw / self.k
        for (x, y, dx, dy) in [(x0, y0, 1, 1), (x1, y0, -1, 1), (x0, y1, 1, -1), (x1, y1, -1, -1)]:
            xa, xb = sorted([x, x + dx * ln])
            ya, yb = sorted([y, y + dy * s])
            self.box(xa, ya, xb, yb, col)
            xa, xb = sorted([x, x + dx * s])
            ya, yb = sorted([y, y + dy * ln])
            self.box(xa, ya, xb, yb, col)

    def dashed_frame(self, x0, y0, x1, y1, col, dash=2, gap=1):
        s = self.sw / self.k
        step = dash + gap
        x = x0
        while x < x1:
            self.box(x, y0, min(x + dash, x1), y0 + s, col)
            self.box(x, y1 - s, min(x + dash, x1), y1, col)
            x += step
        y = y0
        while y < y1:
            self.box(x0, y, x0 + s, min(y + dash, y1), col)
            self.box(x1 - s, y, x1, min(y + dash, y1), col)
            y += step

    def cursor_arrow(self, x, y, s=1.0):
        pts = [(0, 0), (0, 9), (2.3, 7), (4, 10.5), (5.6, 9.8), (4, 6.5), (7, 6.5)]
        pts = [(x + px * s, y + py * s) for px, py in pts]
        self.poly(pts, "paper" if self.c.get("paper") else None)
        self.line(pts + [pts[0]], "ink", w=max(1.0, self.sw * 0.8))


def icon_area(i):
    i.frame(4, 4, 12, 12, "acc", fill="soft")
    i.corners(1, 1, 15, 15, 4, "ink")


def icon_scroll(i):
    i.frame(1.5, 1, 10.5, 14, "ink", fill="paper")
    for y in (4, 6.5, 9):
        i.box(3.5, y, 8.5, y + 1, "shade")
    i.line([(13, 3), (13, 12.5)], "acc")
    i.poly([(10.2, 10.5), (15.8, 10.5), (13, 14.8)], "acc")


def icon_region(i):
    i.dashed_frame(1, 1, 12, 12, "acc")
    i.line([(12, 7.5), (12, 16)], "ink")
    i.line([(7.5, 12), (16, 12)], "ink")


def icon_window(i):
    i.frame(1, 2, 15, 13, "ink", fill="paper")
    i.box(1, 2, 15, 5, "acc")
    i.cursor_arrow(8, 7, 0.8)


def icon_continuous(i):
    i.frame(1, 1, 10, 9, "shade", fill="paper")
    i.frame(3.5, 3.5, 12.5, 11.5, "ink", fill="paper")
    i.frame(6, 6, 15, 14, "acc", fill="soft")


def icon_fullscreen(i):
    i.frame(1, 2, 15, 12, "ink", fill="soft")
    i.corners(3.5, 4.5, 12.5, 9.5, 2.5, "acc")
    i.box(7, 12, 9, 14, "ink")
    i.box(4.5, 14, 11.5, 15, "ink")


def icon_copy(i):
    i.frame(1, 1, 10, 11, "ink", fill="paper")
    i.frame(5, 5, 14.5, 15, "acc", fill="paper")
    for y in (8, 10.5):
        i.box(7, y, 12.5, y + 1, "soft" if i.col("paper") else "acc")


def icon_record(i):
    i.rframe(1, 4, 11, 12.5, 1.5, "ink", fill="paper")
    i.poly([(11, 7.4), (15, 4.8), (15, 11.7), (11, 9.1)], "ink")
    i.disc(6, 8.25, 2.2, "red")


def icon_folder(i):
    i.poly([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 13.5), (1, 13.5)], "yel_dk")
    i.poly([(1.6, 6.5), (15, 6.5), (15, 13.5), (1, 13.5)], "yel")


def icon_snap(i):
    i.frame(1, 1, 11, 11, "ink", fill="paper")
    i.ring(11, 11, 3.6, "acc")
    i.line([(11, 5.5), (11, 16)], "acc")
    i.line([(5.5, 11), (16, 11)], "acc")


def icon_print(i):
    i.frame(4, 1, 12, 6, "ink", fill="paper")
    i.rframe(1, 5, 15, 12, 1.5, "ink", fill="shade")
    i.frame(4, 9, 12, 15, "ink", fill="paper")
    i.box(12, 7, 13.5, 8, "acc")


def icon_app(i):
    c = i.c
    if c.get("paper") is None:  # mono: outline only
        i.rframe(1, 1, 15, 15, 3.5, "ink")
        i.corners(4, 4, 12, 12, 2.5, "ink")
        return
    i.L.rrect(i.X(1), i.Y(1), i.X(15), i.Y(15), i.g(3.5), fill=P["accent"])
    i.L.rrect(i.X(1), i.Y(1), i.X(15), i.Y(8), i.g(3.5), fill=P["accent_hi"])
    i.L.box(i.X(1), i.Y(6), i.X(15), i.Y(8), P["accent_hi"])
    for k in range(8):  # soft vertical blend between the two halves
        t = k / 8.0
        i.L.box(i.X(1), i.Y(6 + k * 0.5), i.X(15), i.Y(6.5 + k * 0.5),
                mix("accent_hi", "accent", t))
    i.corners(4, 4, 12, 12, 3, (255, 255, 255))
    i.disc(8, 8, 1.6, (255, 255, 255))


def icon_power(i):
    w = i.sw * 1.5
    i.L.arc(i.X(8 - 5.8), i.Y(8.5 - 5.8), i.X(8 + 5.8), i.Y(8.5 + 5.8), -60, 240,
            i.col("red"), w)
    i.line([(8, 1.5), (8, 8)], "red", w=w)


def icon_gear(i):
    cx, cy = 8, 8
    col = i.col("ink")
    for k in range(8):
        a = math.radians(k * 45)
        ca, sa = math.cos(a), math.sin(a)
        hw, r0, r1 = 1.25, 3.5, 7.0
        pts = []
        for (u, v) in [(r0, -hw), (r1, -hw), (r1, hw), (r0, hw)]:
            pts.append((cx + u * ca - v * sa, cy + u * sa + v * ca))
        i.poly(pts, col)
    i.disc(cx, cy, 5.2, col)
    i.hole(cx, cy, 2.2)


def icon_help(i):
    if i.col("paper") is None:
        i.ring(8, 8, 7, "ink")
        i.L.text(i.X(8), i.Y(8.2), "?", i.g(10), i.col("ink"))
        return
    i.disc(8, 8, 7, "acc")
    i.L.text(i.X(8), i.Y(8.2), "?", i.g(10.5), (255, 255, 255))


def icon_centre(i):
    i.dashed_frame(1, 1, 15, 15, "ink", dash=2, gap=1.5)
    i.frame(5, 5, 11, 11, "acc", fill="soft")


def icon_resize(i):
    i.frame(1, 5, 11, 15, "ink", fill="paper")
    i.line([(6, 10), (14, 2)], "acc")
    i.poly([(9.2, 1.2), (14.8, 1.2), (14.8, 6.8)], "acc")
    i.poly([(4.5, 7), (4.5, 11.5), (9, 11.5)], "acc")


def _picture(i, x0, y0, x1, y1):
    i.frame(x0, y0, x1, y1, "ink", fill="paper")
    i.poly([(x0 + 1, y1 - 1), (x0 + 4, y0 + 4), (x0 + 7, y1 - 1)], "acc")
    i.poly([(x0 + 5, y1 - 1), (x0 + 7.5, y0 + 6), (x1 - 1, y1 - 1)], "shade")
    i.disc(x1 - 3, y0 + 3, 1.2, "yel")


def icon_edit(i):
    _picture(i, 1, 4, 12, 14)
    i.line([(8.5, 10.5), (14.5, 4.5)], "ink", w=i.sw * 2.6)
    i.line([(9, 10), (14, 5)], "yel", w=i.sw * 1.4)
    i.poly([(7, 12), (7.6, 9.4), (9.6, 11.4)], "ink")


def icon_editprev(i):
    _picture(i, 1, 1, 12, 11)
    i.disc(11.5, 11.5, 4.5, "paper")
    i.arc(11.5, 11.5, 3.4, 200, 520, "acc")
    i.poly([(6.8, 9.5), (10, 9.6), (8.2, 12.6)], "acc")
    i.line([(11.5, 9.6), (11.5, 11.8), (13, 12.8)], "ink", w=max(1.0, i.sw * 0.8))


def icon_page(i):
    i.poly([(3, 1), (10, 1), (13.5, 4.5), (13.5, 15), (3, 15)], "ink")
    i.poly([(4, 2), (9.5, 2), (9.5, 5), (12.5, 5), (12.5, 14), (4, 14)], "paper")
    for y in (7, 9.2, 11.4):
        i.box(5.5, y, 11, y + 1, "acc")


def icon_globe(i):
    i.ring(8, 8, 6.5, "ink")
    i.L.ellipse(i.X(5), i.Y(1.5), i.X(11), i.Y(14.5), outline=i.col("ink"), width=i.sw)
    i.line([(8, 2), (8, 14)], "ink")
    i.line([(2, 8), (14, 8)], "ink")


def icon_save(i):
    i.line([(8, 1.5), (8, 9)], "ink")
    i.poly([(4.5, 6.5), (11.5, 6.5), (8, 10.5)], "ink")
    i.box(2, 10.5, 3.5, 14.5, "ink")
    i.box(12.5, 10.5, 14, 14.5, "ink")
    i.box(2, 13, 14, 14.5, "ink")


def icon_close(i):
    i.line([(3.5, 3.5), (12.5, 12.5)], "ink", w=i.sw * 1.3)
    i.line([(12.5, 3.5), (3.5, 12.5)], "ink", w=i.sw * 1.3)


def icon_capture(i):
    i.rframe(1, 4, 15, 14, 2, "ink")
    i.poly([(5, 4), (6.5, 2), (9.5, 2), (11, 4)], "ink")
    i.ring(8, 9, 3, "ink")


def icon_person(i):
    i.disc(8, 5, 3, "acc")
    i.L.ellipse(i.X(2.5), i.Y(9), i.X(13.5), i.Y(19), fill=i.col("acc"))
    i.L.box(i.X(0), i.Y(15), i.X(16), i.Y(16.5), (0, 0, 0, 0))


def icon_magnifier(i):
    i.ring(6.5, 6.5, 4.8, "ink")
    i.line([(10, 10), (14.5, 14.5)], "ink", w=i.sw * 1.6)


def icon_updater(i):
    icon_app(i)
    i.disc(11.6, 11.6, 4.4, (255, 255, 255))
    i.disc(11.6, 11.6, 3.6, "green")
    i.line([(11.6, 9.2), (11.6, 13.2)], (255, 255, 255), w=max(1.0, i.g(1.1)))
    i.poly([(9.5, 11.6), (13.7, 11.6), (11.6, 14.3)], (255, 255, 255))


ICONS = {
    "area": icon_area, "scroll": icon_scroll, "region": icon_region, "window": icon_window,
    "continuous": icon_continuous, "fullscreen": icon_fullscreen, "copy": icon_copy,
    "record": icon_record, "folder": icon_folder, "snap": icon_snap, "print": icon_print,
    "app": icon_app, "power": icon_power, "gear": icon_gear, "help": icon_help,
    "centre": icon_centre, "resize": icon_resize, "edit": icon_edit, "editprev": icon_editprev,
    "page": icon_page, "globe": icon_globe, "save": icon_save, "close": icon_close,
    "capture": icon_capture, "person": icon_person, "magnifier": icon_magnifier,
    "updater": icon_updater,
}


def render_icon(name, n, scheme="color"):
    """RGBA image of icon `name` at n x n pixels."""
    lay = Layer(n, n)
    ICONS[name](Icon(lay, n, scheme=scheme))
    return lay.reduce()


def put_icon(img, name, x, y, n, scheme="color"):
    paste_layer(img, render_icon(name, n, scheme), x, y)


# --------------------------------------------------------------------------
# The chrome's row colours
# --------------------------------------------------------------------------

ADDRESS_TOP = (247, 247, 247)
ADDRESS_BOTTOM = (176, 181, 189)
STATUS_TOP = (210, 212, 216)
STATUS = (232, 233, 235)


def band_row(y):
    """Colour of the capture frame's top band at row y, inside the side edges."""
    if y == 0:
        return P["outline"]
    if y == 1:
        return P["edge_hi"]
    if y <= 25:
        return P["edge"]
    if y <= 27:
        return P["accent"]
    if y <= 87:
        return P["toolbar"]
    if y == 88:
        return ADDRESS_TOP
    if y <= 119:
        return P["address"]
    return ADDRESS_BOTTOM


def side_col(d, y):
    """Colour of the dark side edge, d pixels in from the outer side."""
    if d == 0 or y == 0:
        return P["outline"]
    if y == 1:
        return P["edge_hi"]
    return P["edge"]


def new(w, h, col):
    return Image.new("RGB", (w, h), C(col))


# --------------------------------------------------------------------------
# Drawers, one per recipe in the table
# --------------------------------------------------------------------------

def d_frame_top(r):
    w, h, part = r["w"], r["h"], r["params"]["part"]
    img = new(w, h, "edge")
    px = img.load()
    for y in range(h):
        for x in range(w):
            if part == "left" and x < 4:
                px[x, y] = side_col(x, y)
            elif part == "right" and x >= w - 4:
                px[x, y] = side_col(w - 1 - x, y)
            else:
                px[x, y] = band_row(y)
    return img


def d_edge(r):
    img = new(r["w"], r["h"], "edge")
    x = 0 if r["params"]["part"] == "left" else r["w"] - 1
    ImageDraw.Draw(img).line([(x, 0), (x, r["h"] - 1)], fill=P["outline"])
    return img


def _grip(img, x1, y1, dot, shadow):
    px = img.load()
    for i in range(3):
        for j in range(3):
            if i + j < 2:
                continue
            x, y = x1 - 3 * (2 - i) - 1, y1 - 3 * (2 - j) - 1
            px[x, y] = dot
            px[x + 1, y + 1] = shadow


def d_frame_bottom(r):
    w, h, part = r["w"], r["h"], r["params"]["part"]
    img = new(w, h, "edge")
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w, 0)], fill=(31, 36, 45))
    d.line([(0, h - 1), (w, h - 1)], fill=P["outline"])
    if part == "left":
        d.line([(0, 0), (0, h)], fill=P["outline"])
    if part == "right":
        d.line([(w - 1, 0), (w - 1, h)], fill=P["outline"])
        _grip(img, w - 3, h - 3, (128, 138, 154), (26, 30, 38))
    return img


def d_preview_title(r):
    w, h, part = r["w"], r["h"], r["params"]["part"]
    img = new(w, h, "edge")
    px = img.load()
    for y in range(h):
        for x in range(w):
            if part == "left" and x < 4 and y < 26:
                px[x, y] = side_col(x, y)
            elif part == "right" and x >= w - 4 and y < 26:
                px[x, y] = side_col(w - 1 - x, y)
            else:
                px[x, y] = band_row(y)
            if (part == "left" and x == 0) or (part == "right" and x == w - 1):
                px[x, y] = P["outline"]
    return img


def d_preview_bottom(r):
    w, h, part = r["w"], r["h"], r["params"]["part"]
    img = new(w, h, STATUS)
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (w, 0)], fill=STATUS_TOP)
    d.line([(0, h - 1), (w, h - 1)], fill=P["outline"])
    if part == "left":
        d.rectangle([0, 0, 3, h - 1], fill=P["edge"])
        d.line([(0, 0), (0, h)], fill=P["outline"])
    if part == "right":
        d.rectangle([w - 4, 0, w - 1, h - 1], fill=P["edge"])
        d.line([(w - 1, 0), (w - 1, h)], fill=P["outline"])
        _grip(img, w - 6, h - 3, (150, 156, 166), (255, 255, 255))
    d.line([(0, h - 1), (w, h - 1)], fill=P["outline"])
    return img


def d_solid(r):
    return new(r["w"], r["h"], r["params"]["colour"])


def d_tile(r):
    img = new(20, 20, "fill")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 9, 9], fill=(233, 233, 233))
    d.rectangle([10, 10, 19, 19], fill=(233, 233, 233))
    return img


def d_logo(r):
    w, h, y0 = r["w"], r["h"], r["params"]["y0"]
    img = new(w, h, "edge")
    px = img.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = band_row(y0 + y)
    d = ImageDraw.Draw(img)
    if r["params"]["size"] == "big":
        put_icon(img, "app", 2, 4, 16)
        f = font(15, True, "square")
        x = 23
        cy = 12.5
    else:
        put_icon(img, "app", 0, 2, 14)
        f = font(12, True, "square")
        x = 19
        cy = 9.5
    wdt = draw_text_at(d, x, cy, "Framlet", f, P["white"])
    if r["params"]["size"] == "big":
        draw_text_at(d, x + wdt + 2, cy, "5", f, P["accent_hi"])
    return img


def d_winbtn(r):
    g, st = r["params"]["glyph"], r["params"]["state"]
    img = new(16, 16, "edge")
    fg = P["glyph"]

    def plate(L):
        if st == "hover":
            L.rrect(0, 0, 16, 16, 3, fill=(214, 58, 58) if g == "close" else P["edge_hover"])
        if st == "on":
            L.rrect(0, 0, 16, 16, 3, fill=P["accent"])
    soft(img, plate)
    if st in ("hover", "on"):
        fg = P["white"]
    d = ImageDraw.Draw(img)
    if g == "min":
        d.rectangle([4, 10, 11, 10], fill=fg)
    elif g == "max":
        d.rectangle([4, 4, 11, 11], outline=fg)
        d.line([(4, 5), (11, 5)], fill=fg)
    elif g == "restore":
        d.rectangle([6, 3, 12, 9], outline=fg)
        d.line([(6, 4), (12, 4)], fill=fg)
        bg = img.getpixel((1, 8))
        d.rectangle([3, 6, 9, 12], fill=bg, outline=fg)
        d.line([(3, 7), (9, 7)], fill=fg)
    elif g == "close":
        soft(img, lambda L: (L.line([(4.5, 4.5), (11.5, 11.5)], fg, 1.3),
                             L.line([(11.5, 4.5), (4.5, 11.5)], fg, 1.3)))
    elif g == "pin":
        def pin(L):
            L.box(5.5, 2, 10.5, 3.2, fg)
            L.box(6.3, 3, 9.7, 7.5, fg if st == "on" else fg)
            L.poly([(4, 9.2), (6.3, 7), (9.7, 7), (12, 9.2)], fg)
            L.box(7.4, 9, 8.6, 14.5, fg)
            if st != "on":
                L.box(7.3, 4, 8.7, 7, P["edge"])
        soft(img, pin)
    return img


def d_titlebtn(r):
    w, h, st = r["w"], r["h"], r["params"]["state"]
    img = new(w, h, "edge")
    if st == "hover":
        soft(img, lambda L: L.rrect(0, 0, w, h, 3, fill=P["edge_hover"]))
    fg = P["white"] if st == "hover" else P["glyph"]
    d = ImageDraw.Draw(img)
    if r["params"].get("glyph") == "gear":
        put_icon(img, "gear", 6, 2, 14, mono_scheme(fg))
        d.polygon([(23, 8), (29, 8), (26, 11)], fill=fg)
    else:
        draw_text_centred(d, w / 2.0, h / 2.0, r["text"], font(11), fg)
    return img


def d_addrbtn(r):
    n, g, st = r["w"], r["params"]["glyph"], r["params"]["state"]
    img = new(n, n, "address")
    off = 1 if st == "pressed" else 0
    ink = P["accent_dk"] if st == "hover" else P["ink"]
    if g == "home":
        def plate(L):
            if st == "hover":
                L.rrect(0, 0, n, n, 3, fill=P["white"], outline=(168, 178, 192))
            elif st == "pressed":
                L.rrect(0, 0, n, n, 3, fill=(208, 212, 218), outline=(150, 158, 170))
        soft(img, plate)

        def house(L):
            o = off
            L.poly([(3 + o, 10 + o), (10 + o, 3.2 + o), (17 + o, 10 + o), (15.2 + o, 10 + o),
                    (10 + o, 5.2 + o), (4.8 + o, 10 + o)], ink)
            L.box(5 + o, 9.5 + o, 15 + o, 16 + o, ink)
            L.box(6.2 + o, 10 + o, 13.8 + o, 14.8 + o, (255, 255, 255, 0))
            L.box(8.5 + o, 11.5 + o, 11.5 + o, 16 + o, ink)
        lay = Layer(n, n)
        house(lay)
        # the door and walls: redraw interior as the plate colour
        im2 = lay.reduce()
        paste_layer(img, im2)
        return img

    def circle(L):
        if st == "hover":
            L.ellipse(0.5, 0.5, n - 0.5, n - 0.5, fill=P["accent_soft"], outline=P["accent"],
                      width=1)
        elif st == "pressed":
            L.ellipse(0.5, 0.5, n - 0.5, n - 0.5, fill=(205, 210, 218), outline=(140, 148, 160),
                      width=1)
        else:
            L.ellipse(0.5, 0.5, n - 0.5, n - 0.5, fill=P["white"], outline=(170, 176, 186),
                      width=1)
        c = n / 2.0 + off
        s = -1 if g == "back" else 1
        L.line([(c - 5 * s, c), (c + 5 * s, c)], ink, 1.6)
        L.line([(c + 0.6 * s, c - 4.4), (c + 5 * s, c), (c + 0.6 * s, c + 4.4)], ink, 1.6)
    soft(img, circle)
    return img


def d_gobtn(r):
    st = r["params"]["state"]
    img = new(22, 22, "address")
    fill = {"rest": P["accent"], "hover": P["accent_hi"], "pressed": P["accent_dk"]}[st]
    off = 1 if st == "pressed" else 0
    soft(img, lambda L: L.rrect(0, 0, 22, 22, 3.5, fill=fill))
    d = ImageDraw.Draw(img)
    draw_text_centred(d, 11 + off, 11 + off, "GO", font(10, True), P["white"])
    return img


def d_modebtn(r):
    w, h, st = r["w"], r["h"], r["params"]["state"]
    img = new(w, h, "address")
    fill = {"rest": P["edge"], "hover": P["accent"], "pressed": P["accent_dk"]}[st]
    off = 1 if st == "pressed" else 0
    soft(img, lambda L: L.rrect(0, 0, w, h, 4, fill=fill))
    f = font(12, True)
    tw = text_width(r["text"], f)
    total = 14 + 5 + tw
    x0 = int(round((w - total) / 2.0)) + off
    put_icon(img, r["params"]["glyph"], x0, 4 + off, 14, mono_scheme(P["white"]))
    draw_text_at(ImageDraw.Draw(img), x0 + 19, 11.5 + off, r["text"], f, P["white"])
    return img


def d_stopbtn(r):
    img = new(70, 70, "edge")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 69, 69], outline=P["outline"])
    d.line([(1, 1), (68, 1)], fill=P["edge_hi"])

    def disc(L):
        L.ellipse(18, 7, 52, 41, fill=P["red"])
        L.rrect(29, 18, 41, 30, 2, fill=P["white"])
    soft(img, disc)
    draw_text_centred(d, 35, 55, r["text"], font(11, True), P["white"])
    return img


def d_areabtn(r):
    img = new(11, 11, "edge")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 10, 10], outline=P["accent_hi"])
    d.rectangle([3, 3, 7, 7], fill=P["accent_hi"])
    return img


def key_out(img, bg):
    """Turns every pixel exactly equal to bg into the colour key."""
    px = img.load()
    for y in range(img.height):
        for x in range(img.width):
            if px[x, y] == bg:
                px[x, y] = KEY


def d_tabbtns(r):
    img = new(56, 14, "address")

    def glyphs(L):
        ink = P["ink"]
        L.poly([(9, 3), (9, 11), (5, 7)], ink)                  # scroll left
        L.poly([(14 + 5, 3), (14 + 5, 11), (14 + 9, 7)], ink)   # scroll right
        L.box(28 + 6.4, 3, 28 + 7.6, 11, ink)                   # new tab
        L.box(28 + 3, 6.4, 28 + 11, 7.6, ink)
        L.line([(42 + 3.8, 3.8), (42 + 10.2, 10.2)], ink, 1.4)  # close
        L.line([(42 + 10.2, 3.8), (42 + 3.8, 10.2)], ink, 1.4)
    soft(img, glyphs)
    key_out(img, P["address"])
    return img


def d_toolbar_back(r):
    img = new(30, 60, "toolbar")
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (30, 0)], fill=(250, 250, 250))
    d.line([(0, 58), (30, 58)], fill=(224, 224, 224))
    d.line([(0, 59), (30, 59)], fill=(204, 204, 204))
    return img


def d_separator(r):
    img = new(2, 38, "toolbar")
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (0, 37)], fill=(204, 204, 204))
    d.line([(1, 0), (1, 37)], fill=(250, 250, 250))
    return img


def _toolbar_plate(img, st, w, h):
    def plate(L):
        if st == "hover":
            L.rrect(0, 0, w, h, 5, fill=(250, 251, 253), outline=(156, 194, 240))
        elif st == "pressed":
            L.rrect(0, 0, w, h, 5, fill=(214, 220, 229), outline=(160, 170, 186))
    soft(img, plate)


def greyed(icon_img, bg):
    """A disabled-looking copy of an RGBA icon: grey and faded toward bg."""
    r, g, b, a = icon_img.split()
    lum = Image.merge("RGB", (r, g, b)).convert("L")
    lum = lum.point(lambda v: int(v * 0.45 + 150))
    a = a.point(lambda v: int(v * 0.75))
    return Image.merge("RGBA", (lum, lum, lum, a))


def d_tbbtn(r):
    st = r["params"]["state"]
    img = new(52, 52, "toolbar")
    _toolbar_plate(img, st, 52, 52)
    off = 1 if st == "pressed" else 0
    ic = render_icon(r["params"]["icon"], 24)
    if st == "grey":
        ic = greyed(ic, P["toolbar"])
    paste_layer(img, ic, 14 + off, 6 + off)
    col = (166, 166, 166) if st == "grey" else P["text"]
    draw_caption(ImageDraw.Draw(img), 26 + off, 40.5 + off, r["text"], font(11), col, 46)
    return img


def draw_caption(d, cx, cy, s, f, fill, max_w):
    """Centred caption; a word wider than max_w is set 1 px tighter per letter."""
    if f.getlength(s) <= max_w:
        draw_text_centred(d, cx, cy, s, f, fill)
        return
    widths = [f.getlength(ch) for ch in s]
    total = sum(widths) - (len(s) - 1)
    ref = f.getbbox("가Ag")
    x = cx - total / 2.0
    y = int(round(cy - (ref[1] + ref[3]) / 2.0))
    for ch, wch in zip(s, widths):
        d.text((int(round(x)), y), ch, font=f, fill=fill)
        x += wch - 1


def d_arrowbtn(r):
    st = r["params"]["state"]
    img = new(16, 52, "toolbar")
    _toolbar_plate(img, st, 16, 52)
    off = 1 if st == "pressed" else 0
    ink = P["accent_dk"] if st == "hover" else P["ink"]

    def chevrons(L):
        for dx in (0, 4):
            x = 4.5 + dx + off
            L.line([(x, 22 + off), (x + 3.2, 26 + off), (x, 30 + off)], ink, 1.3)
    soft(img, chevrons)
    return img


def d_menuicon(r):
    """16x16 BITMAP: the icon on a light menu background, magenta where the icon is
    (nearly) transparent, so a colour-keyed draw leaves no pink fringe."""
    ic = render_icon(r["params"]["icon"], 16)
    bg = (246, 246, 246)
    img = new(16, 16, bg)
    paste_layer(img, ic)
    a = ic.split()[3].load()
    px = img.load()
    for y in range(16):
        for x in range(16):
            if a[x, y] < 64:
                px[x, y] = KEY
    r["_ico"] = {16: ic}
    return img


def _balloon(img, x0, y0, x1, y1, radius, fill, outline):
    """Opaque rounded body with hard edges, so nothing blends into the key colour."""
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([x0, y0, x1, y1], radius, fill=fill, outline=outline, width=1)


def d_tip(r):
    w, h = r["w"], r["h"]
    pr = r["params"]
    img = new(w, h, KEY)
    d = ImageDraw.Draw(img)
    fill, outline = (44, 51, 63), P["outline"]
    ph = 6
    px_ = pr["pointer_x"]
    if pr["pointer"] == "up":
        by0, by1 = ph, h - 1
    else:
        by0, by1 = 0, h - 1 - ph
    _balloon(img, 0, by0, w - 1, by1, 6, fill, outline)
    if pr["pointer"] == "up":
        d.polygon([(px_ - ph, ph), (px_, 0), (px_ + ph, ph)], fill=fill)
        d.line([(px_ - ph, ph), (px_, 0)], fill=outline)
        d.line([(px_, 0), (px_ + ph, ph)], fill=outline)
        d.line([(px_ - ph + 1, ph), (px_ + ph - 1, ph)], fill=fill)
    else:
        yb = h - 1 - ph
        d.polygon([(px_ - ph, yb), (px_, h - 1), (px_ + ph, yb)], fill=fill)
        d.line([(px_ - ph, yb), (px_, h - 1)], fill=outline)
        d.line([(px_, h - 1), (px_ + ph, yb)], fill=outline)
        d.line([(px_ - ph + 1, yb), (px_ + ph - 1, yb)], fill=fill)
    cy = (by0 + by1) / 2.0 + 0.5
    # a small badge at the left: keyboard key or pointing hint
    bx = 11

    def badge(L):
        L.rrect(bx, cy - 8, bx + 16, cy + 8, 3, fill=P["accent"])
    soft(img, badge, 0, 0)
    glyph = "i" if pr.get("key") is None else "⌨"
    if glyph == "i":
        soft(img, lambda L: (L.box(bx + 7.2, cy - 1.5, bx + 8.8, cy + 4.5, P["white"]),
                             L.ellipse(bx + 7, cy - 5, bx + 9, cy - 3, fill=P["white"])))
    else:
        def keys(L):
            L.rrect(bx + 2.5, cy - 4, bx + 13.5, cy + 4, 1.2, outline=P["white"], width=1)
            for kx in (5, 7.5, 10):
                L.box(bx + kx - 0.1, cy - 2, bx + kx + 1.1, cy - 0.8, P["white"])
            L.box(bx + 5, cy + 1, bx + 11.2, cy + 2.2, P["white"])
        soft(img, keys)
    f = font(12)
    fb = font(12, True)
    x = bx + 16 + 8
    text = r["text"]
    key = pr.get("key")
    if key and text.startswith(key):
        x += draw_text_at(d, x, cy, key, fb, P["accent_hi"])
        x += draw_text_at(d, x, cy, text[len(key):], f, P["white"])
    else:
        x += draw_text_at(d, x, cy, text, f, P["white"])
    if x > w - 6:
        raise SystemExit("tip %d: text does not fit (%d > %d)" % (r["num"], x, w - 6))
    return img


def d_outline_strip(r):
    img = new(10, 75, "edge")
    px = img.load()
    for y in range(75):
        c = mix((62, 71, 86), P["edge"], y / 74.0)
        for x in range(10):
            px[x, y] = c
    return img


def d_notice_bar(r):
    w, h = r["w"], r["h"]
    img = new(w, h, KEY)
    _balloon(img, 0, 20, w - 1, h - 1, 5, P["edge"], P["outline"])
    d = ImageDraw.Draw(img)
    d.line([(5, 21), (w - 6, 21)], fill=P["edge_hi"])
    d.rectangle([1, 26, 3, h - 8], fill=P["accent"])
    put_icon(img, "fullscreen", 17, 31, 32, "dark")
    draw_text_at(d, 65, 34, r["text"], font(12, True), P["accent_hi"])
    return img


def d_notice_btn(r):
    img = new(40, 40, "edge")
    g = r["params"]["glyph"]

    def disc(L):
        if g == "capture":
            L.ellipse(2, 2, 38, 38, fill=P["accent"])
        else:
            L.ellipse(2, 2, 38, 38, fill=P["edge_hover"], outline=(96, 107, 124), width=1)
    soft(img, disc)
    put_icon(img, g, 10, 10, 20, mono_scheme(P["white"]))
    return img


def wrap(text, f, width):
    out, cur = [], ""
    for word in text.split(" "):
        trial = word if not cur else cur + " " + word
        if f.getlength(trial) <= width or not cur:
            cur = trial
        else:
            out.append(cur)
            cur = word
    if cur:
        out.append(cur)
    return out


def d_prompt(r):
    w, h = r["w"], r["h"]
    which = r["params"]["kind_of"]
    img = new(w, h, "white")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, 37], fill=P["edge"])
    d.line([(0, 36), (w, 36)], fill=P["accent"])
    d.line([(0, 37), (w, 37)], fill=P["accent"])
    d.line([(1, 1), (w - 2, 1)], fill=P["edge_hi"])
    put_icon(img, "app", 12, 10, 18)
    x = 36 + draw_text_at(d, 36, 19, "Framlet", font(14, True, "square"), P["white"])
    sub = "로그인 안내" if which == "login" else "화면 녹화 안내"
    draw_text_at(d, x + 10, 19.5, sub, font(12), P["glyph"])
    d.rectangle([0, 0, w - 1, h - 1], outline=P["outline"])
    first, second = r["text"].split(" / ")
    if which == "login":
        icx, icy, tx, top, btn_top, btn_bottom = 24, 62, 92, 66, 145, 186
        icon, soft_col = "person", P["accent_soft"]
    else:
        icx, icy, tx, top, btn_top, btn_bottom = 28, 68, 100, 70, 206, 256
        icon, soft_col = "record", (252, 230, 230)

    def badge(L):
        L.ellipse(icx, icy, icx + 52, icy + 52, fill=soft_col)
    soft(img, badge)
    put_icon(img, icon, icx + 12, icy + 12, 28)
    fb, fr = font(14, True), font(12)
    y = top + 8
    for line in wrap(first, fb, w - tx - 20):
        draw_text_at(d, tx, y, line, fb, P["text"])
        y += 21
    y += 3
    for line in wrap(second, fr, w - tx - 20):
        draw_text_at(d, tx, y, line, fr, P["muted"])
        y += 18
    if y > btn_top - 8:
        raise SystemExit("prompt %d: text runs into the button" % r["num"])
    hint = "닫으려면 ESC 키를 누르세요."
    draw_text_centred(d, w / 2.0, (btn_bottom + h) / 2.0, hint, font(11), (150, 155, 162))
    return img


def d_promptbtn(r):
    w, h, st = r["w"], r["h"], r["params"]["state"]
    img = new(w, h, "white")
    fill = {"rest": P["accent"], "hover": P["accent_hi"], "pressed": P["accent_dk"]}[st]
    off = 1 if st == "pressed" else 0

    def plate(L):
        if st != "pressed":
            L.rrect(0, 1, w, h, 6, fill=(210, 222, 238))  # soft drop shadow
            L.rrect(0, 0, w, h - 1, 6, fill=fill)
        else:
            L.rrect(0, 0, w, h, 6, fill=fill)
    soft(img, plate)
    d = ImageDraw.Draw(img)
    size = 15 if h < 45 else 17
    f = font(size, True)
    if r["text"] == "다운로드":
        tw = text_width(r["text"], f)
        x0 = (w - (tw + 24)) / 2.0 + off
        put_icon(img, "save", int(round(x0)), int(h / 2 - 9) + off, 18, mono_scheme(P["white"]))
        draw_text_at(d, x0 + 24, h / 2.0 + off - 0.5, r["text"], f, P["white"])
    else:
        draw_text_centred(d, w / 2.0 + off, h / 2.0 + off - 0.5, r["text"], f, P["white"])
    return img


def d_copy_notice(r):
    w, h = r["w"], r["h"]
    img = new(w, h, "fill")

    def plate(L):
        L.rrect(0, 0, w, h, 5, fill=(236, 244, 255), outline=P["accent_hi"])
        L.rrect(1, 1, w - 1, 19, 4, fill=P["accent"])
        L.box(1, 12, w - 1, 19, P["accent"])
    soft(img, plate)
    d = ImageDraw.Draw(img)
    first, rest = r["text"].split(". ", 1)
    draw_text_centred(d, w / 2.0, 10, first + ".", font(11, True), P["white"])
    lines = wrap(rest, font(11), w - 12)
    if len(lines) != 2:
        raise SystemExit("copy notice: expected two lines, got %r" % lines)
    draw_text_centred(d, w / 2.0, 29.5, lines[0], font(11), P["text"])
    draw_text_centred(d, w / 2.0, 44, lines[1], font(11), P["text"])
    return img


def d_previewbtn(r):
    w, h = r["w"], r["h"]
    st, primary = r["params"]["state"], r["params"]["primary"]
    img = new(w, h, "fill")
    off = 1 if st == "pressed" else 0
    if primary:
        fill = {"rest": P["accent"], "hover": P["accent_hi"], "pressed": P["accent_dk"]}[st]
        soft(img, lambda L: L.rrect(0, 0, w, h, 4, fill=fill))
        fg, keyc, scheme = P["white"], (205, 226, 252), mono_scheme(P["white"])
    else:
        fill, line = {"rest": (P["white"], (192, 198, 206)),
                      "hover": (P["accent_soft"], P["accent_hi"]),
                      "pressed": ((220, 225, 232), (156, 165, 178))}[st]
        soft(img, lambda L: L.rrect(0, 0, w, h, 4, fill=fill, outline=line))
        fg, keyc, scheme = P["text"], (140, 146, 156), "color"
    put_icon(img, r["params"]["icon"], 12 + off, (h - 16) // 2 + off, 16, scheme)
    d = ImageDraw.Draw(img)
    draw_text_at(d, 36 + off, h / 2.0 + off, r["text"], font(12, True), fg)
    key = r["params"].get("key")
    if key:
        f = font(10)
        draw_text_at(d, w - 10 - text_width(key, f) + off, h / 2.0 + off, key, f, keyc)
    return img


def d_actualbtn(r):
    w, h = r["w"], r["h"]
    img = new(w, h, "fill")
    d = ImageDraw.Draw(img)
    d.rectangle([0, 4, w - 1, h - 1], fill=STATUS)
    d.line([(0, 4), (w, 4)], fill=STATUS_TOP)
    f = font(11, True)
    tw = text_width(r["text"], f)
    x0 = (w - (tw + 15)) / 2.0
    put_icon(img, "magnifier", int(round(x0)), 5, 11, mono_scheme(P["accent_dk"]))
    draw_text_at(d, x0 + 15, 10.5, r["text"], f, P["accent_dk"])
    return img


def d_dlgbtn(r):
    w, h = r["w"], r["h"]
    img = new(w, h, "fill")
    if r["params"]["primary"]:
        soft(img, lambda L: L.rrect(0, 0, w, h, 3, fill=P["accent"]))
        fg = P["white"]
    else:
        soft(img, lambda L: L.rrect(0, 0, w, h, 3, fill=P["white"], outline=(176, 183, 192)))
        fg = P["text"]
    draw_text_centred(ImageDraw.Draw(img), w / 2.0, h / 2.0, r["text"], font(12, True), fg)
    return img


def d_picker_cross(r):
    img = new(17, 17, "white")
    d = ImageDraw.Draw(img)
    red, dark = (228, 30, 30), (40, 40, 40)
    d.line([(8, 0), (8, 5)], fill=red)
    d.line([(8, 11), (8, 16)], fill=red)
    d.line([(0, 8), (5, 8)], fill=red)
    d.line([(11, 8), (16, 8)], fill=red)
    d.ellipse([3, 3, 13, 13], outline=red)
    d.point((8, 8), fill=dark)
    return img


def d_magnifier_panel(r):
    w, h = r["w"], r["h"]
    img = new(w, h, KEY)
    _balloon(img, 0, 0, w - 1, h - 1, 6, P["edge"], P["outline"])
    d = ImageDraw.Draw(img)
    d.line([(6, 1), (w - 7, 1)], fill=P["edge_hi"])
    d.rectangle([9, 9, 126, 130], outline=P["accent_hi"])
    d.rectangle([10, 10, 125, 129], fill=(20, 23, 28))
    d.line([(10, 150), (125, 150)], fill=P["accent"])
    return img


def d_updater_side(r):
    w, h = r["w"], r["h"]
    img = new(w, h, "accent")
    px = img.load()
    top, bottom = (42, 134, 238), (16, 44, 98)
    for y in range(h):
        c = mix(top, bottom, y / float(h - 1))
        for x in range(w):
            px[x, y] = c

    def rings(L):
        L.ellipse(70, 150, 250, 330, fill=(255, 255, 255, 18))
        L.ellipse(100, 190, 220, 310, fill=(255, 255, 255, 16))
        L.ellipse(-60, -70, 80, 70, fill=(255, 255, 255, 14))
    soft(img, rings)
    put_icon(img, "app", 20, 30, 48)
    d = ImageDraw.Draw(img)
    first, second = r["text"].split(" / ")
    draw_text_at(d, 20, 102, first, font(22, True, "square"), P["white"])
    draw_text_at(d, 21, 128, second, font(13), (208, 228, 255))

    def check(L):
        L.ellipse(20, 214, 48, 242, fill=(255, 255, 255, 235))
        L.line([(27, 228.5), (32.5, 234), (41.5, 222.5)], P["green"], 3)
    soft(img, check)
    return img


def d_tree_states(r):
    img = new(70, 14, KEY)
    for cell in range(1, 5):
        x0 = cell * 14
        fill, border = {1: (P["white"], (120, 128, 140)), 2: (P["accent"], P["accent_dk"]),
                        3: ((200, 204, 210), (140, 146, 156)),
                        4: ((236, 236, 236), (184, 188, 194))}[cell]
        d = ImageDraw.Draw(img)
        d.rectangle([x0 + 1, 1, x0 + 12, 12], fill=border)
        d.rectangle([x0 + 2, 2, x0 + 11, 11], fill=fill)
        if cell in (2, 3):
            col = P["white"] if cell == 2 else (104, 110, 122)
            lay = Layer(10, 10)
            lay.line([(1.8, 5.2), (4, 7.4), (8.2, 2.6)], col, 1.6)
            # the tick is blended onto the box fill only, never onto the key
            box = Image.new("RGB", (10, 10), fill)
            paste_layer(box, lay.reduce())
            img.paste(box, (x0 + 2, 2))
    return img


# Icons and cursors are written as .ico/.cur; their "image" is the largest size.

def d_icon(r):
    sizes = r["params"]["sizes"]
    r["_ico"] = {n: render_icon(r["params"]["icon"], n) for n in sizes}
    return r["_ico"][max(sizes)]


def d_cursor(r):
    n = r["w"]
    im = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    cx, cy = r["params"]["hotspot"]
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    arms = [((cx, 2), (cx, cy - 3)), ((cx, cy + 3), (cx, n - 4)),
            ((2, cy), (cx - 3, cy)), ((cx + 3, cy), (n - 4, cy))]
    for (x0, y0), (x1, y1) in arms:
        d.rectangle([min(x0, x1) - 1, min(y0, y1) - 1, max(x0, x1) + 1, max(y0, y1) + 1],
                    fill=black)
    d.rectangle([cx - 1, cy - 1, cx + 1, cy + 1], fill=black)
    for (x0, y0), (x1, y1) in arms:
        d.line([(x0, y0), (x1, y1)], fill=white)
    d.point((cx, cy), fill=white)
    r["_cur"] = im
    return im


DRAWERS = {k[2:]: v for k, v in globals().items() if k.startswith("d_")}


# --------------------------------------------------------------------------
# Writers
# --------------------------------------------------------------------------

def bmp_entry(im, hotspot=None):
    """BITMAPINFOHEADER + 32-bit BGRA rows (bottom-up) + 1-bit AND mask."""
    n_w, n_h = im.size
    px = im.load()
    xor = bytearray()
    for y in range(n_h - 1, -1, -1):
        for x in range(n_w):
            r_, g_, b_, a_ = px[x, y]
            xor += bytes((b_, g_, r_, a_))
    stride = ((n_w + 31) // 32) * 4
    mask = bytearray()
    for y in range(n_h - 1, -1, -1):
        rowbits = bytearray(stride)
        for x in range(n_w):
            if px[x, y][3] == 0:
                rowbits[x // 8] |= 0x80 >> (x % 8)
        mask += rowbits
    header = struct.pack("<IiiHHIIiiII", 40, n_w, n_h * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images, cursor_hotspot=None):
    images = sorted(images, key=lambda im: im.size[0])
    kind = 2 if cursor_hotspot else 1
    out = struct.pack("<HHH", 0, kind, len(images))
    blobs = [bmp_entry(im) for im in images]
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        if cursor_hotspot:
            p1, p2 = cursor_hotspot
        else:
            p1, p2 = 1, 32
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, p1, p2, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_bmp(path, img):
    img.save(path, format="BMP")


def read_header():
    names = {}
    with open(os.path.join(RES, "resource.h"), encoding="utf-8") as f:
        for line in f:
            m = re.match(r"#define\s+(ID\w+)\s+(\d+)\s*$", line)
            if m:
                names[m.group(1)] = int(m.group(2))
    return names


def check_against_header(rows):
    names = read_header()
    errors = []
    for r in rows:
        if names.get(r["name"]) != r["num"]:
            errors.append("%s %d: resource.h says %s" % (r["name"], r["num"], names.get(r["name"])))
    drawn = {r["name"] for r in rows}
    for n in names:
        if n.startswith(("IDB_", "IDI_", "IDCUR_")) and n not in drawn:
            errors.append("%s in resource.h has no row in the table" % n)
    if errors:
        raise SystemExit("\n".join(errors))


def check_picture(r, img):
    if img.size != (r["w"], r["h"]):
        raise SystemExit("%d: drawn %s, table says %dx%d" % (r["num"], img.size, r["w"], r["h"]))
    px = img.load()
    if r["num"] == 133:
        assert all(px[x, y] == KEY for x in range(10) for y in range(10)), "133 not magenta"
    if r["num"] == 251:
        assert all(px[x, y] == (240, 240, 240) for x in range(10) for y in range(10))
    if r["draw"] in ("frame_top", "frame_bottom", "preview_bottom", "toolbar_back"):
        # stretched horizontally: the middle piece must be column-uniform
        if r["params"].get("part", "mid") == "mid":
            for y in range(img.height):
                assert len({px[x, y] for x in range(img.width)}) == 1, "%d row %d" % (r["num"], y)
    if r["draw"] == "edge":
        for x in range(img.width):
            assert len({px[x, y] for y in range(img.height)}) == 1, "%d col %d" % (r["num"], x)
    if r["draw"] in ("tip", "notice_bar", "magnifier_panel"):
        # hard edges: every pixel touching the key is the outline colour
        for y in range(img.height):
            for x in range(img.width):
                if px[x, y] == KEY:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < img.width and 0 <= yy < img.height and px[xx, yy] == KEY:
                        if px[x, y] != P["outline"]:
                            raise SystemExit("%d: soft pixel %s at %d,%d next to the key"
                                             % (r["num"], px[x, y], x, y))


def contact_sheet(rows, pics):
    f = font(12)
    fb = font(12, True)
    tiles = []
    for r in rows:
        img = pics[r["num"]]
        if "_ico" in r or "_cur" in r:
            ims = [r["_cur"]] if "_cur" in r else [r["_ico"][k] for k in sorted(r["_ico"])]
            scale = 2
            if r["draw"] == "menuicon":  # the bitmap first, then the icon
                ims = [img.convert("RGBA")] + ims
                scale = 4
            wsum = sum(im.width * scale + 6 for im in ims)
            hmax = max(im.height for im in ims) * scale
            tile = Image.new("RGB", (max(wsum, 90), hmax), (255, 255, 255))
            checker = Image.new("RGB", tile.size, (255, 255, 255))
            cd = ImageDraw.Draw(checker)
            for yy in range(0, tile.height, 8):
                for xx in range(0, tile.width, 8):
                    if (xx // 8 + yy // 8) % 2:
                        cd.rectangle([xx, yy, xx + 7, yy + 7], fill=(214, 214, 214))
            tile = checker
            x = 0
            for im in ims:
                big = im.resize((im.width * scale, im.height * scale), Image.NEAREST)
                tile.paste(big, (x, hmax - big.height), big)
                x += big.width + 6
        else:
            m = max(img.width, img.height)
            scale = 6 if m <= 20 else 4 if m <= 40 else 3 if m <= 60 else 2 if m <= 130 else 1
            if r["draw"] in ("frame_top",):
                scale = 2
            tile = img.resize((img.width * scale, img.height * scale), Image.NEAREST)
        label = "%d  %dx%d" % (r["num"], r["w"], r["h"])
        sub = r["name"]
        tw = max(tile.width, int(f.getlength(sub)) + 4, 90)
        cell = Image.new("RGB", (tw + 16, tile.height + 44), (250, 250, 250))
        cell.paste(tile, (8, 8))
        cd = ImageDraw.Draw(cell)
        cd.rectangle([7, 7, 8 + tile.width, 8 + tile.height], outline=(200, 200, 200))
        cd.text((8, tile.height + 12), label, font=fb, fill=(30, 30, 30))
        cd.text((8, tile.height + 27), sub, font=f, fill=(110, 110, 110))
        tiles.append(cell)
    width = 1800
    x = y = 0
    rowh = 0
    mocks = []
    for mock in (mock_frame(pics), mock_preview(pics)):
        cell = Image.new("RGB", (mock.width + 16, mock.height + 16), (250, 250, 250))
        cell.paste(mock, (8, 8))
        mocks.append(cell)
    tiles = mocks + tiles
    placed = []
    for t in tiles:
        if x + t.width > width:
            x, y = 0, y + rowh
            rowh = 0
        placed.append((t, x, y))
        x += t.width
        rowh = max(rowh, t.height)
    sheet = Image.new("RGB", (width, y + rowh), (250, 250, 250))
    for t, xx, yy in placed:
        sheet.paste(t, (xx, yy))
    sheet.save(os.path.join(ART, "contact_sheet.png"), format="PNG", optimize=False)


def stretch(dst, src, x, y, w, h):
    if w > 0 and h > 0:
        dst.paste(src.resize((w, h), Image.NEAREST), (x, y))


def mock_frame(pics, w=836, h=330):
    """The capture frame in normal mode, assembled as the window code draws it."""
    m = Image.new("RGB", (w, h))
    g = pics.__getitem__
    m.paste(g(129), (0, 0))
    stretch(m, g(130), 35, 0, w - 70, 121)
    m.paste(g(131), (w - 35, 0))
    stretch(m, g(132), 0, 121, 4, h - 121)
    stretch(m, g(133), 4, 121, w - 8, h - 121)
    stretch(m, g(134), w - 4, 121, 4, h - 121)
    m.paste(g(135), (0, h - 23))
    stretch(m, g(136), 25, h - 23, w - 50, 23)
    m.paste(g(137), (w - 25, h - 23))
    d = ImageDraw.Draw(m)
    d.text((120, 6), "www.framlet.example", font=font(12, False, "gothic"), fill=(255, 255, 255))
    for num, x, y in [(138, 5, 0), (212, w - 160, 5), (216, w - 125, 5), (150, w - 78, 6),
                      (139, w - 61, 6), (143, w - 44, 6), (142, w - 27, 6), (218, 10, 95),
                      (221, 35, 92), (226, 60, 92), (344, w - 137, 93), (231, w - 110, 93),
                      (282, 240, h - 17), (272, (w - 8) // 2 - 35, (h - 144) // 2 + 65)]:
        m.paste(g(num), (x, y))
    d.rectangle([90, 93, 90 + w - 232 - 1, 93 + 21], fill=(255, 255, 255),
                outline=(150, 156, 166))
    d.text((95, 97), "http://", font=font(12), fill=(40, 40, 40))
    d.text((20, h - 18), "img Size | X:104 Y:221 | W:828 H:186", font=font(11, True, "gothic"),
           fill=(202, 202, 202))
    panel = Image.new("RGB", (w - 8, 60))
    stretch(panel, g(161), 0, 0, w - 8, 60)
    pw = w - 8
    for num, x in [(180, 10), (184, 67), (195, 124), (198, 181), (189, 237), (188, 294),
                   (192, 351), (201, 408), (163, pw - 170), (166, pw - 115), (169, pw - 60)]:
        panel.paste(g(num), (x, 5))
    panel.paste(g(162), (pw - 180, 11))
    m.paste(panel, (4, 28))
    m.paste(g(320), (4, 80))
    m.paste(g(333), (213, h - 51 - 23))
    return m


def mock_preview(pics, w=560, h=330):
    """The capture preview window, assembled as the window code draws it."""
    m = Image.new("RGB", (w, h))
    g = pics.__getitem__
    m.paste(g(244), (0, 0))
    stretch(m, g(245), 19, 0, w - 38, 28)
    m.paste(g(246), (w - 19, 0))
    stretch(m, g(132), 0, 28, 4, h - 28)
    stretch(m, g(251), 4, 28, w - 8, h - 28)
    tx = 20 * -(-(w - 150) // 20)
    ty = 20 * -(-(h - 80) // 20)
    for yy in range(0, h - 80, 20):
        for xx in range(0, w - 150, 20):
            m.paste(g(247), (10 + xx, 38 + yy))
    shot = Image.new("RGB", (300, 180), (250, 250, 252))
    ImageDraw.Draw(shot).rectangle([0, 0, 299, 24], fill=(70, 120, 200))
    m.paste(shot, ((w - 180) // 2 - 150 + 30, (h - 80) // 2 - 90 + 30))
    stretch(m, g(134), w - 4, 28, 4, h - 28)
    m.paste(g(248), (0, h - 23))
    stretch(m, g(249), 25, h - 23, w - 50, 23)
    m.paste(g(250), (w - 25, h - 23))
    for num, x, y in [(252, 10, 4), (143, w - 41, 5), (141, w - 25, 5), (254, w - 120, 38),
                      (259, w - 120, 79), (260, w - 120, 117), (263, w - 120, 155),
                      (253, w - 120, 208), (266, w - 120, ty + 7), (269, tx - 88, h - 27)]:
        m.paste(g(num), (x, y))
    ImageDraw.Draw(m).text((10, h - 23), "파일정보 300 X 180", font=font(12, True, "gothic"),
                           fill=(69, 69, 69))
    return m


def write_rc(path, rows, title):
    lines = ["// %s" % title,
             "// Generated by tools/draw_art.py from tools/art_table.py; do not edit.",
             ""]
    for r in rows:
        if r["draw"] == "icon":
            lines.append('%d ICON "art/%d.ico"  // %s' % (r["num"], r["num"], r["name"]))
        elif r["draw"] == "cursor":
            lines.append('%d CURSOR "art/%d.cur"  // %s' % (r["num"], r["num"], r["name"]))
        else:
            lines.append('%d BITMAP "art/%d.bmp"  // %s' % (r["num"], r["num"], r["name"]))
            if r["draw"] == "menuicon":
                lines.append('%d ICON "art/%d.ico"  // %s' % (r["num"], r["num"], r["name"]))
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    rows = sorted(T.ROWS, key=lambda r: r["num"])
    nums = [r["num"] for r in rows]
    if len(set(nums)) != len(nums):
        raise SystemExit("duplicate numbers in the table")
    check_against_header(rows)
    os.makedirs(ART, exist_ok=True)
    pics = {}
    for r in rows:
        img = DRAWERS[r["draw"]](r)
        pics[r["num"]] = img
        if r["draw"] == "icon":
            for n, im in r["_ico"].items():
                assert im.size == (n, n)
            write_ico(os.path.join(ART, "%d.ico" % r["num"]), list(r["_ico"].values()))
        elif r["draw"] == "cursor":
            assert img.size == (r["w"], r["h"])
            write_ico(os.path.join(ART, "%d.cur" % r["num"]), [img], r["params"]["hotspot"])
        else:
            check_picture(r, img)
            write_bmp(os.path.join(ART, "%d.bmp" % r["num"]), img)
            if r["draw"] == "menuicon":
                write_ico(os.path.join(ART, "%d.ico" % r["num"]), [r["_ico"][16]])
    # re-read what was written: 24-bit bitmaps of the table's sizes
    for r in rows:
        if r["draw"] in ("icon", "cursor"):
            continue
        with Image.open(os.path.join(ART, "%d.bmp" % r["num"])) as im:
            assert im.mode == "RGB" and im.size == (r["w"], r["h"]), r["num"]
    main_rows = [r for r in rows if not r["params"].get("updater")]
    up_rows = [r for r in rows if r["params"].get("updater")]
    write_rc(os.path.join(RES, "art.rc"), main_rows, "Pictures, icons and cursors of framlet5.")
    write_rc(os.path.join(RES, "art_up.rc"), up_rows, "Pictures and icon of framletup.")
    contact_sheet(rows, pics)
    print("%d resources drawn" % len(rows))


if __name__ == "__main__":
    main()
