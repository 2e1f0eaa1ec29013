"""End-to-end harness: the real programs in a fresh program folder under Wine.

Each test gets its own folder holding copies of the built programs, starts them
with a clean state, drives them from outside through fldrive.exe (FindWindow,
SendMessage/PostMessage, SendInput, clipboard, screen pixels) and ends only the
processes it started, by process id.

    class FrameTests(harness.E2ETestCase):
        def test_opens(self):
            self.folder.start("-s")
            info = self.drive_ok("wait", "Framlet5", "15000", "visible")
"""
import atexit
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest

SOURCE_DIR = os.environ.get("FRAMLET_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
BUILD_DIR = os.environ.get("FRAMLET_BUILD_DIR", os.path.join(SOURCE_DIR, "build", "win"))
RUNS_DIR = os.path.join(BUILD_DIR, "e2e-runs")


def use_test_desktop():
    """A test that ctest runs on one of the test desktops (scripts/desktops.sh)
    takes that desktop's display, prefix and print server."""
    given, folder = os.environ.get("CTEST_RESOURCE_GROUP_0_DESKTOPS"), os.environ.get("FRAMLET_DESKTOPS")
    if not given or not folder:
        return
    desktop = given.split(",")[0].split(":", 1)[1]
    with open(os.path.join(folder, desktop, "env"), encoding="utf-8") as f:
        for line in f:
            match = re.match(r"export (\w+)='(.*)'$", line.strip())
            if match:
                os.environ[match.group(1)] = match.group(2)


use_test_desktop()


def wine_env():
    env = dict(os.environ)
    env["WINEPREFIX"] = os.environ.get("FRAMLET_WINEPREFIX", os.path.join(BUILD_DIR, "wineprefix"))
    env["WINEARCH"] = "win64"
    env.setdefault("WINEDEBUG", "-all")
    env["LANG"] = "ko_KR.UTF-8"
    env["LC_ALL"] = "ko_KR.UTF-8"
    env.setdefault("WINEDLLOVERRIDES", "mscoree=;winemenubuilder.exe=d")
    return env


ENV = wine_env()
_prepared = False


def prepare_wine():
    """Makes the prefix once and keeps the wineserver up between test steps."""
    global _prepared
    if _prepared:
        return
    subprocess.run(["bash", "-c", 'source "$0/scripts/wine-env.sh"; framlet_wine_prefix', SOURCE_DIR],
                   env=ENV, check=True)
    # A persistent server makes each wine start cheap; it ends itself 15 s after the last client.
    subprocess.run(["wineserver", "-p15"], env=ENV, check=False)
    _prepared = True
    # Start the session's own processes (services, the desktop) now, from a
    # program whose output goes to a file, so that no later pipe is held by them.
    drive_once("screen")


class _Ids:
    """Control, command and resource numbers read from the program's own headers
    (core/command_ids.h, resources/resource.h), so the scripts name them as the
    code does: ids.IDC_ALWAYS_TOP, ids.ID_OPEN_OPTIONS, ids.WM_TRAY_NOTIFY."""

    HEADERS = ("core/command_ids.h", "resources/resource.h")

    def __init__(self):
        self._values = {}
        for header in self.HEADERS:
            with open(os.path.join(SOURCE_DIR, header), encoding="utf-8") as f:
                for line in f:
                    match = re.match(r"\s*#define\s+([A-Za-z_]\w*)\s+(.+?)\s*(//.*)?$", line)
                    if match:
                        value = self._number(match.group(2))
                        if value is not None:
                            self._values[match.group(1)] = value

    @staticmethod
    def _number(text):
        """A plain number or a small constant sum such as (0x0400 + 10); None otherwise."""
        if not re.fullmatch(r"[\s()+\-|x0-9A-Fa-f]+", text) or not re.search(r"[0-9]", text):
            return None
        try:
            return int(eval(text, {"__builtins__": {}}, {}))  # digits, hex, + - | and brackets only
        except (SyntaxError, ValueError, TypeError):
            return None

    def __getattr__(self, name):
        try:
            return self._values[name]
        except KeyError:
            raise AttributeError("%s is not defined in %s" % (name, " or ".join(self.HEADERS))) from None


ids = _Ids()


def built(relative):
    path = os.path.join(BUILD_DIR, relative)
    if not os.path.exists(path):
        raise AssertionError("not built: %s (build the mingw preset first)" % path)
    return path


def unix_to_windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Ini:
    """A profile file read the way the program writes it (code page 949)."""

    def __init__(self, path):
        self.path = path
        self.sections = {}
        self.order = []  # (section, key) in file order
        if os.path.exists(path):
            section = None
            with open(path, "rb") as f:
                text = f.read().decode("cp949", errors="replace")
            for line in text.splitlines():
                line = line.strip()
                if line.startswith("[") and line.endswith("]"):
                    section = line[1:-1].upper()
                    self.sections.setdefault(section, {})
                elif "=" in line and section is not None:
                    key, value = line.split("=", 1)
                    self.sections[section][key.strip().upper()] = value.strip()
                    self.order.append((section, key.strip().upper()))

    def get(self, section, key, default=None):
        return self.sections.get(section.upper(), {}).get(key.upper(), default)


def write_ini(path, sections):
    """sections: {"OPTION": {"ALWAYS_TOP": "TRUE"}, ...}; written in code page 949."""
    lines = []
    for section, values in sections.items():
        lines.append("[%s]" % section)
        for key, value in values.items():
            lines.append("%s=%s" % (key, value))
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp949"))


class Process:
    def __init__(self, popen, name):
        self.popen = popen
        self.name = name

    @property
    def pid(self):
        return self.popen.pid

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.popen.poll() is None:
            try:
                os.kill(self.popen.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                self.popen.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.kill(self.popen.pid, signal.SIGKILL)
                self.popen.wait(timeout=5)


class ProgramFolder:
    """A fresh program folder with copies of the programs: the capture program
    and a stand-in updater, or (real_updater) the built updater; with
    standin_capture a stand-in takes the capture program's name. With nested
    the programs sit one folder down (root/prog), so that a path the programs
    are led out of their folder by stays inside the test's own root."""

    def __init__(self, name, real_updater=False, standin_capture=False, nested=False):
        self.root = os.path.join(RUNS_DIR, name)
        shutil.rmtree(self.root, ignore_errors=True)
        self.path = os.path.join(self.root, "prog") if nested else self.root
        os.makedirs(self.path)
        if standin_capture:
            self.add_standin("framlet5.exe")
        else:
            shutil.copy(built("app/framlet5.exe"), self.path)
        if real_updater:
            shutil.copy(built("updater/framletup.exe"), self.path)
            # The real updater asks a local address that refuses at once, never the internet.
            self.write_hosts("http://127.0.0.1:9")
        else:
            self.add_standin("framletup.exe")
        self.processes = []

    def add_standin(self, file_name):
        """Puts a stand-in program under file_name; it logs its starts to file_name + '.log'."""
        shutil.copy(built("tests/standin.exe"), os.path.join(self.path, file_name))

    def standin_starts(self, file_name, folder=None):
        return read_lines(os.path.join(folder or self.path, file_name + ".log"))

    def write_hosts(self, base, folder=None, stall_ms=None):
        """The updater's server addresses (update_hosts.ini beside it) and,
        given, how long its downloads may receive nothing."""
        with open(os.path.join(folder or self.path, "update_hosts.ini"), "w") as f:
            f.write("[HOSTS]\r\nUPDATE=%s\r\nCOMPONENT=%s\r\n" % (base, base))
            if stall_ms is not None:
                f.write("STALLMS=%d\r\n" % stall_ms)

    def file(self, *parts):
        return os.path.join(self.path, *parts)

    @property
    def ini_path(self):
        return self.file("framlet.ini")

    def ini(self):
        return Ini(self.ini_path)

    def write_ini(self, sections):
        write_ini(self.ini_path, sections)

    def start(self, *args, program="framlet5.exe", env=None):
        """Starts a program of the folder (or one given by its full path, in
        its own folder) with `env` added to the prefix's environment."""
        prepare_wine()
        path = self.file(program)
        popen = subprocess.Popen(["wine", path] + list(args), cwd=os.path.dirname(path), env=dict(ENV, **(env or {})),
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        proc = Process(popen, os.path.basename(path))
        self.processes.append(proc)
        return proc

    def stop_all(self):
        for proc in reversed(self.processes):
            proc.stop()
        self.processes = []


def read_lines(path):
    """The non-empty lines of a code-page-949 text file; [] when there is none."""
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        return [line for line in f.read().decode("cp949", errors="replace").splitlines() if line]


class _Driver:
    """One fldrive.exe in serve mode for the whole test file: a command a line on
    its stdin, the answer closed by a line "\\x1e<exit code>". Starting a Wine
    process costs far more than any command. A driver that does not answer in
    time is ended (by its process id) and the next command starts a new one."""

    def __init__(self):
        self.proc = None
        # What Wine and the driver print on errors, for the message of a driver
        # that ends unexpectedly.
        self.errors = os.path.join(tempfile.gettempdir(), "fldrive-%d.err" % os.getpid())

    def _start(self):
        with open(self.errors, "wb") as errors:
            self.proc = subprocess.Popen(["wine", built("tests/fldrive.exe"), "serve"], env=ENV, bufsize=0,
                                         stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=errors)

    def _ended(self, when, args):
        try:
            code = self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            code = None
        self.stop()
        try:
            with open(self.errors, "rb") as f:
                printed = f.read()[-2000:].decode("utf-8", errors="replace")
        except OSError:
            printed = ""
        return RuntimeError("fldrive ended %s the command %s (exit code %s); it printed: %r"
                            % (when, " ".join(args), code, printed))

    def stop(self):
        proc, self.proc = self.proc, None
        if proc is None:
            return
        try:
            proc.stdin.close()
            proc.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            proc.kill()
            proc.wait(timeout=5)
        proc.stdout.close()

    def call(self, args, timeout):
        for arg in args:
            if "\t" in arg or "\n" in arg:
                raise ValueError("a driver argument holds a tab or a line break: %r" % arg)
        if self.proc is None or self.proc.poll() is not None:
            self._start()
        try:
            self.proc.stdin.write(("\t".join(args) + "\n").encode("utf-8"))
        except BrokenPipeError:
            raise self._ended("before", args)
        fd = self.proc.stdout.fileno()
        deadline = time.time() + timeout
        answer = b""
        while True:
            end = answer.rfind(b"\x1e")
            if end >= 0 and answer.endswith(b"\n"):
                rc = int(answer[end + 1:].strip())
                return rc, answer[:end].decode("utf-8", errors="replace").strip()
            left = deadline - time.time()
            ready = select.select([fd], [], [], max(left, 0))[0] if left > 0 else []
            if not ready:
                self.stop()
                raise subprocess.TimeoutExpired(["fldrive"] + list(args), timeout)
            chunk = os.read(fd, 65536)
            if not chunk:
                raise self._ended("during", args)
            answer += chunk


_driver = _Driver()
atexit.register(_driver.stop)


def drive(*args, timeout=60):
    """Runs one fldrive.exe command with the arguments; returns (exit code, stdout).
    Pointer commands (move, click, dblclick, drag) are made as X input."""
    prepare_wine()
    args = [str(a) for a in args]
    if args and args[0] in _POINTER_COMMANDS:
        return _POINTER_COMMANDS[args[0]](*args[1:])
    return _driver.call(args, timeout)


# The pointer is moved and pressed through the X server's test extension, as a
# real mouse does, not by the driver: under Wine a window covering the whole
# screen holds X's pointer grab, so no other program can place X's pointer
# (SetCursorPos does not move it), and Wine takes its own pointer back from X
# whenever it has not changed for a moment, which undoes a position injected
# with SendInput. X delivers the events in order to the program whose window is
# under the pointer (or that holds the grab), and that program hands them to
# Wine in the same order, each with its own position.
def _xdotool(*args):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], env=os.environ, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30)
    return result.returncode, result.stderr.decode("utf-8", "replace").strip()


# How long the system may take to hand on an input event that must arrive. The
# waits end as soon as it does; the margin is for a loaded machine.
_INPUT_MS = "10000"


def _pointer_at(x, y):
    """Moves X's pointer and waits until Windows programs see it there."""
    rc, err = _xdotool("mousemove", x, y)
    if rc != 0:
        return rc, err
    return _driver.call(["pointer_at", str(x), str(y), _INPUT_MS], 30)


def _move(x, y):
    return _pointer_at(x, y)


def _press(button, down):
    """A button pressed or released, once the system has it (keys sent after it
    come after it). A press that closes the window under the pointer (the
    window picker takes its window at the press) leaves X to send the release
    to the bare desktop, where no program hands it on: the release is then not
    waited for beyond a moment."""
    rc, err = _xdotool("mousedown" if down else "mouseup", 3 if button == "right" else 1)
    if rc != 0:
        return rc, err
    rc, _ = _driver.call(["button", button, "down" if down else "up", _INPUT_MS if down else "2000"], 30)
    if rc != 0 and down:
        return rc, "the %s button never went down" % button
    return 0, ""


def _click(x, y, which="left"):
    rc, out = _pointer_at(x, y)
    for down in (True, False):
        if rc == 0:
            rc, out = _press(which, down)
    return rc, out


def _dblclick(x, y):
    """Both clicks in one burst of X events, 60 ms apart as a hand makes them.
    The system tells a double click by the events' own times, and X stamps
    them as they are made: clicks sent one by one, each waited for, can fall
    further apart than the double-click time on a busy machine."""
    rc, out = _pointer_at(x, y)
    if rc != 0:
        return rc, out
    rc, err = _xdotool("click", "--repeat", 2, "--delay", 60, 1)
    if rc != 0:
        return rc, err
    _driver.call(["button", "left", "up", "2000"], 30)
    return 0, ""


def _drag(x1, y1, x2, y2, steps=10):
    """Presses at the start, moves in steps and releases at the end; fails (1)
    if nothing took the mouse after the press."""
    x1, y1, x2, y2 = int(x1), int(y1), int(x2), int(y2)
    rc, out = _pointer_at(x1, y1)
    if rc == 0:
        rc, out = _press("left", True)
    if rc != 0:
        return rc, out
    captured, _ = _driver.call(["captured", str(x1), str(y1), _INPUT_MS], 30)
    moves = []
    for i in range(1, steps + 1):
        moves += ["mousemove", x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps]
    _xdotool(*moves)
    rc, out = _press("left", False)
    _driver.call(["released", str(x2), str(y2), "2000"], 30)
    if rc != 0:
        return rc, out
    return (0, "") if captured == 0 else (1, "nothing took the mouse at %d,%d" % (x1, y1))


_POINTER_COMMANDS = {"move": _move, "click": _click, "dblclick": _dblclick, "drag": _drag}


def drive_once(*args, timeout=60):
    """Runs fldrive.exe once for one command, in a process of its own."""
    # Output through a file, not a pipe: when this is the first Wine program of
    # a session, the session's own processes inherit its handles and would hold
    # a pipe open until they end.
    with tempfile.TemporaryFile() as out:
        result = subprocess.run(["wine", built("tests/fldrive.exe")] + [str(a) for a in args], env=ENV,
                                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return result.returncode, out.read().decode("utf-8", errors="replace").strip()


def registry_set(key, values):
    """Creates the key and sets its values: {name: text or int (a DWORD)};
    the name "" is the key's default value. A key is "HKCU\\path" or
    "HKLM\\path" (or the long root names), ":32" or ":64" at its end picking
    that registry view; the running driver makes the edit."""
    args = []
    for name, value in values.items():
        args += [name, "dword:%d" % value if isinstance(value, int) else value]
    rc, out = drive("reg_set", key, *args)
    if rc != 0:
        raise AssertionError("registry values not set under %s: %s" % (key, out))


def registry_get(key, name):
    """A string or DWORD value as text; None when the key or value is not there."""
    rc, out = drive("reg_get", key, name)
    return out if rc == 0 else None


def registry_delete(key, *names):
    """Deletes the values named, or without names the key and all below it;
    what is not there is no error."""
    rc, out = drive("reg_delete", key, *names)
    if rc != 0:
        raise AssertionError("registry %s not deleted under %s: %s" % (names or "key", key, out))


def parse_info(line):
    """'hwnd=.. visible=1 rect=l,t,r,b ...' -> dict with ints and tuples."""
    out = {}
    for part in line.split():
        if "=" not in part:
            continue
        key, value = part.split("=", 1)
        if "," in value:
            out[key] = tuple(int(v) for v in value.split(","))
        else:
            try:
                out[key] = int(value, 16) if key in ("hwnd", "style", "exstyle") else int(value)
            except ValueError:
                out[key] = value
    return out


def wait_until(predicate, timeout=10.0, interval=0.05):
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() >= deadline:
            return value
        time.sleep(interval)


def holds(predicate, seconds, interval=0.05):
    """True when predicate() stays true for the whole time given: for what must
    not happen (a stopped timer writing again), which no condition can announce."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if not predicate():
            return False
        time.sleep(interval)
    return bool(predicate())


class Screen:
    """The whole X display at one moment (ImageMagick's import), pixel by pixel."""

    def __init__(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60).stdout
        # P6 <width> <height> 255, one blank each, then RGB bytes.
        fields = data.split(maxsplit=4)
        if fields[0] != b"P6" or fields[3] != b"255":
            raise AssertionError("unexpected picture from import: %r" % data[:20])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.ppm = data
        self.pixels = fields[4]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def save(self, path):
        """Writes the picture as a PNG for a person to look at."""
        subprocess.run(["convert", "ppm:-", path], input=self.ppm, check=True, timeout=60)
        return path


def bmp_pixel(path, x, y):
    """A pixel (r, g, b) of an uncompressed 24-bit BMP file."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise AssertionError("%s is not an uncompressed 24-bit picture" % path)
    row = (width * 3 + 3) // 4 * 4
    line = height - 1 - y if height > 0 else y
    b, g, r = data[offset + line * row + x * 3:offset + line * row + x * 3 + 3]
    return r, g, b


def art_pixel(bitmap_id, x, y):
    """A pixel (r, g, b) of the program's own artwork, resources/art/<id>.bmp
    (uncompressed, 24 bits, bottom-up, as tools/draw_art.py writes them)."""
    return bmp_pixel(os.path.join(SOURCE_DIR, "resources", "art", "%d.bmp" % bitmap_id), x, y)


def screenshot(path):
    """Saves the whole X display as a PNG (ImageMagick's import)."""
    subprocess.run(["import", "-window", "root", path], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


# The frame's title. Message boxes are captioned with the program's file name,
# which a lookup by title (not case-sensitive) takes for the frame as well:
# once the frame is open the base class names it by its handle (self.frame).
FRAME = "Framlet5"
# The stored rectangle most tests open the frame at, and its see-through hole
# (the frame inset by 4, 121, 4 and 23) as left, top, width, height.
PLACE = (100, 80, 836, 721)
HOLE = (104, 201, 828, 577)


def rect_of(info):
    """A window's rectangle from its info as left, top, width, height."""
    left, top, right, bottom = info["rect"]
    return left, top, right - left, bottom - top


def rows(out):
    """Driver output of one window a line, parsed."""
    return [parse_info(line) for line in out.splitlines() if line.strip()]


class E2ETestCase(unittest.TestCase):
    """One fresh program folder per test; everything started is ended
    afterwards, and the windows named in `titles` are waited out."""

    folder_layout = {}
    titles = (FRAME,)

    def setUp(self):
        name = "%s.%s" % (type(self).__name__, self._testMethodName)
        self.folder = ProgramFolder(name, **self.folder_layout)
        self.process = None
        self.frame = FRAME

    def tearDown(self):
        self.folder.stop_all()
        # Let the wineserver drop the ended processes' windows and objects: a
        # frame still up would be taken for the next test's frame. On a loaded
        # machine that can take seconds; the wait ends as soon as they are gone.
        for title in self.titles:
            wait_until(lambda: drive("wait_gone", title, "100")[0] == 0, timeout=30)

    def drive_ok(self, *args, **kw):
        rc, out = drive(*args, **kw)
        self.assertEqual(rc, 0, "fldrive %s failed (%d): %s" % (" ".join(map(str, args)), rc, out))
        return out

    def assert_soon(self, read, expected, msg=None, timeout=10.0):
        """Waits until read() gives expected (the program answers input and posted
        messages in its own time), then asserts it."""
        # The value judged is the last one read, not a fresh one: a settings
        # file the program is rewriting at that moment reads as empty.
        seen = []

        def matches():
            seen[:] = [read()]
            return seen[0] == expected
        wait_until(matches, timeout=timeout)
        self.assertEqual(seen[0], expected, msg)

    def screenshot(self, name):
        os.makedirs(os.path.join(BUILD_DIR, "screenshots"), exist_ok=True)
        return screenshot(os.path.join(BUILD_DIR, "screenshots", name + ".png"))

    # The frame, opened as the program opens it.

    def open_frame(self, option=None, place=PLACE, ini=None, settled=False):
        """Writes the settings file (`ini`'s sections, OPTION values, the stored
        rectangle `place` as left, top, width, height, or None for none), starts
        the program and waits until start-up is over: the frame visible and its
        rectangle stored; with `settled`, until frame and stored rectangle are
        `place`. The clipboard is emptied. Returns the frame's info."""
        sections = dict(ini or {})
        if option is not None:
            sections["OPTION"] = option
        if place is not None:
            sections["AUTOPOS_HISTORY"] = dict(zip(("LEFT", "TOP", "WIDTH", "HEIGHT"), map(str, place)))
        if sections:
            self.folder.write_ini(sections)
        self.process = self.folder.start("-s")
        info = self.wait_frame()
        self.frame = "#%x" % info["hwnd"]
        self.started()
        # Start-up ends by storing the frame's rectangle.
        self.assertTrue(wait_until(lambda: self.folder.ini().get("AUTOPOS_HISTORY", "HEIGHT") is not None,
                                   timeout=10), "start-up did not store the frame's rectangle")
        if settled:
            self.wait_rect(place)
        self.drive_ok("clear_clipboard")
        return info

    def started(self):
        """What a test class waits for once the frame shows, before the start-up's end."""

    def wait_frame(self, timeout_ms=20000):
        return parse_info(self.drive_ok("wait", FRAME, str(timeout_ms), "visible"))

    def window_info(self, title=None):
        rc, out = drive("info", title or self.frame)
        return parse_info(out) if rc == 0 else None

    def frame_rect(self):
        return rect_of(self.window_info())

    def frame_shown(self):
        info = self.window_info()
        return info is not None and info["visible"] == 1

    def stored(self):
        """The stored rectangle: numbers, or the text in the file where it is none."""
        ini = self.folder.ini()
        texts = (ini.get("AUTOPOS_HISTORY", key) for key in ("LEFT", "TOP", "WIDTH", "HEIGHT"))
        return tuple(int(t) if t and t.lstrip("-").isdigit() else t for t in texts)

    def wait_rect(self, expected, timeout=10):
        """Waits until both the frame and the stored rectangle are `expected`."""
        seen = {}

        def matches():
            seen["rect"] = self.frame_rect() if self.window_info() else None
            seen["stored"] = self.stored()
            return seen["rect"] == expected and seen["stored"] == expected
        wait_until(matches, timeout=timeout)
        self.assertEqual(seen["rect"], expected, "window rectangle")
        self.assertEqual(seen["stored"], expected, "AUTOPOS_HISTORY")

    def children(self, window=None):
        """The window's direct children."""
        return rows(self.drive_ok("children", window or self.frame))

    def child(self, control_id, window=None):
        """One direct child by its control id, or None."""
        return next((row for row in self.children(window) if row.get("id") == control_id), None)

    def shown(self, control_id, window=None):
        return self.child(control_id, window)["visible"] == 1

    def panels(self):
        """The frame's visible toolbar panels (dialog children)."""
        return [row for row in self.children() if row.get("class") == "#32770" and row["visible"] == 1]

    def popups(self, window=None):
        """The other visible top-level windows of the program."""
        return rows(self.drive_ok("popups", window or self.frame))

    def prompts(self, window=None):
        """The program's other visible windows, its tips left out: its own
        (layered) and the tab strip's, which hovering a button shows in time."""
        return [row for row in self.popups(window)
                if row["layered"] == 0 and row.get("class", "").lower() != "tooltips_class32"]

    def tips(self, window=None):
        """The program's visible tip windows (layered pop-ups)."""
        return [row for row in self.popups(window) if row["layered"] == 1]

    def has_control(self, hwnd, control_id):
        rc, out = drive("children", "#%x" % hwnd)
        return rc == 0 and any(row.get("id") == control_id for row in rows(out))

    def clipboard(self):
        """'bitmap <w> <h>' or 'none'; None while another window holds the clipboard open."""
        rc, out = drive("clipboard")
        return out if rc == 0 else None

    def normal_mode(self):
        """Normal capture: the frame is layered around its see-through hole."""
        return self.window_info()["layered"] == 1

    def enter_normal_mode(self):
        self.drive_ok("click_control", self.frame, ids.IDC_TO_NORMAL_MODE)
        self.assert_soon(self.normal_mode, True, "normal capture", timeout=10)

    # Waits that need no timing.

    def keys_handled(self):
        """A barrier behind the keys sent to the frame: shift+right widens it by
        exactly one pixel in its own key handling, and keys are handled in
        order, so once it has widened every key before it has been handled. A
        modal window one of them opened would take this key instead. (A nudge
        starts from the stored rectangle, which the frame writes as it
        repaints: both are waited for.)"""
        left, top, width, height = self.frame_rect()
        self.wait_rect((left, top, width, height))
        self.drive_ok("key", self.frame, "shift+right")
        self.wait_rect((left, top, width + 1, height))

    def point_at(self, x, y, read, expected, msg=None, timeout=10):
        """Puts the pointer on (x, y) and waits for read() to give expected. A
        window reacts to a move, and none comes when the pointer already sits
        on the point (or the window under it appeared after it got there), so
        every try moves it a pixel off and back."""
        def moved_and_read():
            self.drive_ok("move", x + 1, y)
            self.drive_ok("move", x, y)
            return wait_until(lambda: read() == expected, timeout=1)
        wait_until(moved_and_read, timeout=timeout, interval=0)
        self.assertEqual(read(), expected, msg)


class _TimedResult(unittest.TextTestResult):
    """Writes each case's time after its result, to see where a run's time goes."""

    def startTest(self, test):
        self._started = time.time()
        super().startTest(test)

    def stopTest(self, test):
        super().stopTest(test)
        self.stream.writeln("case time %.2f s %s" % (time.time() - self._started, test.id()))


def main():
    unittest.main(module="__main__", verbosity=2,
                  testRunner=unittest.TextTestRunner(resultclass=_TimedResult, verbosity=2))
