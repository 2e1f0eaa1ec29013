"""The updater run again and again against the local server in every way a
server or a list can fail: errors, cut and garbled replies, stalls, slow
links, hostile file names and probe lists that count without end. Every run
must end by itself within its deadline, start the capture program once,
install nothing it should not, leave neither its working folder nor its list
behind, and write no file outside the program folder.

    python3 tests/soak/soak_updater.py [--runs 200]

Run by scripts/soak.sh; not part of the test run."""
import argparse
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import harness  # noqa: E402
import test_updater as up  # noqa: E402
from harness import drive, wait_until  # noqa: E402
from update_server import ini_text, paced, stalls_after, truncated  # noqa: E402

STALL_MS = 2000
RUNS = 200
ONLY = []
ROWS = []

HOSTILE_NAMES = ["..\\evil.exe", "C:\\evil.exe", "..\\..\\evil.exe", "a\\..\\..\\evil.exe", "\\\\?\\C:\\evil.exe",
                 "evil.exe:hidden", "CON", "nul.exe", "x" * 300 + ".exe", "/evil.exe", "evil\x7f.exe",
                 "..%5cevil.exe"]
ENDLESS_COUNT = "99999999999"


class Mode:
    """One way to fail: `serve(case, i)` sets the server's routes (and the
    registry); `installs` is what the run must install (None: the same as the
    mode's first run, and nothing named "evil"); `deadline` is in seconds;
    `window` says the run shows the update window and is answered."""

    def __init__(self, name, serve, deadline=20, installs=(), window=False):
        self.name, self.serve, self.deadline, self.installs, self.window = name, serve, deadline, installs, window
        self.runs = 0
        self.first_installs = None
        self.slowest = 0.0
        self.failures = []


def self_update(case, reply, name="FramletSetup.exe"):
    case.serve_list(up.base_list(VERSION="9", UPDATEURL=case.server.url("/setup.exe"), UPDATEFILE=name))
    case.server.routes["/setup.exe"] = reply


def slow_list_update(case, i):
    """A list offering an update that arrives 16 bytes at a time, an eighth of
    the stall time apart: longer than the stall time in all, but never still."""
    self_update(case, (200, case.installer))
    case.server.routes[up.LIST_PATH] = paced(case.server.routes[up.LIST_PATH][1], 16, STALL_MS / 8000)


def offers_with_probes(case, i):
    """Offers whose probe lists count without end or are cut, and rows whose
    names lead out of their folders: the window shows what is left."""
    endless_history = ini_text({"COUNTER": {"NUM": ENDLESS_COUNT},
                                "CHECK1": {"HKEY": "HKCU", "REGPATH": "NoSuch", "REGNAME": "x", "REGVALUE": "y"}})
    endless_mutex = ini_text({"COUNTER": {"NUM": ENDLESS_COUNT}, "MUTEX1": {"NAME": "NoSuchMutex"}})
    case.server.routes["/history.ini"] = (200, endless_history)
    case.server.routes["/mutex.ini"] = (200, endless_mutex)
    case.server.routes["/cut.ini"] = truncated(b"[COUNTER]\r\nNUM=4", 5000)
    rows = [
        {"NAME": "끝없는 목록", "STATE": "SETUP", "DOWNFILENAME": "p^1", "HISTORYCHK": case.server.url("/history.ini")},
        {"NAME": "잘린 목록", "STATE": "SETUP", "DOWNFILENAME": "p^2", "HISTORYCHK": case.server.url("/cut.ini")},
        {"NAME": "나가는 이름", "STATE": "SETUP", "DOWNFILENAME": "..\\..\\evil"},
        {"NAME": "바탕화면 밖", "STATE": "ICON", "DOWNFILENAME": HOSTILE_NAMES[i % len(HOSTILE_NAMES)]},
        {"NAME": "받을 파일", "STATE": "DOWN", "DOWNFILENAME": "..\\tool", "FILEREGKEY": "HKCU",
         "FILEREGPATH": "Software\\NoSuchKey", "FILEREGVALUE": "Folder"},
    ]
    sections = up.base_list(FILENUM=str(len(rows)), MUTEXCHK=case.server.url("/mutex.ini"))
    for n, row in enumerate(rows, 1):
        row["CHECK"] = "1"
        sections["FILE%d" % n] = row
        case.server.routes["/bundle_2010/framlet/update/%s.exe" % row["DOWNFILENAME"]] = (200, case.installer)
    case.serve_list(sections)


def modules_with_hostile_names(case, i):
    sections = up.base_list(MODULE="3", MODULETEXT1="새 모듈")
    sections["UPFILE1"].update(DOWNFILEURL=case.server.url("/m1.dat"), DOWNFILENAME=HOSTILE_NAMES[i % len(HOSTILE_NAMES)])
    sections["UPFILE2"].update(DOWNFILEURL=case.server.url("/m2.dat"), DOWNFILENAME="..\\..\\m2.dat")
    case.server.routes["/m1.dat"] = (200, b"module one")
    case.server.routes["/m2.dat"] = (200, b"module two")
    case.serve_list(sections)


def modes(installer):
    return [
        Mode("list: 404", lambda c, i: c.server.routes.update({up.LIST_PATH: (404, b"[UPDATE]\r\nVERSION=9\r\n")})),
        Mode("list: 500", lambda c, i: c.server.routes.update({up.LIST_PATH: (500, b"[UPDATE]\r\nVERSION=9\r\n")})),
        Mode("list: cut short", lambda c, i: c.server.routes.update(
            {up.LIST_PATH: truncated(b"[UPDATE]\r\nVERSION=9\r\nUPDATEURL=", 4000)})),
        Mode("list: garbled", lambda c, i: c.server.routes.update(
            {up.LIST_PATH: (200, bytes((i * 7 + n * 13) % 256 for n in range(3000)))})),
        Mode("list: counts without end", lambda c, i: c.serve_list(up.base_list(FILENUM=ENDLESS_COUNT))),
        Mode("list: stalled", lambda c, i: c.server.routes.update({up.LIST_PATH: "stall"})),
        Mode("list: slow, steady", slow_list_update, deadline=40, installs=("FramletSetup.exe| /S",)),
        Mode("server down", lambda c, i: c.folder.write_hosts("http://127.0.0.1:1", stall_ms=STALL_MS)),
        Mode("download: 404", lambda c, i: self_update(c, (404, b"not here"))),
        Mode("download: 500", lambda c, i: self_update(c, (500, b"broken"))),
        Mode("download: cut short", lambda c, i: self_update(c, truncated(installer[:4096], len(installer)))),
        Mode("download: stalls halfway", lambda c, i: self_update(
            c, stalls_after(installer[:4096], len(installer), c.server))),
        Mode("download: a page, not a program", lambda c, i: self_update(c, (200, b"<html>error</html>"))),
        Mode("download: slow, steady", lambda c, i: self_update(
            c, paced(installer, len(installer) // 20 + 1, STALL_MS / 8000)), deadline=40,
            installs=("FramletSetup.exe| /S",)),
        Mode("download: hostile names", lambda c, i: self_update(
            c, (200, installer), HOSTILE_NAMES[i % len(HOSTILE_NAMES)])),
        Mode("offers: endless and cut probe lists, names leading out", offers_with_probes, deadline=60,
             installs=None, window=True),
        Mode("modules: hostile names", modules_with_hostile_names, deadline=60, window=True),
    ]


def tree(folder, skip=()):
    """Every path under folder, relative, the subtrees in `skip` left out."""
    found = set()
    for base, dirs, files in os.walk(folder):
        rel = os.path.relpath(base, folder)
        dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(rel, d)) not in skip]
        found.update(os.path.normpath(os.path.join(rel, name)) for name in dirs + files)
    return found


class UpdaterSoak(up.UpdaterCase):
    def answer_window(self):
        """Answers the module question (yes) and the update window (install,
        then close once it is complete), until the run ends. A button is
        pressed while it shows: a press that comes before the window is ready
        is pressed again."""
        deadline = time.time() + 60
        while self.proc.running() and time.time() < deadline:
            if drive("find", "Framlet")[0] == 0 and drive("item_text", "Framlet", "6")[0] == 0:
                drive("click_control", "Framlet", "6")
            elif drive("find", up.TITLE)[0] == 0:
                shown = {row.get("id"): row.get("visible") for row in harness.rows(drive("children", up.TITLE)[1])}
                if shown.get(2) == 1:
                    drive("click_control", up.TITLE, "2")
                elif shown.get(1) == 1:
                    drive("click_control", up.TITLE, "1")
                    # Pressed again only if the page did not move on.
                    wait_until(lambda: harness.rows(drive("children", up.TITLE)[1]) and not any(
                        row.get("id") == 1 and row.get("visible") == 1
                        for row in harness.rows(drive("children", up.TITLE)[1])), timeout=2)
            self.proc.wait(0.2)  # polls the window, ending at once when the updater does
        if self.proc.running() and os.environ.get("SOAK_DEBUG"):
            harness.screenshot("/tmp/soak_updater.png")
            print(drive("children", up.TITLE), drive("popups", up.TITLE), file=sys.stderr)

    def desktop_in_root(self):
        """The user's desktop as the shell records it, moved into the test's
        root: a row stored on the desktop lands where it can be checked."""
        desktop = os.path.join(self.root, "desktop")
        os.makedirs(desktop)
        key = up.Probes.SHELL_FOLDERS
        old = harness.registry_get(key, "Desktop")
        if old is not None:
            self.addCleanup(harness.registry_set, key, {"Desktop": old})
        harness.registry_set(key, {"Desktop": harness.unix_to_windows(desktop)})

    def test_every_failure_again_and_again(self):
        all_modes = [m for m in modes(self.installer) if not ONLY or any(k in m.name for k in ONLY)]
        prefix_c = os.path.join(harness.ENV["WINEPREFIX"], "drive_c")
        # The prefix's own working files (its temporary folder, Wine's caches) are not the updater's.
        prefix_skip = {"windows", os.path.join("users", os.environ.get("USER", "root"), "Temp"),
                       os.path.join("users", os.environ.get("USER", "root"), "AppData")}
        self.desktop_in_root()
        outside_before = tree(self.root, skip={"prog"})
        prefix_before = tree(prefix_c, skip=prefix_skip)
        started = time.time()
        for i in range(RUNS):
            mode = all_modes[i % len(all_modes)]
            up.set_registry({"ver": "5", "module": "1", "holddate": "1"})
            self.folder.write_hosts(self.server.base, stall_ms=STALL_MS)
            self.server.routes = {}
            self.server.requests.clear()
            self.forget_capture_starts()
            if os.path.exists(self.install_log):
                os.unlink(self.install_log)
            mode.serve(self, i // len(all_modes))
            began = time.monotonic()
            self.start()
            if mode.window:
                self.answer_window()
            ended = self.proc.wait(mode.deadline + 30)
            took = time.monotonic() - began
            mode.runs += 1
            mode.slowest = max(mode.slowest, took)
            problems = []
            if ended is None:
                problems.append("did not end")
                self.proc.stop()
            elif took > mode.deadline:
                problems.append("took %.1f s" % took)
            starts = wait_until(self.capture_starts, timeout=10)
            if len(starts) != 1:
                problems.append("capture program started %d times" % len(starts))
            installs = tuple(self.installs())
            if mode.installs is None and mode.first_installs is None:
                mode.first_installs = installs
            expected = mode.installs if mode.installs is not None else mode.first_installs
            if installs != expected or any("evil" in line for line in installs):
                problems.append("installed %r" % (installs,))
            for left in ("temp", "updatelist.ini"):
                if os.path.exists(os.path.join(self.path, left)):
                    problems.append("left %s" % left)
            # Outside the program folder only the install log, and files stored
            # straight on the desktop under plain names.
            outside = {path for path in tree(self.root, skip={"prog"}) - outside_before - {"installs.log"}
                       if os.path.dirname(path) != "desktop"}
            if outside:
                problems.append("wrote outside the program folder: %r" % sorted(outside))
            if problems:
                mode.failures.append("run %d: %s" % (i + 1, "; ".join(problems)))
            # A stalled server's handlers wait for this; the next run gets a fresh wait.
            self.server.release.set()
            self.server.release.clear()
        written = tree(prefix_c, skip=prefix_skip) - prefix_before
        for mode in all_modes:
            ROWS.append((mode.name, mode.runs, mode.slowest, mode.deadline,
                         "passed" if not mode.failures else "FAILED " + mode.failures[0]))
        on_desktop = sorted(os.listdir(os.path.join(self.root, "desktop")))
        ROWS.append(("all, %.0f s" % (time.time() - started), RUNS, max(m.slowest for m in all_modes), None,
                     ("passed" if not written else "FAILED wrote in the prefix: %r" % sorted(written)[:5])
                     + "; stored on the desktop: %r" % on_desktop))
        self.assertEqual([m.failures for m in all_modes if m.failures], [])
        self.assertEqual(written, set())


def print_table():
    print("\n| updater run | runs | slowest | deadline | result |")
    print("|---|---|---|---|---|")
    for name, runs, slowest, deadline, verdict in ROWS:
        print("| %s | %d | %.1f s | %s | %s |" % (name, runs, slowest, "%d s" % deadline if deadline else "", verdict))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=200)
    parser.add_argument("-k", action="append", default=[], help="only the ways to fail whose name holds this")
    options = parser.parse_args()
    RUNS, ONLY = options.runs, options.k
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestLoader().loadTestsFromTestCase(UpdaterSoak))
    print_table()
    sys.exit(0 if result.wasSuccessful() else 1)
