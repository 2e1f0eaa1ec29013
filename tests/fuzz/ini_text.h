#pragma once
// A settings-file reader for the fuzz targets, close to what the profile
// functions do with a list the updater fetched: "[section]" lines, "key=value"
// lines, names compared ignoring ASCII case, blanks around names and values
// dropped, one pair of quotes around a value dropped, the first match wins.
#include <algorithm>
#include <cctype>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzini {

// The leading-digits rule of settings and lists, as a plain reference:
// leading blanks (space, tab to carriage return), one sign, the digits, then
// the 32-bit limits, counted without a running bound and saturated once.
inline int LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = std::min(value * 10 + (text[i] - '0'), 1LL << 40);
  return static_cast<int>(std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX));
}

struct Entry {
  std::string section;
  std::string key;
  std::string value;
};

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

class Ini {
 public:
  explicit Ini(std::string_view text) {
    std::string section;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      std::string_view line = Trim(text.substr(0, end));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      if (!line.empty() && line.front() == '[') {
        const size_t close = line.find(']');
        section = std::string(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
        continue;
      }
      const size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      std::string_view value = Trim(line.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      entries_.push_back({section, std::string(Trim(line.substr(0, eq))), std::string(value)});
    }
  }

  std::string Get(std::string_view section, std::string_view key) const {
    ++lookups_;
    for (const Entry& e : entries_)
      if (SameName(e.section, section) && SameName(e.key, key)) return e.value;
    return {};
  }

  // How many values were asked for: a reader that loops on a count from the
  // list shows here.
  size_t Lookups() const { return lookups_; }

 private:
  std::vector<Entry> entries_;
  mutable size_t lookups_ = 0;
};

}  // namespace fuzzini
