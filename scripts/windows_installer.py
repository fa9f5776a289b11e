#!/usr/bin/env python3
"""Makes the Windows Installer package of one pair of programs, the same bytes from the same commit.

    windows_installer.py --pair BUILD --source DIR --output FILE [--version VERSION]

BUILD is a Windows build's folder, whose release-pair.txt names its version, processor and
programs; DIR the checkout that holds installer/Tollvey.wxs. --version builds the package as
another version of the same programs, as the tests do to upgrade and downgrade. make-release.py
makes both packages of a release with make_package below, from the programs it archives (signed,
when it signs them).

The package holds the programs that installer/Tollvey.wxs names, not every program of the pair.

Debian's wixl builds the package, with gaps that this script fills: it makes a random package code
and stamps the summary information with the clock, so both are set afterwards with libmsi (Debian's
gir1.2-libmsi-1.0, through python3-gi): the package code from a hash of what the package holds, the
times from SOURCE_DATE_EPOCH (or the last commit's). Its cabinet keeps each file's time, in local
time: the files get the commit's time and wixl runs with TZ=UTC. It leaves each file unversioned,
with a hash in MsiFileHash: libmsi gives each program the version and language of its version
resource (read with pefile) and takes the hash away, which Windows Installer keeps for unversioned
files alone, so that the package replaces an older copy of a program by the rules for versioned
files.
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import uuid

import pefile

MANUFACTURER = "The Tollvey developers"
# Windows Installer's name for each processor the programs are built for, in wixl's -a and the
# package's name.
ARCHITECTURES = {"x86_64": "x64", "i686": "x86"}
# The product code is a version-5 UUID of "<architecture> <version>" in this namespace, and the
# package code one of the hash of the package's contents in the other: both follow from what is built.
PRODUCT_CODES = uuid.UUID("AF3B1E57-8A31-4833-89DA-5D133BBD955D")
PACKAGE_CODES = uuid.UUID("133D8223-5812-45B2-B00D-C5609E098899")
# FILETIME counts 100 ns from 1601; the Unix epoch is this many seconds later.
FILETIME_EPOCH_OFFSET = 11644473600


class PackageError(Exception):
    pass


def product_code(architecture, version):
    return str(uuid.uuid5(PRODUCT_CODES, f"{architecture} {version}")).upper()


def package_name(version, architecture):
    return f"Tollvey-{version}-{architecture}.msi"


def wixl_defines(architecture, version):
    return {"Processor": architecture, "Version": version, "ProductCode": product_code(architecture, version),
            "Manufacturer": MANUFACTURER}


def run_wixl(arguments, folder):
    command = ["wixl"] + arguments
    try:
        result = subprocess.run(command, cwd=folder, capture_output=True, text=True, check=False,
                                env=dict(os.environ, TZ="UTC"))
    except FileNotFoundError:
        raise PackageError("wixl is not installed (scripts/setup.sh installs it)") from None
    if result.returncode != 0:
        raise PackageError(f"wixl {' '.join(arguments)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def packaged_programs(wxs):
    """The names of the files the package source installs."""
    with open(wxs, encoding="utf-8") as f:
        return re.findall(r'<File [^>]*\bName="([^"]+)"', f.read())


def version_resource(name, data):
    """The file version ("2.0.0.0") and the language (1033) of a program's version resource."""
    try:
        pe = pefile.PE(data=data, fast_load=True)
        pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = pe.VS_FIXEDFILEINFO[0]
        translation = next(var.entry[b"Translation"] for info in pe.FileInfo for block in info
                           for var in getattr(block, "Var", []) if b"Translation" in var.entry)
    except (pefile.PEFormatError, AttributeError, IndexError, StopIteration):
        raise PackageError(f"{name} has no version resource with a file version and a language") from None
    version = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF, fixed.FileVersionLS >> 16,
               fixed.FileVersionLS & 0xFFFF)
    return ".".join(map(str, version)), int(translation.split()[0], 16)


def complete_package(path, package_code, epoch, versions):
    """Sets what wixl cannot: the package code, the summary's times, and each program's version and
    language (VERSIONS, {name: (version, language)}) in place of its hash."""
    try:
        import gi
        gi.require_version("Libmsi", "1.0")
        from gi.repository import Libmsi
    except (ImportError, ValueError):
        raise PackageError("libmsi is not installed for this Python (scripts/setup.sh installs "
                           "gir1.2-libmsi-1.0 and python3-gi for /usr/bin/python3)") from None
    filetime = (epoch + FILETIME_EPOCH_OFFSET) * 10_000_000
    database = Libmsi.Database.new(path, Libmsi.DbFlags.TRANSACT, None)
    for name, (version, language) in sorted(versions.items()):
        for sql in (f"UPDATE `File` SET `Version` = '{version}', `Language` = '{language}' WHERE `File` = '{name}'",
                    f"DELETE FROM `MsiFileHash` WHERE `File_` = '{name}'"):
            query = Libmsi.Query.new(database, sql)
            query.execute(None)
            query.close()
    summary = Libmsi.SummaryInfo.new(database, 3)
    summary.set_string(Libmsi.Property.UUID, "{" + package_code + "}")
    summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    if not (summary.persist() and database.commit()):
        raise PackageError(f"could not set the package code, times and file versions of {path}")


def make_package(wxs, programs, processor, version, epoch, output):
    """Writes the package of a pair of programs (PROGRAMS, (name, bytes) pairs, of which it holds those
    WXS names) for PROCESSOR (i686 or x86_64) to OUTPUT."""
    if processor not in ARCHITECTURES:
        raise PackageError(f"no Windows Installer package for processor {processor}")
    architecture = ARCHITECTURES[processor]
    packaged = packaged_programs(wxs)
    programs = [(name, data) for name, data in programs if name in packaged]
    defines = []
    for name, value in wixl_defines(architecture, version).items():
        defines += ["-D", f"{name}={value}"]
    with tempfile.TemporaryDirectory() as folder:
        for name, data in programs:
            path = os.path.join(folder, name)
            with open(path, "wb") as f:
                f.write(data)
            os.utime(path, (epoch, epoch))
        source = os.path.abspath(wxs)
        # What goes into the package, with every variable in place: the package code follows from it.
        contents = hashlib.sha256(run_wixl(["-E"] + defines + [source], folder).encode("utf-8"))
        for name, data in sorted(programs):
            contents.update(f"\0{name}\0{len(data)}\0".encode("utf-8"))
            contents.update(data)
        package_code = str(uuid.uuid5(PACKAGE_CODES, contents.hexdigest())).upper()
        built = os.path.join(folder, "package.msi")
        run_wixl(["-a", architecture, "-o", built] + defines + [source], folder)
        complete_package(built, package_code, epoch, {name: version_resource(name, data) for name, data in programs})
        with open(built, "rb") as f:
            data = f.read()
    with open(output, "wb") as f:
        f.write(data)
    return data


def main():
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    release = __import__("make-release")
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pair", required=True, help="a Windows build's folder")
    parser.add_argument("--source", required=True, help="the source checkout: installer/, the commit time")
    parser.add_argument("--output", required=True, help="the package to write")
    parser.add_argument("--version", help="the package's version, when not the programs'")
    args = parser.parse_args()
    try:
        pair_version, processor, programs = release.read_pair(args.pair)
        data = []
        for name, path in programs:
            with open(path, "rb") as f:
                data.append((name, f.read()))
        make_package(os.path.join(args.source, "installer", "Tollvey.wxs"), data, processor,
                     args.version or pair_version, release.source_date_epoch(args.source), args.output)
    except (PackageError, release.ReleaseError, OSError) as error:
        print(f"windows_installer: {error}", file=sys.stderr)
        return 1
    print(args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
