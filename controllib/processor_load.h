#pragma once
// The processor counter an instance opens at creation and cCPU_Used reads. A system without the
// counter (or without performance data at all) leaves the table empty and the load at 0.
#include <pdh.h>

#include <string>
#include <vector>

#include "win32/handles.h"

namespace pravik::controllib {

struct PdhQueryTraits {
  using Type = PDH_HQUERY;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::PdhCloseQuery(h); }
};
using PdhQuery = win32::UniqueHandle<PdhQueryTraits>;

class ProcessorLoad {
 public:
  static constexpr std::size_t kMaxCounters = 100;
  ProcessorLoad() noexcept;
  // Collects once and reads the first counter: a rate counter gives 0 on its first collection.
  long Percent() noexcept;
  [[nodiscard]] bool hasCounter() const noexcept { return !counters_.empty(); }

 private:
  struct Counter {
    PDH_HCOUNTER handle;  // owned by the query, closed with it
    std::wstring path;
  };
  PdhQuery query_;
  std::vector<Counter> counters_;
};

}  // namespace pravik::controllib
