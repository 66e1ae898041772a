#include "controllib/processor_load.h"

#include <pdhmsg.h>

#include <cmath>

namespace pravik::controllib {

ProcessorLoad::ProcessorLoad() noexcept {
  if (::PdhOpenQueryW(nullptr, 0, query_.put()) != ERROR_SUCCESS) {
    query_.reset();
    return;
  }
  const wchar_t* path = L"\\Processor(0)\\% Processor Time";
  PDH_HCOUNTER counter = nullptr;
  // The English path works whatever language the counter names are installed in.
  if (::PdhAddEnglishCounterW(query_.get(), path, 0, &counter) != ERROR_SUCCESS) return;
  try {
    counters_.push_back({counter, path});
  } catch (...) {
    // Without the table entry the load reads as 0, as on a system without the counter.
  }
}

long ProcessorLoad::Percent() noexcept {
  if (!query_ || counters_.empty()) return 0;
  if (::PdhCollectQueryData(query_.get()) != ERROR_SUCCESS) return 0;
  PDH_FMT_COUNTERVALUE value{};
  if (::PdhGetFormattedCounterValue(counters_.front().handle, PDH_FMT_DOUBLE, nullptr, &value) != ERROR_SUCCESS)
    return 0;
  if (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA) return 0;
  return static_cast<long>(std::nearbyint(value.doubleValue));
}

}  // namespace pravik::controllib
