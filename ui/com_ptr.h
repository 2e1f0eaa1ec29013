#pragma once
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace framlet::ui {

// Holds one reference to a COM object and releases it exactly once. Move-only:
// a second owner of the same reference cannot be made by copying.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Adopts a reference the caller already holds.
  explicit ComPtr(T* object) : object_(object) {}
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  // For functions that hand out a new reference through a T** parameter.
  T** Put() {
    Reset();
    return &object_;
  }
  // Gives the reference up to the caller, who must release it.
  T* Detach() { return std::exchange(object_, nullptr); }
  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

}  // namespace framlet::ui
