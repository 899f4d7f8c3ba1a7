"""The item map of a map plug-in, opened from the map form: it comes with the item
editor, a line chosen there is the map's highlighted item, and "Save Image..."
writes a PNG where the file dialog says."""
import os
import re

import harness
import steps

PLUG_IN = "local/mesh/mpaa"


def journey(s):
    sample, main = steps.start_on_sample(s)
    form = steps.open_editor(s, main, "mesh", sample + PLUG_IN)
    form.find("push button", "Item Map").click()
    items = s.window(steps.titled("Tagwarden - MESH Item editor"))
    item_map = s.window("Tagwarden - Item Map", role="dialog")
    item_map.find("label", re.compile(r"Units \(\d+\)"))  # the legend counts each category

    items.find("list", "Item List").find("list item", re.compile(r"Units .*ID2:00105 .*")).click()
    x, y = item_map.centre()
    s.bring_forward(item_map, x, y)
    s.screenshot("item-map")

    image = os.path.join(s.work, "items.png")
    item_map.find("push button", "Save Image...").click()
    s.choose_file(image)
    harness.poll("the item map written to %s" % image,
                 lambda: os.path.exists(image) and harness.read_bytes(image)[:8] == b"\x89PNG\r\n\x1a\n")
    item_map.find("push button", "Close").click()
    item_map.wait_gone()
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
