#!/usr/bin/env python3
"""Writes the HOME menu's tune of the game: four rising notes, 1.2 seconds in all (the menu
plays at most about 2), as a 16-bit mono WAV.

Usage: make-tune.py OUT.wav
Standard library only; run at build time.
"""
import math
import struct
import sys
import wave

RATE = 32000
NOTES = [(523.25, 0.2), (659.26, 0.2), (783.99, 0.2), (1046.50, 0.6)]  # C5 E5 G5 C6, seconds


def samples():
    for frequency, length in NOTES:
        count = int(RATE * length)
        for i in range(count):
            t = i / RATE
            # A soft attack and a decay, so that notes do not click.
            envelope = min(1.0, t / 0.01) * math.exp(-4.0 * t / length)
            tone = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(4 * math.pi * frequency * t)
            yield int(12000 * envelope * tone)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make-tune.py OUT.wav")
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))
