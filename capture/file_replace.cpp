#include "capture/file_replace.h"

#include <atomic>
#include <cstdint>
#include <utility>

#include "capture/replace_rules.h"
#include "ui/gdi.h"

namespace framlet {

namespace {

static_assert(kErrorInvalidFunction == ERROR_INVALID_FUNCTION && kErrorNotSupported == ERROR_NOT_SUPPORTED,
              "flush errors by their Win32 numbers");

bool IsSystemLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Serial numbers of temporary names, shared by every save of the process.
std::atomic<uint32_t> nextTempNumber{0};

// A new, empty file beside a target, deleted again unless it was moved into
// the target's place. Its name never clashes with a file already there (a
// user's file or another save's temporary file): it is created only when no
// file of that name exists, else the next name is tried.
class TempFileBeside {
 public:
  explicit TempFileBeside(const std::string& target) {
    constexpr int kAttempts = 64;
    // Another process saving into the same folder starts elsewhere in the series.
    const uint32_t start = GetCurrentProcessId() * 40503u;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      std::string candidate = TempPathBeside(target, start + nextTempNumber.fetch_add(1), IsSystemLeadByte);
      file_.Reset(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
      if (file_) {
        path_ = std::move(candidate);
        return;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return;
    }
  }
  ~TempFileBeside() {
    file_.Reset();
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  TempFileBeside(const TempFileBeside&) = delete;
  TempFileBeside& operator=(const TempFileBeside&) = delete;

  explicit operator bool() const { return static_cast<bool>(file_); }
  HANDLE Handle() const { return file_; }

  // Closes the file; false when the system reports that the close lost data.
  bool Close() { return CloseHandle(file_.Release()) != FALSE; }

  // Moves the closed file over the target (or to it when there is none).
  bool MoveOver(const std::string& target) {
    if (!MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    path_.clear();
    return true;
  }

 private:
  ui::FileHandle file_;
  std::string path_;
};

bool WriteAll(HANDLE file, const FileChunk& chunk) {
  const auto* bytes = static_cast<const uint8_t*>(chunk.data);
  size_t left = chunk.size;
  while (left > 0) {
    const DWORD part = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, bytes, part, &written, nullptr) || written != part) return false;
    bytes += part;
    left -= part;
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::initializer_list<FileChunk> chunks) {
  if (path.empty()) return false;
  // Windows refuses to replace a read-only file; Wine running as root does
  // not, so the attribute is honoured here as well.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  TempFileBeside temp(path);
  if (!temp) return false;
  for (const FileChunk& chunk : chunks) {
    if (!WriteAll(temp.Handle(), chunk)) return false;
  }
  if (!FlushFileBuffers(temp.Handle()) && FlushErrorLosesData(GetLastError())) return false;
  if (!temp.Close()) return false;
  return temp.MoveOver(path);
}

}  // namespace framlet
