"""Scroll capture end to end: a window of all-distinct rows that scrolls by a
known step lies under the see-through hole; the stitched picture must be its
content row for row, with one scroll message per step. A stop while a step
waits for the window's answer is made certain by having the window hold that
answer; a stop between two steps is shown in the Windows tier
(ScrollCaptureFrame in tests/win/scroll_capture_test.cpp), since a step
follows the last one at once and nothing outside the program can arrive
between them for sure."""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import test_commands as commands  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
HOLE = harness.HOLE


def content_row(row, width):
    """The scrolling window's row as bottom-up BMP bytes (blue, green, red)."""
    out = bytearray()
    for x in range(width):
        out += bytes(((x >> 6) & 0xFF, (((row >> 8) & 3) << 6) | (x & 63), row & 0xFF))
    return bytes(out)


def bmp_rows(path):
    """(width, height, rows top first without padding) of a 24-bit BMP file."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    assert bits == 24 and compression == 0, (bits, compression)
    stride = (width * 3 + 3) // 4 * 4
    rows = [data[offset + (height - 1 - y) * stride:offset + (height - 1 - y) * stride + width * 3]
            for y in range(height)]
    return width, height, rows


class ScrollCapture(web.ProxiedTestCase):
    def tearDown(self):
        harness.drive("scroll_rows_close")
        super().tearDown()

    def scroller(self, rows, step):
        x, y, w, h = HOLE
        self.drive_ok("scroll_rows", x, y, w, h, rows, step)

    def state(self):
        return parse_info(self.drive_ok("scroll_rows_state"))

    def stop_button_shown(self):
        return self.shown(ids.IDC_STOP_SCROLL)

    def stop_during_a_step(self, step, held, stop):
        """Starts a capture of a long content and runs `stop` while the frame
        waits for the window's answer to its scroll number `held`: the stop is
        read in that step's wait. Returns the saved picture's path."""
        self.scroller(HOLE[3] + 400 * step, step)
        self.drive_ok("scroll_rows_hold", held)
        self.drive_ok("key", TITLE, "ctrl+l")
        self.assertTrue(wait_until(lambda: self.state()["held"] == 1, timeout=20, interval=0.01),
                        "the scroll was not held: %r" % self.state())
        stop()
        self.drive_ok("scroll_rows_release")
        return self.save_picture()

    def save_picture(self):
        """Answers the short save dialog with a BMP file; its path."""
        path = self.folder.file("scrolled.bmp")
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(path))
        wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 54, timeout=20)
        return path

    def assert_content(self, path, height):
        width, got_height, rows = bmp_rows(path)
        self.assertEqual((width, got_height), (HOLE[2], height))
        for y, row in enumerate(rows):
            self.assertEqual(row, content_row(y, width), "row %d" % y)

    def test_the_stitched_picture_is_the_windows_content_row_for_row(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)
        content, step = HOLE[3] + 8 * 13, 13
        self.scroller(content, step)
        self.drive_ok("key", TITLE, "ctrl+l")
        path = self.save_picture()
        self.screenshot("scroll_capture_saved")
        self.assert_content(path, content)
        # Eight steps that move, then one that finds the end.
        self.assertEqual(self.state()["scrolls"], 9)
        self.assertFalse(self.stop_button_shown(), "the stop button goes with the capture")

    def test_with_review_the_picture_goes_to_the_clipboard_and_the_preview(self):
        self.open_frame({"CAPTURE_REVIEW": "TRUE"}, normal_mode=True)
        content = HOLE[3] + 4 * 9
        self.scroller(content, 9)
        self.drive_ok("key", TITLE, "ctrl+l")
        preview = wait_until(self.prompts, timeout=20)
        self.assertEqual(len(preview), 1, preview)
        self.assertEqual(self.drive_ok("clipboard").strip(), "bitmap %d %d" % (HOLE[2], content))
        self.assertEqual(self.state()["scrolls"], 5)

    def test_escape_mid_capture_delivers_the_rows_gathered(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)

        def escape():
            self.drive_ok("key", TITLE, "escape")
            # The step's wait shows the stop button, the picture's grabs leave it out.
            # (The frame waiting for the answer paints only when asked by a sent message.)
            self.assertTrue(self.stop_button_shown(), "no stop button; %r" % self.state())
            self.drive_ok("update", TITLE)
            self.screenshot("scroll_capture_running")

        path = self.stop_during_a_step(3, 4, escape)
        # Four steps' rows; the step that ends the capture scrolls once more and adds nothing.
        self.assertEqual(self.state()["scrolls"], 5)
        self.assert_content(path, HOLE[3] + 4 * 3)
        self.assertTrue(harness.holds(lambda: self.state()["scrolls"] == 5, 0.5), "the capture is over")

    def test_the_stop_button_ends_the_capture_with_delivery(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)
        path = self.stop_during_a_step(5, 3, lambda: self.drive_ok("click_control", TITLE, ids.IDC_STOP_SCROLL))
        self.assertEqual(self.state()["scrolls"], 4)
        self.assert_content(path, HOLE[3] + 3 * 5)

    def test_a_maximised_frame_refuses_with_its_message(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)
        self.scroller(HOLE[3] + 50, 5)
        self.drive_ok("click_control", TITLE, ids.IDC_MAXIMIZE)
        self.assert_soon(lambda: self.shown(ids.IDC_RESTORE), True, timeout=10)
        self.drive_ok("key", self.frame, "ctrl+l")
        box = wait_until(self.prompts, timeout=10)
        self.screenshot("scroll_capture_maximised")
        self.assertEqual(len(box), 1, box)
        text = self.drive_ok("item_text", "#%x" % box[0]["hwnd"], 0xFFFF).replace("\r\n", "\n").strip()
        self.assertEqual(text, "전체창 모드에서는 스크롤캡쳐를 지원하지 않습니다.\n\n"
                               "기본창 모드에서 창사이즈를 조정하신 후 스크롤캡쳐를 진행해 주세요.")
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], 1)
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertTrue(harness.holds(lambda: self.state()["scrolls"] == 0, 0.5), "nothing scrolled")
        self.assertFalse(self.stop_button_shown())

    def test_signed_out_it_asks_to_sign_in_and_scrolls_nothing(self):
        self.open_frame({"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "FALSE"}, normal_mode=True)
        web.sign_out(self)
        self.scroller(HOLE[3] + 50, 5)
        self.drive_ok("key", TITLE, "ctrl+l")
        box = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(box), 1, box)
        self.drive_ok("key", "#%x" % box[0]["hwnd"], "escape")
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertTrue(harness.holds(lambda: self.state()["scrolls"] == 0, 0.5), "nothing scrolled")
        self.assertFalse(self.stop_button_shown())


class ContinuousTiming(commands.CommandsCase):
    """The series' pace: each picture follows the previous one's save by the
    stored interval."""

    def test_pictures_follow_each_other_by_the_interval(self):
        shots = self.folder.file("shots")
        os.makedirs(shots)
        self.open_frame({"CAPTURE_TIME": "600"}, normal_mode=True)
        self.drive_ok("key", TITLE, "f3")
        box = wait_until(self.prompts, timeout=10)
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], 6)  # IDYES
        dialog = wait_until(lambda: [p for p in self.prompts() if p["hwnd"] != box[0]["hwnd"]], timeout=10)
        self.drive_ok("click_control", "#%x" % dialog[0]["hwnd"], ids.IDC_OK_PICTURE)
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(shots, "shot.bmp")))
        # Pictures only: a save being written is a temporary file until it is complete.
        wait_until(lambda: len([n for n in os.listdir(shots) if not n.startswith("~fl")]) >= 5, timeout=30)
        self.drive_ok("key", TITLE, "escape")
        times = [os.stat(os.path.join(shots, "shot_%d.bmp" % n)).st_mtime for n in range(4)]
        gaps = [b - a for a, b in zip(times, times[1:])]
        # The pause follows each save, so no gap is shorter than the interval
        # (less the timers' coarseness). How much longer a gap is depends on
        # the machine's load: a speed, not a rule, so it is not asserted here.
        for gap in gaps:
            self.assertGreaterEqual(gap, 0.55, gaps)


if __name__ == "__main__":
    harness.main()
