#include "win32/com_ptr.h"

#include <ole2.h>

namespace pravik::win32 {

OleScope::~OleScope() {
  if (SUCCEEDED(hr_)) ::OleUninitialize();
}

}  // namespace pravik::win32
