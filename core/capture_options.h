#pragma once

// The capture settings kept in memory for the capture commands: whether a
// capture opens the preview, whether it is saved without asking for a name,
// the JPEG quality and the interval of a continuous capture. A plain value:
// the capture frame, the preview window and the region selection each own one,
// read when they are created; the option dialogs edit the frame's and write
// the file together with it, so later captures use the new values without
// reading the file again.
namespace framlet {

struct CaptureOptions {
  bool captureReview = true;
  bool autoSave = false;
  int jpegQuality = 100;       // as stored: the options dialog keeps it within 1 to 100
  int captureInterval = 1000;  // milliseconds between continuous captures
};

// Reads CAPTURE_REVIEW, AUTO_SAVE, JPEG_QUALITY and CAPTURE_TIME from the
// settings file; numbers are the leading digits of their texts, as stored.
CaptureOptions ReadCaptureOptions();

}  // namespace framlet
