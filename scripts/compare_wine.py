#!/usr/bin/env python3
"""Runs the same commands through the Linux tagwarden-cli and the Windows one
under Wine, each in a folder of its own with the same relative paths, and
checks that standard output, exit codes and the files written are
byte-identical. Then checks sharing across programs under Wine: a plug-in held
open with the unit editor's share mode by one process is refused to `mons set`
in another, with the sharing message.

Usage: compare_wine.py LINUX_CLI WINDOWS_CLI_EXE SHARE_HOLDER_EXE
(Wine's environment, WINEPREFIX and a running wineserver, is the caller's.)
"""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

TIMEOUT = 60  # seconds for any one run: a hung Wine never hangs CI

# (arguments, files the command writes or changes, relative to its folder).
# make-sample comes first: the rest work on what it wrote. The extract of a
# group names the plug-ins it made, with the system's separator: its output is
# compared with "\\" read as "/".
COMMANDS = [
    (["make-sample", "."], ["tags.gor", "local"]),
    (["list", "tags.gor"], []),
    (["list", "tags.gor", "--type", "mons"], []),
    (["list", "tags.gor", "--json"], []),
    (["dump-map", "tags.gor"], []),
    (["dump-map", "tags.gor", "--json"], []),
    (["header", "tags.gor", "0", "--json"], []),
    (["view", "tags.gor", "1", "--ascii"], []),
    (["extract", "tags.gor", "0", "-o", "first"], ["first"]),
    (["extract", "tags.gor", "--type", "mons", "--all", "-d", "out/mons"], ["out"]),
    # A folder named outside any code page: made under that very name.
    (["extract", "tags.gor", "--type", "mons", "--all", "-d", "Einheiten-\u00e9\u03a9/mons"], ["Einheiten-\u00e9\u03a9"]),
    (["mons", "show", "local/mons/msaa"], []),
    (["mons", "show", "local/mons/msaa", "--json"], []),
    (["mons", "set", "local/mons/msaa", "local/mons/msab", "--set", "health=120", "--set", "terrain.deep=yes",
      "--set", "description=Wine-made"], ["local"]),
    (["mons", "set", "local/mons/msaa", "--set", "health=120"], ["local"]),  # unchanged: not written
    (["mons", "set", "local/mons/msaa", "--set", "health=0"], ["local"]),  # out of range: refused
    (["stli", "show", "local/stli/stab"], []),
    (["mesh", "show", "local/mesh/mpaa"], []),
]


def run(command, folder):
    return subprocess.run(command, cwd=folder, capture_output=True, timeout=TIMEOUT)


def same_tree(left, right):
    """Names and bytes alike under both paths (a file or a folder)."""
    if os.path.isfile(left) or os.path.isfile(right):
        return os.path.isfile(left) and os.path.isfile(right) and filecmp.cmp(left, right, shallow=False)
    if not (os.path.isdir(left) and os.path.isdir(right)):
        return False
    names = sorted(os.listdir(left))
    return names == sorted(os.listdir(right)) and all(
        same_tree(os.path.join(left, n), os.path.join(right, n)) for n in names)


def compare(linux_cli, windows_cli, top):
    linux_dir = os.path.join(top, "linux")
    wine_dir = os.path.join(top, "wine")
    os.makedirs(linux_dir)
    os.makedirs(wine_dir)
    failures = 0
    for arguments, written in COMMANDS:
        on_linux = run([linux_cli] + arguments, linux_dir)
        under_wine = run(["wine", windows_cli] + arguments, wine_dir)
        problems = []
        if on_linux.returncode != under_wine.returncode:
            problems.append(f"exit {on_linux.returncode} on Linux, {under_wine.returncode} under Wine "
                            f"({under_wine.stderr.decode(errors='replace').strip()})")
        # Both sides alike, as an escaped byte ("\\xC3") holds a backslash too.
        def separators(out):
            return out.replace(b"\\", b"/") if "--all" in arguments else out

        if separators(on_linux.stdout) != separators(under_wine.stdout):
            problems.append("standard output differs")
        problems += [f"{name} differs" for name in written
                     if not same_tree(os.path.join(linux_dir, name), os.path.join(wine_dir, name))]
        label = " ".join(arguments)
        print(f"{'same' if not problems else 'DIFFERENT'}: {label}"
              f" ({len(on_linux.stdout)} bytes out, exit {on_linux.returncode})")
        for problem in problems:
            print(f"    {problem}")
        failures += bool(problems)
    return failures


def sharing_check(windows_cli, holder, top):
    folder = os.path.join(top, "wine")
    plug_in = "local/mons/msac"
    before = open(os.path.join(folder, plug_in), "rb").read()
    # The unit editor opens its plug-in to read and write, letting others only read.
    held = subprocess.Popen(["wine", holder, plug_in, "readwrite:denywrite"], cwd=folder,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    try:
        if held.stdout.read(1) != b"R":
            print("DIFFERENT: the holder could not open the plug-in")
            return 1
        refused = run(["wine", windows_cli, "mons", "set", plug_in, "--set", "health=9"], folder)
    finally:
        held.stdin.close()
        held.wait(timeout=TIMEOUT)
    expected = b'The file "local/mons/msac" is in use and cannot be shared.'
    after = open(os.path.join(folder, plug_in), "rb").read()
    ok = refused.returncode == 1 and expected in refused.stderr and after == before
    print(f"{'same' if ok else 'DIFFERENT'}: mons set on a plug-in the unit editor's share mode holds in another "
          f"process: exit {refused.returncode}, file unchanged: {after == before}, "
          f"{refused.stderr.decode(errors='replace').strip()!r}")
    return 0 if ok else 1


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    linux_cli, windows_cli, holder = (os.path.abspath(p) for p in sys.argv[1:])
    top = tempfile.mkdtemp(prefix="tagwarden-wine-")
    try:
        failures = compare(linux_cli, windows_cli, top) + sharing_check(windows_cli, holder, top)
    finally:
        shutil.rmtree(top, ignore_errors=True)
    print(f"Linux and Wine: {len(COMMANDS) + 1 - failures} of {len(COMMANDS) + 1} checks alike")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
