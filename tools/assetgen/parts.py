"""The 256 small parts ("parts", 8x8 cells): sparks, stars and debris.

The game tints them with its palette and also scatters them as background
stars, so they are white or light grey and each reads as a spark at 8 pixels.
"""
import math
import random

from .canvas import Canvas, star_points

FRAMES = 256


def draw_part(frame, scale):
    rnd = random.Random(9000 + frame)
    c = Canvas(8, 8, scale)
    family = frame % 8
    grey = 255 - rnd.randint(0, 60)
    col = (grey, grey, grey)
    rot = rnd.uniform(0, 90)
    size = 2.0 + rnd.uniform(0, 1.8)
    if family == 0:     # soft dot
        c.circle(4, 4, size * 0.9, fill=col + (120,))
        c.circle(4, 4, size * 0.55, fill=col)
    elif family == 1:   # four-point twinkle
        c.polygon(star_points(4, 4, size + 0.8, 0.5, 4, rot), fill=col)
        c.circle(4, 4, 0.9, fill=(255, 255, 255))
    elif family == 2:   # five-point star
        c.polygon(star_points(4, 4, size + 0.6, (size + 0.6) * 0.45, 5, rot), fill=col)
    elif family == 3:   # shard
        pts = [(4 + rnd.uniform(1.5, 3.8) * math.sin(math.radians(a + rot)),
                4 - rnd.uniform(1.5, 3.8) * math.cos(math.radians(a + rot))) for a in (0, 120, 240)]
        c.polygon(pts, fill=col)
    elif family == 4:   # ring
        c.circle(4, 4, size * 0.85, outline=col, width=0.9)
    elif family == 5:   # diamond
        r = size * 0.9
        c.polygon(star_points(4, 4, r + 0.6, r * 0.55, 2, rot), fill=col)
    elif family == 6:   # plus
        a = math.radians(rot)
        for t in (0, 90):
            b = a + math.radians(t)
            c.line([(4 - size * math.sin(b), 4 + size * math.cos(b)), (4 + size * math.sin(b), 4 - size * math.cos(b))],
                   1.0, col)
    else:               # small square chip
        r = size * 0.6
        pts = [(4 + r * math.sin(math.radians(rot + a)), 4 - r * math.cos(math.radians(rot + a))) for a in (45, 135, 225, 315)]
        c.polygon(pts, fill=col)
    return c.result()
