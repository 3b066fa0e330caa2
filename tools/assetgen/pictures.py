"""The table of every picture the game loads: file, cell size, frame count and
the function that draws one frame at a resolution set."""
from functools import partial

from . import backdrops, badges, fighters, fonts, logos, parts, widgets


class Picture:
    def __init__(self, name, cell_w, cell_h, frames, draw):
        self.name, self.cell_w, self.cell_h, self.frames, self.draw = name, cell_w, cell_h, frames, draw


PICTURES = [Picture("plr_%d" % s, 36, 36, 9, partial(fighters.draw_fighter, s)) for s in range(1, 10)] + [
    Picture("logotop", 256, 128, 1, logos.draw_logotop),
    Picture("logobot", 256, 128, 1, logos.draw_logobot),
    Picture("BadgesA", 64, 64, 64, badges.draw_badge),
    Picture("common/circle", 256, 256, 4, widgets.draw_circle),
    Picture("common/light", 32, 32, 4, widgets.draw_light),
    Picture("fonts/shadow_editundo", 16, 16, 128, fonts.draw_game_glyph),
    Picture("common/DorpLogo", 256, 256, 1, logos.draw_maker),
    Picture("common/dpad", 32, 32, 16, widgets.draw_dpad),
    Picture("common/Buttons", 64, 64, 16, widgets.draw_button),
    Picture("parts", 8, 8, 256, parts.draw_part),
    Picture("common/icons", 32, 32, 16, widgets.draw_icon),
    Picture("logo", 256, 128, 1, logos.draw_logo),
    Picture("menu", 256, 256, 4, backdrops.draw_backdrop),
]

# Grid widths that keep the sheets close to square (rows fill left to right).
COLUMNS = {"fonts/shadow_editundo": 16, "parts": 16, "BadgesA": 8}
