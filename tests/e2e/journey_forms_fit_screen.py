"""At twice the normal scaling, on a 1400 x 1000 screen, every editor form and record
form fits the screen (scrolling inside where it must), so all its fields and buttons
can be reached."""
import harness
import steps

PLUG_INS = [("mons", "local/mons/msab"), ("stli", "local/stli/stab"), ("mesh", "local/mesh/mpaa")]


def expect_all_fit(misfits):
    misfits = [m for m in misfits if m]
    harness.expect(not misfits, "on a %d x %d screen at scale 2: %s" % (*harness.SCREEN, "; ".join(misfits)))


def journey(s):
    s.scale_by(2)
    sample, main = steps.start_on_sample(s)
    forms = [steps.open_editor(s, main, kind, sample + plug_in) for kind, plug_in in PLUG_INS]
    expect_all_fit(map(steps.misfit, [main] + forms))

    forms[-1].find("push button", "View Items").click()
    items = s.window(steps.titled("Tagwarden - MESH Item editor"))
    expect_all_fit([steps.misfit(items)])
    records = []
    for group, title in (("Item Types", "Tagwarden - Item Type Editor"), ("Items", "Tagwarden - Mesh Item Editor")):
        items.find("panel", group).find("push button", "Edit").click()  # the selected line: the last one listed
        record = s.window(title, role="dialog")
        records.append(steps.misfit(record))
        record.find("push button", "Cancel").click()
        record.wait_gone()
    expect_all_fit(records)
    steps.exit_program(s, main)


if __name__ == "__main__":
    harness.main(journey)
