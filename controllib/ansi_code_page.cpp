#include "controllib/ansi_code_page.h"

#include "win32/text.h"

namespace pravik::controllib {

std::string AnsiCodePage::Encode(std::u16string_view text) const { return win32::WideToAnsi(AsWide(text)); }

std::u16string AnsiCodePage::DecodeCharacter(std::string_view bytes) const {
  const std::wstring wide = win32::AnsiToWide(bytes);
  return std::u16string(AsU16(wide));
}

}  // namespace pravik::controllib
