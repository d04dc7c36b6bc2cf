#!/usr/bin/env python3
"""Writes the alarm's default sound: a short chime of three bell-like tones,
struck one after the other and left to ring out, as a 16-bit mono PCM wave.

    chime.py OUTPUT.wav
"""
import math
import struct
import sys

RATE = 22050
LENGTH = 0.8          # seconds; the alarm repeats it, so it stays short
# (start in seconds, frequency in Hz, loudness): a rising major triad.
STRIKES = [(0.00, 659.25, 0.55), (0.12, 830.61, 0.50), (0.24, 987.77, 0.60)]
DECAY = 6.0           # per second: each tone has all but faded by the end
ATTACK = 0.004        # seconds of fade-in, so no strike clicks
FADE_OUT = 0.03       # seconds of fade-out at the very end


def sample(t):
    value = 0.0
    for start, freq, loud in STRIKES:
        age = t - start
        if age < 0:
            continue
        envelope = loud * math.exp(-DECAY * age) * min(1.0, age / ATTACK)
        # A quieter octave above gives the tone its bell colour.
        value += envelope * (math.sin(2 * math.pi * freq * age)
                             + 0.25 * math.sin(4 * math.pi * freq * age))
    tail = LENGTH - t
    if tail < FADE_OUT:
        value *= max(0.0, tail / FADE_OUT)
    return value


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: chime.py OUTPUT.wav")
    count = int(RATE * LENGTH)
    raw = [sample(n / RATE) for n in range(count)]
    peak = max(abs(v) for v in raw) or 1.0
    scale = 0.7 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    header = struct.pack("<4sI4s", b"RIFF", 36 + len(frames), b"WAVE")
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, RATE, RATE * 2, 2, 16)
    data = struct.pack("<4sI", b"data", len(frames))
    with open(sys.argv[1], "wb") as out:
        out.write(header + fmt + data + frames)


if __name__ == "__main__":
    main()
