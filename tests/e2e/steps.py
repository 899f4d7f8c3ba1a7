"""Steps that several journeys take through the program."""
import re

import harness


EDITORS = {"mons": ("Edit mons File", "Tagwarden - MONS editor"),
           "stli": ("Edit STLI File", "Tagwarden - STLI Editor"),
           "mesh": ("Edit MESH File", "Tagwarden - MESH editor")}


def start_on_sample(s):
    """The program started with settings that point at a fresh sample; answers (sample folder, main window)."""
    sample = s.make_sample()
    s.write_settings(sample, sample + "Backup/")
    s.start()
    return sample, s.window("Tagwarden", role="dialog")


def open_editor(s, main, kind, path):
    """Presses the editor's button in the main window, chooses `path`; answers the editor's form."""
    button, title = EDITORS[kind]
    main.find("push button", button).click()
    s.choose_file(path)
    return s.window(titled(title), role="dialog")


def titled(title):
    """An editor window's title: its own text after the plug-in's file name and modified mark."""
    return re.compile(r"\S+\*? - " + re.escape(title))


def backed_up(s, sample, plug_in, original):
    """The notice of an editor's first save: it names the copy of the plug-in at its path below the
    backup directory, which holds the plug-in as it was. Answered OK."""
    backup = sample + "Backup/" + plug_in
    notice = s.message_box("backed up as")
    harness.expect(backup in notice.label_text(), "the backup notice names %s: %r" % (backup, notice.label_text()))
    notice.find("push button", "OK").click()
    notice.wait_gone()
    harness.expect(harness.read_bytes(backup) == original, "%s holds the plug-in as it was" % backup)


def save_map(s, form, sample, plug_in, original):
    """The map form's OK, its confirmation, the backup notice of the editor's first save and the report."""
    form.find("push button", "OK").click()
    confirm = s.window("Confirm Save", role="alert")
    harness.expect("You are about to write changes to disk" in confirm.label_text(),
                   "the confirmation says %r" % confirm.label_text())
    confirm.find("push button", "OK").click()
    backed_up(s, sample, plug_in, original)
    written = s.message_box("Mesh File Successfully written!")
    written.find("push button", "OK").click()
    form.wait_gone()


def set_checked(button):
    """Clicks a check box or radio button that is not checked and waits until it is."""
    harness.expect(not button.checked, "%r is checked already" % button)
    button.click()
    harness.poll("a click to check %r" % button, lambda: button.checked)


def exit_program(s, main):
    main.find("push button", "Exit").click()
    s.expect_exit()


def misfit(window):
    """How `window` leaves the screen, or None when it fits."""
    x, y, width, height = window.extents()
    screen_width, screen_height = harness.SCREEN
    if x >= 0 and y >= 0 and x + width <= screen_width and y + height <= screen_height:
        return None
    return "%r spans %d..%d x %d..%d" % (window, x, x + width, y, y + height)
