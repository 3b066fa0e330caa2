"""Instrument voices for the tune and the jingle: each renders one note to a
list of float samples. Notes are cached, since a tune repeats them a lot.
Pulses and saws come band-limited and centred from the shared oscillators."""
import functools
import math
import random

from .oscillators import pulse, saw

RATE = 32000


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def _adsr(seconds, attack, decay, sustain, release, rate=RATE):
    """The envelope of a note held for `seconds`, with its release after."""
    n = int(seconds * rate)
    a, d, r = int(attack * rate), int(decay * rate), int(release * rate)
    env = []
    for i in range(n + r):
        if i < a:
            e = i / a
        elif i < a + d:
            e = 1.0 - (1.0 - sustain) * (i - a) / d
        elif i < n:
            e = sustain
        else:
            e = sustain * (1.0 - (i - n) / r)
        env.append(e)
    return env


@functools.lru_cache(maxsize=None)
def lead(note, seconds):
    """A pulse lead with a soft attack, gentle vibrato and a touch of detune."""
    env = _adsr(seconds, 0.01, 0.12, 0.7, 0.08)
    f = midi_hz(note)
    out = []
    p1 = p2 = 0.0
    for i, e in enumerate(env):
        t = i / RATE
        vib = 1.0 + 0.006 * math.sin(2 * math.pi * 5.5 * t) * min(1.0, t * 4)
        dt = f * vib / RATE
        p1 = (p1 + dt) % 1.0
        p2 = (p2 + dt * 1.004) % 1.0
        v = pulse(p1, dt, 0.3) + pulse(p2, dt * 1.004, 0.5) * 0.5
        out.append(v * e * 0.55)
    return tuple(_smooth(out, 0.2))


@functools.lru_cache(maxsize=None)
def bass(note, seconds):
    """A round bass: triangle plus a little square bite, quick decay."""
    env = _adsr(seconds, 0.004, 0.1, 0.6, 0.03)
    f = midi_hz(note)
    out = []
    p = 0.0
    dt = f / RATE
    for e in env:
        p = (p + dt) % 1.0
        tri = 4.0 * abs(p - 0.5) - 1.0
        out.append((tri * 0.8 + pulse(p, dt, 0.5) * 0.25) * e * 0.7)
    return tuple(_smooth(out, 0.3))


@functools.lru_cache(maxsize=None)
def chime(note, seconds):
    """A bell-like arpeggio voice (two sine partials, fast decay)."""
    env = _adsr(seconds, 0.002, seconds * 0.9, 0.15, 0.05)
    f = midi_hz(note)
    return tuple(e * 0.3 * (math.sin(2 * math.pi * f * i / RATE) + 0.3 * math.sin(2 * math.pi * f * 3.01 * i / RATE))
                 for i, e in enumerate(env))


@functools.lru_cache(maxsize=None)
def pad(notes, seconds):
    """A soft saw chord pad with slow attack, low-passed."""
    env = _adsr(seconds, 0.25, 0.3, 0.8, 0.3)
    phases = [0.0] * len(notes)
    freqs = [midi_hz(x) for x in notes]
    out = []
    for e in env:
        v = 0.0
        for j, f in enumerate(freqs):
            phases[j] = (phases[j] + f / RATE) % 1.0
            v += saw(phases[j], f / RATE)
        out.append(v * e * 0.08)
    return tuple(_smooth(_smooth(out, 0.12), 0.12))


def _smooth(samples, k):
    """One-pole low-pass: k near 1 keeps everything, near 0 only the lows."""
    y = 0.0
    out = []
    for s in samples:
        y += (s - y) * k
        out.append(y)
    return out


@functools.lru_cache(maxsize=None)
def drum(kind):
    rnd = random.Random({"kick": 1, "snare": 2, "hat": 3, "open": 4, "crash": 5}[kind])
    if kind == "kick":
        n = int(0.3 * RATE)
        out, p = [], 0.0
        for i in range(n):
            t = i / RATE
            f = 45 + 110 * math.exp(-t * 30)
            p += f / RATE
            out.append(math.sin(2 * math.pi * p) * math.exp(-t * 9) * 0.9)
        return tuple(out)
    if kind == "snare":
        n = int(0.22 * RATE)
        noise = _smooth([rnd.uniform(-1, 1) for _ in range(n)], 0.6)
        return tuple((noise[i] * 0.45 * math.exp(-i / RATE * 18)
                      + math.sin(2 * math.pi * 190 * i / RATE) * 0.35 * math.exp(-i / RATE * 30))
                     for i in range(n))
    length = {"hat": 0.05, "open": 0.25, "crash": 1.2}[kind]
    decay = {"hat": 70, "open": 12, "crash": 3.2}[kind]
    level = {"hat": 0.22, "open": 0.2, "crash": 0.22}[kind]
    n = int(length * RATE)
    prev = 0.0
    out = []
    for i in range(n):
        x = rnd.uniform(-1, 1)
        hp = x - prev  # high-passed noise sounds metallic
        prev = x
        out.append(hp * level * math.exp(-i / RATE * decay))
    return tuple(out)
