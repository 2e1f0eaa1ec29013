"""Hosted pages in the capture frame, through the test build's hook: the start
page and the views at start-up, the guide popup and the page calls that close
it, pages opened as new windows, the address box after completed navigations
and at exit. Page requests go to the logging proxy (web_helpers.py)."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
import web_helpers as web  # noqa: E402
from harness import ids, wait_until  # noqa: E402

TITLE = harness.FRAME
WS_DISABLED = 0x08000000


def page(path):
    """An address on the site's main host."""
    return "http://%s%s" % (web.SITE_HOST, path)


class PagesCase(web.ProxiedTestCase):
    def views(self, window=TITLE):
        """The window's browser views by control id."""
        return {row["id"]: row for row in self.children(window)
                if row["id"] in (ids.IDC_WEB_VIEW, ids.IDC_WEB_SECOND_VIEW)}

    def wait_guide_popup(self):
        popups = wait_until(self.prompts, timeout=10)
        self.assertEqual(len(popups), 1, "guide popups: %r" % popups)
        return popups[0]

    def address(self):
        return self.drive_ok("item_text", TITLE, ids.IDC_ADDRESS)

    def event(self, view, name, argument):
        self.assertEqual(web.hook_event(view, name, argument), "done", "%s %s %s" % (view, name, argument))

    def start_page_completes(self):
        self.event(web.PRIMARY_VIEW, "DocumentComplete", web.START_PAGE)

    def open_in_new_window(self, address):
        """A page of the primary view asks for a new window showing `address`;
        returns when that address has been requested."""
        self.event(web.PRIMARY_VIEW, "NewWindow2", address)
        self.assertEqual(self.proxy.wait_for(address), address, "%s not requested" % address)

    def settle(self, name):
        """Returns once every event handed in before has run: the hook runs events
        in order, and this one ends in a request the proxy sees."""
        self.open_in_new_window(page("/settled/%s.html" % name))

    def navigation_completes(self, expected):
        """Hands the primary view's navigation-complete event in until the box shows
        `expected` (the view reads its address from the browser, which takes it
        when the navigation has started)."""
        def shown():
            self.event(web.PRIMARY_VIEW, "NavigateComplete2", "")
            return wait_until(lambda: self.address() == expected, timeout=1)
        wait_until(shown, timeout=10, interval=0)
        self.assertEqual(self.address(), expected)


class StartUp(PagesCase):
    def test_start_page_requested_from_the_main_host_and_views_in_the_hole(self):
        self.open_frame()
        self.assertEqual(self.proxy.urls()[0], web.START_PAGE, "the first request of the run")
        views = self.views()
        self.assertEqual(views[ids.IDC_WEB_VIEW]["visible"], 1)
        self.assertEqual(views[ids.IDC_WEB_VIEW]["rect"], (4, 121, 828, 577))
        self.assertEqual(views[ids.IDC_WEB_SECOND_VIEW]["visible"], 0, "the second view never shows")
        self.assertEqual(self.address(), "", "no navigation has completed yet")
        self.drive_ok("update", TITLE)
        self.screenshot("pages_frame_web_mode")

        # The primary view follows the hole when the frame is resized.
        self.drive_ok("move_window", TITLE, 100, 80, 700, 600)
        self.assert_soon(lambda: self.child(ids.IDC_WEB_VIEW)["rect"], (4, 121, 692, 456))


class GuidePopup(PagesCase):
    def test_opens_on_the_start_page_and_closes_for_this_run(self):
        self.open_frame()
        self.start_page_completes()
        popup = self.wait_guide_popup()
        self.assertEqual(popup["rect"], (104, 108, 104 + 525, 108 + 464), "at the frame's left + 4, top + 28")
        self.assertEqual(self.proxy.wait_for(web.GUIDE_POPUP_PAGE), web.GUIDE_POPUP_PAGE, "its page not requested")
        views = self.views("#%x" % popup["hwnd"])
        self.assertEqual(views[ids.IDC_WEB_VIEW]["visible"], 1)
        self.assertEqual(views[ids.IDC_WEB_VIEW]["rect"], (0, 0, 525, 464))
        self.assertEqual(views[ids.IDC_WEB_SECOND_VIEW]["visible"], 0)
        self.assertTrue(self.window_info()["style"] & WS_DISABLED, "modal over the frame")
        self.drive_ok("update", TITLE)
        self.drive_ok("update", "#%x" % popup["hwnd"])
        self.screenshot("pages_guide_popup")

        # The frame's own navigation reaches the box while the popup is open; the
        # guide page's does not, and a second start-page completion opens no second popup.
        self.navigation_completes(web.START_PAGE)
        self.event(web.POPUP_VIEW, "NavigateComplete2", "")
        self.start_page_completes()
        self.settle("popup-open")
        self.assertEqual(self.address(), web.START_PAGE, "the guide page reached the address box")
        self.assertEqual(len(self.prompts()), 1)

        self.assertEqual(web.hook_script("external.FL_Popclose();"), "done")
        self.assertTrue(wait_until(lambda: not self.prompts(), timeout=10), "FL_Popclose left the popup open")
        self.assertEqual(self.folder.ini().get("OPTION", "POPCLOSESTATE"), "TRUE")
        self.assertFalse(self.window_info()["style"] & WS_DISABLED, "the frame takes input again")

        # Closed for the rest of the run.
        self.start_page_completes()
        self.settle("after-close")
        self.assertEqual(self.prompts(), [])

    def test_second_close_call_stores_false(self):
        self.open_frame()
        self.start_page_completes()
        self.wait_guide_popup()
        self.assertEqual(web.hook_script("external.FL_Popckclose();"), "done")
        self.assertTrue(wait_until(lambda: not self.prompts(), timeout=10), "FL_Popckclose left the popup open")
        self.assertEqual(self.folder.ini().get("OPTION", "POPCLOSESTATE"), "FALSE")
        self.start_page_completes()
        self.settle("after-close")
        self.assertEqual(self.prompts(), [])

    def test_not_shown_for_a_lower_case_setting(self):
        # Only the exact text "TRUE" lets it appear.
        self.open_frame({"POPCLOSESTATE": "true"})
        self.start_page_completes()
        self.settle("lower-case")
        self.assertEqual(self.prompts(), [])

    def test_not_shown_while_signed_in(self):
        self.open_frame()
        web.sign_in(self)
        self.start_page_completes()
        self.settle("signed-in")
        self.assertEqual(self.prompts(), [])
        # Signed out again, the same completion shows it.
        web.sign_out(self)
        self.start_page_completes()
        self.wait_guide_popup()
        self.assertEqual(web.hook_script("external.FL_Popclose();"), "done")


class NewWindows(PagesCase):
    def test_new_window_pages_load_in_the_primary_view(self):
        self.open_frame()
        news = page("/News/Today.HTML")
        self.open_in_new_window(news)
        # The primary view has it: its completion puts it, lower-cased, in the box.
        self.navigation_completes(news.lower())
        # The second view's own navigation was cancelled: one request only.
        self.settle("new-window")
        self.assertEqual(self.proxy.urls().count(news), 1, self.proxy.urls())

        # The sign-in check page never reaches the box.
        self.open_in_new_window(web.SIGN_IN_CHECK_PAGE)
        self.event(web.PRIMARY_VIEW, "NavigateComplete2", "")
        self.settle("sign-in-check")
        self.assertEqual(self.address(), news.lower())


class Exit(PagesCase):
    def test_exit_keeps_the_address_box_text(self):
        self.open_frame()
        typed = page("/검색?q=화면 캡처")
        self.drive_ok("set_text", TITLE, ids.IDC_ADDRESS, typed)
        self.drive_ok("command", TITLE, ids.ID_EXIT)
        self.assertIsNotNone(self.process.wait(20), "the exit command did not end the program")
        self.assertEqual(self.folder.ini().get("OPTION", "LASTURL_REMEMBER"), typed)


if __name__ == "__main__":
    harness.main()
