#pragma once
#include <string>
#include <string_view>

namespace framlet {

// A Windows path split the way the C runtime splits it: drive ("C:"), folder
// with its trailing separator ("\cap\"), stem ("shot") and extension with its
// dot (".jpg"). Joining the four gives the path back.
struct PathParts {
  std::string drive;
  std::string dir;
  std::string stem;
  std::string ext;
};

// Byte-wise split that understands double-byte characters of code page 949,
// whose trail byte may be 0x5C ('\\'): pass isLeadByte to honour them.
PathParts SplitPath(std::string_view path, bool (*isLeadByte)(unsigned char) = nullptr);

// Lead bytes of code page 949 (Unified Hangul Code), usable with SplitPath natively.
bool IsCp949LeadByte(unsigned char c);

// The folder of a full program path with its trailing backslash.
std::string FolderOf(std::string_view fullPath, bool (*isLeadByte)(unsigned char) = nullptr);

}  // namespace framlet
