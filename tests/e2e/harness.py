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
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE_DIR = os.environ.get("FRAMLET_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
BUILD_DIR = os.environ.get("FRAMLET_BUILD_DIR", os.path.join(SOURCE_DIR, "build", "win"))
RUNS_DIR = os.path.join(BUILD_DIR, "e2e-runs")


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
    drive("screen")


def built(relative):
    path = os.path.join(BUILD_DIR, relative)
    if not os.path.exists(path):
        raise unittest.SkipTest("not built: " + relative)
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
    """A fresh program folder with copies of the programs."""

    def __init__(self, name, real_updater=False):
        self.path = os.path.join(RUNS_DIR, name)
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(self.path)
        shutil.copy(built("app/framlet5.exe"), self.path)
        updater = os.path.join(BUILD_DIR, "updater", "framletup.exe")
        if real_updater and os.path.exists(updater):
            shutil.copy(updater, self.path)
        else:
            self.add_standin("framletup.exe")
        self.processes = []

    def add_standin(self, file_name):
        """Puts a stand-in program under file_name; it logs its starts to file_name + '.log'."""
        shutil.copy(built("tests/standin.exe"), os.path.join(self.path, file_name))

    def standin_starts(self, file_name):
        log = os.path.join(self.path, file_name + ".log")
        if not os.path.exists(log):
            return []
        with open(log, "rb") as f:
            return [l for l in f.read().decode("cp949", errors="replace").splitlines() if l]

    def file(self, *parts):
        return os.path.join(self.path, *parts)

    @property
    def ini_path(self):
        return self.file("framlet.ini")

    def ini(self):
        return Ini(self.ini_path)

    def write_ini(self, sections):
        write_ini(self.ini_path, sections)

    def start(self, *args, program="framlet5.exe"):
        prepare_wine()
        popen = subprocess.Popen(["wine", self.file(program)] + list(args), cwd=self.path, env=ENV,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        proc = Process(popen, program)
        self.processes.append(proc)
        return proc

    def stop_all(self):
        for proc in reversed(self.processes):
            proc.stop()
        self.processes = []


def drive(*args, timeout=60):
    """Runs fldrive.exe with the arguments; returns (exit code, stdout)."""
    prepare_wine()
    # Output through a file, not a pipe: when this is the first Wine program of
    # a session, the session's own processes inherit its handles and would hold
    # a pipe open until they end.
    with tempfile.TemporaryFile() as out:
        result = subprocess.run(["wine", built("tests/fldrive.exe")] + [str(a) for a in args], env=ENV,
                                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return result.returncode, out.read().decode("utf-8", errors="replace").strip()


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


def wait_until(predicate, timeout=10.0, interval=0.1):
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() >= deadline:
            return value
        time.sleep(interval)


def screenshot(path):
    """Saves the whole X display as a PNG (ImageMagick's import)."""
    subprocess.run(["import", "-window", "root", path], check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


class E2ETestCase(unittest.TestCase):
    """One fresh program folder per test; everything started is ended afterwards."""

    real_updater = False

    def setUp(self):
        name = "%s.%s" % (type(self).__name__, self._testMethodName)
        self.folder = ProgramFolder(name, real_updater=self.real_updater)

    def tearDown(self):
        self.folder.stop_all()
        # Let the wineserver drop the ended processes' windows and objects.
        wait_until(lambda: drive("wait_gone", "Framlet5", "100")[0] == 0, timeout=5)

    def drive_ok(self, *args, **kw):
        rc, out = drive(*args, **kw)
        self.assertEqual(rc, 0, "fldrive %s failed (%d): %s" % (" ".join(map(str, args)), rc, out))
        return out

    def window_info(self, title="Framlet5"):
        rc, out = drive("info", title)
        return parse_info(out) if rc == 0 else None

    def wait_frame(self, timeout_ms=20000):
        return parse_info(self.drive_ok("wait", "Framlet5", str(timeout_ms), "visible"))

    def screenshot(self, name):
        os.makedirs(os.path.join(BUILD_DIR, "screenshots"), exist_ok=True)
        return screenshot(os.path.join(BUILD_DIR, "screenshots", name + ".png"))


def main():
    unittest.main(module="__main__", verbosity=2)
