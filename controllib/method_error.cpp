#include "controllib/method_error.h"

#include <windows.h>
#include <oleauto.h>

#include "controllib/quessel_interface.h"
#include "win32/com_ptr.h"

namespace pravik::controllib {

HRESULT ReportError(HRESULT hr, const std::wstring& description, const std::wstring& source) noexcept {
  win32::ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
    create->SetGUID(IID__Quessel);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    win32::ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(info))) ::SetErrorInfo(0, info.get());
  }
  return hr;
}

}  // namespace pravik::controllib
