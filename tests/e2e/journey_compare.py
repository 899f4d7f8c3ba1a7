"""Compare with Archive after an edit: Health typed into the unit form and saved, the
form's context menu shows exactly that change, in the lines `tagwarden-cli diff` prints;
the list's context menu on the unit's line shows the same. Then the data viewer of the
5,574-byte map lists all of its data and goes to an offset near its end."""
import re
import subprocess

import harness
import steps
import tag_files

PLUG_IN = "local/mons/msab"
HEALTH = 64 + 296
TITLE = "Compare with Archive - msab - Tagwarden"


def shown_comparison(s, wanted):
    """The comparison window, once it shows the lines `wanted`."""
    window = s.window(TITLE, role="dialog")
    window.find("text", "Differences").wait_text(wanted)
    return window


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    archive = harness.read_bytes(sample + "tags.gor")
    header = tag_files.find_tag(archive, b"mons", b"msab")
    health = tag_files.plug_in_of(archive, header)[HEALTH]
    new = 201 if health != 201 else 202
    before = harness.read_bytes(path)

    form = steps.open_editor(s, main, "mons", path)
    form.find("spin button", "Health (hp)").replace_text(str(new)).wait_text(str(new))
    form.find("push button", "Save Changes").click()
    steps.backed_up(s, sample, PLUG_IN, before)
    harness.poll("%s to change" % path, lambda: harness.read_bytes(path) != before)
    form = s.window("msab - Tagwarden - MONS editor", role="dialog")
    form.find("label", "Health (hp)").click(button=3)  # the form's context menu; its last item
    s.key("Up")
    s.key("Return")
    wanted = "health: %d -> %d" % (health, new)
    window = shown_comparison(s, wanted)
    s.screenshot("compare-edited-unit")
    window.find("push button", "Close").click()
    window.wait_gone()

    main.find("push button", "Open a File").click()
    s.choose_file(sample + "tags.gor")
    filter_ = main.find("combo box", "Show Objects of Type")
    filter_.click()
    filter_.find("list item", "mons").click()
    line = main.find("table", "Object List").find("table cell", tag_files.cut(header[:32]).decode("latin-1"))
    line.click()
    line.click(button=3)  # Edit Plug-In, Extract Selected, then Compare with Archive
    for _ in range(3):
        s.key("Down")
    s.key("Return")
    window = shown_comparison(s, wanted)
    window.find("push button", "Close").click()
    window.wait_gone()

    filter_.click()
    filter_.find("list item", "mesh").click()
    main.find("table", "Object List").find("table cell", "Sample Map 1").click()
    main.find("push button", "Object Data").click()
    viewer = s.window("Vorn Object Viewer", role="dialog")
    harness.expect(tag_files.find_tag(archive, b"mesh", b"mpaa")[52:56] == (5574).to_bytes(4, "big"),
                   "the sample's map mpaa holds 5,574 bytes")
    viewer.find("check box", "Show all data").click()
    viewer.find("list item", re.compile(r"\d{10} \+0x00000000: .*"))
    s.key("ctrl+g")
    ask = s.window("Go to Offset", role="dialog")
    s.type("0x15C0")
    s.key("Return")
    ask.wait_gone()
    viewer.find("list item", re.compile(r"\d{10} \+0x000015C0: .*"))
    s.screenshot("viewer-all-data")
    viewer.find("push button", "OK").click()
    viewer.wait_gone()
    steps.exit_program(s, main)
    # The command line, once the program holds neither file, prints the window's lines.
    diff = subprocess.run([s.cli_path, "diff", path], capture_output=True, timeout=30)
    harness.expect((diff.returncode, diff.stdout) == (1, (wanted + "\n").encode()),
                   "tagwarden-cli diff printed %r %r (exit %d)" % (diff.stdout, diff.stderr, diff.returncode))


if __name__ == "__main__":
    harness.main(journey)
