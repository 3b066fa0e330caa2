"""Picture files: frames laid out in rows of equal cells, in three resolution sets."""
import math
import os

from PIL import Image

# Resolution sets: factor and file name suffix.
RESOLUTION_SETS = ((1, ""), (2, "-hd"), (4, "-hd2"))


def columns_for(frames):
    """Grid width: the rows fill left to right, so any column count works;
    a near-square grid keeps textures small in both directions."""
    return max(1, int(math.ceil(math.sqrt(frames))))


def make_sheet(cells, cols=None):
    cols = cols or columns_for(len(cells))
    w, h = cells[0].size
    rows = (len(cells) + cols - 1) // cols
    sheet = Image.new("RGBA", (w * cols, h * rows), (0, 0, 0, 0))
    for i, cell in enumerate(cells):
        if cell.size != (w, h):
            raise ValueError("cell %d is %s, expected %s" % (i, cell.size, (w, h)))
        sheet.paste(cell, ((i % cols) * w, (i // cols) * h))
    return sheet


def save_png(img, path):
    """Writes a PNG deterministically (no time stamps, fixed compression)."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if img.mode == "RGBA" and img.getextrema()[3][0] == 255:
        img = img.convert("RGB")
    img.save(path, format="PNG", optimize=True)


def write_picture(out_dir, base, draw_frame, cell_w, cell_h, frames, cols=None):
    """Draws every frame at each resolution set and saves base.png, base-hd.png, base-hd2.png.

    draw_frame(frame, scale) returns an RGBA image of cell_w*scale x cell_h*scale.
    Returns the set-1 sheet for the contact sheet.
    """
    first = None
    for scale, suffix in RESOLUTION_SETS:
        cells = [draw_frame(i, scale) for i in range(frames)]
        for i, c in enumerate(cells):
            if c.size != (cell_w * scale, cell_h * scale):
                raise ValueError("%s frame %d has size %s" % (base, i, c.size))
        sheet = make_sheet(cells, cols)
        save_png(sheet, os.path.join(out_dir, base + suffix + ".png"))
        if first is None:
            first = sheet
    return first
