#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "capture/captured_image.h"
#include "capture/preview_opener.h"

// How a grab treats layered (translucent, colour-keyed) windows. Captures of
// the frame's see-through hole leave them out, because the frame is one.
enum GrabMode : int {
  IncludeLayered = 0,
  ExcludeLayered = 1,
};

// Size of the automatic-name stem field, terminator included.
inline constexpr size_t kBaseNameSize = 100;

// The capture engine: one per owner window, each with its own naming state.
// Grabs the screen, hands pictures to the clipboard and the preview, names and
// writes image files. UI thread only; never shows a message itself.
class CCaptureEngine {
 public:
  explicit CCaptureEngine(HWND owner);
  virtual ~CCaptureEngine();
  CCaptureEngine(const CCaptureEngine&) = delete;
  CCaptureEngine& operator=(const CCaptureEngine&) = delete;

  // ---- Screen grab and hand-off ----
  // Copies the screen rectangle (x, y, width, height) into a new image in out.
  bool Grab(int x, int y, int width, int height, CCapturedImage& out, GrabMode mode);
  // Grabs without layered windows and puts the picture on the clipboard.
  bool GrabToClipboard(int left, int top, int right, int bottom);
  // Grabs, then opens the preview (review on: returns 0) or saves through the
  // save dialog (review off: 1 when written).
  int GrabAndDeliver(int left, int top, int right, int bottom, int quality, int review, GrabMode mode);
  // Empties the clipboard and offers the picture there (see
  // framlet::capture::OfferPicture); false when the clipboard could not be had.
  static bool PutOnClipboard(HWND window, const CCapturedImage& image);
  // Shows the capture preview of `picture` modally in front of the owner; the
  // preview owns the picture from then on. Does nothing while no opener is
  // installed.
  void OpenPreview(CCapturedImage picture);
  // The process-wide opener OpenPreview calls (nullptr removes it).
  static void SetPreviewOpener(IPreviewOpener* opener);
  static IPreviewOpener* PreviewOpener();

  // ---- Image files ----
  int ChooseSaveFile(std::string& path);
  std::string GrabAndAutoSave(int left, int top, int right, int bottom, int quality);
  std::string SaveViaDialog(const CCapturedImage& image, int quality);
  std::string SaveWithLastPath(const CCapturedImage& image, int quality);
  std::string SaveCroppedViaDialog(const CCapturedImage& image, HWND owner, int width, int height, int quality);
  int SaveViaShortDialog(const CCapturedImage& image, HWND owner, int quality);
  // The writers return 1 when the whole file is at path, else 0 with path as
  // it was: an existing file is replaced only by a complete new one, and a
  // picture too large for the memory left is a failed write, not an exception.
  static int WriteBmpFile(const CCapturedImage& image, const std::string& path);
  int WriteJpegFile(const CCapturedImage& image, const std::string& path, int quality);
  int WritePngFile(const CCapturedImage& image, const std::string& path);
  int WriteGifFile(const CCapturedImage& image, const std::string& path);
  // Position of the installed image encoder with exactly this MIME type and its
  // codec id, or -1.
  static int FindEncoder(const wchar_t* mimeType, CLSID* codecId);
  // Writes by format index (1 JPEG, 2 BMP, 3 PNG, 4 GIF); 0 for any other index.
  int WriteByFormat(const CCapturedImage& image, const std::string& path, int formatIndex, int quality);

  // ---- Window capture ----
  // The window drawn by itself (frame included) into a picture, or, where it
  // draws nothing, its rectangle grabbed from the screen. review != 0: to the
  // clipboard and the preview, returning whether a picture was made; else the
  // save dialog, returning the writer's result (a cancelled dialog: whether a
  // picture was made). 0 for no window.
  int PrintWindowAndDeliver(HWND window, int quality, int review);
  // The same picture saved under the next automatic name: the path written, or empty.
  std::string PrintWindowAndAutoSave(HWND window, int quality);

  // ---- Web page capture ----
  // A picture made elsewhere (a rendered page) written under the next
  // automatic name, as GrabAndAutoSave writes a grab: the path, or empty.
  std::string SaveUnderNextName(const CCapturedImage& image, int quality);

  // ---- Scroll capture ----
  // One step: grabs the rectangle, scrolls `target` down one line, waits
  // (`wait` ms; 0 asks the step to finish and waits 100 ms), grabs again,
  // finds how far the content moved and appends the rows that came into view.
  // Returns 1 when the capture is finished and delivered (review on: the
  // picture is in workingImage, for the preview, and offered on the
  // clipboard; off: the short save dialog), 0 when another step is needed.
  int ScrollStep(int left, int top, int right, int bottom, HWND target, int wait, int quality, int review);
  // Delivers what a capture under way has gathered without another step;
  // 1 when there was a picture to deliver. The capture is over afterwards.
  int FinishScrollCapture(int quality, int review);
  // A step is running (it dispatches messages while it waits).
  bool ScrollStepRunning() const;
  // Called with true before each of a step's grabs and false after it, so the
  // owner can keep its own controls out of the picture.
  void (*scrollGrabHook)(void* context, bool grabbing) = nullptr;
  void* scrollHookContext = nullptr;
  // The rows gathered so far; kept apart from workingImage, so other captures
  // run while a step waits leave them alone.
  std::shared_ptr<struct ScrollWork> scrollWork;

  // Fields, in this order.
  HWND owner;
  ULONG_PTR gdiplusSession = 0;
  std::string currentPath;
  char baseName[kBaseNameSize] = {};
  int32_t counter = 0;
  int32_t formatIndex = 0;
  CCapturedImage workingImage;

 private:
  // The automatic name for the next save; the save dialog when no path is known yet.
  std::string NextFreeName(int quality, const CCapturedImage& image);
};
