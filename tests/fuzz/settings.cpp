// The settings file as a user or another program may leave it: the number
// reader (leading digits, blanks, one sign, saturation), the flags, the
// values cut to their buffer, and the stored frame rectangle with what is
// worked out from it (capture rectangle, restored size, nudges, the prompts
// and notices placed on it, the area dialog's hole, the coordinate label).
#include <algorithm>
#include <climits>
#include <string>

#include "app/frame_geometry.h"
#include "core/settings_keys.h"
#include "core/settings_rules.h"
#include "fuzz_check.h"
#include "ini_text.h"
#include "updater/update_rules.h"
#include "windows/area_rules.h"
#include "windows/option_rules.h"

using namespace framlet;

namespace {

bool PlainFlag(std::string_view text) {
  if (text.size() != 4) return false;
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "true";
}

std::string Value(const fuzzini::Ini& ini, const keys::Setting& setting) {
  return CutToValueBuffer(ini.Get(setting.section, setting.key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const fuzzini::Ini ini(text);

  // Every value read, through each reader that takes it.
  for (const keys::Setting* setting : keys::kAllSettings) {
    const std::string read = ini.Get(setting->section, setting->key);
    const std::string value = CutToValueBuffer(read);
    FUZZ_CHECK(value.size() < kValueBufferSize && read.compare(0, value.size(), value) == 0, "value of %zu bytes",
               value.size());
    const long long expected = fuzzini::LeadingNumber(value);
    FUZZ_CHECK(LeadingInt(value) == expected, "\"%s\" reads as %d, not %lld", value.c_str(), LeadingInt(value),
               expected);
    FUZZ_CHECK(update::ListInt(value) == expected, "the updater reads \"%s\" as %d", value.c_str(),
               update::ListInt(value));
    FUZZ_CHECK(FlagIsOn(value) == PlainFlag(value), "flag \"%s\"", value.c_str());
    FUZZ_CHECK(ExactTrue(value) == (value == "TRUE"), "exact flag \"%s\"", value.c_str());
  }

  const options::Quality quality = options::ClampQuality(Value(ini, keys::kJpegQuality));
  FUZZ_CHECK(quality.value >= 1 && quality.value <= 100, "quality %d", quality.value);
  (void)options::IntervalFromText(Value(ini, keys::kCaptureTime));
  (void)options::RadioForInterval(Value(ini, keys::kCaptureTime));

  // The stored frame rectangle, whatever numbers it holds, read as the settings store reads it.
  const int left = StoredPlaceNumber(LeadingInt(Value(ini, keys::kLeft)));
  const int top = StoredPlaceNumber(LeadingInt(Value(ini, keys::kTop)));
  const int width = StoredPlaceNumber(LeadingInt(Value(ini, keys::kWidth)));
  const int height = StoredPlaceNumber(LeadingInt(Value(ini, keys::kHeight)));
  const frame::Rect capture = frame::CaptureRect(left, top, width, height);
  (void)capture;
  const frame::Size restored = frame::RaiseRestoredSize(width, height);
  FUZZ_CHECK(restored.width >= std::min(width, 533) && restored.height >= std::min(height, 515),
             "restored %d x %d from %d x %d", restored.width, restored.height, width, height);
  for (frame::Nudge nudge : {frame::Nudge::Left, frame::Nudge::Right, frame::Nudge::Up, frame::Nudge::Down})
    for (bool shift : {false, true}) (void)frame::NudgedPlace({left, top, width, height}, nudge, shift);
  (void)frame::CoordLabelText(left, top, width, height);
  (void)options::PromptOrigin(left, top, width, height);
  (void)options::RecorderPromptOrigin(left, top, width, height);
  (void)options::NoticePlace(left, top);
  const area::Hole hole = area::HoleOfFrame(left, top, width, height);
  const area::FramePlace place = area::FrameForHole(hole);
  FUZZ_CHECK(place.width <= area::kMaxFrameExtent && place.height <= area::kMaxFrameExtent, "frame %d x %d",
             place.width, place.height);
  (void)area::NumberText(hole.x);
  return 0;
}
