"""Drives the built program as a person would: under its own Xvfb display and D-Bus
session, widgets found by role and accessible name through the AT-SPI tree, input
given as real X events (XTest, through xdotool), results checked on disk.

A journey is a function of a Session. Its script ends with

    if __name__ == "__main__":
        harness.main(journey)

and runs as  /usr/bin/python3 JOURNEY.py --app TAGWARDEN --cli TAGWARDEN-CLI --artifacts DIR.
The first process (the supervisor) starts Xvfb and runs the journey again inside
`dbus-run-session`; it kills whatever is left when the journey ends or overruns.
"""
import argparse
import glob
import importlib.util
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

TIMEOUT = 10.0       # seconds any single wait may take
JOURNEY_LIMIT = 100  # seconds a whole journey may take
SCREEN = (1400, 1000)
TOOLS = ["Xvfb", "xdotool", "dbus-run-session", "import"]
INNER = "TAGWARDEN_E2E_INNER"    # set in the journey's own process, inside the D-Bus session
REPORT = "TAGWARDEN_E2E_REPORT"  # the file the journey reports into


ANY = re.compile(".*")
FILE_NAME = re.compile("File name:?")  # the name field of Qt's file dialog


class JourneyFailed(Exception):
    """What the journey expected and what the program did instead."""


def poll(what, probe, timeout=TIMEOUT, interval=0.05):
    """Calls `probe` until it answers something true and answers that; fails after `timeout`."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except Exception as error:
            if not _gone(error):
                raise
            result = None  # a widget that went away while it was looked at: look again
        if result:
            return result
        if time.monotonic() >= deadline:
            raise JourneyFailed("waited %.0f s for %s" % (timeout, what))
        time.sleep(interval)


def _gone(error):
    """Whether `error` says an accessible object or call went away (an AT-SPI error)."""
    from gi.repository import GLib
    return isinstance(error, GLib.Error)


def expect(condition, message):
    if not condition:
        raise JourneyFailed(message)


# ---- the accessibility tree ------------------------------------------------------

def _atspi():
    import pyatspi  # only inside the journey's own bus
    return pyatspi


# Roles whose children are lines of data: searched only when asked for lines.
LINE_ROLES = {"list item", "table cell", "tree item"}
CONTAINERS_OF_LINES = {"list", "list box", "table", "tree table", "tree"}


def _matches(name, wanted):
    if wanted is None:
        return True
    if isinstance(wanted, re.Pattern):
        return wanted.fullmatch(name or "") is not None
    return name == wanted


def _label_names(acc):
    """The names of the labels that label `acc` ("&" and a trailing ":" dropped)."""
    names = []
    for relation in acc.getRelationSet():
        if relation.getRelationType() == _atspi().RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                text = (relation.getTarget(i).name or "").replace("&", "").strip()
                names.append(text[:-1].strip() if text.endswith(":") else text)
    return names


def _named(acc, role, wanted):
    """Whether `acc` has the name `wanted`. Qt on Linux names a combo box by its current
    text, so a combo box is known by its label (its buddy) instead."""
    if role == "combo box" and wanted is not None:
        return any(_matches(name, wanted) for name in _label_names(acc))
    return _matches(acc.name, wanted)


class Widget:
    """One accessible object of the program, and what a person does with it."""

    def __init__(self, session, accessible):
        self.session = session
        self.acc = accessible
        try:  # kept for messages: the object may be gone when one is written
            self.label = "%s %r" % (accessible.getRoleName(), accessible.name or "")
        except Exception:
            self.label = "a gone object"

    def __repr__(self):
        return self.label

    @property
    def name(self):
        return self.acc.name or ""

    @property
    def role(self):
        return self.acc.getRoleName()

    def states(self):
        return self.acc.getState()

    def has_state(self, state):
        return self.states().contains(state)

    @property
    def showing(self):
        return self.has_state(_atspi().STATE_SHOWING)

    @property
    def checked(self):
        return self.has_state(_atspi().STATE_CHECKED)

    def extents(self):
        """x, y, width and height on the screen, in the screen's pixels (Qt 6.4 reports
        them unscaled: device-independent pixels)."""
        box = self.acc.queryComponent().getExtents(_atspi().DESKTOP_COORDS)
        return tuple(round(v * self.session.scale) for v in (box.x, box.y, box.width, box.height))

    def centre(self):
        x, y, width, height = self.extents()
        expect(width > 0 and height > 0, "%r has no place on the screen" % self)
        return x + width // 2, y + height // 2

    @property
    def text(self):
        """The text a field shows (its Text interface), else its name."""
        try:
            text = self.acc.queryText()
        except NotImplementedError:
            return self.name
        return text.getText(0, text.characterCount)

    def children(self):
        found = []
        for i in range(self.acc.childCount):
            child = self.acc.getChildAtIndex(i)
            if child is not None:
                found.append(Widget(self.session, child))
        return found

    def find_all(self, role=None, name=None, lines=False, showing=True):
        """Every descendant with that role and name (a text or a compiled pattern),
        in tree order; lines of lists only when `lines` is set."""
        found = []
        stack = self._children_reversed(self.acc)
        while stack:
            acc = stack.pop()
            acc_role = acc.getRoleName()
            if (role is None or acc_role == role) and _named(acc, acc_role, name):
                widget = Widget(self.session, acc)
                if not showing or widget.showing:
                    found.append(widget)
            if lines or acc_role not in CONTAINERS_OF_LINES:
                stack += self._children_reversed(acc)
        return found

    @staticmethod
    def _children_reversed(acc):
        children = (acc.getChildAtIndex(i) for i in reversed(range(acc.childCount)))
        return [child for child in children if child is not None]

    def find(self, role, name=None, timeout=TIMEOUT, lines=False):
        """The one showing descendant with that role and name, waited for."""
        def probe():
            found = self.find_all(role, name, lines=lines or role in LINE_ROLES)
            if len(found) > 1:
                raise JourneyFailed("%d widgets are %s %r in %r: %r" % (len(found), role, _shown(name), self, found))
            return found[0] if found else None
        return poll("a %s named %r in %r" % (role, _shown(name), self), probe, timeout)

    def label_text(self):
        """All label texts inside, joined by newlines (a message box's text)."""
        return "\n".join(label.text for label in self.find_all("label"))

    # -- real input ---------------------------------------------------------------

    def top_level(self):
        """The program's window that holds this widget."""
        acc = self.acc
        while acc.parent is not None and acc.parent.getRoleName() != "application":
            acc = acc.parent
        return Widget(self.session, acc)

    def click(self, button=1, times=1):
        self.scroll_into_view()
        x, y = self.centre()
        self.session.bring_forward(self.top_level(), x, y)
        self.session.x.click(x, y, button, times)
        return self

    def scroll_into_view(self):
        """Turns the mouse wheel over the scroll bars of the scroll area that hides this
        widget's centre until it shows, as a person would."""
        for _ in range(60):
            clip = self._clipping_ancestor()
            if clip is None:
                return
            x, y = self.centre()
            left, top, width, height = clip.extents()
            # The scroll area's bars sit beside its viewport (each in a holder of its own).
            siblings = [Widget(self.session, a) for a in Widget._children_reversed(clip.acc.parent)]
            viewport = clip.acc.getIndexInParent()
            bars = [bar for sibling in siblings if sibling.acc.getIndexInParent() != viewport
                    for bar in [sibling] + sibling.find_all("scroll bar") if bar.role == "scroll bar"]
            vertical = not top <= y < top + height
            bar = next((b for b in bars if b.showing and (b.extents()[3] > b.extents()[2]) == vertical), None)
            expect(bar is not None, "%r is hidden in %r, which has no scroll bar to bring it out" % (self, clip))
            wheel = (5 if y >= top + height else 4) if vertical else (7 if x >= left + width else 6)
            self.session.x.click(*bar.centre(), wheel)
        raise JourneyFailed("%r stays hidden after 60 turns of the mouse wheel" % self)

    def _clipping_ancestor(self):
        """The nearest ancestor (a scroll area's viewport) that does not show this widget's centre, or None."""
        x, y = self.centre()
        acc = self.acc.parent
        # A combo box's list is a popup window of its own, outside the box.
        while acc is not None and acc.getRoleName() not in ("application", "combo box"):
            left, top, width, height = Widget(self.session, acc).extents()
            if not (left <= x < left + width and top <= y < top + height):
                return Widget(self.session, acc)
            acc = acc.parent
        return None

    def double_click(self):
        return self.click(times=2)

    def focus(self):
        """Clicks into the field and waits until it has the keyboard focus."""
        self.click()
        try:
            poll("keyboard focus", lambda: self.has_state(_atspi().STATE_FOCUSED))
        except JourneyFailed:
            raise JourneyFailed("%r did not take the keyboard focus when clicked" % self) from None
        return self

    def replace_text(self, text):
        """Clicks into the field, selects what it holds and types `text` over it."""
        self.focus()
        self.session.key("ctrl+a")
        self.session.type(text)
        return self

    def wait_text(self, expected, timeout=TIMEOUT):
        """Waits until the field shows `expected`; fails naming what it shows."""
        try:
            return poll("%r to read %r" % (self, expected), lambda: self.text == expected, timeout)
        except JourneyFailed:
            raise JourneyFailed("%r reads %r, expected %r" % (self, self.text, expected)) from None

    def wait_gone(self, timeout=TIMEOUT):
        def gone():
            try:
                return not self.showing or self.acc.getIndexInParent() < 0
            except Exception:
                return True
        poll("%r to close" % self, gone, timeout)


def _shown(name):
    return name.pattern if isinstance(name, re.Pattern) else name


# ---- X input --------------------------------------------------------------------

class XInput:
    """Mouse and keyboard as XTest events, through xdotool."""

    def __init__(self, env):
        self.env = env

    def _run(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, check=True, timeout=TIMEOUT,
                              stdout=subprocess.PIPE, text=True).stdout

    def windows(self, pid):
        """{(x, y, width, height): X window id} of the process's mapped windows."""
        found = {}
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=self.env,
                             timeout=TIMEOUT, stdout=subprocess.PIPE, text=True).stdout.split()
        for window in ids:
            shell = dict(line.split("=", 1) for line in self._run("getwindowgeometry", "--shell", window).split())
            found[tuple(int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))] = window
        return found

    def window_at(self, x, y):
        """The X window under the point (the pointer is moved there)."""
        self.move(x, y)
        return self._pointer().get("WINDOW")

    def raise_window(self, window):
        self._run("windowraise", window)

    def _pointer(self):
        return dict(line.split("=", 1) for line in self._run("getmouselocation", "--shell").split())

    def move(self, x, y):
        """Moves the pointer and waits until it is there (--sync would wait forever for no move)."""
        here = self._pointer()
        if (int(here["X"]), int(here["Y"])) != (x, y):
            self._run("mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1, times=1):
        self.move(x, y)
        self._run("click", "--repeat", str(times), "--delay", "80", str(button))

    def key(self, *keys):
        self._run("key", "--delay", "30", *keys)

    def type(self, text):
        self._run("type", "--delay", "15", "--", text)


# ---- the session ----------------------------------------------------------------

def ini_value(text):
    """A QSettings INI value that reads back exactly as written."""
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


class Session:
    """One run of the program for one journey: its folders, its process, its windows."""

    def __init__(self, name, options, work):
        self.name = name
        self.app_path = os.path.abspath(options.app)
        self.cli_path = os.path.abspath(options.cli)
        self.artifacts = options.artifacts
        self.work = work
        self.config_home = os.path.join(work, "config")
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, XDG_CONFIG_HOME=self.config_home, XDG_RUNTIME_DIR=runtime,
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                        QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE",
                         "TAGWARDEN_SCREENSHOT_DIR"):
            self.env.pop(variable, None)
        self.x = XInput(self.env)
        self.scale = 1.0
        self.process = None
        self.log = None
        self.app = None
        self.shots = 0

    def scale_by(self, factor):
        """Runs the program at `factor` times the normal size (before it starts)."""
        self.scale = factor
        self.env["QT_SCALE_FACTOR"] = str(factor)

    # -- files --------------------------------------------------------------------

    @property
    def settings_path(self):
        return os.path.join(self.config_home, "Bramblewick", "Tagwarden.conf")

    def write_settings(self, tags_dir, backup_dir):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", encoding="utf-8") as ini:
            ini.write("[Settings]\nVornPath=%s\nBackup=%s\nASCII=0\nAllowMods=1\nOverwrite=0\n"
                      % (ini_value(tags_dir), ini_value(backup_dir)))

    def read_settings(self):
        """The [Settings] group of the settings file as {key: value}, quotes undone."""
        values, group = {}, None
        with open(self.settings_path, encoding="utf-8") as ini:
            for line in ini.read().splitlines():
                if line.startswith("["):
                    group = line.strip("[]")
                elif "=" in line and group == "Settings":
                    key, value = line.split("=", 1)
                    if value.startswith('"') and value.endswith('"'):
                        value = re.sub(r"\\(.)", r"\1", value[1:-1])
                    values[key] = value
        return values

    def make_sample(self):
        """A sample tags directory (tags.gor and local/ plug-ins); answers its path with a trailing /."""
        sample = os.path.join(self.work, "sample")
        subprocess.run([self.cli_path, "make-sample", sample], check=True, timeout=TIMEOUT,
                       stdout=subprocess.DEVNULL)
        return sample + "/"

    # -- the program --------------------------------------------------------------

    def start(self):
        """Starts the program (again, after it ended) and waits for it on the accessibility bus."""
        if self.log:
            self.log.close()
        self.log = open(os.path.join(self.work, "tagwarden.log"), "w+b")
        self.process = subprocess.Popen([self.app_path], env=self.env, cwd=self.work,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.app = poll("the program to appear on the accessibility bus", self._find_app, timeout=20)
        return self

    def _find_app(self):
        expect(self.process.poll() is None, "the program ended at start with code %s" % self.process.returncode)
        desktop = _atspi().Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid and app.childCount > 0:
                return Widget(self, app)
        return None

    def bring_forward(self, window, x, y):
        """Raises `window` when another window of the program covers the point (x, y),
        as a person would by clicking its title bar; there is no window manager here."""
        x_windows = self.x.windows(self.process.pid)
        mine = x_windows.get(window.extents())
        others = {x_windows.get(w.extents()) for w in self.windows()} - {mine, None}
        if mine is None or self.x.window_at(x, y) not in others:
            return  # not covered, or covered by a popup of its own (a combo box's list)
        self.x.raise_window(mine)
        poll("%r to come to the front" % window, lambda: self.x.window_at(x, y) == mine)

    def windows(self):
        """The program's showing top-level windows, last shown last."""
        expect(self.process.poll() is None, "the program has ended (exit code %s)" % self.process.returncode)
        return [w for w in self.app.children() if w.showing]

    def window(self, title, role=None, timeout=TIMEOUT, containing=None, holding=None):
        """The showing top-level window with that title (and role, and a label containing
        `containing`, and a widget `holding` = (role, name))."""
        def probe():
            for w in reversed(self.windows()):
                if _matches(w.name, title) and (role is None or w.role == role) and \
                        (containing is None or containing in w.label_text()) and \
                        (holding is None or w.find_all(*holding)):
                    return w
            return None
        what = "a %s" % {None: "window", "alert": "message box"}.get(role, role) + \
            (" titled %r" % _shown(title) if title is not ANY else "") + \
            (" saying %r" % containing if containing else "") + \
            (" holding a %s %r" % (holding[0], _shown(holding[1])) if holding else "")
        try:
            return poll(what, probe, timeout)
        except JourneyFailed as failure:
            if self.process.poll() is not None:
                raise JourneyFailed("%s while waiting for %s" % (failure, what)) from None
            raise JourneyFailed("waited %.0f s for %s; showing: %r" % (timeout, what, self.windows())) from None

    def message_box(self, containing, timeout=TIMEOUT):
        """A message box (caption "Tagwarden" unless said otherwise) whose text contains `containing`."""
        return self.window(ANY, role="alert", containing=containing, timeout=timeout)

    def choose_file(self, path, title=ANY):
        """Answers the file dialog that is showing: types `path` as the file name, then Enter."""
        dialog = self.window(title, role="dialog", holding=("text", FILE_NAME))
        field = dialog.find("text", FILE_NAME)
        field.replace_text(path)
        field.wait_text(path)
        self.key("Return")
        dialog.wait_gone()

    def key(self, *keys):
        """Key presses to the window that has the keyboard focus (xdotool names: Return, Escape, ctrl+a)."""
        self.x.key(*keys)

    def type(self, text):
        """Typed text to the widget that has the keyboard focus."""
        self.x.type(text)

    def exit_code(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise JourneyFailed("the program still runs %.0f s after it was told to end; showing: %r"
                                % (timeout, self.windows())) from None

    def expect_exit(self, timeout=TIMEOUT):
        code = self.exit_code(timeout)
        expect(code == 0, "the program ended with code %d (log: %s)" % (code, self.program_log()))

    def program_log(self):
        if not self.log:
            return ""
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")[-2000:]

    # -- evidence -----------------------------------------------------------------

    def screenshot(self, label):
        """The whole screen as a PNG in the artifacts folder; answers its path."""
        self.shots += 1
        path = os.path.join(self.artifacts, "%s-%02d-%s.png" % (self.name, self.shots, label))
        subprocess.run(["import", "-window", "root", path], env=self.env, timeout=TIMEOUT, check=False)
        return path

    def tree_text(self):
        lines = []
        def walk(widget, depth):
            try:
                extents = widget.extents()
            except Exception:
                extents = None
            name = widget.name
            lines.append("%s[%s] %r %s" % ("  " * depth, widget.role, name if len(name) < 200 else name[:200] + "...",
                                           extents))
            if widget.role not in CONTAINERS_OF_LINES:
                for child in widget.children():
                    walk(child, depth + 1)
        if self.app is not None:
            walk(self.app, 0)
        return "\n".join(lines)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(TIMEOUT)
        if self.log:
            self.log.close()


# ---- files on disk ----------------------------------------------------------------

def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def expect_bytes(path, before, changes, what):
    """The file at `path` is `before` with `changes` ({offset: bytes}) written over it, nothing else."""
    after = bytearray(before)
    for offset, data in changes.items():
        after[offset:offset + len(data)] = data
    actual = read_bytes(path)
    if actual == bytes(after):
        return
    differing = [i for i in range(min(len(actual), len(after))) if actual[i] != after[i]]
    raise JourneyFailed("%s: %s holds %d bytes, expected %d; %d bytes differ from the expected, first at %s "
                        "(file %s, expected %s, before %s)" % (
                            what, path, len(actual), len(after), len(differing),
                            differing[:8], [actual[i] for i in differing[:8]], [after[i] for i in differing[:8]],
                            [before[i] if i < len(before) else None for i in differing[:8]]))


# ---- running a journey ------------------------------------------------------------

def _options():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True, help="the built tagwarden program")
    parser.add_argument("--cli", required=True, help="the built tagwarden-cli program")
    parser.add_argument("--artifacts", required=True, help="folder for screenshots")
    return parser.parse_args()


def main(journey):
    options = _options()
    os.makedirs(options.artifacts, exist_ok=True)
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    if os.environ.get(INNER):
        sys.exit(_run_inside(journey, name, options))
    sys.exit(_supervise(name, options))


def _supervise(name, options):
    """Starts a display of its own, runs the journey in a D-Bus session on it, cleans up."""
    for old in glob.glob(os.path.join(options.artifacts, glob.escape(name) + "[-.]*")):
        os.remove(old)  # what an earlier run left
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi for %s (Debian's /usr/bin/python3 has it)" % sys.executable)
    if missing:
        print("missing %s: run scripts/install-deps.sh" % ", ".join(missing))
        return 1
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_end)
    try:
        display = _read_display(read_end, xvfb)
        env = dict(os.environ, DISPLAY=":" + display, **{INNER: "1"})
        env.pop("WAYLAND_DISPLAY", None)
        # The bus daemons chatter on the session's output; the journey writes its report to a file.
        report = os.path.join(options.artifacts, name + ".log")
        journey = subprocess.Popen(["dbus-run-session", "--", sys.executable, *sys.argv],
                                   env=dict(env, **{REPORT: report}), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            code = journey.wait(JOURNEY_LIMIT)
            _print_file(report)
            return code
        except subprocess.TimeoutExpired:
            _print_file(report)
            subprocess.run(["import", "-window", "root", os.path.join(options.artifacts, name + "-overrun.png")],
                           env=env, timeout=TIMEOUT, check=False)
            print("FAILED %s: still running after %d s; screen: %s"
                  % (name, JOURNEY_LIMIT, os.path.join(options.artifacts, name + "-overrun.png")))
            return 1
        finally:
            _kill_group(journey)
    finally:
        os.close(read_end)
        _kill_group(xvfb)


def _print_file(path):
    if os.path.exists(path):
        with open(path, encoding="utf-8", errors="replace") as f:
            sys.stdout.write(f.read())
        sys.stdout.flush()


def _read_display(fd, xvfb):
    number = b""
    deadline = time.monotonic() + TIMEOUT
    while not number.endswith(b"\n"):
        expect(xvfb.poll() is None, "Xvfb ended at start")
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        expect(ready, "Xvfb named no display within %.0f s" % TIMEOUT)
        chunk = os.read(fd, 16)
        expect(chunk, "Xvfb closed its display pipe")
        number += chunk
    return number.decode().strip()


def _kill_group(process):
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait(TIMEOUT)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            os.killpg(process.pid, signal.SIGKILL)
            process.wait(TIMEOUT)


def _run_inside(journey, name, options):
    with open(os.environ[REPORT], "w", encoding="utf-8") as report:
        os.dup2(report.fileno(), sys.stdout.fileno())
        os.dup2(report.fileno(), sys.stderr.fileno())
    sys.stdout.reconfigure(line_buffering=True)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="tagwarden-e2e-") as work:
        session = Session(name, options, work)
        try:
            journey(session)
        except Exception as error:
            shot = session.screenshot("failure")
            tree = os.path.join(options.artifacts, name + "-failure-tree.txt")
            try:
                with open(tree, "w", encoding="utf-8") as f:
                    f.write(session.tree_text())
            except Exception:
                tree = "(the accessibility tree could not be read)"
            if not isinstance(error, JourneyFailed):
                traceback.print_exc()
            print("FAILED %s: %s\n  screen: %s\n  accessibility tree: %s" % (name, error, shot, tree))
            log = session.program_log()
            if log.strip():
                print("  program output:\n" + log)
            return 1
        finally:
            session.stop()
    print("PASSED %s in %.1f s" % (name, time.monotonic() - started))
    return 0
