"""The 256 small parts ("parts", 8x8 cells): sparks, twinkles and stars.

The game tints them with its palette for hit sparks and also scatters random
frames as the background star field, so every frame is white or light grey and
reads as a point of light at 8 pixels: dots, glints, small stars, diamonds.
"""
import random

from .canvas import Canvas, star_points

FRAMES = 256


def draw_part(frame, scale):
    rnd = random.Random(9000 + frame)
    c = Canvas(8, 8, scale)
    family = frame % 8
    grey = 255 - rnd.randint(0, 50)
    col = (grey, grey, grey)
    size = 1.6 + rnd.uniform(0, 1.8)
    tilt = rnd.uniform(-8, 8)
    if family == 0:     # soft dot
        c.circle(4, 4, size * 0.9, fill=col + (110,))
        c.circle(4, 4, size * 0.5, fill=col)
    elif family == 1:   # four-point twinkle, upright
        c.polygon(star_points(4, 4, size + 1.2, 0.45, 4, tilt), fill=col)
        c.circle(4, 4, 0.8, fill=(255, 255, 255))
    elif family == 2:   # five-point star
        c.polygon(star_points(4, 4, size + 0.6, (size + 0.6) * 0.45, 5, tilt * 4), fill=col)
    elif family == 3:   # small glint: a dot with faint rays
        c.polygon(star_points(4, 4, size + 0.8, 0.3, 4, 45 + tilt), fill=col + (150,))
        c.circle(4, 4, 0.9, fill=col)
    elif family == 4:   # bright core with a halo
        c.circle(4, 4, size, fill=col + (60,))
        c.circle(4, 4, size * 0.6, fill=col + (140,))
        c.circle(4, 4, size * 0.3 + 0.3, fill=(255, 255, 255))
    elif family == 5:   # diamond
        r = size * 0.9 + 0.4
        c.polygon(star_points(4, 4, r, r * 0.55, 2, tilt), fill=col)
    elif family == 6:   # long cross twinkle
        c.polygon(star_points(4, 4, 3.7, 0.35, 4, tilt), fill=col + (200,))
        c.polygon(star_points(4, 4, size * 0.7, 0.35, 4, 45 + tilt), fill=col + (140,))
        c.circle(4, 4, 0.7, fill=(255, 255, 255))
    else:               # six-point sparkle
        c.polygon(star_points(4, 4, size + 0.5, (size + 0.5) * 0.4, 6, tilt * 3), fill=col)
    return c.result()
