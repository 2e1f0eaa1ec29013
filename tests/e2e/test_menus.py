"""The frame's popup menus as a user meets them: the options button's menu
toggles always-on-top in the file, on the frame and in its box, and the
notification icon's menu runs the item chosen with the keyboard."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import ids, wait_until  # noqa: E402

TITLE = harness.FRAME
WM_RBUTTONUP = 0x0205


class MenusCase(harness.E2ETestCase):
    def open_options_menu(self):
        """Clicks the options button (w-160, 5, 33 x 18 in the frame at 100, 80) as a user does, which also
        brings the frame to the front so the menu takes the keys that follow."""
        self.drive_ok("click", 100 + 836 - 160 + 16, 80 + 5 + 9)

    def menu_open(self):
        """The menu window the frame's process shows (a visible top-level window besides the frame)."""
        return bool(wait_until(self.popups, timeout=10))

    def choose(self, downs):
        """Picks the item `downs` places down the open menu (rules are skipped) with the keyboard."""
        self.assertTrue(self.menu_open(), "the menu opens")
        for _ in range(downs):
            self.drive_ok("key", "-", "down")
        self.drive_ok("key", "-", "enter")
        self.assertTrue(wait_until(lambda: not self.popups(), timeout=10), "the menu closes")

    def flag(self, key):
        return self.folder.ini().get("OPTION", key)

    def test_options_menu_always_on_top_toggle(self):
        self.open_frame()
        self.assert_soon(lambda: self.window_info()["topmost"], 1, "top-most by default")
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")
        # The third item of the options menu is always-on-top.
        self.open_options_menu()
        self.choose(3)
        self.assert_soon(lambda: self.flag("ALWAYS_TOP"), "FALSE", "the toggle writes the flag")
        self.assert_soon(lambda: self.window_info()["topmost"], 0, "the frame stops being top-most")
        self.assert_soon(lambda: self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "0", "the box follows")
        self.screenshot("menus_always_top_off")
        # And back on.
        self.open_options_menu()
        self.choose(3)
        self.assert_soon(lambda: self.flag("ALWAYS_TOP"), "TRUE")
        self.assert_soon(lambda: self.window_info()["topmost"], 1)
        self.assert_soon(lambda: self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")

    def test_options_menu_other_toggles_write_only_their_flag(self):
        self.open_frame()
        self.assert_soon(lambda: self.window_info()["topmost"], 1)
        # Item, key, value after one toggle from the default.
        for downs, key, expected in ((1, "REMEMBER_POSITION", "FALSE"), (2, "CAPTURE_REVIEW", "FALSE"),
                                     (4, "AUTO_SAVE", "TRUE")):
            self.open_options_menu()
            self.choose(downs)
            self.assert_soon(lambda: self.flag(key), expected, key)
            self.assertIsNone(self.flag("ALWAYS_TOP"), "always-on-top untouched by " + key)
            self.assertEqual(self.window_info()["topmost"], 1, key)
        # The last item opens the options dialog.
        self.open_options_menu()
        self.assertTrue(self.menu_open())
        for _ in range(5):
            self.drive_ok("key", "-", "down")
        self.drive_ok("key", "-", "enter")
        self.drive_ok("wait", "Option", "8000", "visible")

    def test_notification_menu_centres_the_frame(self):
        self.open_frame()
        self.drive_ok("move_window", TITLE, 20, 30, 600, 500)
        self.assert_soon(self.frame_rect, (20, 30, 600, 500))
        self.drive_ok("post", TITLE, ids.WM_TRAY_NOTIFY, ids.TRAY_ICON_ID, WM_RBUTTONUP)
        # Web capture, frame shown: area, region, continuous, full screen, copy,
        # recorder | folder, print, edit, area size, centre.
        self.choose(11)
        left, top, right, bottom = harness.parse_info(self.drive_ok("screen"))["work"]
        expected = (left + (right - left - 836) // 2, top + (bottom - top - 721) // 2, 836, 721)
        self.assert_soon(self.frame_rect, expected, "the centre item ran", timeout=10)


if __name__ == "__main__":
    harness.main()
