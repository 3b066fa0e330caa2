""""gale": the round's looping tune, composed here as note lists.

133 1/3 beats per minute in 4/4 (a sixteenth is exactly 3600 samples at
32 kHz), A minor, 32 bars = 57.6 seconds: verse, chorus, verse, chorus with a
harmony. Everything is mixed into a circular buffer, so note tails and echoes
that run past the end wrap round to the start and the loop has no seam.
"""
from . import voices
from .oscillators import high_pass
from .voices import RATE

STEP = 3600            # samples per sixteenth
BAR = 16 * STEP
BARS = 32
LENGTH = BARS * BAR

# The loop's peak: well under full scale, and low enough that the fight's effects, played
# on top of it, are heard beside it rather than under it.
PEAK = 0.26

NOTE = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8, "A": 9, "A#": 10, "B": 11}


def n(name):
    """'A4' -> MIDI note number."""
    return 12 * (int(name[-1]) + 1) + NOTE[name[:-1]]


# Melodies: bars of (note or None for a rest, length in sixteenths).
VERSE = [
    "A4:4 C5:2 E5:2 D5:2 C5:2 B4:2 C5:2",
    "A4:6 -:2 F4:2 A4:2 C5:4",
    "G4:4 C5:2 E5:2 G5:4 E5:2 C5:2",
    "D5:6 B4:2 G4:4 -:4",
    "A4:2 A4:2 C5:2 E5:2 A5:4 G5:2 E5:2",
    "F5:4 E5:2 D5:2 C5:4 A4:4",
    "B4:4 D5:4 G5:4 F5:2 D5:2",
    "E5:8 G#4:4 B4:4",
]
CHORUS = [
    "C5:2 F5:2 A5:4 G5:2 F5:2 E5:2 F5:2",
    "G5:6 D5:2 B4:4 D5:4",
    "E5:2 G5:2 B5:4 A5:2 G5:2 E5:4",
    "A5:8 E5:4 C5:4",
    "F5:4 A5:4 C6:4 A5:4",
    "B5:6 A5:2 G5:4 D5:4",
    "E5:4 G5:4 C6:4 G5:2 E5:2",
    "G#5:8 B5:4 E5:4",
]
VERSE_CHORDS = ["A3 C4 E4", "F3 A3 C4", "C4 E4 G4", "G3 B3 D4", "A3 C4 E4", "F3 A3 C4", "G3 B3 D4", "E3 G#3 B3"]
CHORUS_CHORDS = ["F3 A3 C4", "G3 B3 D4", "E3 G3 B3", "A3 C4 E4", "F3 A3 C4", "G3 B3 D4", "C4 E4 G4", "E3 G#3 B3"]
SECTIONS = [("verse", False), ("chorus", False), ("verse", True), ("chorus", True)]


def _parse(bar):
    out, pos = [], 0
    for token in bar.split():
        name, length = token.split(":")
        if name != "-":
            out.append((pos, int(length), n(name)))
        pos += int(length)
    if pos != 16:
        raise ValueError("bar %r has %d sixteenths" % (bar, pos))
    return out


class Loop:
    """A circular mono buffer."""

    def __init__(self, length):
        self.buf = [0.0] * length

    def add(self, samples, start, gain=1.0):
        size = len(self.buf)
        start %= size
        first = min(len(samples), size - start)
        buf = self.buf
        buf[start:start + first] = [a + b * gain for a, b in zip(buf[start:start + first], samples[:first])]
        rest = samples[first:]
        pos = 0
        while len(rest):
            chunk = rest[:size]
            buf[pos:pos + len(chunk)] = [a + b * gain for a, b in zip(buf[pos:pos + len(chunk)], chunk)]
            rest = rest[size:]


def _echo(dry, delay, feedback):
    """Feedback delay on a loop: two passes round the circle settle the wrap."""
    size = len(dry)
    out = list(dry)
    for _ in range(2):
        for i in range(size):
            out[i] = dry[i] + out[i - delay] * feedback
    return [o - d for o, d in zip(out, dry)]


def render():
    """Returns interleaved stereo float samples of the whole loop."""
    lead, harmony, bass, chime, pad = (Loop(LENGTH) for _ in range(5))
    kick, snare, hats = (Loop(LENGTH) for _ in range(3))
    for s, (part, second) in enumerate(SECTIONS):
        melody = VERSE if part == "verse" else CHORUS
        chords = VERSE_CHORDS if part == "verse" else CHORUS_CHORDS
        for b in range(8):
            bar_start = (s * 8 + b) * BAR
            for pos, length, note in _parse(melody[b]):
                secs = length * STEP / RATE * 0.92
                lead.add(voices.lead(note, secs), bar_start + pos * STEP)
                if second and part == "chorus":
                    harmony.add(voices.chime(note - 12, secs), bar_start + pos * STEP)
            chord = tuple(n(x) for x in chords[b].split())
            pad.add(voices.pad(chord, BAR / RATE * 0.95), bar_start)
            root = chord[0] - 12 if chord[0] - 12 >= n("E2") else chord[0]
            for i, off in enumerate((0, 0, 12, 0, 0, 12, 0, 12)):
                bass.add(voices.bass(root + off, 2 * STEP / RATE * 0.8), bar_start + i * 2 * STEP)
            arp = [chord[0] + 12, chord[1] + 12, chord[2] + 12, chord[1] + 24]
            if part == "chorus" or second:
                for i in range(16):
                    chime.add(voices.chime(arp[i % 4], STEP / RATE * 1.5), bar_start + i * STEP,
                              0.6 if i % 4 else 0.8)
            _drums(kick, snare, hats, bar_start, part, b)
    echo = _echo(lead.buf, 3 * STEP, 0.35)
    left_gain = {"lead": 0.9, "echo": 0.1, "harmony": 0.45, "bass": 0.8, "chime": 0.4, "pad": 1.0,
                 "kick": 0.85, "snare": 1.1, "hats": 0.45}
    right_gain = {"lead": 0.9, "echo": 0.25, "harmony": 0.3, "bass": 0.8, "chime": 0.2, "pad": 1.0,
                  "kick": 0.85, "snare": 1.1, "hats": 0.7}
    tracks = {"lead": lead.buf, "echo": echo, "harmony": harmony.buf, "bass": bass.buf, "chime": chime.buf,
              "pad": pad.buf, "kick": kick.buf, "snare": snare.buf, "hats": hats.buf}
    left = [0.0] * LENGTH
    right = [0.0] * LENGTH
    for name, buf in tracks.items():
        gl, gr = left_gain[name], right_gain[name]
        left = [a + b * gl for a, b in zip(left, buf)]
        right = [a + b * gr for a, b in zip(right, buf)]
    # The kick's and the chimes' first swings lean one way; the loop is centred on zero.
    left, right = high_pass(left, RATE, loop=True), high_pass(right, RATE, loop=True)
    peak = max(max(abs(x) for x in left), max(abs(x) for x in right))
    g = PEAK / peak
    out = [0.0] * (2 * LENGTH)
    out[0::2] = [x * g for x in left]
    out[1::2] = [x * g for x in right]
    return out


def _drums(kick, snare, hats, bar_start, part, bar):
    kicks = (0, 4, 8, 12) if part == "chorus" else (0, 8, 10)
    for st in kicks:
        kick.add(voices.drum("kick"), bar_start + st * STEP)
    for st in (4, 12):
        snare.add(voices.drum("snare"), bar_start + st * STEP)
    if bar == 7:
        for st in (13, 14, 15):
            snare.add(voices.drum("snare"), bar_start + st * STEP, 0.6)
    for st in range(0, 16, 2):
        hats.add(voices.drum("open" if st == 14 else "hat"), bar_start + st * STEP)
    if part == "chorus":
        for st in range(1, 16, 2):
            hats.add(voices.drum("hat"), bar_start + st * STEP, 0.5)
    if bar == 0:
        hats.add(voices.drum("crash"), bar_start)
