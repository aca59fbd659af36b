#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on its input: members in name order, each dated
SOURCE_DATE_EPOCH, with fixed modes, no extra fields and no directory entries.

Usage: dist-zip.py OUT.zip FOLDER   (the zip holds FOLDER's name as its one top folder)
"""
import os
import sys
import time
import zipfile


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out, folder = sys.argv[1], sys.argv[2].rstrip("/")
    stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
    top = os.path.basename(folder)
    names = []
    for here, dirs, files in os.walk(folder):
        dirs.sort()
        names += [os.path.relpath(os.path.join(here, f), folder) for f in files]
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(names):
            path = os.path.join(folder, name)
            info = zipfile.ZipInfo(f"{top}/{name}", stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the modes below count
            mode = 0o755 if os.access(path, os.X_OK) else 0o644
            info.external_attr = (0o100000 | mode) << 16
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()
