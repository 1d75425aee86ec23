#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Compares two folders of PPM frames (as frame_dump writes them) file by file.

Usage: compare_frames.py [--limits] OLD_DIR NEW_DIR
Prints, per file, the largest channel difference, the number of pixels that
differ, the PSNR and the share of colour channels off by more than 8. Without
--limits it exits 1 when any file differs or is missing; with --limits only
when a file is missing or breaks the limits a second drawing path must keep:
PSNR at least 50 dB and at most 0.1 % of channels off by more than 8.
"""
import math
import os
import sys

MIN_PSNR = 50.0
MAX_FAR_OFF = 0.001


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    if parts[0] != b"P6":
        raise ValueError(path + ": not a binary PPM")
    return int(parts[1]), int(parts[2]), parts[4]


def measure(a, b):
    """Largest channel difference, differing pixels, PSNR (dB), share of
    channels off by more than 8."""
    squares, far_off, largest = 0, 0, 0
    for x, y in zip(a, b):
        d = abs(x - y)
        if d:
            squares += d * d
            largest = max(largest, d)
            far_off += d > 8
    pixels = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
    mse = squares / len(a)
    psnr = math.inf if mse == 0 else 10 * math.log10(255 * 255 / mse)
    return largest, pixels, psnr, far_off / len(a)


def main():
    args = sys.argv[1:]
    limits = "--limits" in args
    args = [a for a in args if a != "--limits"]
    old_dir, new_dir = args
    worst, lowest, failed = 0, math.inf, False
    for name in sorted(n for n in os.listdir(old_dir) if n.endswith(".ppm")):
        new_path = os.path.join(new_dir, name)
        if not os.path.exists(new_path):
            print(f"{name}: missing in {new_dir}")
            failed = True
            continue
        w1, h1, a = read_ppm(os.path.join(old_dir, name))
        w2, h2, b = read_ppm(new_path)
        if (w1, h1) != (w2, h2):
            print(f"{name}: size {w1}x{h1} against {w2}x{h2}")
            failed = True
            continue
        if a == b:
            print(f"{name}: identical")
            continue
        diff, pixels, psnr, far = measure(a, b)
        within = psnr >= MIN_PSNR and far <= MAX_FAR_OFF
        print(f"{name}: largest channel difference {diff}, {pixels} pixels differ, "
              f"PSNR {psnr:.1f} dB, {100 * far:.4f} % of channels off by more than 8"
              + ("" if within else "  OUTSIDE THE LIMITS"))
        worst = max(worst, diff)
        lowest = min(lowest, psnr)
        failed = failed or not limits or not within
    print(f"largest channel difference over all files: {worst}; lowest PSNR {lowest:.1f} dB")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
