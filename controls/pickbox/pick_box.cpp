#include "controls/pickbox/pick_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/pickbox/pick_dialogs.h"
#include "controls/pickbox/pick_helpers.h"
#include "core/pickbox/pick_paths.h"
#include "win32/app_error.h"

namespace pravik::controls::pickbox {

namespace {

constexpr wchar_t kBoxTitle[] = L"ucPickBox";

double TwipsPerPixel(int axis) {
  win32::WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), axis) : 96;
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

COLORREF Plain(std::uint32_t color) {
  const std::uint32_t translated = TranslateColor(color);
  return translated == 0xFFFFFFFFu ? RGB(255, 255, 255) : translated;
}

int ShiftState() {
  return ((::GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((::GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
         ((::GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

}  // namespace

PickBox::PickBox() { core::pickbox::Reset(settings_); }

PickBox::~PickBox() = default;

bool PickBox::Create(HWND parent, int id, int x, int y, int width, int height) {
  if (!Window::Create(L"PravikPickBox", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                      WS_EX_CONTROLPARENT, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, ::LoadCursorW(nullptr, IDC_ARROW))) {
    return false;
  }
  const HINSTANCE instance = win32::ThisModule();
  auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, int partId) {
    return ::CreateWindowExW(ex, cls, text, WS_CHILD | style, 0, 0, 0, 0, hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(partId)), instance, nullptr);
  };
  text_ = child(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, kTextId);
  cmdPick_ = child(L"BUTTON", L"...", WS_TABSTOP | BS_PUSHBUTTON, 0, kPickId);
  cmdDrop_ = child(L"BUTTON", L"v", WS_TABSTOP | BS_PUSHBUTTON, 0, kDropId);
  list_ = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, kListId);
  if (!text_ || !cmdPick_ || !cmdDrop_ || !list_) return false;
  if (!pbPick_.Create(hwnd(), kPickImageId, Glyph::kEllipsis) || !pbDrop_.Create(hwnd(), kDropImageId, Glyph::kArrow)) {
    return false;
  }
  textHook_.Install(text_, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    OnTextMessage(message, wParam, lParam);
    return false;
  });
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
  }
  for (HWND part : {text_, cmdPick_, cmdDrop_, list_}) {
    ::SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  pbPick_.onClick = [this] { PickClick(); };
  pbDrop_.onClick = [this] { OnDropClick(); };
  for (LookButton* button : {&pbPick_, &pbDrop_}) {
    button->onMouseEnter = [this] { if (onMouseEnter) onMouseEnter(); };
    button->onMouseLeave = [this] { if (onMouseLeave) onMouseLeave(); };
    button->onMouseMove = [this](const win32::MouseEventArgs& a) { if (onMouseMove) onMouseMove(a); };
    button->onMouseUp = [this](const win32::MouseEventArgs& a) { if (onMouseUp) onMouseUp(a); };
  }
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance, nullptr);
  Refresh();
  ShowPrompt();
  return true;
}

void PickBox::ReadProperties(const core::propbag::PropertyBag& bag) {
  settings_ = core::pickbox::ReadSettings(bag);
  if (hwnd()) {
    Refresh();
    ShowPrompt();
  }
}

void PickBox::WriteProperties(core::propbag::PropertyBag& bag) const { core::pickbox::WriteSettings(settings_, bag); }

HWND PickBox::Host() const noexcept { return ::GetAncestor(hwnd(), GA_ROOT); }

void PickBox::Changed() {
  if (onPropertyChanged) onPropertyChanged();
}

void PickBox::Change(const std::function<void(core::pickbox::Settings&)>& change) {
  change(settings_);
  settings_.dialogType = core::pickbox::ClampDialogType(settings_.dialogType);
  Changed();
  Refresh();
}

void PickBox::SetDialogType(std::int32_t value) {
  settings_.dialogType = core::pickbox::ClampDialogType(value);
  // A new kind of choice: the list of a former multi-file open goes.
  dropShown_ = false;
  fileNames_.clear();
  if (list_) ::SendMessageW(list_, CB_RESETCONTENT, 0, 0);
  Changed();
  Refresh();
  ShowPrompt();
}

void PickBox::SetTheme(std::int32_t value) {
  settings_.theme = value;
  Changed();
  Refresh();
}

void PickBox::SetPath(const std::wstring& value) {
  settings_.path = value;
  Changed();
  if (settings_.useDialogText && !value.empty()) SetText(TrimmedForDisplay(value));
}

void PickBox::SetColor(std::uint32_t value) {
  settings_.color = value;
  Changed();
  Refresh();
}

void PickBox::SetEnabled(bool value) {
  settings_.enabled = value;
  Changed();
  Refresh();
}

std::wstring PickBox::FileName(std::int32_t index) const {
  if (index < 1 || index > FileCount()) return {};
  return fileNames_[static_cast<std::size_t>(index - 1)];
}

std::wstring PickBox::Text() const {
  if (!text_) return {};
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(text_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(text_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PickBox::SetText(const std::wstring& text) {
  if (text_) ::SetWindowTextW(text_, text.c_str());
}

void PickBox::ShowPrompt() {
  if (!settings_.useDialogText) return;
  const auto type = static_cast<std::size_t>(settings_.dialogType);
  if (type == core::pickbox::kFolder && !settings_.path.empty()) {
    SetText(TrimmedForDisplay(settings_.path));
  } else {
    SetText(settings_.dialogMsg[type]);
  }
}

std::wstring PickBox::TrimmedForDisplay(const std::wstring& path) const {
  RECT box{}, pick{};
  ::GetWindowRect(text_, &box);
  ::GetWindowRect(cmdPick_, &pick);
  const int width = core::pickbox::ShownPathWidth(box.right - box.left, pick.right - pick.left, TwipsPerPixel(LOGPIXELSX));
  return TrimPathByLen(path, width, L"...", L"MS Sans Serif", 8);
}

void PickBox::Refresh() {
  if (!hwnd()) return;
  look_ = core::pickbox::ResolveLook(settings_.theme, settings_.theme == 0 ? CurrentColorScheme() : std::wstring());
  ApplyLook();
  LayOut();
  ::EnableWindow(text_, settings_.enabled);
  for (HWND part : {cmdPick_, cmdDrop_, pbPick_.hwnd(), pbDrop_.hwnd()}) ::EnableWindow(part, settings_.enabled);
  textBack_.reset(::CreateSolidBrush(Plain(settings_.backColor)));
  UpdateToolTip();
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::InvalidateRect(text_, nullptr, TRUE);
}

void PickBox::Reset() {
  core::pickbox::Reset(settings_);
  fileNames_.clear();
  Changed();
  Refresh();
  ShowPrompt();
}

void PickBox::ApplyLook() {
  // Classic: the platform's push buttons with Appearance; image looks: our pictures inside the
  // border shape on white; None: the border shape alone.
  LONG_PTR ex = ::GetWindowLongPtrW(text_, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
  LONG_PTR style = ::GetWindowLongPtrW(text_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
  if (look_ == core::pickbox::Look::kClassic) {
    if (settings_.appearance == 1) {
      ex |= WS_EX_CLIENTEDGE;
    } else {
      style |= WS_BORDER;
    }
  }
  ::SetWindowLongPtrW(text_, GWL_EXSTYLE, ex);
  ::SetWindowLongPtrW(text_, GWL_STYLE, style);
  ::SetWindowPos(text_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  pbPick_.SetLook(look_);
  pbDrop_.SetLook(look_);
}

void PickBox::LayOut() {
  RECT rect{};
  ::GetWindowRect(hwnd(), &rect);
  const core::pickbox::Layout layout = core::pickbox::ComputeLayout(rect.right - rect.left, TwipsPerPixel(LOGPIXELSX), TwipsPerPixel(LOGPIXELSY),
                                      dropShown_);
  if (rect.right - rect.left != layout.width || rect.bottom - rect.top != layout.height) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, layout.width, layout.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const bool classic = look_ == core::pickbox::Look::kClassic;
  const bool images = look_ == core::pickbox::Look::kBlue || look_ == core::pickbox::Look::kHomeStead || look_ == core::pickbox::Look::kMetallic;
  const int inset = classic ? 0 : 1;  // inside the border shape
  ::MoveWindow(text_, inset, inset, layout.textWidth - inset, layout.height - 2 * inset, TRUE);
  ::MoveWindow(list_, 0, 0, layout.textWidth, layout.height * 8, FALSE);
  ::MoveWindow(cmdPick_, layout.pickLeft, 0, layout.pickWidth, layout.height, TRUE);
  ::MoveWindow(cmdDrop_, layout.dropLeft, 0, std::max(layout.dropWidth, 1), layout.height, TRUE);
  ::MoveWindow(pbPick_.hwnd(), layout.pickLeft, inset, layout.pickWidth - inset, layout.height - 2 * inset, TRUE);
  ::MoveWindow(pbDrop_.hwnd(), layout.dropLeft, inset, std::max(layout.dropWidth, 1), layout.height - 2 * inset, TRUE);
  ::ShowWindow(cmdPick_, classic ? SW_SHOW : SW_HIDE);
  ::ShowWindow(cmdDrop_, classic && dropShown_ ? SW_SHOW : SW_HIDE);
  ::ShowWindow(pbPick_.hwnd(), images ? SW_SHOW : SW_HIDE);
  ::ShowWindow(pbDrop_.hwnd(), images && dropShown_ ? SW_SHOW : SW_HIDE);
}

void PickBox::UpdateToolTip() {
  if (!tip_) return;
  std::wstring& text = settings_.toolTipTexts[static_cast<std::size_t>(settings_.dialogType)];
  for (HWND part : {cmdPick_, pbPick_.hwnd()}) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(part);
    tool.lpszText = text.data();
    ::SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void PickBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (look_ == core::pickbox::Look::kClassic) {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  } else {
    win32::Brush white(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(dc, &client, white.get());
    win32::Brush border(::CreateSolidBrush(BorderColorFor(look_)));
    ::FrameRect(dc, &client, border.get());
  }
  ::EndPaint(hwnd(), &ps);
}

win32::MouseEventArgs PickBox::PointerArgs() const {
  POINT at{};
  ::GetCursorPos(&at);
  ::ScreenToClient(hwnd(), &at);
  win32::MouseEventArgs args;
  args.button = 1;
  args.x = at.x;
  args.y = at.y;
  return args;
}

void PickBox::Show_FolderBrowse() {
  SetDialogType(core::pickbox::kFolder);
  PickClick();
}
void PickBox::Show_Font() {
  SetDialogType(core::pickbox::kFont);
  PickClick();
}
void PickBox::Show_Open() {
  SetDialogType(core::pickbox::kOpen);
  PickClick();
}
void PickBox::Show_Printer() {
  SetDialogType(core::pickbox::kPrinter);
  PickClick();
}
void PickBox::Show_Save() {
  SetDialogType(core::pickbox::kSave);
  PickClick();
}

std::wstring PickBox::ShowFolderBrowse(const std::wstring& title) {
  return BrowseFolder(Host(), title, settings_.folderFlags, settings_.path);
}

void PickBox::ApplyChosenColor(std::uint32_t color) {
  settings_.color = color;
  Changed();
  if (settings_.useDialogText) SetText(core::pickbox::LongToHexColor(color));
  if (settings_.useDialogColor) settings_.backColor = color;
  if (settings_.useAutoForeColor) settings_.foreColor = core::pickbox::InverseTextColor(color);
  textBack_.reset(::CreateSolidBrush(Plain(settings_.backColor)));
  ::InvalidateRect(text_, nullptr, TRUE);
}

void PickBox::TakeFiles(std::vector<std::wstring> files) {
  fileNames_ = std::move(files);
  settings_.path = fileNames_.front();
  Changed();
  ::SendMessageW(list_, CB_RESETCONTENT, 0, 0);
  dropShown_ = fileNames_.size() > 1;
  if (dropShown_) {
    for (const auto& name : fileNames_) ::SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageW(list_, CB_SETCURSEL, 0, 0);
  }
  LayOut();
  if (settings_.useDialogText) SetText(TrimmedForDisplay(fileNames_.front()));
  ::SetFocus(text_);
  if (onPathChanged) onPathChanged();
}

void PickBox::ChooseFiles(bool save) {
  if (!save) {
    auto files = PickOpenFiles(Host(), settings_.filters, settings_.fileFlags, settings_.multiSelect);
    if (!files.empty()) TakeFiles(std::move(files));
    return;
  }
  auto name = PickSaveFile(Host(), settings_.filters, settings_.fileFlags, settings_.defaultExt);
  if (!name) return;
  if (!core::pickbox::HasExtension(*name)) {
    RECT at{};
    ::GetWindowRect(hwnd(), &at);
    const auto answer = InputBox(Host(), L"The File Extension is Missing!\r\nPlease Enter a Valid Extension Below...",
                                 kBoxTitle, POINT{at.left, at.bottom});
    if (!answer || answer->empty()) {
      ::MessageBoxW(Host(),
                    L"     The File Extension is Invalid!\r\n\r\nFile will be saved with \".txt\" extension.",
                    kBoxTitle, MB_OKCANCEL | MB_ICONWARNING);
    }
    *name = core::pickbox::WithExtension(*name, answer.value_or(std::wstring()));
  }
  TakeFiles({*name});
}

void PickBox::PickClick() {
  switch (settings_.dialogType) {
    case core::pickbox::kColor:
      if (auto color = PickColor(Host(), settings_.color, settings_.colorFlags)) {
        ApplyChosenColor(*color);
        ::SetFocus(text_);
        if (onColorChanged) onColorChanged(settings_.color);
      }
      break;
    case core::pickbox::kFolder: {
      const std::wstring folder = ShowFolderBrowse(L"Please Select a Folder:");
      if (!folder.empty()) {
        settings_.path = QualifyPath(folder);
        Changed();
        if (settings_.useDialogText) SetText(TrimmedForDisplay(settings_.path));
      }
      break;
    }
    case core::pickbox::kFont:
      if (auto choice = PickFont(Host(), settings_.font, fontColor_, settings_.fontFlags)) {
        settings_.font = choice->font;
        fontColor_ = choice->color;
        Changed();
        if (onFontChanged) onFontChanged(choice->font.name);
      }
      break;
    case core::pickbox::kOpen:
      ChooseFiles(false);
      break;
    case core::pickbox::kSave:
      ChooseFiles(true);
      break;
    case core::pickbox::kPrinter: {
      // A cancel only reports itself: the text and PrintStatus stay as they were.
      if (!PickPrinter(Host(), settings_.printerFlags)) {
        if (onPrintStatusChanged) onPrintStatusChanged(settings_.printStatusMsg[0]);
        break;
      }
      printStatus_ = true;
      if (settings_.useDialogText) SetText(settings_.printStatusMsg[1]);
      if (onPrintStatusChanged) onPrintStatusChanged(settings_.printStatusMsg[1]);
      break;
    }
    default:
      break;
  }
  // Whatever the dialog's outcome.
  if (onClick) onClick();
  if (onMouseDown) onMouseDown(PointerArgs());
}

void PickBox::Warn(const std::wstring& text) {
  ::MessageBoxW(Host(), text.c_str(), kBoxTitle, MB_OK | MB_ICONWARNING);
}

void PickBox::ValidateTypedText() {
  if (validating_) return;  // the warning box itself moves the focus
  validating_ = true;
  const std::wstring typed = Text();
  const auto type = settings_.dialogType;
  if (type == core::pickbox::kColor) {
    if (typed != settings_.dialogMsg[core::pickbox::kColor]) {
      if (auto color = core::pickbox::ParseTypedColor(typed)) {
        ApplyChosenColor(*color);
      } else {
        Warn(L"The Value Entered is Invalid!");
        SetText(core::pickbox::LongToHexColor(settings_.color));
      }
    }
  } else if (type == core::pickbox::kOpen || type == core::pickbox::kSave) {
    const bool display = typed.find(L"...") != std::wstring::npos || typed == settings_.dialogMsg[static_cast<std::size_t>(type)];
    if (!display && !typed.empty()) {
      if (FileExists(typed)) {
        fileNames_ = {typed};
        Changed();
      } else {
        Warn(L"The Name Entered is Invalid!");
      }
    }
  }
  validating_ = false;
}

void PickBox::OnDropClick() {
  if (onDropClick) onDropClick();
  ::ShowWindow(list_, SW_SHOW);
  ::SetWindowPos(list_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SendMessageW(list_, CB_SHOWDROPDOWN, TRUE, 0);
}

void PickBox::OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (onKeyDown) onKeyDown(static_cast<int>(wParam), ShiftState());
      break;
    case WM_CHAR:
      if (onKeyPress) onKeyPress(static_cast<int>(wParam));
      break;
    case WM_KEYUP:
      if (onKeyUp) onKeyUp(static_cast<int>(wParam), ShiftState());
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
      win32::MouseEventArgs args;
      args.button = (wParam & MK_LBUTTON) ? 1 : 0;
      args.shift = ShiftState();
      args.x = GET_X_LPARAM(lParam);
      args.y = GET_Y_LPARAM(lParam);
      if (message == WM_LBUTTONDOWN && onMouseDown) onMouseDown(args);
      if (message == WM_LBUTTONUP && onMouseUp) onMouseUp(args);
      if (message == WM_MOUSEMOVE && onMouseMove) onMouseMove(args);
      break;
    }
    default:
      break;
  }
}

LRESULT PickBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      Refresh();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == text_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, Plain(settings_.foreColor));
        ::SetBkColor(dc, Plain(settings_.backColor));
        return reinterpret_cast<LRESULT>(textBack_.get());
      }
      break;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      win32::RunHandler([&] {
        if (id == kPickId && code == BN_CLICKED) PickClick();
        if (id == kDropId && code == BN_CLICKED) OnDropClick();
        if (id == kTextId && code == EN_KILLFOCUS) ValidateTypedText();
        if (id == kListId && code == CBN_CLOSEUP) ::ShowWindow(list_, SW_HIDE);
        if (id == kListId && code == CBN_SELCHANGE) {
          const LRESULT index = ::SendMessageW(list_, CB_GETCURSEL, 0, 0);
          if (index >= 0 && static_cast<std::size_t>(index) < fileNames_.size() && settings_.useDialogText) {
            SetText(TrimmedForDisplay(fileNames_[static_cast<std::size_t>(index)]));
          }
        }
      });
      return 0;
    }
    case WM_SETFOCUS:
      ::SetFocus(text_);
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::controls::pickbox
