"""The toolbar panels inside the frame: which buttons show at a frame width,
the more menu of the hidden ones and the command its item runs, and the
hover tips at their places."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, wait_until  # noqa: E402

TITLE = harness.FRAME
LEFT, TOP = harness.PLACE[:2]

LEFT_GROUP = [ids.IDC_TB_AREA, ids.IDC_TB_SCROLL, ids.IDC_TB_REGION, ids.IDC_TB_WINDOW,
              ids.IDC_TB_CONTINUOUS, ids.IDC_TB_FULL_SCREEN, ids.IDC_TB_COPY]
RIGHT_GROUP = [ids.IDC_TB_SEPARATOR, ids.IDC_TB_OPEN_FOLDER, ids.IDC_TB_SNAP, ids.IDC_TB_PRINT]


def expected_row(frame_width, record_id):
    """Visible controls and their places (x, y) in a panel w = frame width - 8 wide."""
    w = frame_width - 8
    row = {}
    for i, (control, threshold) in enumerate(zip(LEFT_GROUP + [record_id], range(80, 560, 60))):
        if w >= threshold:
            row[control] = ([10, 67, 124, 181, 237, 294, 351, 408][i], 5)
    if w >= 670:
        row.update({ids.IDC_TB_SEPARATOR: (w - 180, 11), ids.IDC_TB_OPEN_FOLDER: (w - 170, 5),
                    ids.IDC_TB_SNAP: (w - 115, 5), ids.IDC_TB_PRINT: (w - 60, 5)})
    else:
        if w >= 570:
            row.update({ids.IDC_TB_SEPARATOR: (490, 11), ids.IDC_TB_OPEN_FOLDER: (502, 5)})
        if w >= 620:
            row[ids.IDC_TB_SNAP] = (554, 5)
        row[ids.IDC_TB_ARROW] = (w - 20, 5)
    return row


class ToolbarCase(web.ProxiedTestCase):
    def open_frame(self, width, **kw):
        super().open_frame(place=(LEFT, TOP, width, 721), **kw)

    def panel(self):
        """The frame's visible toolbar panel (a dialog child of the frame)."""
        panels = self.panels()
        self.assertEqual(len(panels), 1, panels)
        return panels[0]

    def row(self):
        return {r["id"]: tuple(r["rect"][:2]) for r in self.children("#%x" % self.panel()["hwnd"]) if r["visible"] == 1}

    def resize(self, width):
        self.drive_ok("move_window", TITLE, LEFT, TOP, width, 721)
        wait_until(lambda: self.frame_rect() == (LEFT, TOP, width, 721), timeout=10)
        self.drive_ok("update", TITLE)


class Layout(ToolbarCase):
    def test_buttons_shown_and_placed_by_the_frame_width_in_both_panels(self):
        self.open_frame(836, signed_in=True)
        for mode, record in (("web", ids.IDC_TB_RECORD_WEB), ("normal", ids.IDC_TB_RECORD)):
            if mode == "normal":
                self.enter_normal_mode()
            for width in (458, 608, 836):
                self.resize(width)
                self.assert_soon(self.row, expected_row(width, record), "%s panel at %d" % (mode, width), timeout=10)
                self.assertEqual(self.panel()["rect"], (4, 28, width - 8, 60))
            self.drive_ok("update", TITLE)
            self.screenshot("toolbar_%s_836" % mode)


class MoreMenu(ToolbarCase):
    def open_more_menu(self, width):
        # A click on the arrow (w - 20, 5 in the panel at 4, 28 of the frame).
        self.drive_ok("click", LEFT + 4 + (width - 8) - 20 + 8, TOP + 28 + 5 + 26)
        self.assertTrue(wait_until(self.prompts, timeout=10), "no menu")

    def choose_first(self):
        self.drive_ok("key", "-", "down")
        self.drive_ok("key", "-", "enter")

    def test_an_item_runs_its_command_through_the_frame(self):
        # At 458 the web menu lists record, open folder and print: its first
        # item starts the recorder, which is not installed, so its prompt opens.
        self.open_frame(836)
        self.resize(458)
        self.open_more_menu(458)
        self.screenshot("toolbar_more_menu_458")
        self.choose_first()
        prompt = wait_until(lambda: [p for p in self.prompts() if p["rect"][2] - p["rect"][0] == 437], timeout=10)
        self.assertTrue(prompt, "the recorder prompt: %r" % self.popups())
        self.drive_ok("key", "#%x" % prompt[0]["hwnd"], "escape")
        self.assertTrue(wait_until(lambda: not self.prompts(), timeout=10))
        # Its last item, print, passes the sign-in gate first.
        self.open_more_menu(458)
        self.drive_ok("key", "-", "up")
        self.drive_ok("key", "-", "enter")
        prompt = wait_until(lambda: [p for p in self.prompts() if p["rect"][2] - p["rect"][0] == 370], timeout=10)
        self.assertTrue(prompt, "the sign-in prompt: %r" % self.popups())


class Tips(ToolbarCase):
    def tip(self):
        shown = self.tips()
        return tuple(shown[0]["rect"]) if shown else None

    def test_tips_at_their_places_by_frame_width(self):
        self.open_frame(836)
        # The area button's tip: frame left + 4, frame top + 80, 263 x 51.
        self.point_at(LEFT + 4 + 10 + 26, TOP + 28 + 5 + 26, self.tip,
                      (LEFT + 4, TOP + 80, LEFT + 4 + 263, TOP + 80 + 51))
        self.screenshot("toolbar_tip_area")
        # The print button's tip on a wide frame: frame right - 239, 235 wide.
        self.point_at(LEFT + 4 + (836 - 8) - 60 + 26, TOP + 28 + 5 + 26, self.tip,
                      (LEFT + 836 - 239, TOP + 80, LEFT + 836 - 239 + 235, TOP + 80 + 51))
        # The open-folder button of a narrower frame: frame left + 255.
        self.resize(658)
        self.point_at(LEFT + 4 + 502 + 26, TOP + 28 + 5 + 26, self.tip,
                      (LEFT + 255, TOP + 80, LEFT + 255 + 310, TOP + 80 + 51))
        # Off the buttons the tip goes.
        self.point_at(LEFT + 300, TOP + 400, self.tip, None)


if __name__ == "__main__":
    harness.main()
