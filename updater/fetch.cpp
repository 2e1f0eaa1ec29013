#include "updater/fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string_view>

#include "updater/update_rules.h"

namespace framlet::update {
namespace {

struct InternetHandle {
  HINTERNET h = nullptr;
  ~InternetHandle() {
    if (h) InternetCloseHandle(h);
  }
};

struct FileHandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~FileHandle() { Close(); }
  void Close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

DWORD QueryNumber(HINTERNET request, DWORD what, bool& present) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD index = 0;
  present = HttpQueryInfoA(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != FALSE;
  return value;
}


// One download, run on a thread of its own so that the caller's deadline
// holds even where a blocking call ignores the session's time-outs: at the
// deadline the caller closes the session (which ends a blocking call) and
// marks the job abandoned, and an abandoned job never replaces its target.
struct FetchJob {
  std::string url, target;
  bool willRun = false;
  ProgressReport progress;
  unsigned deadlineMs = 0;
  std::mutex lock;
  bool abandoned = false;
  HINTERNET session = nullptr;
  bool ok = false;
};

bool RunFetch(FetchJob& job) {
  const std::string& url = job.url;
  const std::string& target = job.target;
  const bool willRun = job.willRun;
  const ProgressReport& progress = job.progress;
  const unsigned deadlineMs_ = job.deadlineMs;
  const ULONGLONG started = GetTickCount64();
  InternetHandle session;
  session.h = InternetOpenA("framletup", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session.h) return false;
  InternetHandle request;
  // Runs before the handles close: once the caller has closed the session of
  // an abandoned job, its handles are not closed a second time.
  struct Release {
    FetchJob& job;
    InternetHandle& session;
    InternetHandle& request;
    ~Release() {
      std::lock_guard<std::mutex> guard(job.lock);
      if (job.abandoned) session.h = request.h = nullptr;
      job.session = nullptr;
    }
  } release{job, session, request};
  {
    std::lock_guard<std::mutex> guard(job.lock);
    if (job.abandoned) return false;
    job.session = session.h;
  }
  DWORD timeout = deadlineMs_;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_SEND_TIMEOUT}) {
    InternetSetOptionA(session.h, option, &timeout, sizeof(timeout));
  }
  DWORD retries = 1;
  InternetSetOptionA(session.h, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
  request.h = InternetOpenUrlA(session.h, url.c_str(), nullptr, 0,
                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                   INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                   INTERNET_FLAG_NO_COOKIES,
                               0);
  if (!request.h) return false;
  bool hasStatus = false;
  const int status = static_cast<int>(QueryNumber(request.h, HTTP_QUERY_STATUS_CODE, hasStatus));
  if (!hasStatus || status < 200 || status > 299) return false;
  bool hasLength = false;
  const DWORD length = QueryNumber(request.h, HTTP_QUERY_CONTENT_LENGTH, hasLength);
  const std::int64_t declared = hasLength ? static_cast<std::int64_t>(length) : -1;

  const std::string part = target + ".part";
  FileHandle file;
  file.h = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  if (file.h == INVALID_HANDLE_VALUE) return false;
  std::uint64_t received = 0;
  std::string head;
  char buffer[16384];
  bool ok = true;
  if (progress) progress(0, hasLength ? length : 0);
  for (;;) {
    if (GetTickCount64() - started > deadlineMs_) {
      ok = false;
      break;
    }
    DWORD read = 0;
    if (!InternetReadFile(request.h, buffer, sizeof(buffer), &read)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    if (head.size() < 2) head.append(buffer, std::min<size_t>(read, 2 - head.size()));
    DWORD written = 0;
    if (!WriteFile(file.h, buffer, read, &written, nullptr) || written != read) {
      ok = false;
      break;
    }
    received += read;
    if (declared >= 0 && received > static_cast<std::uint64_t>(declared)) {
      ok = false;
      break;
    }
    if (progress) progress(received, hasLength ? length : 0);
  }
  file.Close();
  if (ok) ok = DownloadAccepted(status, declared, received, willRun, head);
  std::unique_lock<std::mutex> guard(job.lock);
  if (job.abandoned) ok = false;
  if (ok) ok = MoveFileExA(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!ok) DeleteFileA(part.c_str());
  return ok;
}

DWORD WINAPI FetchThread(void* parameter) {
  auto* job = static_cast<std::shared_ptr<FetchJob>*>(parameter);
  (*job)->ok = RunFetch(**job);
  delete job;
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
  job->deadlineMs = deadlineMs_;
  HANDLE thread = CreateThread(nullptr, 0, FetchThread, new std::shared_ptr<FetchJob>(job), 0, nullptr);
  if (!thread) return false;
  // A little beyond the job's own deadline, which its reads check too.
  const DWORD waited = WaitForSingleObject(thread, deadlineMs_ + 2000);
  CloseHandle(thread);
  if (waited == WAIT_OBJECT_0) return job->ok;
  std::lock_guard<std::mutex> guard(job->lock);
  job->abandoned = true;
  if (job->session) InternetCloseHandle(job->session);
  job->session = nullptr;
  return false;
}

}  // namespace framlet::update
