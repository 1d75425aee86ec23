#!/usr/bin/env python3
"""Compares two folders of PPM frames (as frame_dump writes them) file by file.

Usage: compare_frames.py OLD_DIR NEW_DIR
Prints, per file, the largest channel difference and the number of pixels that
differ; exits 1 when any file differs or is missing.
"""
import os
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    if parts[0] != b"P6":
        raise ValueError(path + ": not a binary PPM")
    return int(parts[1]), int(parts[2]), parts[4]


def main():
    old_dir, new_dir = sys.argv[1], sys.argv[2]
    worst, failed = 0, False
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
        diff = max(abs(x - y) for x, y in zip(a, b))
        pixels = sum(1 for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3])
        print(f"{name}: largest channel difference {diff}, {pixels} pixels differ")
        worst = max(worst, diff)
        failed = True
    print(f"largest channel difference over all files: {worst}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
