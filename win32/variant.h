#pragma once
// Owner of one VARIANT: initialised empty, cleared when it goes.
#include <oleauto.h>

namespace pravik::win32 {

struct Variant {
  VARIANT v;
  Variant() noexcept { ::VariantInit(&v); }
  ~Variant() { ::VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

}  // namespace pravik::win32
