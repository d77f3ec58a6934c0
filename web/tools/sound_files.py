"""The facts of a wave file that the site's music needs, and the gapless facts of an MP3."""

import struct


def wave_facts(data):
    """(sample rate, channels, frames) of a PCM wave file: its samples end where the file
    does, in whole frames, whatever its header claims (as the desktop player reads it)."""
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a wave file")
    at, rate, channels, frame_bytes = 12, None, None, None
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = at + 8
        if kind == b"fmt ":
            _, channels, rate, _, frame_bytes = struct.unpack_from("<HHIIH", data, body)
        elif kind == b"data":
            if not frame_bytes:
                raise ValueError("the wave file's samples come before their format")
            held = min(size, len(data) - body)
            return rate, channels, held // frame_bytes
        at = body + size + (size & 1)
    raise ValueError("the wave file holds no samples")


def lame_gapless(data):
    """(encoder delay, padding) in samples from the LAME tag of an MP3's first frame."""
    for tag in (b"Xing", b"Info"):
        at = data.find(tag, 0, 4096)
        if at < 0:
            continue
        flags = struct.unpack_from(">I", data, at + 4)[0]
        at += 8 + 4 * bool(flags & 1) + 4 * bool(flags & 2) + 100 * bool(flags & 4) \
            + 4 * bool(flags & 8)
        if data[at:at + 4] != b"LAME":
            break
        b0, b1, b2 = data[at + 21:at + 24]
        return (b0 << 4) | (b1 >> 4), ((b1 & 0x0F) << 8) | b2
    raise ValueError("the MP3 has no LAME tag to say where its music begins and ends")
