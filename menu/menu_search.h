#pragma once
// Search as you type in the run box: each change of the text searches the catalog on the
// window's own thread (a keystroke costs well under a frame), so what the list shows and what
// Enter acts on always belong to the whole text typed. The list takes the programs tree's place
// while the box holds text.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "menu/menu_element.h"
#include "menu/search_indexer.h"
#include "menu/search_list.h"

namespace pravik::menu {

inline constexpr wchar_t kBrokenShortcutText[] =
    L"바로 가기가 가리키는 대상을 찾을 수 없어 실행하지 않았습니다:\n";

class MenuSearch {
 public:
  // The list goes into `container` at the tree's place; the catalog arrives as `catalogMessage`
  // posted to `window`, to be handed to CatalogReady.
  void Create(HWND window, HWND container, HWND tree, HFONT font, UINT catalogMessage, ElementMap& elements);
  // The list at the tree's place again, after the menu's scale changed.
  void Place(const core::menu::PixelRect& r) { list_.Place(r); }
  // Starts building the catalog (once).
  void StartIndexing();
  void CatalogReady();
  void TextChanged(const std::wstring& text);
  // Enter in the run box with nothing selected: true when the text started a program here;
  // false when it goes to the interpreter as typed.
  bool Submit(const std::wstring& text);
  // Down from the run box: the first startable row takes the keyboard.
  bool EnterList();
  [[nodiscard]] bool shown() const { return ::IsWindowVisible(list_.hwnd()) != FALSE; }
  [[nodiscard]] HWND listBox() const noexcept { return list_.listBox(); }

  std::function<void()> onStarted;        // an item started: the menu hides, the box empties
  std::function<void()> onRunAsCommand;   // the command row: the box's text to the interpreter
  std::function<void()> onBackToBox;

 private:
  void Start(const SearchRow& row);
  bool StartItem(std::size_t item);

  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  UINT catalogMessage_ = 0;
  std::wstring text_;
  std::unique_ptr<SearchCatalog> catalog_;
  win32::Instance<SearchList> list_;
  // Last: its thread stops before the rest goes.
  SearchIndexer indexer_;
};

}  // namespace pravik::menu
