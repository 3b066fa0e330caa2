#!/usr/bin/env python3
"""The data folder as the site's packages, split by what a window needs:

  vortan.data      every file but the larger picture sets (the plain pictures, the font,
                   the effects and the tune): what a 640x480 window draws and plays
  vortan-hd.data   the "-hd" pictures, fetched when a window needs them
  vortan-hd2.data  the "-hd2" pictures, likewise

plus vortan.data.gz, the first package gzipped for browsers that can unpack it (the
pictures and the tune are compressed already; the effects are not). A package is a 4-byte
little-endian length, that many bytes of JSON listing [path, size] for each file, then
the files one after another. Usage: pack_data.py DATA_DIR OUT_DIR
"""
import gzip
import json
import os
import struct
import sys

SETS = {"vortan-hd.data": "-hd.png", "vortan-hd2.data": "-hd2.png"}


def package_of(path):
    for name, suffix in SETS.items():
        if path.endswith(suffix):
            return name
    return "vortan.data"


def main(data_dir, out_dir):
    packages = {"vortan.data": [], **{name: [] for name in SETS}}
    for folder, _, files in os.walk(data_dir):
        for name in files:
            path = os.path.relpath(os.path.join(folder, name), data_dir).replace(os.sep, "/")
            packages[package_of(path)].append(path)
    for name, paths in packages.items():
        paths.sort()
        contents = [open(os.path.join(data_dir, p), "rb").read() for p in paths]
        index = json.dumps([[p, len(c)] for p, c in zip(paths, contents)]).encode()
        package = struct.pack("<I", len(index)) + index + b"".join(contents)
        with open(os.path.join(out_dir, name), "wb") as out:
            out.write(package)
        if name == "vortan.data":
            with open(os.path.join(out_dir, name + ".gz"), "wb") as out:
                out.write(gzip.compress(package, 9, mtime=0))


if __name__ == "__main__":
    main(*sys.argv[1:3])
