"""The frame's own controls as a user meets them: the options dialog leaves the
stored rectangle and the always-on-top box as the frame really is, the logo
moves and maximises the frame like the rest of its surface, and a button's tip
goes away when the pointer moves on to another button."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import ids, wait_until  # noqa: E402

TITLE = harness.FRAME
OPTIONS = "Option"


class FrameControlsCase(harness.E2ETestCase):
    def options_ok(self, **checks):
        """Opens the options dialog through the frame's command, sets check boxes, presses OK."""
        self.drive_ok("command", TITLE, ids.ID_OPEN_OPTIONS)
        self.drive_ok("wait", OPTIONS, "8000", "visible")
        for control, on in checks.items():
            self.drive_ok("set_check", OPTIONS, getattr(ids, control), int(on))
        self.drive_ok("click_control", OPTIONS, ids.IDC_OK_PICTURE)
        self.drive_ok("wait_gone", OPTIONS, "8000")


class OptionsDialog(FrameControlsCase):
    def test_position_memory_off_then_an_arrow_key_moves_the_frame_by_one_pixel(self):
        # The dialog opens centred on the screen, clear of the frame, so nothing
        # uncovers and repaints the frame when it closes.
        self.open_frame(place=(10, 10, 540, 520), settled=True)
        self.options_ok(IDC_OPT_REMEMBER_POSITION=0)
        self.assert_soon(lambda: self.folder.ini().get("OPTION", "REMEMBER_POSITION"), "FALSE")
        self.drive_ok("key", TITLE, "right")
        self.wait_rect((11, 10, 540, 520))

    def test_always_on_top_unticked_unchecks_the_frame_box(self):
        self.open_frame(place=(50, 60, 800, 600), settled=True)
        self.assertEqual(self.window_info()["topmost"], 1)
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")
        self.options_ok(IDC_OPT_ALWAYS_TOP=0)
        self.assertTrue(wait_until(lambda: self.window_info()["topmost"] == 0, timeout=5), "still top-most")
        self.assert_soon(lambda: self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "0")
        # Box and state agree, so one click on the box puts the frame back on top.
        self.drive_ok("click_control", TITLE, ids.IDC_ALWAYS_TOP)
        self.assertTrue(wait_until(lambda: self.window_info()["topmost"] == 1, timeout=5), "not top-most again")
        self.assertEqual(self.drive_ok("checked", TITLE, ids.IDC_ALWAYS_TOP), "1")
        self.assert_soon(lambda: self.folder.ini().get("OPTION", "ALWAYS_TOP"), "TRUE")


class Logo(FrameControlsCase):
    # The logo sits at 5, 0, 102 x 24 on the top band.
    def test_drag_on_the_logo_moves_the_frame(self):
        self.open_frame(place=(100, 100, 836, 721), settled=True)
        self.drive_ok("drag", 100 + 50, 100 + 12, 100 + 50 + 120, 100 + 12 + 70)
        self.wait_rect((220, 170, 836, 721))

    def test_double_click_on_the_logo_maximises_and_restores(self):
        self.open_frame(place=(100, 100, 836, 721), settled=True)
        wl, wt, wr, wb = harness.parse_info(self.drive_ok("screen"))["work"]
        self.drive_ok("dblclick", 100 + 50, 100 + 12)
        self.wait_rect((wl, wt, wr - wl, wb - wt))
        self.screenshot("frame_logo_maximised")
        self.drive_ok("dblclick", wl + 50, wt + 12)
        self.wait_rect((100, 100, 836, 721))


class Tips(FrameControlsCase):
    def test_tip_hides_when_the_pointer_moves_on_to_another_button(self):
        self.open_frame(place=(100, 100, 836, 721), settled=True)
        # The always-on-top box at w-78, 6 (16 x 16); its neighbours the
        # minimise button at w-61 and, further on, the close button at w-27.
        for x in (836 - 61 + 8, 836 - 27 + 8):
            self.point_at(100 + 836 - 78 + 8, 100 + 14, lambda: len(self.tips()), 1, "no tip over the always-on-top box")
            self.screenshot("frame_tip_before_move")
            self.point_at(100 + x, 100 + 14, self.tips, [], "the tip stayed up over the button at x %d" % x)


if __name__ == "__main__":
    harness.main()
