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


if __name__ == "__main__":
    harness.main()
