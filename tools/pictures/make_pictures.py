#!/usr/bin/env python3
"""Draws the skin pictures of the settings editor and writes them as PNG files.

Usage: make_pictures.py [OUTPUT_FOLDER]   (default: resources/pictures/)

Every picture is drawn from code so that the skin can be changed and
regenerated; the output is byte-for-byte reproducible (fixed compression
level, no time or text chunks), so tools/pictures/check_pictures.py can
compare the committed files with a fresh run.

The 100 % pictures go into the output folder itself; every picture a window
draws is drawn again for each display scale of SCALES into a subfolder named
after the scale (150/143.png), at the scaled size and with every shape drawn
at that size.  The resource script that builds all of them into the program
is written beside the output folder (OUTPUT_FOLDER/../pictures.rc).

Nine-patch pictures carry their markers in the outermost 1-pixel frame:
opaque black (0,0,0) marks a stretch column (top row), a stretch row (left
column) or the content run (right column, bottom row); every other frame
pixel is transparent white.  Only the marked column and row are replicated
when a picture is stretched, so every gradient runs across the stretched
direction and every rounded corner lies in the fixed part.

Only arithmetic and sqrt are used for drawing, so the output does not depend
on the platform's maths library.

Pictures that no window draws today (164-174) are kept in the set:
  164       second window background, 29 x 148, nine-patch
  165-167   second close button, 30 x 26: normal, hover, pressed
  168       line diagram, 197 x 94: impact sensor trace with trigger levels
  169, 170  colour chips, 48 x 30, truecolour without alpha: blue, green
  171       line diagram, 197 x 94: supply voltage with cut-off level
  172-174   row of eleven lamps, 231 x 16: off, lit green, lit red
The chips sit between the two diagrams so that exactly the two opaque
pictures, 169 and 170, are the ones stored without alpha.
"""

import os
import struct
import sys
import zlib

DEFAULT_OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                              "..", "..", "resources", "pictures")

CLEAR_WHITE = (255, 255, 255, 0)
MARKER = (0, 0, 0, 255)


# ---------------------------------------------------------------------------
# Canvas: straight (not premultiplied) RGBA in floats 0..255.

class Canvas:
    def __init__(self, width, height, clear=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.px = [[list(map(float, clear)) for _ in range(width)]
                   for _ in range(height)]
        self.clip = (0, 0, width, height)

    def set(self, x, y, rgba):
        self.px[y][x] = list(map(float, rgba))

    def over(self, x, y, rgb, alpha):
        """Source-over of colour rgb with coverage alpha (0..1)."""
        x0, y0, x1, y1 = self.clip
        if alpha <= 0.0 or not (x0 <= x < x1 and y0 <= y < y1):
            return
        dst = self.px[y][x]
        da = dst[3] / 255.0
        oa = alpha + da * (1.0 - alpha)
        for i in range(3):
            dst[i] = (rgb[i] * alpha + dst[i] * da * (1.0 - alpha)) / oa
        dst[3] = oa * 255.0

    def fill(self, x0, y0, x1, y1, colour, alpha=1.0):
        """Fills the pixels x0..x1-1, y0..y1-1; colour is rgb or f(x, y)."""
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                self.over(x, y, colour(x, y) if callable(colour) else colour,
                          alpha)

    def shape(self, sdf, colour, bounds=None, alpha=1.0):
        """Paints a shape given by a signed distance function of the pixel
        centre, with a one-pixel anti-aliased edge."""
        bx0, by0, bx1, by1 = bounds or (0, 0, self.width, self.height)
        for y in range(max(int(by0) - 1, 0), min(int(by1) + 2, self.height)):
            for x in range(max(int(bx0) - 1, 0), min(int(bx1) + 2, self.width)):
                d = sdf(x + 0.5, y + 0.5)
                cov = 0.5 - d
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                self.over(x, y, colour(x, y) if callable(colour) else colour,
                          cov * alpha)

    def rgba_bytes(self, with_alpha=True):
        rows = []
        for row in self.px:
            out = bytearray()
            for p in row:
                vals = p if with_alpha else p[:3]
                out.extend(min(255, max(0, int(v + 0.5))) for v in vals)
            rows.append(bytes(out))
        return rows


def rounded_rect(x0, y0, x1, y1, r):
    """Signed distance to the rectangle x0..x1, y0..y1 (pixel edges) with
    corner radius r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(px, py):
        qx = abs(px - cx) - hx
        qy = abs(py - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return (ox * ox + oy * oy) ** 0.5 + min(max(qx, qy), 0.0) - r
    return sdf


def circle(cx, cy, r):
    def sdf(px, py):
        return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5 - r
    return sdf


def polyline(points, half_width):
    """Union of round-capped strokes along the points."""
    segs = list(zip(points, points[1:]))

    def sdf(px, py):
        best = 1e9
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            t = 0.0 if ll == 0 else ((px - ax) * dx + (py - ay) * dy) / ll
            t = min(1.0, max(0.0, t))
            ex, ey = px - ax - t * dx, py - ay - t * dy
            d = (ex * ex + ey * ey) ** 0.5
            if d < best:
                best = d
        return best - half_width
    return sdf


def lerp(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vgrad(y0, y1, c0, c1, hold=None):
    """Vertical gradient from c0 at row y0 to c1 at row y1.  Row `hold`
    repeats the row above it, so that a stretched row blends in."""
    def colour(x, y):
        if hold is not None and y >= hold:
            y -= 1
            t = (y - y0) / float(y1 - 1 - y0)
        else:
            t = (y - y0) / float((y1 - 1 if hold is not None else y1) - y0)
        return lerp(c0, c1, t)
    return colour


def shade(c, d):
    return tuple(min(255, max(0, v + d)) for v in c)


# ---------------------------------------------------------------------------
# Display scales

SCALES = (100, 125, 150, 175, 200, 250, 300)


class Scale:
    """Lengths of the 100 % drawing at a display scale given in percent.
    Whole-pixel lengths round half up, as the program rounds its layout, so
    a picture drawn at a scale fits the control laid out at that scale; at
    100 % every function gives back what it is given."""

    def __init__(self, percent):
        self.percent = percent
        self.k = percent / 100.0

    def n(self, length):
        """A length in whole pixels, rounded half up."""
        return (length * self.percent + 50) // 100

    def thick(self, length):
        """The thickness of a line: never thinner than one pixel."""
        return max(1, self.n(length))

    def f(self, value):
        """A length that need not be whole (radii, stroke widths)."""
        return value * self.k

    # Nine-patch pictures keep their 1-pixel marker frame at every scale;
    # only the interior (picture coordinates 1 .. size - 2) scales.
    def side(self, length):
        """The side of a nine-patch picture whose 100 % side is `length`."""
        return 2 + self.n(length - 2)

    def edge(self, e):
        """The pixel edge that picture coordinate edge `e` becomes."""
        return 1 + self.n(e - 1)

    def pixel(self, p):
        """The pixel under the scaled centre of picture pixel `p`."""
        return 1 + ((2 * (p - 1) + 1) * self.percent) // 200

    def run(self, first, last):
        """The pixels that the run first..last (inclusive) covers."""
        return self.edge(first), self.edge(last + 1) - 1


ONE = Scale(100)


def scaled_nine_patch(s, width, height, stretch_cols, stretch_rows,
                      content_rows, content_cols, rows_stretch=False):
    """The frame of a 100 % nine-patch picture at scale `s`: (width, height,
    stretch columns, stretch rows, content rows, content columns).

    The painter counts a stretched column inside the content run twice (once
    in the run, once in its amount), so the content area reaches one pixel
    past the stretched part; at a scale that pixel is s.n(1) pixels wide, so
    a run holding a stretch column is lengthened by s.n(1) - 1.  Rows alike,
    for pictures painted taller than they are (`rows_stretch`); the others
    are painted at their own height and get no vertical amount."""
    width, height = s.side(width), s.side(height)
    cols = [s.pixel(x) for x in stretch_cols]
    rows = [s.pixel(y) for y in stretch_rows]

    def content(run, stretches, size, lengthen):
        first, last = s.run(*run)
        if lengthen and any(run[0] <= p <= run[1] for p in stretches):
            last = min(last + s.n(1) - 1, size - 2)
        return first, last
    return (width, height, cols, rows,
            content(content_rows, stretch_rows, height, rows_stretch),
            content(content_cols, stretch_cols, width, True))


# ---------------------------------------------------------------------------
# Nine-patch frame

def nine_patch(width, height, stretch_cols, stretch_rows, content_rows,
               content_cols, s=ONE, rows_stretch=False):
    """A canvas with the marker frame set and drawing clipped to the
    interior.  The positions are picture coordinates of the 100 % picture;
    the canvas is made for scale `s`."""
    (width, height, stretch_cols, stretch_rows, content_rows,
     content_cols) = scaled_nine_patch(s, width, height, stretch_cols,
                                       stretch_rows, content_rows,
                                       content_cols, rows_stretch)
    c = Canvas(width, height)
    for x in range(width):
        c.set(x, 0, CLEAR_WHITE)
        c.set(x, height - 1, CLEAR_WHITE)
    for y in range(height):
        c.set(0, y, CLEAR_WHITE)
        c.set(width - 1, y, CLEAR_WHITE)
    for x in stretch_cols:
        c.set(x, 0, MARKER)
    for y in stretch_rows:
        c.set(0, y, MARKER)
    for y in range(content_rows[0], content_rows[1] + 1):
        c.set(width - 1, y, MARKER)
    for x in range(content_cols[0], content_cols[1] + 1):
        c.set(x, height - 1, MARKER)
    c.clip = (1, 1, width - 1, height - 1)
    c.stretch_cols, c.stretch_rows = stretch_cols, stretch_rows
    return c


# ---------------------------------------------------------------------------
# Palette

WINDOW_FILL = (32, 34, 36)
WINDOW_FRAME = (49, 53, 56)
SEPARATOR_DARK = (12, 12, 13)
SEPARATOR_LIGHT = (49, 53, 56)

BLUE = (107, 138, 162)
BLUE_RIM = (71, 101, 127)
BLUE_TOP = (92, 122, 146)          # pressed pictures look sunken: darker top
BLUE_BOTTOM = (116, 147, 171)

# Tab states: (top colour, bottom colour, highlight line at the left)
TAB_STATES = {
    "normal": ((55, 59, 63), (37, 38, 40), (57, 61, 66)),
    "hover": ((74, 83, 92), (50, 55, 61), (84, 94, 104)),
    "pressed": (BLUE_TOP, BLUE_BOTTOM, None),
    "checked": ((100, 118, 136), (63, 76, 89), (114, 132, 150)),
}
TAB_ACCENT = (150, 190, 224)       # underline of the checked tab

BAR_COLOURS = {
    175: (132, 169, 56),    # green
    176: (221, 175, 16),    # yellow
    177: (208, 121, 19),    # orange
    178: (201, 55, 55),     # red
    179: (28, 125, 175),    # blue
}


# ---------------------------------------------------------------------------
# Tabs, 14 x 39: stretch column 6, stretch row 19, content rows 2-36,
# content column 6.  Interior columns 1..12, rows 1..37; a tab is painted
# 37 pixels high, so the rows are shown as drawn.

def draw_tab(state, highlight, separator, s=ONE):
    c = nine_patch(14, 39, [6], [19], (2, 36), (6, 6), s)
    w, h, line = c.width, c.height, s.thick(1)
    top, bottom, hl = TAB_STATES[state]
    right = w - 1 - line if separator else w - 1   # first column not filled
    c.fill(1, 1, right, h - 1, vgrad(1, h - 2, top, bottom,
                                     hold=c.stretch_rows[0]))
    if state == "pressed":
        # Rim around the pressed face.
        c.fill(1, 1, right, 1 + line, BLUE_RIM)
        c.fill(1, h - 1 - line, right, h - 1, BLUE_RIM)
        c.fill(1, 1, 1 + line, h - 1, BLUE_RIM)
        c.fill(right - line, 1, right, h - 1, BLUE_RIM)
    else:
        # A lighter top line gives the tab strip a crisp upper edge.
        c.fill(1, 1, right, 1 + line, shade(top, 14))
        if highlight:
            c.fill(1, 1 + line, 1 + line, h - 1, hl)
        if state == "checked":
            c.fill(1, h - 1 - s.thick(2), right, h - 1, TAB_ACCENT)
    if separator:
        c.fill(w - 1 - line, 1, w - 1, h - 1, (0, 0, 0))
    return c


# ---------------------------------------------------------------------------
# Minimise and close squares, 29 x 26, drawn unscaled.

SQUARE_STATES = {
    # face top, face bottom, rim, top highlight, glyph
    "normal": ((54, 58, 62), (42, 45, 48), (20, 21, 23), (70, 75, 80),
               (198, 205, 212)),
    "hover": ((80, 89, 98), (62, 69, 76), (26, 28, 31), (98, 108, 118),
              (255, 255, 255)),
    "pressed": (BLUE_TOP, BLUE_BOTTOM, BLUE_RIM, None, (255, 255, 255)),
}


def draw_square(state, glyph, width=29, s=ONE):
    top, bottom, rim, hl, ink = SQUARE_STATES[state]
    c = Canvas(s.n(width), s.n(26))
    line = s.thick(1)
    x0, x1, y0, y1 = s.n(2), c.width - s.n(2), s.n(1), c.height
    c.shape(rounded_rect(x0, y0, x1, y1, s.f(4.0)), rim, (x0, y0, x1, y1))
    face = vgrad(y0 + line, y1 - 2 * line, top, bottom)
    if hl is not None:
        def face_hl(x, y, face=face):
            return hl if y0 + line <= y < y0 + 2 * line else face(x, y)
        colour = face_hl
    else:
        colour = face
    c.shape(rounded_rect(x0 + line, y0 + line, x1 - line, y1 - line,
                         s.f(3.0)), colour, (x0, y0, x1, y1))
    cx = (x0 + x1) / 2.0          # pixel centre of the square
    cy = (y0 + y1) / 2.0
    if glyph == "bar":
        # Pixel-aligned bar, two pixels high at 100 %, on the centre row and
        # below.
        bw, bh = s.n(9), s.thick(2)
        bx = int(cx - bw / 2.0 + 0.5)
        by = int(cy - bh / 2.0 + 0.5 * s.k + 0.5)
        c.fill(bx, by, bx + bw, by + bh, ink)
    else:
        draw_cross(c, cx, cy, s.f(4.0), ink, s.f(0.85))
    return c


def draw_cross(c, cx, cy, half, ink, half_width=0.85):
    reach = half + half_width + 1
    for dx in (-half, half):
        c.shape(polyline([(cx - dx, cy - half), (cx + dx, cy + half)],
                         half_width), ink,
                (cx - reach, cy - reach, cx + reach, cy + reach))


# Second close button, 30 x 26: flat, a cross on the window colour that
# turns red under the mouse.
def draw_close_flat(state):
    c = Canvas(30, 26)
    if state == "hover":
        c.fill(0, 0, 30, 26, vgrad(0, 25, (214, 58, 48), (188, 42, 34)))
    elif state == "pressed":
        c.fill(0, 0, 30, 26, vgrad(0, 25, (146, 30, 24), (164, 36, 28)))
    ink = (214, 220, 226) if state == "normal" else (255, 255, 255)
    draw_cross(c, 15.0, 13.0, 4.5, ink, 0.8)
    return c


# ---------------------------------------------------------------------------
# Text buttons, 15 x 31: stretch column 7, stretch row 15, content rows
# 3-27, content column 7.  Interior columns 1..13, rows 1..29.

BUTTON_STATES = {
    "normal": ((66, 71, 77), (44, 47, 51), (84, 90, 97)),
    "hover": ((88, 98, 108), (62, 69, 76), (108, 119, 130)),
    "pressed": (BLUE_TOP, BLUE_BOTTOM, None),
}


def draw_text_button(state, s=ONE):
    c = nine_patch(15, 31, [7], [15], (3, 27), (7, 7), s)
    w, h, line = c.width, c.height, s.thick(1)
    top, bottom, hl = BUTTON_STATES[state]

    def inset(n):
        return (1 + n, 1 + n, w - 1 - n, h - 1 - n)
    c.shape(rounded_rect(*inset(0), s.f(3.0)), (0, 0, 0), inset(0))
    face = vgrad(1 + line, h - 2 - line, top, bottom, hold=c.stretch_rows[0])
    if hl is not None:
        def colour(x, y):
            return hl if 1 + line <= y < 1 + 2 * line else face(x, y)
    else:
        # Pressed: a blue face inside its darker rim.
        c.shape(rounded_rect(*inset(line), s.f(2.0)), BLUE_RIM, inset(line))
        c.shape(rounded_rect(*inset(2 * line), s.f(1.0)), face,
                inset(2 * line))
        return c
    c.shape(rounded_rect(*inset(line), s.f(2.0)), colour, inset(line))
    return c


# ---------------------------------------------------------------------------
# Partition bars, 5 x 17: stretch column 2, stretch row 8, content rows
# 1-15, content column 2.  Painted 15 high: one light top row, a flat
# face, one darker bottom row.

def draw_bar(rgb, s=ONE):
    c = nine_patch(5, 17, [2], [8], (1, 15), (2, 2), s)
    w, h, line = c.width, c.height, s.thick(1)
    c.fill(1, 1, w - 1, h - 1, rgb)
    c.fill(1, 1, w - 1, 1 + line, shade(rgb, 28))
    c.fill(1, 1 + line, w - 1, 1 + line + s.thick(2), shade(rgb, 10))
    c.fill(1, h - 1 - 2 * line, w - 1, h - 1 - line, shade(rgb, -10))
    c.fill(1, h - 1 - line, w - 1, h - 1, shade(rgb, -28))
    return c


# ---------------------------------------------------------------------------
# Window backgrounds, 29 wide: a frame around the fill, separator pairs
# (dark over light) across the inside; the stretch row lies between them.

def draw_background(height, separators, stretch_row, band_end, s=ONE):
    c = nine_patch(29, height, [14], [stretch_row], (2, height - 3), (2, 26),
                   s, rows_stretch=True)
    w, h, line = c.width, c.height, s.thick(1)
    inner_left, inner_right = 1 + line, w - 1 - line
    c.fill(1, 1, w - 1, h - 1, WINDOW_FRAME)
    # The band above the first separator (title and window buttons) fades
    # from a slightly lighter grey into the fill.
    band_end = s.edge(band_end)
    c.fill(inner_left, 1 + line, inner_right, band_end,
           vgrad(1 + line, band_end - 1, (40, 43, 46), WINDOW_FILL))
    c.fill(inner_left, band_end, inner_right, h - 1 - line, WINDOW_FILL)
    for y in separators:
        y = s.edge(y)
        c.fill(inner_left, y, inner_right, y + line, SEPARATOR_DARK)
        c.fill(inner_left, y + line, inner_right, y + 2 * line,
               SEPARATOR_LIGHT)
    return c


# ---------------------------------------------------------------------------
# Colour chips, 48 x 30, opaque.

def draw_chip(rgb):
    c = Canvas(48, 30, (0, 0, 0, 255))
    c.fill(0, 0, 48, 30, shade(rgb, -40))
    c.fill(1, 1, 47, 29, vgrad(1, 28, shade(rgb, 22), shade(rgb, -14)))
    c.fill(1, 1, 47, 2, shade(rgb, 48))
    return c


# ---------------------------------------------------------------------------
# Line diagrams, 197 x 94, on a light panel.

PLOT = (28, 10, 188, 80)           # left, top, right, bottom (pixel edges)


def draw_diagram_panel():
    c = Canvas(197, 94)
    c.shape(rounded_rect(0, 0, 197, 94, 6.0), (190, 197, 204))
    c.shape(rounded_rect(1, 1, 196, 93, 5.0), vgrad(1, 92, (252, 253, 254),
                                                    (240, 243, 246)))
    left, top, right, bottom = PLOT
    for y in range(top, bottom, 14):
        c.fill(left, y, right, y + 1, (222, 227, 232))
    for x in range(left + 20, right, 20):
        c.fill(x, top, x + 1, bottom, (222, 227, 232))
    c.fill(left - 1, top, left, bottom + 1, (112, 120, 128))      # y axis
    c.fill(left - 1, bottom, right, bottom + 1, (112, 120, 128))  # x axis
    for x in range(left + 20, right, 20):
        c.fill(x, bottom + 1, x + 1, bottom + 4, (112, 120, 128))
    for y in range(top, bottom, 14):
        c.fill(left - 4, y, left - 1, y + 1, (112, 120, 128))
    return c


def dashed(c, x0, x1, y, rgb, dash=6, gap=4):
    x = x0
    while x < x1:
        c.fill(x, y, min(x + dash, x1), y + 1, rgb)
        x += dash + gap


def draw_impact_diagram():
    c = draw_diagram_panel()
    red = (201, 55, 55)
    dashed(c, PLOT[0] + 2, PLOT[2], 24, red)
    dashed(c, PLOT[0] + 2, PLOT[2], 66, red)
    ys = [45, 44, 46, 45, 43, 46, 44, 45, 47, 44, 45, 46, 44, 45, 13, 78,
          22, 69, 31, 60, 37, 53, 41, 49, 43, 47, 45, 44, 46, 45, 44, 46,
          45, 44, 45, 46, 45, 44, 45]
    pts = [(30.5 + i * 4.0, y + 0.5) for i, y in enumerate(ys)]
    c.shape(polyline(pts, 0.8), (28, 125, 175), (28, 10, 188, 82))
    # Mark the peak that crossed the trigger level.
    c.shape(circle(pts[14][0], pts[14][1], 3.0), red, (80, 6, 96, 22))
    c.shape(circle(pts[14][0], pts[14][1], 1.5), (255, 255, 255),
            (80, 6, 96, 22))
    return c


def draw_voltage_diagram():
    c = draw_diagram_panel()
    orange = (208, 121, 19)
    dashed(c, PLOT[0] + 2, PLOT[2], 58, orange)
    pts = [(28.5, 18.5), (40.5, 19.5), (60.5, 21.5), (80.5, 24.5),
           (100.5, 28.5), (120.5, 34.5), (136.5, 42.5), (148.5, 51.5),
           (156.5, 58.5)]
    # Soft fill under the trace down to the x axis.
    fill_rgb = (28, 125, 175)

    def under(px, py):
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            if ax <= px <= bx:
                ty = ay + (by - ay) * (px - ax) / (bx - ax)
                return ty - py
        return 1e9
    c.clip = (PLOT[0], PLOT[1], 157, PLOT[3])
    c.shape(under, fill_rgb, (28, 10, 157, 80), alpha=0.14)
    c.clip = (0, 0, c.width, c.height)
    c.shape(polyline(pts, 0.9), fill_rgb, (28, 10, 160, 62))
    c.shape(circle(156.5, 58.5, 3.2), orange, (150, 52, 163, 65))
    c.shape(circle(156.5, 58.5, 1.6), (255, 255, 255), (150, 52, 163, 65))
    return c


# ---------------------------------------------------------------------------
# Lamp rows, 231 x 16: eleven lamps in a dark housing.

LAMP_STATES = {
    "off": None,
    "green": ((196, 255, 150), (72, 178, 40)),
    "red": ((255, 176, 160), (206, 40, 34)),
}


def draw_lamps(state):
    c = Canvas(231, 16)
    c.shape(rounded_rect(0, 0, 231, 16, 8.0), (18, 19, 21))
    c.shape(rounded_rect(1, 1, 230, 15, 7.0), vgrad(1, 14, (40, 43, 46),
                                                     (28, 30, 32)))
    lit = LAMP_STATES[state]
    for i in range(11):
        cx, cy = 10.5 + 21 * i, 8.0
        box = (cx - 8, 0, cx + 8, 16)
        c.shape(circle(cx, cy, 5.5), (12, 12, 13), box)
        if lit is None:
            def lens(x, y, cx=cx, cy=cy):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy + 1.5) ** 2) ** 0.5
                return lerp((92, 98, 104), (48, 52, 56), d / 5.0)
        else:
            centre, edge = lit

            def lens(x, y, cx=cx, cy=cy, centre=centre, edge=edge):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy + 1.0) ** 2) ** 0.5
                return lerp(centre, edge, d / 4.5)
            c.shape(circle(cx, cy, 7.5), edge, box, alpha=0.25)
        c.shape(circle(cx, cy, 4.5), lens, box)
        c.shape(circle(cx - 1.5, cy - 2.0, 1.2), (255, 255, 255), box,
                alpha=0.55)
    return c


# ---------------------------------------------------------------------------
# The picture set

# Pictures some window draws; only these are drawn at the other scales.
SCALED_IDS = tuple(list(range(143, 146)) + list(range(147, 164))
                   + list(range(175, 180)) + [501])


def pictures(percent=100):
    """Returns {id: (canvas, with_alpha)} for every picture drawn at
    `percent`: all of them at 100 %, the ones in SCALED_IDS elsewhere."""
    s = Scale(percent)
    p = {}
    # Left tab: separator at the right, no highlight.
    for pid, state in ((143, "normal"), (144, "hover"), (145, "pressed"),
                       (146, "checked")):
        p[pid] = lambda state=state: draw_tab(state, False, True, s)
    # Middle tab: highlight at the left, separator at the right.
    for pid, state in ((147, "normal"), (148, "hover"), (149, "pressed"),
                       (150, "checked")):
        p[pid] = lambda state=state: draw_tab(state, True, True, s)
    # Right tab: highlight at the left, no separator.
    for pid, state in ((151, "normal"), (152, "hover"), (153, "pressed"),
                       (154, "checked")):
        p[pid] = lambda state=state: draw_tab(state, True, False, s)
    for pid, state in ((155, "normal"), (156, "hover"), (157, "pressed")):
        p[pid] = lambda state=state: draw_square(state, "bar", s=s)
    for pid, state in ((158, "normal"), (159, "hover"), (160, "pressed")):
        p[pid] = lambda state=state: draw_square(state, "cross", s=s)
    for pid, state in ((161, "normal"), (162, "hover"), (163, "pressed")):
        p[pid] = lambda state=state: draw_text_button(state, s)
    p[164] = lambda: draw_background(148, (37, 110), 74, 37)
    for pid, state in ((165, "normal"), (166, "hover"), (167, "pressed")):
        p[pid] = lambda state=state: draw_close_flat(state)
    p[168] = draw_impact_diagram
    p[169] = lambda: draw_chip((28, 125, 175))
    p[170] = lambda: draw_chip((132, 169, 56))
    p[171] = draw_voltage_diagram
    for pid, state in ((172, "off"), (173, "green"), (174, "red")):
        p[pid] = lambda state=state: draw_lamps(state)
    for pid, rgb in BAR_COLOURS.items():
        p[pid] = lambda rgb=rgb: draw_bar(rgb, s)
    p[501] = lambda: draw_background(101, (37, 45), 42, 37, s)
    wanted = sorted(p) if percent == 100 else SCALED_IDS
    return {pid: (p[pid](), pid not in (169, 170)) for pid in wanted}


def picture_path(percent, pid):
    """Where a picture lies below the picture folder: the 100 % set at the
    top, every other set in a folder named after its scale."""
    name = "%d.png" % pid
    return name if percent == 100 else "%d/%s" % (percent, name)


def resource_type(percent):
    """The resource type of a set: PNG for 100 %, PNG150 for 150 % ..."""
    return "PNG" if percent == 100 else "PNG%d" % percent


def resource_script():
    """The text of resources/pictures.rc."""
    lines = ["// The skin pictures, type PNG, by numeric id (drawn by "
             "tools/pictures/make_pictures.py)."]
    for pid in sorted(pictures_ids(100)):
        lines.append('%d PNG "pictures/%s"' % (pid, picture_path(100, pid)))
    lines.append("")
    lines.append("// The same pictures drawn for the other display scales: one "
                 "resource type per scale")
    lines.append("// (PNG125 ... PNG300), the ids of the 100 % set "
                 "(skin/PictureScale.h).")
    for percent in SCALES[1:]:
        for pid in SCALED_IDS:
            lines.append('%d %s "pictures/%s"' % (pid, resource_type(percent),
                                                  picture_path(percent, pid)))
    return "\n".join(lines) + "\n"


def pictures_ids(percent):
    return ALL_IDS if percent == 100 else SCALED_IDS


ALL_IDS = tuple(list(range(143, 180)) + [501])


# ---------------------------------------------------------------------------
# PNG writer

def _chunk(kind, data):
    body = kind + data
    return (struct.pack(">I", len(data)) + body
            + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_rows(rows, bpp):
    """Picks, per row, the filter with the smallest sum of absolute
    differences (the usual heuristic)."""
    out = bytearray()
    prev = bytes(len(rows[0]))
    for row in rows:
        candidates = []
        for ftype in range(5):
            f = bytearray(len(row))
            for i, v in enumerate(row):
                a = row[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                pred = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[ftype]
                f[i] = (v - pred) & 0xFF
            cost = sum(v if v < 128 else 256 - v for v in f)
            candidates.append((cost, ftype, f))
        cost, ftype, f = min(candidates, key=lambda t: (t[0], t[1]))
        out.append(ftype)
        out.extend(f)
        prev = row
    return bytes(out)


def encode_png(width, height, rows, with_alpha):
    colour_type, bpp = (6, 4) if with_alpha else (2, 3)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    idat = zlib.compress(_filter_rows(rows, bpp), 9)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", idat) + _chunk(b"IEND", b""))


def encode_set(percent):
    """[(relative path, PNG bytes)] of the set drawn at `percent`."""
    return [(picture_path(percent, pid),
             encode_png(canvas.width, canvas.height,
                        canvas.rgba_bytes(with_alpha), with_alpha))
            for pid, (canvas, with_alpha) in pictures(percent).items()]


def write_all(folder, jobs=None):
    """Writes every set below `folder` and the resource script beside it
    (folder/../pictures.rc). The sets are drawn in parallel."""
    if jobs is None:
        jobs = min(len(SCALES), os.cpu_count() or 1)
    if jobs > 1:
        import multiprocessing
        with multiprocessing.Pool(jobs) as pool:
            sets = pool.map(encode_set, SCALES)
    else:
        sets = [encode_set(percent) for percent in SCALES]
    written = []
    for files in sets:
        for relative, data in files:
            path = os.path.join(folder, relative)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
            written.append(relative)
    with open(os.path.join(folder, "..", "pictures.rc"), "w",
              newline="\n") as f:
        f.write(resource_script())
    return written


def main(argv):
    if len(argv) > 2 or (len(argv) == 2 and argv[1] in ("-h", "--help")):
        print(__doc__.split("\n\n")[1])
        return 2
    folder = argv[1] if len(argv) == 2 else DEFAULT_OUTPUT
    written = write_all(folder)
    print("pictures: wrote %d files to %s" % (len(written),
                                               os.path.normpath(folder)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
