// File naming, save dialogs and image writers of the capture engine.
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/paths.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/system_path.h"
#include "capture/capture_engine.h"
#include "capture/file_replace.h"
#include "capture/gif_encoder.h"
#include "capture/jpeg_encoder.h"
#include "capture/naming.h"
#include "capture/quantize.h"
#include "ui/com_ptr.h"
#include "ui/gdi.h"

static_assert(kBaseNameSize == framlet::kMaxBaseNameBytes + 1, "the stem field holds the longest stem and its terminator");

namespace {

constexpr DWORD kNameBufferSize = 512;
constexpr int kMaxCodecSide = 65535;  // JPEG and GIF state width and height in 16 bits

bool IsSystemLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// An existence probe: a directory search for exactly that path.
bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA data;
  const framlet::ui::FindHandle find(FindFirstFileA(path.c_str(), &data));
  return static_cast<bool>(find);
}

// Runs a writer, turning a failed allocation (a picture too large for the
// memory left) into a failed write: writers run inside window procedures,
// which no exception may leave.
template <typename Write>
int WriteOrZero(Write&& write) {
  try {
    return write();
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
}

std::string SaveFolder() {
  return framlet::settings::ReadText(framlet::keys::kSelectFolder);
}

// What the common save dialog returned.
struct DialogChoice {
  bool confirmed = false;
  std::string path;
  int32_t filterIndex = 0;
};

// The platform's save dialog: filterCount filters of the list, the first one
// selected, "jpg" as the default extension, a 512-character name buffer. The
// chosen path comes back in the code page (core/system_path.h); a confirmed
// path that has no form there comes back empty, and writing to it fails.
DialogChoice RunSaveDialog(HWND owner, int filterCount, const std::string& proposal, const std::string& folder,
                           DWORD flags) {
  const std::wstring filters = framlet::FromCodePage(framlet::FilterListText(filterCount));
  const std::wstring initialFolder = framlet::FromCodePage(folder);
  wchar_t name[kNameBufferSize] = {};
  std::wcsncpy(name, framlet::FromCodePage(proposal).c_str(), kNameBufferSize - 1);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  ofn.nMaxFile = kNameBufferSize;
  ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  ofn.lpstrDefExt = L"jpg";
  ofn.Flags = flags;
  DialogChoice choice;
  if (!GetSaveFileNameW(&ofn)) return choice;
  choice.confirmed = true;
  choice.path = framlet::SystemPath(name);
  choice.filterIndex = static_cast<int32_t>(ofn.nFilterIndex);
  return choice;
}

// The naming rules work on a plain copy of the engine's naming state; these
// two move the engine's fields in and out of it.
framlet::NamingState LoadNaming(const CCaptureEngine& engine) {
  framlet::NamingState state;
  state.currentPath = engine.currentPath;
  state.baseName = std::string(engine.baseName, strnlen(engine.baseName, kBaseNameSize));
  state.counter = engine.counter;
  state.formatIndex = engine.formatIndex;
  return state;
}

void StoreNaming(CCaptureEngine& engine, const framlet::NamingState& state) {
  engine.currentPath = state.currentPath;
  std::memset(engine.baseName, 0, kBaseNameSize);
  std::memcpy(engine.baseName, state.baseName.data(), std::min(state.baseName.size(), kBaseNameSize - 1));
  engine.counter = state.counter;
  engine.formatIndex = state.formatIndex;
}

}  // namespace

// ---- Naming and save dialogs --------------------------------------------------

int CCaptureEngine::ChooseSaveFile(std::string& path) {
  framlet::NamingState state = LoadNaming(*this);
  const std::string proposal = framlet::ProposeName(state, path, FileExists, IsSystemLeadByte);
  StoreNaming(*this, state);  // a cancelled proposal still advances the counter

  const DialogChoice choice = RunSaveDialog(owner, framlet::kAllFilters, proposal, SaveFolder(),
                                            OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  if (!choice.confirmed) return 0;
  path = choice.path;  // may be currentPath itself
  state = LoadNaming(*this);
  const int32_t index = framlet::ConfirmSaveChoice(state, choice.path, choice.filterIndex, proposal, IsSystemLeadByte);
  state.currentPath = currentPath;  // the engine's path takes the choice only when it was the one passed in
  StoreNaming(*this, state);
  return index;
}

std::string CCaptureEngine::NextFreeName(int quality, const CCapturedImage& image) {
  if (currentPath.empty()) {
    if (ChooseSaveFile(currentPath) == 0) return {};
  } else {
    framlet::NamingState state = LoadNaming(*this);
    state.currentPath = framlet::AdvanceSeries(state, currentPath, FileExists, IsSystemLeadByte).path;
    StoreNaming(*this, state);
  }
  // The format comes from the last dialog, the extension from the last path.
  return WriteByFormat(image, currentPath, formatIndex, quality) == 1 ? currentPath : std::string();
}

std::string CCaptureEngine::GrabAndAutoSave(int left, int top, int right, int bottom, int quality) {
  CCapturedImage image;
  if (!Grab(left, top, right - left, bottom - top, image, ExcludeLayered)) return {};
  return NextFreeName(quality, image);
}

std::string CCaptureEngine::SaveViaDialog(const CCapturedImage& image, int quality) {
  std::string path;
  const int index = ChooseSaveFile(path);
  if (index == 0) return {};
  // A path whose file was not written is no saved capture: the caller keeps it open.
  return WriteByFormat(image, path, index, quality) == 1 ? path : std::string();
}

std::string CCaptureEngine::SaveWithLastPath(const CCapturedImage& image, int quality) {
  currentPath = framlet::settings::ReadText(framlet::keys::kLastAutoPass);
  if (currentPath.empty()) {
    if (ChooseSaveFile(currentPath) == 0) return {};
  } else {
    SYSTEMTIME now;
    GetLocalTime(&now);
    currentPath = framlet::StampedPath(currentPath, now.wMinute, now.wSecond, FileExists, IsSystemLeadByte);
  }
  int written = 0;
  switch (framlet::FormatForPath(currentPath)) {
    case framlet::kJpegFormat: written = WriteJpegFile(image, currentPath, quality); break;
    case framlet::kBmpFormat: written = WriteBmpFile(image, currentPath); break;
    case framlet::kPngFormat: written = WritePngFile(image, currentPath); break;
    case framlet::kGifFormat: written = WriteGifFile(image, currentPath); break;
    default: break;
  }
  return written == 1 ? currentPath : std::string();
}

std::string CCaptureEngine::SaveCroppedViaDialog(const CCapturedImage& image, HWND ownerWindow, int width,
                                                 int height, int quality) {
  const std::string folder = SaveFolder();
  const int w = width >= 1 ? width : image.Width();
  const int h = height >= 1 ? height : image.Height();
  CCapturedImage crop = image.CropTopLeft(w, h);
  const DialogChoice choice =
      RunSaveDialog(ownerWindow, framlet::kAllFilters, std::string(), folder, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  if (!choice.confirmed) return {};
  return WriteByFormat(crop, choice.path, choice.filterIndex, quality) == 1 ? choice.path : std::string();
}

int CCaptureEngine::SaveViaShortDialog(const CCapturedImage& image, HWND ownerWindow, int quality) {
  const DialogChoice choice = RunSaveDialog(ownerWindow, framlet::kShortFilters, std::string(), std::string(),
                                            OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  if (!choice.confirmed) return 0;
  if (choice.filterIndex < 1 || choice.filterIndex > framlet::kShortFilters) return 0;
  return WriteByFormat(image, choice.path, choice.filterIndex, quality) == 1 ? 1 : 0;
}

// ---- Writers -----------------------------------------------------------------
// Each writer returns 1 with the file complete at path, or 0 with path as it
// was before (an existing file is replaced only by a complete new one).

int CCaptureEngine::WriteBmpFile(const CCapturedImage& image, const std::string& path) {
  if (image.Empty()) return 0;
  return WriteOrZero([&] {
    BITMAPINFO info = {};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = image.Width();
    header.biHeight = image.Height();  // positive: bottom row first
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;

    std::vector<uint8_t> pixels;
    {
      framlet::ui::WindowDC desktop(nullptr);
      if (!GetDIBits(desktop, image.Bitmap(), 0, static_cast<UINT>(image.Height()), nullptr, &info, DIB_RGB_COLORS))
        return 0;
      const uint64_t rowBytes = (static_cast<uint64_t>(image.Width()) * 3 + 3) / 4 * 4;
      const uint64_t imageBytes = rowBytes * static_cast<uint64_t>(image.Height());
      if (imageBytes + 54 > 0xFFFFFFFFull) return 0;  // the file size field is 32 bits
      header.biSizeImage = static_cast<DWORD>(imageBytes);
      header.biHeight = image.Height();
      header.biBitCount = 24;
      header.biCompression = BI_RGB;
      pixels.resize(static_cast<size_t>(imageBytes));
      if (GetDIBits(desktop, image.Bitmap(), 0, static_cast<UINT>(image.Height()), pixels.data(), &info,
                    DIB_RGB_COLORS) != image.Height())
        return 0;
    }

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(pixels.size() + 54);
    file.bfOffBits = 54;
    static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40, "packed headers");
    return framlet::ReplaceFileContents(
               path, {{&file, sizeof file}, {&header, sizeof header}, {pixels.data(), pixels.size()}})
               ? 1
               : 0;
  });
}

int CCaptureEngine::FindEncoder(const wchar_t* mimeType, CLSID* codecId) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return -1;
  std::vector<uint8_t> buffer;
  try {
    buffer.resize(size);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return -1;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
      *codecId = codecs[i].Clsid;
      return static_cast<int>(i);
    }
  }
  return -1;
}

namespace {

// Encodes the bitmap with a codec into a memory stream, then writes the
// stream's bytes to path like the other writers.
bool SaveThroughCodec(Gdiplus::Bitmap& bitmap, const wchar_t* mimeType, const Gdiplus::EncoderParameters* params,
                      const std::string& path) {
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
  CLSID codec = {};
  if (CCaptureEngine::FindEncoder(mimeType, &codec) < 0) return false;
  framlet::ui::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) || !stream) return false;
  if (bitmap.Save(stream.Get(), &codec, params) != Gdiplus::Ok) return false;
  STATSTG stat = {};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.Get(), &memory)))
    return false;
  if (stat.cbSize.QuadPart > GlobalSize(memory)) return false;
  const framlet::ui::GlobalLockGuard bytes(memory);
  return bytes && framlet::ReplaceFileContents(path, {{bytes.Get(), static_cast<size_t>(stat.cbSize.QuadPart)}});
}

}  // namespace

// Encoded by the program itself rather than the platform codec, whose quality
// parameter Wine ignores; the file is then the same on Windows and Wine.
int CCaptureEngine::WriteJpegFile(const CCapturedImage& image, const std::string& path, int quality) {
  if (image.Empty()) return 0;
  if (image.Width() > kMaxCodecSide || image.Height() > kMaxCodecSide) return 0;
  return WriteOrZero([&] {
    int stride = 0;
    const std::vector<uint8_t> rows = image.ReadRows(32, &stride);
    if (rows.empty()) return 0;
    const std::vector<uint8_t> bytes =
        framlet::EncodeJpeg(rows.data(), image.Width(), image.Height(), stride, 4, quality);
    if (bytes.empty()) return 0;
    return framlet::ReplaceFileContents(path, {{bytes.data(), bytes.size()}}) ? 1 : 0;
  });
}

int CCaptureEngine::WritePngFile(const CCapturedImage& image, const std::string& path) {
  if (image.Empty() || !gdiplusSession) return 0;
  return WriteOrZero([&] {
    Gdiplus::Bitmap bitmap(image.Bitmap(), nullptr);
    return SaveThroughCodec(bitmap, L"image/png", nullptr, path) ? 1 : 0;
  });
}

int CCaptureEngine::WriteGifFile(const CCapturedImage& image, const std::string& path) {
  if (image.Empty()) return 0;
  if (image.Width() > kMaxCodecSide || image.Height() > kMaxCodecSide) return 0;
  return WriteOrZero([&] {
    int stride = 0;
    const std::vector<uint8_t> rows = image.ReadRows(32, &stride);
    if (rows.empty()) return 0;
    const framlet::IndexedImage indexed =
        framlet::QuantizeTo256(rows.data(), image.Width(), image.Height(), stride, 4);
    const std::vector<uint8_t> bytes = framlet::EncodeGif89a(indexed);
    if (bytes.empty()) return 0;
    return framlet::ReplaceFileContents(path, {{bytes.data(), bytes.size()}}) ? 1 : 0;
  });
}
