"""Windows bitmaps as our picture generator writes them, read into rows of RGB, and PNG files."""

import struct
import zlib


def read_bmp(data):
    """Returns (width, height, rows), each row bytes of R, G, B, top row first."""
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError("not a Windows bitmap")
    pixels_at = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header_size < 40 or bits != 24 or compression != 0 or width <= 0 or height == 0:
        raise ValueError("not an uncompressed 24-bit bitmap")
    stride = (width * 3 + 3) // 4 * 4
    bottom_up = height > 0
    height = abs(height)
    if len(data) < pixels_at + stride * height:
        raise ValueError("the bitmap's pixels are cut short")
    rows = []
    for y in range(height):
        stored = height - 1 - y if bottom_up else y
        bgr = data[pixels_at + stored * stride: pixels_at + stored * stride + width * 3]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def ppm(width, height, rows):
    """The picture as a binary PPM, which cwebp reads."""
    return b"P6\n%d %d\n255\n" % (width, height) + b"".join(rows)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered(row, previous, kind):
    """One scan line under PNG filter `kind` (0 none, 1 sub, 2 up, 3 average, 4 Paeth)."""
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - 3] if i >= 3 else 0
        b = previous[i]
        c = previous[i - 3] if i >= 3 else 0
        predictor = (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]
        out[i] = (x - predictor) & 0xFF
    return bytes([kind]) + bytes(out)


def png(width, height, rows):
    """An RGB PNG; each line takes the filter whose bytes sum smallest as signed values."""
    previous = bytes(width * 3)
    lines = []
    for row in rows:
        candidates = [_filtered(row, previous, kind) for kind in range(5)]
        lines.append(min(candidates, key=lambda line: sum(min(v, 256 - v) for v in line[1:])))
        previous = row

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(lines), 9)) + chunk(b"IEND", b""))
