#pragma once
#include <string>

// The settings file framlet.ini beside the program. Every read and write goes
// to the file at the moment the value is needed; nothing is cached, so a value
// written by one window is seen by every other at its next read.
namespace framlet::settings {

// Full path of the settings file.
std::string FilePath();

// Text of at most 259 characters; the default when the key is missing.
std::string ReadText(const char* section, const char* key, const char* defaultText);

// A flag: on when the text reads "true" ignoring case.
bool ReadFlag(const char* section, const char* key, const char* defaultText);

// An integer key: the default when missing, else the number at the start of the value.
int ReadInt(const char* section, const char* key, int defaultValue);

// Writes one value (the file is created by the first write). Failures are silent;
// the result says whether the platform accepted the write.
bool WriteText(const char* section, const char* key, const char* value);
bool WriteInt(const char* section, const char* key, int value);

// Toggles a flag: "TRUE" when it did not read true, else "FALSE". Returns the new state.
bool ToggleFlag(const char* section, const char* key, const char* defaultText);

// The documents folder followed by "\Framlet": the default save folder.
std::string DefaultSaveFolder();

// Points the store at another file (tests only); an empty path restores the default.
void SetFilePathForTesting(const std::string& path);

}  // namespace framlet::settings
