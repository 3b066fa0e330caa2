"""The four backdrops of a round ("menu", 256x256 cells, drawn at size 3).

The game centres each frame horizontally and puts its bottom 36 units below
the screen, so rows 84..256 are what a 4:3 window shows; the fighters stand on
rows 200..230, which is the floor. Frame 1 is a night sky because the round
runs the star field over it.
"""
import random

from .canvas import Canvas, gradient, shade

SIZE = 256
FRAMES = 4
HORIZON = 192


def _base(scale, stops):
    c = Canvas(SIZE, SIZE, scale, supersample=1 if scale == 4 else 2)
    c.img.alpha_composite(gradient(c.img.width, c.img.height, stops))
    return c


def _floor(c, top, near, far, lines):
    """Perspective floor from the horizon down to the bottom edge."""
    k = c.k
    floor = gradient(c.img.width, int((SIZE - top) * k), [(0, far), (1, near)])
    c.img.alpha_composite(floor, (0, int(top * k)))
    vx = SIZE / 2
    for i in range(-12, 13):
        x_bottom = vx + i * 34
        c.line([(vx + i * 4, top), (x_bottom, SIZE)], 0.5, lines, round_caps=False)
    y, step = top + 2, 2.0
    while y < SIZE:
        c.line([(0, y), (SIZE, y)], 0.5, lines, round_caps=False)
        step *= 1.35
        y += step


def _skyline(c, rnd, base_y, colour, window, min_h, max_h, lit=0.35):
    x = -4
    while x < SIZE + 4:
        w = rnd.uniform(10, 26)
        h = rnd.uniform(min_h, max_h)
        c.rect(x, base_y - h, x + w, base_y + 1, fill=colour)
        if rnd.random() < 0.3:
            c.rect(x + w * 0.4, base_y - h - rnd.uniform(3, 9), x + w * 0.45, base_y - h, fill=colour)
        if window:
            wy = base_y - h + 3
            while wy < base_y - 3:
                wx = x + 2
                while wx < x + w - 2.5:
                    if rnd.random() < lit:
                        c.rect(wx, wy, wx + 1.5, wy + 1.8, fill=window)
                    wx += 3
                wy += 4
        x += w + rnd.uniform(0, 3)


def _stars(c, rnd, count, top, bottom):
    for _ in range(count):
        x, y = rnd.uniform(0, SIZE), rnd.uniform(top, bottom)
        r = rnd.choice((0.35, 0.45, 0.6, 0.9))
        a = rnd.randint(120, 255)
        c.circle(x, y, r, fill=(255, 255, 255, a))


def _glow(c, x, y, r, colour, strength=1.0):
    layer = c.layer()
    layer.circle(x, y, r * 1.3, fill=colour + (int(min(255, 110 * strength)),))
    layer.circle(x, y, r * 0.8, fill=colour + (int(min(255, 240 * strength)),))
    c.img.alpha_composite(layer.blurred(r * 0.5).img)


def sunset_city(scale):
    rnd = random.Random(101)
    c = _base(scale, [(0, (40, 20, 80)), (0.45, (150, 50, 110)), (0.68, (255, 120, 70)),
                      (0.76, (255, 200, 110)), (1, (255, 200, 110))])
    _glow(c, 150, 128, 30, (255, 230, 150))
    c.circle(150, 128, 16, fill=(255, 240, 190))
    for i in range(5):
        y = 124 + i * 4
        c.rect(132, y, 168, y + 0.8 + i * 0.3, fill=(255, 150, 90, 200))
    _skyline(c, rnd, HORIZON, (170, 80, 120), None, 30, 60)
    _skyline(c, rnd, HORIZON, (95, 40, 90), (255, 210, 120, 140), 20, 70, lit=0.2)
    _skyline(c, rnd, HORIZON, (45, 20, 55), (255, 230, 140), 10, 45, lit=0.3)
    for x, y, w, col in ((52, 150, 22, (60, 240, 255)), (178, 160, 18, (255, 70, 200)), (112, 168, 14, (255, 210, 60))):
        glow = c.layer()
        glow.rect(x - 2, y - 2, x + w + 2, y + 8, fill=col + (150,), radius=2)
        c.img.alpha_composite(glow.blurred(2).img)
        c.rect(x, y, x + w, y + 6, fill=(30, 10, 40), radius=1.5)
        c.rect(x, y, x + w, y + 6, outline=col, width=0.8, radius=1.5)
        for i in range(int(w / 4)):
            c.rect(x + 2 + i * 4, y + 2, x + 4 + i * 4, y + 4, fill=col)
    _floor(c, HORIZON, (50, 40, 60), (110, 70, 90), (150, 90, 110, 90))
    # Lane markings and kerb.
    c.rect(0, HORIZON, SIZE, HORIZON + 2.5, fill=(170, 150, 150))
    for i in range(8):
        x = i * 36 + 6
        c.polygon([(x, 238), (x + 16, 238), (x + 18, 241), (x - 2, 241)], fill=(250, 220, 120, 200))
    _lamps(c, [(30, (255, 220, 150)), (226, (255, 220, 150))])
    return c.result()


def _lamps(c, lamps):
    for x, colour in lamps:
        c.rect(x - 1, 120, x + 1, HORIZON + 12, fill=(35, 25, 40))
        c.rect(x - 1, 120, x + 9, 122, fill=(35, 25, 40))
        _glow(c, x + 8, 124, 10, colour, 0.9)
        c.ellipse(x + 8, 123.5, 3, 1.5, fill=colour)


def night_arena(scale):
    rnd = random.Random(202)
    c = _base(scale, [(0, (4, 6, 26)), (0.6, (16, 22, 70)), (0.75, (40, 40, 120)), (1, (40, 40, 120))])
    _stars(c, rnd, 140, 0, HORIZON - 20)
    # A ringed planet.
    _glow(c, 70, 120, 26, (120, 160, 255), 0.6)
    c.ellipse_arc(70, 120, 30, 8, 180, 360, 2.2, (210, 200, 255, 210))
    c.circle(70, 120, 17, fill=(110, 120, 220))
    c.ellipse(72, 122, 15, 14, fill=(80, 80, 180))
    c.ellipse(65, 114, 9, 7, fill=(170, 180, 255))
    for y, w in ((116, 14), (124, 15), (129, 11)):
        c.rect(70 - w, y, 70 + w, y + 1.2, fill=(140, 150, 240, 120))
    c.ellipse_arc(70, 120, 30, 8, 0, 180, 2.2, (230, 220, 255, 230))
    # Searchlights of a distant arena beyond the hills.
    beam = c.layer()
    for x, a in ((157, -12), (209, 14)):
        beam.polygon([(x - 1, HORIZON - 20), (x + 1, HORIZON - 20), (x + a * 3 + 6, 40), (x + a * 3 - 6, 40)],
                     fill=(120, 200, 255, 60))
    c.img.alpha_composite(beam.blurred(1.5).img)
    # Mountains.
    for layer, (col, hmax) in enumerate((((30, 30, 90), 55), ((18, 18, 55), 35))):
        pts = [(0, HORIZON)]
        x = 0
        while x <= SIZE:
            pts.append((x, HORIZON - rnd.uniform(hmax * 0.4, hmax)))
            x += rnd.uniform(14, 30)
        pts.append((SIZE, HORIZON))
        c.polygon(pts, fill=col)
    # Neon grid floor.
    _floor(c, HORIZON, (20, 10, 50), (10, 5, 30), (0, 220, 255, 150))
    c.rect(0, HORIZON - 0.5, SIZE, HORIZON + 1.5, fill=(255, 60, 220))
    glow = c.layer()
    glow.rect(0, HORIZON - 3, SIZE, HORIZON + 4, fill=(255, 60, 220, 120))
    c.img.alpha_composite(glow.blurred(3).img)
    return c.result()


def desert_canyon(scale):
    rnd = random.Random(303)
    c = _base(scale, [(0, (70, 140, 220)), (0.55, (150, 200, 240)), (0.75, (250, 220, 170)), (1, (250, 220, 170))])
    _glow(c, 200, 95, 22, (255, 255, 220))
    c.circle(200, 95, 11, fill=(255, 255, 235))
    for x, y, w in ((40, 70, 30), (100, 60, 22), (170, 130, 26)):
        c.ellipse(x, y, w, 5, fill=(255, 255, 255, 170))
        c.ellipse(x + w * 0.4, y - 3, w * 0.5, 4, fill=(255, 255, 255, 190))
    # Mesas in three depths, the far ones hazy.
    for col, base_h, seed in (((215, 170, 170), 75, 3), ((210, 140, 110), 60, 1), ((170, 90, 60), 40, 2)):
        r2 = random.Random(seed * 77)
        x = -10
        while x < SIZE:
            w = r2.uniform(30, 60)
            h = r2.uniform(base_h * 0.5, base_h)
            top = HORIZON - h
            c.polygon([(x, HORIZON), (x + 6, top), (x + w - 6, top), (x + w, HORIZON)], fill=col)
            c.polygon([(x + w * 0.62, top), (x + w - 6, top), (x + w, HORIZON), (x + w * 0.7, HORIZON)],
                      fill=shade(col, 0.82))
            c.rect(x + 6, top, x + w - 6, top + 2, fill=shade(col, 1.15))
            for s in range(3):
                sy = top + 8 + s * (h / 4)
                c.rect(x + 4, sy, x + w - 4, sy + 1, fill=shade(col, 0.85))
            x += w + r2.uniform(-5, 20)
    _floor(c, HORIZON, (200, 140, 80), (235, 190, 130), (180, 120, 70, 60))
    for _ in range(40):
        x, y = rnd.uniform(0, SIZE), rnd.uniform(HORIZON + 4, SIZE)
        c.ellipse(x, y, 1.5 + (y - HORIZON) * 0.04, 0.5 + (y - HORIZON) * 0.015, fill=(170, 110, 60, 150))
    for x in (24, 236):
        _cactus(c, x, HORIZON + 6)
    return c.result()


def _cactus(c, x, base):
    col, dark = (60, 140, 70), (30, 80, 40)
    c.line([(x, base), (x, base - 40)], 7, dark)
    c.line([(x, base), (x, base - 40)], 5, col)
    for side, h in ((-1, 22), (1, 30)):
        arm = [(x, base - h + 8), (x + 8 * side, base - h + 8), (x + 8 * side, base - h - 6)]
        c.line(arm, 5, dark)
        c.line(arm, 3.4, col)


def neon_dojo(scale):
    c = _base(scale, [(0, (20, 8, 20)), (0.6, (70, 20, 40)), (0.75, (110, 40, 50)), (1, (110, 40, 50))])
    # Back wall with paper screens.
    c.rect(0, 100, SIZE, HORIZON, fill=(60, 25, 30))
    for i in range(6):
        x = i * 44 + 4
        c.rect(x, 108, x + 36, HORIZON - 6, fill=(240, 190, 120))
        for gx in range(1, 4):
            c.rect(x + gx * 9 - 0.5, 108, x + gx * 9 + 0.5, HORIZON - 6, fill=(80, 35, 35))
        for gy in range(1, 4):
            y = 108 + gy * (HORIZON - 114) / 4
            c.rect(x, y - 0.5, x + 36, y + 0.5, fill=(80, 35, 35))
    # Roof beam and hanging lanterns.
    c.rect(0, 92, SIZE, 102, fill=(40, 14, 18))
    for x in (40, 128, 216):
        c.line([(x, 102), (x, 112)], 0.6, (30, 10, 10))
        _glow(c, x, 122, 14, (255, 220, 150), 0.7)
        c.ellipse(x, 122, 6, 9, fill=(200, 40, 35))
        c.ellipse(x - 1, 121, 4.5, 8, fill=(235, 60, 45))
        for dx in (-3, 0, 3):
            c.line([(x + dx, 114.5), (x + dx * 1.1, 129.5)], 0.35, (150, 25, 25))
        c.ellipse(x - 2.2, 118, 1.2, 3, fill=(255, 150, 120))
        c.rect(x - 4, 112, x + 4, 114, fill=(40, 20, 15))
        c.rect(x - 4, 130, x + 4, 132, fill=(40, 20, 15))
        c.line([(x, 132), (x, 137)], 0.8, (230, 180, 60))
    # Pillars.
    for x in (0, 88, 168, 248):
        c.rect(x - 4, 90, x + 4, HORIZON + 2, fill=(90, 25, 25))
        c.rect(x - 4, 90, x - 2, HORIZON + 2, fill=(130, 40, 35))
    # Wooden floor planks in perspective.
    k = c.k
    floor = gradient(c.img.width, int((SIZE - HORIZON) * k), [(0, (120, 70, 40)), (1, (170, 105, 60))])
    c.img.alpha_composite(floor, (0, int(HORIZON * k)))
    vx = SIZE / 2
    for i in range(-14, 15):
        c.line([(vx + i * 5, HORIZON), (vx + i * 40, SIZE)], 0.6, (90, 50, 30), round_caps=False)
    c.rect(0, HORIZON, SIZE, HORIZON + 2, fill=(60, 30, 20))
    # Sparring mat with a dark border in the middle of the floor.
    c.polygon([(66, 203), (190, 203), (212, 252), (44, 252)], fill=(70, 40, 30))
    c.polygon([(70, 205), (186, 205), (206, 250), (50, 250)], fill=(200, 165, 95))
    for t in (0.33, 0.66):
        y = 205 + 45 * t
        c.line([(70 - 20 * t, y), (186 + 20 * t, y)], 0.5, (170, 135, 75), round_caps=False)
    c.line([(128, 205), (128, 250)], 0.5, (170, 135, 75), round_caps=False)
    c.ellipse(128, 227, 16, 6, outline=(190, 50, 40), width=1.2)
    return c.result()


SCENES = [sunset_city, night_arena, desert_canyon, neon_dojo]


def draw_backdrop(frame, scale):
    return SCENES[frame](scale)
