#!/usr/bin/python3
"""Draws one picture of the asset table at one resolution set onto a
checkerboard, enlarged, for a quick look: preview_picture.py NAME [SCALE] [ZOOM] [OUT]."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen.contact import contact_sheet  # noqa: E402
from assetgen.pictures import COLUMNS, PICTURES  # noqa: E402
from assetgen.sheet import make_sheet  # noqa: E402


def main():
    name = sys.argv[1]
    scale = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    zoom = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    out = sys.argv[4] if len(sys.argv) > 4 else "/tmp/preview.png"
    pic = next(p for p in PICTURES if p.name == name)
    sheet = make_sheet([pic.draw(i, scale) for i in range(pic.frames)], COLUMNS.get(name))
    contact_sheet([(name, sheet, zoom)], width=max(400, sheet.width * zoom + 40)).save(out)


if __name__ == "__main__":
    main()
