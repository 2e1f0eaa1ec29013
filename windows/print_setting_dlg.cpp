#include "windows/print_setting_dlg.h"

#include <commdlg.h>

#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "capture/capture_engine.h"
#include "core/command_ids.h"
#include "resource.h"
#include "ui/gdi.h"
#include "ui/message_pump.h"
#include "windows/print_rules.h"

namespace print = framlet::print;

namespace {

// The dialog is hidden this long before printing, so that it is gone from the
// screen before the frame's area is grabbed.
constexpr DWORD kHideDelayMs = 1000;
constexpr wchar_t kDocumentName[] = L"IMAGE";

struct GlobalTraits {
  static HGLOBAL Invalid() { return nullptr; }
  static void Close(HGLOBAL h) { GlobalFree(h); }
};
using GlobalMemory = framlet::ui::Owned<HGLOBAL, GlobalTraits>;

// The default printer's settings, taken without a dialog, turned to the
// orientation and opened as a printer surface. Null when there is no default
// printer (or it cannot be opened).
framlet::ui::CreatedDC OpenDefaultPrinter(bool portrait) {
  PRINTDLGW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDEFAULT | PD_NOWARNING | PD_ALLPAGES | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE |
                 PD_USEDEVMODECOPIESANDCOLLATE;
  const BOOL found = PrintDlgW(&dialog);
  GlobalMemory devMode(dialog.hDevMode);
  GlobalMemory devNames(dialog.hDevNames);
  if (!found || !devNames) return {};

  framlet::ui::GlobalLockGuard names(devNames);
  if (!names) return {};
  const auto* base = static_cast<const DEVNAMES*>(names.Get());
  const auto* text = reinterpret_cast<const wchar_t*>(base);
  const wchar_t* driver = text + base->wDriverOffset;
  const wchar_t* device = text + base->wDeviceOffset;

  framlet::ui::GlobalLockGuard mode(devMode);
  auto* settings = static_cast<DEVMODEW*>(mode.Get());
  if (settings) {
    settings->dmOrientation = static_cast<short>(portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
    settings->dmFields |= DM_ORIENTATION;
  }
  return framlet::ui::CreatedDC(CreateDCW(driver, device, nullptr, settings));
}

}  // namespace

PrintResult PrintPicture(HBITMAP picture, bool fitToPaper, bool portrait) {
  BITMAP info = {};
  if (!picture || GetObjectW(picture, sizeof info, &info) != sizeof info) return PrintResult::NoPicture;
  if (info.bmWidth <= 0 || info.bmHeight <= 0) return PrintResult::NoPicture;

  const framlet::ui::CreatedDC printer = OpenDefaultPrinter(portrait);
  if (!printer) return PrintResult::NoPrinter;
  const int saved = SaveDC(printer);

  print::Page page;
  page.width = GetDeviceCaps(printer, HORZRES);
  page.height = GetDeviceCaps(printer, VERTRES);
  page.pixelsPerInchX = GetDeviceCaps(printer, LOGPIXELSX);
  page.pixelsPerInchY = GetDeviceCaps(printer, LOGPIXELSY);
  const std::optional<print::Destination> target = print::PrintDestination(info.bmWidth, info.bmHeight, fitToPaper, page);
  PrintResult result = PrintResult::Failed;
  if (!target) {
    if (saved) RestoreDC(printer, saved);
    return result;
  }

  // The pixels sent: the picture shrunk to what the page shows of it (at
  // most 300 to the inch), as a zeroed 32-bit bottom-up array.
  const print::Size sent = print::SentSize(info.bmWidth, info.bmHeight, *target, page);
  if (!print::MakePixelHeader(sent.width, sent.height)) {
    if (saved) RestoreDC(printer, saved);
    return PrintResult::TooLarge;
  }
  static_assert(sizeof(print::PixelHeader) == sizeof(BITMAPINFOHEADER));
  void* bits = nullptr;
  const framlet::ui::Bitmap pixels = ShrinkBitmap(picture, sent.width, sent.height, true, &bits);
  const bool copied = pixels && bits;
  if (!copied) {
    if (saved) RestoreDC(printer, saved);
    return PrintResult::NoMemory;
  }

  DOCINFOW document = {};
  document.cbSize = sizeof document;
  document.lpszDocName = kDocumentName;
  if (copied && StartDocW(printer, &document) > 0) {
    if (StartPage(printer) > 0) {
      // Drawn in bands of rows, each with a header of its own: no call makes
      // the driver hold an image of the whole page.
      bool drawn = true;
      const size_t stride = static_cast<size_t>(sent.width) * 4;
      for (const print::Band& band : print::PrintBands(sent, *target)) {
        BITMAPINFO bandInfo = {};
        const std::optional<print::PixelHeader> header = print::MakePixelHeader(sent.width, band.rows);
        std::memcpy(&bandInfo.bmiHeader, &*header, sizeof(BITMAPINFOHEADER));
        // Bottom-up: the band's last row is stored first.
        const auto* rows = static_cast<const uint8_t*>(bits) + (sent.height - band.firstRow - band.rows) * stride;
        if (StretchDIBits(printer, band.to.x, band.to.y, band.to.width, band.to.height, 0, 0, sent.width, band.rows,
                          rows, &bandInfo, DIB_RGB_COLORS, SRCCOPY) <= 0)
          drawn = false;
      }
      const bool pageEnded = EndPage(printer) > 0;
      if (drawn && pageEnded) result = PrintResult::Printed;
    }
    EndDoc(printer);
  }
  if (saved) RestoreDC(printer, saved);
  return result;
}

CPrintSettingDlg::CPrintSettingDlg(PrintSource source, HBITMAP picture, RECT frameArea)
    : CDialogBase(IDD_PRINT_SETTING), printSource(source), clipboardImage(picture), frameArea_(frameArea) {}

CPrintSettingDlg::~CPrintSettingDlg() = default;

INT_PTR CPrintSettingDlg::DoModal(HWND owner) {
  const INT_PTR result = CDialogBase::DoModal(owner);
  return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR CPrintSettingDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {  // the close box: no print
    Close(IDCANCEL);
    return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}

BOOL CPrintSettingDlg::OnInitDialog() {
  engine = std::make_unique<CCaptureEngine>(Hwnd());
  // Without a picture from the opener, the clipboard's bitmap is printed
  // (the clipboard keeps owning it).
  if (printSource == PrintSource::ClipboardImage && !clipboardImage) {
    const framlet::ui::ClipboardSession clipboard(Hwnd());
    if (clipboard) clipboardImage = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  }
  printing_ = false;
  fitToPaper = true;
  CheckRadioButton(Hwnd(), IDC_PRINT_FIT_TO_PAPER, IDC_PRINT_KEEP_SCALE, IDC_PRINT_FIT_TO_PAPER);
  SetOrientation(true);
  return TRUE;
}

void CPrintSettingDlg::OnDestroy() {
  engine.reset();
}

void CPrintSettingDlg::SetOrientation(bool portraitChosen) {
  portrait = portraitChosen;
  CheckDlgButton(Hwnd(), IDC_PRINT_PORTRAIT, portraitChosen ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Hwnd(), IDC_PRINT_LANDSCAPE, portraitChosen ? BST_UNCHECKED : BST_CHECKED);
}

void CPrintSettingDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_PRINT_FIT_TO_PAPER:
    case IDC_PRINT_KEEP_SCALE:
      if (code == BN_CLICKED) fitToPaper = IsDlgButtonChecked(Hwnd(), IDC_PRINT_FIT_TO_PAPER) == BST_CHECKED;
      return;
    case IDC_PRINT_PORTRAIT:
    case IDC_PRINT_LANDSCAPE:
      // The two boxes act as a pair of radio buttons: the clicked one is checked.
      if (code == BN_CLICKED) SetOrientation(id == IDC_PRINT_PORTRAIT);
      return;
    case IDC_PRINT_NOW:
      if (code == BN_CLICKED) OnPrint();
      return;
    case IDOK:
      // Enter prints only through the print button.
      return;
    case IDCANCEL:
      Close(IDCANCEL);
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void CPrintSettingDlg::OnPrint() {
  // The wait below dispatches messages: a second press that arrives during
  // it (a queued click, a key) must not start a second print.
  if (printing_) return;
  printing_ = true;
  ShowWindow(Hwnd(), SW_HIDE);
  framlet::ui::PumpMessagesFor(kHideDelayMs);

  CCapturedImage grabbed;
  HBITMAP picture = nullptr;
  if (printSource == PrintSource::FrameArea) {
    const RECT& r = frameArea_;
    if (engine && engine->Grab(r.left, r.top, r.right - r.left, r.bottom - r.top, grabbed, ExcludeLayered))
      picture = grabbed.Bitmap();
  } else {
    picture = clipboardImage;
  }
  lastResult = Print(picture);
  Close(IDOK);
}

PrintResult CPrintSettingDlg::Print(HBITMAP picture) {
  return PrintPicture(picture, fitToPaper, portrait);
}
