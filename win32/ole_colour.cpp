#include "win32/ole_colour.h"

#include <olectl.h>

namespace pravik::win32 {

std::optional<COLORREF> TranslateOleColour(OLE_COLOR colour) noexcept {
  COLORREF out = 0;
  if (FAILED(::OleTranslateColor(colour, nullptr, &out))) return std::nullopt;
  return out;
}

}  // namespace pravik::win32
