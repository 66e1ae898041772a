#pragma once
// How a method tells its caller about a failure: an HRESULT, and for described failures an
// error-info record with number, source and description, which IDispatch callers receive as an
// exception (EXCEPINFO) and script callers as Err.Number, Err.Source and Err.Description.
#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>

namespace pravik::controllib {

// An error number as callers know it: small numbers are the classic numbered errors
// (5 = invalid procedure call, 6 = overflow), which travel as 0x800A0000 + number.
constexpr HRESULT ErrorNumberToHresult(long number) noexcept {
  return (number > 0 && number < 0x10000) ? static_cast<HRESULT>(0x800A0000UL | static_cast<unsigned long>(number))
                                          : static_cast<HRESULT>(number);
}

class MethodError : public std::runtime_error {
 public:
  MethodError(HRESULT hr, std::wstring description, std::wstring source = L"Quessel")
      : std::runtime_error("method error"), hr_(hr), description_(std::move(description)), source_(std::move(source)) {}
  [[nodiscard]] HRESULT hr() const noexcept { return hr_; }
  [[nodiscard]] const std::wstring& description() const noexcept { return description_; }
  [[nodiscard]] const std::wstring& source() const noexcept { return source_; }

 private:
  HRESULT hr_;
  std::wstring description_;
  std::wstring source_;
};

// Records the error info of the calling thread and gives back the HRESULT to return.
HRESULT ReportError(HRESULT hr, const std::wstring& description, const std::wstring& source) noexcept;

// Runs a method body; whatever escapes it becomes an HRESULT with its error info.
template <typename Body>
HRESULT RunMethod(Body&& body) noexcept {
  try {
    ::SetErrorInfo(0, nullptr);
    return body();
  } catch (const MethodError& e) {
    return ReportError(e.hr(), e.description(), e.source());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace pravik::controllib
