#pragma once
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

namespace framlet::ui {

// OLE on the calling thread for the life of the object (hosted browsers, the
// clipboard), and the objects handed to OLE's clients that must outlive it. A
// browser engine may drop its last reference to an object it was given while
// OLE ends (its apartment releasing what it still holds), so what the session
// keeps is freed only after OleUninitialize, newest first.
class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  // False when OLE could not be started on this thread (it is then not ended either).
  bool Started() const { return started_; }

  // Keeps `object` until OLE has ended; returns it.
  template <typename T>
  T& Keep(std::shared_ptr<T> object) {
    T& kept = *object;
    kept_.push_back(std::move(object));
    return kept;
  }

 private:
  bool started_;
  std::vector<std::shared_ptr<void>> kept_;
};

}  // namespace framlet::ui
