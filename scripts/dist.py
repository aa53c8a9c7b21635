#!/usr/bin/env python3
"""Writes the release zip and its checksums.

    scripts/dist.py PROGRAMS_DIR OUT_DIR [--extract]

PROGRAMS_DIR holds vemotool.exe and vemofix.exe, which go into the zip byte for byte. OUT_DIR
gets vemotool-X.Y.Z.zip and SHA256SUMS; with --extract also the unzipped folder, as a user
gets it. The zip is reproducible: entries in a fixed order with fixed attributes, all dated
SOURCE_DATE_EPOCH (default: the last commit's time), and texts converted the same way each
time.
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent

# Windows Notepad reads these: CR LF line ends. The guide and the table are in the program's
# own encoding (CP932); the English text is UTF-8 with a byte order mark, so that it reads
# right on a Windows of any language.
TEXTS = [
    ("Fonts.txt", "scripts/demo/Fonts.txt", "cp932"),
    ("readme.txt", "doc/readme.ja.txt", "cp932"),
    ("README-en.txt", "doc/README-en.txt", "utf-8-sig"),
    ("LICENSE.txt", "LICENSE", "utf-8-sig"),
]
PROGRAMS = ["vemotool.exe", "vemofix.exe"]


def version():
    text = (TOP / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(vemotool VERSION ([0-9.]+)", text).group(1)


def source_date_epoch():
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    out = subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=TOP, check=True,
                         capture_output=True, text=True).stdout
    return int(out.strip())


def windows_text(source, encoding):
    text = (TOP / source).read_text(encoding="utf-8")
    # Strict: a character the encoding lacks stops the release rather than turning into "?".
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding)


def entry(name, epoch, is_dir=False):
    # Zip times are local DOS times without a zone; the commit's UTC time, at the earliest
    # time a zip can hold.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = 0  # MS-DOS attributes only, the same from any machine
    info.external_attr = 0x10 if is_dir else 0x20  # directory / archive
    info.compress_type = zipfile.ZIP_STORED if is_dir else zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("programs")
    parser.add_argument("out")
    parser.add_argument("--extract", action="store_true")
    args = parser.parse_args()

    folder = f"vemotool-{version()}"
    epoch = source_date_epoch()
    files = [(name, (Path(args.programs) / name).read_bytes()) for name in PROGRAMS]
    files += [(name, windows_text(source, enc)) for name, source, enc in TEXTS]
    files.sort()

    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    zip_path = out / f"{folder}.zip"
    partial = out / f".{folder}.zip.part"
    with zipfile.ZipFile(partial, "w") as archive:
        archive.writestr(entry(folder + "/", epoch, is_dir=True), b"")
        for name, data in files:
            archive.writestr(entry(f"{folder}/{name}", epoch), data, compresslevel=9)
    partial.replace(zip_path)

    digest = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    (out / "SHA256SUMS").write_text(f"{digest}  {zip_path.name}\n", encoding="ascii")

    if args.extract:
        shutil.rmtree(out / folder, ignore_errors=True)
        with zipfile.ZipFile(zip_path) as archive:
            archive.extractall(out)
    print(zip_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
