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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checks import Failures  # noqa: E402

# By the package's architecture: its pair, its summary template, and where Windows puts it.
PACKAGES = {"x64": ("x86_64", "x64;1033", "Program Files", "/reg:64", "Tollvey (64-bit)"),
            "x86": ("i686", "Intel;1033", "Program Files (x86)", "/reg:32", "Tollvey (32-bit)")}


def run(command, **kwargs):
    # A bound on a run that hangs, not a goal: msiexec under Wine takes seconds, more on a busy machine.
    return subprocess.run(command, capture_output=True, text=True, timeout=600, check=False, **kwargs)


def sha256_of(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def table(package, name):
    return [line.split("\t") for line in run(["msiinfo", "export", package, name]).stdout.splitlines()[3:]]


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
    for what, expected, actual in (
            ("summary template", template, info.get("Template")),
            ("per machine: ALLUSERS, and elevation in the word count", ("1", "2 (2)"), (props.get("ALLUSERS"), info.get("Source"))),
            ("the upgrade code and product code the documentation gives", readme, [[props.get("UpgradeCode"), props.get("ProductCode")]]),
            ("version", context["version"], props.get("ProductVersion")),
            ("no custom actions", [], table(package, "CustomAction")),
            ("the files: the pair's programs as built", sorted(context["pairs"][processor].items()), files)):
        failures.check(case, what, expected, actual)


def wine(*arguments):
    return run(["wine"] + list(arguments))


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
    installed_folder = f"C:\\{program_files}\\Tollvey\\"

    def shown(key, value):
        found = [line.split(None, 2) for line in wine("reg", "query", key, "/v", value, view).stdout.splitlines()]
        return next((fields[2] if len(fields) > 2 else "" for fields in found if fields[:1] == [value]), "<missing>")

    def state(case, installed):
        """INSTALLED: the package that should be there, or None."""
        files = {name: sha256_of(os.path.join(folder, name)) for name in os.listdir(folder)} if os.path.isdir(folder) else {}
        failures.check(case, "the files in " + installed_folder, context["pairs"][processor] if installed else {}, files)
        failures.check(case, "the folder recorded", installed_folder if installed else "<missing>",
                       shown(r"HKLM\Software\Tollvey", "InstallFolder"))
        for path, code in codes.items():
            entry = (name, versions[path], "The Tollvey developers", "https://tollvey.example/", "0x1", "0x1")
            key = f"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{code}"
            failures.check(case, f"uninstall entry of {versions[path]}", entry if path == installed else ("<missing>",) * 6,
                           tuple(shown(key, value) for value in ("DisplayName", "DisplayVersion", "Publisher",
                                                                  "HelpLink", "NoModify", "NoRepair")))

    # Wine hands Linux an exit status's low 8 bits: 1603 as 67.
    for path in versions:
        wine("msiexec", "/x", "Z:" + path, "/qn")
    for case, action, path, status, installed in (
            ("installed", "/i", package, 0, package),
            ("upgraded", "/i", higher, 0, higher),
            ("the lower version refused over the higher", "/i", package, 1603 % 256, higher),
            ("removed", "/x", higher, 0, None)):
        case = f"{architecture}: {case}"
        failures.check(case, f"msiexec {action} exit status", status, wine("msiexec", action, "Z:" + path, "/qn").returncode)
        state(case, installed)
    failures.check(f"{architecture}: removed", "HKLM\\Software\\Tollvey left", 1,
                   wine("reg", "query", r"HKLM\Software\Tollvey", view).returncode)


def main():
    mode, make_release, pair32, pair64, source, work = sys.argv[1:7]
    builds = {"i686": pair32, "x86_64": pair64}
    pairs = {}
    for processor, build in builds.items():
        with open(os.path.join(build, "release-pair.txt"), encoding="utf-8") as f:
            fields = [line.rstrip("\n").split("\t") for line in f]
        version = next(field[1] for field in fields if field[0] == "version")
        pairs[processor] = {field[1]: sha256_of(field[2]) for field in fields if field[0] == "program"}
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
