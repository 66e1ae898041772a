#include "menu/search_icons.h"

#include <objbase.h>
#include <shellapi.h>

namespace pravik::menu {
namespace {

// A long list scrolled through asks for many icons; the oldest requests not yet served go first.
constexpr std::size_t kMaxPending = 256;

}  // namespace

SearchIcons::~SearchIcons() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  for (auto& [path, icon] : fetched_)
    if (icon) ::DestroyIcon(icon);
}

void SearchIcons::SetNotify(HWND notify, UINT message) noexcept {
  notify_ = notify;
  message_ = message;
}

HICON SearchIcons::Get(const std::wstring& path) {
  {
    const std::lock_guard lock(mutex_);
    const auto found = fetched_.find(path);
    if (found != fetched_.end()) return found->second;
    if (!asked_.insert(path).second) return nullptr;
    if (pending_.size() >= kMaxPending) {
      asked_.erase(pending_.front());
      pending_.pop_front();
    }
    pending_.push_back(path);
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  wake_.notify_one();
  return nullptr;
}

void SearchIcons::Run() {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (;;) {
    std::wstring path;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
      if (stopping_) break;
      path = std::move(pending_.front());
      pending_.pop_front();
    }
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
    {
      const std::lock_guard lock(mutex_);
      fetched_[path] = info.hIcon;
    }
    ::PostMessageW(notify_, message_, 0, 0);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace pravik::menu
