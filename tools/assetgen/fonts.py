"""The game's text font and the runtime's default font.

"fonts/shadow_editundo": 16x16 cells, 128 frames. Frame n shows character
n + 32 for n < 96, centred in its cell with a drop shadow; the text routine
advances 7 units per character (more for w/m, less for i/l and friends) and
10 units per line, so each glyph is squeezed to leave a one-pixel gap at its
own advance. Frames 96..111 are pad button glyphs and 112..127 the same
controls as keyboard keys (shown when the keyboard started the round).

"tarn_font.png": 96 cells side by side for codes 32..127, each with a clear
one-pixel border left and right.
"""
from PIL import Image, ImageDraw

from .canvas import Canvas
from .typeface import font

CELL = 16
ADVANCE = 7
FACE = "sans-cond-bold"
POINT = 10.5
BASELINE = 11.5


def spacing_adjust(ch):
    """Extra advance in units that the text routine gives a character."""
    if ch in "wm":
        return 2
    if ch in "WM":
        return 1
    if ch in "ifl":
        return -3
    if ch in "jskrztn":
        return -1
    return 0


def _glyph_mask(ch, scale):
    """The glyph as an 'L' image of one cell, squeezed to its advance."""
    f = font(FACE, POINT * scale * 4)
    big = Image.new("L", (CELL * scale * 4 * 2, CELL * scale * 4), 0)
    ImageDraw.Draw(big).text((big.width // 2, BASELINE * scale * 4), ch, font=f, fill=255, anchor="ms")
    cell = Image.new("L", (CELL * scale, CELL * scale), 0)
    box = big.getbbox()
    if not box:
        return cell
    ink = big.crop((box[0], 0, box[2], big.height))
    room = (ADVANCE + spacing_adjust(ch) - 1.2) * scale * 4
    w = ink.width if ink.width <= room else int(room)
    ink = ink.resize((max(1, int(round(w / 4))), CELL * scale), Image.LANCZOS)
    cell.paste(ink, ((CELL * scale - ink.width) // 2, 0))
    return cell


def _with_shadow(mask, scale, colour=(255, 255, 255)):
    img = Image.new("RGBA", mask.size, (0, 0, 0, 0))
    shadow = Image.new("L", mask.size, 0)
    shadow.paste(mask, (scale, scale))
    img.paste((0, 0, 0, 200), (0, 0), shadow)
    img.paste(colour + (255,), (0, 0), mask)
    return img


# Button glyphs: (label, kind) for frames 96..111; kind picks the shape.
PAD_GLYPHS = [("1", "face"), ("2", "face"), ("3", "face"), ("4", "face"), ("L", "shoulder"),
              ("R", "shoulder"), ("SEL", "pill"), ("ST", "pill"), ("", "dpad"), ("up", "dpad"),
              ("down", "dpad"), ("left", "dpad"), ("right", "dpad"), ("", "face-lit"),
              ("", "shoulder-lit"), ("", "stick")]
KEY_GLYPHS = ["J", "K", "L", "I", "U", "O", "Q", "E", "F", "W", "S", "A", "D", "", "", ""]
FACE_COLOURS = [(60, 200, 90), (230, 60, 60), (60, 120, 240), (240, 200, 40)]


def _pad_glyph(index, scale):
    label, kind = PAD_GLYPHS[index]
    c = Canvas(CELL, CELL, scale)
    dark = (10, 10, 20)
    if kind in ("face", "face-lit"):
        col = FACE_COLOURS[index] if kind == "face" else (255, 255, 255)
        c.circle(8.6, 8.6, 5.6, fill=dark + (200,))
        c.circle(8, 8, 5.3, fill=col)
        c.ellipse(7, 6, 3, 1.6, fill=(255, 255, 255, 110))
        if label:
            c.text(8, 8.4, label, font("sans-bold", 7.5 * c.k), (255, 255, 255))
    elif kind in ("shoulder", "shoulder-lit"):
        col = (120, 125, 150) if kind == "shoulder" else (255, 255, 255)
        c.rect(1.6, 4.6, 15.6, 12.6, fill=dark + (200,), radius=3)
        c.rect(1, 4, 15, 12, fill=col, radius=3)
        if label:
            c.text(8, 8.2, label, font("sans-bold", 7 * c.k), (255, 255, 255))
    elif kind == "pill":
        c.rect(1.6, 5.6, 15.6, 11.6, fill=dark + (200,), radius=3)
        c.rect(1, 5, 15, 11, fill=(90, 95, 120), radius=3)
        c.text(8, 8.2, label, font("sans-bold", 4.6 * c.k), (255, 255, 255))
    elif kind == "dpad":
        for dx, dy, col in ((0.6, 0.6, dark + (200,)), (0, 0, (150, 155, 175))):
            c.rect(6 + dx, 2 + dy, 10 + dx, 14 + dy, fill=col, radius=1)
            c.rect(2 + dx, 6 + dy, 14 + dx, 10 + dy, fill=col, radius=1)
        arms = {"up": (6, 2, 10, 6), "down": (6, 10, 10, 14), "left": (2, 6, 6, 10), "right": (10, 6, 14, 10)}
        if label:
            c.rect(*arms[label], fill=(255, 230, 80), radius=1)
    else:
        c.circle(8.6, 8.6, 6, fill=dark + (200,))
        c.circle(8, 8, 5.6, fill=(90, 95, 120))
        c.circle(8, 8, 3.2, fill=(170, 175, 195))
    return c.result()


def _key_glyph(index, scale):
    label = KEY_GLYPHS[index]
    c = Canvas(CELL, CELL, scale)
    c.rect(2.6, 2.6, 15, 15, fill=(10, 10, 20, 200), radius=2.5)
    c.rect(2, 2, 14, 14, fill=(235, 235, 240), radius=2.5)
    c.rect(3.2, 3, 12.8, 11.8, fill=(255, 255, 255), radius=2)
    if label:
        c.text(8, 7.8, label, font("sans-bold", 8 * c.k), (30, 30, 50))
    return c.result()


def _block_glyph(scale):
    """Code 127 has no printable shape; the font shows a text cursor block there."""
    c = Canvas(CELL, CELL, scale)
    c.rect(5.5, 4.5, 11.5, 13.5, fill=(0, 0, 0, 200))
    c.rect(4.5, 3.5, 10.5, 12.5, fill=(255, 255, 255))
    return c.result()


def draw_game_glyph(frame, scale):
    if frame == 95:
        return _block_glyph(scale)
    if frame < 96:
        ch = chr(frame + 32)
        return _with_shadow(_glyph_mask(ch, scale), scale)
    if frame < 112:
        return _pad_glyph(frame - 96, scale)
    return _key_glyph(frame - 112, scale)


# Default font ------------------------------------------------------------
TARN_W, TARN_H = 10, 16


def draw_default_font():
    f = font("mono-bold", 13)
    strip = Image.new("RGBA", (TARN_W * 96, TARN_H), (0, 0, 0, 0))
    d = ImageDraw.Draw(strip)
    for i in range(96):
        ch = chr(32 + i)
        if i == 95:
            continue
        # The glyph is centred in the 8 inner columns; the border columns stay clear.
        d.text((i * TARN_W + TARN_W / 2, 12), ch, font=f, fill=(255, 255, 255, 255), anchor="ms")
    for i in range(96):
        for y in range(TARN_H):
            strip.putpixel((i * TARN_W, y), (0, 0, 0, 0))
            strip.putpixel((i * TARN_W + TARN_W - 1, y), (0, 0, 0, 0))
    return strip
