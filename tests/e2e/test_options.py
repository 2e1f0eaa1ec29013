"""Option dialogs and notice windows on the screen: each is opened by its
Windows-tier test, held there while the whole display is photographed, and the
picture is checked to hold the window's own colours.

The pictures land in <build>/screenshots/ for a person to look at as well.
"""
import os
import subprocess
import sys
import threading
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

# Test that shows the window -> (screenshot name, colours the window must show).
SCREENS = {
    "OptionDialogs.ControlsSitAtTheirPixelPlacesWithTheirTextsAndFonts": ("options", [(0, 0, 255)]),
    "OptionDialogs.IntervalDialogPlacesItsControlsAndLimitsTheSpin": ("continuous_options", [(255, 0, 0)]),
    "OptionDialogs.FolderPickerFillsTheEditOnlyWhenConfirmedAndWritesNothingItself": ("folder_picker", []),
    "NoticeWindows.NoticePaintsItsBar": ("full_capture_notice", []),
    "NoticeWindows.OutlineIsCreatedHiddenAndShownOverTheHoleWithARedFrame": ("area_outline", [(250, 0, 0)]),
    "NoticeWindows.PromptCentresOnTheStoredFramePlacement": ("login_prompt", []),
}
HOLD_MS = 2500


def colours_in(path):
    """The set of colours in a PNG (ImageMagick prints one unique colour a line)."""
    out = subprocess.run(["convert", path, "-format", "%c", "-depth", "8", "histogram:info:-"],
                         capture_output=True, timeout=120).stdout.decode("ascii", errors="replace")
    colours = set()
    for line in out.splitlines():
        if "(" not in line:
            continue
        values = line.split("(", 1)[1].split(")", 1)[0].split(",")
        try:
            colours.add(tuple(int(float(v)) for v in values[:3]))
        except ValueError:
            pass
    return colours


class DialogScreenshots(unittest.TestCase):
    def test_each_window_shows_and_is_photographed(self):
        exe = harness.built("tests/framlet_win_tests.exe")
        harness.prepare_wine()
        env = dict(harness.ENV, FRAMLET_HOLD_MS=str(HOLD_MS))
        shots_dir = os.path.join(harness.BUILD_DIR, "screenshots")
        os.makedirs(shots_dir, exist_ok=True)
        proc = subprocess.Popen(["wine", exe, "--gtest_filter=" + ":".join(SCREENS)], env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        # Nothing may hang the run: end the test program (by its id) after a generous limit.
        watchdog = threading.Timer(300, proc.kill)
        watchdog.start()
        taken = {}
        output = []
        try:
            for raw in proc.stdout:
                line = raw.decode("utf-8", errors="replace").strip()
                output.append(line)
                if line.startswith("FRAMLET_SHOWN "):
                    name = line.split(" ", 1)[1]
                    taken[name] = harness.screenshot(os.path.join(shots_dir, name + ".png"))
            rc = proc.wait(timeout=60)
        finally:
            watchdog.cancel()
        self.assertEqual(rc, 0, "the window tests failed:\n" + "\n".join(output[-40:]))
        for test, (name, colours) in SCREENS.items():
            self.assertIn(name, taken, "%s never showed its window" % test)
            self.assertTrue(os.path.getsize(taken[name]) > 0, "no screenshot of " + name)
            seen = colours_in(taken[name])
            self.assertGreater(len(seen), 2, name + ": the screen is blank")
            for colour in colours:
                self.assertIn(colour, seen, "%s: colour %s is not on the screen" % (name, colour))


OPEN_OPTIONS = 32807
REMEMBER, ALWAYS_TOP, REVIEW, AUTO_SAVE = 1057, 1006, 1059, 1060
QUALITY, FOLDER, OK, CANCEL = 1062, 1067, 1068, 1069


class OptionsThroughTheFrame(harness.E2ETestCase):
    """The options dialog opened by the running program's own command."""

    def open_options(self):
        self.folder.start("-s")
        frame = self.wait_frame()
        self.drive_ok("command", "Framlet5", OPEN_OPTIONS)
        self.drive_ok("wait", "Option", "8000", "visible")
        return frame

    def close_options(self, button):
        self.drive_ok("click_control", "Option", button)
        self.drive_ok("wait_gone", "Option", "8000")

    def test_ok_writes_the_options_in_order_and_the_frame_placement(self):
        self.open_options()
        for control, on in ((REMEMBER, 1), (ALWAYS_TOP, 0), (AUTO_SAVE, 1), (REVIEW, 0)):
            self.drive_ok("set_check", "Option", control, on)
        self.drive_ok("set_text", "Option", QUALITY, "250")
        self.drive_ok("set_text", "Option", FOLDER, "C:\\캡쳐")
        self.close_options(OK)
        frame = self.window_info()
        ini = self.folder.ini()
        option_keys = [key for section, key in ini.order if section == "OPTION"]
        expected = ["REMEMBER_POSITION", "ALWAYS_TOP", "AUTO_SAVE", "CAPTURE_REVIEW", "JPEG_QUALITY", "SELECT_FOLDER"]
        self.assertEqual([k for k in option_keys if k in expected], expected)
        self.assertEqual(ini.get("OPTION", "JPEG_QUALITY"), "100")
        self.assertEqual(ini.get("OPTION", "ALWAYS_TOP"), "FALSE")
        self.assertEqual(ini.get("OPTION", "AUTO_SAVE"), "TRUE")
        self.assertEqual(ini.get("OPTION", "SELECT_FOLDER"), "C:\\캡쳐")
        left, top, _, _ = frame["rect"]
        self.assertEqual(ini.get("AUTOPOS_HISTORY", "LEFT"), str(left))
        self.assertEqual(ini.get("AUTOPOS_HISTORY", "TOP"), str(top))
        self.assertEqual(ini.get("AUTOPOS_HISTORY", "WIDTH"), str(frame["client"][0]))
        self.assertEqual(ini.get("AUTOPOS_HISTORY", "HEIGHT"), str(frame["client"][1]))
        self.assertEqual(frame["topmost"], 0, "the frame stayed topmost")

    def test_cancel_writes_nothing(self):
        self.folder.write_ini({"OPTION": {"AUTO_SAVE": "FALSE", "JPEG_QUALITY": "90"}})
        self.open_options()
        with open(self.folder.ini_path, "rb") as f:
            before = f.read()
        self.drive_ok("set_check", "Option", AUTO_SAVE, 1)
        self.drive_ok("set_text", "Option", QUALITY, "5")
        self.close_options(CANCEL)
        with open(self.folder.ini_path, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_stored_true_in_any_capitals_opens_checked(self):
        self.folder.write_ini({"OPTION": {"AUTO_SAVE": "True", "CAPTURE_REVIEW": "yes"}})
        self.open_options()
        self.assertEqual(self.drive_ok("checked", "Option", AUTO_SAVE), "1")
        self.assertEqual(self.drive_ok("checked", "Option", REVIEW), "0")
        self.close_options(CANCEL)


class OutlineInTheFrame(harness.E2ETestCase):
    def test_outline_waits_hidden_above_the_hole(self):
        self.folder.start("-s")
        frame = self.wait_frame()
        w, h = frame["client"]
        outlines = []
        for line in self.drive_ok("children", "Framlet5").splitlines():
            child = harness.parse_info(line)
            if child.get("class") == "#32770" and child.get("rect") == (4, 100, w - 8, h - 144):
                outlines.append(child)
        self.assertEqual(len(outlines), 1, "no outline window at 4,100 of the frame")
        self.assertEqual(outlines[0]["visible"], 0)


if __name__ == "__main__":
    harness.main()
