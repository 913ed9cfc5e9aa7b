#!/usr/bin/env python3
"""Runs one applet test case: assemble, pack, play headless, compare the output.

A case is a folder (see README.md). The applet is built from source at test time with the
toolkit and run by the real player; its debug output must equal expected.txt.
"""
import argparse
import difflib
import os
import shlex
import shutil
import subprocess
import sys


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def run(command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        fail("failed: %s\n%s%s" % (shlex.join(command), result.stdout, result.stderr))
    return result


def read(path):
    with open(path, encoding="latin-1", newline="") as f:
        return f.read()


def compare(what, expected, actual):
    if expected == actual:
        return True
    diff = difflib.unified_diff(expected.splitlines(keepends=True),
                                actual.splitlines(keepends=True),
                                "expected " + what, "actual " + what)
    sys.stderr.write("".join(diff))
    if not actual.endswith("\n"):
        sys.stderr.write("\n(actual output has no final line break)\n")
    return False


def produced_files(case, work, prefix):
    """(case file, file the run wrote or None) for every case file named prefix + name."""
    for entry in sorted(os.listdir(case)):
        if entry.startswith(prefix):
            produced = os.path.join(work, entry[len(prefix):])
            if not os.path.exists(produced):
                print("missing output file " + produced, file=sys.stderr)
                produced = None
            yield os.path.join(case, entry), produced


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", required=True, help="the case folder")
    parser.add_argument("--player", required=True)
    parser.add_argument("--vxasm", required=True)
    parser.add_argument("--vxpack", required=True)
    parser.add_argument("--work", required=True, help="scratch folder for this case")
    options = parser.parse_args()

    case = os.path.abspath(options.case)
    name = os.path.basename(case)
    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    chunk = os.path.join(work, "main.vxb")
    run([options.vxasm, os.path.join(case, "main.vxs"), chunk])

    pack_options = []
    if os.path.exists(os.path.join(case, "pack")):
        pack_options = shlex.split(read(os.path.join(case, "pack")))
    appended = "--append" in pack_options
    pack_options = [o for o in pack_options if o != "--append"]
    applet_name = name if appended else name + ".vxa"
    if os.path.exists(os.path.join(case, "applet-name")):
        applet_name = read(os.path.join(case, "applet-name")).strip()
    applet = os.path.join(work, applet_name)
    command = [options.vxpack, "-c", chunk, "-o", applet] + pack_options
    if os.path.exists(os.path.join(case, "manifest")):
        command += ["-m", os.path.join(case, "manifest")]
    if appended:
        command += ["--append-to", options.player]
    run(command)

    settings = os.path.join(case, "settings.ini")
    if os.path.exists(settings):
        shutil.copy(settings, os.path.splitext(applet)[0] + ".ini")

    debug_file = os.path.join(work, "debug.txt")
    arguments = ["-DEBUGDEVICE", "@DEBUG@", "@APPLET@"]
    if os.path.exists(os.path.join(case, "args")):
        arguments = shlex.split(read(os.path.join(case, "args")))
    uses_debug_file = any("@DEBUG@" in a for a in arguments)
    replacements = {"@DEBUG@": "::file" + debug_file, "@APPLET@": os.path.basename(applet),
                    "@WORK@": work}
    for key, value in replacements.items():
        arguments = [a.replace(key, value) for a in arguments]

    program = applet if appended else os.path.abspath(options.player)
    # Temporary files (the inflated applet, for one) go to a folder of the case, which must
    # be empty again when the player has ended.
    temporary = os.path.join(work, "tmp")
    os.makedirs(temporary)
    environment = dict(os.environ, TEMBROVIA_HEADLESS="1",
                       TEMBROVIA_CLOCK_START="1700000000", TMPDIR=temporary)
    try:
        result = subprocess.run([program] + arguments, cwd=work, env=environment,
                                capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        fail("the player did not end within 120 seconds")
    if result.returncode != 0:
        fail("exit status %d (the player always ends with 0)\n%s" %
             (result.returncode, result.stderr.decode("latin-1")))
    # The requester writes to standard error while there are no windows: cases compare it
    # with expected-stderr.txt.
    with open(os.path.join(work, "stderr.txt"), "wb") as f:
        f.write(result.stderr)

    left = os.listdir(temporary)
    if left:
        fail("temporary files left behind: " + ", ".join(sorted(left)))

    if uses_debug_file:
        actual = read(debug_file) if os.path.exists(debug_file) else ""
        what = "debug output"
    else:
        actual = result.stdout.decode("latin-1")
        what = "standard output"
    expected = read(os.path.join(case, "expected.txt")).replace("@WORK@", work)
    ok = compare(what, expected, actual)

    # expected-<file>: a file the run must have written into the work folder.
    for wanted, produced in produced_files(case, work, "expected-"):
        if produced is None:
            ok = False
            continue
        ok = compare(produced, read(wanted), read(produced)) and ok

    # lines-<file>: lines that must appear in that order (not necessarily adjacent) in a file
    # the run wrote, for outputs that grow with the player, such as the command list.
    for wanted, produced in produced_files(case, work, "lines-"):
        if produced is None:
            ok = False
            continue
        produced_lines = iter(read(produced).splitlines())
        for line in read(wanted).splitlines():
            if not any(other == line for other in produced_lines):
                print("%s: line %r missing or out of order" % (produced, line), file=sys.stderr)
                ok = False
                break

    if not ok:
        sys.stderr.write("player's standard error:\n" + result.stderr.decode("latin-1"))
        sys.exit(1)


if __name__ == "__main__":
    main()
