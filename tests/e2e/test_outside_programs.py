"""The programs the frame starts: the separate screen recorder (or the page to
download it) and the system paint program, with the area or a chosen file."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, wait_until  # noqa: E402

TITLE = harness.FRAME
DOWNLOAD_PAGE = "http://down.framlet.example/download/tapeloom.php"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tapeloom"
APP_PATH_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\mspaint.exe"


class Recorder(web.ProxiedTestCase):
    def test_not_installed_asks_and_opens_the_download_page_in_web_capture(self):
        self.open_frame(normal_mode=True)
        self.drive_ok("key", TITLE, "ctrl+r")
        prompt = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(prompt), 1, "prompts: %r" % prompt)
        # On the stored frame: half the frame less 214 across and 147 down.
        left, top, right, bottom = prompt[0]["rect"]
        self.assertEqual((left, top, right - left, bottom - top), (304, 293, 437, 293))
        self.drive_ok("update", "#%x" % prompt[0]["hwnd"])
        self.screenshot("recorder_prompt")
        # Its picture is its face: the prompt's own pixels at their places.
        screen = harness.Screen()
        for x, y in ((10, 10), (200, 60), (400, 280)):
            self.assertEqual(screen.pixel(left + x, top + y), harness.art_pixel(ids.IDB_RECORDER_PROMPT, x, y), (x, y))
        # A drag on the picture moves it.
        self.drive_ok("drag", left + 200, top + 150, left + 240, top + 170)
        self.assert_soon(lambda: self.window_info("#%x" % prompt[0]["hwnd"])["rect"][:2], (left + 40, top + 20),
                         timeout=10)
        self.drive_ok("click_control", "#%x" % prompt[0]["hwnd"], 1)
        self.assertEqual(self.proxy.wait_for(DOWNLOAD_PAGE), DOWNLOAD_PAGE, "download page not requested")
        # The page shows only in web capture: the frame switched back.
        self.assert_soon(self.normal_mode, False, timeout=10)

    def test_escape_on_the_prompt_opens_nothing(self):
        self.open_frame()
        self.drive_ok("key", TITLE, "ctrl+r")
        prompt = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(prompt), 1)
        self.drive_ok("key", "#%x" % prompt[0]["hwnd"], "escape")
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertEqual(self.prompts(), [])
        self.assertNotIn(DOWNLOAD_PAGE, self.marker("escaped prompt"))

    def test_installed_recorder_is_started_from_the_program_files_folder(self):
        folder = os.path.join(harness.ENV["WINEPREFIX"], "drive_c", "Program Files", "Orvandi", "Tapeloom")
        os.makedirs(folder, exist_ok=True)
        self.addCleanup(shutil.rmtree, os.path.dirname(folder), True)
        shutil.copy(harness.built("tests/standin.exe"), os.path.join(folder, "Tapeloom.exe"))
        self.addCleanup(harness.registry_delete, UNINSTALL_KEY)
        harness.registry_set(UNINSTALL_KEY, {"DisplayName": "Tapeloom"})
        self.open_frame()
        self.drive_ok("key", TITLE, "ctrl+r")
        log = os.path.join(folder, "Tapeloom.exe.log")
        wait_until(lambda: os.path.exists(log), timeout=10)
        self.assertTrue(os.path.exists(log), "recorder not started")
        self.assertEqual(self.prompts(), [], "no prompt when it is installed")


class Paint(web.ProxiedTestCase):
    def setUp(self):
        super().setUp()
        # The paint program as the shell finds it: registered under its App Paths.
        self.folder.add_standin("paint.exe")
        self.addCleanup(harness.registry_delete, APP_PATH_KEY)
        harness.registry_set(APP_PATH_KEY, {"": harness.unix_to_windows(self.folder.file("paint.exe"))})
        self.shots = self.folder.file("shots")
        os.makedirs(self.shots)

    def dir_starts(self):
        return harness.read_lines(self.folder.file("paint.exe.dir.log"))

    def wait_started(self):
        """The stand-in writes its command line first and its working folder
        after it: started once both are there."""
        wait_until(lambda: self.folder.standin_starts("paint.exe") and self.dir_starts(), timeout=10)

    def test_edit_in_paint_saves_the_area_and_opens_that_file(self):
        self.open_frame()
        self.drive_ok("command", TITLE, ids.ID_EDIT_IN_PAINT)
        self.drive_ok("file_dialog", TITLE, 1, harness.unix_to_windows(os.path.join(self.shots, "편집 그림.bmp")))
        self.wait_started()
        starts = self.folder.standin_starts("paint.exe")
        self.assertEqual(len(starts), 1, starts)
        # The file name as its one quoted parameter, its folder as the working folder.
        self.assertTrue(starts[0].endswith(' "편집 그림.bmp"'), starts[0])
        self.assertEqual(self.dir_starts(), [harness.unix_to_windows(self.shots)])
        self.assertEqual(sorted(os.listdir(self.shots)), ["편집 그림.bmp"])

    def test_a_cancelled_save_starts_nothing(self):
        self.open_frame()
        self.drive_ok("command", TITLE, ids.ID_EDIT_IN_PAINT)
        self.drive_ok("file_dialog", TITLE, -1, "-", "cancel")
        self.assertTrue(harness.holds(lambda: not self.folder.standin_starts("paint.exe"), 0.5))
        self.assertEqual(os.listdir(self.shots), [])

    def test_edit_file_in_paint_opens_the_chosen_picture(self):
        picture = os.path.join(self.shots, "old.png")
        with open(picture, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
        self.open_frame()
        self.drive_ok("command", TITLE, ids.ID_EDIT_FILE_IN_PAINT)
        self.drive_ok("file_dialog", TITLE, -1, harness.unix_to_windows(picture))
        self.wait_started()
        starts = self.folder.standin_starts("paint.exe")
        self.assertEqual(len(starts), 1, starts)
        self.assertTrue(starts[0].endswith(' "old.png"'), starts[0])
        self.assertEqual(self.dir_starts(), [harness.unix_to_windows(self.shots)])


if __name__ == "__main__":
    harness.main()
