"""The string-list editor takes typed text: the length and the hex view follow, OK
writes the longer data and the new length, and nothing else changes."""
import struct

import harness
import steps

PLUG_IN = "local/stli/stab"


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    before = harness.read_bytes(path)
    data = before[64:]

    form = steps.open_editor(s, main, "stli", path)
    form.find("text", "Text View").focus()
    s.key("ctrl+Home")
    s.type("Hi ")
    form.find("text", "Length").wait_text(str(len(data) + 3))
    harness.poll("the hex view to show the typed bytes",
                 lambda: form.find("text", "Hex View").text.startswith("48 69 20 57 65 "))
    s.screenshot("stli-edited")
    form.find("push button", "OK").click()
    steps.backed_up(s, sample, PLUG_IN, before)
    form.wait_gone()
    harness.expect_bytes(path, before, {52: struct.pack(">I", len(data) + 3), 64: b"Hi " + data}, "after OK")

    main.find("table", "Object List").click()  # the main window takes the keys again
    s.key("Escape")  # never ends the program: Ctrl+Q does
    s.key("ctrl+q")
    s.expect_exit()


if __name__ == "__main__":
    harness.main(journey)
