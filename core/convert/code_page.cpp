#include "core/convert/code_page.h"

namespace pravik::core::convert {

std::u16string DecodeAnsiBytes(const CodePage& codePage, std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const bool lead = static_cast<unsigned char>(bytes[i]) >= 128 && i + 1 < bytes.size();
    const std::size_t width = lead ? 2 : 1;
    text += codePage.DecodeCharacter(bytes.substr(i, width));
    i += width;
  }
  return text;
}

}  // namespace pravik::core::convert
