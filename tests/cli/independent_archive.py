#!/usr/bin/env python3
"""Tries tagwarden-cli's `list`, `dump-map` and `header` the way a new user would:
on archives written here, by code that shares nothing with the project's own
writer (odd names, NUL bytes inside types and ids, a cut last header, a single-tag
file, bytes of every value, random archives), with the expected output worked out
here from the documented formats, compared byte for byte.

Usage: independent_archive.py PATH-TO-tagwarden-cli
"""
import json
import os
import random
import struct
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
NO_DIRECTORY = b"ERROR - No Directory Found\n"
failures = []


# ---- the format, read independently -------------------------------------------

def cut(field):
    """A text field ends at its first NUL."""
    return field.split(b"\0", 1)[0]


def shown(field):
    """How the tool prints TYPE, ID, NAME and the signature."""
    out = b""
    for byte in cut(field):
        if byte == 0x5C:
            out += b"\\\\"
        elif 0x20 <= byte <= 0x7E:
            out += bytes([byte])
        else:
            out += b"\\x%02X" % byte
    return out


def headers_of(content):
    """The (file position, 64 bytes) of every entry, or None without a directory."""
    if len(content) >= 64 and content[60:64] == b"vorn":
        return [(0, content[:64])]
    if len(content) < 44:
        return None
    offset = struct.unpack(">I", content[40:44])[0]
    if offset < 64 or offset > len(content) - 64:
        return None
    count = (len(content) - offset) // 64
    return [(offset + 64 * i, content[offset + 64 * i:offset + 64 * (i + 1)]) for i in range(count)]


def groups_of(headers):
    """[(first type bytes, [(id bytes, index)])] in order of first appearance."""
    groups = []
    for index, (_, h) in enumerate(headers):
        type_, id_ = h[32:36], h[36:40]
        group = next((g for g in groups if cut(g[0]) == cut(type_)), None)
        if group is None:
            group = (type_, [])
            groups.append(group)
        if all(cut(member) != cut(id_) for member, _ in group[1]):
            group[1].append((id_, index))
    return groups


def find_group(groups, type_text):
    if len(cut(type_text)) > 4:
        return None
    return next((g for g in groups if cut(g[0]) == cut(type_text)), None)


def list_line(index, h):
    start, length = struct.unpack(">II", h[48:56])
    return b"%d\t%s\t%s\t%08X\t%08X\t%s\n" % (index, shown(h[32:36]), shown(h[36:40]), start, length, shown(h[0:32]))


def expected_list(headers, type_text=None):
    if type_text is None:
        return b"".join(list_line(i, h) for i, (_, h) in enumerate(headers))
    group = find_group(groups_of(headers), type_text)
    if group is None:
        return b""
    return b"".join(list_line(i, headers[i][1]) for _, i in group[1])


def group_text(position, group):
    type_, members = group
    text = b"\nKey: " + shown(type_) + b" pointer = %d Entries = %d\n\tObjects: " % (position, len(members))
    return text + b"".join(shown(id_) + b"-%d; " % index for id_, index in members)


def expected_dump(headers, type_text=None):
    groups = groups_of(headers)
    if type_text is None:
        return b"".join(group_text(p + 1, g) for p, g in enumerate(groups)) + b"\n"
    group = find_group(groups, type_text)
    return (group_text(groups.index(group) + 1, group) if group else b"") + b"\n"


def expected_header(h):
    hexed = lambda part: part.hex().upper().encode()
    return (b"Description: " + shown(h[0:32]) + b"\n" +
            b"Obj type: " + shown(h[32:36]) + b"\n" +
            b"Obj Name: " + shown(h[36:40]) + b"\n" +
            b"Reserved1: " + hexed(h[40:47]) + b"\n" +
            b"Obj Number: %d\n" % h[47] +
            b"Start Address: " + hexed(h[48:52]) + b"\n" +
            b"Length of Data: " + hexed(h[52:56]) + b"\n" +
            b"Reserved2: " + hexed(h[56:60]) + b"\n" +
            b"Vorn Tag: " + shown(h[60:64]) + b"\n" +
            b"Dump: " + b"".join(b"%02X " % byte for byte in h) + b"\n")


def latin1(field):
    """A text as --json carries it: the bytes up to the first NUL, each the character of its code."""
    return cut(field).decode("latin-1")


def list_json(index, h):
    start, length = struct.unpack(">II", h[48:56])
    return {"index": index, "type": latin1(h[32:36]), "id": latin1(h[36:40]), "start": start, "length": length,
            "name": latin1(h[0:32])}


def expected_list_json(headers, type_text=None):
    if type_text is None:
        return [list_json(i, h) for i, (_, h) in enumerate(headers)]
    group = find_group(groups_of(headers), type_text)
    return [list_json(i, headers[i][1]) for _, i in group[1]] if group else []


def expected_dump_json(headers, type_text=None):
    groups = groups_of(headers)
    chosen = groups if type_text is None else [g for g in [find_group(groups, type_text)] if g]
    return [{"type": latin1(g[0]), "pointer": groups.index(g) + 1, "entries": len(g[1]),
             "objects": [{"id": latin1(id_), "index": index} for id_, index in g[1]]} for g in chosen]


def expected_header_json(index, h):
    return {"index": index, "description": latin1(h[0:32]), "type": latin1(h[32:36]), "id": latin1(h[36:40]),
            "reserved1": h[40:47].hex().upper(), "number": h[47],
            "start": struct.unpack(">I", h[48:52])[0], "length": struct.unpack(">I", h[52:56])[0],
            "reserved2": h[56:60].hex().upper(), "signature": latin1(h[60:64]),
            "dump": "".join("%02X " % byte for byte in h)}


def selected(headers, selector):
    """The index a SEL names, or None."""
    if b":" not in selector:
        if not selector.isdigit():
            return None
        return int(selector) if int(selector) < len(headers) else None
    type_text, id_text = selector.split(b":", 1)
    if len(type_text) > 4 or len(id_text) > 4:
        return None
    return next((i for i, (_, h) in enumerate(headers)
                 if cut(h[32:36]) == type_text and cut(h[36:40]) == id_text), None)


# ---- archives written here ------------------------------------------------------

def header(name, type_, id_, start=0, length=0, number=0, reserved1=b"\0" * 7, reserved2=b"\0" * 4, sig=b"vorn"):
    assert len(reserved1) == 7 and len(reserved2) == 4 and len(sig) == 4
    return (name[:32].ljust(32, b"\0") + type_[:4].ljust(4, b"\0") + id_[:4].ljust(4, b"\0") + reserved1 +
            bytes([number]) + struct.pack(">II", start, length) + reserved2 + sig)


def archive(headers, filler=b"", tail=b""):
    """A file header pointing past `filler` at the headers, then `tail`."""
    offset = 64 + len(filler)
    return b"independent".ljust(40, b"\xAA") + struct.pack(">I", offset) + b"\x55" * 20 + filler + \
        b"".join(headers) + tail


def odd_archive():
    return archive([
        header(b"Back\\slash ~ \x7F\xFF\x01 tab\there", b"mons", b"ab\0z", 0x40, 3, 255,
               bytes(range(1, 8)), b"\xDE\xAD\xBE\xEF", b"v\\\0n"),
        header(b"N" * 32, b"ab\0x", b"id:1", 0xFFFFFFFF, 0xFFFFFFFF, 7, sig=b"\0\0\0\0"),
        header(b"", b"ab\0y", b"id:1", 1, 2),  # same group as ab<NUL>x, same id: no member
        header(b"dup\0hidden", b"mons", b"ab", 5, 6),  # same id as ab<NUL>z
        header(b"\x80\x9F\xA0 latin", b"\0ype", b"\0\0\0\0", 7, 8),
        header(b"colon", b"pr:j", b"x\\y\x7F", 9, 10, 128),
        header(b"spaces", b"a b ", b" id ", 11, 12),
        header(b"last", b"mons", b"zz\xE9\x01", 13, 14),
    ], filler=b"\x00\xFF" * 50, tail=bytes(range(200, 237)))  # a header cut short


def random_archive(rng):
    pool = [b"mons", b"stli", b"mesh", b"proj", b"obje", b"core", b"prgr", b"ab\0c", b"ab\0d", b"x"]
    ids = [b"aaaa", b"abcd", b"ab", b"a\0bc", b"zz:z", b"\\\\\\\\"]
    headers = []
    for _ in range(rng.randrange(0, 260)):
        type_ = rng.choice(pool) if rng.random() < 0.9 else bytes(rng.randrange(256) for _ in range(4))
        id_ = rng.choice(ids) if rng.random() < 0.5 else bytes(rng.randrange(256) for _ in range(4))
        headers.append(header(bytes(rng.randrange(256) for _ in range(rng.randrange(40))), type_, id_,
                              rng.getrandbits(32), rng.getrandbits(32), rng.randrange(256),
                              rng.randbytes(7), rng.randbytes(4), rng.choice([b"vorn", rng.randbytes(4)])))
    return archive(headers, filler=rng.randbytes(rng.randrange(100)), tail=rng.randbytes(rng.randrange(64)))


def files():
    """(label, bytes) of every file tried."""
    plug_in = header(b"Lone unit", b"mons", b"solo", 64, 5) + b"12345"
    plug_in = plug_in[:40] + struct.pack(">I", 64) + plug_in[44:]  # would also be a directory offset
    tried = [("odd archive", odd_archive()), ("single tag", plug_in)]
    last = archive([header(b"first", b"core", b"c1", 64, 0), header(b"second", b"core", b"c2", 64, 0)])
    last = last[:40] + struct.pack(">I", len(last) - 64) + last[44:]
    tried.append(("offset at the last header", last))
    good = archive([header(b"only", b"obje", b"ob", 64, 0)])
    for offset in (0, 63, len(good) - 63, len(good), 0xFFFFFFFF):
        tried.append(("offset %d" % offset, good[:40] + struct.pack(">I", offset) + good[44:]))
    tried += [("43 bytes", good[:43]), ("63 bytes", good[:63]), ("empty", b"")]
    rng = random.Random(20261208)
    tried += [("random archive %d" % n, random_archive(rng)) for n in range(12)]
    return tried


# ---- running the tool -----------------------------------------------------------

def run(*arguments):
    result = subprocess.run([CLI, *arguments], stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    return result.returncode, result.stdout, result.stderr


def check(label, arguments, code, out, err=None):
    got_code, got_out, got_err = run(*arguments)
    if got_code != code or got_out != out or (err is not None and got_err != err):
        failures.append("%s: %s\n  expected %d %r %r\n  got      %d %r %r" % (
            label, b" ".join(a if isinstance(a, bytes) else a.encode() for a in arguments[1:]),
            code, out[:300], err, got_code, got_out[:300], got_err[:300]))


def check_json(label, arguments, expected):
    """The command's --json output, parsed, against the value worked out here."""
    got_code, got_out, _ = run(*arguments, "--json")
    try:
        got = json.loads(got_out.decode("utf-8"))
    except ValueError as error:
        got = "not JSON: %s" % error
    if got_code != 0 or got != expected:
        failures.append("%s: %r --json\n  expected %.300r\n  got %d %.300r" % (label, arguments[1:], expected, got_code, got))


def argument_safe(text):
    return 0 < len(text) and b"\0" not in text and not text.startswith(b"-")


def selectors_for(headers):
    chosen = [b"0", b"%d" % (len(headers) - 1), b"%d" % len(headers), b"x1", b"mons:abcdefg"]
    chosen += [cut(h[32:36]) + b":" + cut(h[36:40]) for _, h in headers[:12]]
    return [s for s in chosen if argument_safe(s)]


def try_file(label, path, content):
    headers = headers_of(content)
    if headers is None:
        for command in (["list", path], ["dump-map", path], ["header", path, "0"]):
            check(label, command, 1, b"", NO_DIRECTORY)
        return
    check(label, ["list", path], 0, expected_list(headers), b"")
    check(label, ["dump-map", path], 0, expected_dump(headers), b"")
    check_json(label, ["list", path], expected_list_json(headers))
    check_json(label, ["dump-map", path], expected_dump_json(headers))
    types = {cut(g[0]) for g in groups_of(headers)} | {b"none", b"monsters", b"mon"}
    for type_text in sorted(t for t in types if argument_safe(t)):
        check(label, ["list", path, "--type", type_text], 0, expected_list(headers, type_text))
        check(label, ["dump-map", path, "--type", type_text], 0, expected_dump(headers, type_text))
        check_json(label, ["list", path, "--type", type_text], expected_list_json(headers, type_text))
    for selector in selectors_for(headers):
        index = selected(headers, selector)
        if index is None:
            check(label, ["header", path, selector], 1, b"")
        else:
            check(label, ["header", path, selector], 0, expected_header(headers[index][1]), b"")
            check_json(label, ["header", path, selector], expected_header_json(index, headers[index][1]))


def main():
    with tempfile.TemporaryDirectory() as folder:
        for number, (label, content) in enumerate(files()):
            path = os.path.join(folder, "file%d.gor" % number)
            with open(path, "wb") as out:
                out.write(content)
            try_file(label, path, content)
        check("missing file", ["list", os.path.join(folder, "missing.gor")], 1, b"")
    for failure in failures:
        print(failure)
    print("%d mismatches" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
