#pragma once
// The start menu's blue shutdown button as stored with its window: one definition for the menu,
// the gallery and the drawing test, so what is tested and shown is what ships.
#include <optional>

#include "core/button/picture.h"
#include "core/propbag/property_bag.h"

namespace pravik::core::button {

inline constexpr wchar_t kShutdownCaption[] = L"시스템 종료";

// The stored layout; `pointer` is the pointing-hand cursor the button shows when the platform has one.
propbag::PropertyBag ShutdownButtonLayout(const std::optional<ButtonPicture>& pointer);

}  // namespace pravik::core::button
