#pragma once

// Every setting of framlet.ini, described once: section, key, the form of its
// value and its default. Reads and writes go through these descriptions
// (core/settings.h), so no call site repeats a key or a default.
namespace framlet::keys {

inline constexpr char kOption[] = "OPTION";
inline constexpr char kAutoPos[] = "AUTOPOS_HISTORY";

inline constexpr char kTrueText[] = "TRUE";
inline constexpr char kFalseText[] = "FALSE";

enum class Kind {
  Flag,        // "TRUE"/"FALSE", on when it reads "true" in any mix of capitals
  ExactFlag,   // on only when it reads "TRUE" exactly
  Integer,     // "%d"; a missing or empty value gives the default number
  NumberText,  // the text as typed; its number is the leading decimal digits
  Path,        // plain text, used unchanged
};

struct Setting {
  const char* section;
  const char* key;
  Kind kind;
  // Default text of a missing key (flags, number texts, paths). nullptr for
  // the save folder, whose default is the documents folder (computed).
  const char* defaultText;
  // Default of a missing integer key.
  int defaultNumber;
};

inline constexpr Setting kRememberPosition{kOption, "REMEMBER_POSITION", Kind::Flag, kTrueText, 0};
inline constexpr Setting kAlwaysTop{kOption, "ALWAYS_TOP", Kind::Flag, kTrueText, 0};
inline constexpr Setting kCaptureReview{kOption, "CAPTURE_REVIEW", Kind::Flag, kTrueText, 0};
// The region selection reads it with "TRUE" as its default instead.
inline constexpr Setting kAutoSave{kOption, "AUTO_SAVE", Kind::Flag, kFalseText, 0};
inline constexpr Setting kJpegQuality{kOption, "JPEG_QUALITY", Kind::NumberText, "100", 0};
inline constexpr Setting kSelectFolder{kOption, "SELECT_FOLDER", Kind::Path, nullptr, 0};
inline constexpr Setting kCaptureTime{kOption, "CAPTURE_TIME", Kind::NumberText, "1000", 0};
// One blank: no automatic save from the preview yet.
inline constexpr Setting kLastAutoPass{kOption, "LASTAUTOPASS", Kind::Path, " ", 0};
inline constexpr Setting kLastUrlRemember{kOption, "LASTURL_REMEMBER", Kind::Path, "", 0};
inline constexpr Setting kPopCloseState{kOption, "POPCLOSESTATE", Kind::ExactFlag, kTrueText, 0};

// The frame's last known rectangle: window left and top, client width and height.
inline constexpr Setting kLeft{kAutoPos, "LEFT", Kind::Integer, nullptr, 0};
inline constexpr Setting kTop{kAutoPos, "TOP", Kind::Integer, nullptr, 0};
inline constexpr Setting kWidth{kAutoPos, "WIDTH", Kind::Integer, nullptr, 836};
inline constexpr Setting kHeight{kAutoPos, "HEIGHT", Kind::Integer, nullptr, 721};

// Every setting, in the order of the file's sections.
inline constexpr const Setting* kAllSettings[] = {
    &kRememberPosition, &kAlwaysTop, &kCaptureReview, &kAutoSave, &kJpegQuality, &kSelectFolder, &kCaptureTime,
    &kLastAutoPass,     &kLastUrlRemember, &kPopCloseState, &kLeft, &kTop, &kWidth, &kHeight,
};

}  // namespace framlet::keys
