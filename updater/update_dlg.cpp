#include "updater/update_dlg.h"

#include <commctrl.h>
#include <wininet.h>

#include <vector>

#include "resource.h"
#include "updater/signature.h"
#include "web/site_config.h"
#include "web/web_page.h"

namespace framlet::update {
namespace {

constexpr UINT kInstallNotify = WM_APP + 1;  // the install queue has reports
constexpr UINT_PTR kCompletionTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;
constexpr int kAboutCommand = 16;
constexpr COLORREF kBackground = RGB(236, 233, 216);

// Texts of the list are bytes in the system code page.
std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

const ControlPlace* PlacesOf(UpdatePage page, size_t& count) {
  switch (page) {
    case UpdatePage::Selection:
      count = std::size(kSelectionPage);
      return kSelectionPage;
    case UpdatePage::Install:
      count = std::size(kInstallPage);
      return kInstallPage;
    default:
      count = std::size(kCompletionPage);
      return kCompletionPage;
  }
}

struct WorkerStart {
  InstallWork work;
  Fetcher* fetcher;
  const std::atomic<bool>* stop;
  std::shared_ptr<InstallQueue> queue;
};

}  // namespace

void InstallQueue::Push(InstallEvent event) {
  std::lock_guard<std::mutex> guard(lock_);
  const bool wasEmpty = events_.empty();
  events_.push_back(std::move(event));
  if (wasEmpty && window_) PostMessageW(window_, notify_, 0, 0);
}

std::deque<InstallEvent> InstallQueue::TakeAll() {
  std::lock_guard<std::mutex> guard(lock_);
  return std::exchange(events_, {});
}

void InstallQueue::Detach() {
  std::lock_guard<std::mutex> guard(lock_);
  window_ = nullptr;
}

CUpdateDlg::CUpdateDlg(LaunchMode mode, UpdatePaths paths, UpdateHosts hosts, Fetcher& fetcher)
    : CDialogBase(IDD_UP_UPDATE), mode_(mode), paths_(std::move(paths)), hosts_(std::move(hosts)), fetcher_(fetcher) {}

CUpdateDlg::~CUpdateDlg() {
  // The worker uses the fetcher, which the caller owns past this point.
  if (worker_) WaitForSingleObject(worker_.Get(), INFINITE);
}

BOOL CUpdateDlg::OnInitDialog() {
  // Hidden and without size until the start-up flow decides to show it.
  SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  HMENU system = GetSystemMenu(Hwnd(), FALSE);
  if (system) {
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, kAboutCommand, L"framletup 정보(&A)...");
  }
  HICON icon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_UP_APP));
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  return TRUE;
}

void CUpdateDlg::OnDestroy() {
  KillTimer(Hwnd(), kCompletionTimer);
  KillTimer(Hwnd(), kCloseTimer);
  if (queue_) queue_->Detach();
  terms_.reset();
  PostQuitMessage(0);
}

bool CUpdateDlg::RunStartUp() {
  // Another updater past this point, or an older capture program, is running.
  // The other updater's list and working folder are its own: it reads them
  // while it runs.
  if (FindWindowW(nullptr, L"Framlet 업데이트")) {
    Exit(CleanUp::LeaveFiles);
    return false;
  }
  for (const wchar_t* title : {L"Framlet4.0", L"Framlet4.2"}) {
    if (FindWindowW(nullptr, title)) {
      Exit();
      return false;
    }
  }
  DWORD flags = 0;
  const bool answered = InternetGetConnectedState(&flags, 0) != FALSE;
  if (!ConnectionUsable(answered, flags)) {
    Exit();
    return false;
  }
  SetWindowTextW(Hwnd(), L"Framlet 업데이트");
  CreateDirectoryA(paths_.work.c_str(), nullptr);

  // The old list goes first, so a failed fetch leaves no list at all.
  DeleteFileA(paths_.list.c_str());
  if (fetcher_.Fetch(hosts_.update + site::kUpdateCheckPath, paths_.list, false, nullptr)) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(paths_.list.c_str(), GetFileExInfoStandard, &data) &&
        ((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kMaxListBytes) {
      DeleteFileA(paths_.list.c_str());
    }
  }
  const ProfileLookup lookup = IniLookup(paths_.list);
  list_ = ReadUpdateHeader(lookup);
  kind_ = DecideUpdateKind(list_.version, ReadInstalledLevel("ver"), ListInt(list_.module),
                           ReadInstalledLevel("module"));
  signature_ = OwnSignature();

  if (kind_ == UpdateKind::Program) {
    // The installer is kept in the working folder, which only this program
    // writes, and runs only when it arrived whole.
    if (!list_.updateUrl.empty() && IsPlainFileName(list_.updateFile)) {
      const std::string installer = paths_.work + list_.updateFile;
      if (fetcher_.Fetch(list_.updateUrl, installer, true, nullptr)) {
        RunInstaller(installer, mode_ == LaunchMode::O ? " /S /Boot=0" : " /S", signature_);
      }
    }
    Exit();
    return false;
  }
  if (mode_ == LaunchMode::O && list_.option == 1) {
    Exit();
    return false;
  }
  const int today = Today();
  bool passed = !HoldPostpones(ReadRegistryInt("holddate", 1), today);
  if (passed) WriteRegistryText("holddate", std::to_string(NextHoldDate(today, list_.holdDays)));
  if (!passed && kind_ != UpdateKind::Module) {
    Exit();
    return false;
  }

  ReadComponentTable(lookup, kind_, hosts_.component, paths_.program, list_);
  OfferProbes probes;
  probes.programInstalled = [this](const std::string& url) {
    return ProgramInstalled(fetcher_, url, paths_.program);
  };
  probes.desktopFolder = DesktopFolder;
  probes.fileExists = FileReadable;
  probes.targetFolder = TargetFolderOf;
  const bool offered = PrepareOffers(list_, paths_.work, probes);
  if (!offered && kind_ != UpdateKind::Module) {
    Exit();
    return false;
  }
  if (kind_ == UpdateKind::Module && mode_ != LaunchMode::O) {
    if (MessageBoxW(Hwnd(), Wide(list_.moduleQuestion).c_str(), L"Framlet", MB_YESNO | MB_ICONQUESTION) != IDYES) {
      Exit();
      return false;
    }
  }
  BuildSelectionPage();
  if (mode_ == LaunchMode::O && !list_.mutexUrl.empty() &&
      ListedProgramRunning(fetcher_, list_.mutexUrl, paths_.program)) {
    Exit();
    return false;
  }
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  SetWindowPos(Hwnd(), nullptr, x, y, kWindowWidth, kWindowHeight, SWP_NOZORDER);
  ShowPage(UpdatePage::Selection);
  ShowWindow(Hwnd(), SW_SHOW);
  SetForegroundWindow(Hwnd());
  return true;
}

void CUpdateDlg::BuildSelectionPage() {
  background_.Reset(CreateSolidBrush(kBackground));
  white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  bold_.Reset(CreateFontW(12, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Gulim"));
  regular_.Reset(CreateFontW(12, 0, 0, 0, 100, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Gulim"));
  for (int id : kPlacedIds) {
    if (HWND control = Item(id)) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(regular_.Get()), FALSE);
  }
  SendMessageW(Item(IDC_UP_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(bold_.Get()), FALSE);
  SetText(IDC_UP_TITLE, L"업데이트 구성요소 선택");
  SetText(IDC_UP_DESCRIPTION, L"정기업데이트와 함께 아래 스폰서 프로그램의 설치를 권유합니다.\n\r해당 프로그램을 선택하면 상세한 "
                L"내용을 보실수 있습니다.");
  SendMessageW(Item(IDC_UP_PROGRESS), PBM_SETRANGE32, 0, 100);
  SendMessageW(Item(IDC_UP_PROGRESS), PBM_SETSTEP, 0, 0);
  side_.Reset(static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_UP_SIDE), IMAGE_BITMAP, 0, 0, 0)));
  SendMessageW(Item(IDC_UP_SIDE), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(side_.Get()));

  framlet::ui::Bitmap strip(static_cast<HBITMAP>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_UP_TREE_STATES), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  states_.Reset(ImageList_Create(14, 14, ILC_COLOR24 | ILC_MASK, 5, 0));
  if (strip) ImageList_AddMasked(states_.Get(), strip.Get(), RGB(255, 0, 255));
  tree_.Attach(Item(IDC_UP_TREE), Hwnd(), states_.Get());
  HTREEITEM root = tree_.Add(nullptr, Wide(list_.title), 0, CCheckTreeCtrl::Fixed);
  HTREEITEM sub = tree_.Add(root, Wide(list_.subtitle), 0, CCheckTreeCtrl::Fixed);
  tree_.Add(sub, Wide(list_.rows[0].name), 0, CCheckTreeCtrl::Fixed);
  tree_.Add(sub, Wide(list_.rows[1].name), 1, CCheckTreeCtrl::Fixed);
  for (size_t i = 2; i < list_.rows.size(); ++i) {
    if (list_.rows[i].selected) tree_.Add(nullptr, Wide(list_.rows[i].name), static_cast<int>(i), CCheckTreeCtrl::Ticked);
  }
  TreeView_Expand(Item(IDC_UP_TREE), root, TVE_EXPAND);
  TreeView_Expand(Item(IDC_UP_TREE), sub, TVE_EXPAND);

  RECT pane = {20, 170, 480, 260};
  terms_ = CWebPage::Create(Hwnd(), pane, IDC_UP_TERMS, nullptr, nullptr);
  if (terms_) terms_->Navigate(std::wstring(L"about:blank"));
  ShowRow(0);
}

void CUpdateDlg::ShowPage(UpdatePage page) {
  size_t count = 0;
  const ControlPlace* places = PlacesOf(page, count);
  for (int id : kPlacedIds) {
    HWND control = id == IDC_UP_TERMS ? (terms_ ? terms_->Hwnd() : nullptr) : Item(id);
    if (!control) continue;
    const ControlPlace* place = nullptr;
    for (size_t i = 0; i < count; ++i) {
      if (places[i].id == id) place = &places[i];
    }
    if (!place) {
      ShowWindow(control, SW_HIDE);
      continue;
    }
    MoveWindow(control, place->left, place->top, place->right - place->left, place->bottom - place->top, TRUE);
    // The log box waits for the "자세히" buttons.
    ShowWindow(control, id == IDC_UP_LOG ? SW_HIDE : SW_SHOW);
  }
  page_ = page;
  // The focus never stays on a control the page hid or disabled.
  if (IsWindowVisible(Hwnd())) SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(FocusButtonOf(page))), TRUE);
}

void CUpdateDlg::SetText(int id, const std::wstring& text) { SetDlgItemTextW(Hwnd(), id, text.c_str()); }

void CUpdateDlg::ShowRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= list_.rows.size()) return;
  SetText(IDC_UP_INFO, Wide(list_.rows[row].info));
  if (terms_ && !list_.rows[row].termsUrl.empty()) terms_->Navigate(list_.rows[row].termsUrl);
}

void CUpdateDlg::StartInstall() {
  EnableWindow(Item(IDOK), FALSE);
  SetText(IDC_UP_TITLE, L"설치중");
  SetText(IDC_UP_DESCRIPTION, L"Framlet을 업데이트하는 동안 잠시 기다려 주세요.");
  SetText(IDC_UP_SECTION, L"업데이트 진행:");
  ShowPage(UpdatePage::Install);
  auto start = std::make_unique<WorkerStart>();
  for (size_t i = 0; i < list_.rows.size(); ++i) {
    if (!list_.rows[i].selected) continue;
    start->work.rows.push_back(list_.rows[i]);
    start->work.indexes.push_back(i);
  }
  start->work.kind = kind_;
  start->work.module = list_.module;
  start->work.updater = signature_;
  start->fetcher = &fetcher_;
  start->stop = &stop_;
  queue_ = std::make_shared<InstallQueue>(Hwnd(), kInstallNotify);
  start->queue = queue_;
  auto thread = [](void* parameter) -> DWORD {
    std::unique_ptr<WorkerStart> given(static_cast<WorkerStart*>(parameter));
    InstallPass(std::move(given->work), *given->fetcher, *given->stop, given->queue);
    return 0;
  };
  worker_.Reset(CreateThread(nullptr, 0, thread, start.get(), CREATE_SUSPENDED, nullptr));
  if (!worker_) {
    Exit();
    return;
  }
  start.release();
  ResumeThread(worker_.Get());
}

void CUpdateDlg::InstallPass(InstallWork work, Fetcher& fetcher, const std::atomic<bool>& stop,
                             const std::shared_ptr<InstallQueue>& queue) {
  bool everyRowOk = true;
  for (size_t n = 0; n < work.rows.size() && !stop; ++n) {
    const Component& row = work.rows[n];
    const size_t index = work.indexes[n];
    const std::wstring name = Wide(row.name);
    queue->Push({InstallEvent::Row, 0, ProgressLine(name)});
    bool ok;
    if (row.downloadUrl.empty() && index < 2 && work.kind != UpdateKind::Module) {
      ok = true;  // a fixed row shown for information: nothing to fetch
    } else {
      const bool willRun = row.state == "SETUP";
      ok = !row.localPath.empty() &&
           fetcher.Fetch(row.downloadUrl, row.localPath, willRun, [&queue](std::uint64_t done, std::uint64_t total) {
             queue->Push({InstallEvent::Progress, ProgressPercent(done, total), {}});
           });
      if (ok && willRun) ok = RunInstaller(row.localPath, " /S", work.updater);
    }
    // The module level counts as installed only when both fixed rows arrived.
    if (!ok && index < 2) everyRowOk = false;
    queue->Push({InstallEvent::Log, 0, LogLine(name, ok)});
  }
  if (!stop && WriteModuleLevel(work.kind, everyRowOk)) WriteRegistryText("module", work.module);
  queue->Push({InstallEvent::Done, 0, {}});
}

void CUpdateDlg::OnInstallEvents() {
  if (!queue_) return;
  for (InstallEvent& event : queue_->TakeAll()) {
    switch (event.kind) {
      case InstallEvent::Row:
        SetText(IDC_UP_TERMS_LABEL, event.text);
        break;
      case InstallEvent::Progress:
        SendMessageW(Item(IDC_UP_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(event.percent), 0);
        break;
      case InstallEvent::Log:
        log_ += event.text;
        SetText(IDC_UP_LOG, log_);
        break;
      case InstallEvent::Done:
        OnInstallDone();
        return;
    }
  }
}

void CUpdateDlg::OnInstallDone() {
  if (worker_) {
    WaitForSingleObject(worker_.Get(), INFINITE);
    worker_.Reset();
  }
  if (closeWhenDone_) {
    Exit();
    return;
  }
  SendMessageW(Item(IDC_UP_PROGRESS), PBM_SETPOS, 100, 0);
  SetTimer(Hwnd(), kCompletionTimer, 1000, nullptr);
}

void CUpdateDlg::ShowCompletion() {
  KillTimer(Hwnd(), kCompletionTimer);
  ShowPage(UpdatePage::Completion);
  SetText(IDC_UP_HEADER, L"");
  SetText(IDC_UP_TITLE, L"Framlet 업데이트가 완료되었습니다.");
  SetText(IDC_UP_DESCRIPTION, L"자동 업데이트가 완료되었습니다. \n\r자세한 업데이트 정보를 원하시면\n\r아래의 '자세히' 버튼을 누르시기 "
                L"바람니다.");
  SetTimer(Hwnd(), kCloseTimer, 10000, nullptr);
}

void CUpdateDlg::Exit(CleanUp cleanUp) {
  if (finished_) return;
  // A close during the install pass stops further rows and the download
  // under way; a running installer is never killed, so the exit waits for it.
  if (worker_) {
    stop_ = true;
    closeWhenDone_ = true;
    fetcher_.Cancel();
    ShowWindow(Hwnd(), SW_HIDE);
    return;
  }
  finished_ = true;
  if (cleanUp == CleanUp::EmptyWorkFolder) EmptyWorkFolder(paths_);
  if (mode_ == LaunchMode::Normal) StartCaptureProgram(paths_.program);
  DestroyWindow(Hwnd());
}

void CUpdateDlg::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDOK:
      if (code == BN_CLICKED && !worker_) StartInstall();
      return;
    case IDCANCEL:
      Exit();
      return;
    case IDC_UP_DETAILS:
    case IDC_UP_DETAILS_DONE: {
      HWND log = Item(IDC_UP_LOG);
      ShowWindow(log, IsWindowVisible(log) ? SW_HIDE : SW_SHOW);
      return;
    }
    case IDC_UP_LOG:
      // The log cannot be typed into: it hands the focus to the page's button.
      if (code == EN_SETFOCUS) SetFocus(Item(FocusButtonOf(page_)));
      return;
    default:
      return;
  }
}

INT_PTR CUpdateDlg::ControlColour(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == IDC_UP_HEADER || id == IDC_UP_TITLE || id == IDC_UP_DESCRIPTION || id == IDC_UP_LOG) {
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<INT_PTR>(white_.Get());
  }
  SetBkColor(dc, kBackground);
  return reinterpret_cast<INT_PTR>(background_.Get());
}

INT_PTR CUpdateDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kAboutCommand) {
        MessageBoxW(Hwnd(), L"framletup 버전 1.0", L"framletup 정보", MB_OK);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      Exit();
      return TRUE;
    case WM_CTLCOLORDLG:
      if (background_) return reinterpret_cast<INT_PTR>(background_.Get());
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (background_) return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom == IDC_UP_TREE && header->code == TVN_SELCHANGINGW) {
        tree_.OnSelectionChanging(reinterpret_cast<NMTREEVIEWW*>(lParam)->itemNew.hItem);
      }
      break;
    }
    case kToggleRowMessage: {
      size_t row = static_cast<size_t>(wParam);
      if (row >= 2 && row < list_.rows.size()) list_.rows[row].selected = ToggledSelection(static_cast<int>(row), list_.rows[row].selected);
      return TRUE;
    }
    case kShowRowMessage:
      ShowRow(static_cast<int>(wParam));
      return TRUE;
    case kInstallNotify:
      OnInstallEvents();
      return TRUE;
    case WM_TIMER:
      if (wParam == kCompletionTimer) ShowCompletion();
      if (wParam == kCloseTimer) {
        KillTimer(Hwnd(), kCloseTimer);
        Exit();
      }
      return TRUE;
    default:
      break;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}

}  // namespace framlet::update
