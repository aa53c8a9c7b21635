#!/usr/bin/env python3
"""Writes the heads of the machine's font files as seeds for the font name fuzzer: the header,
the table directory and the name table, the name table moved to just after the directory, so
that each seed is a few kilobytes. A collection keeps its first two faces.

    font_seeds.py OUTPUT-FOLDER [FONT-FOLDER...]   (default: /usr/share/fonts)
"""
import os
import struct
import sys

FACES = {b"\x00\x01\x00\x00", b"true", b"OTTO"}


def face_head(data, at, base):
    """The face at `at` of `data` as a head whose directory starts at `base` of the seed."""
    tables = struct.unpack(">H", data[at + 4:at + 6])[0]
    directory = bytearray(data[at:at + 12 + 16 * tables])
    name = b""
    for i in range(tables):
        entry = 12 + 16 * i
        tag, _, offset, length = struct.unpack(">4sIII", directory[entry:entry + 16])
        if tag == b"name":
            name = data[offset:offset + length]
            struct.pack_into(">I", directory, entry + 8, base + len(directory))
    return bytes(directory) + name


def head(data):
    if data[:4] in FACES:
        return face_head(data, 0, 0)
    if data[:4] != b"ttcf":
        return None
    count = min(struct.unpack(">I", data[8:12])[0], 2)
    offsets = struct.unpack(">%dI" % count, data[12:12 + 4 * count])
    base = 12 + 4 * count
    out, starts = b"", []
    for offset in offsets:
        starts.append(base + len(out))
        out += face_head(data, offset, base + len(out))
    return data[:8] + struct.pack(">I", count) + struct.pack(">%dI" % count, *starts) + out


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for root in sys.argv[2:] or ["/usr/share/fonts"]:
        for folder, _, names in os.walk(root):
            for name in sorted(names):
                if not name.lower().endswith((".ttf", ".otf", ".ttc", ".otc")):
                    continue
                with open(os.path.join(folder, name), "rb") as f:
                    seed = head(f.read())
                if seed:
                    with open(os.path.join(out, name + ".head"), "wb") as f:
                        f.write(seed)


if __name__ == "__main__":
    main()
