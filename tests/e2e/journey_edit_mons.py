"""The unit editor takes real input: a check box and a typed Health, saved with
"Save Changes"; the plug-in changes in exactly those bytes, and a second editor shows them."""
import harness

PLUG_IN = "local/mons/msab"   # stone flag off (byte 2 is 3)
STONE, HEALTH = 64 + 2, 64 + 296  # file offsets: the data follows the 64-byte header


def open_editor(s, main, path):
    main.find("push button", "Edit mons File").click()
    s.choose_file(path)
    return s.window("Tagwarden - MONS editor", role="dialog")


def journey(s):
    sample = s.make_sample()
    s.write_settings(sample, sample + "Backup/")
    path = sample + PLUG_IN
    before = harness.read_bytes(path)
    s.start()
    main = s.window("Tagwarden", role="dialog")

    form = open_editor(s, main, path)
    stone = form.find("check box", "Turn To Stone on Low HP")
    harness.expect(not stone.checked, "the sample's stone flag shows checked")
    stone.click()
    harness.poll("a click to check %r" % stone, lambda: stone.checked)
    form.find("spin button", "Health (hp)").replace_text("201").wait_text("201")
    s.screenshot("mons-edited")
    form.find("push button", "Save Changes").click()
    harness.poll("%s to change" % path, lambda: harness.read_bytes(path) != before)
    harness.expect_bytes(path, before, {STONE: bytes([19]), HEALTH: bytes([201])}, "after Save Changes")

    form = open_editor(s, main, path)
    form.find("spin button", "Health (hp)").wait_text("201")
    harness.expect(form.find("check box", "Turn To Stone on Low HP").checked, "the saved stone flag shows unchecked")
    main.find("push button", "Exit").click()
    s.expect_exit()


if __name__ == "__main__":
    harness.main(journey)
