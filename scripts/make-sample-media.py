#!/usr/bin/python3
"""Draws the media of the devserver's sample content (devserver/sample/media).

The sample content is that of Basilwick, a made-up recipe-box and grocery app: full-screen story pictures
(1080x1920), banner art at the ratio each sample banner is shown in, and a five-second story video with a
short tune. Pictures with soft light and shadows are JPEG, flat illustrations PNG, and a few pieces WebP,
so that a host shows all three picture formats the SDK decodes. Each group's first picture keeps its
subject in the middle square, since the story bar crops it to the group's bubble.

Needed only to regenerate these files (building and testing use the committed ones), all from Debian:

    apt-get install python3-pil ffmpeg fonts-dejavu-core fonts-dejavu-extra
    scripts/make-sample-media.py [OUTPUT_DIR]

Output is deterministic for the same package versions: scattered details use fixed seeds, and the video is
encoded on one thread with bit-exact flags and without metadata.
"""
import array
import functools
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import wave

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("make-sample-media: needs Pillow (apt-get install python3-pil) and Debian's /usr/bin/python3")

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = "DejaVuSans-Bold.ttf"
REGULAR = "DejaVuSans.ttf"
HEADLINE = "DejaVuSansCondensed-Bold.ttf"

STORY_SIZE = (1080, 1920)
VIDEO_SIZE = STORY_SIZE
VIDEO_FPS = 30
VIDEO_SECONDS = 5
AUDIO_RATE = 44100


# ---------------------------------------------------------------------------------------------------------
# Drawing


def rgba(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def mix(a, b, t):
    a, b = rgba(a), rgba(b)
    return "#%02X%02X%02X" % tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


@functools.lru_cache(maxsize=None)
def font(name, pixels):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), pixels)


def rotated(points, cx, cy, degrees):
    a = math.radians(degrees)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + x * ca - y * sa, cy + x * sa + y * ca) for x, y in points]


class Canvas:
    """A picture drawn in design units (the output's own pixels for pictures, 1080x1920 for video frames) at
    twice the output resolution and scaled down at the end, which smooths every edge."""

    def __init__(self, width, height, background="#000000", output=None):
        self.width, self.height = width, height
        self.output = output or (width, height)
        self.k = 2.0 * self.output[0] / width
        size = (round(width * self.k), round(height * self.k))
        self.image = Image.new("RGB", size, rgba(background)[:3])
        self.draw = ImageDraw.Draw(self.image, "RGBA")

    def _box(self, box):
        return [v * self.k for v in box]

    def _points(self, points):
        return [(x * self.k, y * self.k) for x, y in points]

    def gradient(self, top, bottom, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        size = (round((x1 - x0) * self.k), round((y1 - y0) * self.k))
        mask = Image.linear_gradient("L").resize(size, Image.BICUBIC)
        band = Image.composite(Image.new("RGB", size, rgba(bottom)[:3]), Image.new("RGB", size, rgba(top)[:3]), mask)
        self.image.paste(band, (round(x0 * self.k), round(y0 * self.k)))

    def shade(self, colour, alpha_top, alpha_bottom, box):
        """A vertical veil of one colour whose opacity runs from alpha_top to alpha_bottom."""
        x0, y0, x1, y1 = box
        size = (round((x1 - x0) * self.k), round((y1 - y0) * self.k))
        mask = Image.linear_gradient("L").resize(size, Image.BICUBIC)
        mask = mask.point(lambda v: round(alpha_top + (alpha_bottom - alpha_top) * v / 255))
        self.image.paste(Image.new("RGB", size, rgba(colour)[:3]), (round(x0 * self.k), round(y0 * self.k)), mask)

    def soft(self, shape, colour, blur, opacity=1.0):
        """A blurred shape: shadows and glows. shape is ("ellipse", box), ("rounded", box, radius) or
        ("polygon", points), in design units."""
        mask = Image.new("L", self.image.size, 0)
        draw = ImageDraw.Draw(mask)
        if shape[0] == "ellipse":
            draw.ellipse(self._box(shape[1]), fill=255)
        elif shape[0] == "rounded":
            draw.rounded_rectangle(self._box(shape[1]), radius=shape[2] * self.k, fill=255)
        else:
            draw.polygon(self._points(shape[1]), fill=255)
        mask = mask.filter(ImageFilter.GaussianBlur(blur * self.k))
        if opacity < 1.0:
            mask = mask.point(lambda v: round(v * opacity))
        self.image.paste(Image.new("RGB", self.image.size, rgba(colour)[:3]), (0, 0), mask)

    def ellipse(self, box, fill=None, outline=None, width=0, alpha=255):
        self.draw.ellipse(self._box(box), fill=rgba(fill, alpha) if fill else None,
                          outline=rgba(outline, alpha) if outline else None, width=round(width * self.k))

    def circle(self, cx, cy, r, fill=None, outline=None, width=0, alpha=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width, alpha)

    def rounded(self, box, radius, fill=None, outline=None, width=0, alpha=255):
        self.draw.rounded_rectangle(self._box(box), radius=radius * self.k, fill=rgba(fill, alpha) if fill else None,
                                    outline=rgba(outline, alpha) if outline else None, width=round(width * self.k))

    def polygon(self, points, fill, alpha=255):
        self.draw.polygon(self._points(points), fill=rgba(fill, alpha))

    def line(self, points, fill, width, alpha=255):
        self.draw.line(self._points(points), fill=rgba(fill, alpha), width=max(1, round(width * self.k)),
                       joint="curve")
        r = width / 2  # round caps
        for x, y in (points[0], points[-1]):
            self.circle(x, y, r, fill, alpha=alpha)

    def pie(self, box, start, end, fill, alpha=255):
        self.draw.pieslice(self._box(box), start, end, fill=rgba(fill, alpha))

    def text(self, x, y, text, name, size, fill, anchor="la", alpha=255):
        self.draw.text((x * self.k, y * self.k), text, font=font(name, round(size * self.k)), fill=rgba(fill, alpha),
                       anchor=anchor)

    def measure(self, text, name, size):
        return font(name, round(size * self.k)).getlength(text) / self.k

    def paragraph(self, x, y, text, name, size, fill, max_width, line_height, alpha=255, align="left"):
        """Word-wrapped text from (x, y), top of the first line; returns the y below the last line."""
        lines, line = [], ""
        for word in text.split():
            candidate = (line + " " + word).strip()
            if line and self.measure(candidate, name, size) > max_width:
                lines.append(line)
                line = word
            else:
                line = candidate
        lines.append(line)
        for row in lines:
            left = x if align == "left" else x + (max_width - self.measure(row, name, size)) / 2
            self.text(left, y, row, name, size, fill, alpha=alpha)
            y += line_height
        return y

    def chip(self, x, y, text, size, fill, text_fill, alpha=255, text_alpha=255):
        """A capsule label with its top left at (x, y); returns its width."""
        width = self.measure(text, BOLD, size) + size * 1.6
        height = size * 2
        self.rounded((x, y, x + width, y + height), height / 2, fill, alpha=alpha)
        self.text(x + size * 0.8, y + height / 2, text, BOLD, size, text_fill, anchor="lm", alpha=text_alpha)
        return width

    def result(self):
        return self.image.resize(self.output, Image.LANCZOS)


def leaf_points(cx, cy, length, width, degrees, steps=24):
    half = []
    for i in range(steps + 1):
        t = i / steps
        half.append(((t - 0.5) * length, (width / 2) * math.sin(math.pi * t) ** 0.8))
    outline = half + [(x, -y) for x, y in reversed(half)]
    return rotated(outline, cx, cy, degrees)


def leaf(c, cx, cy, length, width, degrees, fill, vein=None):
    c.polygon(leaf_points(cx, cy, length, width, degrees), fill)
    if vein:
        ends = rotated([(-length * 0.42, 0), (length * 0.42, 0)], cx, cy, degrees)
        c.line(ends, vein, max(2, width * 0.06), alpha=150)


def star_points(cx, cy, outer, inner, count, degrees=0):
    points = []
    for i in range(count * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(degrees + i * 180 / count)
        points.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    return points


# ---------------------------------------------------------------------------------------------------------
# Things the pictures show


def basil_mark(c, cx, cy, r, ring="#FFFFFF", leaf_fill="#2FA84F"):
    """The app's mark: a basil leaf in a disc."""
    c.circle(cx, cy, r, ring)
    leaf(c, cx, cy + r * 0.05, r * 1.3, r * 0.78, -50, leaf_fill, vein="#FFFFFF")
    c.line(rotated([(r * 0.55, 0), (r * 0.8, 0)], cx, cy + r * 0.05, -50), leaf_fill, r * 0.09)


def tomato(c, cx, cy, r):
    c.circle(cx, cy, r, "#E53935")
    c.circle(cx - r * 0.3, cy - r * 0.3, r * 0.28, "#FF8A80", alpha=170)
    c.polygon(star_points(cx, cy - r * 0.78, r * 0.42, r * 0.14, 5), "#2E7D32")


def egg_half(c, cx, cy, r, degrees):
    c.polygon(rotated([(r * math.cos(a / 20 * math.pi * 2), r * 0.72 * math.sin(a / 20 * math.pi * 2))
                       for a in range(20)], cx, cy, degrees), "#FFFDF5")
    c.circle(cx, cy, r * 0.42, "#FFB300")


def radish_slice(c, cx, cy, r):
    c.circle(cx, cy, r, "#E91E63")
    c.circle(cx, cy, r * 0.8, "#FCE4EC")


def bowl(c, cx, cy, r, rim, inside):
    c.soft(("ellipse", (cx - r, cy - r + 40, cx + r, cy + r + 60)), "#000000", 40, 0.35)
    c.circle(cx, cy, r, rim)
    c.circle(cx, cy, r * 0.86, mix(rim, "#000000", 0.08))
    c.circle(cx, cy, r * 0.82, inside)


def spring_bowl(c, cx, cy, r, seed=7):
    rng = random.Random(seed)
    bowl(c, cx, cy, r, "#FFF6EA", "#3E8E3A")
    for _ in range(26):
        a, d = rng.uniform(0, 360), rng.uniform(0, r * 0.62)
        x, y = cx + d * math.cos(math.radians(a)), cy + d * math.sin(math.radians(a))
        leaf(c, x, y, rng.uniform(0.3, 0.45) * r, rng.uniform(0.14, 0.2) * r, rng.uniform(0, 180),
             rng.choice(["#66BB6A", "#81C784", "#4CAF50", "#9CCC65"]), vein="#DCEDC8")
    for a in (20, 140, 260):
        x, y = cx + r * 0.45 * math.cos(math.radians(a)), cy + r * 0.45 * math.sin(math.radians(a))
        egg_half(c, x, y, r * 0.17, a)
    for a in (75, 200, 320, 10):
        tomato(c, cx + r * 0.5 * math.cos(math.radians(a)), cy + r * 0.5 * math.sin(math.radians(a)), r * 0.11)
    for a in (110, 235, 350):
        radish_slice(c, cx + r * 0.25 * math.cos(math.radians(a)), cy + r * 0.25 * math.sin(math.radians(a)), r * 0.08)
    for _ in range(14):
        a, d = rng.uniform(0, 360), rng.uniform(0, r * 0.66)
        c.circle(cx + d * math.cos(math.radians(a)), cy + d * math.sin(math.radians(a)), r * 0.035, "#F5DEB3")


def strawberry(c, cx, cy, size, degrees, seed):
    rng = random.Random(seed)
    w, h = size * 0.9, size
    right = []
    for i in range(25):
        t = i / 24
        f = math.sin(math.pi * (0.18 + 0.82 * t)) ** 0.7
        right.append((w / 2 * f, -h * 0.42 + h * t))
    outline = right + [(-x, y) for x, y in reversed(right)]
    c.soft(("polygon", rotated([(x, y + 18) for x, y in outline], cx, cy, degrees)), "#000000", 16, 0.3)
    c.polygon(rotated(outline, cx, cy, degrees), "#E0182D")
    c.polygon(rotated([(x * 0.55 - w * 0.12, y * 0.6 - h * 0.05) for x, y in outline], cx, cy, degrees), "#FF4D5E",
              alpha=120)
    for row in range(6):
        t = 0.12 + row * 0.14
        f = math.sin(math.pi * (0.18 + 0.82 * t)) ** 0.7
        for col in range(-3, 4):
            x = col * w * 0.13 + (row % 2) * w * 0.065
            if abs(x) < w / 2 * f * 0.8:
                y = -h * 0.42 + h * t + rng.uniform(-3, 3)
                (sx, sy), = rotated([(x, y)], cx, cy, degrees)
                c.ellipse((sx - size * 0.018, sy - size * 0.028, sx + size * 0.018, sy + size * 0.028), "#FFE082")
    for i in range(5):
        a = degrees - 90 + (i - 2) * 34
        (lx, ly), = rotated([(0, -h * 0.43)], cx, cy, degrees)
        lx += math.cos(math.radians(a)) * size * 0.14
        ly += math.sin(math.radians(a)) * size * 0.14
        leaf(c, lx, ly, size * 0.34, size * 0.13, a, "#2E9B3E")
    (tx, ty), = rotated([(0, -h * 0.5)], cx, cy, degrees)
    c.line([(tx, ty), (tx + size * 0.04, ty - size * 0.12)], "#2E7D32", size * 0.05)


def lemon_slice(c, cx, cy, r):
    c.circle(cx, cy, r, "#F9D71C")
    c.circle(cx, cy, r * 0.88, "#FFF8C4")
    for i in range(8):
        c.pie((cx - r * 0.8, cy - r * 0.8, cx + r * 0.8, cy + r * 0.8), i * 45 + 4, i * 45 + 41, "#FCE96A")


def pasta_nest(c, cx, cy, r, seed):
    rng = random.Random(seed)
    for layer, colour in ((0, "#D9A63E"), (1, "#F2CF6B"), (2, "#F7DC8A")):
        for _ in range(16):
            start, radius = rng.uniform(0, math.tau), rng.uniform(0.08, 0.9) * r
            points = []
            for i in range(40):
                a = start + i * 0.11
                wobble = 1 + 0.12 * math.sin(i * 0.7 + layer)
                points.append((cx + math.cos(a) * radius * wobble, cy + math.sin(a) * radius * wobble * 0.9))
            c.line(points, colour, r * 0.045)


def crate(c, x, y, w, h):
    """An open cardboard box seen slightly from above, front face (x, y, x + w, y + h)."""
    depth = h * 0.32
    c.soft(("rounded", (x - 20, y + h - 30, x + w + 40, y + h + 50), 30), "#000000", 30, 0.5)
    c.polygon([(x, y), (x + w, y), (x + w + depth * 0.6, y - depth), (x + depth * 0.6, y - depth)], "#7A5230")
    c.polygon([(x + w, y), (x + w + depth * 0.6, y - depth), (x + w + depth * 0.6, y + h - depth),
               (x + w, y + h)], "#A0703F")
    c.rounded((x, y, x + w, y + h), 6, "#C68A4E")
    c.polygon([(x, y), (x + w, y), (x + w - w * 0.08, y - h * 0.16), (x - w * 0.06, y - h * 0.2)], "#D99A5B")
    c.rounded((x + w * 0.06, y + h * 0.34, x + w * 0.94, y + h * 0.7), 18, "#F3E3CC")


def carrot(c, x, y, length, degrees):
    body = rotated([(-length * 0.09, 0), (length * 0.09, 0), (length * 0.015, length), (-length * 0.015, length)],
                   x, y, degrees)
    c.polygon(body, "#F57C00")
    for i in range(3):
        (lx, ly), = rotated([(0, length * (0.25 + i * 0.2))], x, y, degrees)
        c.line(rotated([(-length * 0.05, 0), (length * 0.02, 0)], lx, ly, degrees), "#E65100", length * 0.02)
    for a in (-110, -90, -70):
        leaf(c, *rotated([(0, -length * 0.16)], x, y, degrees)[0], length * 0.4, length * 0.09, a + degrees, "#43A047")


def baguette(c, x, y, length, degrees):
    c.polygon(rotated([(length * math.cos(a / 30 * math.tau) / 2, length * 0.09 * math.sin(a / 30 * math.tau))
                       for a in range(30)], x, y, degrees), "#D7A15E")
    for i in range(4):
        (sx, sy), = rotated([((i - 1.5) * length * 0.2, 0)], x, y, degrees)
        c.line(rotated([(-length * 0.06, length * 0.04), (length * 0.06, -length * 0.04)], sx, sy, degrees),
               "#F1D39B", length * 0.025)


def price_sticker(c, cx, cy, r, big, small, fill="#FFFFFF", ink="#FF6A00"):
    c.soft(("ellipse", (cx - r, cy - r + 30, cx + r, cy + r + 50)), "#000000", 36, 0.35)
    c.polygon(star_points(cx, cy, r, r * 0.93, 28), fill)
    c.circle(cx, cy, r * 0.84, outline=ink, width=r * 0.025)
    c.text(cx, cy - r * 0.05, big, HEADLINE, r * 0.62, ink, anchor="mm")
    size = min(r * 0.24, r * 1.1 * 100 / c.measure(small, BOLD, 100))
    c.text(cx, cy + r * 0.42, small, BOLD, size, ink, anchor="mm")


def delivery_van(c, x, y, w, body="#0E9F8E"):
    h = w * 0.5
    for i, length in enumerate((0.22, 0.32, 0.18)):
        yy = y + h * (0.25 + i * 0.22)
        c.line([(x - w * (length + 0.06), yy), (x - w * 0.06, yy)], "#FFFFFF", w * 0.025, alpha=170)
    c.soft(("rounded", (x, y + h * 0.9, x + w, y + h * 1.05), 20), "#000000", 18, 0.35)
    c.rounded((x, y, x + w * 0.68, y + h * 0.86), w * 0.05, body)
    c.polygon([(x + w * 0.66, y + h * 0.18), (x + w * 0.86, y + h * 0.18), (x + w, y + h * 0.5),
               (x + w, y + h * 0.86), (x + w * 0.66, y + h * 0.86)], mix(body, "#000000", 0.12))
    c.polygon([(x + w * 0.72, y + h * 0.26), (x + w * 0.84, y + h * 0.26), (x + w * 0.94, y + h * 0.5),
               (x + w * 0.72, y + h * 0.5)], "#BFEFFF")
    basil_mark(c, x + w * 0.14, y + h * 0.4, h * 0.17)
    c.text(x + w * 0.24, y + h * 0.4, "basilwick", BOLD, h * 0.12, "#FFFFFF", anchor="lm")
    for wx in (x + w * 0.2, x + w * 0.8):
        c.circle(wx, y + h * 0.88, h * 0.16, "#263238")
        c.circle(wx, y + h * 0.88, h * 0.07, "#CFD8DC")


def sourdough(c, cx, cy, w):
    h = w * 0.55
    c.soft(("ellipse", (cx - w / 2, cy - h / 2 + 30, cx + w / 2, cy + h / 2 + 40)), "#000000", 30, 0.35)
    c.ellipse((cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2), "#B8733A")
    c.ellipse((cx - w * 0.44, cy - h * 0.46, cx + w * 0.4, cy + h * 0.3), "#CF8E4E")
    for i in range(3):
        x = cx + (i - 1) * w * 0.22
        c.line([(x - w * 0.08, cy + h * 0.18), (x + w * 0.08, cy - h * 0.22)], "#F1D7A8", w * 0.035)


def member_card(c, cx, cy, w, degrees, label):
    h = w * 0.62
    corners = rotated([(-w / 2, -h / 2), (w / 2, -h / 2), (w / 2, h / 2), (-w / 2, h / 2)], cx, cy, degrees)
    c.soft(("polygon", [(x, y + 24) for x, y in corners]), "#000000", 24, 0.4)
    c.polygon(corners, "#1B5E20")
    c.polygon(rotated([(-w / 2, -h * 0.1), (w / 2, -h * 0.3), (w / 2, h * 0.05), (-w / 2, h * 0.25)], cx, cy,
                      degrees), "#2E7D32")
    (mx, my), = rotated([(-w * 0.3, -h * 0.22)], cx, cy, degrees)
    basil_mark(c, mx, my, h * 0.14)
    (tx, ty), = rotated([(w * 0.1, h * 0.26)], cx, cy, degrees)
    c.text(tx, ty, label, HEADLINE, h * 0.2, "#FFD54F", anchor="mm")


# ---------------------------------------------------------------------------------------------------------
# Story pictures


def story_canvas(top, bottom):
    c = Canvas(*STORY_SIZE)
    c.gradient(top, bottom)
    return c


def story_text(c, kicker, headline, body=None, kicker_fill="#FFFFFF", kicker_text="#000000", ink="#FFFFFF"):
    """Kicker, headline and body in the upper part, below the viewer's progress bar and group title. A
    group's first picture is also its bubble in the story bar, which shows the middle square (y 420 to
    1500) cut to a circle: there the text is the kicker and a one-line headline only, above that square."""
    c.chip(72, 205, kicker, 30, kicker_fill, kicker_text)
    if body is None:
        assert c.measure(headline, HEADLINE, 104) <= 936, headline
    y = c.paragraph(72, 305, headline, HEADLINE, 104, ink, 936, 112)
    if body is not None:
        c.paragraph(72, y + 22, body, REGULAR, 44, ink, 900, 60, alpha=235)


def bottom_veil(c, start=1380):
    """Darkens the bottom, where the viewer writes the item's title, body and call to action."""
    c.shade("#000000", 0, 150, (0, start, STORY_SIZE[0], STORY_SIZE[1]))


def glow(c, cx, cy, r, colour, opacity):
    c.soft(("ellipse", (cx - r, cy - r, cx + r, cy + r)), colour, r * 0.45, opacity)


def spring_menu():
    c = story_canvas("#FF9A2E", "#F0407A")
    glow(c, 880, 700, 420, "#FFD27A", 0.55)
    glow(c, 140, 1500, 380, "#FF6FB0", 0.5)
    spring_bowl(c, 540, 960, 420)
    story_text(c, "NEW THIS WEEK", "Spring is served", kicker_text="#E8551F")
    bottom_veil(c)
    return c.result()


def strawberries():
    c = story_canvas("#FF5E7E", "#B3123F")
    glow(c, 540, 1050, 520, "#FFB3C1", 0.45)
    c.soft(("ellipse", (170, 760, 910, 1430)), "#000000", 40, 0.3)
    c.circle(540, 1090, 370, "#FFFFFF")
    c.circle(540, 1090, 325, "#FFF1F3")
    for i, (x, y, size, angle) in enumerate([(410, 1000, 220, -25), (675, 990, 230, 20), (540, 1180, 250, 5),
                                               (360, 1220, 190, -40), (730, 1230, 200, 35)]):
        strawberry(c, x, y, size, angle, seed=i)
    leaf(c, 850, 810, 200, 84, -30, "#2E9B3E", vein="#A5D6A7")
    story_text(c, "IN SEASON", "Strawberry season", "Sweet, local and in every box until the end of June.",
               kicker_text="#C2185B")
    bottom_veil(c)
    return c.result()


def dish(c, cx, cy, r, kind, seed):
    rng = random.Random(seed)
    if kind == "ramen":
        bowl(c, cx, cy, r, "#263238", "#E9B872")
        for i in range(7):
            y0 = cy - r * 0.5 + i * r * 0.15
            c.line([(cx - r * 0.6 + j * r * 0.1, y0 + math.sin(j * 1.3 + i) * r * 0.05) for j in range(13)],
                   "#F8E3A3", r * 0.05)
        egg_half(c, cx + r * 0.32, cy - r * 0.3, r * 0.22, 20)
        c.rounded((cx - r * 0.62, cy - r * 0.1, cx - r * 0.35, cy + r * 0.45), 6, "#1B2A1E")
        for _ in range(9):
            c.circle(cx + rng.uniform(-0.4, 0.4) * r, cy + rng.uniform(0.1, 0.5) * r, r * 0.05, "#7CB342",
                     outline="#C5E1A5", width=r * 0.015)
    elif kind == "taco":
        # Seen from the side: the filling above the fold of the shell.
        c.soft(("ellipse", (cx - r, cy - r + 30, cx + r, cy + r + 50)), "#000000", 30, 0.3)
        c.circle(cx, cy, r, "#FFFFFF")
        c.circle(cx, cy, r * 0.9, "#F4F1EA")
        top = cy - r * 0.12
        for i in range(8):
            c.circle(cx - r * 0.6 + i * r * 0.17, top - r * 0.02 - math.sin(i / 7 * math.pi) * r * 0.08, r * 0.13,
                     "#7CC44E" if i % 2 else "#5BAE3A")
        for i in range(4):
            c.circle(cx - r * 0.42 + i * r * 0.28, top - r * 0.02, r * 0.08, "#E53935")
        c.pie((cx - r * 0.75, top - r * 0.7, cx + r * 0.75, top + r * 0.7), 0, 180, "#F2B233")
        for _ in range(7):
            c.circle(cx + rng.uniform(-0.5, 0.5) * r, top + rng.uniform(0.12, 0.5) * r, r * 0.03, "#C98B1E")
    else:
        bowl(c, cx, cy, r, "#FFFFFF", "#F08A24")
        c.ellipse((cx - r * 0.55, cy - r * 0.6, cx + r * 0.2, cy + r * 0.05), "#FFFDF5")
        for _ in range(8):
            c.circle(cx + rng.uniform(-0.3, 0.55) * r, cy + rng.uniform(0, 0.55) * r, r * 0.07, "#C0561B")
        for a in (-20, 40, 100):
            leaf(c, cx + r * 0.35, cy - r * 0.35, r * 0.35, r * 0.15, a, "#43A047")


def vote_next_dish():
    c = story_canvas("#2FC46A", "#0A6FE0")
    glow(c, 540, 800, 500, "#9BF0C0", 0.35)
    dish(c, 540, 820, 240, "ramen", 1)
    dish(c, 265, 1120, 185, "taco", 2)
    dish(c, 815, 1120, 185, "curry", 3)
    story_text(c, "YOUR VOTE", "Dinner, your call", kicker_text="#0A6FE0")
    bottom_veil(c, 1250)
    return c.result()


def lemon_pasta():
    c = story_canvas("#F9E27D", "#3FA45B")
    glow(c, 540, 1000, 520, "#FFFFFF", 0.35)
    c.soft(("ellipse", (160, 740, 920, 1480)), "#000000", 40, 0.35)
    c.circle(540, 1090, 380, "#FFFFFF")
    c.circle(540, 1090, 315, "#F4F1EA")
    pasta_nest(c, 540, 1090, 250, seed=11)
    lemon_slice(c, 695, 950, 85)
    lemon_slice(c, 385, 1235, 66)
    for x, y, a in ((465, 965, -30), (525, 985, 40), (640, 1215, 10)):
        leaf(c, x, y, 120, 55, a, "#2E7D32", vein="#A5D6A7")
    story_text(c, "THE RESULTS", "Lemon pasta won", "Your favourite from last week's vote is on the menu now.",
               ink="#1B3A1F", kicker_fill="#1B3A1F", kicker_text="#F9E27D")
    bottom_veil(c)
    return c.result()


def kitchen_quiz():
    """Flat colours only (no gradient, no blur): the one story picture kept as PNG."""
    c = Canvas(*STORY_SIZE, background="#FFD60A")
    for x, y, r in ((200, 700, 60), (880, 700, 70), (860, 1200, 55), (230, 1230, 70)):
        c.circle(x + 10, y + 12, r, "#E8B800")
        c.circle(x, y, r, "#FFFFFF")
        c.text(x, y + r * 0.05, "?", HEADLINE, r * 1.3, "#6B3FD4", anchor="mm")
    cx, cy = 540, 880
    c.polygon([(cx - 16, cy), (cx + 16, cy), (cx + 22, cy + 520), (cx - 10, cy + 520)], "#3C9A3A")
    leaf(c, cx - 120, cy + 400, 380, 60, -70, "#4CAF50")
    leaf(c, cx + 110, cy + 420, 360, 55, -105, "#43A047")
    for i in range(6):
        a = -90 + i * 60
        px, py = cx + math.cos(math.radians(a)) * 150, cy + math.sin(math.radians(a)) * 150
        c.polygon([(x + 12, y + 14) for x, y in leaf_points(px, py, 320, 170, a)], "#E8B800")
    for i in range(6):
        a = -90 + i * 60
        px, py = cx + math.cos(math.radians(a)) * 150, cy + math.sin(math.radians(a)) * 150
        c.polygon(leaf_points(px, py, 320, 170, a), "#8E5CF7" if i % 2 == 0 else "#7444E0")
        c.polygon(leaf_points(px, py, 200, 50, a), "#B594FF")
    c.circle(cx, cy, 70, "#5A2DB8")
    for a in (-120, -90, -60):
        px, py = cx + math.cos(math.radians(a)) * 85, cy + math.sin(math.radians(a)) * 85
        c.polygon(leaf_points(px, py, 190, 34, a), "#FF3B1F")
    for a in (-20, 200):
        px, py = cx + math.cos(math.radians(a)) * 60, cy + math.sin(math.radians(a)) * 60
        c.polygon(leaf_points(px, py, 110, 24, a), "#FFC107")
    story_text(c, "KITCHEN QUIZ", "Spice quiz", ink="#231A00", kicker_fill="#231A00", kicker_text="#FFD60A")
    return c.result()


def weekend_box():
    c = story_canvas("#1C2A22", "#0E1411")
    glow(c, 540, 1000, 480, "#30D158", 0.28)
    cx = 540
    carrot(c, 420, 700, 300, -18)
    carrot(c, 480, 680, 280, -5)
    baguette(c, 700, 710, 360, -62)
    leaf(c, 290, 780, 280, 110, -120, "#43A047", vein="#C8E6C9")
    leaf(c, 800, 790, 240, 100, -55, "#66BB6A", vein="#C8E6C9")
    tomato(c, 590, 810, 70)
    tomato(c, 380, 830, 60)
    crate(c, cx - 330, 870, 620, 460)
    basil_mark(c, cx - 190, 1130, 54)
    c.text(cx - 120, 1130, "basilwick", BOLD, 56, "#5D3A17", anchor="lm")
    story_text(c, "WEEKEND BOX", "Saturday, sorted", kicker_fill="#30D158", kicker_text="#0E1411")
    bottom_veil(c, 1420)
    return c.result()


def first_box_offer():
    c = story_canvas("#FFA53A", "#FF5A1F")
    glow(c, 540, 960, 520, "#FFE08A", 0.45)
    for i, (x, y) in enumerate([(110, 620), (970, 640), (120, 1330), (960, 1300)]):
        c.polygon(star_points(x, y, 34, 12, 4, degrees=i * 20), "#FFFFFF", alpha=200)
    price_sticker(c, 540, 960, 400, "20%", "OFF")
    story_text(c, "WELCOME OFFER", "A welcome gift", kicker_text="#FF5A1F")
    bottom_veil(c)
    return c.result()


def free_delivery():
    c = story_canvas("#FF7A59", "#8E2DE2")
    glow(c, 540, 1050, 500, "#FFC1A6", 0.4)
    c.rounded((-40, 1240, 1120, 1270), 15, "#FFFFFF", alpha=90)
    delivery_van(c, 250, 930, 640)
    story_text(c, "THIS WEEKEND", "Free delivery", "All weekend long, on every order from Friday to Sunday.",
               kicker_text="#8E2DE2")
    bottom_veil(c)
    return c.result()


def welcome():
    c = story_canvas("#1E9E5A", "#0C5C3A")
    glow(c, 540, 980, 480, "#7FE0A8", 0.45)
    c.soft(("ellipse", (200, 650, 880, 1330)), "#000000", 40, 0.35)
    basil_mark(c, 540, 960, 340)
    story_text(c, "BASILWICK", "Welcome aboard", kicker_text="#1E9E5A")
    bottom_veil(c)
    return c.result()


# ---------------------------------------------------------------------------------------------------------
# Banner art


def banner_text(c, x, y, kicker, headline, body, width, scale=1.0, ink="#FFFFFF", kicker_text="#000000"):
    c.chip(x, y, kicker, 22 * scale, "#FFFFFF", kicker_text)
    y = c.paragraph(x, y + 70 * scale, headline, HEADLINE, 68 * scale, ink, width, 74 * scale)
    c.paragraph(x, y + 14 * scale, body, REGULAR, 30 * scale, ink, width, 40 * scale, alpha=230)


def spring_sale_banner():
    c = Canvas(1280, 720)
    c.gradient("#FF9A2E", "#F0407A")
    glow(c, 980, 360, 330, "#FFE0A0", 0.5)
    for i, (x, y, size, angle) in enumerate([(900, 300, 200, -20), (1100, 330, 190, 25), (1000, 500, 210, 0)]):
        strawberry(c, x, y, size, angle, seed=20 + i)
    lemon_slice(c, 820, 520, 80)
    banner_text(c, 72, 150, "SPRING SALE", "Up to 30% off fresh fruit", "Berries, citrus and more, until Sunday.",
                620, kicker_text="#E8551F")
    return c.result()


def sourdough_banner():
    c = Canvas(1280, 720)
    c.gradient("#5B3A29", "#2B1B12")
    glow(c, 960, 380, 340, "#F3B36B", 0.4)
    sourdough(c, 960, 380, 480)
    banner_text(c, 72, 150, "NEW IN", "Sourdough from local bakers", "Baked in the morning, delivered by noon.",
                600, kicker_text="#5B3A29")
    return c.result()


def plus_banner():
    c = Canvas(1280, 720)
    c.gradient("#2FC46A", "#0A6FE0")
    glow(c, 960, 360, 330, "#B9F6CA", 0.4)
    member_card(c, 960, 360, 440, -10, "PLUS")
    banner_text(c, 72, 150, "BASILWICK PLUS", "Free delivery on every box", "Join for the price of one coffee a month.",
                600, kicker_text="#0A6FE0")
    return c.result()


def invite_banner():
    """Flat art for a fixed 120-point strip, shown whole (fit): 3:1."""
    c = Canvas(1200, 400, background="#6B3FD4")
    c.circle(1040, 200, 260, "#7F56E8")
    c.circle(1040, 200, 180, "#9470F0")
    c.rounded((930, 170, 1150, 330), 16, "#FFD60A")
    c.rounded((910, 120, 1170, 180), 12, "#FFE45C")
    c.rounded((1025, 120, 1055, 330), 0, "#FF3B6B")
    c.ellipse((975, 70, 1040, 125), outline="#FF3B6B", width=14)
    c.ellipse((1040, 70, 1105, 125), outline="#FF3B6B", width=14)
    c.chip(64, 70, "INVITE A FRIEND", 22, "#FFD60A", "#3A1F80")
    c.text(64, 200, "A free dessert for you both", HEADLINE, 56, "#FFFFFF", anchor="lm")
    c.text(64, 290, "Share your code from the Account tab.", REGULAR, 32, "#FFFFFF", anchor="lm", alpha=220)
    return c.result()


def quick_dinners_banner():
    c = Canvas(1200, 600)
    c.gradient("#FF8A3D", "#E0306A")
    glow(c, 900, 330, 300, "#FFD6A0", 0.45)
    dish(c, 900, 330, 200, "curry", 31)
    banner_text(c, 64, 130, "TONIGHT", "Dinner in 30 minutes", "Three recipes picked for a busy Tuesday.", 560,
                kicker_text="#E0306A")
    return c.result()


def meet_farmers_banner():
    c = Canvas(1200, 600)
    c.gradient("#7CC96B", "#2E7D32")
    c.polygon([(560, 600), (900, 250), (1250, 600)], "#4E9A3F")
    c.polygon([(800, 600), (1050, 330), (1300, 600)], "#3A8432")
    c.circle(1020, 150, 70, "#FFE082")
    for row, y in enumerate((470, 520, 575)):
        for x in range(600 + row * 20, 1220, 62):
            for a in (-125, -90, -55):
                leaf(c, x, y - 18, 44, 16, a, "#A5D66B" if row % 2 else "#C5E88E")
    c.rounded((700, 300, 850, 420), 0, "#C62828")
    c.polygon([(685, 305), (775, 230), (865, 305)], "#8E1B1B")
    c.rounded((750, 340, 800, 420), 0, "#FFFFFF")
    banner_text(c, 64, 130, "OUR GROWERS", "Meet the farmers behind your box", "Twelve farms, all within 80 km.",
                560, kicker_text="#2E7D32")
    return c.result()


def weekday_deals_banner():
    """16:9: an unknown layout mode falls back to auto, which ignores the banner's fixed height."""
    c = Canvas(1280, 720)
    c.gradient("#0A84FF", "#5E5CE6")
    glow(c, 960, 360, 320, "#FFFFFF", 0.25)
    price_sticker(c, 960, 360, 230, "-25%", "WEEKDAYS", ink="#0A84FF")
    banner_text(c, 72, 150, "WEEKDAY DEALS", "Five dinners, four prices", "Every Monday to Thursday.", 600,
                kicker_text="#0A84FF")
    return c.result()


def family_box_banner():
    c = Canvas(1280, 720)
    c.gradient("#FF9F0A", "#FF375F")
    glow(c, 960, 360, 320, "#FFFFFF", 0.25)
    dish(c, 960, 360, 230, "ramen", 41)
    banner_text(c, 72, 150, "FAMILY BOX", "Recipes for four, done in 30", "Kid-approved every week.", 600,
                kicker_text="#FF375F")
    return c.result()


def gift_card_banner():
    """A fixed 180-point strip filled edge to edge (cover): about 2.2:1, the subject kept away from the top
    and bottom edges that narrow screens crop."""
    c = Canvas(1200, 540)
    c.gradient("#1C1C1E", "#3A3A3C")
    glow(c, 930, 270, 260, "#FFFFFF", 0.25)
    member_card(c, 930, 270, 380, 8, "GIFT CARD")
    banner_text(c, 64, 110, "GIFT CARDS", "Give a week of dinners", "Sent by email in a minute.", 560, scale=0.95,
                kicker_text="#1C1C1E")
    return c.result()


def pantry_banner():
    """Square: a fixed-height banner without a height is laid out 1:1."""
    c = Canvas(800, 800)
    c.gradient("#FFE8C2", "#F5B971")
    glow(c, 400, 520, 280, "#FFFFFF", 0.4)
    for i, (x, colour, label) in enumerate([(220, "#C0561B", "RICE"), (400, "#6D4C41", "BEANS"),
                                            (580, "#F9A825", "OATS")]):
        c.soft(("rounded", (x - 70, 420, x + 70, 680), 24), "#000000", 18, 0.3)
        c.rounded((x - 70, 400, x + 70, 660), 24, "#FFFFFF", alpha=235)
        c.rounded((x - 60, 470, x + 60, 650), 18, colour)
        c.rounded((x - 78, 370, x + 78, 420), 12, "#5D4037")
        c.rounded((x - 55, 520, x + 55, 590), 10, "#FFFDF5")
        c.text(x, 555, label, BOLD, 24, "#3E2723", anchor="mm")
    c.chip(60, 60, "PANTRY STAPLES", 24, "#3E2723", "#FFE8C2")
    c.paragraph(60, 150, "Stock up, save 15%", HEADLINE, 64, "#3E2723", 680, 70)
    return c.result()


# ---------------------------------------------------------------------------------------------------------
# The story video: pancakes in three steps, with a tune


def ease(t):
    t = min(1.0, max(0.0, t))
    return t * t * (3 - 2 * t)


def pancake_background():
    c = Canvas(*STORY_SIZE, output=VIDEO_SIZE)
    c.gradient("#FFC371", "#FF5F6D")
    glow(c, 540, 1050, 520, "#FFE9B0", 0.5)
    c.chip(72, 205, "60-SECOND RECIPE", 30, "#FFFFFF", "#E8551F")
    c.text(72, 305, "Fluffy pancakes", HEADLINE, 112, "#FFFFFF")
    bottom_veil(c, 1450)
    return c


STEPS = [("1", "Pour", 0.0), ("2", "Flip", 1.8), ("3", "Stack", 3.4)]


def pancake_frame(background, seconds):
    c = Canvas(*STORY_SIZE, output=VIDEO_SIZE)
    c.image = background.image.copy()
    c.draw = ImageDraw.Draw(c.image, "RGBA")
    x = 72
    for number, label, start in STEPS:
        active = seconds >= start and all(seconds < s for _, _, s in STEPS if s > start)
        x += c.chip(x, 470, number + "  " + label, 34, "#FFFFFF" if active else "#000000",
                    "#E8551F" if active else "#FFFFFF", alpha=255 if active else 60) + 20
    cx, cy = 540, 1080
    if seconds < 3.4:
        # The pan, the batter poured in, the pancake flipped.
        c.soft(("ellipse", (cx - 340, cy - 300, cx + 340, cy + 380)), "#000000", 40, 0.35)
        c.polygon(rotated([(300, -34), (620, -34), (620, 34), (300, 34)], cx, cy, 40), "#3B2F2A")
        c.circle(cx, cy, 330, "#2B2B2E")
        c.circle(cx, cy, 300, "#3A3A3F")
        c.ellipse((cx - 220, cy - 260, cx + 60, cy - 150), "#FFFFFF", alpha=25)
        if seconds < 1.8:
            r = 250 * ease(seconds / 1.5)
            if seconds < 1.3:
                c.rounded((cx - 18, 620, cx + 18, cy), 18, "#F6E3B4")
            if r > 1:
                c.circle(cx, cy, r, "#F6E3B4")
                rng = random.Random(5)
                for i in range(int(max(0.0, seconds - 0.9) * 30)):
                    a, d = rng.uniform(0, math.tau), rng.uniform(0, 0.85) * r
                    c.circle(cx + d * math.cos(a), cy + d * math.sin(a), rng.uniform(5, 11), "#E7C98B")
        else:
            p = min(1.0, (seconds - 1.8) / 0.9)
            lift = math.sin(math.pi * p) * 330
            squash = abs(math.cos(math.pi * p))
            top = "#F6E3B4" if p < 0.5 else "#E3A548"
            c.soft(("ellipse", (cx - 250 + lift * 0.3, cy - 60, cx + 250 - lift * 0.3, cy + 120)), "#000000", 30,
                   0.4 * (1 - lift / 400))
            c.ellipse((cx - 250, cy - lift - 250 * squash - 10, cx + 250, cy - lift + 250 * squash + 10), top)
            if p >= 0.5:
                c.ellipse((cx - 170, cy - lift - 170 * squash, cx + 170, cy - lift + 170 * squash), "#EDB865")
    if seconds >= 3.2:
        # The stack on a plate, syrup last.
        p = min(1.0, (seconds - 3.2) / 0.3)
        layer = Canvas(*STORY_SIZE, output=VIDEO_SIZE)
        layer.image = c.image.copy()
        layer.draw = ImageDraw.Draw(layer.image, "RGBA")
        layer.soft(("ellipse", (cx - 380, cy + 150, cx + 380, cy + 330)), "#000000", 30, 0.35)
        layer.ellipse((cx - 360, cy + 120, cx + 360, cy + 300), "#FFFFFF")
        layer.ellipse((cx - 290, cy + 150, cx + 290, cy + 260), "#F1F1F1")
        count = min(5, 1 + int(max(0.0, seconds - 3.4) / 0.18))
        for i in range(count):
            y = cy + 170 - i * 70
            layer.ellipse((cx - 250, y - 40, cx + 250, y + 60), "#C98531")
            layer.ellipse((cx - 250, y - 60, cx + 250, y + 40), "#E9AE55")
        if seconds >= 4.3:
            top = cy + 170 - (count - 1) * 70
            drip = min(1.0, (seconds - 4.3) / 0.5)
            layer.ellipse((cx - 200, top - 55, cx + 200, top + 15), "#8D4A12", alpha=220)
            for dx, length in ((-170, 140), (60, 200), (190, 110)):
                layer.rounded((cx + dx - 16, top - 10, cx + dx + 16, top + length * drip), 16, "#8D4A12",
                              alpha=220)
            layer.rounded((cx - 50, top - 80, cx + 50, top - 30), 12, "#FFF3B0")
        c.image = Image.blend(c.image, layer.image, p) if p < 1 else layer.image
    return c.result()


def tune():
    """Five seconds of mallet notes over a soft bass, ending on a ringing chord; 16-bit mono samples."""
    def note(name):
        semitones = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}[name[0]]
        return 440.0 * 2 ** ((semitones + 12 * (int(name[1]) - 4)) / 12)

    melody = ["C5", "E5", "G5", "E5", "A5", "G5", "E5", "D5", "F5", "A5", "C6", "B5", "G5", "A5", "B5", "G5"]
    events = [(i * 0.25, note(n), 0.32, 0.5) for i, n in enumerate(melody)]
    events += [(4.0, note(n), 0.9, 0.4) for n in ("C5", "E5", "G5", "C6")]
    events += [(t, note(n), 0.6, 0.55) for t, n in ((0.0, "C3"), (1.0, "A2"), (2.0, "F2"), (3.0, "G2"), (4.0, "C3"))]
    total = AUDIO_RATE * VIDEO_SECONDS
    mixed = [0.0] * total
    for start, frequency, decay, level in events:
        first = int(start * AUDIO_RATE)
        for i in range(min(total - first, int(decay * 6 * AUDIO_RATE))):
            t = i / AUDIO_RATE
            envelope = min(1.0, t / 0.004) * math.exp(-t / decay)
            phase = math.tau * frequency * t
            mixed[first + i] += level * envelope * (math.sin(phase) + 0.25 * math.exp(-t / 0.05) *
                                                    math.sin(4 * phase))
    peak = max(abs(v) for v in mixed)
    fade = int(0.25 * AUDIO_RATE)
    samples = array.array("h")
    for i, v in enumerate(mixed):
        gain = min(1.0, (total - i) / fade)
        samples.append(round(v / peak * 0.7 * gain * 32767))
    return samples


def write_video(path):
    with tempfile.TemporaryDirectory() as work:
        sound = os.path.join(work, "tune.wav")
        with wave.open(sound, "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(AUDIO_RATE)
            out.writeframes(tune().tobytes())
        command = ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24",
                   "-s", "%dx%d" % VIDEO_SIZE, "-r", str(VIDEO_FPS), "-i", "-", "-i", sound,
                   "-map", "0:v", "-map", "1:a", "-c:v", "libx264", "-preset", "slow", "-crf", "24",
                   "-pix_fmt", "yuv420p", "-profile:v", "high", "-threads", "1", "-c:a", "aac", "-b:a", "96k",
                   "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact", "-map_metadata", "-1",
                   "-movflags", "+faststart", "-t", str(VIDEO_SECONDS), path]
        encoder = subprocess.Popen(command, stdin=subprocess.PIPE)
        background = pancake_background()
        for frame in range(VIDEO_FPS * VIDEO_SECONDS):
            encoder.stdin.write(pancake_frame(background, frame / VIDEO_FPS).tobytes())
        encoder.stdin.close()
        if encoder.wait() != 0:
            sys.exit("make-sample-media: ffmpeg failed for " + path)


# ---------------------------------------------------------------------------------------------------------

PICTURES = {
    "stories/spring-menu.jpg": spring_menu,
    "stories/strawberries.jpg": strawberries,
    "stories/vote-next-dish.jpg": vote_next_dish,
    "stories/lemon-pasta.jpg": lemon_pasta,
    "stories/kitchen-quiz.png": kitchen_quiz,
    "stories/weekend-box.jpg": weekend_box,
    "stories/first-box-offer.jpg": first_box_offer,
    "stories/free-delivery.webp": free_delivery,
    "stories/welcome.jpg": welcome,
    "banners/spring-sale.jpg": spring_sale_banner,
    "banners/sourdough.jpg": sourdough_banner,
    "banners/plus.jpg": plus_banner,
    "banners/invite-friend.png": invite_banner,
    "banners/quick-dinners.webp": quick_dinners_banner,
    "banners/meet-farmers.webp": meet_farmers_banner,
    "banners/weekday-deals.jpg": weekday_deals_banner,
    "banners/family-box.jpg": family_box_banner,
    "banners/gift-cards.jpg": gift_card_banner,
    "banners/pantry-staples.jpg": pantry_banner,
}
VIDEO = "stories/pancakes.mp4"


def save(picture, path):
    extension = os.path.splitext(path)[1]
    if extension == ".jpg":
        # Baseline, 4:2:0, no EXIF: what any JPEG decoder reads the same way.
        picture.save(path, "JPEG", quality=84, optimize=True, progressive=False, subsampling=2)
    elif extension == ".webp":
        picture.save(path, "WEBP", quality=82, method=6)
    else:
        picture.convert("P", palette=Image.ADAPTIVE, colors=256).save(path, "PNG", optimize=True)


def main():
    if shutil.which("ffmpeg") is None:
        sys.exit("make-sample-media: needs ffmpeg (apt-get install ffmpeg)")
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "devserver", "sample", "media")
    for folder in ("stories", "banners"):
        os.makedirs(os.path.join(out, folder), exist_ok=True)
    for name, draw in PICTURES.items():
        save(draw(), os.path.join(out, name))
    write_video(os.path.join(out, VIDEO))
    print("wrote %d files under %s" % (len(PICTURES) + 1, os.path.normpath(out)))


if __name__ == "__main__":
    main()
