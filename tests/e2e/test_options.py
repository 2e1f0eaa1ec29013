"""Option dialogs and notice windows on the screen: each is opened by its
Windows-tier test, held there while the whole display is photographed, and the
picture must show the window's own pixels at their places.

The pictures land in <build>/screenshots/ for a person to look at as well.
"""
import os
import subprocess
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import art_pixel  # noqa: E402

ids = harness.ids
RED_OUTLINE = (250, 0, 0)
COLOUR_KEY = (255, 0, 255)


class Pixel:
    """What the screen must show at one point."""

    def __init__(self, describe, test):
        self.describe, self.test = describe, test

    def __str__(self):
        return self.describe


def art(bitmap_id, x, y):
    """The pixel of the program's own picture bitmap_id at x, y."""
    rgb = art_pixel(bitmap_id, x, y)
    return Pixel("%s (art/%d.bmp at %d,%d)" % (rgb, bitmap_id, x, y), lambda seen: seen == rgb)


def colour(rgb):
    return Pixel(str(rgb), lambda seen: seen == rgb)


def not_colour(rgb):
    return Pixel("anything but %s" % (rgb,), lambda seen: seen is not None and seen != rgb)


# Test that shows the window -> (screenshot name, points: x, y in the window's
# client area, what the screen must show there, and what that is).
SCREENS = {
    "OptionDialogs.ControlsSitAtTheirPixelPlacesWithTheirTextsAndFonts": ("options", [
        (213 + 6, 250 + 12, art(ids.IDB_OK_BUTTON, 6, 12), "OK picture button"),
        (294 + 6, 250 + 12, art(ids.IDB_CANCEL_BUTTON, 6, 12), "cancel picture button"),
    ]),
    "OptionDialogs.IntervalDialogPlacesItsControlsAndLimitsTheSpin": ("continuous_options", [
        (195 + 6, 210 + 12, art(ids.IDB_OK_BUTTON, 6, 12), "OK picture button"),
        (276 + 6, 210 + 12, art(ids.IDB_CANCEL_BUTTON, 6, 12), "cancel picture button"),
    ]),
    # The picker is the platform's; what is the program's is that it opens over the options dialog
    # (its client area at 608,462 and its OK button at 213,250 when the picker's is at 634,532).
    "OptionDialogs.FolderPickerFillsTheEditOnlyWhenConfirmedAndWritesNothingItself": ("folder_picker", [
        (608 + 213 + 6 - 634, 462 + 250 + 12 - 532, Pixel("the picker, not the OK button", lambda seen: (
            seen is not None and seen != art_pixel(ids.IDB_OK_BUTTON, 6, 12))), "over the options' OK button"),
    ]),
    "NoticeWindows.NoticePaintsItsBar": ("full_capture_notice", [
        (30, 40, art(ids.IDB_NOTICE_BAR, 30, 40), "bar picture, icon"),
        (300, 50, art(ids.IDB_NOTICE_BAR, 300, 50), "bar picture, middle"),
        (3, 70, art(ids.IDB_NOTICE_BAR, 3, 70), "bar picture, bottom left"),
        (100, 5, not_colour(COLOUR_KEY), "the bar picture's colour key is see-through"),
        (438 + 18, 32 + 18, art(ids.IDB_NOTICE_CLOSE, 18, 18), "close button at 438,32, its cross"),
        (438 + 30, 32 + 10, art(ids.IDB_NOTICE_CLOSE, 30, 10), "close button at 438,32, its disc"),
    ]),
    "NoticeWindows.OutlineIsCreatedHiddenAndShownOverTheHoleWithARedFrame": ("area_outline", [
        (2, 300, colour(RED_OUTLINE), "left edge of the outline"),
        (500, 554, colour(RED_OUTLINE), "bottom edge of the outline"),
        (500, 300, not_colour(RED_OUTLINE), "inside of the outline"),
    ]),
    "NoticeWindows.PromptCentresOnTheStoredFramePlacement": ("login_prompt", [
        (5, 5, art(ids.IDB_LOGIN_PROMPT, 5, 5), "prompt picture, title band"),
        (20, 20, art(ids.IDB_LOGIN_PROMPT, 20, 20), "prompt picture, logo"),
        (185, 36, art(ids.IDB_LOGIN_PROMPT, 185, 36), "prompt picture, blue rule"),
        (50, 80, art(ids.IDB_LOGIN_PROMPT, 50, 80), "prompt picture, person"),
        (360, 215, art(ids.IDB_LOGIN_PROMPT, 360, 215), "prompt picture, bottom right"),
    ]),
}


def mismatches(screen, origin, points):
    """The points whose pixel on the screen is not the expected one, as text."""
    wrong = []
    for x, y, expected, what in points:
        seen = screen.pixel(origin[0] + x, origin[1] + y)
        if not expected.test(seen):
            wrong.append("%s at %d,%d: %s on the screen, %s expected" % (what, x, y, seen, expected))
    return wrong


class DialogScreenshots(unittest.TestCase):
    def test_each_window_shows_its_pixels_at_their_places(self):
        exe = harness.built("tests/framlet_win_tests.exe")
        harness.prepare_wine()
        shots_dir = os.path.join(harness.BUILD_DIR, "screenshots")
        os.makedirs(shots_dir, exist_ok=True)
        for name, _ in SCREENS.values():
            if os.path.exists(os.path.join(shots_dir, name + ".taken")):
                os.remove(os.path.join(shots_dir, name + ".taken"))
        env = dict(harness.ENV, FRAMLET_HOLD_FOR_SHOTS=harness.unix_to_windows(shots_dir))
        proc = subprocess.Popen(["wine", exe, "--gtest_filter=" + ":".join(SCREENS)], env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        # Nothing may hang the run: end the test program (by its id) after a generous limit.
        watchdog = threading.Timer(300, proc.kill)
        watchdog.start()
        points = {name: p for name, p in SCREENS.values()}
        problems = {}
        output = []
        try:
            for raw in proc.stdout:
                line = raw.decode("utf-8", errors="replace").strip()
                output.append(line)
                if not line.startswith("FRAMLET_SHOWN "):
                    continue
                _, name, where = line.split(" ")
                origin = tuple(int(v) for v in where.split(","))
                # The window may still be reaching the display: look again until
                # its pixels are there, or give up after a few seconds.
                deadline = time.time() + 10
                while True:
                    screen = harness.Screen()
                    problems[name] = mismatches(screen, origin, points.get(name, []))
                    if not problems[name] or time.time() > deadline:
                        break
                print("%s: client area at %d,%d, %d of %d points as expected"
                      % (name, origin[0], origin[1], len(points.get(name, [])) - len(problems[name]),
                         len(points.get(name, []))))
                screen.save(os.path.join(shots_dir, name + ".png"))
                open(os.path.join(shots_dir, name + ".taken"), "w").close()
            rc = proc.wait(timeout=60)
        finally:
            watchdog.cancel()
            proc.stdout.close()
        hung = [i for i, line in enumerate(output) if line.startswith("[  HUNG")]
        self.assertEqual(rc, 0, "the window tests failed:\n" + "\n".join(output[hung[0]:] if hung else output[-40:]))
        for test, (name, _) in SCREENS.items():
            self.assertIn(name, problems, "%s never showed its window" % test)
        self.assertEqual({name: wrong for name, wrong in problems.items() if wrong}, {})


REMEMBER, ALWAYS_TOP, REVIEW, AUTO_SAVE = (ids.IDC_OPT_REMEMBER_POSITION, ids.IDC_OPT_ALWAYS_TOP, ids.IDC_OPT_REVIEW,
                                           ids.IDC_OPT_AUTO_SAVE)
QUALITY, FOLDER, OK, CANCEL = ids.IDC_OPT_QUALITY, ids.IDC_OPT_FOLDER, ids.IDC_OK_PICTURE, ids.IDC_CANCEL_PICTURE


class OptionsThroughTheFrame(harness.E2ETestCase):
    """The options dialog opened by the running program's own command."""

    def open_options(self, option=None):
        frame = self.open_frame(option, place=None)
        self.drive_ok("command", harness.FRAME, ids.ID_OPEN_OPTIONS)
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
        self.open_options({"AUTO_SAVE": "FALSE", "JPEG_QUALITY": "90"})
        with open(self.folder.ini_path, "rb") as f:
            before = f.read()
        self.drive_ok("set_check", "Option", AUTO_SAVE, 1)
        self.drive_ok("set_text", "Option", QUALITY, "5")
        self.close_options(CANCEL)
        with open(self.folder.ini_path, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_stored_true_in_any_capitals_opens_checked(self):
        self.open_options({"AUTO_SAVE": "True", "CAPTURE_REVIEW": "yes"})
        self.assertEqual(self.drive_ok("checked", "Option", AUTO_SAVE), "1")
        self.assertEqual(self.drive_ok("checked", "Option", REVIEW), "0")
        self.close_options(CANCEL)


class OutlineInTheFrame(harness.E2ETestCase):
    def test_outline_waits_hidden_above_the_hole(self):
        w, h = self.open_frame(place=None)["client"]
        outlines = [child for child in self.children()
                    if child.get("class") == "#32770" and child.get("rect") == (4, 100, w - 8, h - 144)]
        self.assertEqual(len(outlines), 1, "no outline window at 4,100 of the frame")
        self.assertEqual(outlines[0]["visible"], 0)


if __name__ == "__main__":
    harness.main()
