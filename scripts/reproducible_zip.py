#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' names and contents.

usage: reproducible_zip.py OUT.zip BASE_DIR ENTRY...

Each ENTRY (a file or a folder, taken whole) is named in the zip by its path
below BASE_DIR. Entries are sorted by name; every one carries the time of
SOURCE_DATE_EPOCH (the files' own times when it is unset), no owner, and the
mode 0755 for folders and files executable by their owner, 0644 for the rest,
whatever the umask that made them.
"""
import os
import sys
import time
import zipfile


def entries(base, names):
    found = set()
    for name in names:
        path = os.path.join(base, name)
        if not os.path.exists(path):
            sys.exit(f"reproducible_zip: {path} does not exist")
        found.add(os.path.relpath(path, base))
        for folder, subfolders, files in os.walk(path):
            for child in subfolders + files:
                found.add(os.path.relpath(os.path.join(folder, child), base))
    # Each folder of the tree as an entry of its own, before what it holds.
    for name in list(found):
        parent = os.path.dirname(name)
        while parent:
            found.add(parent)
            parent = os.path.dirname(parent)
    return sorted(found)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__.strip().splitlines()[2])
    out, base = sys.argv[1], sys.argv[2]
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    with zipfile.ZipFile(out, "w") as archive:
        for name in entries(base, sys.argv[3:]):
            path = os.path.join(base, name)
            stamp = int(epoch) if epoch else int(os.stat(path).st_mtime)
            # The zip format's times start in 1980 and have a two-second grain.
            date = time.gmtime(max(stamp, 315532800))[:6]
            folder = os.path.isdir(path)
            info = zipfile.ZipInfo(name + "/" if folder else name, date)
            info.create_system = 3  # Unix: the modes below mean what they say
            executable = folder or os.stat(path).st_mode & 0o100
            info.external_attr = ((0o40000 if folder else 0o100000) | (0o755 if executable else 0o644)) << 16
            if folder:
                info.external_attr |= 0x10  # the MS-DOS folder flag
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as source:
                    archive.writestr(info, source.read(), compresslevel=9)


main()
