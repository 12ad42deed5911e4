#pragma once
// One owner for every kind of handle the program closes itself: `Traits` says which value means
// none, which values are real and how one is closed. The handle is closed when the scope or the
// owner ends, or when Reset replaces it, unless Release hands it on.
#include <utility>

namespace DAVavador {

template <typename Handle, typename Traits>
class ScopedResource {
 public:
  explicit ScopedResource(Handle handle = Handle()) : handle_(handle) {}
  ScopedResource(ScopedResource&& other) noexcept : handle_(other.Release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ~ScopedResource() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return Traits::IsReal(handle_); }
  Handle Release() { return std::exchange(handle_, Handle()); }
  void Reset(Handle handle = Handle()) {
    if (Traits::IsReal(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_;
};

}  // namespace DAVavador
