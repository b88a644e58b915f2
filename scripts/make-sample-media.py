#!/usr/bin/env python3
"""Writes the small media files of the devserver's sample content (devserver/sample/media).

Standard library only: PNG images are built with zlib and struct. Run it again after changing a picture;
the output is deterministic, so unchanged pictures give unchanged files.

    python3 scripts/make-sample-media.py [OUTPUT_DIR]
"""
import os
import struct
import sys
import zlib


def png_bytes(width, height, pixel):
    """An 8-bit RGB PNG whose pixel (x, y) is pixel(x, y) -> (r, g, b)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter: none
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def gradient(top, bottom, stripe=None):
    """Vertical gradient with an optional band of another colour across the middle third."""
    top, bottom = hex_colour(top), hex_colour(bottom)
    band = hex_colour(stripe) if stripe else None

    def pixel(width, height):
        def at(x, y):
            if band and height // 3 <= y < 2 * height // 3 and (x // 8) % 2 == 0:
                return band
            return mix(top, bottom, y / max(1, height - 1))
        return at
    return pixel


def checker(first, second, cell):
    a, b = hex_colour(first), hex_colour(second)

    def pixel(_width, _height):
        return lambda x, y: a if ((x // cell) + (y // cell)) % 2 == 0 else b
    return pixel


# name -> (width, height, painter)
IMAGES = {
    "stories/launch-cover.png": (72, 128, gradient("FF8800", "FF2D55", "FFFFFF")),
    "stories/launch-2.png": (72, 128, gradient("5856D6", "AF52DE")),
    "stories/poll.png": (72, 128, gradient("34C759", "0A84FF", "FFFFFF")),
    "stories/quiz.png": (72, 128, checker("FFD60A", "FF9F0A", 12)),
    "stories/swipe.png": (72, 128, gradient("1C1C1E", "636366", "30D158")),
    "stories/cta.png": (72, 128, gradient("FF375F", "FF9F0A")),
    "stories/square-theme.png": (72, 128, checker("64D2FF", "0A84FF", 18)),
    "banners/spring-sale.png": (160, 90, gradient("FF9500", "FFCC00", "FFFFFF")),
    "banners/new-arrivals.png": (160, 90, gradient("007AFF", "5AC8FA")),
    "banners/members.png": (160, 90, checker("AF52DE", "5E5CE6", 15)),
    "banners/wide.png": (200, 100, gradient("30B0C7", "34C759")),
    "banners/tall.png": (90, 160, gradient("FF2D55", "5856D6", "FFFFFF")),
    "banners/square.png": (96, 96, checker("FF9500", "FF3B30", 16)),
}


def placeholder_mp4():
    """An MP4 container with a file-type box and a free box only: enough for a URL that answers with video
    bytes, not a playable clip (the SDK hands video URLs to the platform's player and never decodes them)."""
    ftyp = b"isom" + struct.pack(">I", 512) + b"isomiso2mp41"
    free = b"quenmark sample video placeholder"
    return (struct.pack(">I", 8 + len(ftyp)) + b"ftyp" + ftyp +
            struct.pack(">I", 8 + len(free)) + b"free" + free)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "devserver", "sample", "media")
    for name, (width, height, painter) in IMAGES.items():
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png_bytes(width, height, painter(width, height)))
    video = os.path.join(out, "stories", "placeholder.mp4")
    with open(video, "wb") as f:
        f.write(placeholder_mp4())
    print("wrote %d files under %s" % (len(IMAGES) + 1, os.path.normpath(out)))


if __name__ == "__main__":
    main()
