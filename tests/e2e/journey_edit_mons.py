"""The unit editor takes real input: a check box, a typed Health and a typed code,
saved with "Save Changes" after a backup of the plug-in as it was; the plug-in changes in
exactly those bytes, and a second editor shows them. The archive is open, so the code
lists offer its ids."""
import harness
import steps

PLUG_IN = "local/mons/msab"   # stone flag off (byte 2 is 3)
STONE, CORE, HEALTH = 64 + 2, 64 + 4, 64 + 296  # file offsets: the data follows the 64-byte header


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    before = harness.read_bytes(path)

    main.find("push button", "Open a File").click()
    s.choose_file(sample + "tags.gor")
    form = steps.open_editor(s, main, "mons", path)
    steps.set_checked(form.find("check box", "Turn To Stone on Low HP"))
    form.find("spin button", "Health (hp)").replace_text("201").wait_text("201")
    # "coba" is a listed core id; the typed "cob" is what counts, padded with a zero byte over the code "coab".
    form.find("text", "CORE Code").replace_text("cob").wait_text("cob")
    s.screenshot("mons-edited")
    form.find("push button", "Save Changes").click()
    steps.backed_up(s, sample, PLUG_IN, before)
    harness.poll("%s to change" % path, lambda: harness.read_bytes(path) != before)
    harness.expect_bytes(path, before, {STONE: bytes([19]), CORE: b"cob\x00", HEALTH: bytes([201])},
                         "after Save Changes")

    form = steps.open_editor(s, main, "mons", path)
    form.find("spin button", "Health (hp)").wait_text("201")
    harness.expect(form.find("check box", "Turn To Stone on Low HP").checked, "the saved stone flag shows unchecked")
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
