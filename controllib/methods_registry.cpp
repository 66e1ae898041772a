// Registry access: string values through the ANSI interface, with a 256-byte read buffer. The
// platform's answers are not looked at: a key that cannot be opened reads as an empty text and
// makes writing and deleting do nothing.
#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::controllib {
namespace {

// Root keys travel as 32-bit numbers (0x80000001 for the current user); on 64-bit Windows the
// predefined handles are those numbers sign-extended.
HKEY RootKey(long value) noexcept { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value)); }

std::wstring ReadValue(long root, BSTR* key, BSTR* value) {
  win32::RegKey opened;
  if (::RegOpenKeyExA(RootKey(root), win32::WideToAnsi(View(key)).c_str(), 0, KEY_QUERY_VALUE, opened.put()) !=
      ERROR_SUCCESS)
    return {};
  char buffer[256] = {};
  DWORD type = REG_SZ, size = sizeof buffer;
  ::RegQueryValueExA(opened.get(), win32::WideToAnsi(View(value)).c_str(), nullptr, &type,
                     reinterpret_cast<BYTE*>(buffer), &size);
  const std::string_view bytes(buffer, sizeof buffer);
  const std::size_t end = bytes.find('\0');
  return end == std::string_view::npos ? std::wstring() : win32::AnsiToWide(bytes.substr(0, end));
}

void WriteValue(long root, BSTR* key, BSTR* value, BSTR* data) {
  win32::RegKey opened;
  if (::RegCreateKeyExA(RootKey(root), win32::WideToAnsi(View(key)).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        opened.put(), nullptr) != ERROR_SUCCESS)
    return;
  // The byte count leaves out the terminating zero, as the values already stored were written.
  // The ANSI interface adds the zero by itself when one lies right behind the counted bytes, so
  // the buffer carries a non-zero byte there that is not part of the count.
  std::string bytes = win32::WideToAnsi(View(data));
  const auto count = static_cast<DWORD>(bytes.size());
  bytes += '\x01';
  ::RegSetValueExA(opened.get(), win32::WideToAnsi(View(value)).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(bytes.data()), count);
}

HRESULT Read(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* result) noexcept {
  if (!hKey || !KEY || !Value || !result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, ReadValue(*hKey, KEY, Value));
    return S_OK;
  });
}

HRESULT Write(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* Data) noexcept {
  if (!hKey || !KEY || !Value || !Data) return E_POINTER;
  return RunMethod([&] {
    WriteValue(*hKey, KEY, Value, Data);
    return S_OK;
  });
}

}  // namespace

STDMETHODIMP Quessel::cReg_Read(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* result) noexcept {
  return Read(hKey, KEY, Value, result);
}
STDMETHODIMP Quessel::cReg_Load(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* result) noexcept {
  return Read(hKey, KEY, Value, result);
}
STDMETHODIMP Quessel::cReg_Open(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* result) noexcept {
  return Read(hKey, KEY, Value, result);
}
STDMETHODIMP Quessel::cReg_Write(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* Data) noexcept {
  return Write(hKey, KEY, Value, Data);
}
STDMETHODIMP Quessel::cReg_Save(LONG* hKey, BSTR* KEY, BSTR* Value, BSTR* Data) noexcept {
  return Write(hKey, KEY, Value, Data);
}

STDMETHODIMP Quessel::cReg_DeleteValueSetting(LONG* hKey, BSTR* KEY, BSTR* Value) noexcept {
  if (!hKey || !KEY || !Value) return E_POINTER;
  return RunMethod([&] {
    win32::RegKey opened;
    if (::RegOpenKeyExA(RootKey(*hKey), win32::WideToAnsi(View(KEY)).c_str(), 0, KEY_SET_VALUE, opened.put()) ==
        ERROR_SUCCESS)
      ::RegDeleteValueA(opened.get(), win32::WideToAnsi(View(Value)).c_str());
    return S_OK;
  });
}

STDMETHODIMP Quessel::cReg_DeleteKeySetting(LONG* hKey, BSTR* KEY) noexcept {
  if (!hKey || !KEY) return E_POINTER;
  return RunMethod([&] {
    // An empty name would name the root itself; nothing is deleted then.
    const std::string name = win32::WideToAnsi(View(KEY));
    if (!name.empty()) ::RegDeleteKeyA(RootKey(*hKey), name.c_str());
    return S_OK;
  });
}

}  // namespace pravik::controllib
