"""Sound 96: the short fanfare of the loading screen and of a round's end."""
from . import voices
from .oscillators import high_pass
from .voices import RATE


def render():
    step = int(0.09 * RATE)
    length = int(1.9 * RATE)
    out = [0.0] * length

    def add(samples, start, gain=1.0):
        for i, v in enumerate(samples[: length - start]):
            out[start + i] += v * gain

    for i, note in enumerate((60, 64, 67, 72, 76)):
        add(voices.lead(note, step * 0.9 / RATE), i * step, 0.8)
        add(voices.chime(note + 12, 0.3), i * step, 0.5)
    hit = 5 * step + step // 2
    for note in (72, 76, 79):
        add(voices.lead(note, 0.8), hit, 0.45)
    add(voices.bass(48, 0.8), hit, 0.9)
    add(voices.drum("crash"), hit, 0.8)
    add(voices.drum("kick"), hit)
    out = high_pass(out, RATE)
    peak = max(abs(v) for v in out)
    fade = int(0.05 * RATE)
    for j in range(fade):
        out[length - fade + j] *= 1.0 - j / fade
    return [v * 0.5 / peak for v in out]
