#!/usr/bin/env python3
"""Checks a built Windows program the way an administrator's machine will see it.

    check_pe.py FILE --processor i686|x86_64 --imports LIST --subsystem console|gui --max-size BYTES
                --version X.Y.Z --description TEXT [--starts-no-program]

A PE for that processor (32-bit x86 or x64); the expected subsystem; imports only DLLs that every
Windows has, and exactly the functions that LIST gives for the program on that processor, of which
none that starts a program (CreateProcess*, ShellExecute*, WinExec) with --starts-no-program; icon group 102,
a version resource carrying the product's strings, and a manifest asking for the caller's own rights,
the UTF-8 code page and per-monitor DPI awareness;
at most BYTES long. Prints one line per failed check and exits 1 if any failed.
"""
import argparse
import os
import re
import sys

import pefile

PROCESSORS = {"i686": ("x86", pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], pefile.OPTIONAL_HEADER_MAGIC_PE),
              "x86_64": ("x64", pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"],
                         pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS)}
SYSTEM_DLLS = {"kernel32.dll", "advapi32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "netapi32.dll"}
STARTS_A_PROGRAM = re.compile(r"^(CreateProcess|ShellExecute|WinExec)")
SUBSYSTEMS = {"gui": pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
              "console": pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = (pefile.RESOURCE_TYPE[name] for name in
                                                   ("RT_ICON", "RT_GROUP_ICON", "RT_VERSION", "RT_MANIFEST"))


def imports(pe):
    """{DLL in upper case: {function names}}; a function imported by ordinal reads as "#" and the number."""
    found = {}
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        functions = found.setdefault(entry.dll.decode("latin-1").upper(), set())
        for function in entry.imports:
            functions.add(function.name.decode("latin-1") if function.name else "#%d" % function.ordinal)
    return found


def listed_imports(path):
    """{(program, processor): {DLL in upper case: {function names}}} from the imports list."""
    listed = {}
    program = dll = None
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            if not line[0].isspace():
                program = listed.setdefault(tuple(words), {})
                continue
            if words[0].lower().endswith(".dll"):
                dll = program.setdefault(words.pop(0).upper(), set())
            dll.update(words)
    return listed


def import_failures(pe, program, processor, listed):
    if (program, processor) not in listed:
        return ["the imports list has no entry for %s %s" % (program, processor)]
    failures = []
    actual, expected = imports(pe), listed[(program, processor)]
    for dll in sorted(set(actual) | set(expected)):
        for function in sorted(actual.get(dll, set()) - expected.get(dll, set())):
            failures.append("imports %s from %s, which the imports list does not give" % (function, dll))
        for function in sorted(expected.get(dll, set()) - actual.get(dll, set())):
            failures.append("no longer imports %s from %s: take it out of the imports list" % (function, dll))
    return failures


def resources_of(pe):
    """{(type, id): [data bytes of each language]}; named types and ids have the id None."""
    found = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for rtype in root.entries if root else []:
        for rid in rtype.directory.entries:
            for language in rid.directory.entries:
                data = language.data.struct
                found.setdefault((rtype.id, rid.id), []).append(pe.get_data(data.OffsetToData, data.Size))
    return found


def check(path, processor, imports_list, subsystem, max_size, version, description, starts_no_program):
    data = open(path, "rb").read()
    failures = []
    try:
        pe = pefile.PE(data=data)
    except pefile.PEFormatError as error:
        return ["%s: not a PE file (%s)" % (path, error.value)]

    name, expected_machine, expected_magic = PROCESSORS[processor]
    machine, magic = pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic
    if machine != expected_machine or magic != expected_magic:
        failures.append("not an %s PE (machine 0x%x, optional header 0x%x)" % (name, machine, magic))
    if pe.OPTIONAL_HEADER.Subsystem != SUBSYSTEMS[subsystem]:
        failures.append("subsystem %d, expected %d (%s)"
                        % (pe.OPTIONAL_HEADER.Subsystem, SUBSYSTEMS[subsystem], subsystem))
    foreign = [dll for dll in imports(pe) if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        failures.append("imports DLLs that not every Windows has: %s" % ", ".join(foreign))
    failures += import_failures(pe, os.path.basename(path), name, listed_imports(imports_list))
    if starts_no_program:
        failures += ["imports %s from %s, but starts no other program" % (function, dll)
                     for dll, functions in sorted(imports(pe).items()) for function in sorted(functions)
                     if STARTS_A_PROGRAM.match(function)]
    if len(data) > max_size:
        failures.append("%d bytes, over its budget of %d" % (len(data), max_size))

    resources = resources_of(pe)
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
        for needle in ('requestedExecutionLevel level="asInvoker"', "supportedOS Id=",
                       'WindowsSettings">UTF-8</activeCodePage>', 'WindowsSettings">PerMonitorV2'):
            if needle not in manifest:
                failures.append("manifest lacks %s" % needle)
        if "Microsoft.Windows.Common-Controls" in manifest:
            failures.append("manifest asks for visual styles")
    return ["%s: %s" % (path, failure) for failure in failures]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--processor", choices=PROCESSORS, required=True)
    parser.add_argument("--imports", required=True, help="the imports list")
    parser.add_argument("--subsystem", choices=SUBSYSTEMS, required=True)
    parser.add_argument("--max-size", type=int, required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--description", required=True)
    parser.add_argument("--starts-no-program", action="store_true")
    args = parser.parse_args()
    failures = check(args.file, args.processor, args.imports, args.subsystem, args.max_size, args.version,
                     args.description, args.starts_no_program)
    for failure in failures:
        print(failure)
    if not failures:
        print("%s: %s %s program, the listed imports of system DLLs only, icon, version and manifest present, "
              "within %d bytes" % (args.file, PROCESSORS[args.processor][0], args.subsystem, args.max_size))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
