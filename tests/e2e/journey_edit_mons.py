"""The unit editor takes real input: a check box, a typed Health and a typed code, one
step undone and redone, saved with "Save Changes" after a backup of the plug-in as it
was; while the backup notice is open, the main window's "Edit mons File" and "Exit"
only bring it forward. The plug-in changes in exactly those bytes, and a second editor
shows them. "Edit Plug-In" on a unit without a plug-in makes it from the archive and
opens it. The archive is open, so the code lists offer its ids."""
import os

import harness
import steps
import tag_files

PLUG_IN = "local/mons/msab"   # stone flag off (byte 2 is 3)
STONE, CORE, HEALTH = 64 + 2, 64 + 4, 64 + 296  # file offsets: the data follows the 64-byte header
NEW_NAME = "Dune Runner"  # a unit (msad) that has no plug-in in the sample yet


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
    code = form.find("text", "CORE Code")
    code.replace_text("cob").wait_text("cob")
    s.key("ctrl+z")
    code.wait_text("coab")
    s.key("ctrl+y")
    code.wait_text("cob")
    s.window("msab* - Tagwarden - MONS editor", role="dialog")
    s.screenshot("mons-edited")
    form.find("push button", "Save Changes").click()

    # The first save's notice is open over the form: the main window must not replace or close the form under it.
    notice = s.message_box("backed up as")
    for button in ("Edit mons File", "Exit"):
        main.find("push button", button).click()
        harness.expect(s.process.poll() is None, "the program ended after %r with the backup notice open" % button)
        notice.find("push button", "OK")
    steps.backed_up(s, sample, PLUG_IN, before)
    harness.poll("%s to change" % path, lambda: harness.read_bytes(path) != before)
    harness.expect_bytes(path, before, {STONE: bytes([19]), CORE: b"cob\x00", HEALTH: bytes([201])},
                         "after Save Changes")
    s.window("msab - Tagwarden - MONS editor", role="dialog")

    form = steps.open_editor(s, main, "mons", path)
    form.find("spin button", "Health (hp)").wait_text("201")
    harness.expect(form.find("check box", "Turn To Stone on Low HP").checked, "the saved stone flag shows unchecked")

    new_plug_in = os.path.join(sample, "local", "mons", "msad")
    filter_ = main.find("combo box", "Show Objects of Type")
    filter_.click()
    filter_.find("list item", "mons").click()
    line = main.find("table", "Object List").find("table cell", NEW_NAME)
    line.click()
    line.click(button=3)  # the context menu; its one item is chosen with the keys
    s.screenshot("edit-plug-in-menu")
    s.key("Down")
    s.key("Return")
    question = s.message_box("There is no plug-in of this tag yet")
    s.screenshot("edit-plug-in-question")
    question.find("push button", "OK").click()
    s.window("msad - Tagwarden - MONS editor", role="dialog").find("spin button", "Health (hp)")
    archive = harness.read_bytes(sample + "tags.gor")
    harness.expect(harness.read_bytes(new_plug_in) == tag_files.plug_in_of(archive, tag_files.find_tag(archive, b"mons", b"msad")),
                   "%s holds the unit as the archive does" % new_plug_in)
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
