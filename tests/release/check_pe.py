#!/usr/bin/env python3
"""Checks a built Windows program the way an administrator's machine will see it.

    check_pe.py FILE --subsystem console|gui --max-size BYTES --version X.Y.Z --description TEXT

32-bit PE for x86; the expected subsystem; imports only DLLs that every Windows has; icon group 102,
a version resource carrying the product's strings, and a manifest asking for the caller's own rights;
at most BYTES long. Prints one line per failed check and exits 1 if any failed.
"""
import argparse
import os
import struct
import sys

SYSTEM_DLLS = {"kernel32.dll", "advapi32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}
SUBSYSTEMS = {"gui": 2, "console": 3}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + 96
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError("address 0x%x lies in no section" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def imports(self):
        rva, _ = self.directories[1]
        if rva == 0:
            return []
        names, at = [], self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if entry == (0, 0, 0, 0, 0):
                return names
            names.append(self.cstring(entry[3]))
            at += 20

    def resources(self):
        """{(type, id): [data bytes of each language]} for numbered types and ids."""
        rva, _ = self.directories[2]
        if rva == 0:
            return {}
        base = self.offset(rva)
        found = {}

        def entries(at):
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                yield name, target

        for rtype, type_dir in entries(base):
            for rid, id_dir in entries(base + (type_dir & 0x7FFFFFFF)):
                for _, leaf in entries(base + (id_dir & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    found.setdefault((rtype, rid), []).append(self.data[start:start + size])
        return found


def check(path, subsystem, max_size, version, description):
    data = open(path, "rb").read()
    failures = []
    try:
        pe = Pe(data)
    except ValueError as error:
        return ["%s: not a PE file (%s)" % (path, error)]

    if pe.machine != 0x14C or pe.magic != 0x10B:
        failures.append("not a 32-bit x86 PE (machine 0x%x, optional header 0x%x)" % (pe.machine, pe.magic))
    if pe.subsystem != SUBSYSTEMS[subsystem]:
        failures.append("subsystem %d, expected %d (%s)" % (pe.subsystem, SUBSYSTEMS[subsystem], subsystem))
    foreign = [dll for dll in pe.imports() if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        failures.append("imports DLLs that not every Windows has: %s" % ", ".join(foreign))
    if len(data) > max_size:
        failures.append("%d bytes, over its budget of %d" % (len(data), max_size))

    resources = pe.resources()
    if (RT_GROUP_ICON, 102) not in resources:
        failures.append("no icon group 102")
    elif not any(rtype == RT_ICON for rtype, _ in resources):
        failures.append("icon group 102 without icon images")
    versions = resources.get((RT_VERSION, 1), [])
    texts = [blob.decode("utf-16-le", "replace") for blob in versions]
    expected_strings = {"ProductName": "Tollvey", "FileVersion": version, "ProductVersion": version,
                        "FileDescription": description, "LegalCopyright": "The Tollvey developers",
                        "OriginalFilename": os.path.basename(path)}
    if not texts:
        failures.append("no version resource")
    for key, value in expected_strings.items():
        if texts and not any(key in text and value in text.split(key, 1)[1][:120] for text in texts):
            failures.append("version resource lacks %s %r" % (key, value))
    manifests = resources.get((RT_MANIFEST, 1), [])
    if not manifests:
        failures.append("no application manifest (resource 24, id 1)")
    else:
        manifest = manifests[0].decode("utf-8", "replace")
        for needle in ('requestedExecutionLevel level="asInvoker"', "supportedOS Id="):
            if needle not in manifest:
                failures.append("manifest lacks %s" % needle)
        if "Microsoft.Windows.Common-Controls" in manifest:
            failures.append("manifest asks for visual styles")
    return ["%s: %s" % (path, failure) for failure in failures]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--subsystem", choices=SUBSYSTEMS, required=True)
    parser.add_argument("--max-size", type=int, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--description", required=True)
    args = parser.parse_args()
    failures = check(args.file, args.subsystem, args.max_size, args.version, args.description)
    for failure in failures:
        print(failure)
    if not failures:
        print("%s: 32-bit %s program, system DLLs only, icon, version and manifest present, within %d bytes"
              % (args.file, args.subsystem, args.max_size))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
