"""The map editor takes typed and clicked input: a new map name and "Multi", written
after OK and its confirmation; only the id and the player flag change in the file.
The typed name is one step: Ctrl+Z takes it back, Ctrl+Shift+Z brings it again, and
the title's modified mark follows."""
import harness
import steps

PLUG_IN = "local/mesh/mpaa"
ID, PLAYER_FLAGS_LOW = 36, 64 + 77  # the tag's id; the low byte of the map header's player flags (0x0001: single)


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    before = harness.read_bytes(path)

    form = steps.open_editor(s, main, "mesh", path)
    name = form.find("text", "Map Name")
    name.replace_text("mpzz").wait_text("mpzz")
    harness.poll("the modified mark", lambda: form.name == "mpaa* - Tagwarden - MESH editor")
    s.key("ctrl+z")
    name.wait_text("mpaa")
    harness.poll("no modified mark", lambda: form.name == "mpaa - Tagwarden - MESH editor")
    s.key("ctrl+shift+z")
    name.wait_text("mpzz")
    steps.set_checked(form.find("radio button", "Multi"))
    s.screenshot("mesh-edited")
    steps.save_map(s, form, sample, PLUG_IN, before)
    harness.expect_bytes(path, before, {ID: b"mpzz", PLAYER_FLAGS_LOW: b"\x00"}, "after the map form's OK")
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
