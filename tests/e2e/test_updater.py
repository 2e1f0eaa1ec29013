"""The updater end to end: a real HTTP server on 127.0.0.1 serves the update
list and test installers; a stand-in capture program logs its starts; test
installers log their command lines to a file the test names."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import drive, ids, wait_until  # noqa: E402
from update_server import UpdateServer, ini_text, paced, stalls_after, truncated, with_headers  # noqa: E402

TITLE = "Framlet 업데이트"
LIST_PATH = "/updatechk/framletupdate2_201301.php"
KEY = r"HKCU\SOFTWARE\Framlet"
EMULATION_KEY = r"HKCU\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION"


def set_registry(values):
    """Replaces HKCU\\SOFTWARE\\Framlet with the given string values (None: no key)."""
    harness.registry_delete(KEY)
    if values is not None:
        harness.registry_set(KEY, values)


def registry_value(name):
    return harness.registry_get(KEY, name)


class UpdaterCase(harness.E2ETestCase):
    """The built updater in a program folder one down from the test's own
    (root/prog), beside a stand-in capture program that logs its starts."""

    folder_layout = {"real_updater": True, "standin_capture": True, "nested": True}
    titles = (TITLE,)

    def setUp(self):
        super().setUp()
        self.path, self.root = self.folder.path, self.folder.root
        self.install_log = os.path.join(self.root, "installs.log")
        with open(harness.built("tests/log_installer.exe"), "rb") as f:
            self.installer = f.read()
        self.server = UpdateServer()
        self.addCleanup(self.server.stop)
        self.folder.write_hosts(self.server.base)
        self.proc = None

    def serve_list(self, sections):
        self.server.routes[LIST_PATH] = (200, ini_text(sections))

    def start(self, *args, env=None, program="framletup.exe"):
        """Starts the updater; the test installers log to self.install_log."""
        env = dict({"FRAMLET_INSTALL_LOG": harness.unix_to_windows(self.install_log)}, **(env or {}))
        self.proc = self.folder.start(*args, program=program, env=env)
        return self.proc

    def installs(self):
        return harness.read_lines(self.install_log)

    def capture_starts(self):
        return self.folder.standin_starts("framlet5.exe")

    def forget_capture_starts(self):
        if os.path.exists(self.folder.file("framlet5.exe.log")):
            os.unlink(self.folder.file("framlet5.exe.log"))

    def assert_ended_with_capture_started(self, timeout=60):
        self.assertIsNotNone(self.proc.wait(timeout), "the updater did not end")
        starts = wait_until(self.capture_starts, timeout=10)
        self.assertEqual(len(starts), 1, "the capture program was not started once")
        self.assertEqual(starts[0].split()[-1], "-s")
        self.assertFalse(os.path.exists(os.path.join(self.path, "temp")), "the working folder was left")
        self.assertFalse(os.path.exists(os.path.join(self.path, "updatelist.ini")), "the list was left")

    def offers(self, count):
        sections = base_list(FILENUM=str(count))
        for i in range(1, count + 1):
            sections["FILE%d" % i] = {"NAME": "부가 %d" % i, "STATE": "SETUP", "DOWNFILENAME": "extra^%d" % i,
                                      "CHECK": "1", "PROGINFO": "설명 %d" % i,
                                      "LINCES": self.server.url("/terms%d.html" % i)}
            self.server.routes["/bundle_2010/framlet/update/extra/extra^%d.exe" % i] = (200, self.installer)
        sections["UPFILE1"]["LINCES"] = self.server.url("/terms0.html")
        self.serve_list(sections)

    def window_text(self, control_id):
        rc, out = drive("item_text", TITLE, str(control_id))
        return out if rc == 0 else None

    def assert_page(self, texts, shown, hidden, focus):
        """The update window's texts, which controls show, and the focused one."""
        for control_id, text in texts.items():
            self.assert_soon(lambda: self.window_text(control_id), text, "text of %d" % control_id)
        controls = {row["id"]: row for row in self.children(TITLE) if "id" in row}
        self.assertEqual({i: controls[i]["visible"] for i in shown + hidden},
                         dict([(i, 1) for i in shown] + [(i, 0) for i in hidden]))
        self.assert_soon(lambda: drive("focus", TITLE)[1], str(focus), "the focus")

    def assert_log_toggles(self, button):
        """Each press of a "자세히" button shows the log box when hidden and hides it when shown."""
        for visible in (1, 0):
            drive("click_control", TITLE, str(button))
            self.assert_soon(lambda: self.child(ids.IDC_UP_LOG, TITLE)["visible"], visible, "the log box")


def base_list(**update):
    values = {"VERSION": "5", "MODULE": "1", "HOLDDATA": "3", "FILENUM": "0"}
    values.update(update)
    return {"UPDATE": values,
            "UPFILE1": {"TITLE": "Framlet 구성요소", "SUBTITLE": "정기 업데이트", "NAME": "기본 모듈",
                        "NAME1": "모듈 하나", "STATE": "DOWN", "PROGINFO": "첫째"},
            "UPFILE2": {"NAME": "보조 모듈", "NAME1": "모듈 둘", "STATE": "DOWN"}}


def make_certificate(folder, name):
    """A throwaway self-signed code-signing certificate and its key (files in folder)."""
    cert, key = (os.path.join(folder, "%s.%s" % (name, ext)) for ext in ("crt", "key"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=Framlet test " + name, "-addext", "extendedKeyUsage=codeSigning"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


class ListFailures(UpdaterCase):
    def test_bad_or_missing_lists_start_the_capture_program_and_install_nothing(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        replies = {
            "404": (404, b"[UPDATE]\r\nVERSION=9\r\nUPDATEURL=x\r\n"),
            "500": (500, b"[UPDATE]\r\nVERSION=9\r\n"),
            "truncated": truncated(b"[UPDATE]\r\nVERSION=9\r\nUPDATEURL=", 4000),
            "malformed": (200, b"\x00\xff garbage \x01\x02 VERSION 9 <html>"),
        }
        for case, reply in replies.items():
            with self.subTest(case=case):
                self.server.requests.clear()
                self.forget_capture_starts()
                self.server.routes = {LIST_PATH: reply, "/setup.exe": (200, self.installer)}
                self.start()
                self.assert_ended_with_capture_started()
                self.assertEqual(self.server.requests[:1], [LIST_PATH])
                self.assertEqual(self.server.requests, [LIST_PATH])
                self.assertEqual(self.installs(), [])

    def test_server_down(self):
        set_registry({"ver": "5"})
        self.folder.write_hosts("http://127.0.0.1:1")
        self.start()
        self.assert_ended_with_capture_started()
        self.assertEqual(self.installs(), [])

    def test_stalled_server_still_starts_the_capture_program(self):
        set_registry({"ver": "5"})
        self.server.routes[LIST_PATH] = "stall"
        self.start()
        self.assert_ended_with_capture_started(timeout=90)
        self.assertEqual(self.installs(), [])


class SelfUpdate(UpdaterCase):
    def serve_update(self, file_name="FramletSetup.exe"):
        self.serve_list(base_list(VERSION="9", UPDATEURL=self.server.url("/setup.exe"), UPDATEFILE=file_name,
                                  FILENUM="1"))
        self.server.routes["/setup.exe"] = (200, self.installer)

    def test_runs_the_installer_silently_and_nothing_after(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_update()
        self.start()
        self.assert_ended_with_capture_started()
        self.assertEqual(self.installs(), ["FramletSetup.exe| /S"])
        self.assertEqual(self.server.requests, [LIST_PATH, "/setup.exe"])

    def test_mode_o_passes_boot_0_and_starts_nothing(self):
        set_registry({"ver": "5"})
        self.serve_update()
        self.start("-o")
        self.assertIsNotNone(self.proc.wait(60))
        self.assertEqual(self.installs(), ["FramletSetup.exe| /S /Boot=0"])
        self.assertEqual(self.capture_starts(), [])

    def test_missing_registry_key_reads_version_1(self):
        set_registry(None)
        self.serve_list(base_list(VERSION="1", UPDATEURL=self.server.url("/setup.exe"), UPDATEFILE="s.exe"))
        self.server.routes["/setup.exe"] = (200, self.installer)
        self.start()
        self.assert_ended_with_capture_started()
        self.assertEqual(self.installs(), [])

    def test_unsafe_names_and_non_programs_run_nothing(self):
        set_registry({"ver": "5"})
        for name in ["..\\evil.exe", "C:\\evil.exe", "..\\..\\evil.exe"]:
            with self.subTest(name=name):
                self.forget_capture_starts()
                self.serve_update(name)
                self.start()
                self.assert_ended_with_capture_started()
                self.assertEqual(self.installs(), [])
                self.assertFalse(os.path.exists(os.path.join(self.root, "evil.exe")))
                self.assertFalse(os.path.exists(os.path.join(self.path, "evil.exe")))
        # A page where a program should be is not run.
        self.forget_capture_starts()
        self.serve_update()
        self.server.routes["/setup.exe"] = (200, b"<html>error</html>")
        self.start()
        self.assert_ended_with_capture_started()
        self.assertEqual(self.installs(), [])


class Hold(UpdaterCase):
    def test_a_later_hold_date_postpones_and_is_kept(self):
        set_registry({"ver": "5", "module": "1", "holddate": "99991231"})
        self.offers(2)
        self.start()
        self.assert_ended_with_capture_started()
        self.assertEqual(registry_value("holddate"), "99991231")
        self.assertEqual(self.server.requests, [LIST_PATH])

    def test_no_offers_ends_after_rewriting_the_hold_date(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(0)
        self.start()
        self.assert_ended_with_capture_started()
        self.assertNotEqual(registry_value("holddate"), "1")


class Offers(UpdaterCase):
    def test_seven_rows_show_five_unticked_is_not_fetched_and_install_runs(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(7)
        self.start()
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0, "no update window")
        rc, out = drive("tree_items", TITLE, "4013")
        self.assertEqual(rc, 0)
        items = out.splitlines()
        top = [l for l in items if l.startswith("level=0")]
        self.assertEqual(len(top), 6, out)  # the title and five offers
        self.assertIn("text=부가 5", top[-1])
        self.assertFalse(any("부가 6" in l for l in items))
        self.assertEqual(self.window_text(4003), "업데이트 구성요소 선택")
        self.screenshot("updater_selection")
        # The terms pane loads the first fixed row's page.
        self.assertTrue(wait_until(lambda: "/terms0.html" in self.server.requests, timeout=30), self.server.requests)
        # The system menu's about item.
        drive("post", TITLE, "0x0112", str(16))  # WM_SYSCOMMAND
        self.assertEqual(drive("wait", "framletup 정보", "10000", "visible")[0], 0, "no about box")
        self.assertEqual(drive("item_text", "framletup 정보", "65535")[1], "framletup 버전 1.0")
        self.assertEqual([row.get("text") for row in self.children("framletup 정보") if row.get("class") == "Button"],
                         ["확인"])
        drive("click_control", "framletup 정보", "1")
        self.assertEqual(drive("wait_gone", "framletup 정보", "10000")[0], 0)

        # Untick the second offer on its box (left of its text).
        second = [l for l in top if "text=부가 2" in l][0]
        fields = dict(f.split("=", 1) for f in second.split()[:6])
        self.assertEqual(drive("tree_show", TITLE, "4013", fields["item"])[0], 0)
        second = [l for l in drive("tree_items", TITLE, "4013")[1].splitlines() if "text=부가 2" in l][0]
        fields = dict(f.split("=", 1) for f in second.split()[:6])
        drive("click", int(fields["text_x"]) - 10, int(fields["y"]))
        def second_state():
            return [l for l in drive("tree_items", TITLE, "4013")[1].splitlines() if "부가 2" in l][0].split()[1]
        self.assert_soon(second_state, "state=1", "the box click did not untick the offer")
        # A click on an offer's text shows its description and leaves its box as it was.
        third = [l for l in drive("tree_items", TITLE, "4013")[1].splitlines() if "text=부가 3" in l][0]
        fields = dict(f.split("=", 1) for f in third.split()[:6])
        drive("tree_show", TITLE, "4013", fields["item"])
        third = [l for l in drive("tree_items", TITLE, "4013")[1].splitlines() if "text=부가 3" in l][0]
        fields = dict(f.split("=", 1) for f in third.split()[:6])
        drive("click", int(fields["text_x"]) + 8, int(fields["y"]))
        self.assert_soon(lambda: self.window_text(4007), "설명 3", "the info label did not follow the selection")
        self.assertTrue(wait_until(lambda: "/terms3.html" in self.server.requests, timeout=30),
                        "the terms pane did not load the selected offer's page")
        third = [l for l in drive("tree_items", TITLE, "4013")[1].splitlines() if "text=부가 3" in l][0]
        self.assertIn("state=2 selected=1", third)

        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: self.window_text(4003) == "Framlet 업데이트가 완료되었습니다.", timeout=60))
        self.screenshot("updater_completion")
        self.assert_page({ids.IDC_UP_DESCRIPTION: "자동 업데이트가 완료되었습니다. \n\r자세한 업데이트 정보를 원하시면\n\r"
                                                  "아래의 '자세히' 버튼을 누르시기 바람니다.",
                          ids.IDC_UP_HEADER: ""},
                         shown=[2, ids.IDC_UP_DETAILS_DONE, ids.IDC_UP_SIDE],
                         hidden=[1, ids.IDC_UP_DETAILS, ids.IDC_UP_PROGRESS, ids.IDC_UP_LOG, ids.IDC_UP_TREE],
                         focus=2)
        self.assert_log_toggles(ids.IDC_UP_DETAILS_DONE)
        names = [l.split("|")[0] for l in self.installs()]
        self.assertEqual(names, ["extra^%d_framlet.exe" % i for i in (1, 3, 4, 5)])
        self.assertTrue(all(l.endswith("| /S") for l in self.installs()))
        self.assertNotIn("/bundle_2010/framlet/update/extra/extra^2.exe", self.server.requests)
        log = self.window_text(4014)
        self.assertIn("부가 1 설치를 완료 하였습니다.", log)
        self.assertIn("기본 모듈 설치를 완료 하였습니다.", log)
        drive("click_control", TITLE, "2")
        self.assert_ended_with_capture_started()


class Links(UpdaterCase):
    """Downloads over links the server paces, with a short stall time: a slow
    but steady transfer lasts as long as it keeps moving; one that stops is
    given up once nothing has come for the stall time."""

    STALL_MS = 2000

    def serve_self_update(self, reply, list_reply=None):
        self.folder.write_hosts(self.server.base, stall_ms=self.STALL_MS)
        self.serve_list(base_list(VERSION="9", UPDATEURL=self.server.url("/setup.exe"), UPDATEFILE="FramletSetup.exe"))
        if list_reply:
            self.server.routes[LIST_PATH] = list_reply(self.server.routes[LIST_PATH][1])
        self.server.routes["/setup.exe"] = reply

    def test_a_slow_steady_download_outlasts_the_stall_time(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        # Three stall times in all, a piece every tenth of one.
        pieces = 30
        sent = []
        self.serve_self_update(paced(self.installer, len(self.installer) // pieces + 1, self.STALL_MS / 10000, sent))
        began = time.monotonic()
        self.start()
        self.assert_ended_with_capture_started(timeout=120)
        self.assertEqual(self.installs(), ["FramletSetup.exe| /S"])
        self.assertGreater(sent[-1] - sent[0], 2 * self.STALL_MS / 1000, "the link was not slower than the stall time")
        print("slow download: %d bytes over %.1f s, updater done after %.1f s (stall time %.1f s)"
              % (len(self.installer), sent[-1] - sent[0], time.monotonic() - began, self.STALL_MS / 1000),
              file=sys.stderr)

    def test_a_slow_steady_list_smaller_than_a_read_is_read_whole(self):
        # The list comes 16 bytes every eighth of a stall time: it keeps moving,
        # but takes longer than the stall time to arrive in full.
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_self_update((200, self.installer),
                               list_reply=lambda body: paced(body, 16, self.STALL_MS / 8000))
        self.start()
        self.assert_ended_with_capture_started(timeout=120)
        self.assertEqual(self.installs(), ["FramletSetup.exe| /S"], "the list was given up as stalled")

    def test_a_download_that_stops_halfway_is_given_up(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_self_update(stalls_after(self.installer[:4096], len(self.installer), self.server))
        began = time.monotonic()
        self.start()
        self.assert_ended_with_capture_started(timeout=120)
        self.assertEqual(self.installs(), [])
        self.assertEqual(registry_value("ver"), "5")
        print("stalled download given up after %.1f s (stall time %.1f s)"
              % (time.monotonic() - began, self.STALL_MS / 1000), file=sys.stderr)

    def test_requests_carry_the_systems_agent_and_cookies(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_self_update((200, self.installer),
                               list_reply=lambda body: with_headers(200, body, {"Set-Cookie": "fl_visit=1; Path=/"}))
        self.start()
        self.assert_ended_with_capture_started()
        headers = dict(self.server.headers)
        self.assertEqual(self.installs(), ["FramletSetup.exe| /S"])
        agent = headers[LIST_PATH].get("user-agent", "")
        self.assertTrue(agent.startswith("Mozilla/"), agent)
        self.assertNotIn("framletup", agent.lower())
        self.assertEqual(headers["/setup.exe"].get("user-agent"), agent)
        self.assertIn("fl_visit=1", headers["/setup.exe"].get("cookie", ""), "the list's cookie was not sent back")


class EarlyEnds(UpdaterCase):
    """Step five: another updater's window or an older capture program's
    ends the updater before it asks anything; the capture program still starts."""

    def test_another_updater_or_an_older_capture_program(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(1)
        work = os.path.join(self.path, "temp")
        listed = os.path.join(self.path, "updatelist.ini")
        # Titles are compared whole, ignoring case. The other updater's files are its own.
        for title, its_files in (("Framlet 업데이트", True), ("Framlet4.0", False), ("FRAMLET4.2", False)):
            with self.subTest(title=title):
                self.forget_capture_starts()
                os.makedirs(work, exist_ok=True)
                for path in (os.path.join(work, "extra^1_framlet.exe.part"), listed):
                    with open(path, "wb") as f:
                        f.write(b"the other updater's")
                self.assertEqual(drive("titled", title)[0], 0)
                self.addCleanup(drive, "titled_close")
                self.start()
                self.assertIsNotNone(self.proc.wait(60), "the updater did not end")
                self.assertEqual(len(wait_until(self.capture_starts, timeout=10)), 1)
                drive("titled_close")
                self.assertEqual(self.server.requests, [])
                self.assertEqual(os.path.exists(listed), its_files)
                self.assertEqual(os.path.exists(os.path.join(work, "extra^1_framlet.exe.part")), its_files)
                self.assertEqual(registry_value("holddate"), "1")


class ModuleUpdate(UpdaterCase):
    def serve_module(self):
        sections = base_list(MODULE="3", MODULETEXT1="새 모듈이 있습니다.", MODULETEXT2="설치할까요?",
                             MODULETEXT4="넷째 줄")
        sections["UPFILE1"].update(DOWNFILEURL=self.server.url("/m1.dat"), DOWNFILENAME="m1.dat")
        sections["UPFILE2"].update(DOWNFILEURL=self.server.url("/m2.dat"), DOWNFILENAME="..\\m2.dat")
        self.server.routes["/m1.dat"] = (200, b"module one")
        self.server.routes["/m2.dat"] = (200, b"module two")
        self.serve_list(sections)

    def question(self):
        self.assertEqual(drive("wait", "Framlet", "30000", "visible")[0], 0, "no question")
        rc, out = drive("children", "Framlet")
        return out

    def test_question_text_and_no_ends(self):
        set_registry({"ver": "5", "module": "1", "holddate": "99991231"})
        self.serve_module()
        self.start()
        out = self.question()
        self.assertIn("새 모듈이 있습니다.", out)
        self.assertIn("넷째 줄", out)
        # The five lines with their breaks (the third and fifth empty), Yes and No, the question icon.
        self.assertEqual(drive("item_text", "Framlet", "65535")[1], "새 모듈이 있습니다.\n설치할까요?\n\n넷째 줄")
        buttons = {row["id"] for row in self.children("Framlet") if row.get("class") == "Button"}
        self.assertEqual(buttons, {6, 7})
        self.assertEqual(drive("box_icon", "Framlet")[1], "question")
        drive("click_control", "Framlet", "7")  # IDNO
        self.assert_ended_with_capture_started()
        self.assertEqual(registry_value("module"), "1")
        self.assertNotIn("/m1.dat", self.server.requests)

    def test_yes_installs_the_module_rows_into_the_program_folder_only(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_module()
        self.start()
        self.question()
        drive("click_control", "Framlet", "6")  # IDYES
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0)
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: self.window_text(4003) == "Framlet 업데이트가 완료되었습니다.", timeout=60))
        with open(os.path.join(self.path, "m1.dat"), "rb") as f:
            self.assertEqual(f.read(), b"module one")
        # The unsafe name writes nothing anywhere, fails its row and keeps "module" as it was.
        self.assertFalse(os.path.exists(os.path.join(self.root, "m2.dat")))
        self.assertNotIn("/m2.dat", self.server.requests)
        log = self.window_text(4014)
        self.assertIn("모듈 하나 설치를 완료 하였습니다.", log)
        self.assertIn("모듈 둘 설치에 실패하였습니다.", log)
        self.assertEqual(registry_value("module"), "1")
        drive("click_control", TITLE, "2")
        self.assert_ended_with_capture_started()

    def test_module_level_written_when_every_row_arrived(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.serve_module()
        sections = base_list(MODULE="3")
        sections["UPFILE1"].update(DOWNFILEURL=self.server.url("/m1.dat"), DOWNFILENAME="m1.dat")
        sections["UPFILE2"].update(DOWNFILEURL=self.server.url("/m2.dat"), DOWNFILENAME="m2.dat")
        self.serve_list(sections)
        self.start()
        self.question()
        drive("click_control", "Framlet", "6")
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0)
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: self.window_text(4003) == "Framlet 업데이트가 완료되었습니다.", timeout=60))
        self.assertEqual(registry_value("module"), "3")
        # The completion page closes itself ten seconds after it is shown.
        self.assertTrue(self.proc.running())
        self.assert_ended_with_capture_started(timeout=30)


class CloseDuringInstall(UpdaterCase):
    def test_close_waits_for_the_running_installer_and_stops_further_rows(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(3)
        hold = os.path.join(self.root, "hold")
        open(hold, "w").close()
        self.start(env={"FRAMLET_INSTALL_HOLD": harness.unix_to_windows(hold)})
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0)
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: len(self.installs()) == 1, timeout=30), "the first installer did not start")
        self.assert_page({ids.IDC_UP_TITLE: "설치중",
                          ids.IDC_UP_DESCRIPTION: "Framlet을 업데이트하는 동안 잠시 기다려 주세요.",
                          ids.IDC_UP_SECTION: "업데이트 진행:",
                          ids.IDC_UP_TERMS_LABEL: "부가 1설치을 진행중입니다."},
                         shown=[1, ids.IDC_UP_PROGRESS, ids.IDC_UP_DETAILS, ids.IDC_UP_SECTION],
                         hidden=[2, ids.IDC_UP_DETAILS_DONE, ids.IDC_UP_TREE, ids.IDC_UP_INFO_GROUP, ids.IDC_UP_INFO,
                                 ids.IDC_UP_LOG, ids.IDC_UP_SIDE],
                         focus=ids.IDC_UP_DETAILS)
        self.assertTrue(harness.parse_info(drive("info", "#%x" % self.child(1, TITLE)["hwnd"])[1])["style"]
                        & 0x08000000, "확인 is not disabled while installing")  # WS_DISABLED
        self.assert_log_toggles(ids.IDC_UP_DETAILS)
        drive("click_control", TITLE, "2")
        drive("post", TITLE, "16")  # WM_CLOSE
        # The installer still runs: the updater waits and starts nothing yet.
        self.assertTrue(harness.holds(lambda: self.proc.running() and not self.capture_starts(), 1.0))
        os.unlink(hold)
        self.assert_ended_with_capture_started()
        self.assertEqual([l.split("|")[0] for l in self.installs()], ["extra^1_framlet.exe"])

    def test_close_during_a_stalled_download_ends_it(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(2)
        self.folder.write_hosts(self.server.base, stall_ms=600000)  # longer than any wait of this test
        first = "/bundle_2010/framlet/update/extra/extra^1.exe"
        self.server.routes[first] = stalls_after(self.installer[:4096], len(self.installer), self.server)
        self.start()
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0)
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: first in self.server.requests, timeout=30), "the download did not start")
        drive("post", TITLE, "16")  # WM_CLOSE
        self.assert_ended_with_capture_started(timeout=60)
        self.assertEqual(self.installs(), [])
        self.assertNotIn("/bundle_2010/framlet/update/extra/extra^2.exe", self.server.requests)


class Signatures(UpdaterCase):
    """A signed updater runs only installers signed with its own certificate.
    The certificates are throwaway ones made here, signed through the package
    script's signing step (no time stamp: no network)."""

    def certificate(self, name):
        return make_certificate(self.root, name)

    def sign(self, path, certificate):
        env = dict(os.environ, FRAMLET_SIGN_CERT=certificate[0], FRAMLET_SIGN_KEY=certificate[1],
                   FRAMLET_SIGN_TIMESTAMP="none")
        subprocess.run(["bash", os.path.join(harness.SOURCE_DIR, "scripts", "package.sh"), "--sign", path],
                       env=env, check=True, stdout=subprocess.DEVNULL)

    def signed_installer(self, name, certificate):
        path = os.path.join(self.root, name)
        with open(path, "wb") as f:
            f.write(self.installer)
        self.sign(path, certificate)
        with open(path, "rb") as f:
            return f.read()

    def test_signed_updater_runs_only_installers_of_its_own_signer(self):
        ours, theirs = self.certificate("ours"), self.certificate("theirs")
        self.sign(self.folder.file("framletup.exe"), ours)
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(4)
        routes = "/bundle_2010/framlet/update/extra/extra^%d.exe"
        self.server.routes[routes % 2] = (200, self.signed_installer("theirs.exe", theirs))
        self.server.routes[routes % 3] = (200, self.signed_installer("ours.exe", ours))
        # Signed with our certificate, then changed: the digest no longer matches.
        tampered = bytearray(self.signed_installer("tampered.exe", ours))
        tampered[0x400] ^= 0xFF
        self.server.routes[routes % 4] = (200, bytes(tampered))
        self.start()
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0, "no update window")
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: self.window_text(4003) == "Framlet 업데이트가 완료되었습니다.", timeout=60))
        self.assertEqual([l.split("|")[0] for l in self.installs()], ["extra^3_framlet.exe"])
        log = self.window_text(ids.IDC_UP_LOG)
        for i, result in ((1, "설치에 실패하였습니다."), (2, "설치에 실패하였습니다."), (3, "설치를 완료 하였습니다."),
                          (4, "설치에 실패하였습니다.")):
            self.assertIn("부가 %d %s" % (i, result), log)
        drive("click_control", TITLE, "2")
        self.assert_ended_with_capture_started()


class Probes(UpdaterCase):
    SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
    INSTALLED = r"HKCU\SOFTWARE\MicroSoft\Windows\CurrentVersion\Uninstall\FlTestProg"
    TARGET = r"HKCU\Software\FramletTest"

    def test_history_desktop_and_folder_checks_decide_the_offers(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        desktop = os.path.join(self.root, "desktop")
        target = os.path.join(self.root, "target")
        os.makedirs(desktop)
        os.makedirs(target)
        open(os.path.join(desktop, "oldicon"), "w").close()
        old = harness.registry_get(self.SHELL_FOLDERS, "Desktop")
        if old is not None:
            self.addCleanup(harness.registry_set, self.SHELL_FOLDERS, {"Desktop": old})
        harness.registry_set(self.SHELL_FOLDERS, {"Desktop": harness.unix_to_windows(desktop)})
        for key, values in ((self.INSTALLED, {"DisplayName": "Test Program"}),
                            (self.TARGET, {"Folder": harness.unix_to_windows(target)})):
            self.addCleanup(harness.registry_delete, key)
            harness.registry_set(key, values)
        history = ini_text({"COUNTER": {"NUM": "1"},
                            "CHECK1": {"HKEY": "HKCU", "REGPATH": "FlTestProg", "REGNAME": "DisplayName",
                                       "REGVALUE": "Test Program"}})
        other = ini_text({"COUNTER": {"NUM": "1"},
                          "CHECK1": {"HKEY": "HKCU", "REGPATH": "FlTestProg", "REGNAME": "DisplayName",
                                     "REGVALUE": "Another"}})
        self.server.routes["/installed.ini"] = (200, history)
        self.server.routes["/absent.ini"] = (200, other)
        rows = [
            {"NAME": "있는 프로그램", "STATE": "SETUP", "DOWNFILENAME": "p^1", "HISTORYCHK": self.server.url("/installed.ini")},
            {"NAME": "없는 프로그램", "STATE": "SETUP", "DOWNFILENAME": "p^2", "HISTORYCHK": self.server.url("/absent.ini")},
            {"NAME": "있는 아이콘", "STATE": "ICON", "DOWNFILENAME": "oldicon"},
            {"NAME": "새 아이콘", "STATE": "ICON", "DOWNFILENAME": "newicon"},
            {"NAME": "받을 파일", "STATE": "DOWN", "DOWNFILENAME": "tool", "FILEREGKEY": "HKCU",
             "FILEREGPATH": "Software\\FramletTest", "FILEREGVALUE": "Folder"},
            {"NAME": "곳 없는 파일", "STATE": "DOWN", "DOWNFILENAME": "lost", "FILEREGKEY": "HKCU",
             "FILEREGPATH": "Software\\NoSuchKey", "FILEREGVALUE": "Folder"},
        ]
        sections = base_list(FILENUM=str(len(rows)))
        for i, row in enumerate(rows, 1):
            row["CHECK"] = "1"
            sections["FILE%d" % i] = row
        self.serve_list(sections)
        for name in ("p/p^1", "p/p^2", "/oldicon", "/newicon", "/tool", "/lost"):
            self.server.routes["/bundle_2010/framlet/update/%s.exe" % name] = (200, self.installer)
        self.start()
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0, "no update window")
        top = [l.split("text=", 1)[1] for l in drive("tree_items", TITLE, "4013")[1].splitlines()
               if l.startswith("level=0")]
        self.assertEqual(top[1:], ["없는 프로그램", "새 아이콘", "받을 파일"])
        drive("click_control", TITLE, "1")
        self.assertTrue(wait_until(lambda: self.window_text(4003) == "Framlet 업데이트가 완료되었습니다.", timeout=60))
        self.assertEqual([l.split("|")[0] for l in self.installs()], ["p^2_framlet.exe"])
        self.assertTrue(os.path.exists(os.path.join(target, "tool.exe")))
        # The icon lands on the desktop under its own name, where the next run's probe looks.
        with open(os.path.join(desktop, "newicon"), "rb") as f:
            self.assertEqual(f.read(), self.installer)
        self.assertFalse(os.path.exists(os.path.join(self.path, "History.ini")))
        drive("click_control", TITLE, "2")
        self.assert_ended_with_capture_started()


class ModeO(UpdaterCase):
    def test_a_held_mutex_stops_mode_o_and_a_free_one_lets_it_show(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(1)
        self.server.routes[LIST_PATH] = (200, self.server.routes[LIST_PATH][1].replace(
            b"[UPDATE]\r\n", ("[UPDATE]\r\nMUTEXCHK=%s\r\n" % self.server.url("/mutex.ini")).encode()))
        self.server.routes["/mutex.ini"] = (200, ini_text({"COUNTER": {"NUM": "2"}, "CHECK1": {"MUTEX": ""},
                                                           "CHECK2": {"MUTEX": "FramletTestHeld"}}))
        self.assertEqual(drive("hold_mutex", "FramletTestHeld")[0], 0)
        self.addCleanup(drive, "release_mutex", "FramletTestHeld")
        self.start("-o")
        self.assertIsNotNone(self.proc.wait(60), "mode o did not end")
        self.assertIn("/mutex.ini", self.server.requests)
        self.assertEqual(drive("find", TITLE)[0], 1)
        self.assertEqual(self.capture_starts(), [])
        self.assertTrue(os.path.exists(os.path.join(self.path, "mutex.ini")))

        drive("release_mutex", "FramletTestHeld")
        set_registry({"ver": "5", "module": "1", "holddate": "1"})  # the first run moved the hold on
        self.start("-o")
        self.assertEqual(drive("wait", TITLE, "30000", "visible")[0], 0, "mode o did not show its window")
        drive("post", TITLE, "16")  # WM_CLOSE
        self.assertIsNotNone(self.proc.wait(30))
        self.assertEqual(self.capture_starts(), [])

    def test_option_1_ends_mode_o_at_once(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        self.offers(1)
        self.server.routes[LIST_PATH] = (200, self.server.routes[LIST_PATH][1].replace(
            b"[UPDATE]\r\n", b"[UPDATE]\r\nOPTION=1\r\n"))
        self.start("-o")
        self.assertIsNotNone(self.proc.wait(60))
        self.assertEqual(registry_value("holddate"), "1")
        self.assertEqual(self.capture_starts(), [])


class HandOver(UpdaterCase):
    """The capture program started plainly hands over to the real updater,
    which asks the update check first and starts the capture frame with -s."""

    def test_plain_start_reaches_the_frame_through_the_updater(self):
        set_registry({"ver": "5", "module": "1", "holddate": "1"})
        programs = ("framletup.exe", "framlet5.exe")
        harness.registry_delete(EMULATION_KEY, *programs)
        self.server.routes[LIST_PATH] = (404, b"")
        folder = harness.ProgramFolder("updater.HandOver", real_updater=True)
        self.addCleanup(folder.stop_all)
        folder.write_hosts(self.server.base)
        first = folder.start()
        self.assertIsNotNone(first.wait(30), "the plain start did not end")
        info = harness.parse_info(drive("wait", "Framlet5", "60000", "visible")[1])
        self.assertEqual(info["visible"], 1)
        self.assertEqual(self.server.requests, [LIST_PATH])
        self.assertFalse(os.path.exists(folder.file("temp")))
        self.assertFalse(os.path.exists(folder.file("updatelist.ini")))
        self.screenshot("updater_handover")
        # Both programs put their browser views in the newest engine mode, each under its own name.
        self.assertEqual([harness.registry_get(EMULATION_KEY, name) for name in programs], ["11000", "11000"])
        self.addCleanup(lambda: wait_until(lambda: drive("wait_gone", "Framlet5", "100")[0] == 0, timeout=5))
        self.addCleanup(end_started_from, folder.path)


def end_started_from(folder):
    """Ends, by process id, the programs started from folder by the programs
    under test (the updater starts the capture frame itself)."""
    marker = os.path.basename(folder)
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                command = f.read().decode("utf-8", "replace")
        except OSError:
            continue
        if marker in command and "framlet5.exe" in command:
            try:
                os.kill(int(entry), 9)
            except OSError:
                pass


if __name__ == "__main__":
    harness.main()
