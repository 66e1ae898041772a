#pragma once
// The ANSI code page as the byte-counting methods see it. Texts are UTF-16; their ANSI form
// has one byte per single-byte character and two (lead byte first) for the others, as in the
// Korean code page 949. The platform supplies the real conversion; tests supply their own.
#include <string>
#include <string_view>

namespace pravik::core::convert {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // The ANSI bytes of a text; characters the code page lacks become its default character.
  [[nodiscard]] virtual std::string Encode(std::u16string_view text) const = 0;
  // The text of one character's bytes (one byte, or a lead and a trail byte).
  [[nodiscard]] virtual std::u16string DecodeCharacter(std::string_view bytes) const = 0;
};

// Turns ANSI bytes back into characters one at a time: a byte below 128 is a character of its
// own, a byte of 128 or above is a lead byte and takes the next byte with it. A lead byte with
// nothing after it is decoded on its own.
std::u16string DecodeAnsiBytes(const CodePage& codePage, std::string_view bytes);

}  // namespace pravik::core::convert
