// Header values and the updater's small rules: the announced Content-Length, the progress label
// from any two numbers, and the argument text of any command line.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/download/download_rules.h"
#include "core/fuzz/fuzz_text.h"

using namespace pravik::core::download;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = pravik::core::fuzz::Wide(data, size);
  const AnnouncedLength length = ReadAnnouncedLength(text);
  if (length.kind == AnnouncedLength::Kind::Length && length.value <= 0) __builtin_trap();
  (void)ArgumentText(text);
  if (size >= 16) {
    double value, maximum;
    std::memcpy(&value, data, 8);
    std::memcpy(&maximum, data + 8, 8);
    (void)PercentText(value, maximum);
  }
  return 0;
}
