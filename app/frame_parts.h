#pragma once
#include <windows.h>

#include <memory>

class IFrameCommandHost;
struct CommandSeams;

// The frame window's timers, one id each, for the parts that run on them.
enum FrameTimer : UINT_PTR {
  kContinuousShotTimer = 0,     // continuous capture: the next picture
  kScrollStepTimer = 1,         // scroll capture: the next step
  kStopButtonRepaintTimer = 2,  // continuous capture over a page: the stop button drawn again
};

// A piece of the capture frame that owns secondary windows or running state
// (the preview, printing, the area dialog, continuous capture, the recorder,
// the paint program) and fills the command seams it answers. The frame makes
// each once its capture engine exists and destroys them before the engine.
class CFramePart {
 public:
  virtual ~CFramePart() = default;
  // A timer of the frame's window; false when it is not this part's.
  virtual bool OnTimer(UINT_PTR id) {
    (void)id;
    return false;
  }
};

// One maker per file; each sets its seams in `seams` and returns the part
// that implements them (nullptr when it has nothing to keep).
std::unique_ptr<CFramePart> MakeContinuousPart(IFrameCommandHost& host, CommandSeams& seams);  // frame_continuous.cpp
std::unique_ptr<CFramePart> MakeRecorderPart(IFrameCommandHost& host, CommandSeams& seams);    // frame_recorder.cpp
std::unique_ptr<CFramePart> MakePreviewPart(IFrameCommandHost& host, CommandSeams& seams);     // frame_preview.cpp
std::unique_ptr<CFramePart> MakePrintingPart(IFrameCommandHost& host, CommandSeams& seams);    // frame_printing.cpp
std::unique_ptr<CFramePart> MakeAreaDialogPart(IFrameCommandHost& host, CommandSeams& seams);  // frame_area_dialog.cpp
std::unique_ptr<CFramePart> MakeRegionPart(IFrameCommandHost& host, CommandSeams& seams);      // frame_region.cpp
std::unique_ptr<CFramePart> MakeWebCapturePart(IFrameCommandHost& host, CommandSeams& seams);  // frame_web_capture.cpp
std::unique_ptr<CFramePart> MakeScrollPart(IFrameCommandHost& host, CommandSeams& seams);      // frame_scroll.cpp
