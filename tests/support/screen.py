#!/usr/bin/env python3
"""What a screenshot of the device shows where the scenarios look.

  screen.py rows SHOT.png < ROWBOXES
      ROWBOXES is what `JotlingsProbe rowboxes` prints. One line a row the
      list holds on the screen, "N text|empty plain|marked", where text
      means the row's title column holds writing and marked that its
      background is not the list's (a selection's highlight); then
      "below text|empty" for the list's area under its last row.
  screen.py lines SHOT.png LEFT TOP RIGHT BOTTOM
      How many lines of writing the rectangle holds: bands of pixel rows
      with writing in them, parted by pixel rows without.

A pixel is writing when it stands far from the rectangle's commonest
colour, its background; a few such pixels make text (a letter has dozens).
Reads the PNG through ImageMagick's convert, which the device driver's
screenshots already need.
"""
import subprocess
import sys
from collections import Counter

LIST_BACKGROUND = (255, 255, 0)   # the notes' yellow
ICON_WIDTH = 20                   # a row's state image, before its texts
WRITING_PIXELS = 6


class Shot:
    def __init__(self, path):
        ppm = subprocess.run(["convert", path, "ppm:-"], check=True, capture_output=True).stdout
        fields, at = [], 0
        while len(fields) < 4:   # P6, width, height, maximum
            while ppm[at:at + 1].isspace():
                at += 1
            start = at
            while not ppm[at:at + 1].isspace():
                at += 1
            fields.append(ppm[start:at])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = ppm[at + 1:]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def area(self, left, top, right, bottom):
        left, top = max(left, 0), max(top, 0)
        right, bottom = min(right, self.width), min(bottom, self.height)
        return [[self.pixel(x, y) for x in range(left, right)] for y in range(top, bottom)]


def background(rows):
    counts = Counter(p for row in rows for p in row)
    return counts.most_common(1)[0][0] if counts else LIST_BACKGROUND


def is_writing(p, ground):
    return sum(abs(a - b) for a, b in zip(p, ground)) > 150


def writing_in(rows, ground=None):
    ground = ground or background(rows)
    return sum(1 for row in rows for p in row if is_writing(p, ground))


def rows_command(shot, lines):
    boxes, area = [], None
    for line in lines:
        parts = line.split()
        if parts and parts[0] == "list":
            area = [int(v) for v in parts[1:5]]
        elif parts and parts[0] == "row":
            boxes.append((int(parts[1]), [int(v) for v in parts[2:6]]))
    if area is None:
        sys.exit("no list in the probe's answer")
    bottom = area[1]
    for number, (left, top, right, low) in boxes:
        # Clipped to the list, a pixel in from its edges and the focus frame.
        top, low = max(top, area[1]) + 1, min(low, area[3]) - 1
        left, right = max(left, area[0]) + ICON_WIDTH, min(right, area[2]) - 1
        pixels = shot.area(left, top, right, low)
        ground = background(pixels)
        text = "text" if writing_in(pixels, ground) >= WRITING_PIXELS else "empty"
        mark = "plain" if ground == LIST_BACKGROUND else "marked"
        print(number, text, mark)
        bottom = max(bottom, low + 1)
    below = shot.area(area[0] + 1, bottom + 1, area[2] - 1, area[3] - 1)
    print("below", "text" if below and writing_in(below, LIST_BACKGROUND) >= WRITING_PIXELS else "empty")


def lines_command(shot, left, top, right, bottom):
    pixels = shot.area(left, top, right, bottom)
    ground = background(pixels)
    bands, inside = 0, False
    for row in pixels:
        inked = sum(1 for p in row if is_writing(p, ground)) > 0
        if inked and not inside:
            bands += 1
        inside = inked
    print(bands)


def main(argv):
    if len(argv) == 3 and argv[1] == "rows":
        rows_command(Shot(argv[2]), sys.stdin.read().splitlines())
    elif len(argv) == 7 and argv[1] == "lines":
        lines_command(Shot(argv[2]), *[int(v) for v in argv[3:7]])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
