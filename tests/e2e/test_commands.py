"""The frame's commands from the keyboard, in the test build signed in (or
not) through its hook: area capture, full-screen capture, centring, the size
keys, and the sign-in prompt that stands in front of the gated commands."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
IDYES = 6
IDNO = 7


class CommandsCase(web.ProxiedTestCase):
    def notice(self):
        """The full-capture notice's handle (a see-through window with the notice's close button), or None."""
        return next((row["hwnd"] for row in self.popups() if self.has_control(row["hwnd"], ids.IDC_NOTICE_CLOSE)),
                    None)

    def others(self):
        """Windows of other programs (a folder the shell opened), Wine's own
        notification-area window left out."""
        return [row for row in harness.rows(self.drive_ok("others", TITLE))
                if row.get("class") != "__winex11_standalone_tray"]


class SignedOut(CommandsCase):
    def test_area_capture_asks_to_sign_in_and_captures_nothing(self):
        self.open_frame()
        self.drive_ok("key", TITLE, "f2")
        prompts = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(prompts), 1, "prompts: %r" % prompts)
        self.screenshot("commands_sign_in_prompt")
        self.assertEqual(self.clipboard(), "none")
        # Its button opens the sign-in page with the address box's text as the return address.
        self.drive_ok("click_control", "#%x" % prompts[0]["hwnd"], 1)
        signed = self.proxy.wait_for(lambda url: url.startswith(web.SIGN_IN_PAGE))
        self.assertIsNotNone(signed, "sign-in page not requested")
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertEqual(self.clipboard(), "none", "the command itself is dropped")

    def test_every_gated_key_asks_to_sign_in_at_its_place(self):
        self.open_frame()
        others = self.others()
        # The sign-in prompt is centred on the stored frame (100, 80, 836 x 721).
        for key in ("f2", "ctrl+d", "ctrl+f", "f3", "ctrl+enter", "ctrl+c", "f10", "f8"):
            self.drive_ok("key", TITLE, key)
            prompts = wait_until(self.prompts, timeout=10)
            self.assertEqual(len(prompts), 1, "%s: prompts %r" % (key, prompts))
            left, top, right, bottom = prompts[0]["rect"]
            self.assertEqual((left, top, right - left, bottom - top), (333, 328, 370, 225), key)
            self.drive_ok("key", "#%x" % prompts[0]["hwnd"], "escape")
            wait_until(lambda: not self.prompts(), timeout=10)
        self.assertEqual(self.clipboard(), "none", "nothing captured")
        self.assertEqual(self.others(), others, "no folder opened")
        # Keys of normal capture do nothing at all in web capture, not even ask.
        for key in ("ctrl+l", "f9"):
            self.drive_ok("key", TITLE, key)
            self.keys_handled()
            self.assertEqual(self.prompts(), [], key)
        self.assertFalse([url for url in self.marker("escaped prompts") if url.startswith(web.SIGN_IN_PAGE)])

    def test_sign_in_asked_in_normal_capture_shows_the_page_in_web_capture(self):
        self.open_frame(normal_mode=True)
        web.sign_out(self)
        self.drive_ok("key", TITLE, "f2")
        prompts = wait_until(self.prompts, timeout=10)
        self.drive_ok("click_control", "#%x" % prompts[0]["hwnd"], 1)
        self.assertIsNotNone(self.proxy.wait_for(lambda url: url.startswith(web.SIGN_IN_PAGE)))
        # The browser is shown again, so the user sees the page asked for.
        self.assert_soon(self.normal_mode, False, timeout=10)

    def test_switch_to_normal_capture_asks_to_sign_in(self):
        self.open_frame()
        self.drive_ok("click_control", TITLE, ids.IDC_TO_NORMAL_MODE)
        prompts = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(prompts), 1, "prompts: %r" % prompts)
        self.assertFalse(self.normal_mode(), "still web capture")
        self.drive_ok("click_control", "#%x" % prompts[0]["hwnd"], 1)
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertFalse(self.normal_mode())


class SignedIn(CommandsCase):
    def setUp(self):
        super().setUp()
        self.open_frame(signed_in=True)

    def test_area_capture_puts_the_hole_on_the_clipboard(self):
        # Defaults: review on, so the picture goes to the clipboard (and the preview).
        self.drive_ok("key", TITLE, "f2")
        self.assert_soon(self.clipboard, "bitmap 828 577", timeout=10)

    def test_ctrl_c_in_the_address_box_copies_the_area(self):
        # Into the address box (client 90, 93 of the frame at 100, 80), then a text there.
        self.drive_ok("click", 100 + 90 + 20, 80 + 93 + 10)
        self.drive_ok("type", "abc")
        self.assert_soon(lambda: self.drive_ok("item_text", TITLE, ids.IDC_ADDRESS), "abc", timeout=10)
        self.drive_ok("key", "-", "ctrl+c")
        self.assert_soon(self.clipboard, "bitmap 828 577", timeout=10)

    def test_full_screen_capture_takes_the_whole_screen_and_the_frame_comes_back(self):
        width, height = parse_info(self.drive_ok("screen"))["screen"]
        self.drive_ok("key", TITLE, "ctrl+enter")
        self.assert_soon(self.clipboard, "bitmap %d %d" % (width, height), timeout=10)
        # The preview shows the picture (the frame waits hidden until it closes).
        preview = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(preview), 1, "prompts: %r" % preview)
        self.drive_ok("click_control", "#%x" % preview[0]["hwnd"], ids.IDC_PV_CLOSE)
        self.assertTrue(wait_until(self.frame_shown, timeout=10), "the frame did not come back")
        self.assertEqual(self.frame_rect(), (100, 80, 836, 721), "the frame is back where it was")

    def test_f12_centres_the_frame(self):
        self.drive_ok("move_window", TITLE, 20, 30, 600, 500)
        wait_until(lambda: self.frame_rect() == (20, 30, 600, 500), timeout=10)
        self.drive_ok("key", TITLE, "f12")
        left, top, right, bottom = parse_info(self.drive_ok("screen"))["work"]
        expected = (left + (right - left - 836) // 2, top + (bottom - top - 721) // 2, 836, 721)
        self.assert_soon(self.frame_rect, expected, timeout=10)
        self.assertEqual(self.window_info()["topmost"], 1)

    def place(self, control_id):
        return self.child(control_id)["rect"]

    def test_mode_buttons_switch_layering_and_buttons(self):
        self.enter_normal_mode()
        self.assertEqual((self.shown(ids.IDC_TO_WEB_MODE), self.shown(ids.IDC_TO_NORMAL_MODE)), (True, False))
        # The wide address box and its GO button; one panel shown (w = 836).
        self.assertEqual(self.place(ids.IDC_ADDRESS), (90, 93, 836 - 232, 22))
        self.assertEqual(self.place(ids.IDC_GO), (836 - 137, 93, 22, 22))
        self.assertEqual(len(self.panels()), 1)
        normal_panel = self.panels()[0]["hwnd"]
        self.drive_ok("update", TITLE)
        self.screenshot("commands_normal_mode")
        self.drive_ok("click_control", TITLE, ids.IDC_TO_WEB_MODE)
        self.assert_soon(self.normal_mode, False, timeout=10)
        self.assertEqual((self.shown(ids.IDC_TO_WEB_MODE), self.shown(ids.IDC_TO_NORMAL_MODE)), (False, True))
        self.assertEqual(self.place(ids.IDC_ADDRESS), (90, 93, 836 // 2 - 117, 22))
        self.assertEqual(self.place(ids.IDC_GO), (836 // 2 - 22, 93, 22, 22))
        self.assertEqual(len(self.panels()), 1)
        self.assertNotEqual(self.panels()[0]["hwnd"], normal_panel, "the other panel")

    def test_snap_puts_the_hole_over_the_window_under_it(self):
        # A window below the frame, under the point F9 looks at (the frame's
        # centre, 40 lower: 518, 480 on the screen).
        self.addCleanup(lambda: harness.drive("backdrop_close"))
        self.drive_ok("backdrop", 300, 300, 400, 300, "0000FF", "FF0000", 10)
        self.enter_normal_mode()
        self.drive_ok("key", TITLE, "f9")
        # The hole covers it exactly: 4 and 121 pixels of frame around it.
        self.assert_soon(self.frame_rect, (296, 179, 408, 444), timeout=10)
        self.assertEqual(self.prompts(), [], "no question for an ordinary window")

    def test_snap_over_the_bare_desktop_asks_first(self):
        width, height = parse_info(self.drive_ok("screen"))["screen"]
        self.enter_normal_mode()
        # No: the frame stays where it is.
        self.drive_ok("key", TITLE, "f9")
        box = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(box), 1, "prompts: %r" % box)
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], IDNO)
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertEqual(self.frame_rect(), (100, 80, 836, 721))
        # Yes: the hole covers the whole screen and the full-capture notice opens.
        self.drive_ok("key", TITLE, "f9")
        box = wait_until(self.prompts, timeout=10)
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], IDYES)
        self.assert_soon(self.frame_rect, (-4, -121, width + 8, height + 144), timeout=10)
        notice = wait_until(self.notice, timeout=10)
        self.assertIsNotNone(notice, "no full-capture notice")
        self.screenshot("commands_full_capture_notice")
        self.drive_ok("click_control", "#%x" % notice, ids.IDC_NOTICE_CLOSE)
        wait_until(lambda: self.notice() is None, timeout=10)

    def test_shift_right_widens_by_exactly_one_pixel(self):
        self.assertEqual(self.stored(), (100, 80, 836, 721))
        self.drive_ok("key", TITLE, "shift+right")
        self.assert_soon(self.frame_rect, (100, 80, 837, 721), timeout=10)
        # A second nudge would have come in the same key message: once the
        # frame has answered again, the width is still one pixel wider.
        self.drive_ok("update", TITLE)
        self.assertEqual(self.frame_rect(), (100, 80, 837, 721))
        self.assert_soon(self.stored, (100, 80, 837, 721), timeout=10)


class SaveFolder(CommandsCase):
    def test_f10_never_runs_a_stored_program(self):
        self.folder.add_standin("tool.exe")
        self.open_frame({"SELECT_FOLDER": harness.unix_to_windows(self.folder.file("tool.exe"))}, signed_in=True)
        self.drive_ok("key", TITLE, "f10")
        # The documents folder opens in the shell's own window instead.
        opened = wait_until(self.others, timeout=15)
        self.assertTrue(opened, "no folder window")
        self.screenshot("commands_f10_folder")
        for row in opened:
            self.drive_ok("post", "#%x" % row["hwnd"], 0x0010)  # WM_CLOSE
        # The shell's window is not the test's process: it must be gone before the next test.
        self.assertTrue(wait_until(lambda: not self.others(), timeout=15), self.others())
        self.assertEqual(self.folder.standin_starts("tool.exe"), [])


class Series(CommandsCase):
    """Automatic saving and continuous capture: one save dialog names the
    series, later pictures take the next free names, planted files stay."""

    def setUp(self):
        super().setUp()
        self.shots = self.folder.file("shots")
        os.makedirs(self.shots)
        with open(os.path.join(self.shots, "shot_1.bmp"), "wb") as f:
            f.write(b"planted")

    def written(self):
        """The pictures in the folder; a save still being written (its
        temporary file, renamed over the name when complete) is not one yet."""
        return sorted(name for name in os.listdir(self.shots) if not name.startswith("~fl"))

    def name_the_series(self):
        """Answers the first save's dialog: BMP, shot.bmp in the shots folder."""
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(self.shots, "shot.bmp")))

    def assert_series(self, names):
        for name in names:
            with open(os.path.join(self.shots, name), "rb") as f:
                header = f.read(26)
            self.assertEqual(header[:2], b"BM", name)
            # 24-bit bottom-up picture of the hole: 828 x 577.
            self.assertEqual(int.from_bytes(header[18:22], "little"), 828, name)
            self.assertEqual(int.from_bytes(header[22:26], "little", signed=True), 577, name)
        with open(os.path.join(self.shots, "shot_1.bmp"), "rb") as f:
            self.assertEqual(f.read(), b"planted", "a planted file is never overwritten")

    def test_f2_with_automatic_saving_names_the_series_once(self):
        self.open_frame(signed_in=True, option={"CAPTURE_REVIEW": "FALSE", "AUTO_SAVE": "TRUE"})
        self.drive_ok("key", TITLE, "f2")
        self.name_the_series()
        wait_until(lambda: len(self.written()) == 2, timeout=10)
        for count in (3, 4):
            self.drive_ok("key", TITLE, "f2")
            wait_until(lambda: len(self.written()) == count, timeout=10)
        self.assertEqual(self.written(), ["shot.bmp", "shot_0.bmp", "shot_1.bmp", "shot_2.bmp"])
        self.assert_series(["shot.bmp", "shot_0.bmp", "shot_2.bmp"])
        self.assertEqual(self.prompts(), [], "no further dialog")

    def start_series(self):
        self.enter_normal_mode()
        self.drive_ok("key", TITLE, "f3")
        box = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(box), 1, "prompts: %r" % box)
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], IDYES)
        # The interval dialog, showing the stored interval; its OK starts the series.
        dialog = wait_until(lambda: [p for p in self.prompts() if p["hwnd"] != box[0]["hwnd"]], timeout=10)
        self.drive_ok("click_control", "#%x" % dialog[0]["hwnd"], ids.IDC_OK_PICTURE)
        self.name_the_series()

    def stop_button_shown(self):
        return self.shown(ids.IDC_STOP_CONTINUOUS)

    def wait_stopped(self):
        """A series that ends on its own: the stop button hides for a moment at
        every picture, so it has ended once the button stays hidden for longer
        than an interval and a picture."""
        self.assertTrue(wait_until(lambda: harness.holds(lambda: not self.stop_button_shown(), 0.5), timeout=10),
                        "the stop button stays up")

    def assert_stopped(self):
        """A series stopped by the user: the stop is handled as the frame's key
        handling reaches it, and then the button is gone."""
        self.keys_handled()
        self.assertFalse(self.stop_button_shown(), "the stop button stays up")

    def test_continuous_capture_runs_until_escape(self):
        self.open_frame(signed_in=True, option={"CAPTURE_TIME": "200"})
        self.start_series()
        self.assertTrue(wait_until(lambda: len(self.written()) >= 4, timeout=20), self.written())
        self.assertTrue(wait_until(self.stop_button_shown, timeout=10),
                        "the stop button is not shown: frame %r, pictures %r, windows %r"
                        % (self.window_info(), self.written(), self.popups()))
        self.screenshot("commands_continuous_running")
        # The stop button sits in the hole (70 x 70 at 375, 232 of the picture)
        # and is hidden while each picture is taken.
        button = {harness.art_pixel(ids.IDB_STOP_CAPTURE, x, y) for x, y in ((3, 3), (35, 10), (66, 66))}
        for name in ("shot.bmp", "shot_0.bmp", "shot_2.bmp"):
            seen = {harness.bmp_pixel(os.path.join(self.shots, name), 375 + x, 232 + y)
                    for x, y in ((3, 3), (35, 10), (66, 66))}
            self.assertNotEqual(seen, button, name)
        self.drive_ok("key", TITLE, "escape")
        self.assert_stopped()
        stopped = self.written()
        # For three intervals and more, nothing more is written.
        self.assertTrue(harness.holds(lambda: self.written() == stopped, 0.7), self.written())
        self.assertEqual(stopped[:4], ["shot.bmp", "shot_0.bmp", "shot_1.bmp", "shot_2.bmp"])
        self.assert_series([n for n in stopped if n != "shot_1.bmp"])

    def test_stop_button_ends_the_series(self):
        self.open_frame(signed_in=True, option={"CAPTURE_TIME": "200"})
        self.start_series()
        self.assertTrue(wait_until(lambda: len(self.written()) >= 3, timeout=20), self.written())
        self.drive_ok("click_control", TITLE, ids.IDC_STOP_CONTINUOUS)
        self.assert_stopped()
        stopped = self.written()
        self.assertTrue(harness.holds(lambda: self.written() == stopped, 0.7), self.written())

    def test_a_deleted_folder_ends_the_series_silently(self):
        self.open_frame(signed_in=True, option={"CAPTURE_TIME": "200"})
        self.start_series()
        self.assertTrue(wait_until(lambda: len(self.written()) >= 3, timeout=20), self.written())
        shutil.rmtree(self.shots)
        self.wait_stopped()
        self.assertEqual(self.prompts(), [], "no message")
        self.assertFalse(os.path.exists(self.shots), "no partial file, no folder made again")

    def test_web_capture_with_no_page_drawn_writes_nothing(self):
        # No page is drawn here: the first shot has nothing to save, so the
        # series ends at once, without a save dialog or a file.
        self.open_frame(signed_in=True, option={"CAPTURE_TIME": "200"})
        self.drive_ok("key", self.frame, "f3")
        box = wait_until(lambda: [p for p in self.prompts() if self.has_control(p["hwnd"], IDYES)], timeout=10)
        self.assertEqual(len(box), 1, self.prompts())
        self.drive_ok("click_control", "#%x" % box[0]["hwnd"], IDYES)
        dialog = wait_until(lambda: [p for p in self.prompts() if self.has_control(p["hwnd"], ids.IDC_OK_PICTURE)],
                            timeout=10)
        self.assertEqual(len(dialog), 1, self.prompts())
        self.drive_ok("click_control", "#%x" % dialog[0]["hwnd"], ids.IDC_OK_PICTURE)
        self.assertTrue(wait_until(lambda: not self.prompts() and harness.holds(
            lambda: not self.prompts(), 0.6), timeout=10), "no save dialog, no message: %r" % self.prompts())
        self.wait_stopped()
        self.assertEqual(self.written(), ["shot_1.bmp"])


if __name__ == "__main__":
    harness.main()
