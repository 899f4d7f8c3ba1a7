"""Dump Map on an archive of 100,000 tags: a window that fits the screen appears within
a few seconds, holds the whole text, and its OK closes it."""
import os
import subprocess
import time

import harness
import steps
import tag_files

ENTRIES = 100_000
APPEARS_WITHIN = 3.0  # seconds


def journey(s):
    folder = os.path.join(s.work, "big") + "/"
    os.makedirs(folder)
    with open(folder + "tags.gor", "wb") as archive:
        archive.write(tag_files.big_archive(ENTRIES))
    expected = subprocess.run([s.cli_path, "dump-map", folder + "tags.gor"], check=True, timeout=harness.TIMEOUT,
                              stdout=subprocess.PIPE, text=True).stdout[:-1]  # the tool adds a newline
    s.write_settings(folder, folder + "Backup/")
    s.start()
    main = s.window("Tagwarden", role="dialog")
    main.find("push button", "Open a File").click()
    s.choose_file(folder + "tags.gor")
    main.find("label", "All Objects", timeout=30)  # the list's text once the reading ends

    button = main.find("push button", "Dump Map")
    pressed = time.monotonic()
    button.click()
    dump = s.window("tags.gor (all types) - Tagwarden - Dump Map", role="dialog", holding=("text", "Dump Map"),
                    timeout=APPEARS_WITHIN)
    print("the Dump Map window appeared %.2f s after the click began" % (time.monotonic() - pressed))
    s.screenshot("dump-map")
    harness.expect(steps.misfit(dump) is None, "on a %d x %d screen: %s" % (*harness.SCREEN, steps.misfit(dump)))
    text = dump.find("text", "Dump Map").text
    harness.expect(text == expected, "the Dump Map window holds %d characters (%r...), expected %d (%r...)"
                   % (len(text), text[:60], len(expected), expected[:60]))
    dump.find("push button", "OK").click()
    dump.wait_gone()
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
