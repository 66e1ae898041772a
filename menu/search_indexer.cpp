#include "menu/search_indexer.h"

#include <shlobj.h>

#include <array>
#include <optional>
#include <thread>

#include "menu/search_use_counts.h"
#include "win32/launch.h"

namespace pravik::menu {
namespace {

// Changes come in bursts (an installer writes many shortcuts): build once they have paused.
constexpr DWORD kSettleMs = 300;

constexpr std::array<std::wstring_view, 9> kProgramExtensions = {
    L".lnk", L".url", L".exe", L".appref-ms", L".bat", L".cmd", L".com", L".msc", L".pif"};

bool IsProgramName(std::wstring_view name, std::size_t& stem) {
  const std::size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring_view::npos || dot == 0) return false;
  const std::wstring_view extension = name.substr(dot);
  for (std::wstring_view known : kProgramExtensions)
    if (::CompareStringOrdinal(extension.data(), static_cast<int>(extension.size()), known.data(),
                               static_cast<int>(known.size()), TRUE) == CSTR_EQUAL) {
      stem = dot;
      return true;
    }
  return false;
}

struct Walk {
  core::search::Kind kind;
  std::size_t limit;
  std::size_t count = 0;
};

class CatalogBuilder {
 public:
  explicit CatalogBuilder(HANDLE stop) : stop_(stop), counts_(ReadUseCounts()) {
    // Room for the most there can be, taken at once: pages never written cost nothing, and blocks
    // that never move leave no outgrown copies behind in the heap. Finish gives back the rest.
    constexpr std::size_t kEntries = kMaxIndexedPrograms + kMaxIndexedFiles;
    constexpr std::size_t kTextUnits = kEntries * 32;
    catalog_->index.Reserve(kEntries, kTextUnits);
    catalog_->names.reserve(kTextUnits);
    catalog_->nameEnds.reserve(kEntries + 1);
    catalog_->folderOf.reserve(kEntries);
  }

  void Add(const std::wstring& folder, Walk& walk, int depth = 0) {
    // The program ending does not wait for a walk through a large folder.
    if (depth > kMaxIndexDepth || walk.count >= walk.limit || ::WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return;
    WIN32_FIND_DATAW data;
    const win32::FindHandle find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;  // unreadable or gone: nothing from here
    std::optional<std::uint32_t> folderId;  // numbered with its first entry
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      // Links to elsewhere would repeat (or loop through) other folders. Hidden files and folders
      // (desktop.ini, caches, dot folders) are nothing a user looks for, and walking them would
      // fill the index and rebuild it at every change a program makes there.
      if (data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_HIDDEN)) continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        Add(path, walk, depth + 1);
      } else {
        std::size_t stem = name.size();
        if (walk.kind == core::search::Kind::Program && !IsProgramName(name, stem)) continue;
        // Programs by the name the shell shows for a shortcut; files by their whole name.
        if (!folderId) folderId = AddFolder(folder);
        AddEntry(*folderId, path, name, name.substr(0, walk.kind == core::search::Kind::Program ? stem : name.size()),
                 walk.kind);
        ++walk.count;
      }
    } while (walk.count < walk.limit && ::FindNextFileW(find.get(), &data));
  }

  std::unique_ptr<SearchCatalog> Finish() {
    catalog_->ShrinkToFit();
    return std::move(catalog_);
  }

 private:
  std::uint32_t AddFolder(const std::wstring& folder) {
    catalog_->folders += folder;
    catalog_->folderEnds.push_back(static_cast<std::uint32_t>(catalog_->folders.size()));
    return static_cast<std::uint32_t>(catalog_->folderEnds.size() - 2);
  }

  void AddEntry(std::uint32_t folder, const std::wstring& path, const std::wstring& fileName,
                const std::wstring& displayName, core::search::Kind kind) {
    const auto count = counts_.find(UseCountName(path));
    const std::u16string name(displayName.begin(), displayName.end());
    catalog_->index.Add(name, kind, count == counts_.end() ? 0 : count->second, catalog_->size());
    catalog_->names += fileName;
    catalog_->nameEnds.push_back(static_cast<std::uint32_t>(catalog_->names.size()));
    catalog_->folderOf.push_back(folder);
  }

  HANDLE stop_;
  std::unordered_map<std::wstring, std::uint32_t> counts_;
  std::unique_ptr<SearchCatalog> catalog_ = std::make_unique<SearchCatalog>();
};

struct Folders {
  std::vector<std::wstring> programs, files;
};

Folders SearchedFolders() {
  Folders folders;
  for (const GUID* id : {&FOLDERID_Programs, &FOLDERID_CommonPrograms})
    if (auto path = win32::KnownFolderPath(*id)) folders.programs.push_back(*path);
  for (const GUID* id : {&FOLDERID_Desktop, &FOLDERID_Documents})
    if (auto path = win32::KnownFolderPath(*id)) folders.files.push_back(*path);
  return folders;
}

std::unique_ptr<SearchCatalog> BuildCatalog(const Folders& folders, HANDLE stop) {
  CatalogBuilder builder(stop);
  Walk programs{core::search::Kind::Program, kMaxIndexedPrograms};
  for (const auto& folder : folders.programs) builder.Add(folder, programs);
  Walk files{core::search::Kind::File, kMaxIndexedFiles};
  for (const auto& folder : folders.files) builder.Add(folder, files);
  return builder.Finish();
}

}  // namespace

void SearchCatalog::ShrinkToFit() {
  index.ShrinkToFit();
  folders.shrink_to_fit();
  folderEnds.shrink_to_fit();
  names.shrink_to_fit();
  nameEnds.shrink_to_fit();
  folderOf.shrink_to_fit();
}

std::wstring SearchCatalog::Path(std::size_t id) const {
  const std::uint32_t folder = folderOf[id];
  std::wstring path = folders.substr(folderEnds[folder], folderEnds[folder + 1] - folderEnds[folder]);
  path += L'\\';
  path.append(names, nameEnds[id], nameEnds[id + 1] - nameEnds[id]);
  return path;
}

void SearchIndexer::Start(HWND notify, UINT message) {
  if (shared_) return;
  auto shared = std::make_shared<Shared>();
  shared->stop.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!shared->stop) return;
  shared_ = shared;
  std::thread(Run, std::move(shared), notify, message).detach();
}

void SearchIndexer::Stop() noexcept {
  if (shared_) ::SetEvent(shared_->stop.get());
}

std::unique_ptr<SearchCatalog> SearchIndexer::TakeLatest() {
  if (!shared_) return nullptr;
  const std::lock_guard lock(shared_->mutex);
  return std::move(shared_->latest);
}

void SearchIndexer::Run(std::shared_ptr<Shared> shared, HWND notify, UINT message) {
  const HANDLE stop = shared->stop.get();
  const Folders folders = SearchedFolders();
  // Watched before the first build, so that nothing changed during it is missed.
  std::vector<HANDLE> waits{stop};
  for (const auto* list : {&folders.programs, &folders.files})
    for (const auto& folder : *list) {
      const HANDLE change = ::FindFirstChangeNotificationW(
          folder.c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
      if (change != INVALID_HANDLE_VALUE) waits.push_back(change);
    }
  const auto publish = [&] {
    auto catalog = BuildCatalog(folders, stop);
    if (::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return;
    {
      const std::lock_guard lock(shared->mutex);
      shared->latest = std::move(catalog);
    }
    ::PostMessageW(notify, message, 0, 0);
  };
  publish();
  const auto count = static_cast<DWORD>(waits.size());
  for (;;) {
    DWORD got = ::WaitForMultipleObjects(count, waits.data(), FALSE, INFINITE);
    if (got == WAIT_OBJECT_0 || got == WAIT_FAILED) break;
    // Re-armed at once; further changes only push the build back until they pause.
    do {
      if (got > WAIT_OBJECT_0 && got < WAIT_OBJECT_0 + count) ::FindNextChangeNotification(waits[got - WAIT_OBJECT_0]);
      got = ::WaitForMultipleObjects(count, waits.data(), FALSE, kSettleMs);
    } while (got != WAIT_TIMEOUT && got != WAIT_OBJECT_0 && got != WAIT_FAILED);
    if (got != WAIT_TIMEOUT) break;
    publish();
  }
  for (std::size_t i = 1; i < waits.size(); ++i) ::FindCloseChangeNotification(waits[i]);
}

}  // namespace pravik::menu
