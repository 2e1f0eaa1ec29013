#pragma once
#include <string>
#include <string_view>

namespace framlet {

// Settings values are text: a flag is on when it reads "true" in any mix of
// capitals; anything else (yes, 1, empty) is off.
bool FlagIsOn(std::string_view value);

// The guide-popup flag is compared exactly, capitals included.
bool ExactTrue(std::string_view value);

// The decimal number at the start of a text: leading blanks and one sign are
// allowed, conversion stops at the first non-digit, no digits give 0.
// Values beyond the 32-bit range saturate.
int LeadingInt(std::string_view text);

// A number of the stored frame rectangle as the frame uses it: whatever a
// hand-edited file holds, it stays within the 16-bit coordinate range that
// windows live in, so that nothing worked out from it can overflow.
inline constexpr int kMinStoredPlace = -32768;
inline constexpr int kMaxStoredPlace = 32767;
int StoredPlaceNumber(int value);

// What a value read into a 260-byte buffer holds: at most 259 characters.
constexpr size_t kValueBufferSize = 260;
std::string CutToValueBuffer(std::string_view value);

// The value written for a flag.
inline const char* FlagText(bool on) { return on ? "TRUE" : "FALSE"; }

}  // namespace framlet
