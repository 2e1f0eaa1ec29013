"""The address box and the page buttons of the frame, the browser tab strip
and whole-page capture, through the test build's hook: the addresses home,
help, Enter, GO and back/forward ask for (seen by the logging proxy), the
"www" typed in Korean input mode, the tab that carries the latest page title
and its close button behind the sign-in gate, and a whole-page capture of a
view that shows no document."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, parse_info, wait_until  # noqa: E402

TITLE = harness.FRAME
LEFT, TOP = harness.PLACE[:2]
TAB_CLOSE = 3  # the strip's buttons: scroll left, scroll right, new tab, close
JAMO_W = "\u3148"


def page(path):
    return "http://%s%s" % (web.SITE_HOST, path)


class NavigationCase(web.ProxiedTestCase):
    def address(self):
        return self.drive_ok("item_text", TITLE, ids.IDC_ADDRESS)

    def tabs(self):
        return parse_info(self.drive_ok("tabs", TITLE))

    def click_address_box(self):
        self.drive_ok("click", LEFT + 90 + 20, TOP + 93 + 10)


class AddressBox(NavigationCase):
    def test_page_buttons_enter_and_go_ask_for_exactly_their_addresses(self):
        self.open_frame()
        before = len(self.proxy.urls())
        self.drive_ok("click_control", TITLE, ids.IDC_HOME_PAGE)
        self.assertTrue(self.requested_after(before, web.HOME_PAGE), self.proxy.urls())
        self.assertEqual(self.address(), web.HOME_PAGE, "home writes its address into the box")
        self.assertEqual(self.marker("help"), [web.HELP_PAGE])

        # Enter visits the typed text as it stands.
        typed = page("/typed/One.html")
        self.drive_ok("set_text", TITLE, ids.IDC_ADDRESS, typed)
        self.click_address_box()
        before = len(self.proxy.urls())
        self.drive_ok("key", "-", "enter")
        self.assertTrue(self.requested_after(before, typed), self.proxy.urls())

        # GO reloads the page shown (Wine's browser asks for nothing again when
        # it reloads); a newly typed address is not visited.
        never = page("/typed/never.html")
        self.drive_ok("set_text", TITLE, ids.IDC_ADDRESS, never)
        self.drive_ok("click_control", TITLE, ids.IDC_GO)
        self.assertEqual(self.marker("go"), [web.HELP_PAGE])
        self.assertEqual(self.address(), never, "GO leaves the box as typed")

        # Back and forward are the browser's own history (Wine's browser keeps
        # none without an HTML engine): they ask for no typed address and leave
        # the mode alone.
        before = len(self.proxy.urls())
        self.drive_ok("click_control", TITLE, ids.IDC_BACK)
        self.drive_ok("click_control", TITLE, ids.IDC_FORWARD)
        self.assertNotIn(never, self.marker("back and forward"))
        self.assertFalse(self.normal_mode())

        # In normal capture, Enter with the start page's address visits nothing
        # but brings web capture back.
        web.sign_in(self)  # normal capture is behind the sign-in gate
        self.enter_normal_mode()
        self.drive_ok("set_text", TITLE, ids.IDC_ADDRESS, web.START_PAGE)
        self.click_address_box()
        before = len(self.proxy.urls())
        self.drive_ok("key", "-", "enter")
        self.assert_soon(self.normal_mode, False, timeout=10)
        self.assertEqual(self.marker("start page"), [web.HELP_PAGE])
        self.assertEqual(self.proxy.urls()[before:], [web.HELP_PAGE])

        # GO in normal capture shows the page in web capture again.
        self.enter_normal_mode()
        self.drive_ok("click_control", TITLE, ids.IDC_GO)
        self.assert_soon(self.normal_mode, False, timeout=10)
        self.assertEqual(self.marker("go in normal capture"), [web.HELP_PAGE])

        # The help button in normal capture shows the page in web capture.
        self.enter_normal_mode()
        self.drive_ok("click_control", TITLE, ids.IDC_BACK)
        self.keys_handled()
        self.assertTrue(self.normal_mode(), "back keeps normal capture")
        self.marker("help in normal capture")
        self.assert_soon(self.normal_mode, False, timeout=10)

    def test_korean_w_typed_three_times_becomes_www_with_the_caret_after_it(self):
        self.open_frame()
        self.drive_ok("set_text", TITLE, ids.IDC_ADDRESS, "http://old.example/")
        # The first click takes the whole address.
        self.click_address_box()
        self.assert_soon(lambda: self.drive_ok("selection", TITLE, ids.IDC_ADDRESS), "0 19", timeout=10)
        self.drive_ok("type", JAMO_W * 3)
        self.assert_soon(self.address, "www", timeout=10)
        self.assertEqual(self.drive_ok("selection", TITLE, ids.IDC_ADDRESS), "3 3")
        # Latin "www" and one more Korean W: the jamo goes, the caret stays at the end.
        self.drive_ok("type", JAMO_W)
        self.assert_soon(self.address, "www", timeout=10)
        self.assertEqual(self.drive_ok("selection", TITLE, ids.IDC_ADDRESS), "3 3")
        # Anything else is left as typed.
        self.drive_ok("type", ".x" + JAMO_W)
        self.assert_soon(self.address, "www.x" + JAMO_W, timeout=10)
        # A second click, the box focused, is an ordinary click (no select-all).
        self.click_address_box()
        self.assertNotEqual(self.drive_ok("selection", TITLE, ids.IDC_ADDRESS), "0 6")


class TabStrip(NavigationCase):
    def test_titles_make_one_tab_and_its_close_button_is_gated(self):
        self.open_frame()
        self.assert_soon(lambda: self.tabs()["visible"], 1, timeout=10)
        self.assertEqual(self.tabs()["count"], 0)
        for title in ("\uCCAB\uD398\uC774\uC9C0", "\uB458\uC9F8\uD398\uC774\uC9C0"):
            self.assertEqual(web.hook_event(web.PRIMARY_VIEW, "TitleChange", title), "done")
        self.assert_soon(lambda: (self.tabs()["count"], self.tabs().get("text")), (1, "\uB458\uC9F8\uD398\uC774\uC9C0"),
                         timeout=10)
        self.screenshot("navigation_tab_strip")

        # Signed out: the sign-in prompt, and the tab stays.
        x, y = (int(v) for v in self.drive_ok("tab_button", TITLE, TAB_CLOSE).split())
        self.drive_ok("click", x, y)
        prompts = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(prompts), 1, "prompts: %r" % prompts)
        self.drive_ok("key", "#%x" % prompts[0]["hwnd"], "escape")
        wait_until(lambda: not self.prompts(), timeout=10)
        self.assertEqual(self.tabs()["count"], 1)
        self.assertFalse(self.normal_mode())

        # Signed in: normal capture, the strip hidden.
        web.sign_in(self)
        self.drive_ok("click", x, y)
        self.assert_soon(self.normal_mode, True, timeout=10)
        self.assert_soon(lambda: self.tabs()["visible"], 0, timeout=10)
        self.assertEqual(self.prompts(), [])


class WholePage(NavigationCase):
    def test_without_a_document_nothing_is_captured_and_the_view_stays(self):
        # Wine has no HTML engine: the primary view shows no document. With review
        # off a capture would open the save dialog (the only way to a file).
        self.open_frame({"CAPTURE_REVIEW": "FALSE"}, signed_in=True)
        view_before = self.child(ids.IDC_WEB_VIEW)
        panels = self.panels()
        self.assertEqual(len(panels), 1, panels)
        self.drive_ok("click_control", "#%x" % panels[0]["hwnd"], ids.IDC_TB_FULL_SCREEN)
        # The command has run once a later one has: the help page asked for.
        self.marker("whole page")
        self.assertEqual(self.clipboard(), "none")
        self.assertEqual(self.prompts(), [], "no preview, no save dialog")
        view = self.child(ids.IDC_WEB_VIEW)
        self.assertEqual(view["rect"], view_before["rect"])
        self.assertEqual(view["visible"], 1)


if __name__ == "__main__":
    harness.main()
