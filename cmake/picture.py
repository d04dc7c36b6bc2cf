#!/usr/bin/env python3
"""Turns a text picture into a Windows bitmap (.bmp) or icon (.ico).

A picture file is a palette, a line holding only '-', then the rows: one
character a pixel, every row the same width. A palette line is
'C #RRGGBB' or 'C none' (transparent: icons only; in a bitmap it becomes
the colour named by a 'transparent #RRGGBB' line, magenta by default).
Lines starting with ';' are comments.

    picture.py INPUT.txt OUTPUT.bmp|OUTPUT.ico
"""
import struct
import sys


def read_picture(path):
    palette, rows, transparent, in_rows = {}, [], (255, 0, 255), False
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not in_rows:
                if line.startswith(";") or not line.strip():
                    continue
                if line.strip() == "-":
                    in_rows = True
                    continue
                key, value = line[0], line[1:].strip()
                if line.startswith("transparent "):
                    transparent = parse_colour(line.split()[1])
                elif value == "none":
                    palette[key] = None
                else:
                    palette[key] = parse_colour(value)
            elif line and not line.startswith(";"):
                rows.append(line)
    if not rows:
        sys.exit(f"{path}: no rows")
    width = len(rows[0])
    for n, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f"{path}: row {n} is {len(row)} wide, not {width}")
        for ch in row:
            if ch not in palette:
                sys.exit(f"{path}: row {n}: '{ch}' is not in the palette")
    return palette, rows, transparent


def parse_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def bitmap(palette, rows, transparent):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for ch in row:
            r, g, b = palette[ch] or transparent
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def icon(palette, rows):
    height, width = len(rows), len(rows[0])
    colour = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, ch in enumerate(row):
            c = palette[ch]
            if c is None:
                colour += b"\0\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                colour += bytes((c[2], c[1], c[0], 255))
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    palette, rows, transparent = read_picture(sys.argv[1])
    out = sys.argv[2]
    data = icon(palette, rows) if out.lower().endswith(".ico") else bitmap(palette, rows, transparent)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
