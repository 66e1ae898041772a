#include "controls/pickbox/pick_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>

#include "win32/handles.h"
#include "win32/paths.h"

namespace pravik::controls::pickbox {

namespace {

constexpr std::size_t kFileBuffer = 2048;

// "desc|pattern|desc|pattern" as the dialogs want it: NUL separated, doubly NUL terminated.
std::wstring FilterList(const std::wstring& filters) {
  std::wstring list = filters;
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

struct CoTaskFree {
  void operator()(void* p) const noexcept { ::CoTaskMemFree(p); }
};

// What the folder dialog's callback needs: the folder to open on, and the one the tree has selected.
struct StartSelection {
  std::wstring start;
  std::wstring selected;
};

std::wstring WithoutTrailingSeparator(std::wstring path) {
  // A drive root keeps its separator ("C:\").
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM value, LPARAM data) noexcept {
  auto* selection = reinterpret_cast<StartSelection*>(data);
  if (message == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = {};
    selection->selected =
        value && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(value), path) ? path : L"";
  } else if (message == BFFM_INITIALIZED) {
    // The dialog walks its tree to the start folder by comparing item lists that carry each
    // folder's times; under Wine the walk's own parse of the path reads the folders and so moves
    // their access times on, and a walk begun with the old ones stops short of a folder whose
    // parent changed shortly before. The times have settled for a second walk.
    for (int walk = 0; walk < 2; ++walk) {
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(selection->start.c_str()));
      if (_wcsicmp(WithoutTrailingSeparator(selection->selected).c_str(), selection->start.c_str()) == 0) break;
    }
  }
  return 0;
}

}  // namespace

std::optional<std::uint32_t> PickColor(HWND owner, std::uint32_t color, std::int32_t flags) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = color;
  dialog.lpCustColors = custom;
  dialog.Flags = static_cast<DWORD>(flags ? flags : 259);
  if (!::ChooseColorW(&dialog)) return std::nullopt;
  return dialog.rgbResult;
}

std::optional<FontChoice> PickFont(HWND owner, const std::optional<core::propbag::FontDesc>& font, std::uint32_t color,
                                   std::int32_t flags) {
  core::propbag::FontDesc start = font.value_or(core::propbag::FontDesc{L"Arial", 8.25, 400, false, false, false, 0});
  LOGFONTW log{};
  {
    win32::WindowDc screen(nullptr);
    log.lfHeight = -::MulDiv(static_cast<int>(start.points * 100 + 50) / 100, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  }
  log.lfWeight = start.weight;
  log.lfItalic = start.italic;
  log.lfUnderline = start.underline;
  log.lfStrikeOut = start.strikethrough;
  log.lfCharSet = static_cast<BYTE>(start.charset);
  lstrcpynW(log.lfFaceName, start.name.c_str(), LF_FACESIZE);
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &log;
  dialog.rgbColors = color;
  dialog.Flags = static_cast<DWORD>(flags) | CF_INITTOLOGFONTSTRUCT;
  if (!::ChooseFontW(&dialog)) return std::nullopt;
  FontChoice choice;
  choice.font.name = log.lfFaceName;
  choice.font.points = dialog.iPointSize / 10.0;
  choice.font.weight = log.lfWeight;
  choice.font.italic = log.lfItalic != 0;
  choice.font.underline = log.lfUnderline != 0;
  choice.font.strikethrough = log.lfStrikeOut != 0;
  choice.font.charset = log.lfCharSet;
  choice.color = dialog.rgbColors;
  return choice;
}

std::vector<std::wstring> PickOpenFiles(HWND owner, const std::wstring& filters, std::int32_t flags, bool multiSelect) {
  std::wstring buffer(kFileBuffer, L'\0');
  const std::wstring filterList = FilterList(filters);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.empty() ? nullptr : filterList.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.Flags = static_cast<DWORD>(flags);
  if (multiSelect) dialog.Flags |= OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  if (!::GetOpenFileNameW(&dialog)) return {};
  // One file: its full path. Several: the folder, then each name, NUL separated.
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer.c_str(); *p; p += wcslen(p) + 1) parts.emplace_back(p);
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  for (std::size_t k = 1; k < parts.size(); ++k) files.push_back(folder + parts[k]);
  return files;
}

std::optional<std::wstring> PickSaveFile(HWND owner, const std::wstring& filters, std::int32_t flags,
                                         const std::wstring& defaultExt) {
  std::wstring buffer(kFileBuffer, L'\0');
  std::wstring title(kFileBuffer, L'\0');
  const std::wstring filterList = FilterList(filters);
  // The dialog wants the extension without its dot.
  const std::wstring extension = !defaultExt.empty() && defaultExt.front() == L'.' ? defaultExt.substr(1) : defaultExt;
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.empty() ? nullptr : filterList.c_str();
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrFileTitle = title.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(title.size());
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = static_cast<DWORD>(flags ? flags : 0x280006);
  if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
  return std::wstring(buffer.c_str());
}

bool PickPrinter(HWND owner, std::int32_t flags) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = static_cast<DWORD>(flags);
  const bool confirmed = ::PrintDlgW(&dialog) != FALSE;
  win32::GlobalMemory mode(dialog.hDevMode);
  win32::GlobalMemory names(dialog.hDevNames);
  win32::MemoryDc printerDc(dialog.hDC);
  return confirmed;
}

std::wstring BrowseFolder(HWND owner, const std::wstring& title, std::int32_t flags, const std::wstring& start) {
  // The dialog parses the start as a shell name, which a folder's trailing separator makes fail.
  StartSelection selection{WithoutTrailingSeparator(start.empty() ? win32::ProgramFolder() : start), {}};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = static_cast<UINT>(flags ? flags : 4160);
  info.lpfn = &SelectStartFolder;
  info.lParam = reinterpret_cast<LPARAM>(&selection);
  std::unique_ptr<ITEMIDLIST, CoTaskFree> chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return {};
  return path;
}

}  // namespace pravik::controls::pickbox
