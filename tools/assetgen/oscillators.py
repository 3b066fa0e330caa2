"""Waves shared by the effect synthesizer and the tune's instruments.

The pulse and the saw are band-limited (their jumps are rounded by a polynomial
step, so high notes do not alias) and every wave averages zero over a period,
whatever its duty: sounds that overlap do not pile up an offset.
"""
import math


def _blep(t, dt):
    """Correction that rounds a unit jump at phase 0 over one sample either side."""
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


def pulse(phase, dt, duty):
    """A pulse of height 1 (high for `duty` of the period), moved down by its mean.
    phase is 0..1 and advances dt per sample."""
    v = (0.5 if phase < duty else -0.5) - (duty - 0.5)
    return v + 0.5 * _blep(phase, dt) - 0.5 * _blep((phase - duty) % 1.0, dt)


def saw(phase, dt):
    """A falling saw from 1 to -1."""
    return 1.0 - phase * 2.0 + _blep(phase, dt)


def high_pass(samples, rate, hz=20.0, loop=False):
    """One-pole high-pass that takes out what stays below `hz`. A loop is filtered
    twice round, keeping the second pass, so its end runs into its start seamlessly."""
    pole = 1.0 - 2 * math.pi * hz / rate
    out = list(samples)
    x1 = y1 = 0.0
    for _ in range(2 if loop else 1):
        for i, x in enumerate(samples):
            y1 = x - x1 + pole * y1
            x1 = x
            out[i] = y1
    return out
