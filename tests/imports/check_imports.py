#!/usr/bin/env python3
"""Checks what Windows programs import: nothing Windows XP SP3 lacks, and nothing a file
planted beside the program could stand in for.

Reads the import table and the delay-loaded imports of each program given. Every imported
name is looked up in nt5-exports/<dll>.txt beside this script, the names that DLL exports on
Windows XP and Server 2003; a later-Windows name (<dll>.vista-plus.txt) is said to be one.
A DLL imported statically is loaded before the program's first line runs, where nothing can
keep Windows from taking a file of that name from the program's folder: it must be a KnownDLL
on every Windows (known-dlls.txt), or comctl32, which the program's manifest then resolves to
the system's Common Controls 6. A delay-loaded function's pointer must lead to its loading
thunk. Prints every fault and exits 1 when there is any.

    check_imports.py PROGRAM.exe [PROGRAM.exe ...]
"""
import pathlib
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

HERE = pathlib.Path(__file__).resolve().parent
LISTS = HERE / "nt5-exports"
KNOWN_DLLS = HERE / "known-dlls.txt"
COMMON_CONTROLS = "comctl32.dll"
RT_MANIFEST = 24
EXECUTABLE = 0x20000000  # IMAGE_SCN_MEM_EXECUTE
DLL_NAME = re.compile(rb"[A-Za-z0-9_.-]+\.dll", re.IGNORECASE)


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
        self.thunk_format, self.ordinal_flag = ("<Q", 1 << 63) if self.pe32_plus else ("<I", 1 << 31)
        self.thunk_size = struct.calcsize(self.thunk_format)
        (self.image_base,) = struct.unpack_from(self.thunk_format, data,
                                                optional + (24 if self.pe32_plus else 28))
        directories = optional + (112 if self.pe32_plus else 96)
        self.import_rva, _ = struct.unpack_from("<II", data, directories + 8)
        self.resource_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
        self.delay_import_rva, _ = struct.unpack_from("<II", data, directories + 13 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(self.sections_count):
            entry = table + 40 * i
            virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
                "<IIII", data, entry + 8)
            (characteristics,) = struct.unpack_from("<I", data, entry + 36)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer,
                                  raw_size, characteristics))

    def section_of(self, rva):
        for section in self.sections:
            if section[0] <= rva < section[0] + section[1]:
                return section
        return None

    def offset(self, rva):
        section = self.section_of(rva)
        if section is None:
            raise ValueError(f"address {rva:#x} lies in no section")
        return rva - section[0] + section[2]

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def thunks(self, rva):
        """The values of the zero-terminated thunk array at rva."""
        at = self.offset(rva)
        while True:
            (value,) = struct.unpack_from(self.thunk_format, self.data, at)
            if value == 0:
                return
            yield value
            at += self.thunk_size

    def thunk_name(self, value):
        if value & self.ordinal_flag:
            return f"#{value & 0xFFFF}"
        return self.string((value & 0x7FFFFFFF) + 2)

    def imports(self):
        """Yields (dll, name) for each import by name; (dll, '#N') for one by ordinal."""
        if not self.import_rva:
            return
        descriptor = self.offset(self.import_rva)
        while True:
            lookup, _, _, name_rva, address = struct.unpack_from("<IIIII", self.data, descriptor)
            if name_rva == 0:
                return
            dll = self.string(name_rva)
            for value in self.thunks(lookup or address):
                yield dll, self.thunk_name(value)
            descriptor += 20

    def delay_descriptors(self):
        """The delay-load descriptors: (dll name RVA, IAT RVA, name table RVA) each. GNU ld
        leaves the directory empty, so there they are found by their shape: RVA-based, all
        four addresses in the image and the DLL's name a DLL name."""
        if self.delay_import_rva:
            at = self.offset(self.delay_import_rva)
            while True:
                fields = struct.unpack_from("<8I", self.data, at)
                if fields[1] == 0:
                    return
                yield fields[1], fields[3], fields[4]
                at += 32
        names = set()
        for match in DLL_NAME.finditer(self.data):
            if self.data[match.end():match.end() + 1] == b"\0":
                rva = self.rva_of_offset(match.start())
                if rva is not None:
                    names.add(rva)
        for name_rva in names:
            needle = struct.pack("<II", 1, name_rva)
            at = self.data.find(needle)
            while at >= 0:
                fields = struct.unpack_from("<8I", self.data, at)
                if at % 4 == 0 and all(self.section_of(f) for f in fields[2:5]) and not any(
                        fields[5:]):
                    yield fields[1], fields[3], fields[4]
                at = self.data.find(needle, at + 1)

    def rva_of_offset(self, offset):
        for address, _, pointer, raw_size, _ in self.sections:
            if pointer <= offset < pointer + raw_size:
                return offset - pointer + address
        return None

    def delay_imports(self):
        """Yields (dll, name, leads_to_thunk) for each delay-loaded import: whether the
        function's pointer, before the first call, leads into code (its loading thunk)."""
        for name_rva, iat_rva, names_rva in self.delay_descriptors():
            dll = self.string(name_rva)
            pointers = list(self.thunks(iat_rva)) if self.section_of(iat_rva) else []
            for i, value in enumerate(self.thunks(names_rva)):
                target = pointers[i] - self.image_base if i < len(pointers) else 0
                section = self.section_of(target) if target > 0 else None
                yield dll, self.thunk_name(value), bool(section and section[4] & EXECUTABLE)

    def manifest(self):
        """The text of the program's manifest (resource type 24), or None."""
        if not self.resource_rva:
            return None
        root = self.offset(self.resource_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, directory + 16 + 8 * i)

        def first_leaf(entry):
            while entry & 0x80000000:
                _, entry = next(entries(root + (entry & 0x7FFFFFFF)))
            data_rva, size = struct.unpack_from("<II", self.data, root + entry)
            start = self.offset(data_rva)
            return self.data[start:start + size]

        for name, entry in entries(root):
            if name == RT_MANIFEST:
                return first_leaf(entry).decode("utf-8-sig")
        return None


def manifest_names_common_controls_6(text):
    if text is None:
        return False
    for element in ElementTree.fromstring(text).iter():
        if element.tag.endswith("dependentAssembly"):
            for identity in element:
                if (identity.tag.endswith("assemblyIdentity") and
                        identity.get("name") == "Microsoft.Windows.Common-Controls" and
                        identity.get("version", "").startswith("6.")):
                    return True
    return False


def names(path):
    return set(path.read_text().split()) if path.exists() else None


def known_dlls():
    lines = (line.split("#")[0].strip().lower() for line in KNOWN_DLLS.read_text().splitlines())
    return {line for line in lines if line}


def check(program):
    faults = []
    lists = {}
    pe = PeFile(pathlib.Path(program).read_bytes())

    def check_export(dll, name):
        base = dll.lower().removesuffix(".dll")
        if base not in lists:
            lists[base] = (names(LISTS / f"{base}.txt"), names(LISTS / f"{base}.vista-plus.txt"))
        xp, later = lists[base]
        if xp is None:
            faults.append(f"{program}: {dll}: no list of what Windows XP exports")
        elif name not in xp:
            known = " (Windows Vista and later)" if later and name in later else ""
            faults.append(f"{program}: {dll}!{name}: not exported by Windows XP{known}")

    known = known_dlls()
    imported = set()
    for dll, name in pe.imports():
        check_export(dll, name)
        imported.add(dll.lower())
        if dll.lower() not in known and dll.lower() != COMMON_CONTROLS:
            faults.append(f"{program}: {dll}: imported statically, and not a KnownDLL on every "
                          "Windows: a file of that name beside the program would be loaded "
                          "before its first line runs; delay-load it")
    for dll, name, leads_to_thunk in pe.delay_imports():
        check_export(dll, name)
        imported.add(dll.lower())
        if not leads_to_thunk:
            faults.append(f"{program}: {dll}!{name}: delay-loaded, but its pointer leads to "
                          "no loading thunk: the first call would crash")
    if COMMON_CONTROLS in imported and not manifest_names_common_controls_6(pe.manifest()):
        faults.append(f"{program}: {COMMON_CONTROLS}: imported, but the manifest names no "
                      "Common Controls 6 to take it from")
    return faults


def main(programs):
    if not programs:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    faults = [fault for program in programs for fault in check(program)]
    for fault in sorted(set(faults)):
        print(fault)
    if not faults:
        print(f"imports of {len(programs)} programs: all on Windows XP, none a planted file "
              "could stand in for")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
