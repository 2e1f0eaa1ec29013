#pragma once
// Rules of replacing a file without risking the old one: the new contents go
// to a temporary file in the same folder (so the final move is a rename on
// the same volume), and only a complete, flushed file takes the old one's
// place.
#include <cstdint>
#include <string>
#include <string_view>

#include "capture/naming.h"

namespace framlet {

// The temporary file for a new version of target: "~fl" and four hex digits
// of number, ".tmp", in target's own drive and folder (none for a bare name,
// which then sits in the current folder like the target). Short, so a target
// near the path length limit still has room for it beside it.
std::string TempPathBeside(std::string_view target, uint32_t number, LeadByteTest isLeadByte);

// Win32 error codes that mean a flush is not something the volume does.
inline constexpr uint32_t kErrorInvalidFunction = 1;  // ERROR_INVALID_FUNCTION
inline constexpr uint32_t kErrorNotSupported = 50;    // ERROR_NOT_SUPPORTED

// Whether a failed flush with this error may have lost data. Some network
// shares and file systems answer a flush with "invalid function" or "not
// supported": the data was handed over all the same, so the write stands.
bool FlushErrorLosesData(uint32_t error);

}  // namespace framlet
