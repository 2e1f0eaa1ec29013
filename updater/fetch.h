#pragma once
// Fetching one address into one file. The updater reaches the network only
// through Fetcher, so a test can put something else in its place.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace framlet::update {

// Reports (bytes so far, total or 0 when the server gave none).
using ProgressReport = std::function<void(std::uint64_t done, std::uint64_t total)>;

class Fetcher {
 public:
  virtual ~Fetcher() = default;
  // Fetches url into target (a path in the system code page). The file is
  // written under a temporary name and replaces target only when the download
  // is accepted; on failure target is left as it was. willRun: the file will
  // be started, so it must carry a program header.
  virtual bool Fetch(const std::string& url, const std::string& target, bool willRun,
                     const ProgressReport& progress) = 0;
};

// One plain GET per fetch, no cache, every wait bounded: connecting, each
// read and the whole transfer end after `deadlineMs`.
class InternetFetcher final : public Fetcher {
 public:
  explicit InternetFetcher(unsigned deadlineMs = 30000) : deadlineMs_(deadlineMs) {}
  bool Fetch(const std::string& url, const std::string& target, bool willRun,
             const ProgressReport& progress) override;

 private:
  unsigned deadlineMs_;
};

}  // namespace framlet::update
