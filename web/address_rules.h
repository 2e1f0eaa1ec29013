#pragma once
// Decisions about what the user types into the capture frame's address box
// and about the page titles shown on the browser tab strip. No window code:
// the frame and the tab bar act on the answers.
#include <cstddef>
#include <string>
#include <string_view>

namespace framlet::address {

// With the keyboard in Korean input mode the W key gives the jamo U+3148, so
// "www" typed at the start of an address comes out as three of them.
inline constexpr wchar_t kKoreanW = L'\u3148';
inline constexpr wchar_t kMistypedPrefix[] = L"\u3148\u3148\u3148";
inline constexpr wchar_t kMistypedPrefixPlusOne[] = L"www\u3148";
inline constexpr wchar_t kCorrectedPrefix[] = L"www";

enum class Correction {
  None,          // leave the text alone
  ReplaceByWww,  // the whole text becomes "www", caret at its end, input to Latin letters
  StripKoreanW,  // every U+3148 goes ("www" is left), caret at its end, input mode kept
};

struct CorrectedText {
  Correction what = Correction::None;
  std::wstring text;  // the box's new text (empty for None)
};

// What the address box does with its whole new text after a change. The text
// it sets raises the change again and then matches neither case.
CorrectedText CorrectTypedAddress(std::wstring_view text);

// The input method's conversion mode with the Korean (native) and katakana
// bits cleared; every other bit, the sentence mode among them, is kept.
unsigned long LatinConversionMode(unsigned long conversion);

// Enter in the frame visits the typed text, exactly as it stands, unless it is
// the start-up page's address (compared as text, case and all).
bool EnterNavigates(std::string_view boxText, std::string_view startPage);

// ---- browser tab strip ----

// Longest title a tab shows, in UTF-16 units; longer titles are cut at a
// character boundary (a surrogate pair is never split, so one unit fewer).
inline constexpr std::size_t kMaxTabTitle = 259;
std::wstring TabTitle(std::wstring_view title);

// Fifteen placeholder windows, one per possible tab.
inline constexpr int kTabSlots = 15;
// The first slot no tab is tied to (tied[i] for slot i), or -1 when all are.
int FirstFreeSlot(const bool (&tied)[kTabSlots]);

}  // namespace framlet::address
