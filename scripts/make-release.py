#!/usr/bin/env python3
"""Makes the release, the same bytes from the same commit wherever and whenever it is built.

    make-release.py --pair32 BUILD --pair64 BUILD --source DIR --output DIR

BUILD is the folder of a Windows build that has built its programs (the win32 preset's, and the
win64 preset's); its release-pair.txt names its version, its processor and its programs. The 32-bit
pair goes at the archive's top, where scripts written for it find it, the 64-bit pair into x64/,
with the licence and the administrator's pages from DIR (release_docs.py), all in the folder NAME
inside OUTPUT/NAME.zip (NAME is Tollvey-<version>-win32), with SHA256SUMS over the programs and the
pages, what an administrator runs and reads, beside them. Beside the archive go a Windows Installer
package of each pair, Tollvey-<version>-x64.msi and Tollvey-<version>-x86.msi (windows_installer.py),
and a SHA256SUMS of the archive and both packages.

Every time in the archive is SOURCE_DATE_EPOCH, or else the time of the last commit in DIR; entries
are sorted by name and carry fixed permissions and no extra fields.

Signing, from the environment: SIGN_PKCS12 (a PKCS#12 file) with SIGN_PASSWORD_FILE (a file that
holds its password and nothing else, a line break at its end aside, as osslsigncode reads it) signs
every program, SHA-256, before they are summed, archived and packaged, and then both packages;
SIGN_TIMESTAMP_URL adds an RFC 3161 time stamp from that server. The password is handed to
osslsigncode as a file name, never as text on a command line.
"""
import argparse
import hashlib
import io
import os
import posixpath
import subprocess
import sys
import tempfile
import time
import zipfile

import release_docs
import windows_installer

DESCRIPTION = "Tollvey"
PRODUCT_URL = "https://tollvey.example/"
FILE_MODE = 0o644
FOLDER_MODE = 0o755
UNIX = 3  # "made by" system in the zip headers: the permissions below are Unix ones.
# Each pair's processor and its folder in the archive.
PAIRS = (("i686", ""), ("x86_64", "x64"))


class ReleaseError(Exception):
    pass


def read_pair(build, processor=None):
    """The build's version, its processor (which must be PROCESSOR when that is given), and its
    programs' names and paths."""
    with open(os.path.join(build, "release-pair.txt"), encoding="utf-8") as listing:
        lines = [line.rstrip("\n").split("\t") for line in listing if line.strip()]
    fields = {line[0]: line[1] for line in lines if len(line) == 2}
    if processor is not None and fields.get("processor") != processor:
        raise ReleaseError(f"{build} builds for {fields.get('processor')}, not {processor}")
    return fields.get("version"), fields.get("processor"), [(line[1], line[2]) for line in lines if line[0] == "program"]


def release_entries(pair32, pair64, source):
    """The version and the archive's entries: (program|file, name in the archive, path)."""
    version32, _, programs32 = read_pair(pair32, "i686")
    version64, _, programs64 = read_pair(pair64, "x86_64")
    if version32 != version64:
        raise ReleaseError(f"the pairs are of different versions: {version32} and {version64}")
    entries = [("program", posixpath.join(PAIRS[0][1], name), path) for name, path in programs32]
    entries += [("program", posixpath.join(PAIRS[1][1], name), path) for name, path in programs64]
    entries.append(("file", "LICENSE", os.path.join(source, "LICENSE")))
    return version32, entries


def release_name(version):
    return f"Tollvey-{version}-win32"


def source_date_epoch(source):
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if not value:
        result = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"],
                                capture_output=True, text=True, check=False)
        value = result.stdout.strip()
        if result.returncode != 0 or not value:
            raise ReleaseError(f"{source} is not a git checkout with a commit: set SOURCE_DATE_EPOCH")
    try:
        return int(value)
    except ValueError:
        raise ReleaseError(f"SOURCE_DATE_EPOCH is not a number of seconds: {value!r}") from None


def zip_time(epoch):
    # The format cannot hold a time before 1980; it keeps even seconds only.
    return max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))


def signing_settings():
    pkcs12 = os.environ.get("SIGN_PKCS12", "")
    password_file = os.environ.get("SIGN_PASSWORD_FILE", "")
    timestamp_url = os.environ.get("SIGN_TIMESTAMP_URL", "")
    if not pkcs12:
        if password_file or timestamp_url:
            raise ReleaseError("SIGN_PASSWORD_FILE and SIGN_TIMESTAMP_URL need SIGN_PKCS12")
        return None
    if not password_file:
        raise ReleaseError("SIGN_PKCS12 needs SIGN_PASSWORD_FILE, the file that holds its password")
    for what, path in (("SIGN_PKCS12", pkcs12), ("SIGN_PASSWORD_FILE", password_file)):
        if not os.path.isfile(path):
            raise ReleaseError(f"{what}: no such file: {path}")
    # osslsigncode would take a second line as part of the password, and a first line alone as the
    # password is what such a file usually means: say so instead of failing on a wrong password.
    with open(password_file, "rb") as f:
        if len(f.read().rstrip(b"\r\n").splitlines()) > 1:
            raise ReleaseError("SIGN_PASSWORD_FILE must hold the password alone, on one line")
    return {"pkcs12": pkcs12, "password_file": password_file, "timestamp_url": timestamp_url}


def sign(path, settings, scratch, epoch):
    # A folder of its own for each: both pairs have programs of the same name.
    signed = os.path.join(tempfile.mkdtemp(dir=scratch), os.path.basename(path))
    command = ["osslsigncode", "sign", "-pkcs12", settings["pkcs12"], "-readpass", settings["password_file"],
               "-h", "sha256", "-n", DESCRIPTION, "-i", PRODUCT_URL]
    if settings["timestamp_url"]:
        command += ["-ts", settings["timestamp_url"]]
    else:
        # The signing time is the commit's, so that a signature without a time stamp is the same
        # whenever it is made.
        command += ["-time", str(epoch)]
    command += ["-in", path, "-out", signed]
    try:
        result = subprocess.run(command, capture_output=True, text=True, check=False)
    except FileNotFoundError:
        raise ReleaseError("osslsigncode is not installed (scripts/setup.sh installs it)") from None
    if result.returncode != 0 or not os.path.isfile(signed):
        what = "signing or time-stamping" if settings["timestamp_url"] else "signing"
        raise ReleaseError(f"{what} {path} failed:\n{result.stdout}{result.stderr}")
    with open(signed, "rb") as f:
        return f.read()


def add(archive, name, data, epoch):
    info = zipfile.ZipInfo(name, zip_time(epoch))
    info.create_system = UNIX
    if name.endswith("/"):
        info.external_attr = (0o040000 | FOLDER_MODE) << 16 | 0x10
        info.compress_type = zipfile.ZIP_STORED
    else:
        info.external_attr = (0o100000 | FILE_MODE) << 16
        info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, data, compresslevel=9)


def folders_of(names):
    folders = set()
    for name in names:
        parts = name.split("/")[:-1]
        for depth in range(1, len(parts) + 1):
            folders.add("/".join(parts[:depth]) + "/")
    return folders


def zipped(contents, epoch):
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as archive:
        for entry in sorted(set(contents) | folders_of(contents)):
            add(archive, entry, contents.get(entry, b""), epoch)
    return data.getvalue()


def sums_of(files):
    """SHA256SUMS of FILES, {name: bytes}, in name order."""
    return "".join(f"{hashlib.sha256(files[name]).hexdigest()}  {name}\n" for name in sorted(files))


def make_release(entries, version, source, output):
    """Writes the archive, both packages and their SHA256SUMS to OUTPUT; returns their names and bytes,
    and the archive's SHA256SUMS."""
    name = release_name(version)
    packages = {processor: windows_installer.package_name(version, windows_installer.ARCHITECTURES[processor])
                for processor, _ in PAIRS}
    names = [f"{name}.zip"] + [packages[processor] for processor, _ in PAIRS] + ["SHA256SUMS"]
    # A run that fails leaves none of them, not older ones that could be taken for its result.
    for target in names:
        if os.path.exists(os.path.join(output, target)):
            os.remove(os.path.join(output, target))
    epoch = source_date_epoch(source)
    settings = signing_settings()
    contents = {}
    programs = {}
    summed = {}
    files = {}
    with tempfile.TemporaryDirectory() as scratch:
        pages = os.path.join(scratch, "pages")
        entries = entries + [("page", page, os.path.join(pages, page)) for page in release_docs.render(source, pages)]
        for kind, archive_name, path in entries:
            if kind == "program" and settings:
                data = sign(path, settings, scratch, epoch)
            else:
                with open(path, "rb") as f:
                    data = f.read()
            contents[f"{name}/{archive_name}"] = data
            if kind == "program":
                programs[archive_name] = data
            if kind != "file":
                summed[archive_name] = data
        contents[f"{name}/SHA256SUMS"] = sums_of(summed).encode("ascii")
        files[f"{name}.zip"] = zipped(contents, epoch)
        # Each package holds its pair's programs as the archive does: signed, when they are.
        for processor, folder in PAIRS:
            pair = [(posixpath.basename(program), data) for program, data in programs.items()
                    if posixpath.dirname(program) == folder]
            package = os.path.join(tempfile.mkdtemp(dir=scratch), packages[processor])
            data = windows_installer.make_package(os.path.join(source, "installer", "Tollvey.wxs"), pair,
                                                  processor, version, epoch, package)
            files[packages[processor]] = sign(package, settings, scratch, epoch) if settings else data
    files["SHA256SUMS"] = sums_of(files).encode("ascii")

    os.makedirs(output, exist_ok=True)
    partials = []
    try:
        for target in names:
            partials.append(os.path.join(output, target + ".partial"))
            with open(partials[-1], "wb") as f:
                f.write(files[target])
    except BaseException:
        for partial in partials:
            if os.path.exists(partial):
                os.remove(partial)
        raise
    for target, partial in zip(names, partials):
        os.replace(partial, os.path.join(output, target))
    return names, files, sums_of(summed), settings


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pair32", required=True, help="the win32 preset's build folder")
    parser.add_argument("--pair64", required=True, help="the win64 preset's build folder")
    parser.add_argument("--source", required=True, help="the source checkout: the docs, the commit time")
    parser.add_argument("--output", required=True, help="the folder the archive and packages go to")
    args = parser.parse_args()
    try:
        version, entries = release_entries(args.pair32, args.pair64, args.source)
        names, files, archive_sums, settings = make_release(entries, version, args.source, args.output)
    except (ReleaseError, windows_installer.PackageError, OSError, ValueError, subprocess.CalledProcessError) as error:
        print(f"make-release: {error}", file=sys.stderr)
        return 1
    state = "unsigned" if not settings else "signed" + (", time-stamped" if settings["timestamp_url"] else "")
    for target in names[:-1]:
        print(f"{os.path.join(args.output, target)} ({state})")
    print(files["SHA256SUMS"].decode("ascii"), end="")
    print(archive_sums, end="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
