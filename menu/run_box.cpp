#include "menu/run_box.h"

#include <commctrl.h>

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
        if (message == WM_SETFOCUS) txtExe_GotFocus();
        if (message != WM_CHAR) return false;
        txtExe_KeyPress(static_cast<wchar_t>(wParam));
        // Enter is passed on as usual; a one-line box only beeps at it, so it is not.
        result = 0;
        return wParam == L'\r';
      },
      [](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        // Enter belongs to the box, not to the window's default button.
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (message == WM_GETDLGCODE && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
          result |= DLGC_WANTALLKEYS;
      });

  elements[L"Frame3"] = frame3_.hwnd();
  elements[L"Frame7"] = frame7_.hwnd();
  elements[L"Frame5"] = frame5_.hwnd();
  elements[L"Label4"] = label4_.hwnd();
  elements[L"txtExe"] = txtExe_;
  elements[L"picExe"] = picExe_.hwnd();
}

bool RunBox::covered() const { return ::IsWindowVisible(frame5_.hwnd()) != FALSE; }

void RunBox::Label4_Click() {
  ::ShowWindow(frame5_.hwnd(), SW_HIDE);
  ::SetFocus(txtExe_);
}

void RunBox::txtExe_GotFocus() { ::ShowWindow(frame5_.hwnd(), SW_HIDE); }

void RunBox::txtExe_KeyPress(wchar_t keyAscii) {
  if (keyAscii != L'\r') return;
  const int length = ::GetWindowTextLengthW(txtExe_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(txtExe_, text.data(), length + 1)));
  // Exactly as typed: not trimmed, not quoted. A blank line is refused by the runner itself.
  if (run_) run_(text);
  ::SetWindowTextW(txtExe_, L"");
}

}  // namespace pravik::menu
