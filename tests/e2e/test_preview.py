"""The capture preview end to end: signed in through the test build's hook,
F2 with review on opens the preview in front of the top-most frame, showing
the hole's picture; its Alt keys copy and save, Enter and Escape close
nothing; the actual-size viewer opens from it, and edit hands the picture to
the paint program."""
import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
HOLE = harness.HOLE
APP_PATH_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\mspaint.exe"


class PreviewCase(web.ProxiedTestCase):
    def preview(self):
        rc, out = harness.drive("preview", TITLE)
        return parse_info(out) if rc == 0 else None

    def capture(self):
        """F2 on the frame; the preview that opens."""
        self.drive_ok("key", TITLE, "f2")
        preview = wait_until(self.preview, timeout=15)
        self.assertIsNotNone(preview, "no preview opened")
        self.drive_ok("update", "#%x" % preview["hwnd"])
        return preview

    def in_preview(self, preview, control_id):
        return self.child(control_id, "#%x" % preview["hwnd"])


class Preview(PreviewCase):
    def test_f2_shows_the_hole_in_front_of_the_frame_and_the_alt_keys_work(self):
        shots = self.folder.file("shots")
        os.makedirs(shots)
        last = harness.unix_to_windows(os.path.join(shots, "shot.png"))
        self.open_frame({"CAPTURE_REVIEW": "TRUE", "AUTO_SAVE": "TRUE", "LASTAUTOPASS": last}, signed_in=True)
        self.drive_ok("update", TITLE)
        before = harness.Screen()
        preview = self.capture()
        self.assertEqual(self.clipboard(), "bitmap 828 577")

        # The top-most frame's preview stands in front of it, at the place the picture's size gives.
        self.assertEqual(preview["above_owner"], 1, preview)
        width, height = (int(v) for v in re.search(r"screen=(\d+),(\d+)", self.drive_ok("screen")).groups())
        left, top, right, bottom = preview["rect"]
        self.assertEqual((right - left, bottom - top), (1028, 777))
        self.assertEqual((left, top), (width // 2 - 514, height // 2 - 388))
        self.screenshot("preview_opened")

        # What it shows: its skin, and the hole's picture at 1:1 from (40, 89).
        screen = harness.Screen()
        cx, cy = preview["client"]
        self.assertEqual(screen.pixel(cx + 5, cy + 5), harness.art_pixel(ids.IDB_PREVIEW_TITLE_LEFT, 5, 5))
        for dx, dy in ((3, 3), (400, 280), (820, 570), (100, 500)):
            self.assertEqual(screen.pixel(cx + 40 + dx, cy + 89 + dy), before.pixel(HOLE[0] + dx, HOLE[1] + dy),
                             "picture pixel %d,%d" % (dx, dy))
        # Beside it the backdrop's tiles, not the picture.
        self.assertIn(screen.pixel(cx + 35, cy + 200), {(240, 240, 240), (233, 233, 233)})
        self.assertEqual(self.drive_ok("item_text", "#%x" % preview["hwnd"], ids.IDC_PV_SIZE_LABEL), "파일정보 828 X 577")

        # Enter and Escape close nothing: the preview takes the key after them.
        # Alt+C puts the picture back on an emptied clipboard and shows the notice.
        handle = "#%x" % preview["hwnd"]
        self.drive_ok("clear_clipboard")
        self.drive_ok("key", handle, "enter")
        self.drive_ok("key", handle, "escape")
        self.drive_ok("key", handle, "alt+c")
        self.assert_soon(self.clipboard, "bitmap 828 577", timeout=10)
        self.assert_soon(lambda: self.in_preview(preview, ids.IDC_PV_COPY_NOTICE)["visible"], 1)
        self.assertEqual(self.preview()["hwnd"], preview["hwnd"])
        self.drive_ok("update", handle)
        self.screenshot("preview_copied")

        # Alt+P opens the print settings over the preview, which stays open behind them.
        self.drive_ok("key", handle, "alt+p")
        self.drive_ok("wait", "인쇄설정", "10000", "visible")
        self.drive_ok("post", "인쇄설정", 0x0010)  # WM_CLOSE
        self.drive_ok("wait_gone", "인쇄설정")
        self.assertIsNotNone(self.preview())

        # Alt+S with automatic saving: a stamped name beside the last one, remembered; the preview closes.
        self.drive_ok("key", handle, "alt+s")
        wait_until(lambda: self.preview() is None, timeout=10)
        self.assertIsNone(self.preview())
        saved = [name for name in os.listdir(shots) if name.endswith(".png")]
        self.assertEqual(len(saved), 1, saved)
        self.assertTrue(re.match(r"shot_\d{4}\.png$", saved[0]), saved)
        self.assertEqual(self.folder.ini().get("OPTION", "LASTAUTOPASS"),
                         harness.unix_to_windows(os.path.join(shots, saved[0])))
        self.assertIsNotNone(self.window_info(), "the frame is still there")


class PreviewOutside(PreviewCase):
    def setUp(self):
        super().setUp()
        # The paint program as the shell finds it: registered under its App Paths.
        self.folder.add_standin("paint.exe")
        self.addCleanup(harness.registry_delete, APP_PATH_KEY)
        harness.registry_set(APP_PATH_KEY, {"": harness.unix_to_windows(self.folder.file("paint.exe"))})

    def test_actual_size_then_edit_in_the_paint_program(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"}, signed_in=True)
        preview = self.capture()
        handle = "#%x" % preview["hwnd"]

        # A drag on its surface moves it; a drag on its right border widens it.
        left, top, right, bottom = preview["rect"]
        self.drive_ok("drag", left + 300, top + 400, left + 340, top + 420)
        self.assert_soon(lambda: self.preview()["rect"], (left + 40, top + 20, right + 40, bottom + 20), timeout=10)
        left, top, right, bottom = self.preview()["rect"]
        self.drive_ok("drag", right - 5, top + 300, right + 25, top + 300)
        self.assert_soon(lambda: self.preview()["rect"], (left, top, right + 30, bottom), timeout=10)
        # A double click on the title strip maximizes it; a press on a border then sizes nothing.
        restored = self.preview()["rect"]
        self.drive_ok("dblclick", left + 200, top + 10)
        wait_until(lambda: self.preview()["rect"] != restored, timeout=10)
        maximized = self.preview()["rect"]
        width, height = (int(v) for v in re.search(r"screen=(\d+),(\d+)", self.drive_ok("screen")).groups())
        self.assertGreaterEqual(maximized[2] - maximized[0], width, maximized)
        self.assert_soon(lambda: self.in_preview(preview, ids.IDC_PV_RESTORE)["visible"], 1)
        harness.drive("drag", maximized[2] - 3, maximized[1] + 300, maximized[2] - 60, maximized[1] + 300)
        # Input is handled in order: once the copy key after the press has
        # been, the press has too.
        self.drive_ok("clear_clipboard")
        self.drive_ok("key", handle, "alt+c")
        self.assert_soon(self.clipboard, "bitmap 828 577", timeout=10)
        self.assertEqual(self.preview()["rect"], maximized)
        self.drive_ok("click_control", handle, ids.IDC_PV_RESTORE)
        self.assert_soon(lambda: self.preview()["rect"], restored, timeout=10)

        # The actual-size viewer over the preview; Escape closes it and only it.
        self.drive_ok("click_control", handle, ids.IDC_PV_ACTUAL_SIZE)
        wait_until(lambda: (self.preview() or {}).get("viewer", "none") != "none", timeout=10)
        viewer = self.preview()["viewer"]
        self.assertNotEqual(viewer, "none", "no viewer opened")
        info = parse_info(self.drive_ok("info", viewer))
        left, top, right, bottom = info["rect"]
        self.assertEqual((right - left, bottom - top), (800, 650))
        self.drive_ok("update", viewer)
        self.screenshot("preview_actual_size")
        self.drive_ok("key", viewer, "escape")
        self.assert_soon(lambda: self.preview()["viewer"], "none", timeout=10)

        # Edit: the picture in the program's temp folder, handed to the paint program; the preview closes.
        self.drive_ok("key", handle, "alt+e")
        wait_until(lambda: self.folder.standin_starts("paint.exe"), timeout=10)
        starts = self.folder.standin_starts("paint.exe")
        self.assertEqual(len(starts), 1, starts)
        self.assertTrue(starts[0].endswith(" \"captureimg.bmp\""), starts[0])
        picture = self.folder.file("temp", "captureimg.bmp")
        with open(picture, "rb") as f:
            header = f.read(26)
        self.assertEqual(header[:2], b"BM")
        self.assertEqual(struct.unpack_from("<ii", header, 18), (828, 577))
        wait_until(lambda: self.preview() is None, timeout=10)
        self.assertIsNone(self.preview())


if __name__ == "__main__":
    harness.main()
