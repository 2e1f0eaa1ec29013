// Options dialogs and notice windows: quality clamp, interval presets, the
// order and form of what OK writes, and the placement of the small windows.
#include <gtest/gtest.h>

#include <string>

#include "core/command_ids.h"
#include "windows/option_rules.h"

namespace framlet::options {
namespace {

TEST(QualityClamp, OutOfRangeBecomesTheLimitAndEverythingElseIsKeptAsTyped) {
  struct Case {
    const char* typed;
    int value;
    const char* stored;
  };
  const Case cases[] = {
      {"0", 1, "1"},
      {"abc", 1, "1"},
      {"", 1, "1"},
      {"-5", 1, "1"},
      {"1", 1, "1"},
      {"100", 100, "100"},
      {"101", 100, "100"},
      {"250", 100, "100"},
      {"85", 85, "85"},
      {"75x", 75, "75x"},
      {" 85", 85, " 85"},
      {"+7", 7, "+7"},
      {"007", 7, "007"},
      {"99999999999", 100, "100"},  // saturates, never wraps negative
      {"-99999999999", 1, "1"},
  };
  for (const Case& c : cases) {
    const Quality q = ClampQuality(c.typed);
    EXPECT_EQ(q.value, c.value) << "[" << c.typed << "]";
    EXPECT_EQ(q.stored, c.stored) << "[" << c.typed << "]";
  }
}

TEST(IntervalPresets, StoredTextSelectsARadioOnlyOnAnExactMatch) {
  struct Case {
    const char* stored;
    int radio;
  };
  const Case cases[] = {
      {"67", IDC_CONT_15_PER_SECOND},   {"33", IDC_CONT_30_PER_SECOND},        {"1000", IDC_CONT_1_PER_SECOND},
      {"60000", IDC_CONT_1_PER_MINUTE}, {"600000", IDC_CONT_1_PER_10_MINUTES}, {"1800000", IDC_CONT_1_PER_30_MINUTES},
      {"500", IDC_CONT_CUSTOM},         {"060000", IDC_CONT_CUSTOM},           {"60000 ", IDC_CONT_CUSTOM},
      {" 1000", IDC_CONT_CUSTOM},       {"1000ms", IDC_CONT_CUSTOM},           {"", IDC_CONT_CUSTOM},
      {"6000", IDC_CONT_CUSTOM},        {"18000000", IDC_CONT_CUSTOM},
  };
  for (const Case& c : cases) EXPECT_EQ(RadioForInterval(c.stored), c.radio) << "[" << c.stored << "]";
}

TEST(IntervalPresets, EveryPresetRadioWritesTheTextThatSelectsItAgain) {
  int presets = 0;
  for (const Preset& p : Presets()) {
    if (!p.intervalText) continue;
    ++presets;
    EXPECT_STREQ(IntervalForRadio(p.radioId), p.intervalText);
    EXPECT_EQ(RadioForInterval(IntervalForRadio(p.radioId)), p.radioId);
  }
  EXPECT_EQ(presets, 6);
  EXPECT_EQ(IntervalForRadio(IDC_CONT_CUSTOM), nullptr);  // custom keeps the edit's text
  EXPECT_EQ(IntervalForRadio(IDC_OK_PICTURE), nullptr);
  EXPECT_STREQ(IntervalForRadio(IDC_CONT_15_PER_SECOND), "67");
}

TEST(IntervalConversion, LeadingNumberOfTheTextAsTyped) {
  struct Case {
    const char* text;
    int interval;
  };
  const Case cases[] = {
      {"1000", 1000}, {"67", 67},           {"", 0},
      {"abc", 0},     {"  250", 250},       {"-40", -40},
      {"500ms", 500}, {"1800000", 1800000}, {"99999999999", 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(IntervalFromText(c.text), c.interval) << "[" << c.text << "]";
}

std::string Joined(const std::vector<SettingWrite>& writes) {
  std::string out;
  for (const SettingWrite& w : writes) out += std::string(w.setting->section) + "." + w.setting->key + "=" + w.value + "\n";
  return out;
}

TEST(OptionsOk, WritesOptionKeysThenThePlacementInOrder) {
  OptionChoices c;
  c.rememberPosition = true;
  c.alwaysTop = false;
  c.autoSave = true;
  c.captureReview = false;
  c.qualityText = "250";
  c.folder = "D:\\캡쳐";
  c.frameLeft = -120;  // a frame on a monitor left of the primary one
  c.frameTop = 35;
  c.frameClientWidth = 900;
  c.frameClientHeight = 600;
  EXPECT_EQ(Joined(OptionWrites(c)),
            "OPTION.REMEMBER_POSITION=TRUE\n"
            "OPTION.ALWAYS_TOP=FALSE\n"
            "OPTION.AUTO_SAVE=TRUE\n"
            "OPTION.CAPTURE_REVIEW=FALSE\n"
            "OPTION.JPEG_QUALITY=100\n"
            "OPTION.SELECT_FOLDER=D:\\캡쳐\n"
            "AUTOPOS_HISTORY.LEFT=-120\n"
            "AUTOPOS_HISTORY.TOP=35\n"
            "AUTOPOS_HISTORY.WIDTH=900\n"
            "AUTOPOS_HISTORY.HEIGHT=600\n");
}

TEST(OptionsOk, PositionMemoryOffEmptiesThePlacementAndKeepsTypedTexts) {
  OptionChoices c;
  c.rememberPosition = false;
  c.qualityText = "75x";
  c.folder = "";  // the folder is not checked: an empty text is stored as it is
  c.frameLeft = 10;
  c.frameTop = 20;
  c.frameClientWidth = 836;
  c.frameClientHeight = 721;
  EXPECT_EQ(Joined(OptionWrites(c)),
            "OPTION.REMEMBER_POSITION=FALSE\n"
            "OPTION.ALWAYS_TOP=TRUE\n"
            "OPTION.AUTO_SAVE=FALSE\n"
            "OPTION.CAPTURE_REVIEW=TRUE\n"
            "OPTION.JPEG_QUALITY=75x\n"
            "OPTION.SELECT_FOLDER=\n"
            "AUTOPOS_HISTORY.LEFT=\n"
            "AUTOPOS_HISTORY.TOP=\n"
            "AUTOPOS_HISTORY.WIDTH=\n"
            "AUTOPOS_HISTORY.HEIGHT=\n");
}

TEST(DialogLayout, ControlsStayInsideTheirWindowsAndIdsAreUnique) {
  // The client area of a captioned window is smaller than the window: leave
  // room for a 30-pixel caption and 4-pixel borders.
  struct Dialog {
    const std::vector<ControlPlace>& layout;
    int width, height;
  };
  const Dialog dialogs[] = {{OptionLayout(), kOptionWidth, kOptionHeight},
                            {ContinuousLayout(), kContinuousWidth, kContinuousHeight}};
  for (const Dialog& d : dialogs) {
    for (size_t i = 0; i < d.layout.size(); ++i) {
      const Place& p = d.layout[i].place;
      EXPECT_LE(p.x + p.width, d.width - 8) << d.layout[i].id;
      EXPECT_LE(p.y + p.height, d.height - 38) << d.layout[i].id;
      for (size_t j = i + 1; j < d.layout.size(); ++j) EXPECT_NE(d.layout[i].id, d.layout[j].id);
    }
  }
}

TEST(Centring, DialogsOnTheScreenAndThePromptOnTheStoredFrame) {
  EXPECT_EQ(CentreOn(1024, 768, kOptionWidth, kOptionHeight), (Point{317, 224}));
  EXPECT_EQ(CentreOn(1920, 1080, kContinuousWidth, kContinuousHeight), (Point{777, 402}));

  struct Case {
    int left, top, width, height;
    Point origin;
  };
  const Case cases[] = {
      {0, 0, 836, 721, {233, 248}},  // no stored placement: the defaults
      {100, 50, 836, 721, {333, 298}},
      {0, 0, 533, 515, {81, 145}},          // odd sizes: integer halves
      {-1800, 40, 900, 700, {-1535, 278}},  // frame on a monitor left of the primary one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PromptOrigin(c.left, c.top, c.width, c.height), c.origin)
        << c.left << "," << c.top << " " << c.width << "x" << c.height;
  }
  // The recorder prompt's corner: half the frame less 214 across and 147 down
  // (the prompt is 437 x 293), with the frame's halves rounded down first.
  EXPECT_EQ(RecorderPromptOrigin(0, 0, 836, 721), (Point{204, 213}));
  EXPECT_EQ(RecorderPromptOrigin(100, 50, 533, 515), (Point{152, 160}));
  EXPECT_EQ(RecorderPromptOrigin(-1800, 40, 900, 700), (Point{-1564, 243}));
}

TEST(FullCaptureNotice, SitsBelowTheFrameCornerAndCloseRestoresTheDefaultFrame) {
  EXPECT_EQ(NoticePlace(0, 0), (Place{8, 100, 479, 75}));
  EXPECT_EQ(NoticePlace(-1920, -30), (Place{-1912, 70, 479, 75}));
  EXPECT_EQ(FrameRestorePlace(1920, 1080), (Place{542, 180, 836, 721}));
  EXPECT_EQ(FrameRestorePlace(1024, 768), (Place{94, 24, 836, 721}));
  // Both buttons and the label fit inside the bar.
  for (const Place& p : {kNoticeLabel, kNoticeCaptureButton, kNoticeCloseButton}) {
    EXPECT_LE(p.x + p.width, kNoticeWidth);
    EXPECT_LE(p.y + p.height, kNoticeHeight);
  }
}

TEST(AreaOutline, PlacementOutlineAndStripFollowTheFrameSize) {
  //  frame 836 x 721:   created at (4,100) 828x577, shown at (0,121) 828x577
  EXPECT_EQ(OutlineCreatePlace(836, 721), (Place{4, 100, 828, 577}));
  EXPECT_EQ(OutlineShownPlace(836, 721), (Place{0, 121, 828, 577}));
  EXPECT_EQ(OutlineFrameRect(836, 721), (OutlineRect{2, 0, 828, 577}));
  EXPECT_EQ(OutlineShownPlace(1920, 1080), (Place{0, 121, 1912, 936}));

  //  |L(10)|------ middle stretched ------|R(10)|   the right piece starts 8 from the edge
  const StripPieces s = OutlineStrip(828);
  EXPECT_EQ(s.left, (Place{0, 0, 10, 75}));
  EXPECT_EQ(s.middle, (Place{10, 0, 818, 75}));
  EXPECT_EQ(s.right, (Place{820, 0, 10, 75}));
}

}  // namespace
}  // namespace framlet::options
