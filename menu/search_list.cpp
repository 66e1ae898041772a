#include "menu/search_list.h"

#include <oleacc.h>

#include "core/geometry/rounding.h"
#include "menu/accessible_element.h"
#include "menu/menu_element.h"
#include "win32/app_error.h"

namespace pravik::menu {
namespace {

constexpr int kListId = 1;
constexpr UINT kIconsArrived = WM_APP + 0x50;
constexpr COLORREF kHeaderColour = RGB(0x1E, 0x39, 0x5B);
constexpr COLORREF kCommandColour = RGB(0x60, 0x60, 0x60);

bool Startable(const SearchRow& row) { return row.type != SearchRow::Type::Header; }

}  // namespace

void SearchList::Create(HWND parent, int id, const core::menu::PixelRect& r, HFONT font) {
  win32::Window::Create(L"PravikSearchList", L"", WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, r.left, r.top, r.width,
                        r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  list_ = ::CreateWindowExW(0, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            0, 0, r.width, r.height, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            win32::ThisModule(), nullptr);
  ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Place(r);
  icons_.SetNotify(hwnd(), kIconsArrived);
  DescribeAccessibly(list_, {kSearchListName, ROLE_SYSTEM_LIST, STATE_SYSTEM_FOCUSABLE});
  listHook_.Install(
      list_,
      [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_KEYDOWN && (wParam == VK_DOWN || wParam == VK_UP)) {
          win32::RunHandler([&] {
            if (!Move(wParam == VK_DOWN ? 1 : -1) && wParam == VK_UP && onLeaveUp) onLeaveUp();
          });
          result = 0;
          return true;
        }
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
          win32::RunHandler([&] { StartSelected(); });
          result = 0;
          return true;
        }
        // The Enter character after the key would only beep.
        if (message == WM_CHAR && wParam == L'\r') {
          result = 0;
          return true;
        }
        return false;
      },
      [this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        // A click starts the row it selected, as a click in the tree does.
        if (message == WM_LBUTTONUP) {
          const auto hit = static_cast<DWORD>(::SendMessageW(list_, LB_ITEMFROMPOINT, 0, lParam));
          if (HIWORD(hit) == 0 && static_cast<LRESULT>(LOWORD(hit)) == ::SendMessageW(list_, LB_GETCURSEL, 0, 0))
            win32::RunHandler([&] { StartSelected(); });
          return;
        }
        if (message != WM_GETDLGCODE) return;
        // Enter belongs to the list, not to the window's default button.
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) result |= DLGC_WANTALLKEYS;
      });
}

void SearchList::Place(const core::menu::PixelRect& r) {
  ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(list_, nullptr, 0, 0, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Rows and icons follow the menu's scale as every other element does: 22 and 16 pixels at 100 %.
  ::SendMessageW(list_, LB_SETITEMHEIGHT, 0, core::geometry::TwipsToPixels(330, MenuTwipsPerPixel.y));
  iconSize_ = core::geometry::TwipsToPixels(240, MenuTwipsPerPixel.y);
  ::InvalidateRect(list_, nullptr, TRUE);
}

void SearchList::Fill(std::vector<SearchRow> rows) {
  rows_ = std::move(rows);
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const SearchRow& row : rows_) ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
  ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

bool SearchList::SelectFirst() {
  ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return Move(1);
}

bool SearchList::Move(int step) {
  const int count = static_cast<int>(rows_.size());
  const int at = static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0));
  for (int i = (at < 0 ? (step > 0 ? -1 : count) : at) + step; i >= 0 && i < count; i += step)
    if (Startable(rows_[static_cast<std::size_t>(i)])) {
      ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  return false;
}

void SearchList::StartSelected() {
  const auto at = static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0));
  if (at < 0 || at >= static_cast<int>(rows_.size()) || !Startable(rows_[static_cast<std::size_t>(at)])) return;
  // A copy: starting may refill the list.
  const SearchRow row = rows_[static_cast<std::size_t>(at)];
  if (onStart) onStart(row);
}

void SearchList::Draw(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= rows_.size()) return;
  const SearchRow& row = rows_[item.itemID];
  const bool selected = (item.itemState & ODS_SELECTED) && Startable(row);
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  // The list's own font: the menu hands every element a new one when its scale changes.
  const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list_, WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  COLORREF colour = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const int pad = iconSize_ / 4;
  r.left += pad;
  if (row.type == SearchRow::Type::Header) {
    colour = kHeaderColour;
  } else {
    if (row.type == SearchRow::Type::Command && !selected) colour = kCommandColour;
    if (row.type == SearchRow::Type::Item) {
      r.left += pad;
      if (HICON icon = icons_.Get(row.path))
        ::DrawIconEx(dc, r.left, r.top + (r.bottom - r.top - iconSize_) / 2, icon, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    }
    r.left += iconSize_ + pad;
  }
  ::SetTextColor(dc, colour);
  ::DrawTextW(dc, row.text.c_str(), static_cast<int>(row.text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &item.rcItem);
}

LRESULT SearchList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
      win32::RunHandler([&] { Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); });
      return TRUE;
    case kIconsArrived:
      ::InvalidateRect(list_, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      ::SetFocus(list_);
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::menu
