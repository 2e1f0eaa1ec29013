// What the browser views and the address box do with addresses the pages and
// the user hand them: which address reaches the box, the start page, the
// guide popup's match and placement, the typed "www" correction, the tab
// titles, the sign-in return address (Base64) and the site's bare domain.
#include <climits>
#include <string>

#include "fuzz_check.h"
#include "web/address_rules.h"
#include "web/page_rules.h"
#include "web/site_config.h"

using namespace framlet;

namespace {

// Base64 read back: the encoder's output decodes to its input.
std::string FromBase64(const std::string& text) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    const size_t v = alphabet.find(c);
    FUZZ_CHECK(v != std::string::npos, "Base64 holds '%c'", c);
    bits = bits << 6 | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>(bits >> count & 0xFF);
    }
  }
  return out;
}

std::wstring Lower(const std::string& ascii) {
  std::wstring out;
  for (char c : ascii) out += static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string bytes = in.ConsumeRandomLengthString(4096);
  // The same text as the wide address a view reports (each byte, or each pair
  // of bytes when the input says so, one character).
  std::wstring url;
  const bool wide = in.ConsumeBool();
  for (size_t i = 0; i < bytes.size(); i += wide ? 2 : 1) {
    unsigned c = static_cast<unsigned char>(bytes[i]);
    if (wide && i + 1 < bytes.size()) c |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    url += static_cast<wchar_t>(c);
  }

  const bool shown = web::ShownInAddressBox(url);
  if (url.find(Lower(site::GuidePopupMarker())) != std::wstring::npos)
    FUZZ_CHECK(!shown, "the guide popup's address reached the address box");
  if (url == Lower(site::SignInCheckUrl())) FUZZ_CHECK(!shown, "the sign-in check reached the address box");
  const bool start = web::IsStartPage(url);
  FUZZ_CHECK(start == (url == Lower(site::StartPageUrl())), "start page match");

  web::GuidePopupCheck check;
  check.lowerUrl = url;
  check.popupAllowed = in.ConsumeBool();
  check.signedIn = in.ConsumeBool();
  check.popupClosed = in.ConsumeBool();
  check.popupOpen = in.ConsumeBool();
  check.connectedQueryOk = in.ConsumeBool();
  check.connectedFlags = in.ConsumeIntegral<unsigned long>();
  if (web::GuidePopupDue(check))
    FUZZ_CHECK(start && check.popupAllowed && !check.popupOpen && !check.signedIn, "a popup due off the start page");

  // The frame's window rectangle and the popup's first bottom edge: screen
  // coordinates, which the system keeps to its 16-bit range (taken twice as wide).
  web::Box frame;
  frame.left = in.ConsumeIntegralInRange(-65536, 65536);
  frame.top = in.ConsumeIntegralInRange(-65536, 65536);
  frame.width = in.ConsumeIntegralInRange(0, 65536);
  frame.height = in.ConsumeIntegralInRange(0, 65536);
  const int createdBottom = in.ConsumeIntegralInRange(-65536, 65536);
  const int screenWidth = in.ConsumeIntegralInRange<int>(0, 65535);
  const int screenHeight = in.ConsumeIntegralInRange<int>(0, 65535);
  const web::GuidePopupPlacement popup = web::PlaceGuidePopup(frame, createdBottom, screenWidth, screenHeight);
  if (popup.moveFrame)
    FUZZ_CHECK(popup.frameLeft >= 0 && popup.frameTop >= 0 && popup.frameLeft <= screenWidth &&
                   popup.frameTop <= screenHeight,
               "frame moved to %d, %d", popup.frameLeft, popup.frameTop);

  const address::CorrectedText corrected = address::CorrectTypedAddress(url);
  if (corrected.what != address::Correction::None) {
    FUZZ_CHECK(corrected.text.find(address::kKoreanW) == std::wstring::npos, "a corrected text keeps U+3148");
    FUZZ_CHECK(address::CorrectTypedAddress(corrected.text).what == address::Correction::None,
               "the corrected text is corrected again");
  }
  const std::wstring title = address::TabTitle(url);
  FUZZ_CHECK(title.size() <= address::kMaxTabTitle && url.compare(0, title.size(), title) == 0, "tab title");
  (void)address::EnterNavigates(bytes, site::StartPageUrl());
  (void)address::LatinConversionMode(check.connectedFlags);

  const std::string encoded = site::Base64(bytes);
  FUZZ_CHECK(encoded.size() == (bytes.size() + 2) / 3 * 4, "Base64 of %zu bytes is %zu long", bytes.size(),
             encoded.size());
  FUZZ_CHECK(FromBase64(encoded) == bytes, "Base64 does not read back");
  const std::string signIn = site::SignInUrl(bytes);
  FUZZ_CHECK(FromBase64(signIn.substr(signIn.find("rtn=") + 4)) == bytes + '\0', "the return address");

  const std::string bare = site::BareDomainOf(bytes);
  FUZZ_CHECK(bare.size() <= bytes.size() && bytes.compare(bytes.size() - bare.size(), bare.size(), bare) == 0,
             "bare domain \"%s\" of \"%s\"", bare.c_str(), bytes.c_str());
  return 0;
}
