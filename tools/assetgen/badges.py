"""The 64 badge pictures ("BadgesA", 64x64 cells): medals built from a frame
shape, a colour and an emblem, so every badge number looks different."""
import math

from .canvas import Canvas, shade, star_points

COLOURS = [(230, 60, 60), (250, 150, 40), (240, 210, 50), (70, 200, 90),
           (40, 200, 220), (60, 110, 240), (150, 80, 230), (230, 80, 170)]
FRAMES = ["circle", "shield", "hexagon", "star", "diamond", "square", "flower", "octagon"]


def _outline(shape, cx, cy, r):
    if shape == "circle":
        return [(cx + r * math.sin(math.radians(a)), cy - r * math.cos(math.radians(a))) for a in range(0, 360, 6)]
    if shape == "shield":
        return [(cx - r, cy - r * 0.85), (cx + r, cy - r * 0.85), (cx + r * 0.95, cy + r * 0.1),
                (cx, cy + r), (cx - r * 0.95, cy + r * 0.1)]
    if shape == "hexagon":
        return [(cx + r * math.sin(math.radians(a)), cy - r * math.cos(math.radians(a))) for a in range(30, 390, 60)]
    if shape == "star":
        return star_points(cx, cy, r * 1.05, r * 0.7, 8)
    if shape == "diamond":
        return [(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)]
    if shape == "square":
        return [(cx - r * 0.85, cy - r * 0.85), (cx + r * 0.85, cy - r * 0.85),
                (cx + r * 0.85, cy + r * 0.85), (cx - r * 0.85, cy + r * 0.85)]
    if shape == "flower":
        pts = []
        for a in range(0, 360, 4):
            rr = r * (0.85 + 0.15 * math.cos(math.radians(a * 6)))
            pts.append((cx + rr * math.sin(math.radians(a)), cy - rr * math.cos(math.radians(a))))
        return pts
    return [(cx + r * math.sin(math.radians(a)), cy - r * math.cos(math.radians(a))) for a in range(22, 382, 45)]


def _scaled(pts, cx, cy, f):
    return [(cx + (x - cx) * f, cy + (y - cy) * f) for x, y in pts]


def _emblem(c, kind, cx, cy, col):
    white = (255, 255, 255)
    if kind == 0:
        c.star(cx, cy, 12, 5, 5, white)
    elif kind == 1:   # lightning
        c.polygon([(cx + 3, cy - 13), (cx - 7, cy + 2), (cx - 1, cy + 2), (cx - 4, cy + 13),
                   (cx + 7, cy - 3), (cx + 1, cy - 3)], fill=white)
    elif kind == 2:   # fist
        c.rect(cx - 9, cy - 6, cx + 9, cy + 8, fill=white, radius=3)
        for i in range(4):
            c.rect(cx - 9 + i * 4.5, cy - 10, cx - 5 + i * 4.5, cy - 3, fill=white, radius=2)
        c.line([(cx - 9, cy - 1), (cx + 6, cy - 1)], 1, shade(col, 0.6))
    elif kind == 3:   # crown
        c.polygon([(cx - 11, cy + 7), (cx - 11, cy - 6), (cx - 5, cy), (cx, cy - 10), (cx + 5, cy),
                   (cx + 11, cy - 6), (cx + 11, cy + 7)], fill=white)
    elif kind == 4:   # heart
        c.circle(cx - 5, cy - 3, 6, fill=white)
        c.circle(cx + 5, cy - 3, 6, fill=white)
        c.polygon([(cx - 10.6, cy - 1), (cx + 10.6, cy - 1), (cx, cy + 11)], fill=white)
    elif kind == 5:   # clock
        c.circle(cx, cy, 11, fill=white)
        c.line([(cx, cy), (cx, cy - 8)], 2, shade(col, 0.5))
        c.line([(cx, cy), (cx + 6, cy + 2)], 2, shade(col, 0.5))
    elif kind == 6:   # skull
        c.circle(cx, cy - 2, 10, fill=white)
        c.rect(cx - 6, cy + 4, cx + 6, cy + 11, fill=white, radius=2)
        c.circle(cx - 4, cy - 2, 3, fill=shade(col, 0.4))
        c.circle(cx + 4, cy - 2, 3, fill=shade(col, 0.4))
    else:             # number plate
        c.rect(cx - 11, cy - 8, cx + 11, cy + 8, fill=white, radius=3)
        c.circle(cx, cy, 4, fill=shade(col, 0.6))


def draw_badge(frame, scale):
    c = Canvas(64, 64, scale)
    shape = FRAMES[frame // 8]
    col = COLOURS[frame % 8]
    kind = (frame * 3 + frame // 8) % 8
    cx, cy = 32, 33
    # Ribbon behind the medal.
    c.polygon([(20, 2), (28, 2), (32, 16), (26, 18)], fill=shade(col, 0.6))
    c.polygon([(44, 2), (36, 2), (32, 16), (38, 18)], fill=shade(col, 0.8))
    pts = _outline(shape, cx, cy, 28)
    c.polygon(pts, fill=(25, 20, 35))
    c.polygon(_scaled(pts, cx, cy, 0.9), fill=(250, 215, 100))
    c.polygon(_scaled(pts, cx, cy, 0.8), fill=shade(col, 0.75))
    c.polygon(_scaled(pts, cx, cy - 3, 0.7), fill=col)
    _emblem(c, kind, cx, cy, col)
    c.ellipse(cx - 8, cy - 14, 9, 4, fill=(255, 255, 255, 70))
    return c.result()
