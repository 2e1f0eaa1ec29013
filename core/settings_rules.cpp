#include "core/settings_rules.h"

#include <climits>

namespace framlet {

bool FlagIsOn(std::string_view value) {
  static constexpr std::string_view kTrue = "true";
  if (value.size() != kTrue.size()) return false;
  for (size_t i = 0; i < kTrue.size(); ++i) {
    char c = value[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kTrue[i]) return false;
  }
  return true;
}

bool ExactTrue(std::string_view value) { return value == "TRUE"; }

int LeadingInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int StoredPlaceNumber(int value) {
  return value < kMinStoredPlace ? kMinStoredPlace : value > kMaxStoredPlace ? kMaxStoredPlace : value;
}

std::string CutToValueBuffer(std::string_view value) {
  return std::string(value.substr(0, kValueBufferSize - 1));
}

}  // namespace framlet
