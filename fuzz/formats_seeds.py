#!/usr/bin/env python3
"""Writes the seed corpora of the offline-format fuzz targets into the given directory:
nuc/ (camera correction files), table/ (window choice + camera file), lumen/ (desktop-tool
files) and header/ (frame headers)."""
import os
import struct
import sys


def camera_file(x, y, w, h, max_w, max_h, extra=(), eol=b"\r\n", words=None):
    lines = [b"HDSize Auto", b"KeyWrd TQVNUC", b"cameraType seed", b"windowOffsetX %d" % x,
             b"windowOffsetY %d" % y, b"windowWidth %d" % w, b"windowHeight %d" % h,
             b"maxWidth %d" % max_w, b"maxHeight %d" % max_h] + list(extra) + [b"DATA"]
    if words is None:
        words = [(16383 << 16) | ((i * 4) & 0xFFFC) | (i & 3) for i in range(w * h)]
    return eol.join(lines) + eol + b"".join(struct.pack("<I", v) for v in words)


def lumen_file(version, kind, w, h, tables):
    head = struct.pack("<BBHHH", version, kind, w, h, 0) + bytes(18)
    if version == 2:
        head += bytes([1, 1, 1]) + struct.pack("<H", 10) + struct.pack("<f", 0.5) + bytes(384)
    return head + tables


def header(ext_type, ext_version, fill):
    raw = bytearray((i * fill) & 0xFF for i in range(128))
    raw[0x60], raw[0x61] = ext_type, ext_version
    return bytes(raw)


def main(out):
    nuc = {
        "plain": camera_file(0, 0, 4, 3, 4, 3),
        "flipped": camera_file(2, 1, 3, 2, 8, 6, [b"invert true", b"revert yes", b"bpTotal 4"]),
        "gzip": camera_file(0, 0, 2, 2, 2, 2, [b"comprs gzip"]),
        "lf": camera_file(0, 0, 2, 1, 2, 1, [b"fpaBias -1.5", b"lens wide"], eol=b"\n"),
        "short": camera_file(0, 0, 4, 4, 4, 4)[:-5],
    }
    window = {
        "full": struct.pack("<BHHHH", 4, 0, 0, 4, 3) + nuc["plain"],
        "sub": struct.pack("<BHHHH", 7, 1, 0, 2, 2) + nuc["flipped"],
        "raw": struct.pack("<BHHHH", 1, 2, 1, 3, 2) + nuc["flipped"],
    }
    lumen = {
        "gain": lumen_file(1, 0, 2, 2, struct.pack("<4f", 1.0, 0.5, 2.0, 0.0)),
        "offset": lumen_file(1, 1, 3, 1, struct.pack("<3h", -8192, 0, 8191)),
        "map": lumen_file(1, 2, 2, 1, bytes([0, 1])),
        "map2": lumen_file(2, 2, 2, 1, bytes([1, 0]) + bytes(range(16))),
        "gain2": lumen_file(2, 0, 1, 1, struct.pack("<f", 1.0)),
    }
    headers = {"vorn0": header(1, 0, 7), "vorn1": header(0x11, 1, 13), "vorn3": header(3, 1, 5),
               "vorn4": header(4, 1, 3), "tesk1": header(1, 2, 11), "tesk2": header(2, 2, 17)}
    for folder, seeds in (("nuc", nuc), ("table", window), ("lumen", lumen), ("header", headers)):
        os.makedirs(os.path.join(out, folder), exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(out, folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "corpus")
