#pragma once
// ShowNotice: the load step that points the web panel at the address the update server names.
#include <string>

#include "menu/remote_setting.h"
#include "menu/web_panel.h"

namespace pravik::menu {

// Fetches the setting file, takes its body as the address when it is a plain web address and
// navigates the panel there; on any failure the panel shows the home page. Never throws and never
// waits longer than the request's bound. Returns the address the panel was pointed at.
std::wstring ShowNotice(WebPanel& panel, SettingRequest& request, const std::wstring& settingUrl = SettingFileUrl()) noexcept;

// The second half of ShowNotice, for a body fetched without waiting (nothing: the fetch failed).
std::wstring PointPanelAt(WebPanel& panel, const std::optional<std::wstring>& body) noexcept;

}  // namespace pravik::menu
