// What the test build's hook does with its messages: scripts run against the
// external object a page of the frame's primary view reaches, events go to the
// named view's sink, and malformed or misdirected messages are answered as such.
#include <gtest/gtest.h>

#include <string>

#include "core/command_ids.h"
#include "core/settings.h"
#include "web/external_dispatch.h"
#include "web/frame_views.h"
#include "web/page_test_hook.h"
#include "web/test_hook_message.h"
#include "web_test_util.h"
#include "win_test_util.h"

using namespace framlet;

namespace {

class TestHook : public wintest::WinTest {
 protected:
  void SetUp() override {
    external_.SetHost(&calls_);
    ASSERT_TRUE(views_.Create(frame_.Hwnd(), {4, 121, 828, 698}));
  }
  void TearDown() override { external_.SetHost(nullptr); }
  static web::HookAnswer Send(std::uintptr_t kind, const std::wstring& text) {
    std::wstring copy = text;
    const COPYDATASTRUCT data = {kind, static_cast<DWORD>(copy.size() * sizeof(wchar_t)), copy.data()};
    return web::RunHookMessage(data);
  }
  static std::wstring Event(const char16_t* view, const char16_t* name, const std::wstring& argument) {
    const std::u16string text = web::FormatHookEvent(
        view, name, std::u16string(reinterpret_cast<const char16_t*>(argument.data()), argument.size()));
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  }

  webtest::OleScope ole_;
  webtest::HostWindow frame_{100, 60, 836, 721};
  CExternalDispatch external_;
  webtest::PageCallRecorder calls_;
  webtest::FrameRecorder host_;
  CFrameViews views_{host_, &external_};
};

TEST_F(TestHook, ScriptsSignInAsAPageOfTheFrameWould) {
  EXPECT_EQ(Send(web::kHookScript, L"external.FL_Login();"), web::kHookDone);
  EXPECT_TRUE(calls_.signedIn);
  EXPECT_EQ(Send(web::kHookScript, L"external.fl_logout();"), web::kHookScriptError);
  EXPECT_TRUE(calls_.signedIn) << "a failed script changes nothing";
  EXPECT_EQ(Send(web::kHookScript, L"external.FL_Logout();"), web::kHookDone);
  EXPECT_FALSE(calls_.signedIn);
}

TEST_F(TestHook, EventsReachTheNamedView) {
  EXPECT_EQ(Send(web::kHookEvent, Event(u"frame:121212", u"TitleChange", L"도움말")), web::kHookDone);
  EXPECT_EQ(host_.titles, std::vector<std::wstring>{L"도움말"});

  const std::wstring page = L"http://127.0.0.1:9/child.html";
  EXPECT_EQ(Send(web::kHookEvent, Event(u"frame:121212", u"NewWindow2", page)), web::kHookDone);
  EXPECT_TRUE(webtest::WaitFor([&] { return views_.Primary()->LocationUrl() == page; }))
      << "the page opened as a new window ends up in the primary view";
}

TEST_F(TestHook, MalformedAndMisdirectedMessages) {
  struct Case {
    const char* situation;
    std::uintptr_t kind;
    std::wstring text;
    web::HookAnswer answer;
  };
  const Case cases[] = {
      {"no such view in the frame", web::kHookEvent, Event(u"frame:5", u"TitleChange", L"x"), web::kHookNoView},
      {"no popup open", web::kHookEvent, Event(u"popup:121212", u"TitleChange", L"x"), web::kHookNoView},
      {"unknown event", web::kHookEvent, L"frame:121212\nTitleChanged\nx", web::kHookBadMessage},
      {"not the hook's message", 0x1234, L"external.FL_Login();", web::kHookNotMine},
  };
  for (const Case& c : cases) EXPECT_EQ(Send(c.kind, c.text), c.answer) << c.situation;
  EXPECT_TRUE(host_.titles.empty());
  EXPECT_FALSE(calls_.signedIn);

  wchar_t text[] = L"external.FL_Login();";
  const COPYDATASTRUCT odd = {web::kHookScript, 3, text};
  EXPECT_EQ(web::RunHookMessage(odd), web::kHookBadMessage) << "half a character";
  const COPYDATASTRUCT noData = {web::kHookScript, 8, nullptr};
  EXPECT_EQ(web::RunHookMessage(noData), web::kHookBadMessage);
  EXPECT_FALSE(calls_.signedIn);
}

TEST(TestHookWithoutViews, ScriptsNeedAViewToReachTheExternalObject) {
  webtest::OleScope ole;
  wchar_t text[] = L"external.FL_Login();";
  const COPYDATASTRUCT data = {web::kHookScript, sizeof text - sizeof(wchar_t), text};
  EXPECT_EQ(web::RunHookMessage(data), web::kHookNoExternal);
}

}  // namespace
