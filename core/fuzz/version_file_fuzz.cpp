// The update server's version file against an installed version taken from the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/fuzz/fuzz_text.h"
#include "core/update/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace update = pravik::core::update;
  const auto [installedText, body] = pravik::core::fuzz::SplitWide(data, size);
  const update::Version installed = update::ParseVersion(installedText).value_or(update::Version{1, 0});
  (void)update::JudgeVersionFile(body, installed);
  (void)update::JudgeVersionFile(body, installed, true);
  (void)update::JudgeVersionFile(std::nullopt, installed);
  (void)update::IsWebAddress(body);
  (void)update::TrimSpaces(body);
  return 0;
}
