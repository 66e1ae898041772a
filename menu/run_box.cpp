#include "menu/run_box.h"

#include <commctrl.h>

#include <oleacc.h>

#include "menu/accessible_element.h"
#include "menu/key_target.h"
#include "win32/app_error.h"

namespace pravik::menu {
namespace {

constexpr int kFrame3Id = 500, kFrame7Id = 501, kFrame5Id = 502, kLabel4Id = 503, kTxtExeId = 504, kPicExeId = 505;
constexpr COLORREF kBarGrey = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kPlaceholderGrey = RGB(0xA6, 0xA6, 0xA6);

}  // namespace

RunBox::~RunBox() = default;

void RunBox::Create(HWND framMain, HFONT font, HCURSOR pointer, CommandSink run, ElementMap& elements) {
  run_ = std::move(run);
  auto r = Px(L"Frame3");
  frame3_.Create(framMain, kFrame3Id, r.left, r.top, r.width, r.height, kBarGrey);
  MakeControlParent(frame3_.hwnd());
  PlaceLast(frame3_.hwnd());

  r = Px(L"Frame7");
  frame7_.Create(frame3_.hwnd(), kFrame7Id, r.left, r.top, r.width, r.height);
  MakeControlParent(frame7_.hwnd());
  r = Px(L"picExe");
  picExe_.Create(frame3_.hwnd(), kPicExeId, r.left, r.top, r.width, r.height);
  picExe_.SetCursor(pointer);
  PlaceLast(picExe_.hwnd());
  // The arrow runs the box's text as Enter does, by click or from the keyboard.
  picExe_.onClick = [this] { RunText(); };
  MakeKeyTarget(picExe_.hwnd(), {[this] { RunText(); }, {}, {}});
  DescribeAccessibly(picExe_.hwnd(), {L"실행", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE});

  // The cover first, so that it lies over the box.
  r = Px(L"Frame5");
  frame5_.Create(frame7_.hwnd(), kFrame5Id, r.left, r.top, r.width, r.height);
  frame5_.onClick = [this] { Label4_Click(); };
  r = Px(L"Label4");
  label4_.Create(frame5_.hwnd(), kLabel4Id, r.left, r.top, r.width, r.height, kRunBoxPlaceholder, font);
  label4_.SetColors(kPlaceholderGrey, RGB(255, 255, 255));
  label4_.onClick = [this] { Label4_Click(); };

  r = Px(L"txtExe");
  txtExe_ = ::CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, r.left, r.top,
                              r.width, r.height, frame7_.hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTxtExeId)), win32::ThisModule(), nullptr);
  PlaceLast(txtExe_);
  ::SendMessageW(txtExe_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  editHook_.Install(
      txtExe_,
      [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        switch (message) {
          case WM_SETFOCUS:
            win32::RunHandler([&] { txtExe_GotFocus(); });
            return false;
          case WM_KILLFOCUS:
            win32::RunHandler([&] { txtExe_LostFocus(); });
            return false;
          case WM_KEYDOWN: {
            bool moved = false;
            if (wParam == VK_DOWN && onDown) win32::RunHandler([&] { moved = onDown(); });
            result = 0;
            return moved;
          }
          case WM_CHAR:
            win32::RunHandler([&] { txtExe_KeyPress(static_cast<wchar_t>(wParam)); });
            // Enter is passed on as usual; a one-line box only beeps at it, so it is not.
            result = 0;
            return wParam == L'\r';
          default:
            return false;
        }
      },
      [this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        switch (message) {
          case WM_PAINT:
            PaintPlaceholder();
            break;
          case WM_KEYDOWN:
          case WM_CHAR:
          case WM_SETTEXT:
          case WM_PASTE:
          case WM_CUT:
          case WM_CLEAR:
          case WM_UNDO:
          case EM_REPLACESEL:
            // The placeholder comes and goes with the text.
            ::InvalidateRect(txtExe_, nullptr, TRUE);
            break;
          case WM_GETDLGCODE: {
            // Enter belongs to the box, not to the window's default button.
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) result |= DLGC_WANTALLKEYS;
            break;
          }
        }
      });
  DescribeAccessibly(txtExe_, {kRunBoxPlaceholder, ROLE_SYSTEM_TEXT, 0});
  // Typing, pasting, cutting, undoing and an input method's result all end in one notification.
  win32::WindowHook::ForLifeOf(frame7_.hwnd(), [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_COMMAND || reinterpret_cast<HWND>(lParam) != txtExe_ || HIWORD(wParam) != EN_CHANGE) return false;
    if (onTextChange) win32::RunHandler([&] { onTextChange(Text()); });
    result = 0;
    return true;
  });

  elements[L"Frame3"] = frame3_.hwnd();
  elements[L"Frame7"] = frame7_.hwnd();
  elements[L"Frame5"] = frame5_.hwnd();
  elements[L"Label4"] = label4_.hwnd();
  elements[L"txtExe"] = txtExe_;
  elements[L"picExe"] = picExe_.hwnd();
}

bool RunBox::covered() const { return ::IsWindowVisible(frame5_.hwnd()) != FALSE; }

bool RunBox::placeholderShown() const { return ::GetWindowTextLengthW(txtExe_) == 0; }

void RunBox::txtExe_LostFocus() {
  // Empty again: the cover with its placeholder comes back.
  if (::GetWindowTextLengthW(txtExe_) == 0) ::ShowWindow(frame5_.hwnd(), SW_SHOW);
}

void RunBox::PaintPlaceholder() const {
  if (::GetWindowTextLengthW(txtExe_) != 0) return;
  HDC dc = ::GetDC(txtExe_);
  RECT r;
  ::GetClientRect(txtExe_, &r);
  r.left += 2;
  // The box's own font, which follows the menu's scale.
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(txtExe_, WM_GETFONT, 0, 0)));
  ::SetTextColor(dc, kPlaceholderGrey);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, kRunBoxPlaceholder, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(txtExe_, dc);
}

void RunBox::Label4_Click() {
  ::ShowWindow(frame5_.hwnd(), SW_HIDE);
  ::SetFocus(txtExe_);
}

void RunBox::txtExe_GotFocus() { ::ShowWindow(frame5_.hwnd(), SW_HIDE); }

void RunBox::txtExe_KeyPress(wchar_t keyAscii) {
  if (keyAscii == L'\r') RunText();
}

std::wstring RunBox::Text() const {
  const int length = ::GetWindowTextLengthW(txtExe_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(txtExe_, text.data(), length + 1)));
  return text;
}

void RunBox::Clear() { ::SetWindowTextW(txtExe_, L""); }

void RunBox::RunText() {
  if (onSubmit && onSubmit(Text())) return;
  RunAsCommand();
}

void RunBox::RunAsCommand() {
  const std::wstring text = Text();
  // Exactly as typed: not trimmed, not quoted. A blank line is refused by the runner itself.
  // The command starts and the box empties at once: the command's end is not waited for.
  ::SetWindowTextW(txtExe_, L"");
  if (run_) run_(text);
}

}  // namespace pravik::menu
