#!/usr/bin/env python3
"""Checks `mons show/set`, `stli show/set`, `mesh show` and `diff` of tagwarden-cli against
a separate reading of the plug-in bytes: it decodes the sample's plug-ins and
plug-ins of its own making itself, works out what the commands must print and
write, and compares byte for byte.

Usage: editor_check.py PATH-TO-tagwarden-cli
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

CLI = sys.argv[1]
failures = []


def run(*args):
    result = subprocess.run([CLI] + list(args), capture_output=True)
    return result.returncode, result.stdout, result.stderr


def expect(what, actual, wanted):
    if actual != wanted:
        failures.append("%s:\n  expected %r\n  actual   %r" % (what, wanted, actual))


def contents(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    return path


def text(field):
    return field.split(b"\0")[0].decode("latin-1")


def printable(field):
    return "".join("\\\\" if b == 0x5C else chr(b) if 0x20 <= b <= 0x7E else "\\x%02X" % b
                   for b in field.split(b"\0")[0])


def plugin(type_, id_, name, data, length=None):
    length = len(data) if length is None else length
    return (name.ljust(32, b"\0") + type_ + id_ + b"\x11" * 7 + b"\0" + struct.pack(">II", 64, length) +
            b"\x22" * 4 + b"vorn" + data)


# --- units -----------------------------------------------------------------

NUMBERS = {"turn_rate": 137, "walk_rate": 139, "health": 296, "ammo": 129,
           "primary.recover_time": 177, "primary.min_range": 160, "primary.max_range": 162,
           "secondary.recover_time": 207, "secondary.min_range": 192, "secondary.max_range": 194}
CODES = {"core_code": 4, "baob_code": 144, "prgr_code": 292, "primary.proj_code": 156, "secondary.proj_code": 188}
TERRAIN = ["shallow", "medium", "deep", "any_submerge", "sloped", "steep", "grass", "sand", "rocky", "marsh",
           "snow", "forrest", "mountains_hover", "fly"]


def unit_fields(blob):
    """Every field of the unit form as (key, raw value): bytes for texts."""
    h, d = blob[:64], blob[64:576]
    fields = {"name": h[36:40], "description": h[0:32], "data_length": struct.unpack(">I", h[52:56])[0],
              "sprite_scale": struct.unpack(">H", d[280:282])[0], "heals_creature": d[127] == 0xCC,
              "turn_to_stone": d[2] == 19}
    fields.update({key: d[at] for key, at in NUMBERS.items()})
    fields.update({key: d[at:at + 4] for key, at in CODES.items()})
    fields.update({"terrain." + key: d[72 + i] != 0xFF for i, key in enumerate(TERRAIN)})
    for side, ballistics, defn in (("primary", 169, 154), ("secondary", 201, 183)):
        fields[side + ".ballistics"] = " ".join("%02X" % b for b in d[ballistics:ballistics + 3]).encode()
        fields[side + ".attack_defn"] = b"%02X" % d[defn]
    return fields


def flat(tree, prefix=""):
    out = {}
    for key, value in tree.items():
        if isinstance(value, dict):
            out.update(flat(value, prefix + key + "."))
        else:
            out[prefix + key] = value
    return out


def as_json(value):
    return text(value) if isinstance(value, bytes) else value


def as_text(value):
    if isinstance(value, bool):
        return "yes" if value else "no"
    return printable(value) if isinstance(value, bytes) else str(value)


def check_unit_show(path):
    """Answers the keys of `show --json` in their (the form's) order."""
    blob = contents(path)
    wanted = unit_fields(blob)
    code, out, err = run("mons", "show", "--json", path)
    shown = flat(json.loads(out.decode("utf-8"))) if code == 0 else {}
    expect(path + " show --json", {k: shown.get(k) for k in wanted}, {k: as_json(v) for k, v in wanted.items()})
    expect(path + " show --json keys", sorted(shown), sorted(wanted))
    # The text lines carry the same values in the same (the form's) order.
    code, out, err = run("mons", "show", path)
    values = [line.split(": ", 1)[1] if ": " in line else line.split(" ", 1)[1]
              for line in out.decode("latin-1").splitlines()]
    expect(path + " show", (code, values), (0, [as_text(wanted[k]) for k in shown]))
    for label in ("Health (hp): ", "*BAOB Code: ", "Turn To Stone on Low HP: ", "Primary Min Range: "):
        expect(path + " label " + label, label in out.decode("latin-1"), True)
    return list(shown)


def set_unit(blob, changes):
    """The bytes a save of `changes` ({key: value}) must leave: only the fields that change."""
    out = bytearray(blob)
    d = 64
    for key, value in changes.items():
        if key == "name":
            out[36:40] = value.ljust(4, b"\0") if value != text(blob[36:40]).encode("latin-1") else blob[36:40]
        elif key in NUMBERS:
            out[d + NUMBERS[key]] = value
        elif key == "sprite_scale":
            out[d + 280:d + 282] = struct.pack(">H", value)
        elif key in CODES:
            at = d + CODES[key]
            if value != text(blob[at:at + 4]).encode("latin-1"):
                out[at:at + 4] = value.ljust(4, b"\0")
        elif key.startswith("terrain."):
            at = d + 72 + TERRAIN.index(key[8:])
            if (blob[at] != 0xFF) != value:
                out[at] = 0x0A if value else 0xFF
    return bytes(out)


def check_unit_set(folder, units, order):
    originals = {path: contents(path) for path in units}
    # Out of range: refused with the form's text, nothing written anywhere.
    for assignment, message in (("health=256", b"Please enter an integer between 1 and 255 for Health (hp).\n"),
                                ("turn_rate=0", b"Please enter an integer between 1 and 255 for Turn Rate.\n"),
                                ("sprite_scale=65536",
                                 b"Please enter an integer between 0 and 65535 for Sprite Scale.\n"),
                                ("primary.max_range=-1",
                                 b"Please enter an integer between 0 and 255 for primary Max Range.\n")):
        expect("set " + assignment, run("mons", "set", *units, "--set", "ammo=1", "--set", assignment),
               (1, b"", message))
    stli = write(os.path.join(folder, "words"), plugin(b"stli", b"wrds", b"Words", b"A\r"))
    long_unit = write(os.path.join(folder, "long"), plugin(b"mons", b"long", b"Long", bytes(600)))
    for bad, reason in ((stli, "This Editor cannot currently edit stli type objects"),
                        (long_unit, "ERROR - Length is not same as Header data")):
        expect("set with " + bad, run("mons", "set", *units, bad, "--set", "ammo=1"),
               (1, b"", ("%s: %s\nERROR - No file was changed.\n" % (bad, reason)).encode()))
    for path in units:
        expect(path + " untouched by refused sets", contents(path), originals[path])

    changes = {"health": 200, "walk_rate": 0, "sprite_scale": 65535, "terrain.deep": False, "terrain.fly": True,
               "primary.min_range": 7, "core_code": b"zz", "primary.proj_code": b"pjaa", "name": b"abcd"}
    arguments = []
    for key, value in changes.items():
        shown = ("yes" if value else "no") if isinstance(value, bool) else \
            value.decode() if isinstance(value, bytes) else str(value)
        arguments += ["--set", "%s=%s" % (key, shown)]
    code, out, err = run("mons", "set", *units, *arguments)
    lines = out.decode("latin-1").splitlines()
    expect("set exit and stderr", (code, err), (0, b""))
    expect("set summary lines", [line.split(": ")[0] for line in lines], units)
    for path, line in zip(units, lines):
        wanted = set_unit(originals[path], changes)
        expect(path + " after set", contents(path), wanted)
        before, after = unit_fields(originals[path]), unit_fields(wanted)
        summary = ", ".join("%s %s -> %s" % (k, as_text(before[k]), as_text(after[k]))
                            for k in order if before[k] != after[k])
        expect(path + " summary", line, "%s: %s" % (path, summary or "unchanged"))
    expect("second set", run("mons", "set", *units, *arguments)[1],
           b"".join(b"%s: unchanged\n" % p.encode() for p in units))


def check_unit_keeps_other_bytes(folder):
    """Bytes the form would rewrite (a terrain byte of 1, name bytes behind a zero) stay unless set."""
    data = bytearray(range(256)) * 2
    data[72:86] = b"\x01" * 14
    blob = plugin(b"mons", b"ke\0p", b"Kept\0behind", bytes(data))
    path = write(os.path.join(folder, "keep"), blob)
    expect("set health only", run("mons", "set", path, "--set", "health=9"),
           (0, ("%s: health 40 -> 9\n" % path).encode(), b""))
    expect("only health changed", contents(path), blob[:64 + 296] + b"\x09" + blob[64 + 297:])


# --- string lists ----------------------------------------------------------

def check_stli(folder, sample):
    data = contents(sample)[64:]
    length = struct.unpack(">I", contents(sample)[52:56])[0]
    lines = data[:length].replace(b"\0", b"").replace(b"\r", b"\n")
    expect("stli show", run("stli", "show", sample), (0, lines, b""))
    source = write(os.path.join(folder, "lines.txt"), b"First\r\nSecond \xe9\n\nLast")
    before = contents(sample)
    new = b"First\rSecond \xe9\r\rLast"
    expect("stli set", run("stli", "set", sample, "--from", source),
           (0, ("%s: 5 -> 4 strings, %d -> %d bytes\n" % (sample, length, len(new))).encode(), b""))
    expect("stli set bytes", contents(sample),
           before[:52] + struct.pack(">I", len(new)) + before[56:64] + new + before[64 + len(new):])

    # Zero bytes and line feeds the text cannot hold: refused unless forced.
    odd = plugin(b"stli", b"odd\0", b"Odd", b"AB\rC\0D\nE\r")
    path = write(os.path.join(folder, "odd"), odd)
    expect("stli show odd", run("stli", "show", path), (0, b"AB\nCD\nE\n", b""))
    expect("stli set odd", run("stli", "set", path, "--from", source),
           (1, b"", ("%s: Saving this edit drops 1 zero byte and 1 line feed that the list held. Nothing was "
                     "written; --force saves it anyway.\n" % path).encode()))
    expect("stli odd untouched", contents(path), odd)
    expect("stli set odd forced", run("stli", "set", path, "--from", source, "--force")[0], 0)
    expect("stli odd forced bytes", contents(path), odd[:52] + struct.pack(">I", len(new)) + odd[56:64] + new)


# --- maps --------------------------------------------------------------------

MAP_CODES = [("map_graphic", 0), ("post_screen", 144), ("pre_screen", 148), ("overhead_map", 152),
             ("ambient_sound", 124), ("primary_water", 4), ("secondary_water", 72), ("lighting", 68),
             ("particles", 80), ("wind_effects", 228), ("map_stli", 140), ("objectives", 164),
             ("narration_text", 176), ("captions_stli", 252), ("narration_sound", 256)]
CATEGORIES = {0: "Camera", 1: "Scenery", 3: "Unit", 5: "Ambient Sound", 6: "Model", 9: "Object",
              10: "Special Effects"}
TRADING = {0: "Not Tradeable/Not Unit", 6: "Tradable", 8: "Not Visible"}
GAMES = ["Free for All", "Team Battle", "Flag Capture", "Hill Control", "Last Survivor", "Territory Control",
         "Escort", "Leader Hunt", "Treasure Race", "Base Siege", "Endurance", "None"]


def code_text(code):
    return "" if code == b"\xff" * 4 else text(code)


def i16(data, at):
    return struct.unpack(">h", data[at:at + 2])[0]


def i32(data, at):
    return struct.unpack(">i", data[at:at + 4])[0]


def expected_map(blob):
    h, m = blob[:64], blob[64:]
    wanted = {"map_name": text(h[36:40]), "description": text(h[0:32])}
    wanted.update({key: code_text(m[at:at + 4]) for key, at in MAP_CODES})
    wanted.update({"width": i16(m, 8), "height": i16(m, 10), "mesh_offset": i32(m, 24), "max_teams": i32(m, 84),
                   "next_level": code_text(m[156:160]), "player": "Single" if i16(m, 76) & 1 else "Multi",
                   "game_types": [g for bit, g in enumerate(GAMES) if i16(m, 78) >> bit & 1]})
    area = i32(m, 24)
    types = m[area + i32(m, 40):][:32 * i32(m, 36)]
    items = m[area + i32(m, 56):][:64 * i32(m, 52)]
    wanted["item_types"] = [{"category": CATEGORIES.get(i16(t, 0), "Other"), "category_code": i16(t, 0),
                             "trading": TRADING.get(i16(t, 2)), "trading_code": i16(t, 2),
                             "item_id": "".join(chr(b) if 0x20 <= b < 0x7F else "." for b in t[4:8]),
                             "team": i16(t, 8), "present_count": i16(t, 28), "max_count": i16(t, 26),
                             "reference": i16(t, 30)}
                            for t in (types[k:k + 32] for k in range(0, len(types), 32))]
    wanted["items"] = [{"initial_item": i16(t, 2) != 0, "category": CATEGORIES.get(i16(t, 4), "Other"),
                        "category_code": i16(t, 4), "id1": i16(t, 8), "reference": i16(t, 6), "id2": i16(t, 60),
                        "id3": i16(t, 62),
                        "position": {"x": i32(t, 16) / 1024, "y": i32(t, 20) / 1024, "z": i32(t, 24) / 1024},
                        "facing": i16(t, 32) * 360 / 65536,
                        "stored": {"x": i32(t, 16), "y": i32(t, 20), "z": i32(t, 24), "facing": i16(t, 32)}}
                       for t in (items[k:k + 64] for k in range(0, len(items), 64))]
    return wanted


def check_mesh(path):
    code, out, err = run("mesh", "show", "--json", path)
    expect("mesh show --json", (code, json.loads(out.decode("utf-8")) if code == 0 else err),
           (0, expected_map(contents(path))))
    # The text: a line per form field, the games' line, then a line per item type and item.
    wanted = expected_map(contents(path))
    code, out, err = run("mesh", "show", path)
    lines = out.decode("latin-1").splitlines()
    expect("mesh show", (code, lines[0], len(lines)),
           (0, "Map Name: " + wanted["map_name"], 24 + len(wanted["item_types"]) + len(wanted["items"])))


# --- diff -----------------------------------------------------------------

def archive_tag(archive, type_, id_):
    """The archive's first tag of that type and id, as a plug-in holds it (start 64)."""
    offset = struct.unpack(">I", archive[40:44])[0]
    for at in range(offset, len(archive) - 63, 64):
        h = archive[at:at + 64]
        if h[32:36] == type_ and h[36:40] == id_:
            start, length = struct.unpack(">II", h[48:56])
            return h[:48] + struct.pack(">I", 64) + h[52:] + archive[start:start + length]
    raise LookupError(id_)


def check_diff(folder, sample, units):
    archive = contents(os.path.join(sample, "tags.gor"))
    for path in units:
        expect(path + " diff unedited", run("diff", path), (0, b"", b""))
    # A unit edited with mons set: exactly the changed field, its value before as the archive holds it.
    unit = units[0]
    health = archive_tag(archive, b"mons", contents(unit)[36:40])[64 + 296]
    new = 120 if health != 120 else 121
    expect("mons set health", run("mons", "set", unit, "--set", "health=%d" % new)[0], 0)
    expect("diff after set", run("diff", unit), (1, b"health: %d -> %d\n" % (health, new), b""))
    code, out, err = run("diff", "--json", unit)
    expect("diff --json after set", (code, json.loads(out)["differences"]),
           (1, [{"what": "health", "change": "changed", "before": str(health), "after": str(new)}]))
    # Other types byte by byte, string lists line by line; a pair of the same file is equal.
    other = bytes(100)
    changed = bytearray(other + b"\x05" * 5)
    changed[10], changed[12], changed[50] = 1, 2, 3
    rows = (("blob", plugin(b"blob", b"blob", b"A", other), plugin(b"blob", b"blob", b"A", bytes(changed)),
             b"bytes 0xA-0xC: 00 00 00 -> 01 00 02\nbytes 0x32: 00 -> 03\n+ bytes 0x64-0x68: 05 05 05 05 05\n"),
            ("list", plugin(b"stli", b"list", b"S", b"a\rb\rc\r"), plugin(b"stli", b"list", b"T", b"a\rB\rc\rd"),
             b"description: S -> T\n-b\n+B\n+d\n"),
            ("same", plugin(b"mons", b"unit", b"U", bytes(512)), plugin(b"mons", b"unit", b"U", bytes(512)), b""))
    for name, before, after, wanted in rows:
        a = write(os.path.join(folder, name + ".a"), before)
        b = write(os.path.join(folder, name + ".b"), after)
        expect("diff " + name, run("diff", a, b), (1 if wanted else 0, wanted, b""))
    # A map: a form field and a placed item.
    blob = bytearray(contents(os.path.join(sample, "local", "mesh", "mpaa")))
    a = write(os.path.join(folder, "map.a"), bytes(blob))
    m = 64
    blob[m + 84:m + 88] = struct.pack(">i", i32(blob, m + 84) + 1)
    first_item = m + i32(blob, m + 24) + i32(blob, m + 56)
    blob[first_item + 16:first_item + 20] = struct.pack(">i", i32(blob, first_item + 16) + 1024)
    b = write(os.path.join(folder, "map.b"), bytes(blob))
    code, out, err = run("diff", "--json", a, b)
    expect("diff map", (code, [(d["what"], d["change"]) for d in json.loads(out)["differences"]]),
           (1, [("max_teams", "changed"), ("item 1", "changed")]))
    # Errors exit 2: a missing file, a plug-in whose tag the archive lacks.
    stray = write(os.path.join(sample, "local", "mons", "zzzz"), plugin(b"mons", b"zzzz", b"Z", bytes(512)))
    for args in (("diff", os.path.join(folder, "none")), ("diff", stray)):
        expect(" ".join(args) + " exit", run(*args)[0], 2)


def main():
    with tempfile.TemporaryDirectory() as folder:
        sample = os.path.join(folder, "sample")
        expect("make-sample", run("make-sample", sample)[0], 0)
        mons = os.path.join(sample, "local", "mons")
        units = sorted(os.path.join(mons, name) for name in os.listdir(mons))
        order = [check_unit_show(unit) for unit in units][0]
        check_diff(folder, sample, units)
        check_unit_set(folder, units, order)
        check_unit_keeps_other_bytes(folder)
        check_stli(folder, os.path.join(sample, "local", "stli", "stab"))
        check_mesh(os.path.join(sample, "local", "mesh", "mpaa"))
        shutil.rmtree(sample)

    if failures:
        print("\n".join(failures))
        print("%d mismatches" % len(failures))
        return 1
    print("mons, stli, mesh and diff commands agree with the reference reading")
    return 0


if __name__ == "__main__":
    sys.exit(main())
