"""Start-up: the "-s" rule, the hand-over to the updater and the single running copy."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import drive, wait_until  # noqa: E402


class HandOver(harness.E2ETestCase):
    def assert_hands_over(self, *args):
        proc = self.folder.start(*args)
        self.assertIsNotNone(proc.wait(30), "the program did not end after handing over")
        starts = wait_until(lambda: self.folder.standin_starts("framletup.exe"), timeout=10)
        self.assertEqual(len(starts), 1, "the updater was not started exactly once")
        self.assertNotIn("-s", starts[0].split()[1:] if len(starts[0].split()) > 1 else [])
        self.assertEqual(drive("find", "Framlet5")[0], 1, "a frame window appeared")
        self.assertEqual(drive("mutex", "Framlet")[1], "0", "the single-instance mutex was left behind")

    def test_no_arguments_starts_the_updater_only(self):
        self.assert_hands_over()

    def test_further_argument_hands_over(self):
        self.assert_hands_over("-s", "x")

    def test_trailing_blank_hands_over(self):
        self.assert_hands_over("-s ")


class SingleCopy(harness.E2ETestCase):
    def test_capital_switch_opens_the_frame(self):
        self.folder.start("-S")
        info = self.wait_frame()
        self.assertEqual(info["visible"], 1)
        self.assertEqual(drive("mutex", "Framlet")[1], "1")
        self.assertEqual(self.folder.standin_starts("framletup.exe"), [])

    def test_second_start_raises_the_first_copy_even_when_hidden(self):
        first = self.folder.start("-s")
        info = self.wait_frame()
        self.drive_ok("show", "Framlet5", "0")  # SW_HIDE, as when closed to the notification area
        self.assertTrue(wait_until(lambda: self.window_info()["visible"] == 0, timeout=5))
        second = self.folder.start("-s")
        self.assertIsNotNone(second.wait(30), "the second copy did not end")
        shown = wait_until(lambda: (self.window_info() or {}).get("visible") == 1, timeout=10)
        self.assertTrue(shown, "the first copy's window was not shown again")
        self.assertTrue(first.running())
        again = self.window_info()
        self.assertEqual(again["hwnd"], info["hwnd"])
        self.assertEqual(again["iconic"], 0)


if __name__ == "__main__":
    harness.main()
