#!/usr/bin/env python3
"""Writes src/ranking/cp932.table: code page 932 exactly as glibc's iconv("CP932") converts it.

Run once, on glibc; the build reads the table, so that the ranking's names convert the same
wherever the game is compiled. Usage: scripts/make-cp932-table.py [output file]
"""

import ctypes
import ctypes.util
import os
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
FAILED = ctypes.c_size_t(-1).value


class Converter:
    def __init__(self, to, source):
        self.cd = libc.iconv_open(to.encode(), source.encode())
        if self.cd in (None, FAILED):
            sys.exit(f"glibc's iconv cannot convert {source} to {to}")

    def step(self, data, room):
        """Converts `data` into at most `room` bytes, from a fresh state.

        Returns how many input bytes it took, the bytes it wrote, and 0 or the errno that
        stopped it."""
        libc.iconv(self.cd, None, None, None, None)
        source = ctypes.create_string_buffer(data, len(data))
        target = ctypes.create_string_buffer(room)
        in_ptr = ctypes.c_void_p(ctypes.addressof(source))
        out_ptr = ctypes.c_void_p(ctypes.addressof(target))
        in_left = ctypes.c_size_t(len(data))
        out_left = ctypes.c_size_t(room)
        result = libc.iconv(self.cd, ctypes.byref(in_ptr), ctypes.byref(in_left),
                            ctypes.byref(out_ptr), ctypes.byref(out_left))
        error = ctypes.get_errno() if result == FAILED else 0
        return len(data) - in_left.value, target.raw[:room - out_left.value], error


def utf16(unit):
    return unit.to_bytes(2, "little")


def writing_table():
    """Code unit -> bytes, for every code unit that code page 932 holds."""
    encoder = Converter("CP932", "UTF-16LE")
    table = {}
    for unit in range(0x10000):
        _, written, error = encoder.step(utf16(unit), 8)
        if error == 0:
            assert len(written) in (1, 2), f"U+{unit:04X} gives {written!r}"
            table[unit] = int.from_bytes(written, "big")
        else:
            assert written == b"", f"U+{unit:04X} fails after {written!r}"
    assert not any(0xD800 <= unit <= 0xDFFF for unit in table)
    # The codec knows this of the characters beyond U+FFFF without a table: iconv writes none of
    # them, and drops the language tags (U+E0000 to U+E007F) without a word.
    dropped = []
    for high in range(0xD800, 0xDC00):
        for low in range(0xDC00, 0xE000):
            _, written, error = encoder.step(utf16(high) + utf16(low), 8)
            if error == 0:
                assert written == b""
                dropped.append(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00))
    assert dropped == list(range(0xE0000, 0xE0080)), dropped
    return table


def reading_table():
    """Bytes -> code unit, for every single byte and byte pair that iconv reads as one character."""
    decoder = Converter("UTF-16LE", "CP932")

    def unit(written):
        assert len(written) == 2, written
        return int.from_bytes(written, "little")

    singles = {}
    for byte in range(0x100):
        taken, written, error = decoder.step(bytes([byte]), 8)
        if error == 0:
            assert taken == 1
            singles[byte] = unit(written)
    doubles = {}
    for pair in range(0x10000):
        lead = pair >> 8
        # Room for one code unit: iconv stops after the first character it reads.
        taken, written, error = decoder.step(pair.to_bytes(2, "big"), 2)
        if taken == 2:
            assert lead not in singles, f"{pair:04X}"
            doubles[pair] = unit(written)
        elif taken == 1:
            assert singles.get(lead) == unit(written), f"{pair:04X}"
        else:
            assert lead not in singles and error != 0, f"{pair:04X}"
    return {**singles, **doubles}


def hex_bytes(code):
    return f"{code:02X}" if code < 0x100 else f"{code:04X}"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(
        os.path.join(here, "..", "src", "ranking", "cp932.table"))
    reading = reading_table()
    writing = writing_table()
    lines = []
    for code, unit in reading.items():
        lines.append((code, unit, "=" if writing.get(unit) == code else ">"))
    for unit, code in writing.items():
        if reading.get(code) != unit:
            lines.append((code, unit, "<"))
    lines.sort()
    with open(output, "w", encoding="ascii", newline="\n") as table:
        table.write(
            "# Code page 932 as glibc's iconv(\"CP932\") converts it, written by\n"
            "# scripts/make-cp932-table.py. One mapping a line: the bytes (one or two, in hex),\n"
            "# the way, the UTF-16 code unit (in hex). \"=\" reads and writes, \">\" only reads,\n"
            "# \"<\" only writes. Anything not here reads or writes as \"?\".\n")
        for code, unit, way in lines:
            table.write(f"{hex_bytes(code)} {way} {unit:04X}\n")
    print(f"{output}: {len(reading)} read, {len(writing)} written, {len(lines)} lines")


if __name__ == "__main__":
    main()
