#include "menu/notice.h"

namespace pravik::menu {

std::wstring ShowNotice(WebPanel& panel, SettingRequest& request, const std::wstring& settingUrl) noexcept {
  std::optional<std::wstring> body;
  try {
    body = request.Get(settingUrl);
  } catch (...) {
    // Out of memory on the way: the home page below.
  }
  return PointPanelAt(panel, body);
}

std::wstring PointPanelAt(WebPanel& panel, const std::optional<std::wstring>& body) noexcept {
  try {
    std::wstring address = NoticeAddressFor(body);
    if (SUCCEEDED(panel.Navigate(address))) return address;
  } catch (...) {
    // Out of memory while building the address: the home page below.
  }
  // A refused navigation falls back to the home page; should that fail too, the panel stays
  // blank rather than stopping the start-up.
  try {
    std::wstring home = HomePageAddress();
    (void)panel.Navigate(home);
    return home;
  } catch (...) {
    return {};
  }
}

}  // namespace pravik::menu
