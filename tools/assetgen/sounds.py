"""The game's sound effects, one Effect recipe per sound slot."""
import os

from . import jingle
from .sfxsynth import RATE, Effect
from .wavfile import write_wav


def _hit(seed, freq, noise_mix_freq, lpf, decay):
    """A punchy impact: a dropping square thump layered with filtered noise."""
    thump = Effect(wave="square", freq=freq, slide=-6.0, duty=0.35, sustain=0.02, punch=0.8,
                   decay=decay, lpf=0.6, volume=0.55, seed=seed).render()
    crack = Effect(wave="noise", freq=noise_mix_freq, slide=-3.0, sustain=0.01, punch=1.0,
                   decay=decay * 0.8, lpf=lpf, lpf_sweep=-0.8, volume=0.5, seed=seed + 1).render()
    return _mix(thump, crack)


def _mix(*parts):
    n = max(len(p) for p in parts)
    out = [0.0] * n
    for p in parts:
        for i, v in enumerate(p):
            out[i] += v
    return out


def _whoosh():
    # The swing; it also serves as one of the hit sounds, so it ends in a snap.
    air = Effect(wave="noise", freq=900, slide=1.5, attack=0.03, sustain=0.05, decay=0.12,
                 lpf=0.35, lpf_sweep=1.8, hpf=0.15, volume=0.6, seed=31).render()
    snap = Effect(wave="noise", freq=2500, slide=-4, sustain=0.01, punch=0.6, decay=0.06,
                  lpf=0.8, volume=0.35, seed=32).render()
    return _mix(air, [0.0] * int(0.12 * RATE) + snap)


def recipes():
    """Sound slot -> list of float samples at RATE."""
    return {
        1: Effect(wave="square", freq=988, duty=0.25, sustain=0.05, punch=0.5, decay=0.28,
                  arp_time=0.06, arp_mult=1.5, volume=0.35, seed=1).render(),
        2: _hit(20, 220, 1600, 0.55, 0.16),
        3: _whoosh(),
        4: _hit(40, 160, 1100, 0.45, 0.2),
        5: _hit(50, 260, 2000, 0.65, 0.14),
        6: _hit(60, 190, 900, 0.4, 0.22),
        7: _hit(70, 300, 2600, 0.7, 0.12),
        8: _hit(80, 140, 1300, 0.5, 0.25),
        9: Effect(wave="square", freq=420, slide=-2.5, duty=0.3, duty_sweep=0.8, sustain=0.08,
                  punch=0.4, decay=0.22, vib_depth=0.08, vib_speed=18, lpf=0.7, volume=0.4, seed=9).render(),
        10: _mix(Effect(wave="saw", freq=520, slide=-1.6, sustain=0.25, decay=0.55, vib_depth=0.05,
                        vib_speed=7, lpf=0.55, volume=0.4, seed=10).render(),
                 Effect(wave="noise", freq=300, slide=-1.5, sustain=0.05, punch=0.8, decay=0.35,
                        lpf=0.35, volume=0.45, seed=11).render()),
        11: _mix(Effect(wave="noise", freq=700, slide=-2.2, sustain=0.06, punch=1.0, decay=0.45,
                        lpf=0.6, lpf_sweep=-0.9, volume=0.55, seed=12).render(),
                 Effect(wave="square", freq=330, slide=-5.0, duty=0.4, sustain=0.04, decay=0.2,
                        volume=0.35, seed=13).render()),
        95: Effect(wave="sine", freq=300, slide=3.0, attack=0.05, sustain=0.1, decay=0.25,
                   vib_depth=0.03, vib_speed=12, volume=0.45, seed=95).render(),
        98: Effect(wave="square", freq=520, slide=2.0, duty=0.25, sustain=0.05, punch=0.3, decay=0.12,
                   arp_time=0.05, arp_mult=1.335, lpf=0.8, volume=0.3, seed=98).render(),
        99: Effect(wave="square", freq=1320, duty=0.5, sustain=0.015, decay=0.045, lpf=0.7,
                   volume=0.25, seed=99).render(),
    }


# Peak level of each effect: interface clicks sit below the fight sounds.
LEVELS = {95: 0.5, 98: 0.5, 99: 0.45, 1: 0.6}


def normalised(samples, peak):
    top = max(abs(v) for v in samples)
    return [v * peak / top for v in samples]


def write_sounds(out_dir):
    """Writes sfx/NNN.wav for every effect slot and the jingle (slot 96)."""
    sounds = {slot: (normalised(samples, LEVELS.get(slot, 0.8)), RATE) for slot, samples in recipes().items()}
    sounds[96] = (jingle.render(), jingle.RATE)
    for slot, (samples, rate) in sorted(sounds.items()):
        write_wav(os.path.join(out_dir, "sfx", "%03d.wav" % slot), samples, rate)
