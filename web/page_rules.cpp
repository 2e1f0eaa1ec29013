#include "web/page_rules.h"

#include <algorithm>
#include <string>

#include "web/site_config.h"

namespace framlet::web {
namespace {

// The site address as wide text with its ASCII letters lower-cased.
std::wstring LowerWide(const std::string& ascii) {
  std::wstring out;
  out.reserve(ascii.size());
  for (char c : ascii) out += static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

}  // namespace

bool ShownInAddressBox(std::wstring_view lowerUrl) {
  if (lowerUrl == LowerWide(site::SignInCheckUrl())) return false;
  if (lowerUrl == LowerWide(site::GuidePopupUrl())) return false;
  return lowerUrl.find(LowerWide(site::GuidePopupMarker())) == std::wstring_view::npos;
}

bool IsStartPage(std::wstring_view lowerUrl) {
  return lowerUrl == LowerWide(site::StartPageUrl());
}

bool GuidePopupDue(const GuidePopupCheck& check) {
  return check.popupAllowed && IsStartPage(check.lowerUrl) && !check.signedIn && !check.popupClosed &&
         !check.popupOpen && check.connectedQueryOk &&
         (check.connectedFlags & (kModemConnection | kLanConnection)) != 0;
}

GuidePopupPlacement PlaceGuidePopup(const Box& frame, int createdBottom, int screenWidth, int screenHeight) {
  GuidePopupPlacement out;
  int left = frame.left;
  int top = frame.top;
  if (createdBottom > screenHeight - 10) {
    out.moveFrame = true;
    // A frame larger than the screen keeps its top-left corner on it.
    left = std::max(0, (screenWidth - frame.width) / 2);
    top = std::max(0, (screenHeight - frame.height) / 2);
    out.frameLeft = left;
    out.frameTop = top;
  }
  out.popup = {left + 4, top + 28, kGuidePopupWidth, kGuidePopupHeight};
  return out;
}

}  // namespace framlet::web
