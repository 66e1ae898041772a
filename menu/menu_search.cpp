#include "menu/menu_search.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/search/command_word.h"
#include "core/search/search.h"
#include "menu/search_use_counts.h"
#include "win32/bounded_call.h"
#include "win32/com_ptr.h"
#include "win32/launch.h"

namespace pravik::menu {
namespace {

constexpr int kSearchListId = 700;
constexpr std::size_t kShownPerGroup = 30;

std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

bool IsShare(const std::wstring& path) { return path.rfind(L"\\\\", 0) == 0; }

// Whether the interpreter finds the word: a path that exists, or a program on the user's own
// search path (this process's PATH and PATHEXT, which the interpreter gets for typed text). A share
// is left to the interpreter: asking for it here could hold the menu on a slow network.
bool InterpreterFinds(std::u16string_view word16) {
  const std::wstring word(word16.begin(), word16.end());
  if (IsShare(word)) return true;
  if (word.find_first_of(L"\\/:") != std::wstring::npos)
    return ::GetFileAttributesW(word.c_str()) != INVALID_FILE_ATTRIBUTES;
  wchar_t found[MAX_PATH];
  if (word.find(L'.') != std::wstring::npos && ::SearchPathW(nullptr, word.c_str(), nullptr, MAX_PATH, found, nullptr))
    return true;
  wchar_t extensions[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"PATHEXT", extensions, 1024);
  std::wstring_view list = length > 0 && length < 1024 ? std::wstring_view(extensions, length) : L".COM;.EXE;.BAT;.CMD";
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(L';'), list.size());
    const std::wstring_view extension = list.substr(0, end);
    list.remove_prefix(std::min(end + 1, list.size()));
    if (extension.empty()) continue;
    const std::wstring name = word + std::wstring(extension);
    if (::SearchPathW(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr)) return true;
  }
  return false;
}

bool EndsWithIgnoringCase(const std::wstring& text, std::wstring_view end) {
  return text.size() >= end.size() &&
         ::CompareStringOrdinal(text.c_str() + text.size() - end.size(), static_cast<int>(end.size()), end.data(),
                                static_cast<int>(end.size()), TRUE) == CSTR_EQUAL;
}

struct LinkTarget {
  std::wstring path, arguments;
};

// What a shortcut starts, read from the shortcut itself (its target is not touched).
std::optional<LinkTarget> ReadLink(const std::wstring& link) {
  win32::ComPtr<IShellLinkW> shellLink;
  win32::ComPtr<IPersistFile> file;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.put_void())) ||
      FAILED(shellLink.As(file)) || FAILED(file->Load(link.c_str(), STGM_READ)))
    return std::nullopt;
  LinkTarget target;
  wchar_t buffer[MAX_PATH * 4] = {};
  if (SUCCEEDED(shellLink->GetPath(buffer, MAX_PATH * 4, nullptr, 0))) target.path = buffer;
  buffer[0] = 0;
  if (SUCCEEDED(shellLink->GetArguments(buffer, MAX_PATH * 4))) target.arguments = buffer;
  return target;
}

}  // namespace

void MenuSearch::Create(HWND window, HWND container, HWND tree, HFONT font, UINT catalogMessage, ElementMap& elements) {
  window_ = window;
  tree_ = tree;
  catalogMessage_ = catalogMessage;
  list_.Create(container, kSearchListId, Px(L"ucBrowse1"), font);
  list_.onStart = [this](const SearchRow& row) { Start(row); };
  list_.onLeaveUp = [this] {
    ::SendMessageW(list_.listBox(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    if (onBackToBox) onBackToBox();
  };
  elements[L"lstSearch"] = list_.listBox();
}

void MenuSearch::StartIndexing() { indexer_.Start(window_, catalogMessage_); }

void MenuSearch::CatalogReady() {
  auto catalog = indexer_.TakeLatest();
  if (!catalog) return;
  catalog_ = std::move(catalog);
  // Fresh results for the text shown, unless the user is walking through the list.
  if (!text_.empty() && ::GetFocus() != list_.listBox()) TextChanged(text_);
}

void MenuSearch::TextChanged(const std::wstring& text) {
  text_ = text;
  if (text.empty()) {
    // The keyboard never stays in a list that goes (the command row ran the text, say).
    const bool hadKeyboard = ::GetFocus() == list_.listBox();
    ::ShowWindow(list_.hwnd(), SW_HIDE);
    ::ShowWindow(tree_, SW_SHOW);
    if (hadKeyboard && onBackToBox) onBackToBox();
    return;
  }
  std::vector<SearchRow> rows;
  if (catalog_) {
    const std::u16string query = ToU16(text);
    const auto group = [&](core::search::Kind kind, const wchar_t* header) {
      const auto found = core::search::Search(catalog_->index, query, kShownPerGroup, kind);
      if (found.empty()) return;
      rows.push_back({SearchRow::Type::Header, header, {}, 0});
      for (const auto& result : found) {
        const auto entry = catalog_->index.entry(result.entry);
        rows.push_back({SearchRow::Type::Item, std::wstring(entry.displayName.begin(), entry.displayName.end()),
                        catalog_->Path(entry.id), static_cast<std::size_t>(entry.id)});
      }
    };
    group(core::search::Kind::Program, kProgramsGroupText);
    group(core::search::Kind::File, kFilesGroupText);
  }
  rows.push_back({SearchRow::Type::Command, kRunAsCommandText + text, {}, 0});
  list_.Fill(std::move(rows));
  if (!shown()) {
    ::ShowWindow(tree_, SW_HIDE);
    ::ShowWindow(list_.hwnd(), SW_SHOW);
  }
}

bool MenuSearch::EnterList() {
  if (!shown() || !list_.SelectFirst()) return false;
  ::SetFocus(list_.listBox());
  return true;
}

bool MenuSearch::Submit(const std::wstring& text) {
  // The user's own command line goes to the interpreter as it always did. Looking for the word
  // may touch a slow share or a mapped drive on the search path: past a moment the text is
  // taken as a command, so the menu never waits on the network.
  if (!catalog_) return false;
  const auto runnable = win32::CallWithDeadline<bool>(
      [query = ToU16(text)] { return core::search::FirstWordIsRunnable(query, InterpreterFinds); },
      std::chrono::milliseconds(300));
  if (!runnable || *runnable) return false;
  // Searched again here, so Enter acts on the whole text even straight after the last key.
  const auto found = core::search::Search(catalog_->index, ToU16(text), 1, core::search::Kind::Program);
  if (found.empty()) return false;
  if (StartItem(static_cast<std::size_t>(catalog_->index.entry(found.front().entry).id)) && onStarted) onStarted();
  return true;
}

void MenuSearch::Start(const SearchRow& row) {
  if (row.type == SearchRow::Type::Command) {
    if (onRunAsCommand) onRunAsCommand();
  } else if (row.type == SearchRow::Type::Item && StartItem(row.item) && onStarted) {
    onStarted();
  }
}

bool MenuSearch::StartItem(std::size_t item) {
  if (!catalog_ || item >= catalog_->size()) return false;
  const std::wstring path = catalog_->Path(item);
  win32::UserStart started = win32::UserStart::kFailed;
  const auto link = EndsWithIgnoringCase(path, L".lnk") ? ReadLink(path) : std::nullopt;
  if (link && !link->path.empty()) {
    // A shortcut to a missing program: said plainly, instead of the shell's search for it.
    if (!IsShare(link->path) && ::GetFileAttributesW(link->path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ::MessageBoxW(window_, (kBrokenShortcutText + link->path).c_str(), L"Pravik", MB_OK | MB_ICONWARNING);
      return false;
    }
    // The target itself, so that it runs in its own folder.
    started = win32::OpenAsUserOrTell(window_, link->path, link->arguments);
  } else {
    started = win32::OpenAsUserOrTell(window_, path);
  }
  if (started != win32::UserStart::kStarted) return false;
  catalog_->index.SetUseCount(item, AddUse(path));
  return true;
}

}  // namespace pravik::menu
