#include <windowsx.h>

#include <cstdint>
#include <vector>

#include "controls/pickbox/pick_dialogs.h"
#include "win32/window.h"

namespace pravik::controls::pickbox {

namespace {

constexpr WORD kPromptId = 100, kEditId = 101;

// An in-memory dialog template: header, then each item, DWORD aligned.
class TemplateWriter {
 public:
  void Word(WORD w) { data_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Align() {
    if (data_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const WORD* data() const { return data_.data(); }

 private:
  std::vector<WORD> data_;
};

struct BoxState {
  const std::wstring* prompt;
  POINT anchor;
  std::wstring answer;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* state = reinterpret_cast<BoxState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<BoxState*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetDlgItemTextW(dialog, kPromptId, state->prompt->c_str());
      ::SetWindowPos(dialog, nullptr, state->anchor.x, state->anchor.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      ::SendMessageW(dialog, DM_REPOSITION, 0, 0);  // keep it on the screen
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state) {
        const int length = ::GetWindowTextLengthW(::GetDlgItem(dialog, kEditId));
        state->answer.assign(static_cast<std::size_t>(length) + 1, L'\0');
        ::GetDlgItemTextW(dialog, kEditId, state->answer.data(), length + 1);
        state->answer.resize(static_cast<std::size_t>(length));
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::wstring> InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title, POINT anchor) {
  TemplateWriter t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  for (short v : {0, 0, 230, 80}) t.Word(static_cast<WORD>(v));
  t.Word(0);  // no menu
  t.Word(0);  // default class
  t.Text(title.c_str());
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_LEFT, 7, 7, 160, 40, kPromptId, 0x0082, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 173, 7, 50, 14, IDOK, 0x0080, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 173, 25, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 58, 216, 14, kEditId, 0x0081, L"");
  BoxState state{&prompt, anchor, {}};
  const INT_PTR result = ::DialogBoxIndirectParamW(win32::ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), owner,
                                                   &InputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.answer;
}

}  // namespace pravik::controls::pickbox
