"""Long sessions of the capture program under Wine, driven from outside as the
end-to-end tests drive it: each soak repeats one path many times in one
session of the program, and is judged by three things:
  - every repetition does what it should (a file written, a window gone);
  - the process's memory after a warm-up grows by at most 5 MB to the end
    (Wine keeps GDI objects in the process, so a leaked bitmap or DC shows
    here; Wine reports no GDI or USER object counts);
  - the frame answers a sent message within one second throughout: a
    watcher sends it WM_NULL every 200 ms from its own driver process.

    python3 tests/soak/soak_frame.py [-k area] [--scale 0.1]

Run by scripts/soak.sh, which gives it a display; not part of the test run.
Each soak prints one table row; the table closes the run."""
import argparse
import os
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
GROWTH_LIMIT_KB = 5 * 1024
ANSWER_LIMIT_MS = 1000.0
SCALE = 1.0
ROWS = []


def memory_kb(window, pid):
    """The private memory of the window's process in KB, None when not read:
    what the system reports, or under Wine (which reports none for another
    process) the anonymous memory Linux counts for the process `pid`, where
    the heap and Wine's GDI objects live."""
    rc, out = harness.drive("memory", window)
    private = parse_info(out).get("private") if rc == 0 else None
    if private:
        return private
    try:
        with open("/proc/%d/status" % pid) as f:
            return next(int(line.split()[1]) for line in f if line.startswith("RssAnon:"))
    except (OSError, StopIteration):
        return None


class Watcher:
    """Sends the frame WM_NULL every 200 ms from a driver of its own and keeps
    the slowest answer; a message not answered within 5 s counts as 5 s."""

    def __init__(self, window):
        self.window = window
        self.driver = harness._Driver()
        self.slowest = 0.0
        self.sent = 0
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)

    def _run(self):
        while not self.stopping.wait(0.2):
            try:
                rc, out = self.driver.call(["answer", self.window, "5000"], 30)
            except Exception:  # noqa: BLE001 - a driver that died is started again
                continue
            if rc == 1 and out.strip() == "none":
                took = 5000.0
            elif rc == 0:
                took = float(out)
            else:
                continue  # the window is gone (the session is ending)
            self.sent += 1
            self.slowest = max(self.slowest, took)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.thread.join(40)
        self.driver.stop()


class FrameSoak(web.ProxiedTestCase):
    """One session of the test build per soak, signed in."""

    def soak(self, name, count, step, warmup=None):
        """Runs step(i) count times under the watcher; memory after the warm-up
        (a tenth of the runs, at least 5) and at the end; appends the row."""
        count = max(int(count * SCALE), 10)
        warmup = warmup or max(count // 10, 5)
        started = time.time()
        failure = None
        at_warmup = at_end = None
        with Watcher(self.frame) as watcher:
            try:
                for i in range(count):
                    step(i)
                    if i + 1 == warmup:
                        at_warmup = self.settled_memory()
                at_end = self.settled_memory()
            except Exception as error:  # noqa: BLE001 - the row reports it, the test then fails
                failure = "run %d: %s" % (i + 1, str(error).splitlines()[0][:160])
        growth = at_end - at_warmup if at_end is not None and at_warmup is not None else None
        verdict = "passed"
        if failure:
            verdict = "FAILED " + failure
        elif growth is None:
            verdict = "FAILED memory not read"
        elif growth > GROWTH_LIMIT_KB:
            verdict = "FAILED grew %d KB" % growth
        elif watcher.slowest > ANSWER_LIMIT_MS:
            verdict = "FAILED answered in %.0f ms" % watcher.slowest
        row = (name, count, time.time() - started, at_warmup, at_end, growth, watcher.slowest, watcher.sent, verdict)
        ROWS.append(row)
        print(format_row(row), flush=True)
        self.assertEqual(verdict, "passed")

    def settled_memory(self):
        """Memory once the frame's queue is empty: two answers in a row."""
        harness.drive("answer", self.frame, "5000")
        harness.drive("answer", self.frame, "5000")
        return memory_kb(self.frame, self.process.pid)

    def shots_folder(self):
        shots = self.folder.file("shots")
        os.makedirs(shots, exist_ok=True)
        return shots

    def count_in(self, folder):
        """Finished pictures in the folder (a save still being written is a temporary name)."""
        return sum(1 for name in os.listdir(folder) if not name.startswith("~fl"))

    def wait_count(self, folder, count, what):
        if not wait_until(lambda: self.count_in(folder) >= count, timeout=20):
            raise AssertionError("%s: %d pictures, not %d" % (what, self.count_in(folder), count))

    def preview(self):
        rc, out = harness.drive("preview", self.frame)
        return parse_info(out) if rc == 0 else None

    # The soaks.

    def test_area_captures_saved_automatically(self):
        shots = self.shots_folder()
        # A small frame keeps the thousand pictures small (392 x 156 pixels).
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "TRUE"}, place=(100, 80, 400, 300), signed_in=True)

        def step(i):
            self.drive_ok("key", self.frame, "f2")
            if i == 0:
                self.drive_ok("file_dialog", self.frame, 1, harness.unix_to_windows(os.path.join(shots, "shot.bmp")))
            self.wait_count(shots, i + 1, "area capture")

        self.soak("area captures, saved automatically", 1000, step)

    def test_previews_opened_and_closed(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"}, signed_in=True)

        def step(i):
            self.drive_ok("key", self.frame, "f2")
            preview = wait_until(self.preview, timeout=15)
            if preview is None:
                raise AssertionError("no preview opened")
            self.drive_ok("click_control", "#%x" % preview["hwnd"], ids.IDC_PV_CLOSE)
            if not wait_until(lambda: self.preview() is None, timeout=10):
                raise AssertionError("the preview stayed open")
            if not wait_until(self.frame_shown, timeout=10):
                raise AssertionError("the frame did not come back")

        self.soak("previews opened and closed", 200, step)

    def test_region_selections(self):
        shots = self.shots_folder()
        width, height = parse_info(self.drive_ok("screen"))["screen"]
        self.addCleanup(lambda: harness.drive("pattern_close"))
        self.drive_ok("pattern", 0, 0, width, height)
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "TRUE"}, normal_mode=True)

        def veil():
            return next((row for row in self.popups() if row["rect"] == (0, 0, width, height)), None)

        def step(i):
            self.drive_ok("key", self.frame, "ctrl+d")
            if not wait_until(veil, timeout=10):
                raise AssertionError("no veil over the screen")
            x, y = 200 + (i % 7) * 40, 150 + (i % 5) * 30
            if i % 2:
                self.drive_ok("drag", x + 300, y + 200, x, y)
            else:
                self.drive_ok("drag", x, y, x + 300, y + 200)
            if i == 0:
                self.drive_ok("file_dialog", self.frame, 1, harness.unix_to_windows(os.path.join(shots, "area.bmp")))
            self.wait_count(shots, i + 1, "region")
            if not wait_until(self.frame_shown, timeout=10):
                raise AssertionError("the frame did not come back")

        self.soak("region selections", 100, step)

    def test_scroll_captures(self):
        self.addCleanup(lambda: harness.drive("scroll_rows_close"))
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)
        x, y, w, h = harness.HOLE
        content, line = h + 8 * 13, 13
        shots = self.shots_folder()

        def step(i):
            self.drive_ok("scroll_rows", x, y, w, h, content, line)
            self.drive_ok("key", self.frame, "ctrl+l")
            path = os.path.join(shots, "scrolled%d.bmp" % i)
            self.drive_ok("file_dialog", self.frame, 1, harness.unix_to_windows(path))
            if not wait_until(lambda: os.path.exists(path) and os.path.getsize(path) >= 54 + w * 3 * content,
                              timeout=20):
                raise AssertionError("the scroll capture was not saved whole")
            os.unlink(path)

        self.soak("scroll captures", 50, step)

    def test_continuous_series(self):
        shots = self.shots_folder()
        self.open_frame({"CAPTURE_TIME": "200"}, signed_in=True, normal_mode=True)

        def stop_shown():
            return self.shown(ids.IDC_STOP_CONTINUOUS)

        def step(i):
            before = self.count_in(shots)
            self.drive_ok("key", self.frame, "f3")
            box = wait_until(self.prompts, timeout=10)
            if len(box) != 1:
                raise AssertionError("no start question: %r" % box)
            self.drive_ok("click_control", "#%x" % box[0]["hwnd"], 6)  # IDYES
            dialog = wait_until(lambda: [p for p in self.prompts() if p["hwnd"] != box[0]["hwnd"]], timeout=10)
            self.drive_ok("click_control", "#%x" % dialog[0]["hwnd"], ids.IDC_OK_PICTURE)
            if i == 0:
                self.drive_ok("file_dialog", self.frame, 1, harness.unix_to_windows(os.path.join(shots, "s.bmp")))
            self.wait_count(shots, before + 3, "series %d" % i)
            self.drive_ok("key", self.frame, "escape")
            if not wait_until(lambda: harness.holds(lambda: not stop_shown(), 0.5), timeout=10):
                raise AssertionError("the series did not stop")

        self.soak("continuous series", 20, step, warmup=3)

    def test_switches_between_web_and_normal_capture(self):
        self.open_frame(signed_in=True)

        def step(i):
            self.drive_ok("click_control", self.frame, ids.IDC_TO_NORMAL_MODE)
            if not wait_until(self.normal_mode, timeout=10):
                raise AssertionError("normal capture not entered")
            self.drive_ok("click_control", self.frame, ids.IDC_TO_WEB_MODE)
            if not wait_until(lambda: not self.normal_mode(), timeout=10):
                raise AssertionError("web capture not entered")

        self.soak("switches to normal capture and back", 100, step)

    def test_option_dialogs(self):
        self.open_frame(signed_in=True)

        def step(i):
            self.drive_ok("command", self.frame, ids.ID_OPEN_OPTIONS)
            self.drive_ok("wait", "Option", "8000", "visible")
            # OK and Cancel in turn.
            self.drive_ok("click_control", "Option", ids.IDC_OK_PICTURE if i % 2 == 0 else ids.IDC_CANCEL_PICTURE)
            self.drive_ok("wait_gone", "Option", "8000")

        self.soak("option dialogs", 100, step)


def format_row(row):
    name, count, seconds, warm, end, growth, slowest, sent, verdict = row

    def mb(kb):
        return "?" if kb is None else "%.1f MB" % (kb / 1024)

    def signed_mb(kb):
        return "?" if kb is None else "%+.2f MB" % (kb / 1024)

    return "| %s | %d | %.0f s | %s | %s | %s | %.0f ms (%d sent) | %s |" % (
        name, count, seconds, mb(warm), mb(end), signed_mb(growth), slowest, sent, verdict)


def print_table():
    print("\n| soak | runs | time | memory after warm-up | at the end | growth | slowest answer | result |")
    print("|---|---|---|---|---|---|---|---|")
    for row in ROWS:
        print(format_row(row))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("-k", action="append", default=[], help="only soaks whose name holds this")
    parser.add_argument("--scale", type=float, default=1.0, help="runs of each soak times this (at least 10)")
    options = parser.parse_args()
    SCALE = options.scale
    loader = unittest.TestLoader()
    if options.k:
        loader.testNamePatterns = ["*%s*" % k for k in options.k]
    suite = loader.loadTestsFromTestCase(FrameSoak)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    print_table()
    sys.exit(0 if result.wasSuccessful() else 1)
