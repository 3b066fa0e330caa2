"""The game's text font and the runtime's default font.

"fonts/shadow_editundo": 16x16 cells, 128 frames. Frame n shows character
n + 32 for n < 96, with a drop shadow. The text routine draws a glyph at the
pen and then advances 7 units plus the character's adjustment (more for w/m,
less for i/l and friends), 10 units per line. So each glyph owns the box from
3.5 units left of the cell's middle to its own advance: the ink is centred in
that box and squeezed to leave a one-unit gap, and narrow letters sit a little
left, wide ones a little right. Frames 96..111 are pad button glyphs and
112..127 the same controls as keyboard keys (shown when the keyboard started
the round); with their +4 adjustment they sit two units right of the middle.

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
    advance = ADVANCE + spacing_adjust(ch)
    room = (advance - 1.2) * scale * 4
    w = ink.width if ink.width <= room else int(room)
    ink = ink.resize((max(1, int(round(w / 4))), CELL * scale), Image.LANCZOS)
    centre = (CELL / 2 - ADVANCE / 2 + advance / 2) * scale
    cell.paste(ink, (int(round(centre - ink.width / 2)), 0))
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
BUTTON_SHIFT = 2  # units right of the cell's middle: half the buttons' extra advance


def _pad_glyph(index, scale):
    label, kind = PAD_GLYPHS[index]
    c = Canvas(CELL, CELL, scale)
    dark = (10, 10, 20)
    if kind in ("face", "face-lit"):
        col = FACE_COLOURS[index] if kind == "face" else (255, 255, 255)
        c.circle(8.5, 8.5, 5.2, fill=dark + (200,))
        c.circle(8, 8, 5.0, fill=col)
        c.ellipse(7, 6, 3, 1.6, fill=(255, 255, 255, 110))
        if label:
            c.text(8, 8.4, label, font("sans-bold", 7.5 * c.k), (255, 255, 255))
    elif kind in ("shoulder", "shoulder-lit"):
        col = (120, 125, 150) if kind == "shoulder" else (255, 255, 255)
        c.rect(3.1, 4.6, 13.6, 12.6, fill=dark + (200,), radius=3)
        c.rect(2.5, 4, 13, 12, fill=col, radius=3)
        if label:
            c.text(7.75, 8.2, label, font("sans-bold", 7 * c.k), (255, 255, 255))
    elif kind == "pill":
        c.rect(3.1, 5.6, 13.6, 11.6, fill=dark + (200,), radius=3)
        c.rect(2.5, 5, 13, 11, fill=(90, 95, 120), radius=3)
        c.text(7.75, 8.2, label, font("sans-bold", 4.2 * c.k), (255, 255, 255))
    elif kind == "dpad":
        for dx, dy, col in ((0.6, 0.6, dark + (200,)), (0, 0, (150, 155, 175))):
            c.rect(6.2 + dx, 2.5 + dy, 9.8 + dx, 13.5 + dy, fill=col, radius=1)
            c.rect(2.5 + dx, 6.2 + dy, 13.5 + dx, 9.8 + dy, fill=col, radius=1)
        arms = {"up": (6.2, 2.5, 9.8, 6.2), "down": (6.2, 9.8, 9.8, 13.5), "left": (2.5, 6.2, 6.2, 9.8),
                "right": (9.8, 6.2, 13.5, 9.8)}
        if label:
            c.rect(*arms[label], fill=(255, 230, 80), radius=1)
    else:
        c.circle(8.6, 8.6, 5.4, fill=dark + (200,))
        c.circle(8, 8, 5.2, fill=(90, 95, 120))
        c.circle(8, 8, 3.0, fill=(170, 175, 195))
    return c.result()


def _key_glyph(index, scale):
    label = KEY_GLYPHS[index]
    c = Canvas(CELL, CELL, scale)
    c.rect(3.1, 3.1, 13.6, 14.6, fill=(10, 10, 20, 200), radius=2.5)
    c.rect(2.5, 2.5, 13, 14, fill=(235, 235, 240), radius=2.5)
    c.rect(3.5, 3.3, 12, 11.8, fill=(255, 255, 255), radius=2)
    if label:
        c.text(7.75, 7.8, label, font("sans-bold", 8 * c.k), (30, 30, 50))
    return c.result()


def _shifted(img, scale):
    out = Image.new("RGBA", img.size, (0, 0, 0, 0))
    out.paste(img, (BUTTON_SHIFT * scale, 0))
    return out


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
        return _shifted(_pad_glyph(frame - 96, scale), scale)
    return _shifted(_key_glyph(frame - 112, scale), scale)


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
