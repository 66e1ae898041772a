#pragma once
// A numbered error raised to the caller: number, source and description. One that reaches an
// event handler without a handler of its own ends the program after its description is shown.
#include <stdexcept>
#include <string>

namespace pravik::win32 {

class AppError : public std::runtime_error {
 public:
  AppError(long number, std::wstring source, std::wstring description)
      : std::runtime_error("application error"),
        number_(number),
        source_(std::move(source)),
        description_(std::move(description)) {}
  [[nodiscard]] long number() const noexcept { return number_; }
  [[nodiscard]] const std::wstring& source() const noexcept { return source_; }
  [[nodiscard]] const std::wstring& description() const noexcept { return description_; }

 private:
  long number_;
  std::wstring source_;
  std::wstring description_;
};

// Shows the description in a message box titled with the program's name and ends the process.
[[noreturn]] void EndWithError(const std::wstring& description) noexcept;

// Runs an event handler; an error escaping it ends the program as above. Window procedures call
// their handlers through this so that no exception crosses into the platform.
template <typename F>
void RunHandler(F&& handler) noexcept {
  try {
    handler();
  } catch (const AppError& e) {
    EndWithError(e.description());
  } catch (const std::exception& e) {
    std::string what = e.what();
    EndWithError(std::wstring(what.begin(), what.end()));
  } catch (...) {
    EndWithError(L"Unexpected error");
  }
}

}  // namespace pravik::win32
