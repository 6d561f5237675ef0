#!/usr/bin/env python3
"""Draws Trelik's icon, a folder with a green plus badge, and writes it in the forms the program
needs: trelik.ico for the Windows executable (16, 32 and 48 pixels each in 256 colours and in
32-bit colour, and 256 pixels as PNG in both), trelik-256.png and trelik.svg for the Linux
desktop files, trelik-16/32/48.png for the Linux windows (handing the window manager the
256-pixel image costs every start a few milliseconds), and trelik-64/128.png, which with the
others fill the icon theme's usual sizes in the Debian package. The shapes are defined once below on a 256-unit grid; ImageMagick's convert
renders them at each size, so the small images are drawn, not shrunk.

Usage: make_icon.py [output folder]   (default: this script's folder)
"""

import os
import struct
import subprocess
import sys
import tempfile

OUTLINE = "#8A5A0B"


def shapes(size):
    """(element, attributes) on a 256 x 256 grid, painted in order. At 16 pixels the badge drops
    its white ring and the plus grows, so that it still reads as a plus."""
    small = size <= 16
    arm, length = (36, 100) if small else (24, 72)
    return [
        # the folder's back with its tab
        ("path", {"d": "M 20 60 Q 20 44 36 44 L 90 44 Q 99 44 105 51 L 114 62 L 220 62 "
                       "Q 236 62 236 78 L 236 198 Q 236 214 220 214 L 36 214 "
                       "Q 20 214 20 198 Z",
                  "fill": "#D99A1E", "stroke": OUTLINE, "stroke-width": 12 if small else 8}),
        # the front flap
        ("path", {"d": "M 20 100 Q 20 86 34 86 L 222 86 Q 236 86 236 100 L 236 198 "
                       "Q 236 214 220 214 L 36 214 Q 20 214 20 198 Z",
                  "fill": "#F7C948", "stroke": OUTLINE, "stroke-width": 12 if small else 8}),
        # the badge: a new project
        ("circle", {"cx": 186, "cy": 184, "r": 68 if small else 56, "fill": "#23913F",
                    "stroke": "none" if small else "#FFFFFF", "stroke-width": 0 if small else 10}),
        ("rect", {"x": 186 - length // 2, "y": 184 - arm // 2, "width": length, "height": arm,
                  "rx": 4, "fill": "#FFFFFF"}),
        ("rect", {"x": 186 - arm // 2, "y": 184 - length // 2, "width": arm, "height": length,
                  "rx": 4, "fill": "#FFFFFF"}),
    ]


SIZES = (16, 32, 48)
THEME_ONLY_SIZES = (64, 128)


def svg_text():
    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
             'viewBox="0 0 256 256">']
    for element, attributes in shapes(256):
        text = " ".join(f'{name}="{value}"' for name, value in attributes.items())
        lines.append(f'  <{element} {text} stroke-linejoin="round"/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def mvg_text(size):
    """The same shapes as ImageMagick drawing commands, scaled to `size` pixels."""
    commands = [f"scale {size / 256},{size / 256}", "stroke-linejoin round"]
    for element, a in shapes(size):
        commands.append(f"fill '{a['fill']}'")
        commands.append(f"stroke '{a.get('stroke', 'none')}'")
        commands.append(f"stroke-width {a.get('stroke-width', 0)}")
        if element == "path":
            commands.append(f"path '{a['d']}'")
        elif element == "circle":
            commands.append(f"circle {a['cx']},{a['cy']} {a['cx'] + a['r']},{a['cy']}")
        elif element == "rect":
            right, bottom = a["x"] + a["width"], a["y"] + a["height"]
            commands.append(f"roundrectangle {a['x']},{a['y']} {right},{bottom} "
                            f"{a['rx']},{a['rx']}")
    return " ".join(commands)


def render(size, path):
    subprocess.run(["convert", "-size", f"{size}x{size}", "xc:none", "-draw", mvg_text(size),
                    "-depth", "8", f"PNG32:{path}"], check=True)


def pixels(path, fmt, *options):
    return subprocess.run(["convert", path, *options, "-depth", "8", f"{fmt}:-"],
                          check=True, capture_output=True).stdout


def and_mask(size, transparent):
    """The 1-bit mask that marks transparent pixels, bottom row first, rows padded to 32 bits."""
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return bytes(mask)


def bitmap_header(size, bit_count, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0, image_bytes, 0, 0,
                       0, 0)


def true_colour_image(size, png):
    rgba = pixels(png, "rgba")
    alpha = lambda x, y: rgba[(y * size + x) * 4 + 3]
    colour = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            colour += bytes((b, g, r, a))
    mask = and_mask(size, lambda x, y: alpha(x, y) == 0)
    return bitmap_header(size, 32, len(colour) + len(mask)) + colour + mask


def palette_image(size, png):
    """256 colours: half-transparent edge pixels become opaque or transparent at the midpoint."""
    alpha = pixels(png, "gray", "-alpha", "extract")
    rgb = pixels(png, "rgb", "-background", "white", "-alpha", "remove", "+dither",
                 "-colors", "255")
    transparent = lambda x, y: alpha[y * size + x] < 128
    palette = [(0, 0, 0)]  # index 0 sits under the transparent pixels
    index = {}
    stride = (size + 3) // 4 * 4
    colour = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                continue
            value = tuple(rgb[(y * size + x) * 3:(y * size + x) * 3 + 3])
            if value not in index:
                index[value] = len(palette)
                palette.append(value)
            row[x] = index[value]
        colour += row
    if len(palette) > 256:
        raise SystemExit(f"{size} px: {len(palette)} colours do not fit a palette")
    palette += [(0, 0, 0)] * (256 - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    mask = and_mask(size, transparent)
    return bitmap_header(size, 8, len(colour) + len(mask)) + table + colour + mask


def write_icon(path, images):
    """images: (size, bit count, bytes) in directory order."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory, data = b"", b""
    for size, bit_count, image in images:
        side = 0 if size == 256 else size
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, bit_count, len(image),
                                 offset + len(data))
        data += image
    with open(path, "wb") as icon:
        icon.write(header + directory + data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(out, "trelik.svg"), "w") as svg:
        svg.write(svg_text())
    with tempfile.TemporaryDirectory() as work:
        drawn = {}
        for size in SIZES + THEME_ONLY_SIZES + (256,):
            drawn[size] = os.path.join(work, f"{size}.png")
            render(size, drawn[size])
        for size in SIZES + THEME_ONLY_SIZES:
            subprocess.run(["convert", drawn[size], "-strip",
                            f"PNG32:{os.path.join(out, f'trelik-{size}.png')}"], check=True)
        large = os.path.join(out, "trelik-256.png")
        subprocess.run(["convert", drawn[256], "-strip", f"PNG32:{large}"], check=True)
        large_palette = os.path.join(work, "256-8.png")
        subprocess.run(["convert", drawn[256], "-strip", "+dither", "-colors", "255",
                        f"PNG8:{large_palette}"], check=True)
        images = [(size, 8, palette_image(size, drawn[size])) for size in SIZES]
        with open(large_palette, "rb") as png:
            images.append((256, 8, png.read()))
        images += [(size, 32, true_colour_image(size, drawn[size])) for size in SIZES]
        with open(large, "rb") as png:
            images.append((256, 32, png.read()))
    write_icon(os.path.join(out, "trelik.ico"), images)


if __name__ == "__main__":
    main()
