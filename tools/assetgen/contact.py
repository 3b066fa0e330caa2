"""A contact sheet: every picture of the smallest set on a checkerboard,
labelled, plus enlarged previews of the small sprites and the font."""
from PIL import Image, ImageDraw

from .typeface import font


def _checker(w, h, size=8):
    img = Image.new("RGBA", (w, h), (60, 64, 78, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, h, size):
        for x in range((y // size) % 2 * size, w, size * 2):
            d.rectangle([x, y, x + size - 1, y + size - 1], fill=(74, 78, 94, 255))
    return img


def contact_sheet(entries, width=1400):
    """entries: list of (label, image, zoom)."""
    label_font = font("sans-bold", 13)
    placed, x, y, row_h = [], 10, 10, 0
    for label, img, zoom in entries:
        w, h = img.width * zoom, img.height * zoom
        if x + w > width - 10 and x > 10:
            x, y = 10, y + row_h + 30
            row_h = 0
        placed.append((label, img, zoom, x, y))
        x += max(w, 120) + 16
        row_h = max(row_h, h)
    total_h = y + row_h + 40
    sheet = Image.new("RGBA", (width, total_h), (30, 32, 40, 255))
    d = ImageDraw.Draw(sheet)
    for label, img, zoom, px, py in placed:
        big = img.resize((img.width * zoom, img.height * zoom), Image.NEAREST) if zoom > 1 else img
        tile = _checker(big.width, big.height)
        tile.alpha_composite(big)
        sheet.paste(tile, (px, py + 18))
        d.text((px, py), label, font=label_font, fill=(230, 230, 240, 255))
    return sheet.convert("RGB")
