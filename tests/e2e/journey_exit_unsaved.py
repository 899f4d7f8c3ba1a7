"""Ending the run while an editor holds unsaved changes asks first, naming the file:
Cancel keeps program and editor, Discard ends without writing, Save writes, then ends."""
import harness
import steps

PLUG_IN = "local/mons/msab"
HEALTH = 64 + 296


def change_health(s, main, path, value):
    form = steps.open_editor(s, main, "mons", path)
    form.find("spin button", "Health (hp)").replace_text(value).wait_text(value)
    return form


def question(s, path):
    """The unsaved-changes question; it names the plug-in and offers Save, Discard and Cancel."""
    box = s.message_box(path)
    for button in ("Save", "Discard", "Cancel"):
        box.find("push button", button)
    return box


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    before = harness.read_bytes(path)

    form = change_health(s, main, path, "201")
    main.find("push button", "Exit").click()
    box = question(s, path)
    s.screenshot("exit-question")
    box.find("push button", "Cancel").click()
    box.wait_gone()
    harness.expect(s.process.poll() is None, "the program ended after Cancel")
    form.find("spin button", "Health (hp)").wait_text("201")

    main.find("push button", "Exit").click()
    question(s, path).find("push button", "Discard").click()
    s.expect_exit()
    harness.expect(harness.read_bytes(path) == before, "Discard wrote to %s" % path)

    s.start()  # again, and this time save on the way out (Ctrl+Q ends the run too)
    main = s.window("Tagwarden", role="dialog")
    change_health(s, main, path, "77")
    main.find("table", "Object List").click()
    s.key("ctrl+q")
    question(s, path).find("push button", "Save").click()
    steps.backed_up(s, sample, PLUG_IN, before)
    s.expect_exit()
    harness.expect_bytes(path, before, {HEALTH: bytes([77])}, "after Save in the question")


if __name__ == "__main__":
    harness.main(journey)
