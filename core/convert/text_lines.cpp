#include "core/convert/text_lines.h"

namespace pravik::core::convert {

std::string JoinLinesWithCrLf(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      out.append(bytes.substr(i));
      out += "\r\n";
      break;
    }
    out.append(bytes.substr(i, end - i));
    out += "\r\n";
    i = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
  }
  if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
  return out;
}

}  // namespace pravik::core::convert
