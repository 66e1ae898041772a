#pragma once
// The shell's small icons for search results, fetched on a thread of its own: asking the shell
// for a shortcut's icon may open its target, which can be a slow or offline share. The window
// draws without an icon until it is posted that icons have arrived.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace pravik::menu {

class SearchIcons {
 public:
  SearchIcons() = default;
  SearchIcons(const SearchIcons&) = delete;
  SearchIcons& operator=(const SearchIcons&) = delete;
  ~SearchIcons();

  // `message` is posted to `notify` each time an icon has arrived.
  void SetNotify(HWND notify, UINT message) noexcept;
  // The path's icon once fetched (null when the shell has none); until then null, and it is
  // asked for (once).
  HICON Get(const std::wstring& path);

 private:
  void Run();

  HWND notify_ = nullptr;
  UINT message_ = 0;
  std::set<std::wstring> asked_;  // asked for, fetched or still pending
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::wstring> pending_;
  std::map<std::wstring, HICON> fetched_;
  int sinceNotice_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pravik::menu
