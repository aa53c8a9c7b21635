#!/usr/bin/env python3
"""Checks that Windows programs import nothing Windows XP SP3 lacks.

Reads the import table of each program given and looks every imported name up in
nt5-exports/<dll>.txt beside this script, the names that DLL exports on Windows XP and
Server 2003. Prints every import its DLL's list lacks, and every DLL without a list, and
exits 1 when there is any; a later-Windows name (<dll>.vista-plus.txt) is said to be one.

    check_imports.py PROGRAM.exe [PROGRAM.exe ...]
"""
import pathlib
import struct
import sys

LISTS = pathlib.Path(__file__).resolve().parent / "nt5-exports"


class PeFile:
    def __init__(self, data):
        self.data = data
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        (self.sections_count,) = struct.unpack_from("<H", data, pe + 6)
        (optional_size,) = struct.unpack_from("<H", data, pe + 20)
        optional = pe + 24
        (magic,) = struct.unpack_from("<H", data, optional)
        self.pe32_plus = magic == 0x20B
        directories = optional + (112 if self.pe32_plus else 96)
        self.import_rva, _ = struct.unpack_from("<II", data, directories + 8)
        self.sections = []
        table = optional + optional_size
        for i in range(self.sections_count):
            entry = table + 40 * i
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
                "<IIII", data, entry + 8)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer))

    def offset(self, rva):
        for address, size, pointer in self.sections:
            if address <= rva < address + size:
                return rva - address + pointer
        raise ValueError(f"address {rva:#x} lies in no section")

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """Yields (dll, name) for each import by name; (dll, '#N') for one by ordinal."""
        if not self.import_rva:
            return
        descriptor = self.offset(self.import_rva)
        thunk_size, ordinal_flag = (8, 1 << 63) if self.pe32_plus else (4, 1 << 31)
        while True:
            lookup, _, _, name_rva, address = struct.unpack_from("<IIIII", self.data, descriptor)
            if name_rva == 0:
                return
            dll = self.string(name_rva)
            thunk = self.offset(lookup or address)
            while True:
                (value,) = struct.unpack_from("<Q" if self.pe32_plus else "<I", self.data, thunk)
                if value == 0:
                    break
                if value & ordinal_flag:
                    yield dll, f"#{value & 0xFFFF}"
                else:
                    yield dll, self.string((value & 0x7FFFFFFF) + 2)
                thunk += thunk_size
            descriptor += 20


def names(path):
    return set(path.read_text().split()) if path.exists() else None


def check(program):
    faults = []
    lists = {}
    for dll, name in PeFile(pathlib.Path(program).read_bytes()).imports():
        base = dll.lower().removesuffix(".dll")
        if base not in lists:
            lists[base] = (names(LISTS / f"{base}.txt"), names(LISTS / f"{base}.vista-plus.txt"))
        xp, later = lists[base]
        if xp is None:
            faults.append(f"{program}: {dll}: no list of what Windows XP exports")
        elif name not in xp:
            known = " (Windows Vista and later)" if later and name in later else ""
            faults.append(f"{program}: {dll}!{name}: not exported by Windows XP{known}")
    return faults


def main(programs):
    if not programs:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    faults = [fault for program in programs for fault in check(program)]
    for fault in sorted(set(faults)):
        print(fault)
    if not faults:
        print(f"imports of {len(programs)} programs: all on Windows XP")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
