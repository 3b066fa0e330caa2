"""A small retro effect synthesizer in the spirit of the classic sfxr tools.

An effect is one oscillator (square, saw, sine, triangle or noise) whose pitch
slides, wobbles and jumps (arpeggio), shaped by an attack/sustain/decay
envelope with a punch, then low- and high-pass filtered. The square and saw are
band-limited and every wave is centred on zero, so effects that overlap in a
fight do not pile up an offset. Parameters are plain numbers in seconds and
hertz; randomness comes from a seeded generator so every effect is reproducible.
"""
import math
import random

from .oscillators import high_pass, pulse, saw

RATE = 44100


class Effect:
    def __init__(self, **kw):
        self.wave = "square"
        self.freq = 440.0          # start pitch, Hz
        self.freq_min = 20.0       # the effect ends early when the pitch slides below this
        self.slide = 0.0           # pitch change in octaves per second
        self.slide_accel = 0.0     # change of slide per second
        self.duty = 0.5            # square duty cycle
        self.duty_sweep = 0.0      # per second
        self.vib_depth = 0.0       # fraction of the pitch
        self.vib_speed = 0.0       # Hz
        self.attack = 0.0
        self.sustain = 0.1
        self.punch = 0.0           # extra level at the start of the sustain
        self.decay = 0.2
        self.arp_time = 0.0        # seconds until the pitch jumps
        self.arp_mult = 1.0        # pitch factor of that jump
        self.lpf = 1.0             # low-pass cutoff 0..1 (1 = open)
        self.lpf_sweep = 0.0       # per second
        self.lpf_res = 0.0
        self.hpf = 0.0             # high-pass cutoff 0..1
        self.hpf_sweep = 0.0
        self.volume = 0.5
        self.seed = 1
        for k, v in kw.items():
            if not hasattr(self, k):
                raise KeyError(k)
            setattr(self, k, v)

    def render(self):
        rnd = random.Random(self.seed)
        total = int((self.attack + self.sustain + self.decay) * RATE)
        out = []
        phase = 0.0
        freq = self.freq
        slide = self.slide
        duty = self.duty
        lp_pos = lp_vel = 0.0
        hp_pos = 0.0
        lpf, hpf = self.lpf, self.hpf
        noise = _noise_period(rnd)
        a_n, s_n = int(self.attack * RATE), int(self.sustain * RATE)
        d_n = max(1, total - a_n - s_n)
        arp_n = int(self.arp_time * RATE) if self.arp_time > 0 else -1
        prev = 0.0
        for i in range(total):
            t = i / RATE
            if i == arp_n:
                freq *= self.arp_mult
            slide += self.slide_accel / RATE
            freq *= 2.0 ** (slide / RATE)
            if freq < self.freq_min:
                break
            f = freq * (1.0 + self.vib_depth * math.sin(2 * math.pi * self.vib_speed * t))
            duty = min(0.95, max(0.05, duty + self.duty_sweep / RATE))
            phase += f / RATE
            if phase >= 1.0:
                phase -= int(phase)
                if self.wave == "noise":
                    noise = _noise_period(rnd)
            v = _oscillator(self.wave, phase, min(0.5, f / RATE), duty, noise)
            # Resonant low-pass, then a one-pole high-pass.
            lpf = min(1.0, max(0.001, lpf + self.lpf_sweep / RATE))
            if lpf < 1.0:
                cut = lpf ** 3 * 0.9
                lp_vel += (v - lp_pos) * cut
                lp_vel *= 1.0 - 0.9 * (1.0 - self.lpf_res) * min(1.0, cut * 4 + 0.05)
                lp_pos += lp_vel
                v = lp_pos
            hpf = min(1.0, max(0.0, hpf + self.hpf_sweep / RATE))
            if hpf > 0:
                hp_pos += v - prev
                prev = v
                hp_pos *= 1.0 - hpf ** 2 * 0.5
                v = hp_pos
            # Envelope.
            if i < a_n:
                env = i / a_n
            elif i < a_n + s_n:
                env = 1.0 + self.punch * (1.0 - (i - a_n) / s_n)
            else:
                env = max(0.0, 1.0 - (i - a_n - s_n) / d_n)
            out.append(v * env * self.volume)
        # What the envelope leaves of a low note's swing is taken out too.
        return _declick(high_pass(out, RATE))


def _noise_period(rnd):
    """One period of the noise wave: 32 random steps with their mean taken out."""
    steps = [rnd.uniform(-1, 1) for _ in range(32)]
    mean = sum(steps) / len(steps)
    return [x - mean for x in steps]


def _oscillator(wave, phase, dt, duty, noise):
    """One sample of the wave at `phase` (0..1), advancing dt per sample."""
    if wave == "square":
        return pulse(phase, dt, duty)
    if wave == "saw":
        return saw(phase, dt)
    if wave == "sine":
        return math.sin(2 * math.pi * phase)
    if wave == "triangle":
        return 4.0 * abs(phase - 0.5) - 1.0
    return noise[int(phase * 32) % 32]


def _declick(samples, fade=64):
    """Fades the last few samples so a cut-short effect ends silently."""
    n = min(fade, len(samples))
    for j in range(n):
        samples[len(samples) - n + j] *= (n - j - 1) / n
    return samples
