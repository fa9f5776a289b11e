#!/usr/bin/env python3
"""The Windows Installer packages of a release, made as `make package` makes them.

    package_test.py static|lifecycle MAKE_RELEASE PAIR32_BUILD PAIR64_BUILD SOURCE_DIR WORK_DIR

static reads both packages with msitools against the documentation's codes and the pairs' programs;
lifecycle installs each with 64-bit Wine's msiexec (WINEPREFIX from the environment), upgrades it to
a higher version of the same programs, is refused the lower one again, and removes it: the 32-bit
package runs no code of its own, so 64-bit Wine installs it too. Prints each failed check and a count.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checks import Failures  # noqa: E402

# By the package's architecture: its pair, its summary template, and where Windows puts it.
PACKAGES = {"x64": ("x86_64", "x64;1033", "Program Files", "/reg:64", "Tollvey (64-bit)"),
            "x86": ("i686", "Intel;1033", "Program Files (x86)", "/reg:32", "Tollvey (32-bit)")}
# The programs a package installs: TollveyDeploy.exe runs from the folder of its TollveyDeploy.ini.
PACKAGED = ("Tollvey.exe", "TollveyCheck.exe", "TollveyCmd.exe")
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def run(command, **kwargs):
    # A bound on a step that hangs, not a goal: each takes a second or less, more on a busy machine.
    return subprocess.run(command, capture_output=True, text=True, timeout=120, check=False, **kwargs)


def sha256_of(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def table(package, name):
    return [line.split("\t") for line in run(["msiinfo", "export", package, name]).stdout.splitlines()[3:]]


def version_resource(path):
    """The file version of a program's version resource, as Windows Installer writes one, and the
    language of its strings."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = pe.VS_FIXEDFILEINFO[0]
    languages = [int(table.LangID[:4], 16) for info in pe.FileInfo for block in info
                 for table in getattr(block, "StringTable", [])]
    return (f"{fixed.FileVersionMS >> 16}.{fixed.FileVersionMS & 0xFFFF}.{fixed.FileVersionLS >> 16}."
            f"{fixed.FileVersionLS & 0xFFFF}", ",".join(map(str, languages)))


def static(failures, context, architecture, package):
    processor, template = PACKAGES[architecture][:2]
    case = os.path.basename(package)
    props = {row[0]: row[1] for row in table(package, "Property")}
    info = dict(line.split(": ", 1) for line in run(["msiinfo", "suminfo", package]).stdout.splitlines())
    with open(os.path.join(context["source"], "docs", "deploying.md"), encoding="utf-8") as f:
        readme = [re.findall(r"\{[0-9A-F-]{36}\}", line) for line in f if line.startswith(f"| `{case}` |")]
    extracted = os.path.join(context["work"], architecture)
    run(["msiextract", "-C", extracted, package])
    files = sorted((name, sha256_of(os.path.join(folder, name))) for folder, _, names in os.walk(extracted)
                   for name in names)
    programs = context["pairs"][processor]
    for what, expected, actual in (
            ("summary template", template, info.get("Template")),
            ("per machine: ALLUSERS, and elevation in the word count", ("1", "2 (2)"), (props.get("ALLUSERS"), info.get("Source"))),
            ("the upgrade code and product code the documentation gives", readme, [[props.get("UpgradeCode"), props.get("ProductCode")]]),
            ("version", context["version"], props.get("ProductVersion")),
            ("no custom actions", [], table(package, "CustomAction")),
            ("no registry values", [], table(package, "Registry")),
            ("the files: the pair's programs as built, but TollveyDeploy.exe",
             sorted((name, sha256_of(programs[name])) for name in PACKAGED), files),
            ("each program's version and language, those of its version resource",
             {name: version_resource(programs[name]) for name in PACKAGED},
             {row[2]: tuple(row[4:6]) for row in table(package, "File")}),
            ("no file hashes, which Windows Installer keeps for unversioned files", [], table(package, "MsiFileHash"))):
        failures.check(case, what, expected, actual)


def wine(*arguments):
    return run(["wine"] + list(arguments))


def msiexec(action, package):
    """Its exit status. The service it starts keeps its output open for a second after it ends, and
    nothing of that output is read."""
    return subprocess.run(["wine", "msiexec", action, "Z:" + package, "/qn"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=120, check=False).returncode


def lifecycle(failures, context, architecture, package):
    processor, _, program_files, view, name = PACKAGES[architecture]
    major, minor, patch = context["version"].split(".")
    versions = {package: context["version"], os.path.join(context["work"], f"higher-{architecture}.msi"):
                f"{major}.{minor}.{int(patch) + 1}"}
    higher = list(versions)[1]
    run([sys.executable, context["windows_installer"], "--pair", context["builds"][processor], "--source",
         context["source"], "--output", higher, "--version", versions[higher]])
    codes = {path: dict(row[:2] for row in table(path, "Property"))["ProductCode"] for path in versions}
    folder = os.path.join(os.environ["WINEPREFIX"], "drive_c", program_files, "Tollvey")
    installed_programs = {name: sha256_of(context["pairs"][processor][name]) for name in PACKAGED}

    def uninstall_entries():
        """{product code: {value name: data}} of every uninstall entry in the package's view, read at once."""
        entries, values = {}, None
        for line in wine("reg", "query", UNINSTALL, "/s", view).stdout.splitlines():
            if line.startswith("HKEY_"):
                values = entries.setdefault(line.rsplit("\\", 1)[-1].upper(), {})
            elif values is not None and line.startswith("    "):
                fields = line.strip().split("    ", 2)
                values[fields[0]] = fields[2] if len(fields) > 2 else ""
        return entries

    def state(case, installed):
        """INSTALLED: the package that should be there, or None."""
        files = {name: sha256_of(os.path.join(folder, name)) for name in os.listdir(folder)} if os.path.isdir(folder) else {}
        failures.check(case, f"the files in C:\\{program_files}\\Tollvey", installed_programs if installed else {}, files)
        entries = uninstall_entries()
        for path, code in codes.items():
            entry = (name, versions[path], "The Tollvey developers", "https://tollvey.example/", "0x1", "0x1")
            found = entries.get(code.upper(), {})
            failures.check(case, f"uninstall entry of {versions[path]}", entry if path == installed else ("<missing>",) * 6,
                           tuple(found.get(value, "<missing>") for value in ("DisplayName", "DisplayVersion", "Publisher",
                                                                              "HelpLink", "NoModify", "NoRepair")))

    # Wine hands Linux an exit status's low 8 bits: 1603 as 67.
    left = uninstall_entries()
    for path, code in codes.items():
        if code.upper() in left:
            msiexec("/x", path)
    for case, action, path, status, installed in (
            ("installed", "/i", package, 0, package),
            ("upgraded", "/i", higher, 0, higher),
            ("the lower version refused over the higher", "/i", package, 1603 % 256, higher),
            ("removed", "/x", higher, 0, None)):
        case = f"{architecture}: {case}"
        failures.check(case, f"msiexec {action} exit status", status, msiexec(action, path))
        state(case, installed)


def main():
    mode, make_release, pair32, pair64, source, work = sys.argv[1:7]
    builds = {"i686": pair32, "x86_64": pair64}
    pairs = {}
    for processor, build in builds.items():
        with open(os.path.join(build, "release-pair.txt"), encoding="utf-8") as f:
            fields = [line.rstrip("\n").split("\t") for line in f]
        version = next(field[1] for field in fields if field[0] == "version")
        pairs[processor] = {field[1]: field[2] for field in fields if field[0] == "program"}
    shutil.rmtree(work, ignore_errors=True)
    output = os.path.join(work, "release")
    made = run([sys.executable, make_release, "--pair32", pair32, "--pair64", pair64, "--source", source,
                "--output", output], env={k: v for k, v in os.environ.items() if not k.startswith("SIGN_")})
    if made.returncode != 0:
        print(f"make-release failed:\n{made.stdout}{made.stderr}")
        return 1
    context = {"source": source, "work": work, "version": version, "pairs": pairs, "builds": builds,
               "windows_installer": os.path.join(os.path.dirname(make_release), "windows_installer.py")}
    failures = Failures()
    for architecture in PACKAGES:
        (static if mode == "static" else lifecycle)(failures, context, architecture,
                                                    os.path.join(output, f"Tollvey-{version}-{architecture}.msi"))
    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
