#pragma once
// What the browser views decide from a page address: which addresses reach
// the address box, which one is the start page, and when the guide popup is
// due. Addresses arrive lower-cased by the view; the site's own addresses are
// lower-cased here before comparing, so a host written with capitals matches.
#include <string_view>

namespace framlet::web {

// False for the sign-in check page, the guide popup page and any address
// containing the guide popup marker; true for every other address.
bool ShownInAddressBox(std::wstring_view lowerUrl);

// True when the address is exactly the start page.
bool IsStartPage(std::wstring_view lowerUrl);

// Connection flags of the platform's connected-state query that count as online.
inline constexpr unsigned long kModemConnection = 0x01;
inline constexpr unsigned long kLanConnection = 0x02;

struct GuidePopupCheck {
  bool popupAllowed = true;    // POPCLOSESTATE reads exactly "TRUE"
  std::wstring_view lowerUrl;  // the completed document's own address
  bool signedIn = false;
  bool popupClosed = false;       // closed by its page earlier in this run
  bool popupOpen = false;         // the popup is showing right now
  bool connectedQueryOk = false;  // the connected-state query succeeded
  unsigned long connectedFlags = 0;
};

// The guide popup is shown when every condition holds; never a second one
// while one is open.
bool GuidePopupDue(const GuidePopupCheck& check);

// Where the guide popup goes. It covers the frame's page area from just below
// the title strip; when it would have opened low on the screen, the frame is
// centred on the screen first.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
inline constexpr int kGuidePopupWidth = 525;
inline constexpr int kGuidePopupHeight = 464;
struct GuidePopupPlacement {
  bool moveFrame = false;  // centre the frame first, at frameLeft, frameTop
  int frameLeft = 0;
  int frameTop = 0;
  Box popup;  // screen pixels
};
// `frame` is the frame window's screen rectangle; `createdBottom` the popup's
// bottom edge as the dialog manager first placed it.
GuidePopupPlacement PlaceGuidePopup(const Box& frame, int createdBottom, int screenWidth, int screenHeight);

}  // namespace framlet::web
