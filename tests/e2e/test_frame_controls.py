"""The frame's own controls as a user meets them: the options dialog leaves the
stored rectangle and the always-on-top box as the frame really is, the logo
moves and maximises the frame like the rest of its surface, and a button's tip
goes away when the pointer moves on to another button."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = "Framlet5"
OPTIONS = "Option"


def rect_of(info):
    left, top, right, bottom = info["rect"]
    return left, top, right - left, bottom - top


class FrameControlsCase(harness.E2ETestCase):
    def open_frame(self, left, top, width, height, options=None):
        ini = {"AUTOPOS_HISTORY": {"LEFT": str(left), "TOP": str(top), "WIDTH": str(width), "HEIGHT": str(height)}}
        if options:
            ini["OPTION"] = options
        self.folder.write_ini(ini)
        self.folder.start("-s")
        self.wait_frame()
        return self.wait_rect((left, top, width, height))

    def stored(self):
        """The stored rectangle as the texts in the file (an empty value stays empty)."""
        ini = self.folder.ini()
        return tuple(ini.get("AUTOPOS_HISTORY", key) for key in ("LEFT", "TOP", "WIDTH", "HEIGHT"))

    def wait_rect(self, expected, timeout=10):
        """Waits until both the window and the stored rectangle are `expected`."""
        texts = tuple(str(v) for v in expected)

        def settled():
            info = self.window_info()
            return info and rect_of(info) == expected and self.stored() == texts

        wait_until(settled, timeout=timeout)
        info = self.window_info()
        self.assertEqual(rect_of(info), expected, "window rectangle")
        self.assertEqual(self.stored(), texts, "AUTOPOS_HISTORY")
        return info

    def options_ok(self, **checks):
        """Opens the options dialog through the frame's command, sets check boxes, presses OK."""
        self.drive_ok("command", TITLE, ids.ID_OPEN_OPTIONS)
        self.drive_ok("wait", OPTIONS, "8000", "visible")
        for control, on in checks.items():
            self.drive_ok("set_check", OPTIONS, getattr(ids, control), int(on))
        self.drive_ok("click_control", OPTIONS, ids.IDC_OK_PICTURE)
        self.drive_ok("wait_gone", OPTIONS, "8000")

    def tips_shown(self):
        """The frame's visible tip windows (layered pop-ups of its process)."""
        popups = [parse_info(line) for line in self.drive_ok("popups", TITLE).splitlines() if line.strip()]
        return [p for p in popups if p["layered"] == 1]

    def point_at(self, x, y):
        # Two moves: the second one is a real move over the window the first reached.
        self.drive_ok("move", x, y)
        self.drive_ok("move", x + 1, y + 1)


class OptionsDialog(FrameControlsCase):
    def test_position_memory_off_then_an_arrow_key_moves_the_frame_by_one_pixel(self):
        # The dialog opens centred on the screen, clear of the frame, so nothing
        # uncovers and repaints the frame when it closes.
        self.open_frame(10, 10, 540, 520)
        self.options_ok(IDC_OPT_REMEMBER_POSITION=0)
        self.assert_soon(lambda: self.folder.ini().get("OPTION", "REMEMBER_POSITION"), "FALSE")
        self.drive_ok("key", TITLE, "right")
        self.wait_rect((11, 10, 540, 520))

    def test_always_on_top_unticked_unchecks_the_frame_box(self):
        self.open_frame(50, 60, 800, 600)
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
        self.open_frame(100, 100, 836, 721)
        self.drive_ok("drag", 100 + 50, 100 + 12, 100 + 50 + 120, 100 + 12 + 70)
        self.wait_rect((220, 170, 836, 721))

    def test_double_click_on_the_logo_maximises_and_restores(self):
        self.open_frame(100, 100, 836, 721)
        wl, wt, wr, wb = parse_info(self.drive_ok("screen"))["work"]
        self.drive_ok("dblclick", 100 + 50, 100 + 12)
        self.wait_rect((wl, wt, wr - wl, wb - wt))
        self.screenshot("frame_logo_maximised")
        self.drive_ok("dblclick", wl + 50, wt + 12)
        self.wait_rect((100, 100, 836, 721))


class Tips(FrameControlsCase):
    def test_tip_hides_when_the_pointer_moves_on_to_another_button(self):
        self.open_frame(100, 100, 836, 721)
        # The always-on-top box at w-78, 6 (16 x 16); its neighbours the
        # minimise button at w-61 and, further on, the close button at w-27.
        for x in (836 - 61 + 8, 836 - 27 + 8):
            self.point_at(100 + 836 - 78 + 7, 100 + 13)
            self.assertTrue(wait_until(self.tips_shown, timeout=5), "no tip over the always-on-top box")
            self.screenshot("frame_tip_before_move")
            self.point_at(100 + x, 100 + 13)
            self.assertTrue(wait_until(lambda: not self.tips_shown(), timeout=5),
                            "the tip stayed up over the button at x %d" % x)


if __name__ == "__main__":
    harness.main()
