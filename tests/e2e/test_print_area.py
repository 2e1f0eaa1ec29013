"""Printing the frame's area and the area dialog, in the test build signed in
through its hook. F8 prints the hole on the default printer (the private PDF
queue of scripts/cups.sh, whose output folder FRAMLET_PRINT_OUTPUT names); the
printed PDF is rasterised and must hold what the hole showed. The area button
and the coordinate label open the area dialog, whose OK moves the frame so
that its hole covers the typed rectangle."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
PRINT_TITLE = "인쇄설정"
AREA_TITLE = "영역지정"
HOLE = harness.HOLE
BLUE = (0, 0, 255)
RED = (255, 0, 0)
MARK = 40
RASTER_DPI = 100


def near(a, b, tolerance=60):
    return all(abs(x - y) < tolerance for x, y in zip(a, b))


class Page:
    """A printed page rasterised by pdftoppm."""

    def __init__(self, pdf, base):
        subprocess.run(["pdftoppm", "-r", str(RASTER_DPI), "-singlefile", pdf, base], check=True, timeout=60)
        with open(base + ".ppm", "rb") as f:
            data = f.read()
        fields = data.split(maxsplit=4)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = fields[4]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def box(self, colour):
        xs, ys = [], []
        for y in range(self.height):
            for x in range(self.width):
                if near(self.pixel(x, y), colour):
                    xs.append(x)
                    ys.append(y)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


class PrintAreaCase(web.ProxiedTestCase):
    def setUp(self):
        super().setUp()
        self.open_frame(signed_in=True)

    def dialog(self, title):
        rc, out = harness.drive("wait", title, "10000", "visible")
        self.assertEqual(rc, 0, "no window titled %s" % title)
        return parse_info(out)["hwnd"]

    def windows_titled(self, title):
        rc, _ = harness.drive("find", title)
        return rc == 0


class PrintArea(PrintAreaCase):
    def setUp(self):
        super().setUp()
        self.output = os.environ.get("FRAMLET_PRINT_OUTPUT")
        self.assertTrue(self.output, "FRAMLET_PRINT_OUTPUT is not set: start the PDF queue with scripts/cups.sh "
                                     "(scripts/test.sh does) and export its variables (scripts/cups.sh env)")
        self.pdf = os.path.join(self.output, "print.pdf")
        for name in ("print.pdf", "e2e-page.ppm"):
            if os.path.exists(os.path.join(self.output, name)):
                os.unlink(os.path.join(self.output, name))
        self.addCleanup(lambda: harness.drive("backdrop_close"))

    def pdf_complete(self):
        try:
            with open(self.pdf, "rb") as f:
                data = f.read()
        except OSError:
            return False
        return len(data) > 64 and b"%%EOF" in data[-64:]

    def test_f8_prints_what_the_hole_shows_over_the_whole_printable_area(self):
        # Normal capture: the hole is see-through onto a blue backdrop with a red corner.
        self.drive_ok("backdrop", *HOLE, "0000FF", "FF0000", MARK)
        self.enter_normal_mode()
        # The frame turns see-through as its new surface reaches the display, a
        # moment after its style has changed: look until the hole shows through.
        seen = []

        def hole_shows_the_backdrop():
            screen = harness.Screen()
            seen[:] = [screen.pixel(HOLE[0] + 200, HOLE[1] + 200), screen.pixel(HOLE[0] + 5, HOLE[1] + 5)]
            return near(seen[0], BLUE) and near(seen[1], RED)

        self.assertTrue(wait_until(hole_shows_the_backdrop, timeout=10),
                        "the hole does not show the backdrop: %r" % seen)

        self.drive_ok("key", TITLE, "f8")
        dialog = self.dialog(PRINT_TITLE)
        self.drive_ok("update", "#%x" % dialog)
        self.screenshot("print_area_dialog")
        # The dialog stands over the hole; it is hidden before the grab.
        self.drive_ok("click_control", "#%x" % dialog, ids.IDC_PRINT_NOW)
        self.assertTrue(wait_until(lambda: not self.windows_titled(PRINT_TITLE), timeout=20), "dialog still open")
        self.assertTrue(wait_until(self.pdf_complete, timeout=60), "nothing printed")

        page = Page(self.pdf, os.path.join(self.output, "e2e-page"))
        blue = page.box(BLUE)
        red = page.box(RED)
        self.assertIsNotNone(blue, "no blue on the page")
        self.assertIsNotNone(red, "no red corner on the page")
        # Fit (the default): the picture fills the printable area of a portrait
        # sheet, the hole's top-left corner at the area's top-left.
        self.assertLess(page.width, page.height)
        width, height = blue[2] - blue[0], blue[3] - blue[1]
        self.assertGreater(width, page.width * 0.8)
        self.assertGreater(height, page.height * 0.8)
        self.assertLessEqual(abs(red[0] - blue[0]), 1)
        self.assertLessEqual(abs(red[1] - blue[1]), 1)
        self.assertAlmostEqual(red[2] - red[0], width * MARK / HOLE[2], delta=2)
        self.assertAlmostEqual(red[3] - red[1], height * MARK / HOLE[3], delta=2)
        # Nothing of the dialog or the frame in it: only the backdrop's two colours.
        strays = [(x, y) for y in range(blue[1] + 2, blue[3] - 2, 3) for x in range(blue[0] + 2, blue[2] - 2, 3)
                  if not near(page.pixel(x, y), BLUE) and not near(page.pixel(x, y), RED)]
        self.assertEqual(strays[:5], [], "%d pixels of something else" % len(strays))


class AreaDialog(PrintAreaCase):
    def set_area(self, dialog, x, y, w, h):
        for control, value in ((ids.IDC_AREA_X, x), (ids.IDC_AREA_Y, y), (ids.IDC_AREA_WIDTH, w),
                               (ids.IDC_AREA_HEIGHT, h)):
            self.drive_ok("set_text", "#%x" % dialog, control, value)

    def test_area_button_opens_it_and_ok_puts_the_hole_over_the_typed_rectangle(self):
        self.drive_ok("click_control", TITLE, ids.IDC_AREA_DIALOG)
        dialog = self.dialog(AREA_TITLE)
        self.assertEqual(self.drive_ok("item_text", "#%x" % dialog, ids.IDC_AREA_X), "104")
        self.assertEqual(self.drive_ok("item_text", "#%x" % dialog, ids.IDC_AREA_HEIGHT), "577")
        self.drive_ok("update", "#%x" % dialog)
        self.screenshot("area_dialog")
        # The popup item leaves an open dialog alone: still one once the
        # centring item posted after it has run.
        self.drive_ok("command", TITLE, ids.ID_OPEN_AREA_DIALOG)
        self.drive_ok("command", TITLE, ids.ID_CENTRE_FRAME)
        left, top, right, bottom = parse_info(self.drive_ok("screen"))["work"]
        self.assert_soon(self.frame_rect, (left + (right - left - 836) // 2, top + (bottom - top - 721) // 2, 836, 721),
                         timeout=10)
        self.assertEqual([row["hwnd"] for row in self.popups()], [dialog])
        self.set_area(dialog, "100", "200", "640", "480")
        self.drive_ok("click_control", "#%x" % dialog, ids.IDC_AREA_OK)
        self.assert_soon(self.frame_rect, (96, 79, 648, 624), timeout=10)
        self.assertFalse(self.windows_titled(AREA_TITLE))
        # The frame stores its new place, so the next capture takes the new hole.
        self.assert_soon(self.stored, (96, 79, 648, 624), timeout=10)

    def test_a_click_on_the_coordinate_label_opens_it_and_cancel_changes_nothing(self):
        x, y, w, h = self.child(ids.IDC_COORD_LABEL)["rect"]
        self.drive_ok("click", 100 + x + 10, 80 + y + h // 2)
        dialog = self.dialog(AREA_TITLE)
        self.set_area(dialog, "10", "20", "300", "200")
        self.drive_ok("click_control", "#%x" % dialog, ids.IDC_AREA_CANCEL)
        self.assertTrue(wait_until(lambda: not self.windows_titled(AREA_TITLE), timeout=10))
        self.assertEqual(self.frame_rect(), (100, 80, 836, 721))


if __name__ == "__main__":
    harness.main()
