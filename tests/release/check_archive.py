#!/usr/bin/env python3
"""Checks the release archive as a download: what it holds, and that nothing in it depends on when,
where or by whom it was made.

    check_archive.py ZIP --epoch SECONDS FILE...

FILE... are the files expected in the archive's one top folder (named after the archive). Every
entry must carry the time SECONDS (the commit's), fixed permissions and no extra fields, in name
order; SHA256SUMS must hold, in sha256sum's format, the checksum of each file but the licence and
itself: the programs an administrator runs, and the pages an administrator reads.
Prints one line per failed check and exits 1 if any failed.
"""
import argparse
import hashlib
import os
import re
import sys
import time
import zipfile

SUMS_LINE = re.compile(r"^([0-9a-f]{64})  (\S+)$")


def check(path, epoch, expected):
    failures = []
    archive = zipfile.ZipFile(path)
    entries = archive.infolist()
    top = os.path.basename(path)[:-len(".zip")] + "/"
    names = [entry.filename for entry in entries]

    files = sorted(name[len(top):] for name in names if name.startswith(top) and not name.endswith("/"))
    if files != sorted(expected):
        failures.append(f"files: expected {sorted(expected)}, got {files}")
    outside = [name for name in names if not name.startswith(top)]
    if outside:
        failures.append(f"entries outside the folder {top}: {outside}")
    if names != sorted(names):
        failures.append(f"entries not in name order: {names}")

    commit_time = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    commit_time = commit_time[:5] + (commit_time[5] // 2 * 2,)
    for entry in entries:
        folder = entry.filename.endswith("/")
        mode = (0o040755 if folder else 0o100644)
        for what, wanted, actual in (("time", commit_time, entry.date_time),
                                     ("extra fields", b"", entry.extra),
                                     ("made-by system", 3, entry.create_system),
                                     ("permissions", oct(mode), oct(entry.external_attr >> 16)),
                                     ("comment", b"", entry.comment)):
            if wanted != actual:
                failures.append(f"{entry.filename}: {what}: expected {wanted!r}, got {actual!r}")

    summed = {name[len(top):] for name in names if not name.endswith(("/", "LICENSE", "SHA256SUMS"))}
    try:
        sums = archive.read(top + "SHA256SUMS").decode("ascii")
    except KeyError:
        return failures + ["no SHA256SUMS beside the programs"]
    listed = set()
    for number, line in enumerate(sums.split("\n")[:-1], 1):
        match = SUMS_LINE.match(line)
        if not match:
            failures.append(f"SHA256SUMS line {number} is not '<sha256>  <name>': {line!r}")
            continue
        digest, name = match.groups()
        listed.add(name)
        if name in summed and hashlib.sha256(archive.read(top + name)).hexdigest() != digest:
            failures.append(f"SHA256SUMS: {name}: the checksum is not that of the archived file")
    if not sums.endswith("\n"):
        failures.append("SHA256SUMS does not end with a line break")
    if listed != summed:
        failures.append(f"SHA256SUMS lists {sorted(listed)}, the files it is to cover are {sorted(summed)}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("archive")
    parser.add_argument("--epoch", type=int, required=True)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    failures = check(args.archive, args.epoch, args.files)
    for failure in failures:
        print(f"{args.archive}: {failure}")
    if not failures:
        print(f"{args.archive}: the expected files, commit time {args.epoch} throughout, fixed permissions, "
              "no extra fields, checksums of all but the licence")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
