#include "menu/power_commands.h"

#include <oleacc.h>
#include <wtsapi32.h>

#include "controls/button/picture_convert.h"
#include "core/button/shutdown_button.h"
#include "core/menu/power_menu.h"
#include "menu/accessible_element.h"
#include "menu/key_target.h"
#include "win32/app_error.h"
#include "win32/handles.h"

namespace pravik::menu {
namespace {

constexpr int kPicShortMenuId = 600;
constexpr int kZqbutton1Id = 601;

}  // namespace

SessionActions PlatformSessionActions() {
  SessionActions a;
  a.switchUser = [] { ::WTSDisconnectSession(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, FALSE); };
  a.lock = [] { ::LockWorkStation(); };
  return a;
}

void PowerCommands::Create(HWND framMain, HWND menuWindow, HCURSOR pointer, CommandSink run,
                           ElementMap& elements) {
  run_ = std::move(run);
  menuWindow_ = menuWindow;
  auto r = Px(L"picShortMenu");
  picShortMenu_.Create(framMain, kPicShortMenuId, r.left, r.top, r.width, r.height);
  picShortMenu_.SetCursor(pointer);
  PlaceLast(picShortMenu_.hwnd());
  // Any button's release opens the popup; which one and the shift state do not matter.
  picShortMenu_.onMouseUp = [this](const win32::MouseEventArgs&) { picShortMenu_MouseUp(); };
  // The picture box reports the left and right buttons; the middle one is taken here.
  arrowHook_.Install(picShortMenu_.hwnd(), [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_MBUTTONUP) return false;
    picShortMenu_MouseUp();
    result = 0;
    return true;
  });
  KeyTarget keys;
  keys.activate = [this] { ShowPowerMenuAtArrow(); };
  keys.key = [this](UINT message, WPARAM key) {
    if (message != WM_SYSKEYDOWN || key != VK_DOWN) return false;
    ShowPowerMenuAtArrow();
    return true;
  };
  MakeKeyTarget(picShortMenu_.hwnd(), std::move(keys));
  DescribeAccessibly(picShortMenu_.hwnd(), {L"종료 옵션", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HASPOPUP});

  const core::propbag::PropertyBag layout = core::button::ShutdownButtonLayout(controls::button::PointingHandPicture());
  r = Px(L"zqbutton1");
  zqbutton1_ = std::make_unique<win32::Instance<controls::button::ImageButton>>();
  zqbutton1_->onClick = [this] { zqbutton1_Click(); };
  FollowScale();
  zqbutton1_->Create(framMain, kZqbutton1Id, r.left, r.top, r.width, r.height, layout);
  PlaceLast(zqbutton1_->hwnd());
  DescribeAccessibly(zqbutton1_->hwnd(), {core::button::kShutdownCaption, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE});

  elements[L"picShortMenu"] = picShortMenu_.hwnd();
  elements[L"zqbutton1"] = zqbutton1_->hwnd();
}

PowerCommands::~PowerCommands() = default;

void PowerCommands::zqbutton1_Click() {
  // No question first, no delay: the button says what it does.
  if (run_) run_(core::menu::kShutdownCommand);
}

void PowerCommands::picShortMenu_MouseUp() {
  POINT at{};
  ::GetCursorPos(&at);
  ShowPowerMenu(at);
}

void PowerCommands::ShowPowerMenuAtArrow() {
  RECT arrow;
  ::GetWindowRect(picShortMenu_.hwnd(), &arrow);
  ShowPowerMenu({arrow.left, arrow.bottom});
}

void PowerCommands::ShowPowerMenu(POINT at) {
  win32::Menu popup(::CreatePopupMenu());
  if (!popup) return;
  powerMenu_ = popup.get();
  for (const auto& entry : core::menu::kPowerMenu) {
    if (entry.kind == core::menu::PowerEntryKind::kSeparator)
      ::AppendMenuW(popup.get(), MF_SEPARATOR, entry.id, nullptr);
    else
      ::AppendMenuW(popup.get(), MF_STRING, entry.id, std::wstring(entry.text).c_str());
  }
  // The popup's keys reach it only while its owner is the foreground window, whatever the
  // keyboard was used for before (the run box, the shutdown button, another program).
  ::SetForegroundWindow(menuWindow_);
  const auto chosen = static_cast<unsigned>(
      ::TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, menuWindow_, nullptr));
  popup.reset();
  powerMenu_ = nullptr;
  RunPowerEntry(chosen);
}

void PowerCommands::RunPowerEntry(unsigned id) {
  if (id == core::menu::kPowerSwitchUser) {
    if (actions.switchUser) actions.switchUser();
    return;
  }
  if (id == core::menu::kPowerLock) {
    if (actions.lock) actions.lock();
    return;
  }
  const auto command = core::menu::PowerCommand(id);
  if (command && run_) run_(*command);
}

}  // namespace pravik::menu
