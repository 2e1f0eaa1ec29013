#pragma once
#include <string>

#include "core/settings_keys.h"

// The settings file framlet.ini beside the program. Every read and write goes
// to the file at the moment the value is needed; nothing is cached, so a value
// written by one window is seen by every other at its next read. Each call
// names a setting of core/settings_keys.h, which carries its key and default.
namespace framlet::settings {

using keys::Setting;

// Full path of the settings file.
std::string FilePath();

// The stored text (at most 259 characters), or the setting's default when the
// key is missing. A present but empty value is returned as it is.
std::string ReadText(const Setting& setting);

// A flag by its own comparison rule; the default when missing.
bool ReadFlag(const Setting& setting);
// The same with another default for a missing key (one reader of AUTO_SAVE).
bool ReadFlag(const Setting& setting, bool defaultOn);

// An integer key: its default when missing or empty, else the number at the
// start of the value. A number text: the number at the start of its text.
int ReadInt(const Setting& setting);

// Writes one value (the file is created by the first write). Failures are
// silent; the result says whether the platform accepted the write.
bool WriteText(const Setting& setting, const std::string& value);
bool WriteInt(const Setting& setting, int value);
bool WriteFlag(const Setting& setting, bool on);

// Toggles a flag: "TRUE" when it did not read true, else "FALSE". Returns the new state.
bool ToggleFlag(const Setting& setting);

// The frame's stored rectangle (AUTOPOS_HISTORY): window left and top, client
// width and height, each kept within the coordinate range (StoredPlaceNumber).
struct FrameRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
FrameRect ReadFrameRect();
// Writes LEFT, TOP, WIDTH, HEIGHT in that order.
void WriteFrameRect(const FrameRect& rect);

// The documents folder followed by "\Framlet": the default save folder.
std::string DefaultSaveFolder();

// Points the store at another file (tests only); an empty path restores the default.
void SetFilePathForTesting(const std::string& path);

}  // namespace framlet::settings
