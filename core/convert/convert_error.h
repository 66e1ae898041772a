#pragma once
// A conversion the caller asked for that cannot be done: the numbered error it reaches the
// caller as (5 invalid procedure call, 6 overflow) and a description.
#include <stdexcept>
#include <string>

namespace pravik::core::convert {

enum class ErrorNumber : int { InvalidCall = 5, Overflow = 6 };

class ConvertError : public std::runtime_error {
 public:
  ConvertError(ErrorNumber number, const std::string& what) : std::runtime_error(what), number_(number) {}
  [[nodiscard]] ErrorNumber number() const noexcept { return number_; }

 private:
  ErrorNumber number_;
};

}  // namespace pravik::core::convert
