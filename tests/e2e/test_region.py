"""Region selection and window capture end to end, signed in through the test
build's hook, in normal capture over a full-screen window painted with a
position pattern: Ctrl+D's veil and magnifier panel, drags captured pixel for
pixel in either direction and never with the program's own pixels, a click
that captures nothing, the save dialog and automatic saving; Ctrl+F's overlay
with its outline around a helper window, the capture of that window, and a
click on a window covering the screen going to the full-capture notice."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
PANEL = (134, 157)


class RegionCase(web.ProxiedTestCase):
    compare_at = None

    def open_frame(self, option):
        """Normal capture, signed in, over a window covering the screen with the position pattern."""
        self.screen_w, self.screen_h = parse_info(self.drive_ok("screen"))["screen"]
        self.addCleanup(lambda: harness.drive("pattern_close"))
        self.drive_ok("pattern", 0, 0, self.screen_w, self.screen_h)
        super().open_frame(option, normal_mode=True)

    def with_control(self, control_id):
        """The visible window of the program holding that control, or None."""
        for row in self.popups():
            rc, out = harness.drive("item_text", "#%x" % row["hwnd"], control_id)
            if rc == 0:
                return row
        return None

    def compared(self, left, top):
        """(width, height, wrong pixels) of the clipboard against the pattern, or None."""
        rc, out = harness.drive("clipboard_vs_pattern", left, top)
        return tuple(int(v) for v in out.split()) if rc == 0 else None

    def close_preview(self):
        """Waits for the preview, then closes it; the size its label shows.
        The clipboard is read only once the preview is open: the picture is put
        there before it opens, and a reader holding the clipboard open at that
        moment would keep it out."""
        preview = wait_until(lambda: self.with_control(ids.IDC_PV_SIZE_LABEL), timeout=15)
        self.assertIsNotNone(preview, "no preview opened")
        label = self.drive_ok("item_text", "#%x" % preview["hwnd"], ids.IDC_PV_SIZE_LABEL)
        self.shown_on_clipboard = self.compared(*self.compare_at) if self.compare_at else None
        self.drive_ok("click_control", "#%x" % preview["hwnd"], ids.IDC_PV_CLOSE)
        wait_until(lambda: self.with_control(ids.IDC_PV_SIZE_LABEL) is None, timeout=10)
        return label

    def start_selection(self):
        self.drive_ok("key", TITLE, "ctrl+d")
        veil = wait_until(lambda: self.with_control(ids.IDC_MAGNIFIER_LABEL) and next(
            (row for row in self.popups() if row["rect"] == (0, 0, self.screen_w, self.screen_h)), None), timeout=10)
        self.assertIsNotNone(veil, "no veil over the screen: %r" % self.popups())
        return veil


class RegionSelection(RegionCase):
    def test_veil_panel_and_drags_in_either_direction(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"})
        self.start_selection()
        self.assertFalse(self.frame_shown(), "the frame hides in normal capture")
        panel = self.with_control(ids.IDC_MAGNIFIER_LABEL)
        self.assertEqual(panel["layered"], 1)
        # The pointer in the middle: the panel left of it and below, the label its position.
        handle = "#%x" % panel["hwnd"]
        self.point_at(500, 400, lambda: self.drive_ok("item_text", handle, ids.IDC_MAGNIFIER_LABEL), "500 X 400")
        left, top = 500 - PANEL[0] - 20, 400 + 20
        self.assert_soon(lambda: self.with_control(ids.IDC_MAGNIFIER_LABEL)["rect"],
                         (left, top, left + PANEL[0], top + PANEL[1]))
        # Near the left edge it goes right of the pointer and above it.
        self.point_at(60, 400, lambda: self.with_control(ids.IDC_MAGNIFIER_LABEL)["rect"][:2],
                      (80, 400 - PANEL[1] - 20))
        self.screenshot("region_veil_and_panel")

        self.compare_at = (300, 200)
        self.drive_ok("drag", 300, 200, 500, 350)
        self.assertEqual(self.close_preview(), "파일정보 200 X 150")
        self.assertEqual(self.shown_on_clipboard, (200, 150, 0))
        self.assertTrue(wait_until(self.frame_shown, timeout=10), "the frame comes back")

        # Up and to the left: the same rectangle.
        self.drive_ok("clear_clipboard")
        self.start_selection()
        self.drive_ok("drag", 500, 350, 300, 200)
        self.assertEqual(self.close_preview(), "파일정보 200 X 150")
        self.assertEqual(self.shown_on_clipboard, (200, 150, 0))
        self.assertTrue(wait_until(self.frame_shown, timeout=10))

    def test_ten_drags_never_hold_a_veil_band_or_panel_pixel(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"})
        for i in range(10):
            self.drive_ok("clear_clipboard")
            self.start_selection()
            if i % 2 == 0:
                x, y = 250 + i * 17, 180 + i * 11
                self.drive_ok("drag", x, y, x + 400, y + 300)
            else:
                # Up and left to near the screen's corner: the panel ends right of
                # and below the pointer, inside the rectangle.
                x, y = 30 + i * 5, 40 + i * 5
                self.drive_ok("drag", x + 400, y + 300, x, y)
            self.compare_at = (x, y)
            self.close_preview()
            self.assertEqual(self.shown_on_clipboard, (400, 300, 0), "drag %d holds pixels of the program" % i)
            self.assertTrue(wait_until(self.frame_shown, timeout=10))

    def test_click_without_a_drag_captures_nothing(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"})
        self.start_selection()
        self.drive_ok("click", 400, 300)
        self.assertTrue(wait_until(self.frame_shown, timeout=10), "the frame comes back")
        self.assertEqual(self.clipboard(), "none")
        self.assertIsNone(self.with_control(ids.IDC_PV_SIZE_LABEL), "no preview")


class RegionFiles(RegionCase):
    def setUp(self):
        super().setUp()
        self.shots = self.folder.file("shots")
        os.makedirs(self.shots)

    def written(self):
        # Pictures only: a save being written is a temporary file until it is complete.
        return sorted(name for name in os.listdir(self.shots) if not name.startswith("~fl"))

    def bmp_size(self, name):
        with open(os.path.join(self.shots, name), "rb") as f:
            header = f.read(26)
        self.assertEqual(header[:2], b"BM", name)
        return int.from_bytes(header[18:22], "little"), abs(int.from_bytes(header[22:26], "little", signed=True))

    def test_without_review_and_no_auto_save_key_the_series_is_named_once(self):
        # AUTO_SAVE absent counts as on for region selection.
        self.open_frame({"CAPTURE_REVIEW": "FALSE"})
        self.start_selection()
        self.drive_ok("drag", 200, 200, 320, 290)
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(self.shots, "area.bmp")))
        wait_until(lambda: self.written() == ["area.bmp"], timeout=10)
        self.assertTrue(wait_until(self.frame_shown, timeout=10))
        self.start_selection()
        self.drive_ok("drag", 200, 200, 260, 250)
        wait_until(lambda: len(self.written()) == 2, timeout=10)
        self.assertEqual(self.written(), ["area.bmp", "area_0.bmp"])
        self.assertEqual(self.bmp_size("area.bmp"), (120, 90))
        self.assertEqual(self.bmp_size("area_0.bmp"), (60, 50))
        self.assertTrue(wait_until(self.frame_shown, timeout=10))

    def test_without_review_or_auto_save_every_capture_asks(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"})
        for name in ("one.bmp", "two.bmp"):
            self.start_selection()
            self.drive_ok("drag", 200, 200, 300, 260)
            self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(self.shots, name)))
            self.assertTrue(wait_until(lambda: name in self.written(), timeout=10))
            self.assertTrue(wait_until(self.frame_shown, timeout=10))
        self.assertEqual(self.bmp_size("two.bmp"), (100, 60))


class WindowPick(RegionCase):
    HELPER = (400, 300, 300, 200)

    def open_with_helper(self, option):
        self.open_frame(option)
        self.addCleanup(lambda: harness.drive("helper_close"))
        self.drive_ok("helper", *self.HELPER, "3060C0")

    def overlay(self):
        return next((row for row in self.popups()
                     if row["rect"] == (0, 0, self.screen_w, self.screen_h) and row["layered"] == 0), None)

    def test_outline_around_the_helper_then_its_capture(self):
        self.open_with_helper({"CAPTURE_REVIEW": "TRUE"})
        self.drive_ok("key", TITLE, "ctrl+f")
        self.assertIsNotNone(wait_until(self.overlay, timeout=10), "no overlay: %r" % self.popups())
        x, y, w, h = self.HELPER
        # The 4-pixel red outline lies over the helper's edges; its inside keeps the helper's colour.
        self.point_at(x + 150, y + 100, lambda: self.drive_ok("pixel", x, y + 50), "FF0000")
        for px, py in ((x + 1, y + 50), (x + w, y + 50), (x + 60, y), (x + 60, y + h), (x - 2, y + 60)):
            self.assertEqual(self.drive_ok("pixel", px, py).strip(), "FF0000", (px, py))
        self.assertEqual(self.drive_ok("pixel", x + 30, y + 30).strip(), "3060C0")
        self.screenshot("window_pick_outline")
        self.drive_ok("click", x + 150, y + 100)
        self.assertEqual(self.close_preview(), "파일정보 %d X %d" % (w, h))
        self.assertEqual(self.clipboard(), "bitmap %d %d" % (w, h))
        self.assertTrue(wait_until(self.frame_shown, timeout=10))
        self.assertEqual(self.window_info()["rect"], (100, 80, 936, 801), "the frame back in its place")

    def test_automatic_save_writes_the_window(self):
        self.open_with_helper({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "TRUE"})
        shots = self.folder.file("shots")
        os.makedirs(shots)
        self.drive_ok("key", TITLE, "ctrl+f")
        self.assertIsNotNone(wait_until(self.overlay, timeout=10))
        x, y, w, h = self.HELPER
        self.drive_ok("move", x + 20, y + 20)
        self.drive_ok("click", x + 20, y + 20)
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(shots, "win.bmp")))
        self.assertTrue(wait_until(lambda: os.path.exists(os.path.join(shots, "win.bmp")), timeout=10))
        self.assertEqual(harness.bmp_pixel(os.path.join(shots, "win.bmp"), 10, 10), (0x30, 0x60, 0xC0))
        self.assertTrue(wait_until(self.frame_shown, timeout=10))

    def test_a_window_covering_the_screen_goes_to_the_full_capture_notice(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"})
        self.drive_ok("key", TITLE, "ctrl+f")
        self.assertIsNotNone(wait_until(self.overlay, timeout=10))
        # Under the pointer only the full-screen pattern window.
        self.drive_ok("move", 1000, 900)
        self.drive_ok("click", 1000, 900)
        notice = wait_until(lambda: self.with_control(ids.IDC_NOTICE_CLOSE), timeout=10)
        self.assertIsNotNone(notice, "no full-capture notice: %r" % self.popups())
        self.assertEqual(self.clipboard(), "none", "nothing captured yet")
        self.drive_ok("click_control", "#%x" % notice["hwnd"], ids.IDC_NOTICE_CLOSE)


if __name__ == "__main__":
    harness.main()
