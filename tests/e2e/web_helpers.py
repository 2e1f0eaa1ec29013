"""Hosted-page helpers for the end-to-end tests: the logging proxy wired into
the Wine prefix's per-user proxy setting, and the test build's hook.

    class SignInTests(web_helpers.ProxiedTestCase):
        def test_start_page(self):
            web_helpers.use_hooked_program(self.folder)
            self.folder.start("-s")
            self.wait_frame()
            self.assertTrue(self.proxy.wait_for(web_helpers.START_PAGE))
            web_helpers.sign_in(self)

The test build (framlet5_hooked.exe: framlet5 plus the hook of
web/test_hook.cpp) is copied into the program folder as framlet5.exe. Its hook
takes a page script, run with `external` bound to the program's page object as
a page reaches it, or a browser event handed to one view's event sink:
    hook_script("external.FL_Login();")                  -> "done" | "script-error" | ...
    hook_event("frame:121212", "DocumentComplete", url)  -> "done" (runs from the program's loop)
Views: "frame:121212" the frame's primary view, "frame:121213" its second view,
"popup:121212" the guide popup's view. Events: NavigateComplete2,
BeforeNavigate2, TitleChange, NewWindow2, DocumentComplete.
"""
import shutil

import harness
from harness import wait_until
from proxy import LoggingProxy

# The example hosts (web/CMakeLists.txt); the end-to-end tests use a build with them.
SITE_HOST = "www.framlet.example"
SITE_DOMAIN = "framlet.example"
START_PAGE = "http://%s/home/index.html?ver=5.0" % SITE_HOST
HOME_PAGE = "http://%s/" % SITE_HOST
SIGN_IN_PAGE = "http://%s/home/member/login.html?rtn=" % SITE_HOST
SIGN_IN_CHECK_PAGE = "http://%s/app/login.php" % SITE_HOST
GUIDE_POPUP_PAGE = "http://%s/home/guide_popup.html" % SITE_DOMAIN
HELP_PAGE = "http://%s/app/framlet_help.html" % SITE_DOMAIN

HOOKED_PROGRAM = "app/framlet5_hooked.exe"
PRIMARY_VIEW = "frame:121212"
SECOND_VIEW = "frame:121213"
POPUP_VIEW = "popup:121212"

_SETTINGS_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def set_wine_proxy(port):
    """Sends the prefix's web requests to 127.0.0.1:port; loopback goes direct."""
    harness.registry_set(_SETTINGS_KEY, {"ProxyEnable": 1, "ProxyServer": "127.0.0.1:%d" % port,
                                         "ProxyOverride": "<local>;127.0.0.1;localhost"})


def clear_wine_proxy():
    """Removes what set_wine_proxy wrote."""
    harness.registry_set(_SETTINGS_KEY, {"ProxyEnable": 0})
    harness.registry_delete(_SETTINGS_KEY, "ProxyServer", "ProxyOverride")


def use_hooked_program(folder):
    """Puts the test build into the program folder under the shipped name."""
    shutil.copy(harness.built(HOOKED_PROGRAM), folder.file("framlet5.exe"))


def hook_script(script):
    """Runs a page script in the running test build; returns the hook's answer."""
    return harness.drive("hook_script", script)[1]


def hook_event(view, event, argument):
    """Hands a browser event to a view of the running test build; returns the answer."""
    return harness.drive("hook_event", view, event, argument)[1]


def sign_in(test):
    """Signs the member in as the site's sign-in check page does."""
    test.assertEqual(hook_script("external.FL_Login();"), "done")


def sign_out(test):
    test.assertEqual(hook_script("external.FL_Logout();"), "done")


class ProxiedTestCase(harness.E2ETestCase):
    """An end-to-end test whose program is the test build, its page requests
    going to self.proxy."""

    def setUp(self):
        super().setUp()
        self.proxy = LoggingProxy(self.folder.file("proxy.log"))
        port = self.proxy.start()
        # Cleanups run after tearDown (the program has ended by then), last added first.
        self.addCleanup(self.proxy.stop)
        self.addCleanup(clear_wine_proxy)
        set_wine_proxy(port)

    def open_frame(self, *args, signed_in=False, normal_mode=False, **kw):
        """The test build's frame (harness.E2ETestCase.open_frame), once it has
        asked for the start page; signed in, and in normal capture, if asked."""
        use_hooked_program(self.folder)
        info = super().open_frame(*args, **kw)
        if signed_in or normal_mode:
            sign_in(self)
        if normal_mode:
            self.enter_normal_mode()
        return info

    def started(self):
        self.assertEqual(self.proxy.wait_for(START_PAGE), START_PAGE, "start page not requested")

    def requested_after(self, count, wanted):
        """Waits for `wanted` to be requested as the (count+1)-th address or later."""
        return wait_until(lambda: wanted in self.proxy.urls()[count:], timeout=15)

    def marker(self, name):
        """The addresses asked for since the last one logged, closed by a known
        page (help) the frame is made to ask for: every request the program made
        before it has reached the proxy by then."""
        before = len(self.proxy.urls())
        self.drive_ok("click_control", self.frame, harness.ids.IDC_HELP_PAGE)
        self.assertTrue(self.requested_after(before, HELP_PAGE), "marker %s" % name)
        return self.proxy.urls()[before:]
