#pragma once
// File-naming rules of the capture engine: the running series stem_N, the
// save-dialog proposal and what a confirmed choice changes, the minute-second
// stamp of the preview window's automatic save, the filter lists and the
// choice of writer by extension. Paths are byte strings in the system code
// page; a lead-byte test keeps double-byte characters whole.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace framlet {

using LeadByteTest = bool (*)(unsigned char);
// True when a file of exactly that path exists.
using ExistsProbe = std::function<bool(const std::string& path)>;

// Image formats by their position in the save dialog's filter list.
enum ImageFormat : int32_t {
  kNoFormat = 0,
  kJpegFormat = 1,
  kBmpFormat = 2,
  kPngFormat = 3,
  kGifFormat = 4,
};

// Longest stem the engine keeps for automatic names, in bytes.
inline constexpr size_t kMaxBaseNameBytes = 99;

// The engine's naming state.
struct NamingState {
  std::string currentPath;  // last chosen or written file
  std::string baseName;     // stem of the series, at most kMaxBaseNameBytes bytes
  int32_t counter = 0;      // next number of the series
  int32_t formatIndex = kNoFormat;
};

struct SaveFilter {
  const char* label;
  const char* pattern;
  ImageFormat format;
};

// The four filters in dialog order; the three-format list is the first three.
inline constexpr SaveFilter kSaveFilters[] = {
    {"JPEG Files (*.jpg)", "*.jpg", kJpegFormat},
    {"Bitmap Files (*.bmp)", "*.bmp", kBmpFormat},
    {"PNG Files (*.png)", "*.png", kPngFormat},
    {"GIF Files (*.gif)", "*.gif", kGifFormat},
};
inline constexpr int kAllFilters = 4;
inline constexpr int kShortFilters = 3;

// The first count filters as the dialog wants them: label, NUL, pattern, NUL,
// ..., with the closing second NUL supplied by c_str().
std::string FilterListText(int count);

// The stem cut to at most maxBytes bytes without splitting a double-byte character.
std::string CutStem(std::string_view stem, size_t maxBytes, LeadByteTest isLeadByte);

// "stem_N".
std::string SeriesName(std::string_view stem, int32_t number);

// The next free name of the series for the folder and extension of fromPath:
// takes the path's stem as the series stem when none is set, then generates
// stem_counter, advancing counter past each name, until one does not exist.
struct SeriesStep {
  std::string path;  // drive + folder + name + extension
  std::string name;  // the last name generated, without folder or extension
};
SeriesStep AdvanceSeries(NamingState& state, std::string_view fromPath, const ExistsProbe& exists,
                         LeadByteTest isLeadByte);

// The name the save dialog proposes for path: empty (and counter untouched)
// for an empty path, else the next free name of the series.
std::string ProposeName(NamingState& state, std::string_view path, const ExistsProbe& exists,
                        LeadByteTest isLeadByte);

// Records a confirmed dialog choice: a stem other than the proposal starts a
// new series at 0; the filter's position becomes the format. Returns it.
int32_t ConfirmSaveChoice(NamingState& state, std::string_view chosenPath, int32_t filterIndex,
                          std::string_view proposal, LeadByteTest isLeadByte);

// "MMSS" of a local time.
std::string MinuteSecondStamp(int minute, int second);

// The preview window's automatic name: the stored last path with its "_stamp"
// replaced by a new stamp (C:\cap\shot_0312.jpg at 10:47:31 gives
// C:\cap\shot_4731.jpg). A name that exists gets a further "-1", "-2", ...
// (shot_4731-1.jpg) so no file is overwritten. lastPath must not be empty.
std::string StampedPath(std::string_view lastPath, int minute, int second, const ExistsProbe& exists,
                        LeadByteTest isLeadByte);

// The writer for a path by its last three characters, case-sensitive:
// "jpg", "bmp", "png", "gif"; kNoFormat for anything else.
ImageFormat FormatForPath(std::string_view path);

}  // namespace framlet
