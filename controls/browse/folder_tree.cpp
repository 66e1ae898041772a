#include "controls/browse/folder_tree.h"

#include <commctrl.h>
#include <shlobj.h>

#include <vector>

#include "core/browse/border_theme.h"
#include "core/browse/tree_styles.h"
#include "controls/browse/browse_platform.h"
#include "win32/app_error.h"
#include "win32/handles.h"
#include "win32/tree_view.h"

namespace pravik::controls::browse {
namespace {

constexpr UINT kOpenMessage = WM_APP + 0x31;
constexpr UINT kGiveBackActivation = WM_APP + 0x32;
constexpr UINT kGiveBackFocus = WM_APP + 0x33;

// How many dialog loops of folder trees run on this thread, one inside the other.
thread_local int g_dialogLoopDepth = 0;
constexpr UINT kSwpFrameOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// Item lists handed out by the shell's allocator.
struct ItemListTraits {
  using Type = PIDLIST_ABSOLUTE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::CoTaskMemFree(h); }
};
using ItemList = win32::UniqueHandle<ItemListTraits>;

// The special folder's own item list; the dialog takes an item list as its root, never the
// folder's number (Wine's dialog crashes on a number, and it only ever worked by accident).
ItemList RootItemList(std::int32_t csidl) {
  ItemList list;
  if (csidl == 0) return list;  // the desktop: no root item
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, list.put()))) list.reset();
  return list;
}

// The file-system folder at the top of the tree; empty for roots without one (the desktop, the
// computer, whose children are the drives).
std::wstring RootFolderPath(std::int32_t csidl) {
  wchar_t path[MAX_PATH] = {};
  if (csidl == 0 || !::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return L"";
  return path;
}

std::wstring DisplayName(const std::wstring& path) {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME)) return L"";
  return info.szDisplayName;
}

// Selects the item for path by the display names of its pieces below the root folder (or below
// the computer when the root has no folder). Nothing happens when a piece is not found.
void SelectInTree(HWND tree, const std::wstring& rootFolder, const std::wstring& path) {
  std::wstring rest;
  std::wstring walked;
  if (!rootFolder.empty()) {
    if (path.size() <= rootFolder.size() || _wcsnicmp(path.c_str(), rootFolder.c_str(), rootFolder.size()) != 0 ||
        path[rootFolder.size()] != L'\\')
      return;
    walked = rootFolder;
    rest = path.substr(rootFolder.size() + 1);
  } else {
    if (path.size() < 2 || path[1] != L':') return;
    rest = path.substr(3);
    walked = path.substr(0, 2);
    walked += L'\\';
  }
  HTREEITEM item = TreeView_GetRoot(tree);
  std::vector<std::wstring> pieces;
  if (rootFolder.empty()) pieces.push_back(L"");  // the drive itself
  for (std::size_t at = 0; at <= rest.size() && !rest.empty();) {
    const std::size_t next = rest.find(L'\\', at);
    pieces.push_back(rest.substr(at, next - at));
    if (next == std::wstring::npos) break;
    at = next + 1;
  }
  for (const std::wstring& piece : pieces) {
    if (!piece.empty()) walked += (walked.back() == L'\\' ? L"" : L"\\") + piece;
    const std::wstring wanted = DisplayName(walked);
    TreeView_Expand(tree, item, TVE_EXPAND);
    HTREEITEM found = nullptr;
    for (HTREEITEM i = TreeView_GetChild(tree, item); i && !found; i = TreeView_GetNextSibling(tree, i))
      if (win32::TreeItemText(tree, i) == wanted || win32::TreeItemText(tree, i) == piece) found = i;
    if (!found) return;
    item = found;
  }
  TreeView_SelectItem(tree, item);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[32] = {};
  ::GetClassNameW(hwnd, name, 32);
  return name;
}

}  // namespace

FolderTree::FolderTree() : alive_(std::make_shared<bool>(true)) {}

FolderTree::~FolderTree() = default;

bool FolderTree::Create(HWND parent, int id, int x, int y, int width, int height, const core::propbag::PropertyBag& stored,
                      bool runMode) {
  p_ = core::browse::ReadBrowseProperties(stored);
  if (!Window::Create(L"PravikBrowse", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, x, y, width,
                      height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))))
    return false;
  if (runMode && MouseLeaveTrackingAvailable()) hooksActive_ = true;
  if (HWND host = ::GetAncestor(hwnd(), GA_ROOT)) ::SetFocus(host);
  return true;
}

void FolderTree::WriteProperties(core::propbag::PropertyBag& bag) const { core::browse::WriteBrowseProperties(p_, bag); }

// --- properties -------------------------------------------------------------------------------

void FolderTree::SetAppearance(std::int32_t value) {
  p_.appearance = value;
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  const LONG_PTR wanted = value != core::browse::kAppearanceFlat ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  if (wanted != ex) {
    ::SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, wanted);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, kSwpFrameOnly);
  }
  if (!inRefresh_) Refresh();
  Changed();
}

void FolderTree::SetCheckBoxes(bool value) { p_.checkBoxes = value; Refresh(); Changed(); }
void FolderTree::SetEnabled(bool value) { p_.enabled = value; Refresh(); Changed(); }
void FolderTree::SetFolderFlags(std::int32_t value) { p_.folderFlags = value; Changed(); }
void FolderTree::SetFullRowSelect(bool value) { p_.fullRowSelect = value; Refresh(); Changed(); }
void FolderTree::SetHasButtons(bool value) { p_.hasButtons = value; Refresh(); Changed(); }
void FolderTree::SetHasLines(bool value) { p_.hasLines = value; Refresh(); Changed(); }
void FolderTree::SetHideSelection(bool value) { p_.hideSelection = value; Refresh(); Changed(); }
void FolderTree::SetHotTracking(bool value) { p_.hotTracking = value; Refresh(); Changed(); }
void FolderTree::SetTheme(std::int32_t value) { p_.theme = value; Refresh(); Changed(); }

std::wstring FolderTree::Path() const { return p_.path.empty() ? std::wstring() : QualifyPath(p_.path); }

void FolderTree::SetPath(const std::wstring& value) {
  p_.path = value.empty() ? std::wstring() : QualifyPath(value);
  if (dialogWindow_ && !p_.path.empty()) SelectInDialog(p_.path);
  Changed();
}

void FolderTree::SetRoot(std::int32_t value) {
  p_.root = value;
  CloseUp();
  Reset();
  Refresh();
  Changed();
}

// --- the dialog -------------------------------------------------------------------------------

void FolderTree::RequestOpen() {
  if (!hooksActive_ || !hwnd()) return;
  // When this control's own loop is running, the closed dialog's loop opens the next one as
  // soon as it gets control back; the posted request covers the case that another control's
  // dialog loop runs above it (several trees in one program), which would hold it back.
  if (inDialogLoop_) reopenWanted_ = true;
  ::PostMessageW(hwnd(), kOpenMessage, 0, 0);
}

void FolderTree::OnOpenRequest() {
  if (!hooksActive_ || dialogWindow_) return;
  if (inDialogLoop_ && loopDepth_ == g_dialogLoopDepth) return;  // ours is the innermost loop
  RunDialogs();
}

void FolderTree::RunDialogs() {
  if (!hooksActive_) return;
  const std::shared_ptr<bool> alive = alive_;
  const bool outerLoop = inDialogLoop_;
  const int outerDepth = loopDepth_;
  inDialogLoop_ = true;
  loopDepth_ = ++g_dialogLoopDepth;
  do {
    reopenWanted_ = false;
    OpenBrowseDialog();
    if (!*alive) {
      --g_dialogLoopDepth;
      return;  // the control went while its dialog ran
    }
    // A dialog that ended without CloseUp (the platform's loop ended it) leaves no handles.
    if (dialogWindow_) DropEndedDialog();
    // The program ends: no new dialog.
    MSG quit;
    if (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) reopenWanted_ = false;
  } while (reopenWanted_ && hooksActive_ && !dialogWindow_);
  --g_dialogLoopDepth;
  inDialogLoop_ = outerLoop;
  loopDepth_ = outerDepth;
}

void FolderTree::OpenBrowseDialog() {
  const ItemList root = RootItemList(p_.root);
  BROWSEINFOW info{};
  info.hwndOwner = ::GetDesktopWindow();
  info.pidlRoot = root.get();
  info.lpszTitle = L"";
  info.ulFlags = static_cast<UINT>(core::browse::EffectiveFolderFlags(p_.folderFlags));
  info.lpfn = &FolderTree::BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  // The dialog's result is of no interest: the control reports selections as they happen.
  ItemList chosen(::SHBrowseForFolderW(&info));
}

int CALLBACK FolderTree::BrowseCallback(HWND dialog, UINT message, LPARAM value, LPARAM data) noexcept {
  auto* self = reinterpret_cast<FolderTree*>(data);
  win32::RunHandler([&] {
    if (message == BFFM_INITIALIZED) self->TakeOver(dialog);
    else if (message == BFFM_SELCHANGED) self->SelectionChanged(value);
  });
  return 0;
}

void FolderTree::SelectInDialog(const std::wstring& path) {
  // The dialog parses the path as a shell name; a folder's trailing separator (other than a
  // drive root's) makes that fail.
  std::wstring name = path;
  if (name.size() > 3 && name.back() == L'\\') name.pop_back();
  const HWND tree = treeWindow_;
  const HTREEITEM before = tree ? TreeView_GetSelection(tree) : nullptr;
  ::SendMessageW(dialogWindow_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(name.c_str()));
  // Some dialogs (Wine's) leave the selection alone under a root item: walk the tree instead.
  if (tree && TreeView_GetSelection(tree) == before) SelectInTree(tree, RootFolderPath(p_.root), name);
}

void FolderTree::TakeOver(HWND dialog) {
  dialogWindow_ = dialog;
  // The dialog's own set-up may still move the keyboard focus (to its tree, now ours); once it
  // has run, the focus goes back to where the user had it.
  focusBefore_ = ::GetFocus();
  ::PostMessageW(hwnd(), kGiveBackFocus, 0, 0);
  // Far left of every screen: the screen's width in twips, taken as pixels.
  const int offScreen = -::GetSystemMetrics(SM_CXSCREEN) * 15;
  ::MoveWindow(dialog, offScreen, 0, 480, 480, TRUE);
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring cls = ClassOf(child);
    // By its control identifier: the caption is translated ("취소" on Korean systems).
    if (cls == L"Button" && ::GetDlgCtrlID(child) == IDCANCEL) cancelButton_ = child;
    if (cls == WC_TREEVIEWW) treeWindow_ = child;
  }

  if (treeWindow_) {
    ::SetParent(treeWindow_, hwnd());
    KeepDialogInactive(dialog);
    const LONG_PTR style = ::GetWindowLongPtrW(treeWindow_, GWL_STYLE);
    ::SetWindowLongPtrW(treeWindow_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
    const LONG_PTR ex = ::GetWindowLongPtrW(treeWindow_, GWL_EXSTYLE);
    ::SetWindowLongPtrW(treeWindow_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    ::SetWindowPos(treeWindow_, nullptr, 0, 0, 0, 0, kSwpFrameOnly);
    // The tree never sees a right click: no context menu, no selection by the right button.
    treeHook_.Install(treeWindow_,
                      [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                        return TreeBefore(message, wParam, lParam, result);
                      },
                      [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                        TreeAfter(message, wParam, lParam, result);
                      });
    Refresh();
    if (!p_.path.empty()) SelectInDialog(p_.path);
    if (onTreeAdopted) onTreeAdopted(treeWindow_);
  } else {
    if (!p_.path.empty()) SelectInDialog(p_.path);
    CloseUp();
  }
  RaiseStatus(kStatusInitialized);
}

bool FolderTree::TreeBefore(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_RBUTTONDOWN:
      // The tree never sees a right click: no context menu, no selection by the right button.
      result = 0;
      return true;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        if (onActivate) onActivate(Path());
        result = 0;
        return true;
      }
      [[fallthrough]];
    case WM_CHAR:
      ++keyDepth_;
      return false;
  }
  return false;
}

void FolderTree::TreeAfter(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
      if (keyDepth_ > 0) --keyDepth_;
      break;
    case WM_GETDLGCODE: {
      // Enter belongs to the tree (it opens the item), not to the window's default button.
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) result |= DLGC_WANTALLKEYS;
      break;
    }
  }
}

void FolderTree::SelectionChanged(LPARAM item) {
  lastChangeByKeyboard_ = keyDepth_ > 0;
  wchar_t buffer[MAX_PATH + 1] = {};
  if (item && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), buffer))
    p_.path = QualifyPath(buffer);
  else
    p_.path.clear();
  if (onPathChange) onPathChange(p_.path);
}

void FolderTree::CloseUp() {
  if (!treeWindow_) return;
  ::SetParent(treeWindow_, dialogWindow_);
  treeHook_.Remove();
  dialogHook_.Remove();
  // No focus to the dialog's Cancel button and no clicks on it: focus on a child of the hidden
  // dialog would make it the active window and take the keyboard from the host. Destroying the
  // dialog ends its loop just as well.
  ::SendMessageW(dialogWindow_, WM_CLOSE, 1, reinterpret_cast<LPARAM>("0"));
  ::DestroyWindow(dialogWindow_);
  // The dialog's loop notices its end only with the next message it receives; without this
  // one it would swallow whatever message comes next (a quit, a reopening request).
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
  cancelButton_ = nullptr;
  treeWindow_ = nullptr;
  dialogWindow_ = nullptr;
  RaiseStatus(kStatusShutDown);
}

void FolderTree::KeepDialogInactive(HWND dialog) {
  // The dialog stays hidden and never takes the activation or the focus: it is only the tree's
  // keeper, and an active off-screen dialog would take the keyboard with it. Its remaining
  // controls are disabled, so the dialog manager finds nothing to focus; its showing is turned
  // into a move without activation; and should it become active all the same, the activation
  // goes straight back. The hook stays for the dialog's whole life.
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    ::EnableWindow(child, FALSE);
  dialogHook_.Install(dialog, [](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    if (message == WM_WINDOWPOSCHANGING && lParam) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      pos->flags = (pos->flags & ~static_cast<UINT>(SWP_SHOWWINDOW)) | SWP_NOACTIVATE;
    }
    return false;
  }, [this, dialog](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    switch (message) {
      case WM_MOVE:
      case WM_WINDOWPOSCHANGED:
        // Never on show, even off the screen: a visible dialog counts as a window of the program.
        if (::IsWindowVisible(dialog)) ::ShowWindow(dialog, SW_HIDE);
        break;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(hwnd(), kGiveBackActivation, 0, lParam);
        break;
      case WM_DESTROY:
        // Ended by someone else than CloseUp: the tree's notifications would go nowhere.
        if (dialogWindow_ == dialog) DropEndedDialog();
        break;
    }
  });
}

void FolderTree::DropEndedDialog() noexcept {
  treeHook_.Remove();
  dialogHook_.Remove();
  if (treeWindow_) ::DestroyWindow(treeWindow_);
  cancelButton_ = nullptr;
  treeWindow_ = nullptr;
  dialogWindow_ = nullptr;
  // A fresh tree once the loop that ran the dialog gets control back.
  reopenWanted_ = hooksActive_;
  win32::RunHandler([&] { RaiseStatus(kStatusShutDown); });
}

void FolderTree::GiveBackActivation(HWND previous) {
  HWND host = ::GetAncestor(hwnd(), GA_ROOT);
  DWORD pid = 0;
  if (previous) ::GetWindowThreadProcessId(previous, &pid);
  HWND back = previous && ::IsWindowVisible(previous) && pid == ::GetCurrentProcessId() ? previous : host;
  if (!back || !::IsWindowVisible(back)) return;
  ::SetForegroundWindow(back);
  GiveBackFocus();
}

void FolderTree::GiveBackFocus() {
  const HWND focus = ::GetFocus();
  const bool taken = !focus || focus == treeWindow_ || (dialogWindow_ && (focus == dialogWindow_ || ::IsChild(dialogWindow_, focus)));
  if (taken && focusBefore_ && focusBefore_ != focus && ::IsWindow(focusBefore_) && ::IsWindowVisible(focusBefore_))
    ::SetFocus(focusBefore_);
}

void FolderTree::Shutdown() noexcept {
  Terminate();
}

void FolderTree::Reset() {
  CloseUp();
  Refresh();
  if (hooksActive_) {
    CloseUp();
    RequestOpen();
  }
}

void FolderTree::RaiseStatus(const wchar_t* status) {
  if (onStatus) onStatus(status);
}

// --- look -------------------------------------------------------------------------------------

std::uint32_t FolderTree::GetBorderColor() const { return core::browse::BorderColor(p_.theme, GetThemeName(), p_.enabled); }

void FolderTree::Refresh() {
  if (!hwnd()) return;
  const std::int32_t appearance = core::browse::AppearanceForTheme(GetThemeName(), p_.theme, p_.appearance);
  if (appearance != p_.appearance) {
    inRefresh_ = true;
    SetAppearance(appearance);
    inRefresh_ = false;
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  if (treeWindow_) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    SizeSysTreeView(1, 1, client.right - 2, client.bottom - 2);
    ApplyTreeStyles();
    ::EnableWindow(treeWindow_, p_.enabled ? TRUE : FALSE);
  }
}

void FolderTree::SizeSysTreeView(int left, int top, int width, int height) {
  if (treeWindow_) ::MoveWindow(treeWindow_, left, top, width, height, TRUE);
}

void FolderTree::ApplyTreeStyles() {
  if (!treeWindow_) return;
  core::browse::TreeStyleOptions options;
  options.checkBoxes = p_.checkBoxes;
  options.fullRowSelect = p_.fullRowSelect;
  options.hasButtons = p_.hasButtons;
  options.hasLines = p_.hasLines;
  options.hideSelection = p_.hideSelection;
  options.hotTracking = p_.hotTracking;
  const auto current = static_cast<std::uint32_t>(::GetWindowLongPtrW(treeWindow_, GWL_STYLE));
  const auto style = core::browse::TreeStyleFor(current, options);
  if (!style) return;
  ::SetWindowLongPtrW(treeWindow_, GWL_STYLE, static_cast<LONG_PTR>(static_cast<LONG>(*style)));
  ::SetWindowPos(treeWindow_, nullptr, 0, 0, 0, 0, kSwpFrameOnly);
}

void FolderTree::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  if (p_.appearance == core::browse::kAppearanceFlat) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    win32::Brush frame(::CreateSolidBrush(static_cast<COLORREF>(GetBorderColor())));
    ::FrameRect(dc, &client, frame.get());
  }
  ::EndPaint(hwnd(), &ps);
}

// --- life -------------------------------------------------------------------------------------

void FolderTree::Terminate() noexcept {
  if (!hooksActive_) return;
  win32::RunHandler([&] { CloseUp(); });
  treeHook_.Remove();
  dialogHook_.Remove();
  hooksActive_ = false;
}

LRESULT FolderTree::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      if (!shown_) {
        // The first showing: the dialog opens once the host has finished showing itself.
        shown_ = true;
        Refresh();
        RequestOpen();
      }
      Paint();
      return 0;
    case WM_SIZE:
      Refresh();
      return 0;
    case WM_SETFOCUS:
      if (treeWindow_) ::SetFocus(treeWindow_);
      return 0;
    case kOpenMessage:
      OnOpenRequest();
      return 0;
    case kGiveBackActivation:
      GiveBackActivation(reinterpret_cast<HWND>(lParam));
      return 0;
    case kGiveBackFocus:
      GiveBackFocus();
      return 0;
    case WM_DESTROY:
      Terminate();
      *alive_ = false;
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::controls::browse
