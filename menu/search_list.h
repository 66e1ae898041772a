#pragma once
// The results list that stands in the programs tree's place while the run box holds text: a
// header row for each group ("프로그램", "파일"), the items with their shell icons, and a last row
// that runs the typed text as a command. Up and Down pass the header rows by; Up from the first
// item hands the keyboard back (onLeaveUp); Enter or a click starts the selected row.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/menu/layout.h"
#include "menu/search_icons.h"
#include "win32/window.h"
#include "win32/window_hook.h"

namespace pravik::menu {

inline constexpr wchar_t kSearchListName[] = L"검색 결과";
inline constexpr wchar_t kProgramsGroupText[] = L"프로그램";
inline constexpr wchar_t kFilesGroupText[] = L"파일";
inline constexpr wchar_t kRunAsCommandText[] = L"명령으로 실행: ";

struct SearchRow {
  enum class Type { Header, Item, Command } type = Type::Item;
  std::wstring text;
  std::wstring path;      // items: what the icon is asked for
  std::size_t item = 0;   // items: the catalog's item
};

class SearchList : public win32::Window {
 public:
  void Create(HWND parent, int id, const core::menu::PixelRect& r, HFONT font);
  // Where the list stands, with its rows and icons at the menu's current scale.
  void Place(const core::menu::PixelRect& r);
  void Fill(std::vector<SearchRow> rows);
  // Selects the first row that can be started; false when there is none.
  bool SelectFirst();
  [[nodiscard]] HWND listBox() const noexcept { return list_; }
  [[nodiscard]] const std::vector<SearchRow>& rows() const noexcept { return rows_; }

  std::function<void(const SearchRow& row)> onStart;
  std::function<void()> onLeaveUp;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  // Moves the selection to the next startable row in the direction; false when there is none.
  bool Move(int step);
  void StartSelected();

  std::vector<SearchRow> rows_;
  HWND list_ = nullptr;  // a child, destroyed with this window
  int iconSize_ = 16;
  SearchIcons icons_;
  // Last, so it stops first, while the list is still there to unhook.
  win32::WindowHook listHook_;
};

}  // namespace pravik::menu
