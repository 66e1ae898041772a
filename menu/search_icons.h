#pragma once
// The shell's small icons for search results, fetched on a thread of its own: asking the shell
// for a shortcut's icon may open its target, which can be a slow or offline share. The window
// draws without an icon until it is posted that icons have arrived.
#include <windows.h>

#include <memory>
#include <string>

namespace pravik::menu {

class SearchIcons {
 public:
  SearchIcons();
  SearchIcons(const SearchIcons&) = delete;
  SearchIcons& operator=(const SearchIcons&) = delete;
  // Never waits for the thread: it may be stuck on an offline share, and the program's end (or
  // the session's) must not be. The thread ends by itself with what it shares.
  ~SearchIcons();

  // `message` is posted to `notify` each time icons have arrived.
  void SetNotify(HWND notify, UINT message) noexcept;
  // The path's icon once fetched (null when the shell has none); until then null, and it is
  // asked for (once).
  HICON Get(const std::wstring& path);

 private:
  struct Shared;
  static void Run(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  bool started_ = false;
};

}  // namespace pravik::menu
