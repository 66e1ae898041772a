#pragma once
// Code page 949 for native tests, through iconv; an unmappable character becomes "?".
#include <iconv.h>

#include <string>

#include "core/convert/code_page.h"

namespace pravik::core::convert {

class Cp949 final : public CodePage {
 public:
  [[nodiscard]] std::string Encode(std::u16string_view text) const override {
    std::string out;
    for (char16_t c : text) {
      const std::string one = Convert("UTF-16LE", "CP949", std::string(reinterpret_cast<const char*>(&c), 2));
      out += one.empty() ? std::string("?") : one;
    }
    return out;
  }
  [[nodiscard]] std::u16string DecodeCharacter(std::string_view bytes) const override {
    const std::string wide = Convert("CP949", "UTF-16LE", std::string(bytes));
    if (wide.empty()) return u"?";
    return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size() / 2);
  }

 private:
  static std::string Convert(const char* from, const char* to, const std::string& in) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};  // no code page 949 here: every check fails
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || srcLeft != 0) return {};
    out.resize(out.size() - dstLeft);
    return out;
  }
};

}  // namespace pravik::core::convert
