// The test build's hook reads an event text sent by another process:
// "view\nevent\nargument" in UTF-16. Whatever arrives, what it accepts names
// a known view place, a small id and a known event, and the text it was
// given is what the driver's formatter makes of those parts.
#include <string>

#include "fuzz_check.h"
#include "web/test_hook_message.h"

using namespace framlet::web;

namespace {

const char16_t* EventName(BrowserEvent event) {
  switch (event) {
    case BrowserEvent::NavigateComplete2: return u"NavigateComplete2";
    case BrowserEvent::BeforeNavigate2: return u"BeforeNavigate2";
    case BrowserEvent::TitleChange: return u"TitleChange";
    case BrowserEvent::NewWindow2: return u"NewWindow2";
    case BrowserEvent::DocumentComplete: return u"DocumentComplete";
  }
  return u"?";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The message's data, as WM_COPYDATA hands it over: UTF-16 code units; an
  // odd last byte is dropped as the hook drops it.
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::optional<HookEvent> event = ParseHookEvent(text);
  if (!event) return 0;
  FUZZ_CHECK(event->controlId >= 0 && event->controlId <= 999999999, "control id %d", event->controlId);
  const std::u16string place = event->place == ViewPlace::Frame ? u"frame:" : u"popup:";
  // The id as digits, which the text may give with leading zeros.
  const size_t colon = text.find(u':');
  const std::u16string view = place + text.substr(colon + 1, text.find(u'\n') - colon - 1);
  const std::u16string again = FormatHookEvent(view, EventName(event->event), event->argument);
  FUZZ_CHECK(again == text, "the event text is not made of the parts read");
  return 0;
}
