#include "web/test_hook_message.h"

namespace framlet::web {
namespace {

struct EventName {
  const char16_t* name;
  BrowserEvent event;
};
constexpr EventName kBrowserEventNames[] = {
    {u"NavigateComplete2", BrowserEvent::NavigateComplete2},
    {u"BeforeNavigate2", BrowserEvent::BeforeNavigate2},
    {u"TitleChange", BrowserEvent::TitleChange},
    {u"NewWindow2", BrowserEvent::NewWindow2},
    {u"DocumentComplete", BrowserEvent::DocumentComplete},
};

std::optional<int> ParseId(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return value;
}

}  // namespace

std::optional<HookEvent> ParseHookEvent(std::u16string_view text) {
  const size_t first = text.find(u'\n');
  if (first == std::u16string_view::npos) return std::nullopt;
  const size_t second = text.find(u'\n', first + 1);
  if (second == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view view = text.substr(0, first);
  const std::u16string_view name = text.substr(first + 1, second - first - 1);

  HookEvent out;
  const size_t colon = view.find(u':');
  if (colon == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view place = view.substr(0, colon);
  if (place == u"frame")
    out.place = ViewPlace::Frame;
  else if (place == u"popup")
    out.place = ViewPlace::Popup;
  else
    return std::nullopt;
  const std::optional<int> id = ParseId(view.substr(colon + 1));
  if (!id) return std::nullopt;
  out.controlId = *id;

  bool known = false;
  for (const EventName& candidate : kBrowserEventNames) {
    if (name == candidate.name) {
      out.event = candidate.event;
      known = true;
    }
  }
  if (!known) return std::nullopt;
  out.argument = std::u16string(text.substr(second + 1));
  return out;
}

}  // namespace framlet::web
