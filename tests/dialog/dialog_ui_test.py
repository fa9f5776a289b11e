#!/usr/bin/env python3
"""The settings dialog as a user meets it: real windows under the test run's X display, driven from
outside with xdotool, read with the Win32 probe and checked against the registry through reg.exe.

    dialog_ui_test.py TOLLVEY_EXE PROBE_EXE KEEPER_EXE SCREENSHOT_DIR

Runs in the build's Wine prefix (WINEPREFIX, DISPLAY from the test environment), where the test
session has Wine decorate its windows and take the X input focus itself, as no window manager runs
on the display; the registry keeper puts its Winlogon and RunOnce keys back as they were, exactly,
at the end. Keeps a screenshot of the dialog, its caption drawn active, and one of the confirmation
as PNG files in SCREENSHOT_DIR (docs/dialog.png is the first). Prints one line per failed check and
a closing count; exits 1 if any check failed.
"""
import json
import os
import re
import select
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checks import Failures  # noqa: E402

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def constants(header, pattern):
    """The constants a header of the programs defines, by name."""
    with open(os.path.join(SOURCE, header), encoding="utf-8") as f:
        return dict(re.findall(pattern, f.read(), re.M))


KEYS = {name: value.replace("\\\\", "\\")
        for name, value in constants("settings/WinlogonKeys.h", r'^inline constexpr const char\* (\w+) = "(.*)";$').items()}
WINLOGON = "HKEY_LOCAL_MACHINE\\" + KEYS["winlogonPath"]
RUNONCE = "HKEY_LOCAL_MACHINE\\" + KEYS["runOncePath"]
EXIT_DONE = int(constants("resources/ExitStatus.h", r"^const unsigned (\w+) = (\d+);$")["exitDone"])
VALUES = tuple(KEYS[n] for n in ("autoAdminLogonValue", "userNameValue", "passwordValue", "domainValue"))
ENTRY = KEYS["reloadValueName"]
TIMEOUT = 30
SHOT_MARGIN = 10


# Control ids as dialog/Resource.h defines them; IDOK and IDCANCEL are Windows' own.
IDS = {name: int(value) for name, value in constants("dialog/Resource.h", r"^#define (\w+) (\d+)$").items()}
USER_NAME, PASSWORD, DOMAIN, RELOAD = (IDS[n] for n in ("IDC_USERNAME", "IDC_PASSWORD", "IDC_DOMAIN", "IDC_RELOAD"))
IDOK, IDCANCEL = 1, 2


def run(*command, timeout=TIMEOUT):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout, check=False)


def windows_path(unix_path):
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


# --- registry, through Wine's own reg.exe in the 64-bit view the programs write ---

def reg_escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def store(values, entry):
    """Sets the Winlogon values (None removes one) and the start-up entry (None removes it)."""
    lines = ["REGEDIT4", "", f"[{WINLOGON}]"]
    for name in VALUES:
        value = values.get(name)
        lines.append(f'"{name}"=-' if value is None else f'"{name}"="{reg_escape(value)}"')
    lines += ["", f"[{RUNONCE}]", f'"{ENTRY}"=-' if entry is None else f'"{ENTRY}"="{reg_escape(entry)}"', ""]
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False, encoding="ascii") as f:
        f.write("\r\n".join(lines))
    try:
        result = run("wine", "reg", "import", windows_path(f.name), "/reg:64")
        if result.returncode != 0:
            raise RuntimeError(f"reg import failed: {result.stdout}{result.stderr}")
    finally:
        os.unlink(f.name)


def query(key):
    """The key's REG_SZ values by name."""
    result = run("wine", "reg", "query", key, "/reg:64")
    values = {}
    for line in result.stdout.splitlines():
        match = re.match(r"^    (.+?)    (REG_\w+)    (.*)$", line.rstrip("\r"))
        if match:
            values[match.group(1)] = match.group(3)
    return values


def stored():
    winlogon = query(WINLOGON)
    state = {name: winlogon.get(name, "<missing>") for name in VALUES}
    state["Tollvey"] = query(RUNONCE).get(ENTRY, "<missing>")
    return state


# --- windows ---

def probe(probe_exe):
    try:
        return json.loads(run("wine", probe_exe).stdout)
    except (subprocess.TimeoutExpired, ValueError):
        return {"windows": []}


def wait_for(probe_exe, predicate, what, timeout=TIMEOUT):
    """The first probe report whose window list satisfies predicate; None after the timeout."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        report = probe(probe_exe)
        found = [w for w in report["windows"] if w["visible"] and predicate(w)]
        if found:
            return report, found[0]
        time.sleep(0.05)
    print(f"timed out waiting for {what}", flush=True)
    return None, None


def is_dialog(window):
    return any(c["id"] == USER_NAME for c in window["controls"])


def control(window, control_id):
    return next((c for c in window["controls"] if c["id"] == control_id), {})


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def key(*keys):
    run("xdotool", "key", "--delay", "50", *keys)


def type_text(text):
    run("xdotool", "type", "--delay", "30", text)


def click(point):
    run("xdotool", "mousemove", str(point[0]), str(point[1]), "click", "1")


def screenshot(path, rect):
    """The window's rectangle on the screen and a margin around it."""
    left, top = max(rect[0] - SHOT_MARGIN, 0), max(rect[1] - SHOT_MARGIN, 0)
    width, height = rect[2] + SHOT_MARGIN - left, rect[3] + SHOT_MARGIN - top
    run("import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage", "-strip", path)
    return left, top


def pixel(path, x, y):
    """The colour at x, y of a PNG file, as "R G B" like the registry's colour values."""
    return run("convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r+0.5)] %[fx:int(255*p{{{x},{y}}}.g+0.5)] "
               f"%[fx:int(255*p{{{x},{y}}}.b+0.5)]", "info:").stdout.strip()


def colour_setting(name):
    match = re.search(rf"^    {name}    REG_SZ    (.*)$", run("wine", "reg", "query", r"HKCU\Control Panel\Colors",
                                                          "/v", name).stdout, re.M)
    return match.group(1).strip() if match else None


def activate_from_elsewhere(probe_exe):
    """Moves the X input focus to the root window and, once Wine has let the dialog go, back to it, as
    a click elsewhere and on the dialog would. Wine draws a caption active only when the window became
    the foreground one after it was shown, which the first window of a program without a window
    manager never does."""
    root = run("xdotool", "search", "--maxdepth", "0", "--name", "").stdout.split()
    dialog = run("xdotool", "search", "--onlyvisible", "--name", "^Tollvey$").stdout.split()
    if root and dialog:
        run("xdotool", "windowfocus", "--sync", root[0])
        wait_for(probe_exe, lambda w: is_dialog(w) and not w["active"], "the dialog to be let go", timeout=10)
        run("xdotool", "windowfocus", "--sync", dialog[0])
        wait_for(probe_exe, lambda w: is_dialog(w) and w["active"], "the dialog to be active again", timeout=10)


class Program:
    """Tollvey.exe started with no arguments, its output kept in a log file."""

    def __init__(self, exe, log_path):
        self.log = open(log_path, "ab")
        self.process = subprocess.Popen(["wine", exe], stdout=self.log, stderr=self.log,
                                        stdin=subprocess.DEVNULL)

    def wait(self):
        try:
            return self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return "still running"
        finally:
            self.log.close()


# --- cases ---

def open_dialog(context, failures, case):
    """The running program, the probe report and the dialog; the dialog is None, and the program has
    ended, when it did not open."""
    program = Program(context["exe"], context["log"])
    # The first window of a run can take Wine a while.
    report, dialog = wait_for(context["probe"], lambda w: is_dialog(w) and w["focus"] != 0, "the dialog",
                              timeout=2 * TIMEOUT)
    if dialog is None:
        failures.check(case, "dialog opened", True, False)
        program.wait()
    return program, report, dialog


def wait_for_focus(context, control_id):
    """The dialog once the control has the focus; None when it does not get it."""
    _, dialog = wait_for(context["probe"], lambda w: is_dialog(w) and w["focus"] == control_id,
                         f"the focus on control {control_id}", timeout=10)
    return dialog


def case_opens_filled_then_escape(context, failures):
    case = "dialog opens filled, Escape"
    store({"AutoAdminLogon": "1", "DefaultUserName": "alice", "DefaultPassword": "s3cret",
           "DefaultDomainName": "OFFICE"}, "outdated entry")
    before = stored()
    program, report, dialog = open_dialog(context, failures, case)
    if dialog is None:
        return
    failures.check(case, "user name box", "alice", control(dialog, USER_NAME).get("text"))
    failures.check(case, "domain box", "OFFICE", control(dialog, DOMAIN).get("text"))
    failures.check(case, "password box masks its text", True, control(dialog, PASSWORD).get("passwordChar", 0) != 0)
    failures.check(case, "user name box does not mask", 0, control(dialog, USER_NAME).get("passwordChar"))
    failures.check(case, "check box checked when the entry exists", 1, control(dialog, RELOAD).get("check"))
    failures.check(case, "focus on opening", USER_NAME, dialog["focus"])

    area, rect = report["workArea"], dialog["rect"]
    width, height = rect[2] - rect[0], rect[3] - rect[1]
    failures.check(case, "centred horizontally in the work area",
                   True, abs(rect[0] - (area[0] + (area[2] - area[0] - width) // 2)) <= 1)
    failures.check(case, "centred vertically in the work area",
                   True, abs(rect[1] - (area[1] + (area[3] - area[1] - height) // 2)) <= 1)
    activate_from_elsewhere(context["probe"])
    time.sleep(0.5)
    shot = os.path.join(context["shots"], "dialog.png")
    left, top = screenshot(shot, rect)
    # Mid-way along the caption, level with the close box.
    caption = ((rect[0] + rect[2]) // 2 - left, dialog["closeBox"][1] - top)
    failures.check(case, "the screenshot's caption is drawn active", colour_setting("ActiveTitle"),
                   pixel(shot, *caption))

    for expected in (PASSWORD, DOMAIN, RELOAD, IDOK, IDCANCEL, USER_NAME):
        key("Tab")
        failures.check(case, f"Tab moves the focus to control {expected}", True,
                       wait_for_focus(context, expected) is not None)
    type_text("edited")
    key("Escape")
    failures.check(case, "exit status", EXIT_DONE, program.wait())
    failures.check(case, "registry after Escape", before, stored())


def case_type_and_enter_from_domain(context, failures):
    case = "typing, Enter from the domain box"
    store({"AutoAdminLogon": "0", "DefaultUserName": "old", "DefaultPassword": "oldpass",
           "DefaultDomainName": "OLDDOM"}, None)
    program, _, dialog = open_dialog(context, failures, case)
    if dialog is None:
        return
    failures.check(case, "check box unchecked without an entry", 0, control(dialog, RELOAD).get("check"))
    # The focused box has its text selected, so typing replaces it.
    type_text("bob smith")
    key("Tab")
    type_text('pa "ss')
    key("Tab")
    type_text("NEWDOM")
    key("Tab", "space", "shift+Tab")
    failures.check(case, "focus back in the domain box", True, wait_for_focus(context, DOMAIN) is not None)
    key("Return")

    _, box = wait_for(context["probe"], lambda w: not is_dialog(w), "the confirmation")
    if box is None:
        failures.check(case, "confirmation shown", True, False)
    else:
        texts = [c["text"] for c in box["controls"] if c["class"] == "Static"]
        buttons = [c["text"] for c in box["controls"] if c["class"] == "Button"]
        icons = [c for c in box["controls"] if c["class"] == "Static" and c["style"] & 0x1F == 3]
        failures.check(case, "confirmation text", True, "Tollvey values saved." in texts)
        failures.check(case, "confirmation buttons", ["OK"], buttons)
        failures.check(case, "confirmation icon", 1, len(icons))
        time.sleep(0.5)
        screenshot(os.path.join(context["shots"], "confirmation.png"), box["rect"])
        key("Return")
    failures.check(case, "exit status", EXIT_DONE, program.wait())

    state = stored()
    failures.check(case, "DefaultUserName", "bob smith", state["DefaultUserName"])
    failures.check(case, "DefaultPassword", 'pa "ss', state["DefaultPassword"])
    failures.check(case, "DefaultDomainName", "NEWDOM", state["DefaultDomainName"])
    failures.check(case, "AutoAdminLogon", "1", state["AutoAdminLogon"])
    path = windows_path(context["exe"])
    path = f'"{path}"' if " " in path else path
    failures.check(case, "start-up entry", f'{path} "-u=bob smith" "-p=pa \\"ss" -dNEWDOM', state["Tollvey"])


def case_empty_user_name(context, failures):
    case = "empty user name, Enter"
    store({"AutoAdminLogon": "1", "DefaultUserName": "alice", "DefaultPassword": "s3cret",
           "DefaultDomainName": "OFFICE"}, None)
    program, _, dialog = open_dialog(context, failures, case)
    if dialog is None:
        return
    key("BackSpace", "Return")
    _, box = wait_for(context["probe"], lambda w: not is_dialog(w), "the confirmation")
    failures.check(case, "confirmation shown", True,
                   box is not None and any(c["text"] == "Tollvey values saved." for c in box["controls"]))
    key("Return")
    failures.check(case, "exit status", EXIT_DONE, program.wait())
    state = stored()
    failures.check(case, "DefaultUserName", "", state["DefaultUserName"])
    failures.check(case, "AutoAdminLogon", "0", state["AutoAdminLogon"])
    failures.check(case, "DefaultPassword", "s3cret", state["DefaultPassword"])


def case_closed_without_saving(context, failures, how):
    case = f"edited, then {how}"
    store({"AutoAdminLogon": "1", "DefaultUserName": "alice", "DefaultPassword": "s3cret",
           "DefaultDomainName": "OFFICE"}, "outdated entry")
    before = stored()
    program, _, dialog = open_dialog(context, failures, case)
    if dialog is None:
        return
    type_text("mallory")
    if how == "the close box":
        failures.check(case, "the caption has a close box", True, dialog["closeBox"] != [0, 0])
        click(dialog["closeBox"])
    else:
        click(centre(control(dialog, IDCANCEL)["rect"]))
    failures.check(case, "exit status, no message box", EXIT_DONE, program.wait())
    failures.check(case, "registry", before, stored())


def main():
    exe, probe_exe, keeper_exe, shots = sys.argv[1:5]
    os.makedirs(shots, exist_ok=True)
    context = {"exe": exe, "probe": probe_exe, "shots": shots, "log": os.path.join(shots, "tollvey.log")}
    # It holds the keys until its standard input closes, then writes them back, types and all.
    keeper = subprocess.Popen(["wine", keeper_exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    said = select.select([keeper.stdout], [], [], TIMEOUT)[0]
    kept = keeper.stdout.readline().strip() if said else f"said nothing within {TIMEOUT} s"
    if kept != "kept":
        keeper.stdin.close()
        keeper.wait(timeout=TIMEOUT)
        print(f"the registry keeper: {kept}; nothing was run")
        return 1
    failures = Failures()
    try:
        case_opens_filled_then_escape(context, failures)
        case_type_and_enter_from_domain(context, failures)
        case_empty_user_name(context, failures)
        case_closed_without_saving(context, failures, "the close box")
        case_closed_without_saving(context, failures, "Cancel")
    finally:
        keeper.stdin.close()
        failures.check("the end", "registry keeper's exit status", 0, keeper.wait(timeout=TIMEOUT))
    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
