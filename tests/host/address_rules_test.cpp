// What the address box does with text typed in Korean input mode, when Enter
// visits the typed address, and the titles and slots of the browser tab strip.
#include <gtest/gtest.h>

#include <string>

#include "web/address_rules.h"

namespace framlet::address {
namespace {

TEST(AddressCorrection, OnlyTheTwoMistypedPrefixesAreCorrected) {
  const CorrectedText three = CorrectTypedAddress(L"\u3148\u3148\u3148");
  EXPECT_EQ(three.what, Correction::ReplaceByWww);
  EXPECT_EQ(three.text, L"www");

  const CorrectedText plusOne = CorrectTypedAddress(L"www\u3148");
  EXPECT_EQ(plusOne.what, Correction::StripKoreanW);
  EXPECT_EQ(plusOne.text, L"www");

  // The corrected text raises the change again and must be left alone then,
  // as must anything else that merely contains the jamo.
  for (const wchar_t* other : {L"www", L"", L"\u3148", L"\u3148\u3148", L"\u3148\u3148\u3148\u3148", L"ww\u3148",
                               L"www\u3148\u3148", L"WWW\u3148", L"http://www\u3148", L"\u3148\u3148\u3148 "}) {
    const CorrectedText left = CorrectTypedAddress(other);
    EXPECT_EQ(left.what, Correction::None) << static_cast<int>(std::wstring(other).size());
    EXPECT_TRUE(left.text.empty());
  }
}

TEST(AddressCorrection, LatinModeClearsOnlyTheKoreanAndKatakanaBits) {
  EXPECT_EQ(LatinConversionMode(0x0001), 0u);       // Korean only
  EXPECT_EQ(LatinConversionMode(0x0003), 0u);       // Korean and katakana
  EXPECT_EQ(LatinConversionMode(0x0009), 0x0008u);  // full-width kept
  EXPECT_EQ(LatinConversionMode(0x0400), 0x0400u);  // other bits untouched
  EXPECT_EQ(LatinConversionMode(0xFFFFFFFFul), 0xFFFFFFFCul);
}

TEST(EnterKey, VisitsAnyTextButTheStartPageItself) {
  const std::string start = "http://www.framlet.example/home/index.html?ver=5.0";
  EXPECT_FALSE(EnterNavigates(start, start));
  // Compared as text, case and all: no trimming, no scheme added.
  EXPECT_TRUE(EnterNavigates("HTTP://www.framlet.example/home/index.html?ver=5.0", start));
  EXPECT_TRUE(EnterNavigates(start + " ", start));
  EXPECT_TRUE(EnterNavigates("www.framlet.example/home/index.html?ver=5.0", start));
  EXPECT_TRUE(EnterNavigates("", start));  // an empty box still asks for a page
}

TEST(TabStrip, TitlesAreCutAt259CharactersAndEmptyOnesKept) {
  EXPECT_EQ(TabTitle(L""), L"");
  EXPECT_EQ(TabTitle(L"\uD648 \uD398\uC774\uC9C0"), L"\uD648 \uD398\uC774\uC9C0");
  const std::wstring exact(259, L'a');
  EXPECT_EQ(TabTitle(exact), exact);
  const std::wstring longer = std::wstring(259, L'b') + L"cdef";
  EXPECT_EQ(TabTitle(longer), std::wstring(259, L'b'));

  // Titles are UTF-16: a character outside the basic plane is a pair of
  // units, and the cut never leaves its first half alone.
  const std::wstring face = {wchar_t(0xD83D), wchar_t(0xDE00)};
  const std::wstring straddling = std::wstring(258, L'c') + face + L"d";
  EXPECT_EQ(TabTitle(straddling), std::wstring(258, L'c'));
  const std::wstring endingAtTheCut = std::wstring(257, L'c') + face + L"d";
  EXPECT_EQ(TabTitle(endingAtTheCut), std::wstring(257, L'c') + face);
}

TEST(TabStrip, FirstFreeSlotInOrderAndNoneWhenAllAreTied) {
  bool tied[kTabSlots] = {};
  EXPECT_EQ(FirstFreeSlot(tied), 0);
  tied[0] = tied[1] = true;
  EXPECT_EQ(FirstFreeSlot(tied), 2);
  tied[0] = false;
  EXPECT_EQ(FirstFreeSlot(tied), 0);
  for (bool& t : tied) t = true;
  EXPECT_EQ(FirstFreeSlot(tied), -1);
  tied[14] = false;
  EXPECT_EQ(FirstFreeSlot(tied), 14);
}

}  // namespace
}  // namespace framlet::address
