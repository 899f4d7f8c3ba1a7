"""Opens the sample archive through "Open a File", filters by a type, looks at one
tag's header and data, and extracts it as a plug-in that holds the right bytes."""
import os

import harness
import steps
import tag_files

LINE = "msad : Dune Runner"  # a unit that has no plug-in in the sample yet


def journey(s):
    sample, main = steps.start_on_sample(s)

    main.find("push button", "Open a File").click()
    s.choose_file(sample + "tags.gor")
    objects = main.find("list", "Object List")
    objects.find("list item", "biaa : Banner 5")  # the first line, sorted

    filter_ = main.find("combo box", "Show Objects of Type")
    filter_.click()
    filter_.find("list item", "mons").click()
    main.find("label", "mons Objects")
    line = objects.find("list item", LINE)
    line.click()
    main.find("label", "mons objects - 4/48 entries")

    line.double_click()
    header = s.window("Vorn Object Details", role="dialog")
    header.find("text", "Obj Name").wait_text("msad")
    header.find("text", "Obj type").wait_text("mons")
    header.find("push button", "OK").click()
    header.wait_gone()
    s.key("Return")  # on the selected line, as a double-click
    header = s.window("Vorn Object Details", role="dialog")
    s.key("Escape")
    header.wait_gone()

    archive = harness.read_bytes(sample + "tags.gor")
    tag = tag_files.find_tag(archive, b"mons", b"msad")
    start = int.from_bytes(tag[48:52], "big")
    main.find("push button", "Object Data").click()
    viewer = s.window("Vorn Object Viewer", role="dialog")
    viewer.find("push button", "Load Object").click()
    groups = ["%02X " % b for b in archive[start:start + 32]]
    viewer.find("list item", "%010d: " % start + "".join(groups[:16]) + "  " + "".join(groups[16:]))

    viewer.find("push button", "Create Plug-In").click()
    saving = s.window(harness.ANY, role="dialog", holding=("text", harness.FILE_NAME))
    saving.find("text", harness.FILE_NAME).wait_text("msad")
    s.key("Return")
    done = s.message_box("PlugIn created")
    done.find("push button", "OK").click()
    done.wait_gone()
    plug_in = os.path.join(sample, "local", "mons", "msad")
    harness.expect(harness.read_bytes(plug_in) == tag_files.plug_in_of(archive, tag),
                   "%s does not hold the header (start 64) and the data of mons:msad" % plug_in)

    viewer.find("push button", "OK").click()
    viewer.wait_gone()
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
