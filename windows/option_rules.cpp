#include "windows/option_rules.h"

#include "core/command_ids.h"
#include "core/settings_keys.h"
#include "core/settings_rules.h"

namespace framlet::options {

Quality ClampQuality(std::string_view typed) {
  const int q = LeadingInt(typed);
  if (q <= 0) return {1, "1"};
  if (q > 100) return {100, "100"};
  return {q, std::string(typed)};
}

int IntervalFromText(std::string_view text) {
  return LeadingInt(text);
}

const std::vector<Preset>& Presets() {
  static const std::vector<Preset> presets = {
      {IDC_CONT_15_PER_SECOND, "67"},   {IDC_CONT_30_PER_SECOND, "33"},        {IDC_CONT_1_PER_SECOND, "1000"},
      {IDC_CONT_1_PER_MINUTE, "60000"}, {IDC_CONT_1_PER_10_MINUTES, "600000"}, {IDC_CONT_1_PER_30_MINUTES, "1800000"},
      {IDC_CONT_CUSTOM, nullptr},
  };
  return presets;
}

int RadioForInterval(std::string_view stored) {
  for (const Preset& p : Presets()) {
    if (p.intervalText && stored == p.intervalText) return p.radioId;
  }
  return IDC_CONT_CUSTOM;
}

const char* IntervalForRadio(int radioId) {
  for (const Preset& p : Presets()) {
    if (p.radioId == radioId) return p.intervalText;
  }
  return nullptr;
}

std::vector<SettingWrite> OptionWrites(const OptionChoices& c) {
  using namespace framlet::keys;
  const Quality quality = ClampQuality(c.qualityText);
  std::vector<SettingWrite> writes = {
      {&kRememberPosition, FlagText(c.rememberPosition)},
      {&kAlwaysTop, FlagText(c.alwaysTop)},
      {&kAutoSave, FlagText(c.autoSave)},
      {&kCaptureReview, FlagText(c.captureReview)},
      {&kJpegQuality, quality.stored},
      {&kSelectFolder, c.folder},
  };
  // Switching position memory off empties the placement; the frame's next
  // repaint writes real values again.
  const bool keep = c.rememberPosition;
  writes.push_back({&kLeft, keep ? std::to_string(c.frameLeft) : std::string()});
  writes.push_back({&kTop, keep ? std::to_string(c.frameTop) : std::string()});
  writes.push_back({&kWidth, keep ? std::to_string(c.frameClientWidth) : std::string()});
  writes.push_back({&kHeight, keep ? std::to_string(c.frameClientHeight) : std::string()});
  return writes;
}

const std::vector<ControlPlace>& OptionLayout() {
  static const std::vector<ControlPlace> layout = {
      {IDC_OPT_REMEMBER_POSITION, {19, 33, 95, 15}}, {IDC_OPT_ALWAYS_TOP, {19, 56, 85, 15}},
      {IDC_OPT_REVIEW, {190, 33, 110, 15}},          {IDC_OPT_AUTO_SAVE, {190, 56, 180, 15}},
      {IDC_OPT_QUALITY_GROUP, {18, 90, 350, 70}},    {IDC_OPT_QUALITY_LABEL, {30, 110, 85, 15}},
      {IDC_OPT_QUALITY, {30, 130, 90, 21}},          {IDC_OPT_QUALITY_HINT, {135, 135, 130, 15}},
      {IDC_OPT_FOLDER_GROUP, {18, 165, 350, 70}},    {IDC_OPT_FOLDER_LABEL, {30, 185, 50, 15}},
      {IDC_OPT_FOLDER, {30, 205, 230, 21}},          {IDC_OPT_BROWSE, {270, 205, 28, 21}},
      {IDC_OPT_OPEN_FOLDER, {300, 205, 54, 21}},     {IDC_OK_PICTURE, {213, 250, 75, 25}},
      {IDC_CANCEL_PICTURE, {294, 250, 75, 25}},
  };
  return layout;
}

const std::vector<ControlPlace>& ContinuousLayout() {
  static const std::vector<ControlPlace> layout = {
      {IDC_CONT_LABEL, {19, 20, 80, 12}},
      {IDC_CONT_OUTER_GROUP, {10, 35, 340, 160}},
      {IDC_CONT_INTERVAL, {19, 50, 105, 21}},
      {IDC_CONT_SPIN, {114, 50, 15, 21}},
      {IDC_CONT_MS, {136, 55, 20, 20}},
      {IDC_CONT_INNER_GROUP, {18, 74, 325, 93}},
      {IDC_CONT_CUSTOM, {27, 92, 81, 15}},
      {IDC_CONT_15_PER_SECOND, {27, 116, 75, 15}},
      {IDC_CONT_30_PER_SECOND, {27, 140, 75, 15}},
      {IDC_CONT_1_PER_SECOND, {141, 92, 71, 15}},
      {IDC_CONT_1_PER_MINUTE, {141, 116, 78, 15}},
      {IDC_CONT_1_PER_10_MINUTES, {141, 140, 78, 15}},
      {IDC_CONT_1_PER_30_MINUTES, {255, 92, 78, 15}},
      {IDC_CONT_HINT, {20, 175, 220, 15}},
      {IDC_OK_PICTURE, {195, 210, 75, 25}},
      {IDC_CANCEL_PICTURE, {276, 210, 75, 25}},
  };
  return layout;
}

Point CentreOn(int screenWidth, int screenHeight, int width, int height) {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Point PromptOrigin(int left, int top, int width, int height) {
  return {width / 2 + left - kPromptWidth / 2, height / 2 + top - kPromptHeight / 2};
}

Point RecorderPromptOrigin(int left, int top, int width, int height) {
  return {left + width / 2 - 214, top + height / 2 - 147};
}

Place NoticePlace(int frameLeft, int frameTop) {
  return {frameLeft + 8, frameTop + 100, kNoticeWidth, kNoticeHeight};
}

Place FrameRestorePlace(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - 418, screenHeight / 2 - 360, keys::kWidth.defaultNumber, keys::kHeight.defaultNumber};
}

Place OutlineCreatePlace(int fw, int fh) {
  return {4, 100, fw - 8, fh - 144};
}

Place OutlineShownPlace(int fw, int fh) {
  return {0, 121, fw - 8, fh - 144};
}

OutlineRect OutlineFrameRect(int fw, int fh) {
  return {2, 0, fw - 8, fh - 144};
}

StripPieces OutlineStrip(int w) {
  return {{0, 0, kStripPieceWidth, kStripHeight},
          {kStripPieceWidth, 0, w - kStripPieceWidth, kStripHeight},
          {w - 8, 0, kStripPieceWidth, kStripHeight}};
}

}  // namespace framlet::options
