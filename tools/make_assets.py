#!/usr/bin/python3
"""Rebuilds the game's data folder: every picture at its three resolution
sets, the fonts, the sound effects and the tune, and a contact sheet.

Usage: make_assets.py [--out DIR] [--only pictures|sounds|music] [--music-wav PATH]
Output is deterministic: running it twice gives identical files.
"""
import argparse
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import contact, fonts, icon, sounds, tune, wavfile  # noqa: E402
from assetgen.pictures import COLUMNS, PICTURES  # noqa: E402
from assetgen.sheet import save_png, write_picture  # noqa: E402

DEJAVU_COPYRIGHT = "/usr/share/doc/fonts-dejavu-core/copyright"
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LICENCE_NOTE = """Glyphs in fonts/shadow_editundo*.png and tarn_font.png are rendered from
DejaVu Sans Condensed Bold, DejaVu Sans Bold and DejaVu Sans Mono Bold
(Debian package fonts-dejavu-core). DejaVu fonts are free software under the
Bitstream Vera Fonts licence with DejaVu changes in the public domain; see
fonts/DejaVu-copyright.txt. The button glyphs, all other
pictures, the sound effects and the tune are made by tools/make_assets.py.
"""


def build_pictures(out):
    entries = []
    for pic in PICTURES:
        small = write_picture(out, pic.name, pic.draw, pic.cell_w, pic.cell_h, pic.frames,
                              COLUMNS.get(pic.name))
        zoom = 4 if pic.cell_w <= 16 else 2 if pic.cell_w <= 36 else 1
        entries.append((pic.name, small, zoom))
    tarn = fonts.draw_default_font()
    save_png(tarn, os.path.join(out, "tarn_font.png"))
    entries.append(("tarn_font", tarn, 1))
    with open(os.path.join(out, "fonts", "LICENSE-fonts.txt"), "w") as f:
        f.write(LICENCE_NOTE)
    shutil.copyfile(DEJAVU_COPYRIGHT, os.path.join(out, "fonts", "DejaVu-copyright.txt"))
    save_png(contact.contact_sheet(entries), os.path.join(REPO, "docs", "contact_sheet.png")
             if out == default_out() else os.path.join(out, "contact_sheet.png"))


def build_music(out, wav_path):
    """Renders the loop to a WAV and encodes it; the Ogg serial number is fixed
    so the encoder's output does not vary between runs."""
    samples = tune.render()
    wavfile.write_wav(wav_path, samples, tune.RATE, 2)
    if not shutil.which("oggenc"):
        sys.exit("oggenc (vorbis-tools) is needed to encode the tune")
    target = os.path.join(out, "sfx", "gale.ogg")
    subprocess.run(["oggenc", "--quiet", "-q", "3", "--serial", "4150", "-o", target, wav_path], check=True)


def default_out():
    return os.path.join(REPO, "data")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=default_out(), help="data folder to write (default: the repository's)")
    ap.add_argument("--only", choices=("pictures", "sounds", "music"), help="build one group only")
    ap.add_argument("--music-wav", help="where to keep the tune's WAV (default: beside the Ogg, then removed)")
    args = ap.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    if args.only in (None, "pictures"):
        build_pictures(out)
        # The desktop icon is installed with the game but is not game data.
        icons = os.path.join(REPO, "packaging", "icons") if out == default_out() else os.path.join(out, "icons")
        icon.write_icons(icons)
    if args.only in (None, "sounds"):
        sounds.write_sounds(out)
    if args.only in (None, "music"):
        wav = args.music_wav or os.path.join(out, "sfx", "gale.wav")
        build_music(out, wav)
        if not args.music_wav:
            os.remove(wav)


if __name__ == "__main__":
    main()
