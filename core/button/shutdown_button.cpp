#include "core/button/shutdown_button.h"

#include <cstdint>
#include <string>

namespace pravik::core::button {

propbag::PropertyBag ShutdownButtonLayout(const std::optional<ButtonPicture>& pointer) {
  propbag::PropertyBag layout;
  layout.Set(L"ButtonStyle", std::int32_t{4});
  layout.Set(L"ColorScheme", std::int32_t{3});
  layout.Set(L"BackColor", std::int32_t{0x00F0B000});
  layout.Set(L"Caption", std::wstring(kShutdownCaption));
  layout.Set(L"ForeColor", std::int32_t{0x00FFFFFF});
  layout.Set(L"ForeColorHover", std::int32_t{0x00FFFFFF});
  layout.Set(L"Font", propbag::FontDesc{});  // Tahoma 8.25
  layout.Set(L"PicturePushOnHover", true);
  layout.Set(L"PictureEffectOnOver", std::int32_t{0});
  layout.Set(L"PictureEffectOnDown", std::int32_t{0});
  layout.Set(L"CaptionEffects", std::int32_t{0});
  layout.Set(L"TooltipBackColor", std::int32_t{0});
  if (pointer) {
    layout.Set(L"MousePointer", std::int32_t{99});
    layout.Set(L"MouseIcon", EncodePicture(*pointer));
  }
  return layout;
}

}  // namespace pravik::core::button
