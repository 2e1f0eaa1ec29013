#include "updater/fetch.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>

#include "ui/gdi.h"
#include "updater/handles.h"
#include "updater/update_rules.h"

namespace framlet::update {

// One download, run on a thread of its own: a blocking WinINet call may
// outlast the session's time-outs (under Wine a read blocked on a quiet server
// neither honours the receive time-out nor returns when its handles close), so
// the fetching thread watches the job's last sign of life and stops the job
// when the server has gone quiet or the fetch is cancelled. Stopping closes the
// session, closes and deletes the partial file, and bars every later write, so
// nothing touches the target once Fetch has returned, even while a blocked
// read lingers on the job's thread until the connection drops.
struct FetchJob {
  std::string url, target, part;
  bool willRun = false;
  ProgressReport progress;
  unsigned stallMs = 0;
  std::atomic<ULONGLONG> lastActivity{0};
  std::mutex lock;
  bool stopped = false;
  HINTERNET session = nullptr;
  framlet::ui::FileHandle file;
  bool ok = false;

  void Stop() {
    std::lock_guard<std::mutex> guard(lock);
    if (stopped) return;
    stopped = true;
    if (session) InternetCloseHandle(session);
    session = nullptr;
    if (file) {
      file.Reset();
      DeleteFileA(part.c_str());
    }
  }
};

namespace {

DWORD QueryNumber(HINTERNET request, DWORD what, bool& present) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD index = 0;
  present = HttpQueryInfoA(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != FALSE;
  return value;
}

// The user agent the system's own downloads send; none of the updater's own.
const std::string& SystemUserAgent() {
  static const std::string agent = [] {
    char buffer[512] = {};
    DWORD size = sizeof(buffer);
    return ObtainUserAgentString(0, buffer, &size) == S_OK ? std::string(buffer) : std::string();
  }();
  return agent;
}

bool RunFetch(FetchJob& job) {
  const std::string& agent = SystemUserAgent();
  InternetHandle session(
      InternetOpenA(agent.empty() ? nullptr : agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  InternetHandle request;
  // Runs before the owners close their handles: once the watching thread has
  // closed the session of a stopped job, its handles are not closed again.
  struct Release {
    FetchJob& job;
    InternetHandle& session;
    InternetHandle& request;
    ~Release() {
      std::lock_guard<std::mutex> guard(job.lock);
      if (job.stopped) {
        session.Release();
        request.Release();
      }
      job.session = nullptr;
    }
  } release{job, session, request};
  {
    std::lock_guard<std::mutex> guard(job.lock);
    if (job.stopped) return false;
    job.session = session.Get();
  }
  // Each wait (connecting, every read) is bounded by the stall time too.
  DWORD timeout = job.stallMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_SEND_TIMEOUT}) {
    InternetSetOptionA(session.Get(), option, &timeout, sizeof(timeout));
  }
  DWORD retries = 1;
  InternetSetOptionA(session.Get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
  // A cached list or installer would be a stale one.
  request.Reset(InternetOpenUrlA(session.Get(), job.url.c_str(), nullptr, 0,
                                 INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                     INTERNET_FLAG_NO_UI,
                                 0));
  if (!request) return false;
  job.lastActivity = GetTickCount64();
  int status = kNotHttp;
  if (IsHttpAddress(job.url)) {
    bool hasStatus = false;
    status = static_cast<int>(QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, hasStatus));
    if (!hasStatus) status = 0;
  }
  if (!StatusAccepted(status)) return false;
  bool hasLength = false;
  const DWORD length = QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH, hasLength);
  const std::int64_t declared = hasLength ? static_cast<std::int64_t>(length) : -1;

  {
    std::lock_guard<std::mutex> guard(job.lock);
    if (job.stopped) return false;
    job.part = job.target + ".part";
    job.file.Reset(
        CreateFileA(job.part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!job.file) return false;
  }
  std::uint64_t received = 0;
  std::string head;
  char buffer[16384];
  bool ok = true;
  if (job.progress) job.progress(0, hasLength ? length : 0);
  for (;;) {
    // A read of the whole buffer waits until it is full, so a slow but steady
    // link would show no activity for as long as it takes to fill it, and be
    // stopped as stalled. Only what has arrived is read: the wait is for the
    // next piece, whatever its size.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0)) {
      ok = false;
      break;
    }
    if (available == 0) break;  // the end of the reply
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), buffer, std::min<DWORD>(available, sizeof(buffer)), &read)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    job.lastActivity = GetTickCount64();
    if (head.size() < 2) head.append(buffer, std::min<size_t>(read, 2 - head.size()));
    {
      std::lock_guard<std::mutex> guard(job.lock);
      DWORD written = 0;
      if (job.stopped || !WriteFile(job.file.Get(), buffer, read, &written, nullptr) || written != read) {
        ok = false;
        break;
      }
    }
    received += read;
    if (declared >= 0 && received > static_cast<std::uint64_t>(declared)) {
      ok = false;
      break;
    }
    if (job.progress) job.progress(received, hasLength ? length : 0);
  }
  if (ok) ok = DownloadAccepted(status, declared, received, job.willRun, head);
  std::lock_guard<std::mutex> guard(job.lock);
  if (job.stopped) return false;  // Stop has closed and deleted the partial file
  job.file.Reset();
  if (ok) ok = MoveFileExA(job.part.c_str(), job.target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!ok) DeleteFileA(job.part.c_str());
  return ok;
}

DWORD WINAPI FetchThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<FetchJob>> job(static_cast<std::shared_ptr<FetchJob>*>(parameter));
  const bool ok = RunFetch(**job);
  std::lock_guard<std::mutex> guard((*job)->lock);
  (*job)->ok = ok;
  return 0;
}

}  // namespace

bool InternetFetcher::Fetch(const std::string& url, const std::string& target, bool willRun,
                            const ProgressReport& progress) {
  if (url.empty() || target.empty()) return false;
  auto job = std::make_shared<FetchJob>();
  job->url = url;
  job->target = target;
  job->willRun = willRun;
  job->progress = progress;
  job->stallMs = stallMs_;
  job->lastActivity = GetTickCount64();
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (cancelled_) return false;
    running_.push_back(job);
  }
  auto* handed = new std::shared_ptr<FetchJob>(job);
  framlet::ui::KernelHandle thread(CreateThread(nullptr, 0, FetchThread, handed, 0, nullptr));
  if (!thread) delete handed;
  // Waits for the job's thread, stopping the job once the server has been
  // quiet for the stall time or the fetch is cancelled. A stopped job writes
  // nothing more; its thread is given a moment to end and otherwise left to
  // its blocked read (see FetchJob).
  constexpr ULONGLONG kStoppedGraceMs = 1000;
  ULONGLONG stoppedAt = 0;
  while (thread && WaitForSingleObject(thread.Get(), 100) == WAIT_TIMEOUT) {
    if (stoppedAt) {
      if (GetTickCount64() - stoppedAt > kStoppedGraceMs) break;
      continue;
    }
    bool cancelled;
    {
      std::lock_guard<std::mutex> guard(lock_);
      cancelled = cancelled_;
    }
    if (cancelled || GetTickCount64() - job->lastActivity > stallMs_) {
      job->Stop();
      stoppedAt = GetTickCount64();
    }
  }
  std::lock_guard<std::mutex> guard(lock_);
  running_.erase(std::remove(running_.begin(), running_.end(), job), running_.end());
  if (!thread || stoppedAt) return false;
  std::lock_guard<std::mutex> jobGuard(job->lock);
  return !job->stopped && job->ok;
}

void InternetFetcher::Cancel() {
  std::vector<std::shared_ptr<FetchJob>> jobs;
  {
    std::lock_guard<std::mutex> guard(lock_);
    cancelled_ = true;
    jobs = running_;
  }
  for (auto& job : jobs) job->Stop();
}

}  // namespace framlet::update
