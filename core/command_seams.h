#pragma once
#include <string>

// The commands carried out by the frame's parts (app/frame_parts.h), one
// interface each. The frame's command router calls them after the sign-in
// gate; each part fills its seam when the frame makes it. Until then the
// stand-ins (CPendingCommands) do nothing at all: the frame stays shown, in
// place, at its size and layering.

struct IRegionSelection {
  // Ctrl+D: the selection window and magnifier take over; `hideFrame` hides
  // the frame first (normal capture).
  virtual void StartRegionSelection(bool hideFrame) = 0;

 protected:
  ~IRegionSelection() = default;
};

struct IWindowPick {
  // Ctrl+F: pick a window and capture it.
  virtual void PickWindowCapture() = 0;

 protected:
  ~IWindowPick() = default;
};

struct IScrollCapture {
  virtual void StartScrollCapture() = 0;
  // The stop button: pauses a running capture, resumes a paused one.
  virtual void ToggleScrollCapture() = 0;
  virtual bool ScrollRunning() const = 0;

 protected:
  ~IScrollCapture() = default;
};

struct IContinuousCapture {
  virtual void StartContinuousCapture() = 0;
  virtual void StopContinuousCapture() = 0;
  virtual bool ContinuousRunning() const = 0;

 protected:
  ~IContinuousCapture() = default;
};

struct IWholePageCapture {
  // The web-mode toolbar's whole-page capture of the primary view.
  virtual void WholePageCapture() = 0;
  // The primary view's page as shown, saved under the next automatic name;
  // the path written, or empty when nothing was written.
  virtual std::string RenderViewAndAutoSave(int quality) = 0;

 protected:
  ~IWholePageCapture() = default;
};

struct IPrinting {
  // F8: the print settings for the frame's area.
  virtual void PrintArea() = 0;

 protected:
  ~IPrinting() = default;
};

struct IAreaDialog {
  // The area dialog; `onlyWhenClosed` leaves an open one alone (the popup item).
  virtual void OpenAreaDialog(bool onlyWhenClosed) = 0;

 protected:
  ~IAreaDialog() = default;
};

struct IRecorder {
  // Ctrl+R: the separate screen recorder, or the prompt to download it.
  virtual void LaunchRecorder() = 0;

 protected:
  ~IRecorder() = default;
};

struct IPaintEditor {
  // The area saved and opened in the paint program; a chosen file opened there.
  virtual void EditInPaint() = 0;
  virtual void EditFileInPaint() = 0;

 protected:
  ~IPaintEditor() = default;
};

// Every seam at once, doing nothing.
class CPendingCommands final : public IRegionSelection,
                               public IWindowPick,
                               public IScrollCapture,
                               public IContinuousCapture,
                               public IWholePageCapture,
                               public IPrinting,
                               public IAreaDialog,
                               public IRecorder,
                               public IPaintEditor {
 public:
  void StartRegionSelection(bool) override {}
  void PickWindowCapture() override {}
  void StartScrollCapture() override {}
  void ToggleScrollCapture() override {}
  bool ScrollRunning() const override { return false; }
  void StartContinuousCapture() override {}
  void StopContinuousCapture() override {}
  bool ContinuousRunning() const override { return false; }
  void WholePageCapture() override {}
  std::string RenderViewAndAutoSave(int) override { return {}; }
  void PrintArea() override {}
  void OpenAreaDialog(bool) override {}
  void LaunchRecorder() override {}
  void EditInPaint() override {}
  void EditFileInPaint() override {}
};
