"""The nine fighters: 36x36 cells, 9 frames each, drawn facing right.

Frames: 0..3 walk cycle, 4 punch, 5 kick, 6 in the air, 7 staggered by a hit,
8 knocked out lying down (the game squashes it to half height).
Slots 1..4 are the players (bright suits, headbands); opponents use slots 4..7,
so slot 4 serves both, and 5..9 are the gang (dark clothes, masks, red eyes).
"""
from .canvas import Canvas, shade

CELL = 36
FRAMES = 9
OUTLINE = (16, 12, 24)

# Joint positions per frame, facing right; "f" is the limb nearer the viewer.
_WALK = [
    dict(head=(18.5, 8.5), neck=(18.5, 13.5), hip=(18, 22.5),
         f_elbow=(15.5, 18), f_hand=(14, 22), b_elbow=(21.5, 18), b_hand=(24, 21),
         f_knee=(21, 28), f_foot=(24, 34), b_knee=(15.5, 28.5), b_foot=(12, 34)),
    dict(head=(18.5, 8), neck=(18.5, 13), hip=(18, 22),
         f_elbow=(17.5, 18), f_hand=(18.5, 22.5), b_elbow=(19, 18), b_hand=(19.5, 22.5),
         f_knee=(19.5, 28), f_foot=(18.5, 34), b_knee=(18.5, 27), b_foot=(14.5, 31.5)),
    dict(head=(18.5, 8.5), neck=(18.5, 13.5), hip=(18, 22.5),
         f_elbow=(21.5, 18), f_hand=(24, 21), b_elbow=(15.5, 18), b_hand=(14, 22),
         f_knee=(15.5, 28.5), f_foot=(12, 34), b_knee=(21, 28), b_foot=(24, 34)),
    dict(head=(18.5, 8), neck=(18.5, 13), hip=(18, 22),
         f_elbow=(19, 18), f_hand=(19.5, 22.5), b_elbow=(17.5, 18), b_hand=(18.5, 22.5),
         f_knee=(18.5, 27), f_foot=(14.5, 31.5), b_knee=(19.5, 28), b_foot=(18.5, 34)),
]
_PUNCH = dict(head=(21, 9), neck=(20, 13.5), hip=(17.5, 22.5),
              f_elbow=(25.5, 14.5), f_hand=(31.5, 14), b_elbow=(20, 19), b_hand=(23, 15.5),
              f_knee=(22.5, 28), f_foot=(26, 34), b_knee=(14, 28.5), b_foot=(10.5, 34))
_KICK = dict(head=(14.5, 9.5), neck=(15.5, 14), hip=(17, 22),
             f_elbow=(13, 18), f_hand=(10.5, 15), b_elbow=(19.5, 17.5), b_hand=(21, 14),
             f_knee=(24, 21), f_foot=(32, 19.5), b_knee=(16, 28), b_foot=(16.5, 34))
_AIR = dict(head=(18.5, 6.5), neck=(18.5, 11.5), hip=(18, 20),
            f_elbow=(23.5, 9), f_hand=(26, 4.5), b_elbow=(13.5, 10), b_hand=(11.5, 5.5),
            f_knee=(23, 24), f_foot=(20, 30), b_knee=(15, 25), b_foot=(13.5, 31))
_HURT = dict(head=(14, 9.5), neck=(15.5, 14), hip=(18, 22.5),
             f_elbow=(12, 15), f_hand=(9, 11), b_elbow=(20, 15), b_hand=(23, 10.5),
             f_knee=(20, 28.5), f_foot=(21.5, 34), b_knee=(15.5, 28.5), b_foot=(13, 34))
# Lying on the back along the lower half of the cell, head to the left.
_DOWN = dict(head=(5.5, 27.5), neck=(10, 28.5), hip=(20, 29.5),
             f_elbow=(12, 24), f_hand=(9, 20.5), b_elbow=(15, 33), b_hand=(19, 34),
             f_knee=(25.5, 25.5), f_foot=(31.5, 30.5), b_knee=(26, 31.5), b_foot=(32.5, 33.5))
POSES = _WALK + [_PUNCH, _KICK, _AIR, _HURT, _DOWN]


class Look:
    """Colours and trimmings of one fighter."""

    def __init__(self, skin, hair, top, legs, accent, hero, mask=None, eye=(255, 255, 255),
                 hair_style="short", build=1.0):
        self.skin, self.hair, self.top, self.legs = skin, hair, top, legs
        self.accent, self.hero, self.mask, self.eye = accent, hero, mask, eye
        self.hair_style, self.build = hair_style, build


LOOKS = {
    # Players: bright suits, white trim and a headband that trails behind.
    1: Look((240, 190, 150), (60, 40, 30), (40, 110, 245), (25, 50, 140), (255, 60, 60), True),
    2: Look((205, 145, 105), (25, 20, 20), (235, 50, 50), (120, 25, 30), (255, 220, 60), True,
            hair_style="spiky"),
    3: Look((250, 205, 170), (240, 200, 80), (40, 200, 90), (20, 100, 55), (40, 230, 255), True,
            hair_style="long"),
    4: Look((150, 100, 70), (20, 15, 15), (255, 190, 30), (150, 90, 10), (170, 60, 255), True,
            hair_style="spiky"),
    # The gang: dark clothes, glowing eyes, masks or crests.
    5: Look((170, 140, 190), (230, 40, 200), (90, 40, 130), (45, 25, 65), (230, 40, 200), False,
            mask=(30, 20, 40), eye=(255, 60, 60), hair_style="mohawk", build=1.1),
    6: Look((130, 170, 120), (40, 60, 40), (85, 100, 85), (50, 56, 50), (160, 230, 60), False,
            mask=(35, 40, 35), eye=(255, 230, 60), hair_style="bald", build=1.2),
    7: Look((110, 110, 125), (200, 80, 20), (72, 78, 100), (42, 45, 60), (255, 110, 20), False,
            mask=(20, 20, 28), eye=(255, 140, 30), hair_style="helmet"),
    8: Look((190, 160, 140), (30, 200, 200), (30, 120, 130), (20, 55, 60), (30, 240, 220), False,
            mask=(15, 35, 40), eye=(120, 255, 240), hair_style="mohawk"),
    9: Look((200, 170, 200), (250, 250, 250), (180, 30, 90), (70, 15, 40), (255, 120, 180), False,
            mask=(50, 10, 30), eye=(255, 80, 160), hair_style="long", build=1.1),
}


def _chain(c, pts, width, colour):
    c.line(pts, width + 1.6, OUTLINE)
    c.line(pts, width, colour)


def _head(c, look, pose, frame):
    hx, hy = pose["head"]
    r = 5.0
    down = frame == 8
    if look.hero and not down:
        # Headband tails stream behind the head.
        tail = [(hx - 4, hy - 1.5), (hx - 8, hy - 0.5 + (frame % 2) * 1.2), (hx - 11, hy + 1.5)]
        c.line(tail, 1.6, OUTLINE)
        c.line(tail, 0.9, look.accent)
    if look.hair_style == "long" and not down:
        c.polygon([(hx - 5.5, hy - 2), (hx - 2, hy - 2), (hx - 3, hy + 7), (hx - 7, hy + 6)], fill=OUTLINE)
        c.polygon([(hx - 4.8, hy - 1.5), (hx - 2.6, hy - 1.5), (hx - 3.4, hy + 6), (hx - 6.2, hy + 5.2)],
                  fill=look.hair)
    c.circle(hx, hy, r + 0.8, fill=OUTLINE)
    c.circle(hx, hy, r, fill=look.skin)
    c.ellipse(hx - 1.4, hy + 1.6, 2.6, 2.2, fill=shade(look.skin, 1.12))
    # Hair on top.
    if look.hair_style in ("short", "long"):
        c.ellipse(hx - 0.6, hy - 2.4, 5.2, 3.0, fill=look.hair)
    elif look.hair_style == "spiky":
        c.polygon([(hx - 5.5, hy - 0.5), (hx - 6.5, hy - 5), (hx - 3, hy - 4.5), (hx - 2, hy - 8),
                   (hx + 0.5, hy - 5.2), (hx + 3.5, hy - 7), (hx + 3.5, hy - 3.8), (hx + 5.4, hy - 2.2),
                   (hx + 2, hy - 2.2)], fill=look.hair)
    elif look.hair_style == "mohawk":
        c.polygon([(hx - 5, hy - 2.5), (hx - 3.5, hy - 8.5), (hx - 1, hy - 6), (hx + 1, hy - 9.5),
                   (hx + 2.5, hy - 5), (hx + 1, hy - 3.5)], fill=look.hair)
    elif look.hair_style == "helmet":
        c.ellipse(hx, hy - 1.5, 5.6, 4.2, fill=look.hair)
        c.rect(hx - 5.6, hy - 1.6, hx + 5.6, hy + 0.2, fill=shade(look.hair, 0.6))
    if look.hero:
        c.rect(hx - 5, hy - 3.4, hx + 5.2, hy - 1.9, fill=look.accent)
    # Face: the fighter looks to the right.
    ex = hx + 2.2
    if look.mask:
        c.rect(hx - 1.5, hy - 1.2, hx + 5.4, hy + 1.8, fill=look.mask, radius=0.8)
        c.ellipse(ex, hy + 0.3, 1.1, 0.8, fill=look.eye)
        c.ellipse(ex + 2.2, hy + 0.3, 0.8, 0.7, fill=look.eye)
    elif frame in (7, 8):
        # Dizzy eyes.
        c.line([(ex - 0.9, hy - 0.6), (ex + 0.9, hy + 1.2)], 0.6, OUTLINE)
        c.line([(ex - 0.9, hy + 1.2), (ex + 0.9, hy - 0.6)], 0.6, OUTLINE)
    else:
        c.ellipse(ex, hy + 0.2, 1.0, 1.3, fill=(255, 255, 255))
        c.ellipse(ex + 0.35, hy + 0.3, 0.55, 0.8, fill=OUTLINE)
        c.line([(ex - 1.2, hy - 1.6), (ex + 1.1, hy - 1.2)], 0.5, OUTLINE)
    if not look.mask and frame not in (7, 8):
        c.line([(hx + 2.2, hy + 3.2), (hx + 3.8, hy + 2.9)], 0.45, shade(look.skin, 0.55))


def _torso(c, look, pose):
    (nx, ny), (px, py) = pose["neck"], pose["hip"]
    w = 6.2 * look.build
    _chain(c, [(nx, ny + 1), (px, py - 1)], w, look.top)
    # Shirt shading and trim.
    c.line([(nx + 0.9, ny + 1.5), (px + 0.9, py - 1.5)], w * 0.35, shade(look.top, 1.25))
    c.line([(px - w / 2 + 0.6, py - 0.6), (px + w / 2 - 0.6, py - 0.6)], 1.3,
           (245, 245, 245) if look.hero else look.accent)


def draw_fighter(slot, frame, scale):
    look = LOOKS[slot]
    pose = POSES[frame]
    c = Canvas(CELL, CELL, scale)
    arm_w, leg_w = 2.6 * look.build, 3.2 * look.build
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
    c.line([(foot[0] - 1.2 * dx, foot[1] - 0.6), (foot[0] + 1.6 * dx, foot[1] - 0.4)], 2.4, OUTLINE)
    c.line([(foot[0] - 1.2 * dx, foot[1] - 0.6), (foot[0] + 1.6 * dx, foot[1] - 0.4)], 1.3, colour)


def _fist(c, look, hand, light):
    glove = look.accent if look.hero else shade(look.skin, 0.95)
    c.circle(hand[0], hand[1], 2.2, fill=OUTLINE)
    c.circle(hand[0], hand[1], 1.5, fill=shade(glove, light))


def _swoosh(c, at, colour):
    x, y = at
    for i, a in enumerate((0.9, 0.6, 0.35)):
        c.arc(x - 3 - i, y, 4.5 + i * 1.3, 30, 150, 0.7, (255, 255, 255, int(230 * a)))
    c.circle(x + 1.5, y, 1.0, fill=(255, 255, 220, 220))


def _stars(c, head):
    x, y = head
    for dx, dy in ((-5, -6), (2, -7.5), (6, -4)):
        c.star(x + dx, y + dy, 1.8, 0.7, 4, (255, 240, 90))
