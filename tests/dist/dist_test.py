#!/usr/bin/env python3
"""Makes the release zip from PROGRAMS_DIR twice and checks it as a user would meet it.

    tests/dist/dist_test.py PROGRAMS_DIR

One folder of ASCII names; the programs byte for byte; texts that Notepad on a Japanese
Windows XP opens as they are (CP932 or UTF-8 with a byte order mark, CR LF, no line wider
than 76 columns); the checksums; the same bytes from a second run.
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

TOP = Path(__file__).resolve().parents[2]
PROGRAMS = Path(sys.argv.pop(1)).resolve() if len(sys.argv) > 1 else None
EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC
FOLDER = "vemotool-1.2.3"
WIDEST = 76  # columns Notepad shows without wrapping in a default window; full width is two


def make_zip(out):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(EPOCH))
    subprocess.run([sys.executable, str(TOP / "scripts/dist.py"), str(PROGRAMS), str(out)],
                   check=True, env=env, stdout=subprocess.DEVNULL)
    return out / f"{FOLDER}.zip"


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        cls.zip_path = make_zip(Path(cls.work.name) / "first")
        with zipfile.ZipFile(cls.zip_path) as archive:
            cls.infos = archive.infolist()
            cls.files = {i.filename: archive.read(i) for i in cls.infos}

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def text(self, name, encoding):
        data = self.files[f"{FOLDER}/{name}"]
        self.assertNotIn(b"\n", data.replace(b"\r\n", b""), f"{name}: a line end other than CR LF")
        self.assertNotIn(b"\r", data.replace(b"\r\n", b""), f"{name}: a line end other than CR LF")
        return data.decode(encoding)  # strict: a byte that does not decode fails

    def test_one_folder_of_the_expected_ascii_names_in_a_fixed_order(self):
        names = [i.filename for i in self.infos]
        expected = [f"{FOLDER}/"] + [f"{FOLDER}/{n}" for n in sorted([
            "Fonts.txt", "LICENSE.txt", "README-en.txt", "readme.txt",
            "vemofix.exe", "vemotool.exe"])]
        self.assertEqual(expected, names)
        for name in names:
            self.assertTrue(name.isascii(), name)

    def test_entries_carry_the_source_date_and_plain_dos_attributes(self):
        stamp = time.gmtime(EPOCH)[:6]
        for info in self.infos:
            self.assertEqual(stamp, info.date_time, info.filename)
            self.assertEqual(0, info.create_system, info.filename)
            self.assertEqual(0x10 if info.is_dir() else 0x20, info.external_attr, info.filename)

    def test_the_programs_are_the_built_ones_byte_for_byte(self):
        for name in ["vemotool.exe", "vemofix.exe"]:
            self.assertEqual((PROGRAMS / name).read_bytes(), self.files[f"{FOLDER}/{name}"], name)

    def test_texts_open_in_notepad_without_wrapping(self):
        cases = [  # name, encoding in the zip, source in the tree, widest line
            ("readme.txt", "cp932", "doc/readme.ja.txt", WIDEST),
            ("Fonts.txt", "cp932", "scripts/demo/Fonts.txt", WIDEST),
            ("README-en.txt", "utf-8-sig", "doc/README-en.txt", WIDEST),
            ("LICENSE.txt", "utf-8-sig", "LICENSE", 80),  # the licence's own wording and lines
        ]
        for name, encoding, source, widest in cases:
            with self.subTest(name):
                text = self.text(name, encoding)
                self.assertEqual((TOP / source).read_text(encoding="utf-8"),
                                 text.replace("\r\n", "\n"))
                if encoding == "utf-8-sig":
                    self.assertTrue(self.files[f"{FOLDER}/{name}"].startswith(b"\xef\xbb\xbf"))
                for number, line in enumerate(text.split("\r\n"), 1):
                    # A CP932 double-byte character takes two columns, as in Notepad.
                    width = len(line.encode("cp932"))
                    self.assertLessEqual(width, widest, f"{name} line {number}: {line}")

    def test_the_sample_table_has_rows_of_two_names(self):
        rows = [r for r in self.text("Fonts.txt", "cp932").split("\r\n") if r]
        self.assertGreater(len(rows), 0)
        for row in rows:
            old, new = row.split(",")
            self.assertTrue(old.strip() and new.strip(), row)

    def test_the_checksums_name_the_zip(self):
        sums = (self.zip_path.parent / "SHA256SUMS").read_text(encoding="ascii")
        digest = hashlib.sha256(self.zip_path.read_bytes()).hexdigest()
        self.assertEqual(f"{digest}  {FOLDER}.zip\n", sums)

    def test_a_second_run_gives_the_same_bytes(self):
        again = make_zip(Path(self.work.name) / "second")
        self.assertEqual(self.zip_path.read_bytes(), again.read_bytes())


if __name__ == "__main__":
    if PROGRAMS is None:
        sys.exit("usage: dist_test.py PROGRAMS_DIR")
    unittest.main(verbosity=2)
