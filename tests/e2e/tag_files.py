"""The tag file layout as the journeys check it, read and written here without the
program's code: a 64-byte big-endian header per tag (name 0..31, type 32..35,
id 36..39, start 48..51, length 52..55, signature "vorn" at 60..63)."""
import struct

HEADER = 64


def cut(field):
    return field.split(b"\0", 1)[0]


def directory(archive):
    """[(header position, 64 header bytes)] of an archive (its directory offset at bytes 40..43)."""
    offset = struct.unpack(">I", archive[40:44])[0]
    return [(at, archive[at:at + HEADER]) for at in range(offset, len(archive) - HEADER + 1, HEADER)]


def find_tag(archive, type_, id_):
    """The first header with that type and id."""
    for _, header in directory(archive):
        if cut(header[32:36]) == type_ and cut(header[36:40]) == id_:
            return header
    raise LookupError("no %s:%s in the archive" % (type_, id_))


def plug_in_of(archive, header):
    """A plug-in as the data viewer's "Create Plug-In" writes it: the header with start 64, then the data."""
    start, length = struct.unpack(">II", header[48:56])
    return header[:48] + struct.pack(">I", HEADER) + header[52:] + archive[start:start + length]


def make_header(name, type_, id_, start, length):
    return (name.ljust(32, b"\0") + type_.ljust(4, b"\0") + id_.ljust(4, b"\0") + bytes(8) +
            struct.pack(">II", start, length) + bytes(4) + b"vorn")


def big_archive(count):
    """An archive of `count` tags of four bytes over a few types, ids unique within a type."""
    types = [b"mons", b"stli", b"mesh", b"proj", b"obje", b"core", b"prgr", b"soun"]
    data = b"".join(struct.pack(">I", i) for i in range(count))
    directory_at = HEADER + len(data)
    headers = []
    for i in range(count):
        id_ = bytes(0x61 + i // 26 ** k % 26 for k in range(4))
        headers.append(make_header(b"Tag %d" % i, types[i % len(types)], id_, HEADER + 4 * i, 4))
    file_header = b"big archive".ljust(40, b"\0") + struct.pack(">I", directory_at) + bytes(20)
    return file_header + data + b"".join(headers)
