"""First start with no settings: the settings dialog comes before the main window,
already holding the stored defaults; a tags directory that does not exist is pointed
out and kept; the directories typed there reach the settings file."""
import os
import re

import harness
import steps

TAGS_FIELD = re.compile(r"Vorn Tags Directory.*")


def journey(s):
    tags = os.path.join(s.work, "game", "Tags")
    backup = os.path.join(s.work, "backups")
    s.start()

    settings = s.window("Tagwarden Settings", role="dialog")
    harness.expect(not any(w.name == "Tagwarden" for w in s.windows()),
                   "the main window shows before the settings are confirmed: %r" % s.windows())
    tags_field = settings.find("text", TAGS_FIELD)
    stored = s.read_settings()
    harness.expect(stored.get("VornPath") == tags_field.text and stored.get("ASCII") == "1",
                   "the first start stored %r while the dialog shows %r" % (stored, tags_field.text))

    tags_field.replace_text(tags).wait_text(tags)
    settings.find("text", "Backup Directory").replace_text(backup).wait_text(backup)
    settings.find("push button", "OK").click()
    # The typed tags directory does not exist yet: OK points that out, and keeps it when told so.
    missing = s.message_box("does not exist")
    harness.expect(tags in missing.label_text(), "the question names %r: %r" % (tags, missing.label_text()))
    missing.find("push button", "OK").click()
    settings.wait_gone()

    main = s.window("Tagwarden", role="dialog")
    stored = s.read_settings()
    expected = {"VornPath": tags, "Backup": backup, "ASCII": "1", "AllowMods": "1", "Overwrite": "0"}
    harness.expect(stored == expected, "the settings file holds %r, expected %r" % (stored, expected))
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
