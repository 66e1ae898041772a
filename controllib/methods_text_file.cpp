// Whole text files: read with any line ends and joined with CR LF; written as one text plus
// CR LF. Both are silent on failure, as callers expect: reading gives an empty text, writing
// does nothing.
#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "core/convert/text_lines.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::controllib {
namespace {

std::wstring ReadTextFile(BSTR filename) {
  win32::FileHandle file(::CreateFileW(std::wstring(View(filename)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF / 2) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size()))
    return {};
  return win32::AnsiToWide(core::convert::JoinLinesWithCrLf(bytes));
}

void WriteTextFile(BSTR filename, BSTR text) {
  const std::string bytes = win32::WideToAnsi(View(text)) + "\r\n";
  win32::FileHandle file(::CreateFileW(std::wstring(View(filename)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

HRESULT OpenTextFile(BSTR filename, BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, ReadTextFile(filename));
    return S_OK;
  });
}

HRESULT SaveTextFile(BSTR filename, BSTR text) noexcept {
  return RunMethod([&] {
    WriteTextFile(filename, text);
    return S_OK;
  });
}

}  // namespace

STDMETHODIMP Quessel::cText_Open(BSTR Filename, BSTR* result) noexcept { return OpenTextFile(Filename, result); }
STDMETHODIMP Quessel::cText_Read(BSTR Filename, BSTR* result) noexcept { return OpenTextFile(Filename, result); }
STDMETHODIMP Quessel::cText_Load(BSTR Filename, BSTR* result) noexcept { return OpenTextFile(Filename, result); }
STDMETHODIMP Quessel::cText_Save(BSTR Filename, BSTR TextString) noexcept { return SaveTextFile(Filename, TextString); }
STDMETHODIMP Quessel::cText_Write(BSTR Filename, BSTR TextString) noexcept { return SaveTextFile(Filename, TextString); }

}  // namespace pravik::controllib
