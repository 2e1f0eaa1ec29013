#include "web/address_rules.h"

namespace framlet::address {

namespace {
// IME_CMODE_NATIVE and IME_CMODE_KATAKANA.
constexpr unsigned long kNativeBit = 0x0001;
constexpr unsigned long kKatakanaBit = 0x0002;
}  // namespace

CorrectedText CorrectTypedAddress(std::wstring_view text) {
  if (text == kMistypedPrefix) return {Correction::ReplaceByWww, kCorrectedPrefix};
  if (text == kMistypedPrefixPlusOne) {
    std::wstring kept;
    for (wchar_t c : text)
      if (c != kKoreanW) kept += c;
    return {Correction::StripKoreanW, kept};
  }
  return {};
}

unsigned long LatinConversionMode(unsigned long conversion) {
  return conversion & ~(kNativeBit | kKatakanaBit);
}

bool EnterNavigates(std::string_view boxText, std::string_view startPage) {
  return boxText != startPage;
}

std::wstring TabTitle(std::wstring_view title) {
  if (title.size() <= kMaxTabTitle) return std::wstring(title);
  // A cut between the two halves of a surrogate pair would leave half a
  // character: the pair goes whole.
  const wchar_t last = title[kMaxTabTitle - 1];
  const bool splitsPair = last >= 0xD800 && last <= 0xDBFF;
  return std::wstring(title.substr(0, splitsPair ? kMaxTabTitle - 1 : kMaxTabTitle));
}

int FirstFreeSlot(const bool (&tied)[kTabSlots]) {
  for (int i = 0; i < kTabSlots; ++i)
    if (!tied[i]) return i;
  return -1;
}

}  // namespace framlet::address
