// The setting file's address filter: whatever it accepts is an http or https address with a host.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/fuzz/fuzz_text.h"
#include "core/menu/notice_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring address = pravik::core::fuzz::Wide(data, size);
  if (!pravik::core::menu::IsAcceptableNoticeAddress(address)) return 0;
  const bool web = address.rfind(L"http", 0) == 0 || address.rfind(L"HTTP", 0) == 0 ||
                   address.find(L"://") != std::wstring::npos;
  if (!web || address.size() > pravik::core::menu::kMaxNoticeAddressLength + 64) __builtin_trap();
  return 0;
}
