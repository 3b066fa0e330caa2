"""Interface pictures: circles, glows, buttons and gears, icons, the pad set."""
import math

from .canvas import Canvas, shade, star_points
from .typeface import font

WHITE = (255, 255, 255)
INK = (20, 24, 40)


# "common/circle": 256x256, 4 frames ------------------------------------------
def draw_circle(frame, scale):
    c = Canvas(256, 256, scale)
    cx = cy = 128
    if frame == 0:
        # Soft filled disc.
        for i in range(24):
            r = 124 - i * 2
            c.circle(cx, cy, r, fill=(255, 255, 255, min(255, 40 + i * 9)))
    elif frame == 1:
        # Hub disc under the options gear: bevelled plate.
        c.circle(cx, cy, 122, fill=(30, 40, 80))
        c.circle(cx, cy, 114, fill=(70, 110, 190))
        c.circle(cx, cy, 104, fill=(40, 70, 140))
        c.ellipse(cx - 20, cy - 30, 70, 55, fill=(255, 255, 255, 40))
        for i in range(24):
            a = math.radians(i * 15)
            x, y = cx + 109 * math.sin(a), cy - 109 * math.cos(a)
            c.circle(x, y, 2.5, fill=(190, 220, 255))
    elif frame == 2:
        c.circle(cx, cy, 124, outline=WHITE, width=10)
    else:
        # Difficulty wheel rim: a ring with ticks and spokes that shows its turning.
        c.circle(cx, cy, 82, outline=(20, 30, 60), width=14)
        c.circle(cx, cy, 80, outline=(120, 190, 255), width=8)
        c.circle(cx, cy, 73, outline=(255, 255, 255, 160), width=1.5)
        for i in range(48):
            a = math.radians(i * 7.5)
            r0 = 84 if i % 4 else 84
            r1 = 92 if i % 4 else 100
            p0 = (cx + r0 * math.sin(a), cy - r0 * math.cos(a))
            p1 = (cx + r1 * math.sin(a), cy - r1 * math.cos(a))
            c.line([p0, p1], 2.5 if i % 4 == 0 else 1.5, (170, 220, 255))
        for i in range(6):
            a = math.radians(i * 60 + 30)
            p0 = (cx + 44 * math.sin(a), cy - 44 * math.cos(a))
            p1 = (cx + 72 * math.sin(a), cy - 72 * math.cos(a))
            c.line([p0, p1], 4, (90, 150, 230, 200))
    return c.result()


# "common/light": 32x32, 4 frames ---------------------------------------------
def draw_light(frame, scale):
    c = Canvas(32, 32, scale)
    if frame == 0:
        for i in range(16):
            c.circle(16, 16, 15 - i * 0.9, fill=(255, 255, 255, 18 + i * 3))
    elif frame == 1:
        for i in range(10):
            c.circle(16, 16, 8 - i * 0.7, fill=(255, 255, 255, 25 + i * 10))
        c.polygon(star_points(16, 16, 15, 1.5, 4), fill=(255, 255, 255, 200))
    elif frame == 2:
        for w, a in ((6, 40), (4, 80), (2, 200)):
            c.circle(16, 16, 11, outline=(255, 255, 255, a), width=w)
    else:
        c.polygon(star_points(16, 16, 15, 2, 4), fill=(255, 255, 255, 140))
        c.polygon(star_points(16, 16, 9, 1.5, 4, 45), fill=(255, 255, 255, 200))
        c.circle(16, 16, 3, fill=WHITE)
    return c.result()


# "common/Buttons": 64x64, 16 frames -------------------------------------------
WHEEL_COLOURS = [(60, 200, 90), (250, 170, 40), (230, 50, 60)]


def _gear(c, cx, cy, r_out, r_in, teeth, hole, colour, depth=5):
    pts = []
    for i in range(teeth * 4):
        a = math.radians(i * 90.0 / teeth)
        r = r_out if (i % 4) in (1, 2) else r_out - depth
        pts.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    c.polygon(pts, fill=shade(colour, 0.45))
    inner = [(cx + (x - cx) * 0.93, cy + (y - cy) * 0.93) for x, y in pts]
    c.polygon(inner, fill=colour)
    c.circle(cx, cy, r_in, fill=shade(colour, 1.2))
    if hole:
        c.circle(cx, cy, hole + 1.5, fill=shade(colour, 0.45))
        c.cut_circle(cx, cy, hole)


def draw_button(frame, scale):
    c = Canvas(64, 64, scale)
    if frame <= 2:
        # Difficulty plates: text is printed over them, so they stay calm.
        # The game's text sits half a character right of the point it is given,
        # so the plate leans right by the same amount to stay under its name.
        col = WHEEL_COLOURS[frame]
        c.rect(3, 17, 64, 51, fill=(20, 16, 30), radius=11)
        c.rect(4.5, 18.5, 62.5, 49.5, fill=shade(col, 0.55), radius=10)
        c.rect(5.5, 19, 61.5, 47, fill=col, radius=9)
        c.rect(8, 20.5, 59, 31, fill=shade(col, 1.3), radius=6)
        for i in range(frame + 1):
            x = 34.5 + (i - frame / 2) * 11
            c.star(x, 10, 7, 3, 5, (40, 30, 10))
            c.star(x, 10, 5.5, 2.4, 5, (255, 235, 110))
    elif frame in (3, 4, 5, 6):
        # Round pad buttons numbered 1..4.
        col = [(60, 200, 90), (230, 60, 60), (60, 120, 240), (240, 200, 40)][frame - 3]
        c.circle(32, 34, 27, fill=shade(col, 0.35))
        c.circle(32, 31, 26, fill=col)
        c.ellipse(32, 22, 18, 10, fill=(255, 255, 255, 70))
        c.text(32, 32, str(frame - 2), font("sans-bold", 30 * c.k), WHITE)
    elif frame == 7:
        c.rect(6, 18, 58, 46, fill=(40, 40, 60), radius=13)
        c.rect(8, 20, 56, 44, fill=(90, 90, 120), radius=11)
        c.text(32, 32, "START", font("sans-bold", 11 * c.k), WHITE)
    elif frame == 8:
        _gear(c, 32, 32, 30, 19, 12, 15, (190, 200, 215), depth=6)
    elif frame == 9:
        _gear(c, 32, 32, 17, 11, 8, 7, (250, 190, 60), depth=4)
    elif frame == 10:
        c.circle(32, 32, 7, fill=(60, 60, 80))
        c.polygon([(32 + 5 * math.sin(math.radians(a)), 32 - 5 * math.cos(math.radians(a)))
                   for a in range(0, 360, 60)], fill=(230, 235, 245))
        c.circle(32, 32, 2, fill=(60, 60, 80))
    elif frame == 11:
        c.rect(6, 6, 58, 58, fill=(30, 30, 50), radius=12)
        c.rect(9, 9, 55, 55, fill=(70, 140, 220), radius=10)
        c.polygon([(24, 18), (46, 32), (24, 46)], fill=WHITE)
    elif frame == 12:
        # "Coded in" badge: a code tag on a dark tile.
        c.rect(4, 4, 60, 60, fill=(20, 30, 60), radius=12)
        c.rect(7, 7, 57, 57, fill=(40, 90, 170), radius=10)
        c.line([(22, 20), (12, 32), (22, 44)], 4, WHITE)
        c.line([(42, 20), (52, 32), (42, 44)], 4, WHITE)
        c.line([(35, 17), (29, 47)], 3.5, (140, 230, 255))
    elif frame == 13:
        c.rect(6, 6, 58, 58, fill=(30, 30, 50), radius=12)
        c.rect(9, 9, 55, 55, fill=(200, 60, 60), radius=10)
        c.line([(22, 22), (42, 42)], 6, WHITE)
        c.line([(42, 22), (22, 42)], 6, WHITE)
    elif frame == 14:
        c.rect(6, 6, 58, 58, fill=(30, 30, 50), radius=12)
        c.rect(9, 9, 55, 55, fill=(50, 170, 80), radius=10)
        c.line([(20, 33), (29, 42), (45, 22)], 6, WHITE)
    else:
        c.circle(32, 32, 28, fill=(30, 30, 50))
        c.circle(32, 32, 25, fill=(250, 200, 60))
        c.star(32, 33, 18, 7.5, 5, WHITE)
    return c.result()


# "common/icons": 32x32, 16 frames --------------------------------------------
def _icon_base(c, colour=(255, 255, 255)):
    c.circle(16, 16, 15, fill=(0, 0, 0, 110))
    c.circle(16, 16, 13.5, outline=colour, width=2)


def draw_icon(frame, scale):
    c = Canvas(32, 32, scale)
    if frame == 0:      # pause
        _icon_base(c)
        c.rect(10.5, 9, 14, 23, fill=WHITE, radius=1)
        c.rect(18, 9, 21.5, 23, fill=WHITE, radius=1)
    elif frame == 1:    # quit: a cross
        _icon_base(c)
        c.line([(11, 11), (21, 21)], 3.2, WHITE)
        c.line([(21, 11), (11, 21)], 3.2, WHITE)
    elif frame == 2:    # back arrow
        _icon_base(c)
        c.polygon([(8, 16), (15, 9), (15, 13), (23, 13), (23, 19), (15, 19), (15, 23)], fill=WHITE)
    elif frame == 3:    # resume / go right
        _icon_base(c)
        c.polygon([(12, 8.5), (24, 16), (12, 23.5)], fill=WHITE)
    elif frame == 4:    # settings
        _icon_base(c)
        pts = []
        for i in range(32):
            a = math.radians(i * 360 / 32)
            r = 10 if (i % 4) in (1, 2) else 7.5
            pts.append((16 + r * math.sin(a), 16 - r * math.cos(a)))
        c.polygon(pts, fill=WHITE)
        c.circle(16, 16, 3, fill=(40, 40, 60))
    elif frame == 5:    # sound
        _icon_base(c)
        c.polygon([(8, 13), (12, 13), (17, 8), (17, 24), (12, 19), (8, 19)], fill=WHITE)
        c.arc(17, 16, 5, 40, 140, 1.8, WHITE)
        c.arc(17, 16, 8.5, 40, 140, 1.8, WHITE)
    elif frame == 6:    # cursor ring (tinted by the game)
        for w, a in ((5, 60), (3, 140), (1.6, 255)):
            c.circle(16, 16, 13.5, outline=(255, 255, 255, a), width=w)
        for a in (0, 90, 180, 270):
            r = math.radians(a + 45)
            c.circle(16 + 13.5 * math.sin(r), 16 - 13.5 * math.cos(r), 1.8, fill=WHITE)
    elif frame == 7:    # star
        c.star(16, 17, 14, 6, 5, (40, 30, 10))
        c.star(16, 17, 12, 5, 5, (255, 220, 60))
    elif frame == 8:    # trophy
        c.circle(8.5, 10.5, 4, outline=(255, 200, 50), width=2)
        c.circle(23.5, 10.5, 4, outline=(255, 200, 50), width=2)
        c.polygon([(8, 5), (24, 5), (22, 17), (10, 17)], fill=(255, 200, 50))
        c.rect(14.5, 17, 17.5, 23, fill=(230, 170, 30))
        c.rect(10, 23, 22, 27, fill=(200, 140, 30), radius=1)
    elif frame == 9:    # music note
        _icon_base(c)
        c.circle(12, 21, 3.5, fill=WHITE)
        c.circle(21, 19, 3.5, fill=WHITE)
        c.rect(14, 8, 15.8, 21, fill=WHITE)
        c.rect(23, 6, 24.8, 19, fill=WHITE)
        c.polygon([(14, 8), (24.8, 6), (24.8, 9.5), (14, 11.5)], fill=WHITE)
    elif frame == 10:   # left
        _icon_base(c)
        c.polygon([(20, 8.5), (8, 16), (20, 23.5)], fill=WHITE)
    elif frame == 11:   # bonus item: a glowing heart
        for i in range(8):
            c.circle(16, 16, 15 - i, fill=(255, 120, 160, 10 + i * 4))
        _heart(c, 16, 17, 11, (90, 10, 30))
        _heart(c, 16, 16.5, 9.5, (240, 40, 80))
        c.ellipse(12, 12, 2.5, 2, fill=(255, 220, 230))
        c.rect(14.5, 12, 17.5, 21, fill=WHITE)
        c.rect(11.5, 15, 20.5, 18, fill=WHITE)
    elif frame == 12:   # check
        _icon_base(c)
        c.line([(9, 16.5), (14, 21.5), (23, 11)], 3, WHITE)
    elif frame == 13:   # lock
        c.circle(16, 12, 6.5, outline=(200, 205, 220), width=2.5)
        c.rect(8, 13, 24, 27, fill=(250, 200, 60), radius=2)
        c.circle(16, 19, 2, fill=(80, 60, 10))
    elif frame == 14:   # game pad
        c.rect(3, 10, 29, 24, fill=(220, 225, 235), radius=6)
        c.rect(7.5, 15.5, 13.5, 17.5, fill=(50, 50, 70))
        c.rect(9.5, 13.5, 11.5, 19.5, fill=(50, 50, 70))
        c.circle(21, 18, 1.8, fill=(230, 60, 60))
        c.circle(24.5, 15, 1.8, fill=(60, 120, 240))
    else:               # info
        _icon_base(c)
        c.circle(16, 10, 2, fill=WHITE)
        c.rect(14.5, 14, 17.5, 23, fill=WHITE)
    return c.result()


def _heart(c, cx, cy, s, colour):
    c.circle(cx - s * 0.45, cy - s * 0.25, s * 0.5, fill=colour)
    c.circle(cx + s * 0.45, cy - s * 0.25, s * 0.5, fill=colour)
    c.polygon([(cx - s * 0.93, cy - 0.1 * s), (cx + s * 0.93, cy - 0.1 * s), (cx, cy + s * 0.9)], fill=colour)


# "common/dpad": 32x32, 16 frames ---------------------------------------------
def _cross(c, lit=None):
    base, hi = (70, 75, 95), (120, 200, 255)
    c.rect(11, 3, 21, 29, fill=(20, 22, 30), radius=2)
    c.rect(3, 11, 29, 21, fill=(20, 22, 30), radius=2)
    c.rect(12, 4, 20, 28, fill=base, radius=1.5)
    c.rect(4, 12, 28, 20, fill=base, radius=1.5)
    arms = {"up": (12, 4, 20, 12), "down": (12, 20, 20, 28), "left": (4, 12, 12, 20), "right": (20, 12, 28, 20)}
    if lit:
        c.rect(*arms[lit], fill=hi, radius=1.5)
    c.circle(16, 16, 2.5, fill=(40, 42, 55))


def draw_dpad(frame, scale):
    c = Canvas(32, 32, scale)
    if frame <= 4:
        _cross(c, [None, "up", "right", "down", "left"][frame])
    elif frame in (5, 6):
        c.circle(16, 16, 15, fill=(20, 22, 30, 200))
        c.circle(16, 16, 13, fill=(70, 75, 95, 200) if frame == 5 else (120, 200, 255, 200))
    elif frame in (7, 8):
        c.circle(16, 17, 10, fill=(20, 22, 30))
        c.circle(16, 16, 9, fill=(150, 155, 175) if frame == 7 else (120, 200, 255))
        c.ellipse(14, 13, 4, 3, fill=(255, 255, 255, 90))
    elif frame <= 12:
        col = [(60, 200, 90), (230, 60, 60), (60, 120, 240), (240, 200, 40)][frame - 9]
        c.circle(16, 17, 12, fill=shade(col, 0.35))
        c.circle(16, 16, 11.5, fill=col)
        c.text(16, 16, str(frame - 8), font("sans-bold", 14 * c.k), WHITE)
    elif frame in (13, 14):
        c.rect(2, 9, 30, 23, fill=(20, 22, 30), radius=7)
        c.rect(3.5, 10.5, 28.5, 21.5, fill=(90, 95, 120), radius=6)
        c.text(16, 16, "L" if frame == 13 else "R", font("sans-bold", 11 * c.k), WHITE)
    else:
        c.rect(4, 12, 28, 20, fill=(20, 22, 30), radius=4)
        c.rect(5, 13, 27, 19, fill=(90, 95, 120), radius=3)
    return c.result()
