// The signature statement: key lists in hex and the raw signature form.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/download/signature_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto keys = pravik::core::download::ParsePublicKeys(text)) {
    if (keys->size() > size / 128 + 1) __builtin_trap();  // each key takes 128 hex digits
  }
  (void)pravik::core::download::IsRawSignature(std::vector<std::uint8_t>(data, data + size));
  return 0;
}
