#!/usr/bin/env python3
"""Synthesizes res/chord.wav (refusal) and res/chimes.wav (successful save).

Both are 22050 Hz mono 16-bit PCM, well under a second, and fully
deterministic, so running this again reproduces the committed files byte for
byte.
"""
import math
import os
import struct
import wave

RATE = 22050
PEAK = 0.6  # of full scale: system sounds should not startle


def note(freq, start, length, total, decay, partials, attack=0.006):
    """One struck note: a few partials under a short attack and an
    exponential decay; higher partials fade faster, which keeps it soft."""
    out = [0.0] * total
    first = int(start * RATE)
    for i in range(int(length * RATE)):
        if first + i >= total:
            break
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-t / decay)
        s = 0.0
        for mult, gain in partials:
            s += gain * math.exp(-t * (mult - 1) * 6.0) * math.sin(2 * math.pi * freq * mult * t)
        out[first + i] += env * s
    return out


def mix(total, *tracks):
    return [sum(track[i] for track in tracks) for i in range(total)]


def finish(samples, fade=0.03):
    """Normalises to PEAK and fades the tail so the sound ends on silence."""
    top = max(abs(s) for s in samples) or 1.0
    n = len(samples)
    fade_n = int(fade * RATE)
    out = []
    for i, s in enumerate(samples):
        g = PEAK / top
        if i >= n - fade_n:
            g *= (n - 1 - i) / fade_n
        out.append(s * g)
    return out


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(round(s * 32767))) for s in samples))


def chord():
    # A minor triad, lightly strummed: a gentle "no".
    length = 0.35
    total = int(length * RATE)
    partials = [(1, 1.0), (2, 0.35), (3, 0.12)]
    notes = [(220.00, 0.000), (261.63, 0.012), (329.63, 0.024), (440.00, 0.036)]
    tracks = [note(f, start, length, total, 0.14, partials) for f, start in notes]
    return finish(mix(total, *tracks))


def chimes():
    # A rising fifth, C6 then G6, bell-like: "done".
    length = 0.45
    total = int(length * RATE)
    partials = [(1, 1.0), (2, 0.3), (3, 0.1), (4.2, 0.05)]
    low = note(1046.50, 0.00, length, total, 0.12, partials, attack=0.003)
    high = note(1567.98, 0.12, length, total, 0.16, partials, attack=0.003)
    return finish(mix(total, low, high))


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    write(os.path.join(res, "chord.wav"), chord())
    write(os.path.join(res, "chimes.wav"), chimes())


if __name__ == "__main__":
    main()
