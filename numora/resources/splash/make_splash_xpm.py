#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the decorative picture of Numora's start-up window: colourful tiles
with "1+2=3" in a 16-colour palette, on a transparent background. Writes
splash.xpm beside this script; run it again after changing the drawing."""

import os

WIDTH, HEIGHT = 161, 105

# 5 x 7 glyphs, "#" = ink.
GLYPHS = {
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    "=": [".....", ".....", "#####", ".....", "#####", ".....", "....."],
}

# Palette: one character per colour, 16 at most ("." is transparent).
PALETTE = {
    ".": "None",
    "w": "#FFFFFF",
    "r": "#E53935",
    "b": "#1E88E5",
    "g": "#43A047",
    "o": "#FB8C00",
    "p": "#8E24AA",
    "y": "#FDD835",
    "k": "#5D4037",
    "s": "#B0BEC5",
}


def blank():
    return [["." for _ in range(WIDTH)] for _ in range(HEIGHT)]


def rounded_tile(img, x0, y0, w, h, colour, shadow="s", radius=4):
    def inside(x, y):
        cx = min(max(x, x0 + radius), x0 + w - 1 - radius)
        cy = min(max(y, y0 + radius), y0 + h - 1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    for y in range(y0, y0 + h + 2):
        for x in range(x0, x0 + w + 2):
            if 0 <= x < WIDTH and 0 <= y < HEIGHT:
                if inside(x, y):
                    img[y][x] = colour
                elif inside(x - 2, y - 2) and img[y][x] == ".":
                    img[y][x] = shadow


def glyph(img, ch, x0, y0, scale, colour):
    for gy, row in enumerate(GLYPHS[ch]):
        for gx, cell in enumerate(row):
            if cell == "#":
                for dy in range(scale):
                    for dx in range(scale):
                        img[y0 + gy * scale + dy][x0 + gx * scale + dx] = colour


def star(img, cx, cy, colour):
    for d in range(-3, 4):
        img[cy][cx + d] = colour
        img[cy + d][cx] = colour
    for d in (-1, 1):
        img[cy + d][cx + d] = colour
        img[cy + d][cx - d] = colour


def draw():
    img = blank()
    # Upper row: "1 + 2", lower row: "= 3", each character on its own tile.
    tiles = [
        ("1", 4, 6, "r"), ("+", 56, 6, "b"), ("2", 108, 6, "g"),
        ("=", 30, 56, "o"), ("3", 82, 56, "p"),
    ]
    for ch, x, y, colour in tiles:
        rounded_tile(img, x, y, 44, 44, colour)
        glyph(img, ch, x + 12, y + 8, 4, "w")
    star(img, 10, 90, "y")
    star(img, 146, 88, "y")
    star(img, 20, 64, "y")
    star(img, 140, 62, "y")
    return img


def write_xpm(img, path):
    used = sorted({c for row in img for c in row})
    lines = ["/* XPM */", "static const char* splash_xpm[] = {",
             f'"{WIDTH} {HEIGHT} {len(used)} 1",']
    lines += [f'"{c} c {PALETTE[c]}",' for c in used]
    lines += [f'"{"".join(row)}",' for row in img]
    lines[-1] = lines[-1].rstrip(",")
    lines.append("};")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    write_xpm(draw(), os.path.join(os.path.dirname(os.path.abspath(__file__)), "splash.xpm"))
