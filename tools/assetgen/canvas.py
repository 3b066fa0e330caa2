"""Supersampled drawing surface addressed in picture units.

Every picture is described once in units of its smallest resolution set; the
canvas multiplies by the set's factor and by a supersampling factor, so the
three sets come out of the same description and look alike at their size.
"""
import math

from PIL import Image, ImageDraw, ImageFilter


def premultiplied_resize(img, size, resample=Image.BOX):
    """Resizes without dark fringes: colour is weighted by alpha while filtering."""
    return img.convert("RGBa").resize(size, resample).convert("RGBA")


def rgba(colour, alpha=255):
    if len(colour) == 4:
        return tuple(int(c) for c in colour)
    return (int(colour[0]), int(colour[1]), int(colour[2]), int(alpha))


def mix(a, b, t):
    """Linear blend of two colours (3 or 4 components)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def shade(colour, factor):
    """Darkens (factor < 1) or lightens towards white (factor > 1)."""
    if factor <= 1:
        return tuple(int(c * factor) for c in colour[:3]) + tuple(colour[3:])
    t = min(factor - 1, 1)
    return tuple(int(c + (255 - c) * t) for c in colour[:3]) + tuple(colour[3:])


class Canvas:
    """An RGBA layer of w x h units drawn at `scale` pixels per unit."""

    def __init__(self, w, h, scale, supersample=None):
        self.w, self.h, self.scale = w, h, scale
        self.ss = supersample or (4 if scale == 1 else 2)
        self.k = scale * self.ss
        self.img = Image.new("RGBA", (int(w * self.k), int(h * self.k)), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.img)

    # Coordinates -----------------------------------------------------------
    def p(self, x, y):
        return (x * self.k, y * self.k)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    # Primitives ------------------------------------------------------------
    # ImageDraw replaces pixels; shapes that are not opaque are drawn on a
    # small scratch layer and composited, so they blend like paint.
    def _shape(self, box, colours, paint):
        if all(c is None or len(c) < 4 or c[3] == 255 for c in colours):
            paint(self.draw, 0, 0)
            return
        x0, y0 = max(0, int(box[0]) - 2), max(0, int(box[1]) - 2)
        x1, y1 = min(self.img.width, int(box[2]) + 3), min(self.img.height, int(box[3]) + 3)
        if x1 <= x0 or y1 <= y0:
            return
        layer = Image.new("RGBA", (x1 - x0, y1 - y0), (0, 0, 0, 0))
        paint(ImageDraw.Draw(layer), x0, y0)
        self.img.alpha_composite(layer, (x0, y0))

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=0):
        k = self.k
        box = [(cx - rx) * k, (cy - ry) * k, (cx + rx) * k, (cy + ry) * k]
        fill, outline = fill and rgba(fill), outline and rgba(outline)
        self._shape(box, (fill, outline), lambda d, ox, oy: d.ellipse(
            [box[0] - ox, box[1] - oy, box[2] - ox, box[3] - oy], fill=fill, outline=outline,
            width=int(round(width * k))))

    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        self.ellipse(cx, cy, r, r, fill, outline, width)

    def cut_circle(self, cx, cy, r):
        """Makes a round hole: the pixels become fully transparent."""
        k = self.k
        self.draw.ellipse([(cx - r) * k, (cy - r) * k, (cx + r) * k, (cy + r) * k], fill=(0, 0, 0, 0))

    def polygon(self, points, fill=None, outline=None):
        pts = self.pts(points)
        box = _bounds(pts)
        fill, outline = fill and rgba(fill), outline and rgba(outline)
        self._shape(box, (fill, outline), lambda d, ox, oy: d.polygon(
            [(x - ox, y - oy) for x, y in pts], fill=fill, outline=outline))

    def rect(self, x0, y0, x1, y1, fill=None, radius=0, outline=None, width=0):
        k = self.k
        box = [x0 * k, y0 * k, x1 * k - 1, y1 * k - 1]
        fill, outline = fill and rgba(fill), outline and rgba(outline)
        w = int(round(width * k))

        def paint(d, ox, oy):
            b = [box[0] - ox, box[1] - oy, box[2] - ox, box[3] - oy]
            if radius:
                d.rounded_rectangle(b, radius=radius * k, fill=fill, outline=outline, width=w)
            else:
                d.rectangle(b, fill=fill, outline=outline, width=w)
        self._shape(box, (fill, outline), paint)

    def line(self, points, width, fill, round_caps=True):
        """A polyline of the given width in units, with round joints."""
        pts = self.pts(points)
        w = max(1, int(round(width * self.k)))
        r = width * self.k / 2
        fill = rgba(fill)
        bx = _bounds(pts)
        box = [bx[0] - r, bx[1] - r, bx[2] + r, bx[3] + r]

        def paint(d, ox, oy):
            p = [(x - ox, y - oy) for x, y in pts]
            d.line(p, fill=fill, width=w, joint="curve")
            if round_caps:
                for x, y in p:
                    d.ellipse([x - r, y - r, x + r, y + r], fill=fill)
        self._shape(box, (fill,), paint)

    def arc(self, cx, cy, r, start, end, width, fill):
        """Arc in degrees clockwise from straight up."""
        k = self.k
        box = [(cx - r) * k, (cy - r) * k, (cx + r) * k, (cy + r) * k]
        fill = rgba(fill)
        self._shape(box, (fill,), lambda d, ox, oy: d.arc(
            [box[0] - ox, box[1] - oy, box[2] - ox, box[3] - oy], start - 90, end - 90, fill=fill,
            width=max(1, int(round(width * k)))))

    def ellipse_arc(self, cx, cy, rx, ry, start, end, width, fill):
        """Arc of an ellipse; angles in degrees as Pillow counts them (0 = right, clockwise)."""
        k = self.k
        box = [(cx - rx) * k, (cy - ry) * k, (cx + rx) * k, (cy + ry) * k]
        fill = rgba(fill)
        self._shape(box, (fill,), lambda d, ox, oy: d.arc(
            [box[0] - ox, box[1] - oy, box[2] - ox, box[3] - oy], start, end, fill=fill,
            width=max(1, int(round(width * k)))))

    def star(self, cx, cy, r_out, r_in, points, fill, rotation=0.0):
        self.polygon(star_points(cx, cy, r_out, r_in, points, rotation), fill=fill)

    def text(self, x, y, s, font, fill, anchor="mm"):
        self.draw.text(self.p(x, y), s, font=font, fill=rgba(fill), anchor=anchor)

    def blurred(self, radius_units):
        out = Canvas(self.w, self.h, self.scale, self.ss)
        # Blurred with colour weighted by alpha, so edges fade out instead of darkening.
        out.img = self.img.convert("RGBa").filter(ImageFilter.GaussianBlur(radius_units * self.k)).convert("RGBA")
        out.draw = ImageDraw.Draw(out.img)
        return out

    def rim(self, width, colour):
        """Puts an edge of `colour`, `width` units wide, round everything drawn so far."""
        grow = 2 * max(1, int(round(width * self.k))) + 1
        solid = self.img.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
        edge = Image.new("RGBA", self.img.size, rgba(colour))
        edge.putalpha(solid.filter(ImageFilter.MaxFilter(grow)))
        edge.alpha_composite(self.img)
        self.img = edge
        self.draw = ImageDraw.Draw(self.img)

    def layer(self):
        return Canvas(self.w, self.h, self.scale, self.ss)

    def result(self):
        size = (int(self.w * self.scale), int(self.h * self.scale))
        if self.ss == 1:
            return self.img
        return premultiplied_resize(self.img, size)


def _bounds(pts):
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return [min(xs), min(ys), max(xs), max(ys)]


def star_points(cx, cy, r_out, r_in, points, rotation=0.0):
    pts = []
    for i in range(points * 2):
        a = math.radians(rotation + i * 180.0 / points)
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    return pts


def gradient(w, h, stops, horizontal=False):
    """An opaque image filled with a linear gradient through (t, colour) stops."""
    n = w if horizontal else h
    row = []
    for i in range(n):
        t = i / max(1, n - 1)
        for j in range(len(stops) - 1):
            t0, c0 = stops[j]
            t1, c1 = stops[j + 1]
            if t <= t1 or j == len(stops) - 2:
                u = 0 if t1 == t0 else min(max((t - t0) / (t1 - t0), 0), 1)
                row.append(rgba(mix(c0, c1, u)))
                break
    if horizontal:
        strip = Image.new("RGBA", (n, 1))
        strip.putdata(row)
        return strip.resize((w, h), Image.NEAREST)
    strip = Image.new("RGBA", (1, n))
    strip.putdata(row)
    return strip.resize((w, h), Image.NEAREST)
