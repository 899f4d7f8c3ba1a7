"""The item editor of a map: a placed item added, one edited, one deleted, all saved
through the map form; the file's item table holds exactly that, and a new editor lists it.
Then a deletion cancelled in the item editor and the map form is gone: Exit neither asks nor writes."""
import re
import struct

import harness
import steps

PLUG_IN = "local/mesh/mpaa"
ITEMS_AT = 64 + 1024 + 32 * 32 * 8 + 5 * 32  # tag header, map header, 32 x 32 cells, 5 item types
ITEM, ITEMS = 64, 7


def item_line(number):
    """The list line of the sample's item `number` (its ID2 is number + 100)."""
    return re.compile(r".*ID2:%05d .*" % (number + 100))


def open_items(s, main, path):
    form = steps.open_editor(s, main, "mesh", path)
    form.find("push button", "View Items").click()
    return form, s.window(steps.titled("Tagwarden - MESH Item editor"))


def edit_item(s, fields):
    """Fills the item form that is showing: {field name: text}; None checks the check box or radio button."""
    form = s.window("Tagwarden - Mesh Item Editor", role="dialog")
    for name, text in fields.items():
        if text is None:
            found = form.find_all("check box", name) + form.find_all("radio button", name)
            harness.expect(len(found) == 1, "%d check boxes or radio buttons named %r" % (len(found), name))
            steps.set_checked(found[0])
        else:
            form.find("text", name).replace_text(text).wait_text(text)
    form.find("push button", "OK").click()
    form.wait_gone()


def delete_item(s, items, number):
    placed = items.find("panel", "Items")
    placed.find("list", "Item List").find("list item", item_line(number)).click()
    placed.find("push button", "Delete").click()
    confirm = s.window("Delete Item", role="alert", containing="Confirm Deletion of selected item")
    confirm.find("push button", "OK").click()
    confirm.wait_gone()


def used_type_question(s, items):
    """Deleting an item type that placed items use asks first; Cancel keeps it."""
    types = items.find("panel", "Item Types")
    types.find("list", "Item Type List").find("list item", re.compile(r"Units .*")).click()
    types.find("push button", "Delete").click()
    question = s.window("Delete Item Type", role="alert", containing="placed items use this item type")
    s.screenshot("used-type-question")
    question.find("push button", "Cancel").click()
    question.wait_gone()
    types.find("text", "Item Types Count").wait_text("5")


def cancel_discards_a_deletion(s, main, form, items, path):
    saved = harness.read_bytes(path)
    delete_item(s, items, 3)
    items.find("text", "Items Count").wait_text(str(ITEMS - 1))
    items.find("push button", "Cancel").click()
    items.wait_gone()
    form.find("push button", "Cancel").click()
    form.wait_gone()
    main.find("push button", "Exit").click()
    s.expect_exit()
    harness.expect(harness.read_bytes(path) == saved, "%s changed after Cancel and Exit" % path)


def journey(s):
    sample, main = steps.start_on_sample(s)
    path = sample + PLUG_IN
    before = harness.read_bytes(path)
    form, items = open_items(s, main, path)
    placed = items.find("panel", "Items")
    lines = placed.find("list", "Item List")

    placed.find("push button", "Add").click()
    edit_item(s, {"Initial Item": None, "Unit": None, "Item ID1": "42", "X": "5120"})
    lines.find("list item", re.compile(r"Units +ID1:0000002A 0000 +X:05120 .*"))
    placed.find("text", "Items Count").wait_text(str(ITEMS + 1))

    lines.find("list item", item_line(2)).double_click()
    edit_item(s, {"Item ID3": "999"})
    lines.find("list item", re.compile(r".*ID2:00102 ID3:00999"))

    delete_item(s, items, 4)
    placed.find("text", "Items Count").wait_text(str(ITEMS))
    s.screenshot("items-edited")
    items.find("push button", "OK").click()
    items.wait_gone()
    steps.save_map(s, form, sample, PLUG_IN, before)

    old = [before[ITEMS_AT + ITEM * i:ITEMS_AT + ITEM * (i + 1)] for i in range(ITEMS)]
    old[2] = old[2][:62] + struct.pack(">h", 999)
    added = bytearray(ITEM)
    added[2:10] = struct.pack(">hhhh", 1, 3, 0, 42)  # present at start, unit, reference 0, ID1
    added[16:20] = struct.pack(">i", 5120)
    table = b"".join(old[:4] + old[5:]) + bytes(added)
    harness.expect_bytes(path, before, {ITEMS_AT: table}, "the item table after the map form's OK")

    form, items = open_items(s, main, path)
    lines = items.find("list", "Item List")
    lines.find("list item", re.compile(r"Units +ID1:0000002A 0000 +X:05120 .*"))
    harness.expect(not lines.find_all("list item", item_line(4), lines=True), "the deleted item is listed again")
    used_type_question(s, items)
    cancel_discards_a_deletion(s, main, form, items, path)


if __name__ == "__main__":
    harness.main(journey)
