// The property bag driven by a sequence of writes, reads and removals with names that differ in
// letter case: the bag stays a consistent map whatever the order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/propbag/property_bag.h"

using namespace pravik::core::propbag;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  PropertyBag bag;
  while (in.remaining_bytes() > 0) {
    const std::string ascii = in.ConsumeRandomLengthString(8);
    const std::wstring name(ascii.begin(), ascii.end());
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0: bag.Write(name, in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()); break;
      case 1: bag.Set(name, Value(in.ConsumeFloatingPoint<double>())); break;
      case 2: bag.Write(name, std::wstring(name), L"x"); break;
      case 3: bag.Set(name, Value(in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 64)))); break;
      case 4: bag.Remove(name); break;
      case 5: {
        const PropertyBag copy = bag;
        if (!(copy == bag)) __builtin_trap();
        break;
      }
      default:
        (void)bag.Read(name, 7);
        (void)bag.Read(name, L"fallback");
        (void)bag.Read<FontDesc>(name, FontDesc{});
        if (bag.Has(name) != (bag.Find(name) != nullptr)) __builtin_trap();
    }
  }
  return 0;
}
