#!/usr/bin/env python3
"""The list vemofix and the perl peer (bench/peer.pl) are compared on: a font list of ENTRIES
records as Illustrator writes them (CP932, CR LF) and a rename table of ROWS rows, each naming
the PostScript name of one record, the records spread evenly through the list, the rows in no
order. Each row gives the record a Japanese name shorter than the one it replaces, so that the
peer edits its copy in place as a text editor would.

    make_list.py ENTRIES ROWS LIST TABLE"""
import random
import sys

KATAKANA = "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"
KANJI = "明朝角丸楷行草教科新聞太細中極隷書体"
WEIGHTS = ("Light", "Regular", "Medium", "Bold", "W3", "W6")


def record(index, family, rnd):
    """One font's record: the lines between %BeginFont and %EndFont, and those two."""
    postscript = f"VemoJP{index:06d}-{WEIGHTS[index % len(WEIGHTS)]}"
    lines = [
        "%BeginFont",
        "Handler:DirectoryHandler",
        "FontType:" + ("TrueType" if index % 2 else "Type1"),
        "FontName:" + postscript,
        "FamilyName:" + family,
        "StyleName:Regular",
        f"FullName:{family} {WEIGHTS[index % len(WEIGHTS)]}",
        "MenuName:" + family,
        "StyleBits:0",
        "WritingScript:Japanese",
        f"OutlineFileName:C:\\WINDOWS\\FONTS\\VJP{index:06d}.TTF",
        "DataFormat:sfntData",
        "UsesStandardEncoding:no",
        "isCFF:" + ("no" if index % 2 else "yes"),
        "FileLength:" + str(rnd.randrange(100_000, 9_000_000)),
        "FileModTime:" + str(rnd.randrange(900_000_000, 1_100_000_000)),
        "%EndFont",
        "",
    ]
    return postscript, "\r\n".join(lines) + "\r\n"


def main(entries, rows, list_path, table_path):
    entries, rows = int(entries), int(rows)
    rnd = random.Random(20240611)
    families, text = [], ["%!Adobe-FontList 1.13\r\n%Locale:0x411\r\n\r\n"]
    for index in range(entries):
        family = "".join(rnd.choices(KATAKANA, k=3) + rnd.choices(KANJI, k=2))
        postscript, block = record(index, family, rnd)
        families.append((postscript, family))
        text.append(block)
    with open(list_path, "wb") as out:
        out.write("".join(text).encode("cp932"))

    picked = [families[k * entries // rows] for k in range(min(rows, entries))]
    rnd.shuffle(picked)
    with open(table_path, "wb") as out:
        out.write("".join(f"{old},{new}\r\n" for old, new in picked).encode("cp932"))


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__.splitlines()[-1].strip())
    main(*sys.argv[1:])
