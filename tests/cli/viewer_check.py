#!/usr/bin/env python3
"""Checks `view` and `extract` of tagwarden-cli against a separate reading of the
tag format: it writes its own archives (odd ids, data past the end of the file,
empty tags, a plug-in, a trailing cut header), works out what the viewer lines and
the plug-ins must be, and compares the tool's output byte for byte.

Usage: viewer_check.py PATH-TO-tagwarden-cli
"""
import os
import struct
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
failures = []


def header(name, type_, id_, start, length, number=0, reserved1=b"\x11" * 7, reserved2=b"\x22" * 4, sig=b"vorn"):
    return (name.ljust(32, b"\0")[:32] + type_.ljust(4, b"\0")[:4] + id_.ljust(4, b"\0")[:4] + reserved1 +
            bytes([number]) + struct.pack(">II", start, length) + reserved2 + sig)


def archive(tags, data_area, tail=b""):
    """tags: (name, type, id, start, length) with starts counted from the file's start."""
    body = b"Made by viewer_check".ljust(40, b"\0") + struct.pack(">I", 64 + len(data_area)) + b"\0" * 20
    body += data_area
    for t in tags:
        body += header(*t)
    return body + tail


# --- the reference reading -------------------------------------------------

def entries_of(data):
    if len(data) >= 64 and data[60:64] == b"vorn":
        return [(0, data[:64])]
    if len(data) < 44:
        return None
    offset = struct.unpack(">I", data[40:44])[0]
    if not 64 <= offset <= len(data) - 64:
        return None
    count = (len(data) - offset) // 64
    return [(offset + 64 * i, data[offset + 64 * i: offset + 64 * i + 64]) for i in range(count)]


def start_and_length(h):
    return struct.unpack(">II", h[48:56])


def expected_view(data, h, ascii_layout):
    start, length = start_and_length(h)
    loaded = data[start:start + min(length, 2048)] if start < len(data) else b""
    per_line = 20 if ascii_layout else 32
    out = b""
    for k in range(0, len(loaded), per_line):
        chunk = loaded[k:k + per_line]
        first, second = chunk[:per_line // 2], chunk[per_line // 2:]
        line = b"%010d: " % (start + k)
        line += b"".join(b"%02X " % b for b in first) + b"  " + b"".join(b"%02X " % b for b in second)
        if ascii_layout:
            if len(line) < 70:
                line += b"\t" * ((70 - len(line)) // 6)
            line += b"   " + bytes(b if 0x20 <= b <= 0x7E else 0x2E for b in chunk)
        out += line + b"\n"
    return out


def expected_view_run(data, h, ascii_layout):
    """Exit code, lines and stderr of `view`: a tag cut short by the end of the file is warned about."""
    start, length = start_and_length(h)
    wanted = min(length, 2048)
    got = max(0, min(wanted, len(data) - start))
    if got == wanted:
        return (0, expected_view(data, h, ascii_layout), b"")
    warning = "WARNING - only %d of %d bytes could be read: the file ends before the tag's data does\n" % (got, wanted)
    return (1, expected_view(data, h, ascii_layout), warning.encode())


def expected_plugin(data, position, h):
    start, length = start_and_length(h)
    if length and start + length > len(data):
        return None
    return h[:48] + b"\0\0\0\x40" + h[52:64] + data[start:start + length]


def safe_name(field):
    field = field.rstrip(b"\0")
    name = bytes(0x5F if b < 0x20 or b == 0x7F or b in b"/\\" else b for b in field)
    if name in (b"", b".", b".."):
        name = b"_" * max(len(name), 1)
    return name


def key(code):
    return code.split(b"\0")[0]


def printable(text):
    out = ""
    for b in text.split(b"\0")[0]:
        out += "\\\\" if b == 0x5C else chr(b) if 0x20 <= b <= 0x7E else "\\x%02X" % b
    return out


# --- running the tool -------------------------------------------------------

def run(*args):
    result = subprocess.run([CLI] + [os.fsdecode(a) if isinstance(a, bytes) else a for a in args],
                            capture_output=True)
    return result.returncode, result.stdout, result.stderr


def expect(what, actual, wanted):
    if actual != wanted:
        failures.append("%s:\n  expected %r\n  actual   %r" % (what, wanted, actual))


def contents(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as error:
        return error.strerror


def check_file(folder, filename, data):
    path = os.path.join(folder, filename)
    entries = entries_of(data)
    with open(path, "wb") as f:
        f.write(data)
    if entries is None:
        expect(filename + " view without directory", run("view", path, "0"),
               (1, b"", b"ERROR - No Directory Found\n"))
        return
    for index, (position, h) in enumerate(entries):
        for ascii_layout in (False, True):
            args = ["view", path, str(index)] + (["--ascii"] if ascii_layout else [])
            expect("%s %s" % (filename, " ".join(args[2:])), run(*args), expected_view_run(data, h, ascii_layout))
        target = os.path.join(folder, "%s.%d.plugin" % (filename, index))
        wanted = expected_plugin(data, position, h)
        code, out, err = run("extract", path, str(index), "-o", target)
        if wanted is None:
            message = 'The file "%s" ended before all expected bytes were read.\n' % path
            expect("%s extract %d" % (filename, index), (code, out, err),
                   (1, b"", (message + "ERROR PlugIn NOT created\n").encode()))
            expect("%s extract %d leaves nothing" % (filename, index), os.path.exists(target), False)
        else:
            expect("%s extract %d" % (filename, index), (code, out, err), (0, b"PlugIn created\n", b""))
            expect("%s plug-in %d" % (filename, index), contents(target), wanted)
    expect(filename + " index past the end", run("view", path, str(len(entries)))[0], 1)


def check_group(folder, filename, data, type_):
    path = os.path.join(folder, filename)
    with open(path, "wb") as f:
        f.write(data)
    out_dir = os.path.join(folder, filename + ".all")
    members, seen = [], set()
    for position, h in entries_of(data):
        if key(h[32:36]) == type_ and key(h[36:40]) not in seen:
            seen.add(key(h[36:40]))
            members.append((position, h))
    wanted_out, wanted_err, files = b"", b"", {}
    for position, h in members:
        target = os.path.join(out_dir, os.fsdecode(safe_name(h[36:40])))
        label = printable(os.fsencode(target)).encode()
        plugin = expected_plugin(data, position, h)
        if target in files or plugin is None:
            reason = ("ERROR - Plugin Already Exists" if target in files else
                      'The file "%s" ended before all expected bytes were read.' % path)
            wanted_err += label + b": " + reason.encode() + b"\n" + label + b": ERROR PlugIn NOT created\n"
            continue
        files[target] = plugin
        wanted_out += label + b": PlugIn created\n"
    expect(filename + " extract --all", run("extract", path, "--type", type_, "--all", "-d", out_dir),
           (1 if wanted_err else 0, wanted_out, wanted_err))
    for target, plugin in files.items():
        expect("%s --all %s" % (filename, target), contents(target), plugin)
    expect(filename + " --all writes nothing else", sorted(os.listdir(out_dir)),
           sorted(os.path.basename(t) for t in files))


def main():
    data_area = bytes((i * 37 + i // 200) & 0xFF for i in range(6000))
    printable_area = bytes(range(0x10, 0x90)) * 4
    with tempfile.TemporaryDirectory() as folder:
        area = data_area + printable_area
        tags = [
            (b"Big unit", b"mons", b"abcd", 64, 5000),
            (b"Exactly 32 bytes of name here!!!", b"stli", b"st\0\0", 64 + 6000, 512),
            (b"Empty", b"mons", b"empt", 64 + 100, 0),
            (b"Past the end", b"mons", b"late", 64 + len(area) - 10, 40),
            (b"Beyond", b"core", b"away", 0xFFFFFF00, 16),
            (b"Nothing anywhere", b"obje", b"zero", 0xFFFFFFF0, 0),
            (b"Sneaky", b"mons", b"../x", 64 + 33, 33),
            (b"Dots", b"mons", b"..", 64 + 7, 20),
            (b"Twin", b"mons", b"..\0z", 64 + 9, 21),
            (b"Slash", b"mons", b"a/b\\", 64 + 11, 19),
            (b"Again", b"mons", b"abcd", 64 + 5, 1),
            (b"High", b"mons", b"\xe9t\x01\x7f", 64 + 3, 17),
        ]
        big = archive(tags, area, tail=b"cut header")
        check_file(folder, "one.gor", big)
        check_group(folder, "one.gor", big, b"mons")

        plugin = header(b"Plug", b"stli", b"plug", 64, 45) + printable_area[:45]
        check_file(folder, "plug", plugin)
        check_file(folder, "tiny.gor", b"\0" * 63)
        check_file(folder, "bad-offset.gor", b"\0" * 40 + struct.pack(">I", 200) + b"\0" * 100)

        # The default target sits beside the archive under local/TYPE/ID.
        os.makedirs(os.path.join(folder, "mylocal", "mons"))
        mine = os.path.join(folder, "mytags.gor")
        with open(mine, "wb") as f:
            f.write(big)
        expect("default name", run("extract", mine, "mons:abcd"), (0, b"PlugIn created\n", b""))
        expect("default plug-in", contents(os.path.join(folder, "mylocal", "mons", "abcd")),
               expected_plugin(big, 0, entries_of(big)[0][1]))

    if failures:
        print("\n".join(failures))
        print("%d mismatches" % len(failures))
        return 1
    print("view and extract agree with the reference reading")
    return 0


if __name__ == "__main__":
    sys.exit(main())
