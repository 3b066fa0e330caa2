"""16-bit PCM RIFF WAVE output from float samples."""
import os
import struct
import sys
from array import array


def to_pcm16(samples):
    """Floats in -1..1 to little-endian 16-bit integers (clipped)."""
    out = array("h", (int(max(-1.0, min(1.0, s)) * 32767.0) for s in samples))
    if out.itemsize != 2:
        raise RuntimeError("16-bit integers expected")
    if sys.byteorder != "little":
        out.byteswap()
    return out.tobytes()


def write_wav(path, samples, rate, channels=1):
    """Writes interleaved float samples as a canonical 44-byte-header WAV."""
    data = to_pcm16(samples)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * 2, channels * 2, 16))
        f.write(b"data" + struct.pack("<I", len(data)))
        f.write(data)
