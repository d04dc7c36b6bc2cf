#!/usr/bin/env python3
"""Whether raw sound heard on the device holds a tone.

    tone_heard.py FILE RATE HZ

FILE holds signed 16-bit little-endian mono samples at RATE. Exit 0 when some
half second of it is loud and mostly the tone of HZ; 1 otherwise (silence,
another sound, or the tone too faint to be the one played).
"""
import math
import struct
import sys

path, rate, hertz = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
with open(path, "rb") as f:
    data = f.read()
count = len(data) // 2
samples = struct.unpack("<%dh" % count, data[: 2 * count])
window = rate // 2
coefficient = 2 * math.cos(2 * math.pi * hertz / rate)
for start in range(0, count - window + 1, window // 2):
    s1 = s2 = energy = 0.0
    for x in samples[start : start + window]:
        s1, s2 = x + coefficient * s1 - s2, s1
        energy += x * x
    if energy == 0:
        continue
    # Goertzel: a pure sine puts 2|X|^2 / N of the window's energy in its bin.
    power = s1 * s1 + s2 * s2 - coefficient * s1 * s2
    share = 2 * power / (window * energy)
    loud = math.sqrt(energy / window) > 1000
    if loud and share > 0.5:
        sys.exit(0)
sys.exit(1)
