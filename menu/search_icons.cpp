#include "menu/search_icons.h"

#include <objbase.h>
#include <shellapi.h>

namespace pravik::menu {
namespace {

// A long list scrolled through asks for many icons; the oldest requests not yet served go first.
constexpr std::size_t kMaxPending = 256;
constexpr int kIconsPerNotice = 16;

// Files whose icon is their own (programs, shortcuts, icons); every other file shows its type's
// icon, asked for once per extension without opening any file.
bool HasOwnIcon(std::wstring_view extension) {
  for (std::wstring_view own : {L".lnk", L".exe", L".url", L".appref-ms", L".ico", L".msc", L".cpl", L".scr", L".pif",
                                L".cur", L".ani"})
    if (::CompareStringOrdinal(extension.data(), static_cast<int>(extension.size()), own.data(),
                               static_cast<int>(own.size()), TRUE) == CSTR_EQUAL)
      return true;
  return false;
}

// What the icon is kept under: the path, or "*" and the extension for a file of a type.
std::wstring IconKey(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  const std::size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path;
  std::wstring extension = path.substr(dot);
  if (HasOwnIcon(extension)) return path;
  ::CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
  return L"*" + extension;
}

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
  const std::wstring key = IconKey(path);
  {
    const std::lock_guard lock(mutex_);
    const auto found = fetched_.find(key);
    if (found != fetched_.end()) return found->second;
    if (!asked_.insert(key).second) return nullptr;
    if (pending_.size() >= kMaxPending) {
      asked_.erase(pending_.front());
      pending_.pop_front();
    }
    pending_.push_back(key);
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  wake_.notify_one();
  return nullptr;
}

void SearchIcons::Run() {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (;;) {
    std::wstring key;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
      if (stopping_) break;
      key = std::move(pending_.front());
      pending_.pop_front();
    }
    SHFILEINFOW info{};
    if (key.front() == L'*')
      ::SHGetFileInfoW((L"file" + key.substr(1)).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    else
      ::SHGetFileInfoW(key.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
    bool batchDone = false;
    {
      const std::lock_guard lock(mutex_);
      fetched_[key] = info.hIcon;
      batchDone = pending_.empty() || ++sinceNotice_ >= kIconsPerNotice;
      if (batchDone) sinceNotice_ = 0;
    }
    // One repaint for a screenful of icons, not one for each.
    if (batchDone) ::PostMessageW(notify_, message_, 0, 0);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace pravik::menu
