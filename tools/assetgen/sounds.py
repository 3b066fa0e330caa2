"""The game's sound effects, one Effect recipe per sound slot."""
import os

from . import jingle
from .sfxsynth import RATE, Effect
from .wavfile import write_wav


def _hit(seed, pitch, crack_lpf, decay):
    """A smack: a bright falling tone, a crack of noise and a short low body. The tone
    and the crack sit around 2 kHz, where the tune leaves room, so a hit carries over it;
    its level leaves headroom for a dozen more at once."""
    tone = Effect(wave="square", freq=pitch, slide=-2.0, sustain=0.03, punch=0.2, decay=decay * 0.6,
                  volume=0.5, seed=seed).render()
    crack = Effect(wave="noise", freq=2000, slide=-3.0, sustain=0.02, punch=0.5, decay=decay * 0.6,
                   lpf=crack_lpf, hpf=0.6, volume=0.5, seed=seed + 1).render()
    body = Effect(wave="square", freq=pitch / 9, slide=-5.0, sustain=0.02, decay=decay * 0.6, lpf=0.4,
                  volume=0.25, seed=seed + 2).render()
    return _mix(tone, crack, body)


def _after(seconds, samples):
    """Starts a sound a moment late: a cry or a knock-out comes just after the smack it
    goes with instead of landing on top of it."""
    return [0.0] * int(seconds * RATE) + samples


def _mix(*parts):
    n = max(len(p) for p in parts)
    out = [0.0] * n
    for p in parts:
        for i, v in enumerate(p):
            out[i] += v
    return out


def _whoosh():
    # The swing; it also serves as one of the hit sounds, so it ends in a snap.
    air = Effect(wave="noise", freq=900, slide=1.5, attack=0.02, sustain=0.03, decay=0.07,
                 lpf=0.55, lpf_sweep=1.2, lpf_res=0.85, hpf=0.6, volume=0.6, seed=31).render()
    snap = Effect(wave="square", freq=2400, slide=-3, sustain=0.015, punch=0.3, decay=0.04,
                  volume=0.3, seed=32).render()
    return _mix(air, [0.0] * int(0.07 * RATE) + snap)


def recipes():
    """Sound slot -> list of float samples at RATE."""
    return {
        1: Effect(wave="square", freq=1976, duty=0.25, sustain=0.05, punch=0.5, decay=0.2,
                  arp_time=0.06, arp_mult=1.5, volume=0.35, seed=1).render(),
        2: _hit(20, 1900, 0.7, 0.12),
        3: _whoosh(),
        4: _hit(40, 1600, 0.62, 0.14),
        5: _hit(50, 2300, 0.75, 0.1),
        6: _hit(60, 1750, 0.6, 0.15),
        7: _hit(70, 2600, 0.8, 0.09),
        8: _hit(80, 1500, 0.66, 0.16),
        9: _after(0.045, Effect(wave="square", freq=1680, slide=-4, duty=0.3, duty_sweep=0.8, sustain=0.04,
                                punch=0.3, decay=0.1, vib_depth=0.08, vib_speed=18, lpf=0.8, hpf=0.2,
                                volume=0.4, seed=9).render()),
        10: _after(0.09, _mix(Effect(wave="square", freq=1760, slide=-1.6, duty=0.4, sustain=0.2, decay=0.4,
                                     vib_depth=0.05, vib_speed=7, volume=0.4, seed=10).render(),
                              Effect(wave="noise", freq=300, slide=-1.5, sustain=0.05, punch=0.8, decay=0.25,
                                     lpf=0.6, hpf=0.6, volume=0.6, seed=11).render())),
        11: _after(0.03, _mix(Effect(wave="noise", freq=700, slide=-2.2, sustain=0.05, punch=1.0, decay=0.2,
                                     lpf=0.75, lpf_sweep=-0.9, hpf=0.6, volume=0.3, seed=12).render(),
                              Effect(wave="square", freq=1900, slide=-2.5, duty=0.4, sustain=0.05, decay=0.2,
                                     volume=0.4, seed=13).render())),
        95: Effect(wave="sine", freq=300, slide=3.0, attack=0.05, sustain=0.1, decay=0.25,
                   vib_depth=0.03, vib_speed=12, volume=0.45, seed=95).render(),
        98: Effect(wave="square", freq=520, slide=2.0, duty=0.25, sustain=0.05, punch=0.3, decay=0.12,
                   arp_time=0.05, arp_mult=1.335, lpf=0.8, volume=0.3, seed=98).render(),
        99: Effect(wave="square", freq=1320, duty=0.5, sustain=0.015, decay=0.045, lpf=0.7,
                   volume=0.25, seed=99).render(),
    }


# Peak level of each effect. The fight sounds keep their balance among themselves (each
# stands clear of the tune where it carries, around 2 kHz) and together are set against
# the whole tune: one player's fight is heard a couple of decibels under it, while the
# heaviest, a dozen sounds at once, still leaves headroom. The interface sounds play over
# silence.
LEVELS = {1: 0.312, 2: 0.126, 3: 0.252, 4: 0.146, 5: 0.136, 6: 0.14, 7: 0.151, 8: 0.156, 9: 0.188,
          10: 0.209, 11: 0.125, 95: 0.25, 98: 0.25, 99: 0.22}


def normalised(samples, peak):
    top = max(abs(v) for v in samples)
    return [v * peak / top for v in samples]


def write_sounds(out_dir):
    """Writes sfx/NNN.wav for every effect slot and the jingle (slot 96)."""
    sounds = {slot: (normalised(samples, LEVELS[slot]), RATE) for slot, samples in recipes().items()}
    sounds[96] = (jingle.render(), jingle.RATE)
    for slot, (samples, rate) in sorted(sounds.items()):
        write_wav(os.path.join(out_dir, "sfx", "%03d.wav" % slot), samples, rate)
