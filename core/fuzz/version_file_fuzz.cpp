// The update server's version file against an installed version taken from the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/fuzz/fuzz_text.h"
#include "core/update/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [installed, body] = pravik::core::fuzz::SplitWide(data, size);
  (void)pravik::core::update::JudgeVersionFile(body, installed);
  (void)pravik::core::update::JudgeVersionFile(std::nullopt, installed);
  (void)pravik::core::update::TrimSpaces(body);
  return 0;
}
