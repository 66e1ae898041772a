#pragma once
// Owner of one COM interface reference.
#include <unknwn.h>

#include <utility>

namespace pravik::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a reference the caller already holds.
  static ComPtr Attach(T* raw) noexcept {
    ComPtr p;
    p.ptr_ = raw;
    return p;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* raw) noexcept {
    if (raw) raw->AddRef();
    return Attach(raw);
  }
  ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) noexcept {
    ComPtr copy(other);
    std::swap(ptr_, copy.ptr_);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() noexcept {
    if (ptr_) std::exchange(ptr_, nullptr)->Release();
  }
  [[nodiscard]] T* get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }
  [[nodiscard]] T** put() noexcept {
    reset();
    return &ptr_;
  }
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
  [[nodiscard]] T* detach() noexcept { return std::exchange(ptr_, nullptr); }

  template <typename U>
  HRESULT As(ComPtr<U>& out) const noexcept {
    if (!ptr_) return E_POINTER;
    return ptr_->QueryInterface(__uuidof(U), out.put_void());
  }

 private:
  T* ptr_ = nullptr;
};

// OLE for the calling thread, for the life of a scope.
class OleScope {
 public:
  OleScope() noexcept : hr_(::OleInitialize(nullptr)) {}
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  ~OleScope();
  [[nodiscard]] HRESULT result() const noexcept { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace pravik::win32
