#!/usr/bin/env python3
"""Writes the program's pictures next to itself:
  ViewPicture.bmp      the view's illustration, 533 x 329, 24 bits;
  ToolbarNormal.bmp    the toolbar's eleven 32 x 32 buttons side by side,
  ToolbarHot.bmp       24 bits, on pure red (the program swaps it for the
  ToolbarDisabled.bmp  button face); normal, hot (brighter) and disabled (grey);
  MenuPictures.bmp     the menu's thirteen 16 x 15 pictures side by side, 4 bits,
                       on light grey (the program swaps it for the button face);
  Brantle.ico          the program's icon,
  TrayRecording.ico    the tray icons while recording, while paused and while
  TrayPaused.ico       idle, each at 16 x 16 and 32 x 32, 32 bits with alpha.
  TrayIdle.ico
Shapes are signed distance functions, so edges are smoothed without
supersampling. Run it from anywhere; the output is the same bytes every time."""

import colorsys
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The toolbar's background: the program replaces it by the button face. Pure
# black is the image list's mask colour and would show as a hole.
TOOLBAR_BACK = (255, 0, 0)
MASK_BLACK = (0, 0, 0)
# Edge pixels are blended towards a light grey close to a button face, so
# that they neither fringe red nor look jagged.
FACE_GREY = (224, 224, 224)
OUTLINE = (40, 44, 56)
TOOL_SIZE = 32


# ---------------------------------------------------------------- shapes
# A shape is a signed distance (negative inside) in design units plus a
# bounding box (x0, y0, x1, y1) that limits the pixels looked at.


class Shape:
    def __init__(self, sd, box):
        self.sd = sd
        self.box = box


def _bounds(points, pad=0.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def _segment_distance(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    return math.hypot(x - a[0] - t * dx, y - a[1] - t * dy)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # Scaled circle distance: not exact, but close enough for soft shapes.
    m = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * m,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def rect(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sd(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius

    return Shape(sd, (x0, y0, x1, y1))


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def sd(x, y):
        d = min(_segment_distance(x, y, a, b) for a, b in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d

    return Shape(sd, _bounds(points))


def stroke(points, width):
    """A polyline with round ends and joins."""
    segments = list(zip(points, points[1:]))
    half = width / 2
    return Shape(lambda x, y: min(_segment_distance(x, y, a, b) for a, b in segments) - half,
                 _bounds(points, half))


def arc_points(cx, cy, r, start, end, steps=16):
    """Points on a circle from angle start to end, in degrees, counted
    anticlockwise on the screen (y grows downwards)."""
    out = []
    for i in range(steps + 1):
        t = math.radians(start + (end - start) * i / steps)
        out.append((cx + r * math.cos(t), cy - r * math.sin(t)))
    return out


def along(tip, direction, a, b):
    """The point a along a direction from tip and b across it."""
    n = math.hypot(*direction)
    dx, dy = direction[0] / n, direction[1] / n
    return (tip[0] + a * dx - b * dy, tip[1] + a * dy + b * dx)


def bar(tip, direction, a0, a1, half_width):
    """A rectangle along a direction: from a0 to a1 past tip, half_width across."""
    return [along(tip, direction, a0, -half_width), along(tip, direction, a1, -half_width),
            along(tip, direction, a1, half_width), along(tip, direction, a0, half_width)]


def union(*shapes):
    boxes = [s.box for s in shapes]
    return Shape(lambda x, y: min(s.sd(x, y) for s in shapes),
                 (min(b[0] for b in boxes), min(b[1] for b in boxes),
                  max(b[2] for b in boxes), max(b[3] for b in boxes)))


def subtract(shape, hole):
    return Shape(lambda x, y: max(shape.sd(x, y), -hole.sd(x, y)), shape.box)


def grow(shape, d):
    x0, y0, x1, y1 = shape.box
    return Shape(lambda x, y: shape.sd(x, y) - d, (x0 - d, y0 - d, x1 + d, y1 + d))


# ---------------------------------------------------------------- colours


def vertical(y0, top, y1, bottom):
    def colour(_x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


def radial(cx, cy, r, centre, rim):
    def colour(x, y):
        t = min(1.0, math.hypot(x - cx, y - cy) / r)
        return tuple(a + (b - a) * t for a, b in zip(centre, rim))

    return colour


# ---------------------------------------------------------------- canvas


class Canvas:
    """Premultiplied RGBA in floats. Shapes are given in design units, which
    the scale maps to pixels, so one drawing serves several icon sizes."""

    def __init__(self, width, height, scale=1.0):
        self.width, self.height, self.scale = width, height, scale
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def paint(self, shape, colour, opacity=1.0):
        s = self.scale
        x0, y0, x1, y1 = shape.box
        rows = range(max(0, math.floor(y0 * s) - 1), min(self.height, math.ceil(y1 * s) + 1))
        cols = range(max(0, math.floor(x0 * s) - 1), min(self.width, math.ceil(x1 * s) + 1))
        for py in rows:
            for px in cols:
                x, y = (px + 0.5) / s, (py + 0.5) / s
                coverage = 0.5 - shape.sd(x, y) * s
                if coverage <= 0:
                    continue
                a = min(coverage, 1.0) * opacity
                r, g, b = colour(x, y) if callable(colour) else colour
                p = self.px[py * self.width + px]
                k = 1 - a
                p[0], p[1], p[2] = r * a + p[0] * k, g * a + p[1] * k, b * a + p[2] * k
                p[3] = a + p[3] * k

    def outlined(self, shape, fill, line=OUTLINE, width=1.0):
        """The shape in the line colour with the fill inset by width pixels."""
        self.paint(shape, line)
        self.paint(grow(shape, -width / self.scale), fill)

    def straight(self):
        """(r, g, b, a) per pixel, not premultiplied, row by row from the top."""
        out = []
        for r, g, b, a in self.px:
            if a <= 0:
                out.append((0.0, 0.0, 0.0, 0.0))
            else:
                out.append((r / a, g / a, b / a, a))
        return out


def byte(v):
    return max(0, min(255, int(round(v))))


# ---------------------------------------------------------------- toolbar


def draw_start(c):
    c.outlined(circle(16, 16, 11.5), radial(13, 12, 14, (246, 96, 84), (196, 32, 30)),
               line=(128, 22, 22))
    c.paint(ellipse(12.5, 11.5, 4, 2.6), (255, 255, 255), opacity=0.55)


def draw_pause(c):
    fill = vertical(6, (96, 142, 222), 26, (44, 86, 170))
    c.outlined(rect(7, 6, 14, 26, 1.5), fill, line=(30, 56, 120))
    c.outlined(rect(18, 6, 25, 26, 1.5), fill, line=(30, 56, 120))


def draw_stop(c):
    c.outlined(rect(7, 7, 25, 25, 2.5), vertical(7, (104, 116, 140), 25, (58, 68, 92)))


def draw_play(c):
    c.outlined(grow(polygon([(10, 7), (25, 16), (10, 25)]), 1.2),
               vertical(6, (108, 204, 110), 26, (46, 150, 70)), line=(26, 100, 44))


def draw_pencil(c, tip, length):
    """A pencil lying from its tip up and to the right."""
    d, w = (1, -1), 2.4
    cone = [tip, along(tip, d, 4.5, -w), along(tip, d, 4.5, w)]
    c.paint(grow(polygon(cone[:2] + bar(tip, d, 4.5, length, w)[1:3] + cone[2:]), 1), OUTLINE)
    c.paint(polygon(cone), (232, 196, 150))  # bare wood
    c.paint(polygon([tip, along(tip, d, 1.8, -1), along(tip, d, 1.8, 1)]), (70, 70, 76))
    c.paint(polygon(bar(tip, d, 4.5, length - 4, w)), (250, 200, 40))
    c.paint(polygon(bar(tip, d, length - 4, length - 3, w)), (170, 170, 176))  # band
    c.paint(polygon(bar(tip, d, length - 3, length, w)), (236, 132, 150))  # eraser


def draw_file_name(c):
    page = polygon([(5, 3), (19, 3), (25, 9), (25, 29), (5, 29)])
    c.outlined(page, (250, 251, 253), line=(96, 100, 116))
    c.outlined(polygon([(19, 3), (19, 9), (25, 9)]), (214, 220, 232), line=(96, 100, 116))
    for y in (13, 17, 21):
        c.paint(stroke([(9, y), (19 if y == 13 else 15, y)], 1.4), (140, 156, 186))
    draw_pencil(c, (14.5, 28.5), 20)


def draw_audio(c):
    speaker = union(rect(4, 12, 11, 20, 1), polygon([(10, 12), (18, 5), (18, 27), (10, 20)]))
    c.outlined(speaker, vertical(5, (150, 160, 178), 27, (86, 96, 116)))
    wave = (46, 124, 214)
    c.paint(stroke(arc_points(17, 16, 5.5, -45, 45, 10), 2.2), wave)
    c.paint(stroke(arc_points(17, 16, 10, -48, 48, 14), 2.2), wave)


def draw_video(c):
    reel = (128, 138, 160)
    for x in (8.5, 17.5):
        c.outlined(circle(x, 8, 5), reel)
        c.paint(circle(x, 8, 1.6), OUTLINE)
    c.outlined(rect(3, 12, 22, 27, 2), vertical(12, (96, 108, 134), 27, (56, 64, 86)))
    c.outlined(polygon([(21, 17), (29.5, 12.5), (29.5, 26.5), (21, 22)]), (84, 94, 118))
    c.paint(circle(7, 16, 1.5), (236, 72, 60))  # the camera's own record lamp


def draw_record_options(c):
    teeth = [polygon(bar((16, 16), (math.cos(t), math.sin(t)), 8, 14, 2.6))
             for t in (i * math.pi / 4 for i in range(8))]
    gear = subtract(union(circle(16, 16, 10.5), *teeth), circle(16, 16, 4))
    c.outlined(gear, radial(13, 12, 16, (176, 188, 206), (96, 110, 136)))


def draw_hotkey(c):
    c.outlined(rect(3.5, 4.5, 28.5, 28, 4), (178, 184, 198))
    c.paint(rect(6.5, 6.5, 25.5, 22.5, 3), (246, 247, 250))
    bolt = polygon([(19.5, 7.5), (10, 16.5), (15.5, 16.5), (12.5, 22), (22, 12.5), (16.5, 12.5),
                    (21.5, 7.5)])
    c.outlined(bolt, (246, 176, 34), line=(160, 98, 14))


def draw_help(c):
    c.outlined(circle(16, 16, 12.5), radial(12, 11, 16, (96, 164, 240), (34, 96, 190)),
               line=(22, 62, 136))
    hook = arc_points(16, 12.5, 4.2, 160, -50, 14)
    c.paint(stroke(hook + [(16, 17.5), (16, 19)], 3.0), (255, 255, 255))
    c.paint(circle(16, 23.2, 1.9), (255, 255, 255))


def draw_convert(c):
    right = union(rect(4, 8.5, 19, 13.5), polygon([(18, 4.5), (27.5, 11), (18, 17.5)]))
    left = union(rect(13, 18.5, 28, 23.5), polygon([(14, 14.5), (4.5, 21), (14, 27.5)]))
    c.outlined(right, vertical(4, (108, 204, 110), 18, (46, 150, 70)), line=(26, 100, 44))
    c.outlined(left, vertical(14, (96, 156, 232), 28, (40, 96, 190)), line=(26, 64, 140))


# The toolbar's order: Start, Pause, Stop, Play, Enter File Name, Audio,
# Video, Record options, Hotkey, Help, Convert.
TOOLBAR = [draw_start, draw_pause, draw_stop, draw_play, draw_file_name, draw_audio, draw_video,
           draw_record_options, draw_hotkey, draw_help, draw_convert]


def normal(rgb):
    return rgb


def hot(rgb):
    h, s, v = colorsys.rgb_to_hsv(*(x / 255 for x in rgb))
    r, g, b = colorsys.hsv_to_rgb(h, min(1.0, s * 1.3), min(1.0, v * 1.15 + 0.06))
    return (r * 255, g * 255, b * 255)


def disabled(rgb):
    # A pale grey with the contrast halved, as disabled buttons look.
    luma = 0.30 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2]
    return (128 + luma * 0.45,) * 3


def toolbar_tile(draw, variant):
    c = Canvas(TOOL_SIZE, TOOL_SIZE)
    draw(c)
    tile = []
    for r, g, b, a in c.straight():
        if a < 0.1:
            tile.append(TOOLBAR_BACK)
            continue
        rgb = variant((r, g, b))
        pixel = tuple(byte(v * a + f * (1 - a)) for v, f in zip(rgb, FACE_GREY))
        assert pixel not in (TOOLBAR_BACK, MASK_BLACK), "artwork would vanish on the toolbar"
        tile.append(pixel)
    return tile


def toolbar_strip(variant):
    tiles = [toolbar_tile(draw, variant) for draw in TOOLBAR]
    width = TOOL_SIZE * len(tiles)
    rows = []
    for y in range(TOOL_SIZE):
        rows.append([tiles[i][y * TOOL_SIZE + x] for i in range(len(tiles))
                     for x in range(TOOL_SIZE)])
    return width, rows


# ---------------------------------------------------------------- icons


def draw_monitor(c, screen_top, screen_bottom):
    c.outlined(rect(1.5, 3, 30.5, 24, 3), (62, 72, 94), line=(30, 34, 46))
    c.paint(rect(4, 5.5, 28, 21.5, 1), vertical(5.5, screen_top, 21.5, screen_bottom))
    c.outlined(union(polygon([(13, 23.5), (19, 23.5), (20.5, 28), (11.5, 28)]),
                     rect(8, 27, 24, 30, 1.2)), (128, 138, 158), line=(30, 34, 46))


def draw_program_icon(c):
    draw_monitor(c, (132, 190, 244), (48, 104, 186))
    c.paint(rect(7, 8.5, 19, 18.5, 1), (255, 255, 255), opacity=0.35)  # a window on the screen
    c.paint(circle(22.5, 10, 7.5), (255, 255, 255))
    c.paint(circle(22.5, 10, 6), radial(20.5, 8, 8, (246, 96, 84), (196, 32, 30)))


def draw_tray(dot_centre, dot_rim):
    def draw(c):
        draw_monitor(c, (120, 132, 156), (70, 80, 104))
        c.paint(circle(16, 13.5, 8.5), (255, 255, 255))
        c.paint(circle(16, 13.5, 7), radial(14, 11.5, 9, dot_centre, dot_rim))

    return draw


def draw_tray_paused(c):
    draw_monitor(c, (120, 132, 156), (70, 80, 104))
    c.paint(circle(16, 13.5, 8.5), (255, 255, 255))
    c.paint(circle(16, 13.5, 7), radial(14, 11.5, 9, (252, 200, 80), (214, 140, 20)))
    for left in (12.2, 16.8):
        c.paint(rect(left, 9.5, left + 3, 17.5, 0.8), (255, 255, 255))


ICONS = {
    "Brantle.ico": draw_program_icon,
    "TrayRecording.ico": draw_tray((250, 100, 88), (200, 30, 28)),
    "TrayPaused.ico": draw_tray_paused,
    "TrayIdle.ico": draw_tray((176, 182, 194), (110, 118, 134)),
}


def icon_image(draw, size):
    c = Canvas(size, size, size / 32)
    draw(c)
    return [(byte(r), byte(g), byte(b), byte(a * 255)) for r, g, b, a in c.straight()]


# ---------------------------------------------------------------- view picture

VIEW_W, VIEW_H = 533, 329


def draw_view(c):
    c.paint(rect(0, 0, VIEW_W, VIEW_H), vertical(0, (38, 62, 104), VIEW_H, (28, 118, 136)))
    for cx, cy, r in ((70, 60, 90), (480, 280, 120), (460, 40, 50)):
        c.paint(circle(cx, cy, r), (255, 255, 255), opacity=0.05)

    # A film strip along the bottom.
    c.paint(rect(0, 288, VIEW_W, 314), (16, 24, 36), opacity=0.35)
    for x in range(6, VIEW_W, 22):
        c.paint(rect(x, 292, x + 10, 298, 1.5), (255, 255, 255), opacity=0.22)
        c.paint(rect(x, 304, x + 10, 310, 1.5), (255, 255, 255), opacity=0.22)

    # The monitor on its stand, with a soft shadow.
    c.paint(ellipse(266, 274, 96, 8), (10, 20, 30), opacity=0.3)
    c.outlined(union(polygon([(248, 228), (284, 228), (292, 264), (240, 264)]),
                     rect(204, 260, 328, 271, 5)),
               vertical(228, (150, 160, 178), 271, (104, 114, 134)), line=(24, 30, 40), width=1.5)
    c.outlined(rect(124, 38, 408, 234, 11), vertical(38, (68, 76, 94), 234, (44, 50, 64)),
               line=(20, 24, 32), width=1.5)
    c.paint(rect(137, 51, 395, 219, 4), vertical(51, (222, 236, 250), 219, (164, 198, 232)))

    # A window on the screen, partly inside the area being recorded.
    c.paint(rect(160, 72, 302, 176, 3), (40, 60, 90), opacity=0.18)
    c.paint(rect(157, 68, 299, 172, 3), (252, 253, 255))
    c.paint(rect(157, 68, 299, 84, 3), (70, 120, 200))
    c.paint(rect(157, 78, 299, 84), (70, 120, 200))
    for i, w in enumerate((110, 84, 120, 70, 96)):
        c.paint(stroke([(168, 96 + 14 * i), (168 + w, 96 + 14 * i)], 4), (190, 202, 222))

    # The area being recorded: a dashed rectangle with brackets at its corners.
    red = (226, 58, 48)
    x0, y0, x1, y1 = 214, 104, 372, 204
    for x in range(x0 + 14, x1 - 14, 12):
        c.paint(stroke([(x, y0), (x + 6, y0)], 1.6), red)
        c.paint(stroke([(x, y1), (x + 6, y1)], 1.6), red)
    for y in range(y0 + 14, y1 - 14, 12):
        c.paint(stroke([(x0, y), (x0, y + 6)], 1.6), red)
        c.paint(stroke([(x1, y), (x1, y + 6)], 1.6), red)
    for (cx, cy), (sx, sy) in (((x0, y0), (1, 1)), ((x1, y0), (-1, 1)), ((x0, y1), (1, -1)),
                               ((x1, y1), (-1, -1))):
        c.paint(stroke([(cx + 12 * sx, cy), (cx, cy), (cx, cy + 12 * sy)], 4), red)

    # The mouse pointer inside it, with a click ring.
    c.paint(subtract(circle(330, 170, 12), circle(330, 170, 8.5)), red, opacity=0.45)
    arrow = [(330, 170), (330, 193), (335.5, 187.5), (340, 197), (344, 195), (339.5, 186),
             (347, 185.5)]
    c.outlined(polygon(arrow), (255, 255, 255), line=(30, 34, 46), width=1.5)

    # The record lamp in the screen's corner.
    c.paint(circle(372, 74, 15), (226, 58, 48), opacity=0.2)
    c.paint(circle(372, 74, 10.5), (255, 255, 255))
    c.paint(circle(372, 74, 8.5), radial(369, 71, 10, (250, 104, 92), (200, 32, 30)))


# ---------------------------------------------------------------- menu pictures
# The menu's pictures: the toolbar's drawings at half size, and three of their
# own, in sixteen colours. Light grey is the background.

MENU_BACK = (192, 192, 192)
MENU_PALETTE = [
    MENU_BACK,
    (36, 40, 52),     # outlines
    (255, 255, 255),
    (208, 214, 226),  # pale grey-blue
    (140, 150, 172),  # grey-blue
    (84, 94, 118),    # slate
    (232, 70, 58),    # red
    (150, 24, 24),    # dark red
    (82, 180, 92),    # green
    (26, 104, 48),    # dark green
    (70, 130, 220),   # blue
    (28, 64, 150),    # dark blue
    (250, 200, 40),   # yellow
    (214, 130, 30),   # orange
    (150, 196, 246),  # light blue
    (236, 150, 160),  # pink
]
MENU_W, MENU_H = 16, 15


def draw_exit(c):
    """An open door with an arrow leaving through it."""
    c.outlined(rect(5, 3, 19, 29, 1), (84, 94, 118))
    c.outlined(polygon([(5, 3), (14, 7), (14, 30), (5, 29)]), vertical(3, (232, 150, 50), 30,
                                                                       (190, 110, 24)))
    c.paint(circle(11.5, 18, 1.3), OUTLINE)
    arrow = union(rect(15, 13.5, 24, 18.5), polygon([(22, 8.5), (30, 16), (22, 23.5)]))
    c.outlined(arrow, vertical(8, (108, 204, 110), 24, (46, 150, 70)), line=(26, 100, 44))


def draw_website(c):
    """A globe: blue sea with green land, a meridian ring and the equator."""
    c.outlined(circle(16, 16, 12.5), radial(12, 11, 16, (90, 150, 230), (40, 96, 196)),
               line=(28, 64, 150))
    land = (82, 180, 92)
    c.paint(polygon([(8, 8), (15, 6), (16, 12), (12, 15), (7, 13)]), land)
    c.paint(polygon([(18, 17), (25, 16), (24, 24), (19, 26)]), land)
    # Lines two pixels wide at the menu's size.
    light = (150, 196, 246)
    c.paint(subtract(ellipse(16, 16, 6.5, 12.5), ellipse(16, 16, 3.5, 10)), light)
    c.paint(stroke([(4.5, 16), (27.5, 16)], 2.6), light)


# The menu toolbar's order: Record options, Video, Audio, Exit, Hotkey, Start,
# Pause, Stop, Play, Enter File Name, Help, About, Website.
MENU_PICTURES = [draw_record_options, draw_video, draw_audio, draw_exit, draw_hotkey, draw_start,
                 draw_pause, draw_stop, draw_play, draw_file_name, draw_help, draw_program_icon,
                 draw_website]


def nearest_menu_colour(rgb):
    # Index 0, the background, is never chosen for a pixel of the picture.
    return min(range(1, len(MENU_PALETTE)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, MENU_PALETTE[i])))


def menu_tile(draw):
    c = Canvas(MENU_W, MENU_H, MENU_W / TOOL_SIZE)
    draw(c)
    tile = []
    for r, g, b, a in c.straight():
        if a < 0.5:
            tile.append(0)
            continue
        # Sixteen colours leave no room for smoothed edges: each pixel is in or out.
        tile.append(nearest_menu_colour((r, g, b)))
    return tile


def menu_strip():
    tiles = [menu_tile(draw) for draw in MENU_PICTURES]
    return [[tiles[i][y * MENU_W + x] for i in range(len(tiles)) for x in range(MENU_W)]
            for y in range(MENU_H)]


# ---------------------------------------------------------------- files


def bmp24(width, rows):
    """A 24-bit BMP file from rows of (r, g, b), top row first."""
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(
        bytes(v for r, g, b in row for v in (b, g, r)) + b"\0" * (stride - width * 3)
        for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, len(rows), 1, 24, 0, len(pixels), 2835, 2835,
                       0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def bmp4(palette, rows):
    """A 4-bit BMP file from rows of palette indices, top row first."""
    width = len(rows[0])
    stride = ((width + 1) // 2 + 3) & ~3
    packed = []
    for row in reversed(rows):
        padded = row + [0] * (len(row) % 2)
        line = bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))
        packed.append(line + b"\0" * (stride - len(line)))
    pixels = b"".join(packed)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, len(rows), 1, 4, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colours + pixels


def ico(images):
    """An icon file from {size: [(r, g, b, a)] top row first}: 32-bit images
    with alpha, and an AND mask for readers that ignore the alpha."""
    blobs = []
    for size, px in sorted(images.items()):
        rows = [px[y * size:(y + 1) * size] for y in range(size)]
        xor = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a))
                       for row in reversed(rows))
        mask_stride = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(rows):
            bits = 0
            for r, g, b, a in row:
                bits = (bits << 1) | (1 if a == 0 else 0)
            bits <<= mask_stride * 8 - size
            mask += bits.to_bytes(mask_stride, "big")
        info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask), 0, 0,
                           0, 0)
        blobs.append((size, info + xor + mask))
    directory = struct.pack("<HHH", 0, 1, len(blobs))
    offset = len(directory) + 16 * len(blobs)
    entries = b""
    for size, blob in blobs:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return directory + entries + b"".join(blob for _, blob in blobs)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    view = Canvas(VIEW_W, VIEW_H)
    draw_view(view)
    px = view.px
    write("ViewPicture.bmp", bmp24(VIEW_W, [[(byte(r), byte(g), byte(b)) for r, g, b, _ in
                                             px[y * VIEW_W:(y + 1) * VIEW_W]]
                                            for y in range(VIEW_H)]))
    for name, variant in (("ToolbarNormal.bmp", normal), ("ToolbarHot.bmp", hot),
                          ("ToolbarDisabled.bmp", disabled)):
        write(name, bmp24(*toolbar_strip(variant)))
    write("MenuPictures.bmp", bmp4(MENU_PALETTE, menu_strip()))
    for name, draw in ICONS.items():
        write(name, ico({size: icon_image(draw, size) for size in (16, 32)}))


if __name__ == "__main__":
    main()
