#!/usr/bin/python3
"""vemofix --suggest on the Japanese fonts Debian ships, checked against fontTools.

A list registers those fonts under their Japanese names (with and without OutlineFileName:,
in other widths and kana, one already in the table, one ASCII, one no font has). For a CP932
table and for a UTF-8 one: every suggestion's PostScript name must be what fontTools reads
as name ID 6 of that face; --add-to-table must append exactly the rows with one suggestion,
in the table's encoding; then a normal run must rewrite exactly those entries.

Usage: suggest_test.py PATH-TO-VEMOFIX   (Debian's python3, for python3-fonttools), with
VEMO_FIX_RUN_SECONDS, the limit of one vemofix run, in the environment (ctest sets it from
scripts/time-limits.sh)
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from fontTools.ttLib import TTCollection, TTFont

FONTS = "/usr/share/fonts"
IPA_GOTHIC = FONTS + "/opentype/ipafont-gothic/ipag.ttf"
NOTO_SANS = FONTS + "/opentype/noto/NotoSansCJK-Regular.ttc"

# name, OutlineFileName (None: none), what --suggest finds:
#   ("one", file name, face) | ("several", [(file name, face), ...]) | ("none",)
#   | ("not listed",): a PostScript name, or a name the table's row replaces
#   | ("not added", file name, face): one suggestion, but its row would first replace the
#     entry before it, whose name starts with this one
CASES = [
    ("IPAゴシック", r"C:\windows\Fonts\ipag.ttf", ("one", "ipag.ttf", 0)),
    ("IPA明朝体", None, ("none",)),
    ("IPA明朝", None, ("not added", "ipam.ttf", 0)),
    ("ＩＰＡ Ｐ明朝", None, ("one", "ipamp.ttf", 0)),
    ("IPAPごしっく", None, ("one", "ipagp.ttf", 0)),
    ("VL Pゴシック", None, ("one", "VL-PGothic-Regular.ttf", 0)),
    ("ｖｌ ゴシック", None, ("one", "VL-Gothic-Regular.ttf", 0)),
    ("Noto Sans CJK JP Bold", None, ("one", "NotoSansCJK-Bold.ttc", 0)),
    ("Noto Serif CJK JP", None,
     ("several", [("NotoSerifCJK-Regular.ttc", 0), ("NotoSerifCJK-Bold.ttc", 0)])),
    # In the folders both weights have this name; the file the record names has one.
    ("Noto Sans Mono CJK JP", r"C:\windows\Fonts\NotoSansCJK-Regular.ttc",
     ("one", "NotoSansCJK-Regular.ttc", 5)),
    ("ＭＳ明朝", r"C:\WINDOWS\Fonts\msmincho.ttc", ("not listed",)),
    ("Century", None, ("not listed",)),
    ("ありえない書体", None, ("none",)),
]
TABLE_ROW = ("ＭＳ明朝", "MS-Mincho")

SUGGESTED = re.compile(r'^line (\d+): "(.*)" -> "(.*)" \((.*?)(?:, face (\d+))?\)$')
NONE = re.compile(r'^line (\d+): "(.*)": no font found$')
SEVERAL = re.compile(r'^line (\d+): "(.*)": several fonts:$')
CANDIDATE = re.compile(r'^  "(.*)" \((.*?)(?:, face (\d+))?\)$')
NOT_ADDED = re.compile(r'^not added, line (\d+): "(.*)": the row would replace the entry on '
                       r'line (\d+) first$')

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def postscript_name(path, face):
    """Name ID 6 as fontTools reads it: Windows' English record, else any."""
    font = TTCollection(path).fonts[face] if path.endswith(".ttc") else TTFont(path)
    name = font["name"]
    record = name.getName(6, 3, 1, 0x409)
    return record.toUnicode() if record else name.getDebugName(6)


def make_list():
    lines = ["%!Adobe-FontList 1.13", "%Locale:0x411", ""]
    entry_lines = []
    for name, outline, _ in CASES:
        lines += ["%BeginFont", "Handler:DirectoryHandler", "FontType:TrueType"]
        entry_lines.append(len(lines) + 1)
        lines += ["FontName:" + name, "FamilyName:" + name]
        if outline:
            lines.append("OutlineFileName:" + outline)
        lines += ["%EndFont", ""]
    return "\r\n".join(lines).encode("cp932"), entry_lines


def run(vemofix, *args, env):
    limit = int(os.environ["VEMO_FIX_RUN_SECONDS"])
    done = subprocess.run([vemofix, *args], env=env, capture_output=True, timeout=limit)
    return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")


def fontnames(data):
    return [line for line in data.split(b"\r\n") if line.startswith(b"FontName:")]


def one_pass(vemofix, work, encoding, fonts_args):
    """One table encoding: --suggest, --add-to-table, then the run."""
    print("==", encoding, "table,", " ".join(fonts_args) or "the prefix's Fonts folder")
    prefix = os.path.join(work, "prefix")
    typespt = os.path.join(prefix, "drive_c/Program Files/Common Files/Adobe/TypeSpt")
    list_path = os.path.join(typespt, "AdobeFnt05.lst")
    table_path = os.path.join(work, "tool", "Fonts.txt")
    list_bytes, entry_lines = make_list()
    with open(list_path, "wb") as f:
        f.write(list_bytes)
    row = TABLE_ROW[0] + "," + TABLE_ROW[1]
    table = (b"\xef\xbb\xbf" + (row + "\n").encode("utf-8") if encoding == "UTF-8"
             else (row + "\r\n").encode("cp932"))
    with open(table_path, "wb") as f:
        f.write(table)
    backup = os.path.join(work, "tool", "AdobeFnt05.lst のバックアップ")
    if os.path.exists(backup):
        os.remove(backup)
    env = dict(os.environ, WINEPREFIX=prefix, LANG="C", LC_ALL="", LC_MESSAGES="")
    common = ["--table", table_path, *fonts_args]
    drive_c_fonts = os.path.join(prefix, "drive_c/windows/Fonts")

    status, out, err = run(vemofix, "--suggest", *common, env=env)
    check(status == 4, f"--suggest exited {status}, not 4 (entries without one suggestion): {err}")
    check(open(table_path, "rb").read() == table, "--suggest without --add-to-table wrote")
    lines = out.splitlines()
    reported = {}
    for i, line in enumerate(lines):
        if m := SUGGESTED.match(line):
            reported[m[2]] = ("one", m[4], int(m[5] or 0), m[3], int(m[1]))
        elif m := NONE.match(line):
            reported[m[2]] = ("none", int(m[1]))
        elif m := SEVERAL.match(line):
            faces = []
            for candidate in lines[i + 1:]:
                if not (c := CANDIDATE.match(candidate)):
                    break
                faces.append((c[2], int(c[3] or 0), c[1]))
            reported[m[2]] = ("several", faces, int(m[1]))

    added = []  # (name, PostScript name)
    for (name, outline, want), line in zip(CASES, entry_lines):
        got = reported.get(name)
        if want[0] == "not listed":
            check(got is None, f"{name}: listed, though the table or its name settles it: {got}")
            continue
        if got is None:
            check(False, f"{name}: not in the report:\n{out}")
            continue
        check(got[-1] == line, f"{name}: reported on line {got[-1]}, not {line}")
        if want[0] in ("one", "not added"):
            check(got[0] == "one", f"{name}: {got}, not one suggestion")
            if got[0] != "one":
                continue
            _, path, face, ps, _ = got
            # A font may be reached through a link of another name (fonts-japanese-mincho.ttf).
            check(os.path.basename(os.path.realpath(path)) == want[1] and face == want[2],
                  f"{name}: from {path} face {face}, not {want[1]} face {want[2]}")
            if outline:
                check(path.startswith(drive_c_fonts), f"{name}: not the record's file: {path}")
            truth = postscript_name(path, face)
            check(ps == truth, f"{name}: suggested {ps}, fontTools reads {truth}")
            if want[0] == "one":
                added.append((name, truth))
        elif want[0] == "several":
            check(got[0] == "several", f"{name}: {got}, not several")
            if got[0] == "several":
                check(sorted((os.path.basename(os.path.realpath(p)), f) for p, f, _ in got[1]) ==
                      sorted(want[1]),
                      f"{name}: candidates {got[1]}")
                for path, face, ps in got[1]:
                    truth = postscript_name(path, face)
                    check(ps == truth, f"{name}: candidate {ps}, fontTools reads {truth}")
        else:
            check(got[0] == "none", f"{name}: {got}, not 'no font found'")

    status, out, err = run(vemofix, "--suggest", "--add-to-table", *common, env=env)
    check(status == 4, f"--add-to-table exited {status}, not 4: {err}")
    not_added = [m for m in map(NOT_ADDED.match, out.splitlines()) if m]
    check([(m[2], int(m[3])) for m in not_added] ==
          [(n, entry_lines[i - 1]) for i, (n, _, w) in enumerate(CASES) if w[0] == "not added"],
          f"the rows not added:\n{out}")
    check(f"rows added to {table_path}: {len(added)}" in out, f"the count of rows added:\n{out}")
    new_table = open(table_path, "rb").read()
    if encoding == "UTF-8":
        rows = "".join(f"{n},{p}\n" for n, p in added).encode("utf-8")
    else:
        rows = "".join(f"{n},{p}\r\n" for n, p in added).encode("cp932")
    check(new_table == table + rows, f"the table after --add-to-table: {new_table!r}")

    status, out, err = run(vemofix, *common, env=env)
    check(status == 0, f"the run exited {status}: {err}")
    after = open(list_path, "rb").read()
    renamed = dict(added + [TABLE_ROW])
    want = [b"FontName:" + renamed.get(n, n).encode("cp932") for n, _, _ in CASES]
    check(fontnames(after) == want, f"FontName: entries after the run: {fontnames(after)}")
    others = [line for line in after.split(b"\r\n") if not line.startswith(b"FontName:")]
    check(others == [line for line in list_bytes.split(b"\r\n")
                     if not line.startswith(b"FontName:")], "lines other than entries changed")


def main():
    vemofix = os.path.realpath(sys.argv[1])
    work = tempfile.mkdtemp()
    try:
        prefix = os.path.join(work, "prefix")
        os.makedirs(os.path.join(prefix, "drive_c/Program Files/Common Files/Adobe/TypeSpt"))
        os.makedirs(os.path.join(work, "tool"))
        fonts = os.path.join(prefix, "drive_c/windows/Fonts")
        os.makedirs(fonts)
        os.makedirs(os.path.join(prefix, "dosdevices"))
        os.symlink("../drive_c", os.path.join(prefix, "dosdevices/c:"))
        # The prefix's Fonts folder: every font of the machine, as Wine's own would be linked.
        for folder, _, names in os.walk(FONTS):
            for name in names:
                if name.endswith((".ttf", ".ttc", ".otf")):
                    target = os.path.join(fonts, name)
                    if not os.path.exists(target):
                        os.symlink(os.path.join(folder, name), target)
        one_pass(vemofix, work, "CP932",
                 ["--fonts", FONTS + "/opentype", "--fonts", FONTS + "/truetype"])
        one_pass(vemofix, work, "UTF-8", [])
    finally:
        shutil.rmtree(work)
    print("suggest: all checks passed" if not failures else f"suggest: {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
