#pragma once
// Reading a tree view's items.
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace pravik::win32 {

// The item's text; empty when the item cannot be read.
inline std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  if (!TreeView_GetItem(tree, &tv)) return L"";
  return text;
}

}  // namespace pravik::win32
