#include "menu/start_menu_parts.h"

#include <oleacc.h>

#include "core/geometry/rounding.h"
#include "menu/accessible_element.h"
#include "menu/key_target.h"
#include "menu/menu_element.h"
#include "menu/notice.h"

namespace pravik::menu {
namespace {

int ShadowDepth() { return core::geometry::TwipsToPixels(60, MenuTwipsPerPixel.x); }  // 4 pixels at 100 %

}  // namespace

StartMenuParts::StartMenuParts() = default;

StartMenuParts::~StartMenuParts() { Release(); }

void StartMenuParts::CreateWebPanel(HWND mainPanel, int x, int y, bool withBrowser) {
  if (!webPanel_) {
    webPanel_ = std::make_unique<WebPanel>();
    (void)webPanel_->CreateFrame(mainPanel, x, y);
  }
  // Without the browser control Picture2 stays a white box; the menu works on.
  if (withBrowser) (void)webPanel_->CreateBrowser();
}

std::wstring StartMenuParts::ShowNotice(HWND mainPanel, int x, int y, const std::wstring& settingUrl) {
  CreateWebPanel(mainPanel, x, y, true);
  return menu::ShowNotice(*webPanel_, settingRequest_, settingUrl);
}

void StartMenuParts::BeginNotice(HWND mainPanel, int x, int y, const std::wstring& settingUrl) {
  CreateWebPanel(mainPanel, x, y, false);
  const SettingRequest::Limits limits;
  const bool started = noticeFetch_.Start(settingUrl, limits);
  noticePending_ = true;
  // The fetch ends by its own bound; a moment more for it to hand the answer over.
  noticeDeadline_ = ::GetTickCount64() +
                    (started ? static_cast<ULONGLONG>(std::chrono::milliseconds(limits.total + std::chrono::seconds(1)).count()) : 0);
}

bool StartMenuParts::PollNotice() {
  if (!noticePending_) return true;
  if (!noticeFetch_.Finished() && ::GetTickCount64() < noticeDeadline_) return false;
  noticePending_ = false;
  noticeBody_ = noticeFetch_.Take();  // nothing when the fetch failed or is still out
  noticeIn_ = true;
  PointWhenReady();
  return true;
}

void StartMenuParts::ShowWebPanel() {
  if (!webPanel_) return;
  // The menu is open and typing goes to the run box: the control coming in takes nothing from it
  // (only a keyboard that went into the panel goes back; a move the user made meanwhile stays).
  const HWND focus = ::GetFocus();
  (void)webPanel_->CreateBrowser();
  const HWND now = ::GetFocus();
  const HWND panel = webPanel_->picture();
  if (focus && now && now != focus && panel && (now == panel || ::IsChild(panel, now)) && ::IsWindow(focus))
    ::SetFocus(focus);
  PointWhenReady();
}

void StartMenuParts::PointWhenReady() noexcept {
  if (!noticeIn_ || !webPanel_ || !webPanel_->browser()) return;
  noticeIn_ = false;
  (void)PointPanelAt(*webPanel_, noticeBody_);
  noticeBody_.reset();
}

void StartMenuParts::AttachShadow(HWND menuWindow) {
  dropShadow_ = std::make_unique<drawing::DropShadow>();
  (void)dropShadow_->Shadow(menuWindow);  // false leaves the menu without a shadow, nothing more
  dropShadow_->SetColor(0);
  dropShadow_->SetDepth(ShadowDepth());
}

void StartMenuParts::LayOut() {
  if (webPanel_) webPanel_->FitBrowser();
  if (dropShadow_) dropShadow_->SetDepth(ShadowDepth());
  if (options_) options_->FollowMenu();
}

void StartMenuParts::AttachTitleLink(HWND picTitle) {
  titleLink_ = std::make_unique<win32::Instance<TitleLink>>();
  if (!titleLink_->Create(picTitle)) {
    titleLink_.reset();
    return;
  }
  TitleLink* link = titleLink_.get();
  MakeKeyTarget(link->hwnd(), {[link] { link->Activate(); }, {}, {}});
  DescribeAccessibly(link->hwnd(), {kTitleLinkName, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE});
}

void StartMenuParts::CreateOptions(HWND menuWindow, HWND mainPanel, controls::browse::FolderTree* tree,
                                   std::function<void()> applyRoot) {
  options_ = std::make_unique<win32::Instance<OptionControls>>();
  if (!options_->Create(menuWindow, mainPanel, tree, std::move(applyRoot))) options_.reset();
}

void StartMenuParts::FillThemeList() {
  if (options_) options_->FillThemeList();
}

void StartMenuParts::MatchTreeAppearance() {
  if (options_) options_->MatchTreeAppearance();
}

void StartMenuParts::ApplyCheckBoxesToTree() {
  if (options_) options_->ApplyCheckBoxesToTree();
}

void StartMenuParts::Release() noexcept {
  // A fetch still out ends on its own thread; its answer is not wanted any more.
  noticePending_ = false;
  if (webPanel_) webPanel_->Close();
  webPanel_.reset();
  dropShadow_.reset();
  titleLink_.reset();
  options_.reset();
}

}  // namespace pravik::menu
