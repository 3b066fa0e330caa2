"""Title logo layers, the game logo and the maker's logo."""
import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from .canvas import Canvas, gradient
from .typeface import font

TITLE = ("VORTAN", "RALLY RUN")


def _text_mask(c, text, size, cx, cy, face="sans-bold-oblique", spacing=0.0, max_width=None):
    """An 'L' image holding the text, centred on (cx, cy) in units, shrunk to
    max_width units when given."""
    if max_width:
        probe = font(face, 100)
        width = sum(probe.getlength(ch) for ch in text) / 100.0
        size = min(size, (max_width - spacing * (len(text) - 1)) / width)
    f = font(face, size * c.k)
    mask = Image.new("L", c.img.size, 0)
    d = ImageDraw.Draw(mask)
    if spacing:
        widths = [f.getlength(ch) for ch in text]
        total = sum(widths) + spacing * c.k * (len(text) - 1)
        x = cx * c.k - total / 2
        for ch, w in zip(text, widths):
            d.text((x + w / 2, cy * c.k), ch, font=f, fill=255, anchor="mm")
            x += w + spacing * c.k
    else:
        d.text((cx * c.k, cy * c.k), text, font=f, fill=255, anchor="mm")
    return mask


def _title_masks(c):
    top = _text_mask(c, TITLE[0], 62, 126, 50, spacing=1.0, max_width=226)
    bottom = _text_mask(c, TITLE[1], 30, 134, 98, spacing=2.0, max_width=190)
    return top, bottom


def _grow(mask, px):
    """Dilates a mask by about px pixels with rounded corners (blur, then a steep ramp)."""
    if px < 1:
        return mask
    blurred = mask.filter(ImageFilter.GaussianBlur(px * 0.55))
    return blurred.point(lambda v: max(0, min(255, (v - 12) * 10)))


def _fill(size, mask, image):
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    out.paste(image, (0, 0), mask)
    return out


def draw_logotop(frame, scale):
    """Front layer: chrome letters with a dark outline."""
    c = Canvas(256, 128, scale)
    top, bottom = _title_masks(c)
    letters = ImageChops.lighter(top, bottom)
    k = c.k
    outline = _grow(letters, max(1, int(round(2.2 * k))))
    c.img.paste((20, 10, 40, 255), (0, 0), outline)
    chrome_top = gradient(c.img.width, c.img.height,
                          [(0, (255, 255, 255)), (0.28, (200, 230, 255)), (0.40, (70, 120, 220)),
                           (0.48, (255, 250, 210)), (0.62, (255, 190, 60)), (1, (255, 120, 30))])
    c.img.alpha_composite(_fill(c.img.size, top, chrome_top))
    chrome_bottom = gradient(c.img.width, c.img.height,
                             [(0, (255, 255, 255)), (0.70, (255, 255, 255)), (0.78, (255, 220, 120)),
                              (0.86, (255, 120, 60)), (1, (220, 40, 80))])
    c.img.alpha_composite(_fill(c.img.size, bottom, chrome_bottom))
    # A thin highlight line across the big word.
    shine = Image.new("L", c.img.size, 0)
    ImageDraw.Draw(shine).rectangle([0, int(33 * k), c.img.width, int(35 * k)], fill=150)
    c.img.alpha_composite(_fill(c.img.size, ImageChops.multiply(top, shine),
                                Image.new("RGBA", c.img.size, (255, 255, 255, 255))))
    return c.result()


def draw_logobot(frame, scale):
    """Back layer: a hot glow and speed streaks that flicker under the letters."""
    c = Canvas(256, 128, scale)
    top, bottom = _title_masks(c)
    letters = ImageChops.lighter(top, bottom)
    k = c.k
    wide = _grow(letters, max(1, int(round(5 * k))))
    glow = wide.filter(ImageFilter.GaussianBlur(5 * k))
    c.img.paste((255, 60, 160, 255), (0, 0), glow)
    hot = _grow(letters, max(1, int(round(3 * k))))
    c.img.paste((255, 150, 40, 255), (0, 0), hot.filter(ImageFilter.GaussianBlur(1.2 * k)))
    # Speed streaks trailing to the left.
    streaks = c.layer()
    for i, (y, length) in enumerate(((26, 60), (38, 90), (52, 70), (66, 50), (92, 80), (104, 56))):
        x1 = 30 + (i % 3) * 6
        streaks.line([(x1 - length * 0.4, y), (x1, y)], 2.5, (255, 220, 90, 200))
        streaks.line([(x1 - length * 0.4 + 10, y + 3), (x1 + 4, y + 3)], 1.2, (120, 220, 255, 180))
    c.img.alpha_composite(streaks.img)
    # Shadow copy of the letters, offset down and right.
    shadow = ImageChops.offset(letters, int(3 * k), int(3 * k))
    c.img.paste((40, 0, 60, 255), (0, 0), shadow)
    return c.result()


def draw_logo(frame, scale):
    """The game logo: both title layers together."""
    img = draw_logobot(0, scale)
    img.alpha_composite(draw_logotop(0, scale))
    return img


def draw_maker(frame, scale):
    """The maker's logo: a round emblem with a comet over the word PELLIX. The menu
    draws it small at the top of the screen with a list heading just below, so all of
    it keeps to rows 44..202 of its cell: the top of the cell may lie above the screen
    and the bottom over the heading."""
    c = Canvas(256, 256, scale)
    cx, cy, k = 128, 106, 0.8  # the emblem's middle and its size against the ring of 76 units
    c.circle(cx, cy, 76 * k, fill=(20, 20, 40))
    c.circle(cx, cy, 70 * k, fill=(0, 110, 230))
    c.circle(cx, cy, 62 * k, fill=(10, 40, 110))
    # Comet: a white head with a warm tail sweeping round the ring, built from
    # many thin overlapping discs and softened so the tail reads as one stroke.
    tail = c.layer()
    steps = 120
    for i in range(steps):
        t = i / (steps - 1)
        a = math.radians(210 + t * 140)
        tail.circle(cx + 46 * k * math.sin(a), cy - 46 * k * math.cos(a), (1.5 + t * 12) * k,
                    fill=(255, int(120 + 120 * t), int(40 + 160 * t), int(10 + 70 * t)))
    c.img.alpha_composite(tail.blurred(1.5 * k).img)
    a = math.radians(350)
    hx, hy = cx + 46 * k * math.sin(a), cy - 46 * k * math.cos(a)
    halo = c.layer()
    halo.circle(hx, hy, 20 * k, fill=(255, 230, 170, 160))
    c.img.alpha_composite(halo.blurred(5 * k).img)
    c.circle(hx, hy, 14 * k, fill=(255, 255, 255))
    c.circle(hx - 2 * k, hy + 2 * k, 9 * k, fill=(255, 244, 210))
    c.star(cx, cy + 6 * k, 26 * k, 10 * k, 4, (255, 255, 255), rotation=0)
    c.star(cx, cy + 6 * k, 14 * k, 5 * k, 4, (120, 220, 255), rotation=45)
    letters = _text_mask(c, "PELLIX", 34, cx, 184, face="sans-bold", spacing=3.5)
    c.img.paste((20, 20, 40, 255), (0, 0), _grow(letters, max(1, int(round(2 * c.k)))))
    c.img.paste((255, 255, 255, 255), (0, 0), letters)
    return c.result()
