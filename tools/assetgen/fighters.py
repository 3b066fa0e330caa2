"""The nine fighters: 36x36 cells, 9 frames each, drawn facing right.

Frames: 0..3 walk cycle, 4 punch, 5 kick, 6 in the air, 7 staggered by a hit,
8 knocked out lying down (the game squashes it to half height).
Slots 1..4 are the players, 5..9 the gang; the round dresses its opponents in 5..8.
A fighter is some 25 pixels tall in a 640x480 window among a dozen others, so the
figures are chunky (big head, thick limbs) and the two sides differ at a glance:
players wear bright suits in their own colours (red, orange, yellow, green, as their
health bars), a headband and a pale rim round the whole figure; the gang wear dark,
dull clothes in other hues, masks with glowing eyes and a thin magenta glow round the
figure, which keeps them clear of the night arena's dark floor.
"""
from .canvas import Canvas, shade

CELL = 36
FRAMES = 9
OUTLINE = (16, 12, 24)

# Joint positions per frame, facing right; "f" is the limb nearer the viewer.
_WALK = [
    dict(head=(18.5, 10.0), neck=(18.5, 16.0), hip=(18, 23.9),
         f_elbow=(15.5, 19.9), f_hand=(14, 23.4), b_elbow=(21.5, 19.9), b_hand=(24, 22.6),
         f_knee=(21, 28.7), f_foot=(24, 34), b_knee=(15.5, 29.2), b_foot=(12, 34)),
    dict(head=(18.5, 9.5), neck=(18.5, 15.5), hip=(18, 23.4),
         f_elbow=(17.5, 19.9), f_hand=(18.5, 23.9), b_elbow=(19, 19.9), b_hand=(19.5, 23.9),
         f_knee=(19.5, 28.7), f_foot=(18.5, 34), b_knee=(18.5, 27.8), b_foot=(14.5, 31.8)),
    dict(head=(18.5, 10.0), neck=(18.5, 16.0), hip=(18, 23.9),
         f_elbow=(21.5, 19.9), f_hand=(24, 22.6), b_elbow=(15.5, 19.9), b_hand=(14, 23.4),
         f_knee=(15.5, 29.2), f_foot=(12, 34), b_knee=(21, 28.7), b_foot=(24, 34)),
    dict(head=(18.5, 9.5), neck=(18.5, 15.5), hip=(18, 23.4),
         f_elbow=(19, 19.9), f_hand=(19.5, 23.9), b_elbow=(17.5, 19.9), b_hand=(18.5, 23.9),
         f_knee=(18.5, 27.8), f_foot=(14.5, 31.8), b_knee=(19.5, 28.7), b_foot=(18.5, 34)),
]
_PUNCH = dict(head=(21.2, 10.6), neck=(20, 16.0), hip=(17.5, 23.9),
              f_elbow=(25.5, 16.8), f_hand=(31.5, 16.4), b_elbow=(20, 20.8), b_hand=(23, 17.7),
              f_knee=(22.5, 28.7), f_foot=(26, 34), b_knee=(14, 29.2), b_foot=(10.5, 34))
_KICK = dict(head=(14.3, 11.0), neck=(15.5, 16.4), hip=(17, 23.4),
             f_elbow=(13, 19.9), f_hand=(10.5, 17.3), b_elbow=(19.5, 19.5), b_hand=(21, 16.4),
             f_knee=(24, 22.6), f_foot=(31.5, 21.2), b_knee=(16, 28.7), b_foot=(16.5, 34))
_AIR = dict(head=(18.5, 8.2), neck=(18.5, 14.2), hip=(18, 21.7),
            f_elbow=(23.5, 12.0), f_hand=(26, 8.0), b_elbow=(13.5, 12.9), b_hand=(11.5, 8.9),
            f_knee=(23, 25.2), f_foot=(20, 30.5), b_knee=(15, 26.1), b_foot=(13.5, 31.4))
_HURT = dict(head=(13.7, 11.0), neck=(15.5, 16.4), hip=(18, 23.9),
             f_elbow=(12, 17.3), f_hand=(9, 13.8), b_elbow=(20, 17.3), b_hand=(23, 13.3),
             f_knee=(20, 29.2), f_foot=(21.5, 34), b_knee=(15.5, 29.2), b_foot=(13, 34))
# Lying on the back along the lower half of the cell, head to the left.
_DOWN = dict(head=(8.8, 27.2), neck=(13, 28.3), hip=(21.5, 29.3),
             f_elbow=(14.5, 24), f_hand=(11.5, 21), b_elbow=(16.5, 32.5), b_hand=(20.5, 32.8),
             f_knee=(26, 25.5), f_foot=(30.8, 29.8), b_knee=(26.5, 31), b_foot=(31.2, 32.4))
POSES = _WALK + [_PUNCH, _KICK, _AIR, _HURT, _DOWN]


HEAD = 1.24       # head size against the slim figure the face was drawn for (radius 5)
LIMB = 1.35       # thickness of trunk and limbs against that figure
RIM = 0.9         # width of a player's light rim, in units
GANG_RIM, GANG_GLOW = 0.7, (215, 60, 225)  # the gang's rim: a hue no player wears


class Look:
    """Colours and trimmings of one fighter; `rim` is the light edge round a player."""

    def __init__(self, skin, hair, top, legs, accent, rim=None, mask=None, eye=(255, 255, 255),
                 hair_style="short", build=1.0):
        self.skin, self.hair, self.top, self.legs = skin, hair, top, legs
        self.accent, self.rim, self.mask, self.eye = accent, rim, mask, eye
        self.hair_style, self.build = hair_style, build

    @property
    def hero(self):
        return self.rim is not None


LOOKS = {
    # Players wear the colours of their health bars and join prompts: 1 red, 2 orange,
    # 3 yellow, 4 green. Bright suits, white trim, a headband that trails behind, gloves and
    # a rim in lighter shades of the suit's own hue, so each player reads as one colour.
    1: Look((240, 190, 150), (60, 40, 30), (240, 40, 62), (160, 22, 40), (255, 150, 160), rim=(255, 215, 220)),
    2: Look((235, 190, 160), (25, 20, 20), (255, 150, 30), (200, 105, 15), (255, 180, 110), rim=(255, 230, 200),
            hair_style="spiky"),
    3: Look((250, 205, 170), (70, 45, 25), (232, 250, 40), (160, 172, 20), (250, 255, 160), rim=(252, 255, 210),
            hair_style="long"),
    4: Look((110, 78, 60), (20, 15, 15), (45, 215, 60), (25, 135, 38), (160, 255, 150), rim=(215, 255, 220),
            hair_style="spiky"),
    # The gang: dark, dull clothes, glowing eyes, masks or crests, in hues no player wears
    # (purple, plum, steel blue, teal).
    5: Look((135, 115, 150), (170, 45, 150), (68, 42, 90), (38, 26, 50), (170, 45, 150),
            mask=(30, 20, 40), eye=(255, 60, 60), hair_style="mohawk", build=1.1),
    6: Look((125, 110, 130), (55, 40, 50), (82, 40, 70), (46, 24, 40), (175, 60, 140),
            mask=(35, 20, 32), eye=(255, 120, 220), hair_style="bald", build=1.2),
    7: Look((95, 95, 108), (60, 85, 150), (56, 60, 80), (34, 36, 48), (70, 120, 210),
            mask=(20, 20, 28), eye=(150, 220, 255), hair_style="helmet"),
    8: Look((120, 126, 134), (40, 130, 130), (36, 72, 78), (22, 40, 44), (40, 170, 160),
            mask=(15, 35, 40), eye=(120, 255, 240), hair_style="mohawk"),
    9: Look((160, 135, 160), (210, 210, 210), (100, 35, 65), (50, 15, 32), (200, 100, 150),
            mask=(50, 10, 30), eye=(255, 80, 160), hair_style="long", build=1.1),
}


def _chain(c, pts, width, colour):
    c.line(pts, width + 1.6, OUTLINE)
    c.line(pts, width, colour)


def _head(c, look, pose, frame):
    hx, hy = pose["head"]

    def at(dx, dy):
        return (hx + dx * HEAD, hy + dy * HEAD)

    def pts(offsets):
        return [at(dx, dy) for dx, dy in offsets]

    r = 5.0 * HEAD
    down = frame == 8
    if look.hero and not down:
        # Headband tails stream behind the head.
        tail = pts([(-4, -1.5), (-8, -0.5 + (frame % 2) * 1.2), (-10.5, 1.5)])
        c.line(tail, 2.0, OUTLINE)
        c.line(tail, 1.2, look.accent)
    if look.hair_style == "long" and not down:
        c.polygon(pts([(-5.5, -2), (-2, -2), (-3, 7), (-7, 6)]), fill=OUTLINE)
        c.polygon(pts([(-4.8, -1.5), (-2.6, -1.5), (-3.4, 6), (-6.2, 5.2)]), fill=look.hair)
    c.circle(hx, hy, r + 0.8, fill=OUTLINE)
    c.circle(hx, hy, r, fill=look.skin)
    c.ellipse(*at(-1.4, 1.6), 2.6 * HEAD, 2.2 * HEAD, fill=shade(look.skin, 1.12))
    # Hair on top.
    if look.hair_style in ("short", "long"):
        c.ellipse(*at(-0.6, -2.4), 5.2 * HEAD, 3.0 * HEAD, fill=look.hair)
    elif look.hair_style == "spiky":
        c.polygon(pts([(-5.5, -0.5), (-6.5, -5), (-3, -4.5), (-2, -7.5), (0.5, -5.2), (3.5, -6.8),
                       (3.5, -3.8), (5.4, -2.2), (2, -2.2)]), fill=look.hair)
    elif look.hair_style == "mohawk":
        c.polygon(pts([(-5, -2.5), (-3.5, -7.5), (-1, -5.8), (1, -8), (2.5, -5), (1, -3.5)]), fill=look.hair)
    elif look.hair_style == "helmet":
        c.ellipse(*at(0, -1.5), 5.6 * HEAD, 4.2 * HEAD, fill=look.hair)
        c.rect(*at(-5.6, -1.6), *at(5.6, 0.2), fill=shade(look.hair, 0.6))
    if look.hero:
        c.rect(*at(-5, -3.4), *at(5.2, -1.9), fill=look.accent)
    # Face: the fighter looks to the right.
    ex, ey = at(2.2, 0)
    if look.mask:
        c.rect(*at(-1.5, -1.2), *at(5.4, 1.8), fill=look.mask, radius=0.8)
        c.ellipse(ex, ey + 0.3, 1.3, 0.9, fill=look.eye)
        c.ellipse(ex + 2.6, ey + 0.3, 0.95, 0.8, fill=look.eye)
    elif frame in (7, 8):
        # Dizzy eyes.
        c.line([(ex - 1.1, ey - 0.7), (ex + 1.1, ey + 1.4)], 0.7, OUTLINE)
        c.line([(ex - 1.1, ey + 1.4), (ex + 1.1, ey - 0.7)], 0.7, OUTLINE)
    else:
        c.ellipse(ex, ey + 0.2, 1.2, 1.6, fill=(255, 255, 255))
        c.ellipse(ex + 0.4, ey + 0.35, 0.7, 1.0, fill=OUTLINE)
        c.line([(ex - 1.4, ey - 2.0), (ex + 1.3, ey - 1.5)], 0.6, OUTLINE)
    if not look.mask and frame not in (7, 8):
        c.line(pts([(2.2, 3.2), (3.8, 2.9)]), 0.55, shade(look.skin, 0.55))


def _torso(c, look, pose):
    (nx, ny), (px, py) = pose["neck"], pose["hip"]
    w = 6.2 * LIMB * look.build
    _chain(c, [(nx, ny + 1), (px, py - 1)], w, look.top)
    # Shirt shading and trim.
    c.line([(nx + 1.2, ny + 1.5), (px + 1.2, py - 1.5)], w * 0.3, shade(look.top, 1.25))
    c.line([(px - w / 2 + 0.8, py - 0.6), (px + w / 2 - 0.8, py - 0.6)], 1.6,
           (245, 245, 245) if look.hero else look.accent)


def draw_fighter(slot, frame, scale):
    look = LOOKS[slot]
    pose = POSES[frame]
    c = Canvas(CELL, CELL, scale)
    arm_w, leg_w = 2.6 * LIMB * look.build, 3.2 * LIMB * look.build
    back_top, back_legs = shade(look.top, 0.7), shade(look.legs, 0.7)
    hip = pose["hip"]
    neck = pose["neck"]
    shoulder_b = (neck[0] - 0.5, neck[1] + 1.5)
    shoulder_f = (neck[0] + 0.3, neck[1] + 1.5)
    # Far limbs first, in darker shades.
    _chain(c, [hip, pose["b_knee"], pose["b_foot"]], leg_w, back_legs)
    _boot(c, look, pose["b_knee"], pose["b_foot"], 0.7)
    _chain(c, [shoulder_b, pose["b_elbow"], pose["b_hand"]], arm_w, back_top)
    _fist(c, look, pose["b_hand"], 0.75)
    _chain(c, [hip, pose["f_knee"], pose["f_foot"]], leg_w, look.legs)
    _boot(c, look, pose["f_knee"], pose["f_foot"], 1.0)
    _torso(c, look, pose)
    _head(c, look, pose, frame)
    _chain(c, [shoulder_f, pose["f_elbow"], pose["f_hand"]], arm_w, look.top)
    _fist(c, look, pose["f_hand"], 1.0)
    if look.hero:
        c.rim(RIM, look.rim)
    else:
        c.rim(GANG_RIM, GANG_GLOW)
    if frame == 4:
        _swoosh(c, pose["f_hand"], look.accent)
    elif frame == 5:
        _swoosh(c, pose["f_foot"], look.accent)
    elif frame == 7:
        _stars(c, pose["head"])
    return c.result()


def _boot(c, look, knee, foot, light):
    dx = 1 if foot[0] >= knee[0] - 3 else -1
    colour = shade((240, 240, 240) if look.hero else (40, 36, 44), light)
    toe = [(foot[0] - 1.4 * dx, foot[1] - 0.8), (foot[0] + 1.9 * dx, foot[1] - 0.6)]
    c.line(toe, 3.0, OUTLINE)
    c.line(toe, 1.7, colour)


def _fist(c, look, hand, light):
    glove = look.accent if look.hero else shade(look.skin, 0.95)
    c.circle(hand[0], hand[1], 2.7, fill=OUTLINE)
    c.circle(hand[0], hand[1], 1.9, fill=shade(glove, light))


def _swoosh(c, at, colour):
    x, y = at
    for i, a in enumerate((0.9, 0.6, 0.35)):
        c.arc(x - 3 - i, y, 4.5 + i * 1.3, 30, 150, 0.7, (255, 255, 255, int(230 * a)))
    c.circle(x + 1.5, y, 1.0, fill=(255, 255, 220, 220))


def _stars(c, head):
    x, y = head
    for dx, dy in ((-5, -6), (2, -7.5), (6, -4)):
        c.star(x + dx, y + dy, 1.8, 0.7, 4, (255, 240, 90))
