#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_keys.h"

// Rules of the options dialogs and the small notice windows, kept apart from
// the window code so they can be checked natively.
namespace framlet::options {

// A rectangle as x, y, width, height.
struct Place {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Place& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// ---- JPEG quality -------------------------------------------------------

// What OK makes of the quality text: the number the captures use and the
// text stored. Values of 0 or less (a text without leading digits reads as 0)
// become 1, values above 100 become 100; otherwise the text is kept as typed.
struct Quality {
  int value = 0;
  std::string stored;
};
Quality ClampQuality(std::string_view typed);

// ---- Continuous-capture interval -----------------------------------------

// The interval in milliseconds of an interval text: its leading decimal
// number (blanks and a sign allowed, no digits give 0).
int IntervalFromText(std::string_view text);

struct Preset {
  int radioId;
  const char* intervalText;  // nullptr for the custom choice
};

// The preset radios in the order the stored text is matched on opening.
const std::vector<Preset>& Presets();

// The radio to check for a stored interval text: the first preset whose text
// equals it exactly, else the custom radio.
int RadioForInterval(std::string_view stored);

// The text a radio writes into the interval edit; nullptr for the custom
// radio (which keeps the edit's text) and for ids that are no radio.
const char* IntervalForRadio(int radioId);

// Range of the interval spin (presets above it may still be typed or chosen).
inline constexpr int kIntervalSpinMin = 0;
inline constexpr int kIntervalSpinMax = 30528;
inline constexpr int kQualitySpinMin = 1;
inline constexpr int kQualitySpinMax = 100;

// ---- Options dialog OK --------------------------------------------------

struct OptionChoices {
  bool rememberPosition = true;
  bool alwaysTop = true;
  bool autoSave = false;
  bool captureReview = true;
  std::string qualityText;
  std::string folder;
  // The capture frame: window position and client size.
  int frameLeft = 0;
  int frameTop = 0;
  int frameClientWidth = 0;
  int frameClientHeight = 0;
};

struct SettingWrite {
  const keys::Setting* setting;
  std::string value;
};

// The values OK writes, in the order they are written.
std::vector<SettingWrite> OptionWrites(const OptionChoices& choices);

// ---- Layout -------------------------------------------------------------

struct ControlPlace {
  int id;
  Place place;
};

// Window sizes (both dialogs are centred on the screen).
inline constexpr int kOptionWidth = 390;
inline constexpr int kOptionHeight = 320;
inline constexpr int kContinuousWidth = 365;
inline constexpr int kContinuousHeight = 275;

// Controls of the two dialogs at their client positions in pixels.
const std::vector<ControlPlace>& OptionLayout();
const std::vector<ControlPlace>& ContinuousLayout();

// Top-left corner of a window of the given size centred on a screen.
Point CentreOn(int screenWidth, int screenHeight, int width, int height);

// ---- Sign-in prompt -------------------------------------------------------

inline constexpr int kPromptWidth = 370;
inline constexpr int kPromptHeight = 225;
inline constexpr Place kPromptButton = {143, 145, 84, 41};

// Top-left corner of the prompt centred on the frame's stored placement.
Point PromptOrigin(int left, int top, int width, int height);

// ---- Recorder prompt ------------------------------------------------------

inline constexpr int kRecorderPromptWidth = 437;
inline constexpr int kRecorderPromptHeight = 293;
inline constexpr Place kRecorderPromptButton = {152, 206, 135, 50};

// Top-left corner of the recorder prompt on the frame's stored placement.
Point RecorderPromptOrigin(int left, int top, int width, int height);

// ---- Full-capture notice ------------------------------------------------

inline constexpr int kNoticeWidth = 479;
inline constexpr int kNoticeHeight = 75;
inline constexpr Place kNoticeLabel = {65, 45, 325, 15};
inline constexpr Place kNoticeCaptureButton = {393, 32, 40, 40};
inline constexpr Place kNoticeCloseButton = {438, 32, 40, 40};

// The notice's place: below the frame's top-left corner.
Place NoticePlace(int frameLeft, int frameTop);

// Where closing the notice puts the frame: default size, centred on the screen.
Place FrameRestorePlace(int screenWidth, int screenHeight);

// ---- Area outline ---------------------------------------------------------

// Its place in the frame's client area when it is created.
Place OutlineCreatePlace(int frameClientWidth, int frameClientHeight);
// Its place once shown: over the hole.
Place OutlineShownPlace(int frameClientWidth, int frameClientHeight);

struct OutlineRect {
  int left, top, right, bottom;
  bool operator==(const OutlineRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
// The red rectangle drawn with a 5-pixel pen, in the outline's own coordinates.
OutlineRect OutlineFrameRect(int frameClientWidth, int frameClientHeight);
inline constexpr int kOutlinePenWidth = 5;

// The three pieces of the 75-pixel strip behind the outline, for its own
// client width: left piece, stretched middle, right piece.
struct StripPieces {
  Place left, middle, right;
};
StripPieces OutlineStrip(int ownWidth);
inline constexpr int kStripPieceWidth = 10;
inline constexpr int kStripHeight = 75;

}  // namespace framlet::options
