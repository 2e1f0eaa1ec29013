#pragma once
// Fetching one address into one file. The updater reaches the network only
// through Fetcher, so a test can put something else in its place.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
  // Ends the fetches under way and refuses later ones (any thread). A fetch
  // ended this way returns false only once it has stopped writing.
  virtual void Cancel() {}
};

struct FetchJob;

// One plain GET per fetch with the system's user agent and cookies, past
// every cache. A transfer may take as long as it keeps moving: it ends when
// the server sends nothing for `stallMs` (connecting and waiting for the
// answer included), however long the whole download takes.
class InternetFetcher final : public Fetcher {
 public:
  explicit InternetFetcher(unsigned stallMs = 30000) : stallMs_(stallMs) {}
  bool Fetch(const std::string& url, const std::string& target, bool willRun,
             const ProgressReport& progress) override;
  void Cancel() override;

 private:
  unsigned stallMs_;
  std::mutex lock_;
  bool cancelled_ = false;
  std::vector<std::shared_ptr<FetchJob>> running_;
};

}  // namespace framlet::update
