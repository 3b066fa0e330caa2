"""The DejaVu typefaces from Debian's fonts-dejavu-core, cached by size."""
import functools

from PIL import ImageFont

DEJAVU_DIR = "/usr/share/fonts/truetype/dejavu/"
FILES = {
    "sans-bold": "DejaVuSans-Bold.ttf",
    "sans-cond-bold": "DejaVuSansCondensed-Bold.ttf",
    "sans-bold-oblique": "DejaVuSans-BoldOblique.ttf",
    "mono-bold": "DejaVuSansMono-Bold.ttf",
}


@functools.lru_cache(maxsize=None)
def font(name, size):
    return ImageFont.truetype(DEJAVU_DIR + FILES[name], max(1, int(round(size))))
