#pragma once
// The parts of the start menu window frmMain that its load handler calls at fixed steps: the web
// panel with its remote setting (step 3), the drop shadow (step 5), the off-screen tree options
// (steps 7, 9 and 10) and the title link. The window owns one of these and releases it on unload.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drawing/drop_shadow.h"
#include "menu/option_controls.h"
#include "menu/remote_setting.h"
#include "menu/title_link.h"
#include "menu/web_panel.h"

namespace pravik::menu {

class StartMenuParts {
 public:
  StartMenuParts();
  ~StartMenuParts();
  StartMenuParts(const StartMenuParts&) = delete;
  StartMenuParts& operator=(const StartMenuParts&) = delete;

  // Step 3. Creates Picture2 with WebNotice in `mainPanel` at (x, y) pixels (10, 446 in FramMain)
  // on first use, then fetches the setting and points the panel at it. Never throws; waits at most
  // the setting request's bound. Returns the address shown.
  std::wstring ShowNotice(HWND mainPanel, int x = 10, int y = 446, const std::wstring& settingUrl = SettingFileUrl());

  // Step 3 without waiting, for the menu window: creates Picture2 and starts the fetch on a thread
  // of its own. PollNotice takes the answer once it is in or the request's bound has passed (true
  // from then on, or when nothing was pending); it never waits and handles no other message. The browser control comes with ShowWebPanel, at the menu's first showing
  // (a closed menu does not keep its libraries resident), and is pointed at the address as soon as
  // both are there.
  void BeginNotice(HWND mainPanel, int x, int y, const std::wstring& settingUrl = SettingFileUrl());
  bool PollNotice();
  void ShowWebPanel();

  // Step 5: DropShadow created, Shadow(menu), Color 0, Depth 4.
  void AttachShadow(HWND menuWindow);

  // The menu's scale changed (its named elements are placed by the window): the browser inside
  // the web panel, the shadow's depth and the options beside the client area follow.
  void LayOut();

  // The click area on PicTitle (344, 22, 119 x 13 pixels).
  void AttachTitleLink(HWND picTitle);

  // Creates the options beside the client area and the hidden Command5 in the main panel.
  void CreateOptions(HWND menuWindow, HWND mainPanel, controls::browse::FolderTree* tree, std::function<void()> applyRoot);
  // Steps 7, 9 and 10 (each does nothing before CreateOptions).
  void FillThemeList();
  void MatchTreeAppearance();
  void ApplyCheckBoxesToTree();

  // Unload: the browser control is deactivated while its window still exists, then everything goes.
  void Release() noexcept;

  [[nodiscard]] WebPanel* webPanel() noexcept { return webPanel_.get(); }
  [[nodiscard]] drawing::DropShadow* dropShadow() noexcept { return dropShadow_.get(); }
  [[nodiscard]] OptionControls* options() noexcept { return options_.get(); }
  [[nodiscard]] TitleLink* titleLink() noexcept { return titleLink_.get(); }

 private:
  void CreateWebPanel(HWND mainPanel, int x, int y, bool withBrowser);
  void PointWhenReady() noexcept;

  std::unique_ptr<WebPanel> webPanel_;
  SettingRequest settingRequest_;
  SettingFetch noticeFetch_;
  bool noticePending_ = false;
  ULONGLONG noticeDeadline_ = 0;  // GetTickCount64 value after which a pending fetch counts as failed
  bool noticeIn_ = false;        // the answer (or its failure) is in noticeBody_
  std::optional<std::wstring> noticeBody_;
  std::unique_ptr<drawing::DropShadow> dropShadow_;
  std::unique_ptr<TitleLink> titleLink_;
  std::unique_ptr<OptionControls> options_;
};

}  // namespace pravik::menu
