#include "menu/start_menu_window.h"

#include <oleacc.h>
#include <shellapi.h>

#include <cmath>

#include "core/geometry/rounding.h"
#include "drawing/png_skin.h"
#include "controllib/quessel_interface.h"
#include "core/menu/picked_path.h"
#include "core/menu/power_menu.h"
#include "core/menu/root_table.h"
#include "menu/accessible_element.h"
#include "menu/start_menu_parts.h"
#include "menu/web_panel.h"
#include "win32/app_error.h"
#include "win32/launch.h"
#include "win32/paths.h"

namespace pravik::menu {

bool MenuVisible = false;

namespace {

constexpr UINT_PTR kTimId = 1;
constexpr UINT_PTR kIndexTimerId = 2;
constexpr UINT_PTR kNoticePollId = 3;
constexpr UINT_PTR kWebPanelTimerId = 4;
// The search's catalog is built this long after load, off the start-up path (or at the first show).
constexpr UINT kIndexDelayMs = 3000;
constexpr UINT kNoticePollMs = 100;
constexpr UINT kCommandDone = WM_APP + 0x40;
constexpr UINT kSearchCatalogReady = WM_APP + 0x41;
constexpr UINT kForegroundChanged = WM_APP + 0x42;
constexpr wchar_t kProgramsTreeName[] = L"프로그램 목록";
constexpr DISPID kForegroundWindowFileName = DISPID_QUESSEL_FOREGROUNDWINDOW_FILENAME;

// Every window that used one font gets another.
struct FontSwap {
  HFONT from, to;
};
BOOL CALLBACK SwapFont(HWND child, LPARAM data) {
  const auto* swap = reinterpret_cast<const FontSwap*>(data);
  if (reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == swap->from)
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(swap->to), TRUE);
  return TRUE;
}

// The root selector's height with its list dropped: 400 pixels at 100 %.
int ListHeight() { return core::geometry::TwipsToPixels(6000, MenuTwipsPerPixel.y); }

enum ElementId : int {
  kPicTitle = 100, kPicLogon, kCmbRoot, kFramMain, kPicture1, kFrame4, kFrame1, kUcBrowse1,
};

// The twelve skins, in the order they are loaded.
struct Skin {
  std::wstring_view box;
  const wchar_t* file;
  bool fit;
};
constexpr Skin kSkins[] = {
    {L"PicDoc", L"RightMenuDoc.png", false},         {L"PicPicture", L"RightMenuPicture.png", false},
    {L"PicMusic", L"RightMenuMusic.png", false},     {L"PicGame", L"RightMenuGame.png", true},
    {L"PicComputer", L"RightMenuComputer.png", false}, {L"PicControls", L"RightMenuControls.png", false},
    {L"PicPrint", L"RightMenuPrint.png", true},      {L"PicHelp", L"RightMenuHelp.png", true},
    {L"PicTitle", L"Title.png", false},              {L"picExe", L"Exe.png", false},
    {L"PicLogon", L"Noimage.png", false},            {L"picShortMenu", L"button1.png", false},
};

std::wstring SkinPath(const std::wstring& programFolder, const Skin& skin) {
  return drawing::FindScaledSkin(programFolder + L"\\Graphics", skin.file, MenuTwipsPerPixel.x).path;
}

// The programs tree as stored with the window: the shared Programs folder with its shortcuts.
core::propbag::PropertyBag StoredProgramsTree() {
  core::propbag::PropertyBag bag;
  bag.Set(L"Root", std::int32_t{23});
  bag.Set(L"FolderFlags", std::int32_t{core::browse::kFolderFlagsIncludeFiles});
  bag.Set(L"Appearance", std::int32_t{0});
  bag.Set(L"FullRowSelect", true);
  bag.Set(L"HasButtons", false);
  bag.Set(L"HideSelection", false);
  bag.Set(L"HotTracking", false);
  return bag;
}

}  // namespace

void CheckMenuSkins(const std::wstring& programFolder) {
  for (const Skin& skin : kSkins) drawing::CheckSkinFile(SkinPath(programFolder, skin));
}

StartMenuWindow::StartMenuWindow() : tim_(kTimId) {}

StartMenuWindow::~StartMenuWindow() = default;

void StartMenuWindow::Load(HWND owner) {
  // Borderless, black background, 7050 x 8925 twips (470 x 595 pixels at 100 %); no taskbar entry.
  const auto size = core::menu::MenuPixels(MenuTwipsPerPixel);
  Create(L"PravikStartMenu", L"Pravik", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, 0, 0,
         size.width, size.height, owner, nullptr, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  tim_.Attach(hwnd(), kForegroundChanged);
  if (skinFolder_.empty()) skinFolder_ = win32::ProgramFolder();
  ownName_ = core::menu::OwnForegroundName(win32::ModulePath());
  if (!foregroundQuery_) {
    quessel1_ = std::make_unique<win32::LateBoundObject>(L"QuesselControl.Quessel");
    if (quessel1_->empty())
      throw win32::AppError(429, L"Pravik",
                          L"The Quessel control library (QuesselControl.Quessel) is not registered. Reinstall Pravik.");
    foregroundQuery_ = [this] { return quessel1_->CallText(kForegroundWindowFileName); };
  }
  CreateElements();
  Form_Load();
}

win32::PictureBox& StartMenuWindow::AddPicture(std::wstring_view name, HWND container, int id, COLORREF back) {
  const auto r = Px(name);
  auto box = std::make_unique<win32::Instance<win32::PictureBox>>();
  box->Create(container, id, r.left, r.top, r.width, r.height, back);
  PlaceLast(box->hwnd());
  elements_[std::wstring(name)] = box->hwnd();
  pictures_.push_back(std::move(box));
  return *pictures_.back();
}

void StartMenuWindow::CreateElements() {
  MakeFont();
  pointer_ = ::LoadCursorW(nullptr, IDC_HAND);

  AddPicture(L"PicTitle", hwnd(), kPicTitle);
  AddPicture(L"PicLogon", hwnd(), kPicLogon).SetCursor(pointer_);
  const auto c = Px(L"cmbRoot");
  // The list drops below the box; the box's own height comes from its font.
  cmbRoot_ = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               c.left, c.top, c.width, ListHeight(), hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCmbRoot)),
                               win32::ThisModule(), nullptr);
  ::SendMessageW(cmbRoot_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  PlaceLast(cmbRoot_);
  elements_[L"cmbRoot"] = cmbRoot_;
  win32::PictureBox& framMain = AddPicture(L"FramMain", hwnd(), kFramMain);
  MakeControlParent(framMain.hwnd());

  const auto run = [this](std::wstring_view command) { RunCommand(command); };
  shortcuts_.Create(framMain.hwnd(), font_.get(), pointer_, run, elements_);
  power_.Create(framMain.hwnd(), hwnd(), pointer_, run, elements_);
  AddPicture(L"Picture1", framMain.hwnd(), kPicture1);
  AddPicture(L"Frame4", framMain.hwnd(), kFrame4);
  win32::PictureBox& frame1 = AddPicture(L"Frame1", framMain.hwnd(), kFrame1);
  MakeControlParent(frame1.hwnd());
  const auto t = Px(L"ucBrowse1");
  ucBrowse1_.onPathChange = [this](const std::wstring& path) { ucBrowse1_PathChange(path); };
  ucBrowse1_.onActivate = [this](const std::wstring& path) { OpenPicked(path); };
  ucBrowse1_.onTreeAdopted = [this](HWND tree) {
    DescribeAccessibly(tree, {kProgramsTreeName, ROLE_SYSTEM_OUTLINE, STATE_SYSTEM_FOCUSABLE});
    ScaleTreeFont();
    // A fresh tree while the menu shows (a root change, a lost dialog): the keyboard stays.
    if (::IsWindowVisible(hwnd()) && !::GetFocus()) ::SetFocus(tree);
  };
  ucBrowse1_.Create(frame1.hwnd(), kUcBrowse1, t.left, t.top, t.width, t.height, StoredProgramsTree());
  elements_[L"ucBrowse1"] = ucBrowse1_.hwnd();
  runBox_.Create(framMain.hwnd(), font_.get(), pointer_, run, elements_);
  search_.Create(hwnd(), frame1.hwnd(), ucBrowse1_.hwnd(), font_.get(), kSearchCatalogReady, elements_);
  runBox_.onTextChange = [this](const std::wstring& text) { search_.TextChanged(text); };
  runBox_.onSubmit = [this](const std::wstring& text) { return search_.Submit(text); };
  runBox_.onDown = [this] { return search_.EnterList(); };
  search_.onBackToBox = [this] { ::SetFocus(runBox_.txtExe()); };
  search_.onRunAsCommand = [this] { runBox_.RunAsCommand(); };
  search_.onStarted = [this] {
    runBox_.Clear();
    HideMenu();
  };
  // The shutdown button overlaps nothing, so it can lie last (Tab keeps its own order, TabOrder).
  PlaceLast(Element(L"zqbutton1"));

  parts_ = std::make_unique<StartMenuParts>();
  parts_->AttachTitleLink(Element(L"PicTitle"));
  if (parts_->titleLink()) elements_[L"lblLink"] = parts_->titleLink()->hwnd();
  parts_->CreateOptions(hwnd(), framMain.hwnd(), &ucBrowse1_, [this] { ApplyRoot(); });
  dialogKeys_.Install(hwnd(), [this] { return TabOrder(); });
}

void StartMenuWindow::MakeFont() {
  // 9 points: 12 pixels at 100 %, following the menu's scale.
  font_.reset(::CreateFontW(-core::geometry::TwipsToPixels(180, MenuTwipsPerPixel.y), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH, L"Malgun Gothic"));
}

void StartMenuWindow::Rescale(core::geometry::TwipsPerPixel scale) {
  if (scale == MenuTwipsPerPixel) return;
  MenuTwipsPerPixel = scale;
  LayOut();
}

void StartMenuWindow::LayOut() {
  const auto size = core::menu::MenuPixels(MenuTwipsPerPixel);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  power_.FollowScale();
  // Every named element from its own row of the table, relative to its container.
  for (const auto& [name, element] : elements_) {
    if (!core::menu::FindLayout(name)) continue;
    const auto r = Px(name);
    ::SetWindowPos(element, nullptr, r.left, r.top, r.width, element == cmbRoot_ ? ListHeight() : r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The new font to every element that used the old one, before the old one goes.
  win32::Font old(font_.release());
  MakeFont();
  FontSwap swap{old.get(), font_.get()};
  ::EnumChildWindows(hwnd(), SwapFont, reinterpret_cast<LPARAM>(&swap));
  ScaleTreeFont();
  search_.Place(Px(L"ucBrowse1"));
  LoadSkins();
  if (parts_) parts_->LayOut();
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void StartMenuWindow::ScaleTreeFont() {
  const HWND tree = ucBrowse1_.TreeWindow();
  if (!tree) return;
  // The tree comes with the folder dialog's font, made for the system's scale: in a menu drawn
  // at another scale (shrunk to fit, a new monitor's) it is resized by the same ratio.
  if (!treeFontBase_) {
    LOGFONTW base{};
    auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(tree, WM_GETFONT, 0, 0));
    if (!font) font = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!::GetObjectW(font, sizeof(base), &base)) return;
    treeFontBase_ = base;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  const double ratio = core::geometry::TwipsPerPixelAt(dpi, dpi).y / MenuTwipsPerPixel.y;
  if (std::abs(ratio - 1.0) < 0.01 && !treeFont_) return;  // drawn for this scale: left as it is
  LOGFONTW scaled = *treeFontBase_;
  scaled.lfHeight = static_cast<LONG>(std::lround(scaled.lfHeight * ratio));
  win32::Font font(::CreateFontIndirectW(&scaled));
  if (!font) return;
  ::SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  treeFont_ = std::move(font);
}

std::vector<HWND> StartMenuWindow::TabOrder() {
  // The visible elements only, as they read: root selector, tree, shortcut column, run box and
  // its arrow, title link, shutdown button, power arrow. The off-screen options are left out; the
  // search results stand where the tree stands (one of the two is hidden).
  const HWND tree = ucBrowse1_.TreeWindow() ? ucBrowse1_.TreeWindow() : ucBrowse1_.hwnd();
  return {cmbRoot_, tree, search_.listBox(), shortcuts_.focusTarget(), runBox_.txtExe(), runBox_.picExe().hwnd(),
          parts_ && parts_->titleLink() ? parts_->titleLink()->hwnd() : nullptr, Element(L"zqbutton1"),
          Element(L"picShortMenu")};
}

void StartMenuWindow::LoadSkins() {
  for (const Skin& skin : kSkins) {
    win32::PictureBox* box = nullptr;
    for (auto& p : pictures_)
      if (p->hwnd() == Element(skin.box)) box = p.get();
    for (int row = 0; row < core::menu::kShortcutCount && !box; ++row)
      if (shortcuts_.icon(row).hwnd() == Element(skin.box)) box = &shortcuts_.icon(row);
    if (!box && skin.box == L"picExe") box = &runBox_.picExe();
    if (!box && skin.box == L"picShortMenu") box = &power_.picShortMenu();
    if (box)
      drawing::LoadScaledSkin(skinFolder_ + L"\\Graphics", skin.file, *box, skin.fit, MenuTwipsPerPixel.x);
  }
}

void StartMenuWindow::Form_Load() {
  // 1. Skins; a failure raises error 999 and ends the start-up.
  LoadSkins();
  // 2.
  runners_ = std::make_unique<CommandRunners>(hwnd(), kCommandDone);
  // 3. The web panel and its remote address. Nothing waits on the fetch: the panel fills in when
  // the answer is in (checked only while it is pending), so a click never waits on the network.
  parts_->BeginNotice(Element(L"FramMain"), Px(L"Picture2").left, Px(L"Picture2").top);
  if (!parts_->PollNotice()) ::SetTimer(hwnd(), kNoticePollId, kNoticePollMs, nullptr);
  if (parts_->webPanel()) elements_[L"Picture2"] = parts_->webPanel()->picture();
  // 4. The focus watcher runs from load on, while the window is still hidden.
  tim_.Start();
  // 5.
  parts_->AttachShadow(hwnd());
  // 6-11. Filling the lists must not rebuild the tree.
  loading_ = true;
  parts_->FillThemeList();
  for (const auto& choice : core::menu::kRootTable)
    ::SendMessageW(cmbRoot_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(choice.caption).c_str()));
  ::SendMessageW(cmbRoot_, CB_SETCURSEL, 0, 0);
  cmbRoot_Click();  // selecting raises the selector's click, as a choice by the user does
  parts_->MatchTreeAppearance();
  parts_->ApplyCheckBoxesToTree();
  loading_ = false;
  ::SetTimer(hwnd(), kIndexTimerId, kIndexDelayMs, nullptr);
}

void StartMenuWindow::ShowModeless() {
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(runBox_.txtExe());
  search_.StartIndexing();
  // The web panel's browser control at the first showing, once the menu has been painted (a timer
  // comes after the paint): the menu opens at once and the panel fills in after.
  if (!webPanelAsked_) {
    webPanelAsked_ = true;
    ::SetTimer(hwnd(), kWebPanelTimerId, USER_TIMER_MINIMUM, nullptr);
  }
}

void StartMenuWindow::Hide() { ::ShowWindow(hwnd(), SW_HIDE); }

void StartMenuWindow::HideMenu() {
  MenuVisible = false;
  Hide();
}

void StartMenuWindow::PrepareEnd() noexcept {
  tim_.Stop();
  Hide();
  runners_.reset();
  ucBrowse1_.Shutdown();
}

void StartMenuWindow::Cancel() {
  // Esc closes the open root list first, the menu only then.
  if (::SendMessageW(cmbRoot_, CB_GETDROPPEDSTATE, 0, 0)) {
    ::SendMessageW(cmbRoot_, CB_SHOWDROPDOWN, FALSE, 0);
    return;
  }
  // Then the typed text (the tree comes back), the keyboard staying in the run box.
  if (!runBox_.Text().empty()) {
    runBox_.Clear();
    ::SetFocus(runBox_.txtExe());
    return;
  }
  HideMenu();
}

void StartMenuWindow::MoveAndSize(int left, int top, int width, int height) {
  ::MoveWindow(hwnd(), left, top, width, height, TRUE);
}

HWND StartMenuWindow::Element(std::wstring_view name) const {
  const auto it = elements_.find(name);
  return it == elements_.end() ? nullptr : it->second;
}

void StartMenuWindow::RunCommand(std::wstring_view command) {
  // Each command on a runner of its own, collected in the background. The result and the
  // runner's error are not looked at: nothing is reported to the user but a full house or a
  // refusal to start with administrator rights. The fixed lines name %SystemRoot%, %userprofile%
  // and programs on the search path: resolved from system values only. What the user typed keeps
  // the user's own environment.
  if (runners_) (void)runners_->Run(command, core::menu::kCommandPrefix, core::menu::IsFixedCommand(command));
}

void StartMenuWindow::Tim_Timer() {
  // A copy: the question may wait on another thread's window, and a message handled meanwhile may
  // put another question in its place.
  const ForegroundQuery query = foregroundQuery_;
  const std::optional<std::wstring> inFront = query ? query() : std::nullopt;
  if (!inFront) throw win32::AppError(440, L"Quessel", L"Automation error: cForegroundWindow_FileName failed");
  if (core::menu::IsOwnProgramInFront(*inFront, ownName_)) return;
  Hide();
  MenuVisible = false;
  tim_.Stop();
}

void StartMenuWindow::Form_LostFocus(HWND gainingFocus) {
  // Focus moving on within this program (an element, the tree's hidden dialog, the power popup)
  // is no loss; the focus watcher decides about other programs.
  DWORD pid = 0;
  if (gainingFocus) ::GetWindowThreadProcessId(gainingFocus, &pid);
  if (pid == ::GetCurrentProcessId()) return;
  HideMenu();
}

void StartMenuWindow::cmbRoot_Click() {
  ApplyRoot();
  if (::IsWindowVisible(hwnd())) ::SetFocus(ucBrowse1_.hwnd());
}

void StartMenuWindow::ApplyRoot() {
  if (loading_) return;
  ucBrowse1_.CloseUp();
  const auto index = static_cast<int>(::SendMessageW(cmbRoot_, CB_GETCURSEL, 0, 0));
  const auto root = core::menu::RootForIndex(index);
  if (!root) return;
  // The tree closes its view now and opens the new one once control is back in its loop.
  ucBrowse1_.SetRoot(*root);
}

void StartMenuWindow::ucBrowse1_PathChange(const std::wstring& path) {
  activePath_ = path;
  if (parts_ && parts_->options()) parts_->options()->SetActivePath(path);
  // Walking through the tree with the keys only selects: every program passed on the way would
  // start and take the keyboard away. Enter opens what the keys reached.
  if (ucBrowse1_.LastChangeByKeyboard()) return;
  OpenPicked(path);
}

void StartMenuWindow::OpenPicked(const std::wstring& path) {
  if (!core::menu::ShouldOpenPickedPath(path)) return;
  // With the user's normal rights, in a normal window (show command -1 would reach the started
  // program as its own and leave it invisible), from its own folder; refused when that cannot be had.
  (void)win32::OpenAsUserOrTell(hwnd(), path);
}

void StartMenuWindow::Form_Unload() noexcept {
  ::KillTimer(hwnd(), kNoticePollId);
  ::KillTimer(hwnd(), kWebPanelTimerId);
  dialogKeys_.Remove();
  runners_.reset();
  if (parts_) parts_->Release();
}

LRESULT StartMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimId) {
        Tim_Timer();
        return 0;
      }
      if (wParam == kIndexTimerId) {
        ::KillTimer(hwnd(), kIndexTimerId);
        search_.StartIndexing();
        return 0;
      }
      if (wParam == kNoticePollId) {
        if (!parts_ || parts_->PollNotice()) ::KillTimer(hwnd(), kNoticePollId);
        return 0;
      }
      if (wParam == kWebPanelTimerId) {
        ::KillTimer(hwnd(), kWebPanelTimerId);
        if (parts_) parts_->ShowWebPanel();
        return 0;
      }
      break;
    case kForegroundChanged:
      if (tim_.enabled()) Tim_Timer();
      return 0;
    case WM_ACTIVATEAPP:
      // Another program's window became the active one: the same question as on the foreground
      // event, which some platforms (Wine) do not raise.
      if (!wParam && tim_.enabled()) ::PostMessageW(hwnd(), kForegroundChanged, 0, 0);
      break;
    case kSearchCatalogReady:
      search_.CatalogReady();
      return 0;
    case kCommandDone:
      if (runners_) runners_->Finished(lParam);
      return 0;
    case WM_CLOSE:
      // Alt+F4, the system menu's Close, a close request: hidden, never destroyed.
      HideMenu();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
        Cancel();
        return 0;
      }
      if (reinterpret_cast<HWND>(lParam) == cmbRoot_ && cmbRoot_ && HIWORD(wParam) == CBN_SELCHANGE) {
        cmbRoot_Click();
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      Form_LostFocus(reinterpret_cast<HWND>(wParam));
      break;
    case WM_ACTIVATE:
      // Like a dialog: the keyboard goes back to the element that had it (the run box at first),
      // never to the bare window where typing would go nowhere.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
        return 0;
      }
      if (!::IsChild(hwnd(), ::GetFocus()))
        ::SetFocus(lastFocus_ && ::IsWindow(lastFocus_) && ::IsWindowVisible(lastFocus_) ? lastFocus_ : runBox_.txtExe());
      return 0;
    case WM_DESTROY:
      Form_Unload();
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::menu
