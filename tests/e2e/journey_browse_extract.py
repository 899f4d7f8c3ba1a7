"""Opens the sample archive through "Open a File", sorts the table by a column,
searches it, filters by a type, looks at one tag's header and data, extracts it as
a plug-in that holds the right bytes, then extracts several selected tags at once."""
import os

import harness
import steps
import tag_files

NAME = "Dune Runner"  # a unit (msad) that has no plug-in in the sample yet


def table_and_search(s, objects, main):
    """The columns, a sort by Name, and a search together with the type filter."""
    for title in ("Type", "ID", "Name", "Start", "Length", "Plug-In"):
        objects.find("table column header", title, lines=True)
    objects.find("table cell", "Banner 5")  # the first line in ID order (biaa)
    objects.find("table column header", "Name", lines=True).click()
    objects.find("table cell", "Ashen Warden")  # the first name, shown at the top now
    objects.find("table column header", "ID", lines=True).click()  # the list's own order again
    objects.find("table cell", "Banner 5")

    filter_ = main.find("combo box", "Show Objects of Type")
    filter_.click()
    filter_.find("list item", "mons").click()
    main.find("label", "mons Objects")
    s.key("ctrl+f")
    s.type("ARCHER")
    main.find("label", "mons Objects - 3 of 48 shown")
    row = [cell.name for cell in objects.find_all("table cell", lines=True)][:6]
    harness.expect(row == ["mons", "msac", "Hollow Archer", "1088", "512", "\u2713"],
                   "the first line found shows %r; msac has a plug-in in the sample" % row)
    s.screenshot("table-search")
    s.key("Escape")  # clears the search; the program goes on
    main.find("label", "mons Objects")


def extract_selected(s, sample, objects, main, archive):
    """Three lines selected, one of them extracted before: two plug-ins made, one left."""
    search = main.find("text", "Search")
    search.click()
    s.type("dune")
    main.find("label", "mons Objects - 3 of 48 shown")
    objects.find("table cell", NAME).click()
    s.key("ctrl+a")  # every line found
    objects.find("table cell", "Dune Runner 3").click(button=3)
    s.key("Down", "Down", "Return")  # Edit Plug-In, then Extract Selected...
    s.window(harness.ANY, role="dialog", holding=("push button", "Choose"))
    s.key("Return")  # the folder proposed: local/ of the tags directory
    summary = s.message_box("2 created, 1 already existing (skipped), 0 failed")
    s.screenshot("extract-selected-summary")
    harness.expect(sample + "local/mons/msad: already exists" in summary.label_text(),
                   "the summary names the plug-in that was there: %r" % summary.label_text())
    summary.find("push button", "OK").click()
    summary.wait_gone()
    for id_ in (b"msat", b"msbj"):
        plug_in = os.path.join(sample, "local", "mons", id_.decode())
        harness.expect(harness.read_bytes(plug_in) == tag_files.plug_in_of(archive, tag_files.find_tag(archive, b"mons", id_)),
                       "%s holds the header (start 64) and the data of mons:%s" % (plug_in, id_.decode()))


def journey(s):
    sample, main = steps.start_on_sample(s)

    main.find("push button", "Open a File").click()
    s.choose_file(sample + "tags.gor")
    main.find("label", "All Objects")
    objects = main.find("table", "Object List")
    table_and_search(s, objects, main)

    line = objects.find("table cell", NAME)
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
    extract_selected(s, sample, objects, main, archive)
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
