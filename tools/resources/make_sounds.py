#!/usr/bin/env python3
"""Synthesises the four move sounds: short wooden knocks of a piece set down.

    make_sounds.py OUTPUT_FOLDER

move1 a light piece set down, move2 a heavy one, move3 a light capture (two
knocks), move4 a heavy capture (two deeper knocks). Deterministic: the same
files every time.
"""
import math
import random
import struct
import sys
import wave

RATE = 22050


def knock(pitch, decay, length, loudness, seed):
    """A wood-block knock: a few inharmonic partials decaying fast, and a click of noise."""
    rng = random.Random(seed)
    partials = [(1.0, 1.0), (2.76, 0.45), (5.40, 0.18), (8.93, 0.07)]
    samples = []
    for n in range(int(RATE * length)):
        t = n / RATE
        tone = sum(weight * math.sin(2 * math.pi * pitch * ratio * t) * math.exp(-t * ratio / decay)
                   for ratio, weight in partials)
        click = (rng.random() * 2 - 1) * math.exp(-t / 0.0025) * 0.6
        attack = min(1.0, t / 0.0008)
        samples.append(loudness * attack * (tone + click))
    return samples


def mix(*parts):
    """Lays knocks over each other at their start times (seconds)."""
    length = max(int(start * RATE) + len(samples) for start, samples in parts)
    out = [0.0] * length
    for start, samples in parts:
        offset = int(start * RATE)
        for i, value in enumerate(samples):
            out[offset + i] += value
    return out


def write(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = min(1.0, 0.9 / peak)
    fade = int(0.004 * RATE)
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        frames = bytearray()
        for i, value in enumerate(samples):
            tail = min(1.0, (len(samples) - i) / fade)
            frames += struct.pack("<h", int(max(-1.0, min(1.0, value * scale * tail)) * 32767))
        file.writeframes(bytes(frames))


def main():
    if len(sys.argv) != 2:
        print("usage: make_sounds.py OUTPUT_FOLDER", file=sys.stderr)
        return 2
    folder = sys.argv[1].rstrip("/")
    sounds = {
        "move1": mix((0.0, knock(1150, 0.018, 0.09, 0.55, 1))),
        "move2": mix((0.0, knock(680, 0.030, 0.13, 0.75, 2))),
        "move3": mix((0.0, knock(1000, 0.016, 0.08, 0.5, 3)), (0.05, knock(1320, 0.020, 0.10, 0.6, 4))),
        "move4": mix((0.0, knock(560, 0.030, 0.12, 0.7, 5)), (0.06, knock(430, 0.045, 0.18, 0.85, 6))),
    }
    for name, samples in sounds.items():
        write(f"{folder}/{name}.wav", samples)
    return 0


if __name__ == "__main__":
    sys.exit(main())
