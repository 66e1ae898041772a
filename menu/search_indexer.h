#pragma once
// The search's index, built on a thread of its own: the programs under the user's and the
// common Start Menu, the file names under Desktop and Documents, bounded in count and depth.
// The thread then sleeps on the folders' change notifications and builds again after a change
// (once the changes have stopped for a moment); it never polls. The window gets a posted message
// for each new index and takes it from here on its own thread.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/search/index.h"
#include "win32/handles.h"

namespace pravik::menu {

inline constexpr std::size_t kMaxIndexedPrograms = 20000;
inline constexpr std::size_t kMaxIndexedFiles = 20000;
inline constexpr int kMaxIndexDepth = 8;

struct SearchCatalog {
  core::search::Index index;
  // What an entry's id stands for, its full path: its folder (thousands of files share a few) and
  // its own name, each kept once in a block of text. A few large blocks instead of a string per
  // entry: a rebuilt catalog gives the old one's memory back whole.
  std::wstring folders;
  std::vector<std::uint32_t> folderEnds{0};  // folder f: folders[folderEnds[f], folderEnds[f + 1])
  std::wstring names;
  std::vector<std::uint32_t> nameEnds{0};    // entry id i: names[nameEnds[i], nameEnds[i + 1])
  std::vector<std::uint32_t> folderOf;       // entry id i: its folder's number

  [[nodiscard]] std::size_t size() const { return folderOf.size(); }
  [[nodiscard]] std::wstring Path(std::size_t id) const;
  // Once built: what growing an entry at a time left spare goes back.
  void ShrinkToFit();
};

class SearchIndexer {
 public:
  SearchIndexer() = default;
  SearchIndexer(const SearchIndexer&) = delete;
  SearchIndexer& operator=(const SearchIndexer&) = delete;
  ~SearchIndexer() { Stop(); }

  // Starts the thread once; `message` is posted to `notify` whenever a new catalog is ready.
  void Start(HWND notify, UINT message);
  // Tells the thread to end and does not wait for it: a walk through a folder on an offline
  // share must not hold the program's end. The thread ends by itself with what it shares.
  void Stop() noexcept;
  // The newest catalog since the last call, or nothing.
  std::unique_ptr<SearchCatalog> TakeLatest();

 private:
  struct Shared {
    win32::Handle stop;
    std::mutex mutex;
    std::unique_ptr<SearchCatalog> latest;
  };
  static void Run(std::shared_ptr<Shared> shared, HWND notify, UINT message);

  std::shared_ptr<Shared> shared_;
};

}  // namespace pravik::menu
