#!/usr/bin/env python3
"""Signs a release the way `make package SIGN_PKCS12=... SIGN_PASSWORD_FILE=...` does, with a throwaway
code-signing certificate, and checks the result as an administrator's tools would.

    signing_test.py MAKE_RELEASE PAIR32_BUILD PAIR64_BUILD SOURCE_DIR WORK_DIR

Every program of both pairs must carry a SHA-256 Authenticode signature that osslsigncode verifies
against that certificate and not against another one; removing it must give back the unsigned
build's bytes; SHA256SUMS must be of the signed programs and the pages. Both Windows Installer
packages must be signed alike and hold the signed programs of their pair that they install, and the
SHA256SUMS beside them be of the signed files. A time stamp comes from a time-stamp server on the
loopback address; an unreachable one, a wrong password or a missing password file must stop the
archive rather than let it out unsigned, and so must a password file of more than one line. A
signature without a time stamp must carry the commit's time. The password must appear on no command
line and in no output. A signed program of the 64-bit pair then runs under Wine (WINEPREFIX from the
test environment), from the unpacked archive in a folder with blanks in its path.
Prints one line per failed check and a closing count; exits 1 if any check failed.
"""
import calendar
import hashlib
import http.server
import importlib.util
import os
import posixpath
import secrets
import shutil
import stat
import subprocess
import sys
import threading
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checks import Failures  # noqa: E402

RFC3161_TIMESTAMP_OID = "1.3.6.1.4.1.311.3.3.1"
SIGNING_TIME_OID = "1.2.840.113549.1.9.5"
# A bound on a step that hangs, not a goal: the longest, a signed release, takes seconds.
TIMEOUT = 120


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=TIMEOUT, check=False, **kwargs)


def must(command, **kwargs):
    result = run(command, **kwargs)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")
    return result


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def private_file(path, text):
    with open(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), "w") as f:
        f.write(text)


# --- keys: a code-signing certificate, somebody else's, and a time-stamp authority's ---

def certificate(keys, name, subject, usage, password_file=None):
    key, cert = os.path.join(keys, name + ".key"), os.path.join(keys, name + ".pem")
    must(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
          "-days", "2", "-subj", subject, "-addext", f"extendedKeyUsage=critical,{usage}",
          "-addext", "keyUsage=critical,digitalSignature"])
    if password_file:
        must(["openssl", "pkcs12", "-export", "-in", cert, "-inkey", key, "-out", os.path.join(keys, name + ".p12"),
              "-passout", "file:" + password_file])
    return cert


# --- a time-stamp server on the loopback address, answering with openssl ts ---

class TimeStampServer:
    def __init__(self, keys):
        self.requests = 0
        config = os.path.join(keys, "tsa.cnf")
        with open(config, "w") as f:
            f.write("[ tsa ]\ndefault_tsa = test_tsa\n[ test_tsa ]\n"
                    f"serial = {os.path.join(keys, 'tsa.serial')}\nsigner_digest = sha256\n"
                    "default_policy = 1.3.6.1.4.1.99999.1\ndigests = sha256, sha384, sha512, sha1\n"
                    "accuracy = secs:1\ness_cert_id_alg = sha256\n")
        with open(os.path.join(keys, "tsa.serial"), "w") as f:
            f.write("01\n")
        reply = ["openssl", "ts", "-reply", "-config", config, "-signer", os.path.join(keys, "tsa.pem"),
                 "-inkey", os.path.join(keys, "tsa.key")]
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
                answer = subprocess.run(reply + ["-queryfile", "/dev/stdin", "-out", "/dev/stdout"], input=query,
                                        capture_output=True, timeout=TIMEOUT, check=False)
                server.requests += 1
                self.send_response(200 if answer.returncode == 0 else 500)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(answer.stdout)))
                self.end_headers()
                self.wfile.write(answer.stdout)

            def log_message(self, *args):
                pass

        self.httpd = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def signing_time(attributes):
    """The signing time that `openssl pkcs7 -print` shows, in seconds since 1970; None without one."""
    lines = attributes.splitlines()
    for at, line in enumerate(lines):
        if SIGNING_TIME_OID in line:
            for following in lines[at + 1:at + 4]:
                kind, _, text = following.strip().partition(":")
                if kind in ("UTCTIME", "GENERALIZEDTIME"):
                    return calendar.timegm(time.strptime(text, "%b %d %H:%M:%S %Y GMT"))
    return None


def commit_time(source):
    value = os.environ.get("SOURCE_DATE_EPOCH")
    return int(value) if value else int(must(["git", "-C", source, "log", "-1", "--format=%ct"]).stdout)


def closed_port_url():
    with http.server.HTTPServer(("127.0.0.1", 0), http.server.BaseHTTPRequestHandler) as probe:
        port = probe.server_address[1]
    return f"http://127.0.0.1:{port}/"


# --- osslsigncode seen through a wrapper that records every command line it is given ---

def recording_osslsigncode(folder):
    real = shutil.which("osslsigncode")
    if real is None:
        raise RuntimeError("osslsigncode is not installed")
    os.makedirs(folder, exist_ok=True)
    log = os.path.join(folder, "command-lines.log")
    wrapper = os.path.join(folder, "osslsigncode")
    with open(wrapper, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s\\n" "$*" >>"{log}"\nexec "{real}" "$@"\n')
    os.chmod(wrapper, os.stat(wrapper).st_mode | stat.S_IXUSR)
    return real, log


# --- cases ---

def release_contents(make_release_script, pair32, pair64, source):
    """The archive's name, its programs by name in the archive, as make-release.py lists them, with
    their unsigned bytes, and each package's name with its pair's folder and the programs it holds."""
    sys.path.insert(0, os.path.dirname(os.path.abspath(make_release_script)))
    found = importlib.util.spec_from_file_location("make_release", make_release_script)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    version, entries = module.release_entries(pair32, pair64, source)
    name = module.release_name(version)
    installer = module.windows_installer
    packaged = installer.packaged_programs(os.path.join(source, "installer", "Tollvey.wxs"))
    packages = {installer.package_name(version, installer.ARCHITECTURES[processor]): (folder, packaged)
                for processor, folder in module.PAIRS}
    programs = {}
    for kind, archive_name, path in entries:
        if kind == "program":
            with open(path, "rb") as f:
                programs[archive_name] = f.read()
    return name, programs, packages


def make_release(context, case, env_changes, output):
    env = {k: v for k, v in os.environ.items() if not k.startswith("SIGN_")}
    env.update(env_changes)
    env["PATH"] = context["wrapper_dir"] + os.pathsep + env["PATH"]
    shutil.rmtree(output, ignore_errors=True)
    result = run([sys.executable, context["make_release"], "--pair32", context["pair32"], "--pair64",
                  context["pair64"], "--source", context["source"], "--output", output], env=env)
    with open(os.path.join(context["work"], "make-release.log"), "a") as log:
        log.write(f"--- {case}\n{result.stdout}{result.stderr}")
    return result


def signature_of(context, failures, case, name, signed_path, timestamped):
    """The checks of one signed file, a program or a package."""
    osslsigncode = context["osslsigncode"]
    verified = run([osslsigncode, "verify", "-in", signed_path, "-CAfile", context["cert"]])
    failures.check(case, f"{name} verifies against the signing certificate", 0, verified.returncode)
    failures.check(case, f"{name} signature digest", True, "SHA256" in verified.stdout.upper())
    stranger = run([osslsigncode, "verify", "-in", signed_path, "-CAfile", context["other_cert"]])
    failures.check(case, f"{name} fails against another certificate", True, stranger.returncode != 0)

    pem = signed_path + ".p7.pem"
    must([osslsigncode, "extract-signature", "-pem", "-in", signed_path, "-out", pem])
    attributes = must(["openssl", "pkcs7", "-in", pem, "-print"]).stdout
    failures.check(case, f"{name} carries an RFC 3161 time stamp", timestamped, RFC3161_TIMESTAMP_OID in attributes)
    if not timestamped:
        # Two signings in one second would give the same release even without a fixed time.
        failures.check(case, f"{name} signing time, the commit's", context["epoch"], signing_time(attributes))


def package_checks(context, failures, case, output, archive, timestamped):
    """The SHA256SUMS beside the packages of the signed files, and both packages signed, each holding
    the signed programs of its pair that it installs, as the archive holds them."""
    released = sorted(name for name in os.listdir(output) if name != "SHA256SUMS")
    failures.check(case, "the SHA256SUMS beside them is of the archive and the signed packages",
                   "".join(f"{sha256(open(os.path.join(output, name), 'rb').read())}  {name}\n" for name in released),
                   open(os.path.join(output, "SHA256SUMS")).read())
    for package, (folder, packaged) in context["packages"].items():
        path = os.path.join(output, package)
        signature_of(context, failures, case, package, path, timestamped)
        extracted = os.path.join(context["work"], "scratch", case.replace(" ", "-"), package)
        must(["msiextract", "-C", extracted, path])
        held = {name: sha256(open(os.path.join(where, name), "rb").read())
                for where, _, names in os.walk(extracted) for name in names}
        failures.check(case, f"{package} holds its pair's signed programs", {
            posixpath.basename(p): sha256(archive.read(context["name"] + "/" + p))
            for p in context["unsigned"] if posixpath.dirname(p) == folder and posixpath.basename(p) in packaged}, held)


def signature_checks(context, failures, case, archive_path, timestamped):
    osslsigncode = context["osslsigncode"]
    archive = zipfile.ZipFile(archive_path)
    top = context["name"] + "/"
    scratch = os.path.join(context["work"], "scratch", case.replace(" ", "-"))
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    for program in context["unsigned"]:
        signed = archive.read(top + program)
        signed_path = os.path.join(scratch, program.replace("/", "-"))
        with open(signed_path, "wb") as f:
            f.write(signed)
        failures.check(case, f"{program} differs from the unsigned build", True, signed != context["unsigned"][program])
        signature_of(context, failures, case, program, signed_path, timestamped)

        unsigned_path = signed_path + ".unsigned"
        removed = run([osslsigncode, "remove-signature", "-in", signed_path, "-out", unsigned_path])
        failures.check(case, f"{program}: remove-signature", 0, removed.returncode)
        if removed.returncode == 0:
            with open(unsigned_path, "rb") as f:
                failures.check(case, f"{program} without its signature is the unsigned build, byte for byte",
                               sha256(context["unsigned"][program]), sha256(f.read()))
    sums = archive.read(top + "SHA256SUMS").decode("ascii")
    # Of everything in the archive but the licence and itself: the signed programs and the pages.
    summed = sorted(n[len(top):] for n in archive.namelist()
                    if not n.endswith("/") and n[len(top):] not in ("LICENSE", "SHA256SUMS"))
    expected = "".join(f"{sha256(archive.read(top + p))}  {p}\n" for p in summed)
    failures.check(case, "SHA256SUMS is of the signed programs and the pages", expected, sums)


def case_signed(context, failures, case, timestamp_url):
    output = os.path.join(context["work"], case.replace(" ", "-"))
    requests_before = context["tsa"].requests
    env = {"SIGN_PKCS12": context["p12"], "SIGN_PASSWORD_FILE": context["password_file"]}
    if timestamp_url:
        env["SIGN_TIMESTAMP_URL"] = timestamp_url
    result = make_release(context, case, env, output)
    failures.check(case, "make-release exit status", 0, result.returncode)
    archive = os.path.join(output, context["name"] + ".zip")
    if result.returncode != 0 or not os.path.isfile(archive):
        print(result.stdout + result.stderr)
        return None
    failures.check(case, "make-release reports the archive as", "signed, time-stamped" if timestamp_url else "signed",
                   result.stdout.splitlines()[0].rsplit("(", 1)[-1].rstrip(")"))
    failures.check(case, "time-stamp requests, one per program and package",
                   len(context["unsigned"]) + len(context["packages"]) if timestamp_url else 0,
                   context["tsa"].requests - requests_before)
    signature_checks(context, failures, case, archive, bool(timestamp_url))
    package_checks(context, failures, case, output, zipfile.ZipFile(archive), bool(timestamp_url))
    return archive


def case_refused(context, failures, case, env, message):
    output = os.path.join(context["work"], case.replace(" ", "-"))
    result = make_release(context, case, env, output)
    failures.check(case, "make-release fails", True, result.returncode != 0)
    failures.check(case, "no archive is left behind", [], os.listdir(output) if os.path.isdir(output) else [])
    failures.check(case, f"the error says {message!r}", True, message in result.stderr)


def run_signed_program(context, failures, archive):
    case = "a signed program under Wine"
    target = os.path.join(context["work"], "unpacked signed", "in here")
    shutil.rmtree(target, ignore_errors=True)
    zipfile.ZipFile(archive).extractall(target)
    # Of the 64-bit pair, which runs on every host this test runs on. One shows that the loader takes
    # a signed program; that each is the tested build but for its signature, its removal shows.
    usage = run(["wine", os.path.join(target, context["name"], "x64", "TollveyCmd.exe"), "-?"])
    failures.check(case, "x64/TollveyCmd.exe -? exit status", 0, usage.returncode)
    failures.check(case, "x64/TollveyCmd.exe -? prints its usage", True, "Usage:" in usage.stdout)


def password_checks(context, failures):
    case = "the password stays in its file"
    password = context["password"]
    with open(context["command_lines"]) as f:
        command_lines = f.read()
    failures.check(case, "osslsigncode was run", True, "sign" in command_lines)
    failures.check(case, "osslsigncode read the password from its file", True,
                   f"-readpass {context['password_file']}" in command_lines)
    failures.check(case, "the password on an osslsigncode command line", False, password in command_lines)
    with open(os.path.join(context["work"], "make-release.log")) as f:
        failures.check(case, "the password in make-release's output", False, password in f.read())


def main():
    make_release_script, pair32, pair64, source, work = sys.argv[1:6]
    name, unsigned, packages = release_contents(make_release_script, pair32, pair64, source)
    shutil.rmtree(work, ignore_errors=True)
    keys = os.path.join(work, "keys")
    os.makedirs(keys)
    password = secrets.token_hex(16)
    password_file = os.path.join(keys, "password")
    private_file(password_file, password + "\n")
    wrong_password_file = os.path.join(keys, "wrong-password")
    private_file(wrong_password_file, secrets.token_hex(16) + "\n")
    two_line_file = os.path.join(keys, "two-lines")
    private_file(two_line_file, password + "\nsecond line\n")

    real, command_lines = recording_osslsigncode(os.path.join(work, "wrapper"))
    context = {
        "make_release": make_release_script, "pair32": pair32, "pair64": pair64, "name": name, "source": source,
        "work": work, "osslsigncode": real, "command_lines": command_lines,
        "wrapper_dir": os.path.join(work, "wrapper"), "password": password, "password_file": password_file,
        "cert": certificate(keys, "signing", "/CN=Tollvey test code signing", "codeSigning", password_file),
        "other_cert": certificate(keys, "other", "/CN=Somebody else", "codeSigning"),
        "p12": os.path.join(keys, "signing.p12"), "unsigned": unsigned, "packages": packages,
        "epoch": commit_time(source),
    }
    certificate(keys, "tsa", "/CN=Tollvey test time stamps", "timeStamping")
    context["tsa"] = TimeStampServer(keys)

    failures = Failures()
    try:
        signed = case_signed(context, failures, "signed", None)
        again = case_signed(context, failures, "signed again", None)
        if signed and again:
            for made in [os.path.basename(signed)] + sorted(packages):
                failures.check("signed again", f"the same {made}, byte for byte, without a time stamp",
                               sha256(open(os.path.join(os.path.dirname(signed), made), "rb").read()),
                               sha256(open(os.path.join(os.path.dirname(again), made), "rb").read()))
        case_signed(context, failures, "signed and time-stamped", context["tsa"].url)
        case_refused(context, failures, "time-stamp server unreachable",
                     {"SIGN_PKCS12": context["p12"], "SIGN_PASSWORD_FILE": password_file,
                      "SIGN_TIMESTAMP_URL": closed_port_url()}, "time-stamping")
        case_refused(context, failures, "wrong password",
                     {"SIGN_PKCS12": context["p12"], "SIGN_PASSWORD_FILE": wrong_password_file}, "signing")
        case_refused(context, failures, "no password file", {"SIGN_PKCS12": context["p12"]}, "SIGN_PASSWORD_FILE")
        case_refused(context, failures, "the password and a second line",
                     {"SIGN_PKCS12": context["p12"], "SIGN_PASSWORD_FILE": two_line_file}, "one line")
        password_checks(context, failures)
        if signed:
            run_signed_program(context, failures, signed)
    finally:
        context["tsa"].stop()
    return failures.report()


if __name__ == "__main__":
    sys.exit(main())
