#pragma once

// Sections, keys and defaults of framlet.ini.
namespace framlet::keys {

inline constexpr char kOption[] = "OPTION";
inline constexpr char kAutoPos[] = "AUTOPOS_HISTORY";

inline constexpr char kRememberPosition[] = "REMEMBER_POSITION";
inline constexpr char kAlwaysTop[] = "ALWAYS_TOP";
inline constexpr char kCaptureReview[] = "CAPTURE_REVIEW";
inline constexpr char kAutoSave[] = "AUTO_SAVE";
inline constexpr char kJpegQuality[] = "JPEG_QUALITY";
inline constexpr char kSelectFolder[] = "SELECT_FOLDER";
inline constexpr char kCaptureTime[] = "CAPTURE_TIME";
inline constexpr char kLastAutoPass[] = "LASTAUTOPASS";
inline constexpr char kLastUrlRemember[] = "LASTURL_REMEMBER";
inline constexpr char kPopCloseState[] = "POPCLOSESTATE";

inline constexpr char kLeft[] = "LEFT";
inline constexpr char kTop[] = "TOP";
inline constexpr char kWidth[] = "WIDTH";
inline constexpr char kHeight[] = "HEIGHT";

inline constexpr char kTrueText[] = "TRUE";
inline constexpr char kFalseText[] = "FALSE";
inline constexpr char kDefaultJpegQuality[] = "100";
inline constexpr char kDefaultCaptureTime[] = "1000";
inline constexpr char kDefaultLastAutoPass[] = " ";

inline constexpr int kDefaultLeft = 0;
inline constexpr int kDefaultTop = 0;
inline constexpr int kDefaultWidth = 836;
inline constexpr int kDefaultHeight = 721;

}  // namespace framlet::keys
