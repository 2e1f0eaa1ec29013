"""The capture frame: where it opens, what it stores, moving, resizing, maximising, hiding."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import drive, ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
WM_QUIT = 0x0012
WM_LBUTTONUP = 0x0202
AT_100 = (100, 100, 836, 721)


class FrameCase(harness.E2ETestCase):
    def screen(self):
        return parse_info(self.drive_ok("screen"))


class Opening(FrameCase):
    def test_without_settings_file_opens_at_origin_default_size_topmost(self):
        info = self.open_frame(place=None)
        self.assertEqual(harness.rect_of(info), (0, 0, 836, 721))
        self.assertEqual(info["client"], (836, 721), "the frame has no border")
        self.assertEqual(info["topmost"], 1)
        self.wait_rect((0, 0, 836, 721))
        order = [k for s, k in self.folder.ini().order if s == "AUTOPOS_HISTORY"]
        self.assertEqual(order, ["LEFT", "TOP", "WIDTH", "HEIGHT"])
        # Remembered position on, always on top on: the check box shows it.
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")
        # Web-mode look: the browser view fills the hole (blank under Wine); never the colour key.
        self.assertEqual(info["layered"], 0)
        self.drive_ok("update", TITLE)
        self.assertNotEqual(self.drive_ok("pixel", 400, 400), "FF00FF")
        self.screenshot("frame_default")

    def test_position_not_remembered_opens_centred(self):
        info = self.open_frame({"REMEMBER_POSITION": "FALSE", "ALWAYS_TOP": "TRUE"}, place=(10, 20, 600, 500))
        cx, cy = self.screen()["screen"]
        left, top, width, height = harness.rect_of(info)
        self.assertEqual((width, height), (836, 721))
        self.assertAlmostEqual(left, cx // 2 - 418, delta=1)
        self.assertAlmostEqual(top, cy // 2 - 360, delta=1)
        # Top-most, yet the always-on-top box stays unchecked in this case ...
        self.assertEqual(info["topmost"], 1)
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "0")
        # ... so the first click checks it and writes TRUE, the second turns top-most off.
        # (The click is handled, setting written included, before the box answers.)
        self.drive_ok("click_control", TITLE, ids.IDC_ALWAYS_TOP)
        self.assert_soon(lambda: self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")
        self.assertEqual(self.folder.ini().get("OPTION", "ALWAYS_TOP"), "TRUE")
        self.assertEqual(self.window_info()["topmost"], 1)
        self.drive_ok("click_control", TITLE, ids.IDC_ALWAYS_TOP)
        self.assert_soon(lambda: (self.window_info()["topmost"], self.folder.ini().get("OPTION", "ALWAYS_TOP")),
                         (0, "FALSE"))

    def test_small_saved_size_is_raised(self):
        info = self.open_frame(place=(30, 40, 524, 463))
        self.assertEqual(harness.rect_of(info), (30, 40, 533, 515))
        self.wait_rect((30, 40, 533, 515))

    def test_saved_size_at_the_limits_is_kept(self):
        info = self.open_frame(place=(30, 40, 525, 464))
        self.assertEqual(harness.rect_of(info), (30, 40, 525, 464))

    def test_always_top_off_opens_not_topmost(self):
        info = self.open_frame({"ALWAYS_TOP": "1"}, place=None)
        self.assertEqual(info["topmost"], 0, "the digit one is not true")
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "0")


class MovingAndSizing(FrameCase):
    def test_arrow_keys_move_and_shift_arrows_resize_by_one_pixel(self):
        self.open_frame(place=AT_100, settled=True)
        steps = [
            ("right", (101, 100, 836, 721)),
            ("down", (101, 101, 836, 721)),
            ("left", (100, 101, 836, 721)),
            ("up", (100, 100, 836, 721)),
            ("shift+right", (100, 100, 837, 721)),
            ("shift+down", (100, 100, 837, 722)),
            ("shift+left", (100, 100, 836, 722)),
            ("shift+up", (100, 100, 836, 721)),
        ]
        for key, expected in steps:
            self.drive_ok("key", TITLE, key)
            self.wait_rect(expected)

    def test_nudge_starts_from_the_stored_rectangle(self):
        self.open_frame(place=AT_100, settled=True)
        # Someone edits the file while the frame runs: the next nudge starts there.
        # (Every repaint stores the rectangle: let the pending ones happen first.)
        self.drive_ok("update", TITLE)
        self.folder.write_ini({"AUTOPOS_HISTORY": {"LEFT": "200", "TOP": "150", "WIDTH": "700", "HEIGHT": "600"}})
        self.drive_ok("key", TITLE, "right")
        self.wait_rect((201, 150, 700, 600))

    def test_arrow_keys_move_the_frame_while_the_address_box_has_the_focus(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("click", 100 + 150, 100 + 104)  # into the address box
        self.drive_ok("type", "abc")
        self.drive_ok("key", "-", "left")
        self.wait_rect((99, 100, 836, 721))
        # The caret moved left inside the box too: typing goes in before the last letter.
        self.drive_ok("type", "X")
        self.assert_soon(lambda: self.drive_ok("item_text", TITLE, ids.IDC_ADDRESS), "abXc")

    def test_narrow_frame_hides_what_does_not_fit(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("move_window", TITLE, 100, 100, 260, 400)
        self.wait_rect((100, 100, 260, 400))
        children = {row.get("id"): row for row in self.children()}
        self.assertEqual(children[ids.IDC_OPTIONS_MENU]["visible"], 0, "options button hidden below 270")
        self.assertEqual(children[ids.IDC_HELP_PAGE]["visible"], 1, "help button shown from 235")
        self.assertEqual(children[ids.IDC_COORD_LABEL]["visible"], 1, "label shown from 230")
        self.assertEqual(children[ids.IDC_AREA_DIALOG]["rect"], (6, 383, 11, 11), "area button moves left below 265")
        self.screenshot("frame_narrow")

    def test_drag_on_the_top_band_moves_the_frame(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("drag", 100 + 450, 100 + 15, 100 + 450 + 120, 100 + 15 + 70)
        self.wait_rect((220, 170, 836, 721))

    def test_drag_on_the_bottom_right_corner_resizes(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("drag", 100 + 830, 100 + 715, 100 + 830 - 100, 100 + 715 - 50)
        self.wait_rect((100, 100, 736, 671))
        wait_until(lambda: "text=img Size | X:104 Y:221 | W:728 H:527" in self.drive_ok("children", TITLE))
        self.assertIn("text=img Size | X:104 Y:221 | W:728 H:527", self.drive_ok("children", TITLE))

    def test_dragging_stops_at_the_smallest_size(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("drag", 100 + 830, 100 + 715, 100 + 100, 100 + 100)
        self.wait_rect((100, 100, 220, 230))

    def test_double_click_on_the_top_band_maximises_and_restores(self):
        self.open_frame(place=AT_100, settled=True)
        work = self.screen()["work"]
        self.drive_ok("dblclick", 100 + 450, 100 + 15)
        wl, wt, wr, wb = work
        self.wait_rect((wl, wt, wr - wl, wb - wt))
        children = self.drive_ok("children", TITLE)
        self.assertIn("id=%d class=Button visible=1" % ids.IDC_RESTORE, children, "restore button shown")
        self.assertIn("id=%d class=Button visible=0" % ids.IDC_MAXIMIZE, children, "maximise button hidden")
        self.drive_ok("dblclick", 450, 15)
        self.wait_rect((100, 100, 836, 721))


class Hiding(FrameCase):
    def test_close_button_hides_to_the_notification_area(self):
        self.open_frame(place=None)
        self.assertEqual(self.drive_ok("tray_exists", TITLE, ids.TRAY_ICON_ID), "1")
        self.drive_ok("click_control", TITLE, ids.IDC_CLOSE_TO_TRAY)
        self.assertTrue(wait_until(lambda: self.window_info()["visible"] == 0, timeout=5))
        self.assertEqual(self.drive_ok("tray_exists", TITLE, ids.TRAY_ICON_ID), "1")
        # A left click on the icon brings the frame back.
        self.drive_ok("post", TITLE, ids.WM_TRAY_NOTIFY, ids.TRAY_ICON_ID, WM_LBUTTONUP)
        self.assertTrue(wait_until(lambda: self.window_info()["visible"] == 1, timeout=5))

    def test_minimise_button_stores_the_rectangle_first(self):
        self.open_frame(place=AT_100, settled=True)
        self.drive_ok("click_control", TITLE, ids.IDC_MINIMIZE)
        self.assertTrue(wait_until(lambda: self.window_info()["iconic"] == 1, timeout=5))
        self.assertEqual(self.stored(), (100, 100, 836, 721))


class Tips(FrameCase):
    def test_pointer_on_the_area_button_shows_its_tip_and_leaving_hides_it(self):
        self.open_frame(place=AT_100, settled=True)
        # The area button at 240, h-17, 11 x 11.
        self.point_at(100 + 246, 100 + 710, lambda: [tuple(tip["rect"]) for tip in self.tips()],
                      [(313, 747, 313 + 360, 747 + 51)], "the area button's tip")
        self.screenshot("frame_area_tip")
        self.point_at(100 + 451, 100 + 401, self.tips, [], "the tip stays up off the button")

    def test_pointer_on_the_always_on_top_box_shows_its_tip(self):
        self.open_frame(place=AT_100, settled=True)
        # The box at w-78, 6, 16 x 16.
        self.point_at(100 + 766, 100 + 14, lambda: [tuple(tip["rect"]) for tip in self.tips()],
                      [(936 - 396, 120, 936 - 396 + 360, 171)], "the always-on-top box's tip")
        self.screenshot("frame_topmost_tip")


class Ending(FrameCase):
    def test_quit_message_ends_the_program_and_removes_the_icon(self):
        proc = self.folder.start("-s")
        info = self.wait_frame()
        self.assertEqual(self.drive_ok("tray_exists", TITLE, ids.TRAY_ICON_ID), "1")
        self.drive_ok("post", TITLE, WM_QUIT, 0, 0)  # as the exit command posts it
        self.assertIsNotNone(proc.wait(20), "the program did not end")
        self.assertEqual(drive("find", TITLE)[0], 1)
        self.assertEqual(drive("tray_exists", "#%x" % info["hwnd"], ids.TRAY_ICON_ID)[0], 1)


class AlwaysOnTop(FrameCase):
    def test_check_box_writes_the_setting_and_changes_topmost(self):
        self.open_frame(place=(50, 60, 800, 600))
        self.assertEqual(self.window_info()["topmost"], 1)
        self.drive_ok("click_control", TITLE, ids.IDC_ALWAYS_TOP)
        self.assert_soon(lambda: (self.window_info()["topmost"], self.folder.ini().get("OPTION", "ALWAYS_TOP")),
                         (0, "FALSE"))
        self.assertEqual(self.frame_rect(), (50, 60, 800, 600), "place and size kept")
        self.drive_ok("click_control", TITLE, ids.IDC_ALWAYS_TOP)
        self.assert_soon(lambda: (self.window_info()["topmost"], self.folder.ini().get("OPTION", "ALWAYS_TOP")),
                         (1, "TRUE"))


if __name__ == "__main__":
    harness.main()
