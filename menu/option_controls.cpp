#include "menu/option_controls.h"

#include <commctrl.h>

#include "core/geometry/rounding.h"
#include "menu/menu_element.h"
#include "win32/app_error.h"

namespace pravik::menu {

namespace {

constexpr const wchar_t* kThemes[] = {L"Auto", L"Classic", L"Blue", L"HomeStead", L"Metallic", L"None"};

}  // namespace

OptionControls::OptionControls() = default;

OptionControls::~OptionControls() = default;

HWND OptionControls::item(Id id) const noexcept {
  if (id == kCommand5) return command5_;
  if (id == kPbPath) return pbPath_.hwnd();
  return ::GetDlgItem(hwnd(), id);
}

HWND OptionControls::Add(const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h,
                         HWND parent) {
  HWND control = ::CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent ? parent : hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32::ThisModule(), nullptr);
  if (!control) return nullptr;
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (style & WS_TABSTOP) HookTab(control);
  return control;
}

void OptionControls::FollowMenu() {
  ::SetWindowPos(hwnd(), nullptr, core::geometry::TwipsToPixels(kLeftTwips, MenuTwipsPerPixel.x), 0, 320,
                 core::menu::MenuPixels(MenuTwipsPerPixel).height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool OptionControls::Create(HWND menuWindow, HWND mainPanel, controls::browse::FolderTree* tree, std::function<void()> applyRoot) {
  menu_ = menuWindow;
  tree_ = tree;
  applyRoot_ = std::move(applyRoot);
  font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!Window::Create(L"PravikMenuOptions", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                      core::geometry::TwipsToPixels(kLeftTwips, MenuTwipsPerPixel.x), 0, 320,
                      core::menu::MenuPixels(MenuTwipsPerPixel).height, menuWindow, nullptr, ::GetSysColorBrush(COLOR_BTNFACE))) {
    return false;
  }
  const DWORD label = WS_VISIBLE | SS_LEFT;
  const DWORD check = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
  Add(L"STATIC", L" - System Folder Browser UserControl", label, kHeader0, 8, 8, 300, 16);
  Add(L"STATIC", L"ucBrowse", label, kHeader1, 8, 26, 140, 16);
  Add(L"STATIC", L"ucBrowse", label, kHeader2, 160, 26, 140, 16);
  Add(L"BUTTON", L"CheckBoxes (Design Only)", check, kChkCheckBoxes, 8, 48, 200, 18);
  Add(L"BUTTON", L"FullRowSelect", check, kChkFullRowSelect, 8, 68, 200, 18);
  Add(L"BUTTON", L"HasButtons", check, kChkHasButtons, 8, 88, 200, 18);
  Add(L"BUTTON", L"HasLines", check, kChkHasLines, 8, 108, 200, 18);
  Add(L"BUTTON", L"HideSelection", check, kChkHideSelection, 8, 128, 200, 18);
  Add(L"BUTTON", L"HotTracking", check, kChkHotTracking, 8, 148, 200, 18);
  ::SendMessageW(item(kChkFullRowSelect), BM_SETCHECK, BST_CHECKED, 0);
  Add(L"STATIC", L"Theme:", label, kLblTheme, 8, 174, 60, 16);
  Add(L"COMBOBOX", L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kCmbTheme, 72, 170, 150, 160);
  Add(L"BUTTON", L"Appearance:", WS_VISIBLE | BS_GROUPBOX, kFmAppearance, 8, 198, 214, 42);
  Add(L"BUTTON", L"Flat", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kOptionFlat, 18, 214, 80, 18);
  Add(L"BUTTON", L"3D", WS_VISIBLE | BS_AUTORADIOBUTTON, kOption3D, 110, 214, 80, 18);
  Add(L"STATIC", L"Path:", label, kLblPath, 8, 252, 60, 16);
  // pbPath: stored extent 4683 x 556 HIMETRIC, about 177 x 21 pixels.
  if (!pbPath_.Create(hwnd(), kPbPath, 72, 248, 177, 21)) return false;
  for (auto part : {controls::pickbox::PickBox::kTextId, controls::pickbox::PickBox::kPickId}) {
    HookTab(pbPath_.part(part));
  }
  pbPath_.onClick = [this] {
    if (tree_) tree_->SetPath(pbPath_.Path());
  };
  Add(L"BUTTON", L"Apply", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand4, 8, 280, 70, 24);
  Add(L"BUTTON", L"Stop", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand2, 84, 280, 70, 24);
  Add(L"BUTTON", L"Reset", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand3, 160, 280, 70, 24);
  Add(L"BUTTON", L"More...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCommand1, 236, 280, 70, 24);
  Add(L"STATIC", L"TreeView Status:", label, kLabel1, 8, 316, 120, 16);
  Add(L"STATIC", L"Returned Path:", label, kLabel2, 8, 336, 120, 16);
  Add(L"STATIC", L"", label | SS_PATHELLIPSIS, kLblActivePath, 8, 356, 300, 16);
  Add(L"STATIC", L"Root:", label, kLabel3, 8, 376, 120, 16);
  Add(L"STATIC", L"", SS_LEFT, kLblLogOnName, 8, 396, 120, 16);  // hidden, no caption
  // Command5 lies in the main panel, hidden and never shown.
  command5_ = Add(L"BUTTON", L"임시종료", BS_PUSHBUTTON, kCommand5, 312, 2, 57, 21, mainPanel ? mainPanel : menuWindow);
  return true;
}

void OptionControls::FillThemeList() {
  HWND list = item(kCmbTheme);
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const wchar_t* name : kThemes) ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  ::SendMessageW(list, CB_SETCURSEL, 0, 0);
  OnThemeChosen();  // a selection made in code raises the click as a user's choice does
}

void OptionControls::MatchTreeAppearance() {
  const int appearance = tree_ ? tree_->Appearance() : 0;
  ::CheckRadioButton(hwnd(), kOptionFlat, kOption3D, appearance == 0 ? kOptionFlat : kOption3D);
  if (tree_) tree_->SetAppearance(appearance == 0 ? 0 : 1);
  pbPath_.SetDialogType(core::pickbox::kFolder);
  ::EnableWindow(item(kChkCheckBoxes), FALSE);
}

void OptionControls::ApplyCheckBoxesToTree() {
  if (!tree_) return;
  tree_->SetCheckBoxes(Checked(kChkCheckBoxes));
  tree_->SetFullRowSelect(Checked(kChkFullRowSelect));
  tree_->SetHasButtons(Checked(kChkHasButtons));
  tree_->SetHasLines(Checked(kChkHasLines));
  tree_->SetHideSelection(Checked(kChkHideSelection));
  tree_->SetHotTracking(Checked(kChkHotTracking));
}

void OptionControls::SetActivePath(const std::wstring& path) { ::SetWindowTextW(item(kLblActivePath), path.c_str()); }

bool OptionControls::Checked(int id) const {
  return ::SendMessageW(::GetDlgItem(hwnd(), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionControls::OnThemeChosen() {
  const LRESULT index = ::SendMessageW(item(kCmbTheme), CB_GETCURSEL, 0, 0);
  if (index < 0) return;
  const auto theme = static_cast<std::int32_t>(index);
  if (tree_) {
    tree_->SetTheme(theme);
    ::CheckRadioButton(hwnd(), kOptionFlat, kOption3D, tree_->Appearance() == 0 ? kOptionFlat : kOption3D);
  }
  pbPath_.SetTheme(theme);
}

void OptionControls::OnCheckBox(int id) {
  if (!tree_) return;
  const bool on = Checked(id);
  switch (id) {
    case kChkFullRowSelect: tree_->SetFullRowSelect(on); break;
    case kChkHasButtons: tree_->SetHasButtons(on); break;
    case kChkHasLines: tree_->SetHasLines(on); break;
    case kChkHideSelection: tree_->SetHideSelection(on); break;
    case kChkHotTracking: tree_->SetHotTracking(on); break;
    case kChkCheckBoxes: tree_->SetCheckBoxes(on); break;
    default: break;
  }
}

void OptionControls::OnCommand(int id, int code) {
  if (code == CBN_SELCHANGE && id == kCmbTheme) {
    OnThemeChosen();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kChkCheckBoxes:
    case kChkFullRowSelect:
    case kChkHasButtons:
    case kChkHasLines:
    case kChkHideSelection:
    case kChkHotTracking:
      OnCheckBox(id);
      break;
    case kOptionFlat:
    case kOption3D:
      if (tree_) tree_->SetAppearance(id == kOptionFlat ? 0 : 1);
      break;
    case kCommand4:
      if (applyRoot_) applyRoot_();
      break;
    case kCommand2:
      if (tree_) tree_->CloseUp();
      break;
    case kCommand1:
      if (!multiples_ || !::IsWindow(multiples_->hwnd())) {
        multiples_ = std::make_unique<win32::Instance<MultiplesWindow>>();
        if (!multiples_->Load()) return;
      }
      multiples_->Show();
      break;
    default:  // Command3 "Reset" does nothing
      break;
  }
}

LRESULT OptionControls::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    win32::RunHandler([&] { OnCommand(LOWORD(wParam), HIWORD(wParam)); });
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void OptionControls::HookTab(HWND control) {
  auto hook = std::make_unique<win32::WindowHook>();
  hook->Install(
      control,
      [control](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_KEYDOWN && wParam == VK_TAB) {
          // The program's loop has no dialog manager: step through the menu window's tab stops here.
          HWND root = ::GetAncestor(control, GA_ROOT);
          const bool back = ::GetKeyState(VK_SHIFT) < 0;
          if (HWND next = ::GetNextDlgTabItem(root, control, back ? TRUE : FALSE)) ::SetFocus(next);
          result = 0;
          return true;
        }
        result = 0;
        return message == WM_CHAR && wParam == L'\t';  // no beep, no tab character
      },
      [](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_GETDLGCODE && wParam == VK_TAB) result |= DLGC_WANTTAB;
      });
  tabHooks_.push_back(std::move(hook));
}

}  // namespace pravik::menu
