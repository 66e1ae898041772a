#pragma once
// OLE colours as hosts store them: a plain RGB value, or 0x80000000 | a system colour index.
#include <windows.h>
#include <ocidl.h>

#include <optional>

namespace pravik::win32 {

// The RGB value the colour stands for now; nothing for a value the platform cannot translate.
std::optional<COLORREF> TranslateOleColour(OLE_COLOR colour) noexcept;

}  // namespace pravik::win32
