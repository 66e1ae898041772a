#pragma once
// Late-bound calls of the three image-saving methods. Their first parameter is a reference to a
// picture object, which Wine's ITypeInfo::Invoke cannot pass (the call crashes inside oleaut32),
// so these calls are unpacked here and made through the interface directly, with the same
// argument rules and errors as every other call.
#include "controllib/quessel_interface.h"

namespace pravik::controllib {

// True when `id` is one of the image-saving methods; then *hr holds the call's outcome.
bool InvokePictureMethod(_Quessel* object, DISPID id, const DISPPARAMS& params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argError, HRESULT* hr) noexcept;

}  // namespace pravik::controllib
