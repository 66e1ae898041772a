#include "menu/search_icons.h"

#include <objbase.h>
#include <shellapi.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

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

struct SearchIcons::Shared {
  ~Shared() {
    for (auto& [key, icon] : fetched)
      if (icon) ::DestroyIcon(icon);
  }
  HWND notify = nullptr;
  UINT message = 0;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::wstring> pending;
  std::set<std::wstring> asked;  // asked for, fetched or still pending
  std::map<std::wstring, HICON> fetched;
  int sinceNotice = 0;
  bool stopping = false;
};

SearchIcons::SearchIcons() : shared_(std::make_shared<Shared>()) {}

SearchIcons::~SearchIcons() {
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
  }
  shared_->wake.notify_all();
}

void SearchIcons::SetNotify(HWND notify, UINT message) noexcept {
  const std::lock_guard lock(shared_->mutex);
  shared_->notify = notify;
  shared_->message = message;
}

HICON SearchIcons::Get(const std::wstring& path) {
  const std::wstring key = IconKey(path);
  Shared& s = *shared_;
  {
    const std::lock_guard lock(s.mutex);
    const auto found = s.fetched.find(key);
    if (found != s.fetched.end()) return found->second;
    if (!s.asked.insert(key).second) return nullptr;
    if (s.pending.size() >= kMaxPending) {
      s.asked.erase(s.pending.front());
      s.pending.pop_front();
    }
    s.pending.push_back(key);
  }
  if (!started_) {
    std::thread(Run, shared_).detach();
    started_ = true;
  }
  s.wake.notify_one();
  return nullptr;
}

void SearchIcons::Run(std::shared_ptr<Shared> shared) {
  Shared& s = *shared;
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (;;) {
    std::wstring key;
    {
      std::unique_lock lock(s.mutex);
      s.wake.wait(lock, [&] { return s.stopping || !s.pending.empty(); });
      if (s.stopping) break;
      key = std::move(s.pending.front());
      s.pending.pop_front();
    }
    SHFILEINFOW info{};
    if (key.front() == L'*')
      ::SHGetFileInfoW((L"file" + key.substr(1)).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    else
      ::SHGetFileInfoW(key.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
    HWND notify = nullptr;
    UINT message = 0;
    {
      const std::lock_guard lock(s.mutex);
      if (s.stopping) {
        if (info.hIcon) ::DestroyIcon(info.hIcon);
        break;
      }
      s.fetched[key] = info.hIcon;
      // One repaint for a screenful of icons, not one for each.
      if (s.pending.empty() || ++s.sinceNotice >= kIconsPerNotice) {
        s.sinceNotice = 0;
        notify = s.notify;
        message = s.message;
      }
    }
    if (notify) ::PostMessageW(notify, message, 0, 0);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace pravik::menu
