"""The desktop icon: a chrome "V" with speed streaks on a night-blue tile, drawn at
each size of the hicolor icon theme from one description in 64 units."""
import os

from PIL import Image, ImageDraw, ImageFilter

from .canvas import Canvas, gradient
from .sheet import save_png
from .typeface import font

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
NAME = "vortan"
UNITS = 64


def _grow(mask, px):
    """Dilates a mask by about px pixels with rounded corners."""
    blurred = mask.filter(ImageFilter.GaussianBlur(px * 0.55))
    return blurred.point(lambda v: max(0, min(255, (v - 12) * 10)))


def _tile(c):
    """The rounded tile: a vertical night gradient inside a bright rim."""
    k = c.k
    rim = Image.new("L", c.img.size, 0)
    ImageDraw.Draw(rim).rounded_rectangle([2 * k, 2 * k, 62 * k, 62 * k], radius=12 * k, fill=255)
    c.img.paste((60, 110, 230, 255), (0, 0), rim)
    inner = Image.new("L", c.img.size, 0)
    ImageDraw.Draw(inner).rounded_rectangle([4 * k, 4 * k, 60 * k, 60 * k], radius=10 * k, fill=255)
    night = gradient(c.img.width, c.img.height, [(0, (30, 20, 90)), (0.6, (8, 8, 50)), (1, (0, 0, 30))])
    c.img.paste(night, (0, 0), inner)


def _letter(c):
    """The "V" as on the title: a dark outline, chrome from white through blue to orange."""
    k = c.k
    mask = Image.new("L", c.img.size, 0)
    ImageDraw.Draw(mask).text((35 * k, 34 * k), "V", font=font("sans-bold-oblique", 52 * k), fill=255,
                              anchor="mm")
    c.img.paste((20, 10, 40, 255), (0, 0), _grow(mask, max(1, int(round(3 * k)))))
    chrome = gradient(c.img.width, c.img.height,
                      [(0, (255, 255, 255)), (0.30, (200, 230, 255)), (0.44, (70, 120, 220)),
                       (0.52, (255, 250, 210)), (0.66, (255, 190, 60)), (0.85, (255, 120, 30))])
    c.img.paste(chrome, (0, 0), mask)


def _streaks(c):
    for y, x0, x1 in ((20, 7, 18), (30, 5, 16), (40, 7, 14)):
        c.line([(x0, y), (x1, y)], 3, (255, 210, 80))


def draw_icon(size):
    scale = size / UNITS
    c = Canvas(UNITS, UNITS, scale, supersample=max(2, 512 // size))
    _tile(c)
    _streaks(c)
    _letter(c)
    img = c.result()
    if img.size != (size, size):
        raise ValueError("icon %d came out %s" % (size, img.size))
    return img


def write_icons(root):
    """Writes root/hicolor/NxN/apps/vortan.png for every size."""
    for size in SIZES:
        save_png(draw_icon(size), os.path.join(root, "hicolor", "%dx%d" % (size, size), "apps", NAME + ".png"))
