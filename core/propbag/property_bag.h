#pragma once
// The stored settings of a child control, kept with its host window's layout.
//
// A bag maps property names to values. Names compare without regard to ASCII letter case
// ("ButtonStyle" and "buttonstyle" are one entry). Controls follow three rules with it:
//   - reading: Read(name, fallback) gives the stored value, or the fallback when the entry is
//     missing or holds another kind of value (a damaged layout never stops a control loading);
//   - writing: Write(name, value, fallback) stores the value, but removes the entry instead
//     when the value equals the fallback (a value equal to its default is not written);
//   - kinds: truth values, 32-bit integers, doubles, texts, fonts and byte blobs (pictures).
// The bag is a plain value: copy it to keep a layout, compare two for equality.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pravik::core::propbag {

// A caption font as stored: face name, size in points and the usual attributes.
struct FontDesc {
  std::wstring name = L"Tahoma";
  double points = 8.25;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;
  bool operator==(const FontDesc&) const = default;
};

using Bytes = std::vector<std::uint8_t>;
using Value = std::variant<bool, std::int32_t, double, std::wstring, FontDesc, Bytes>;

// ASCII case-insensitive ordering of names.
struct NameLess {
  bool operator()(std::wstring_view a, std::wstring_view b) const noexcept;
  using is_transparent = void;
};

class PropertyBag {
 public:
  // The stored value of that kind, or the fallback when absent or of another kind.
  template <typename T>
  [[nodiscard]] T Read(std::wstring_view name, const T& fallback) const {
    const auto it = entries_.find(name);
    if (it == entries_.end()) return fallback;
    if (const T* v = std::get_if<T>(&it->second)) return *v;
    return fallback;
  }
  [[nodiscard]] std::int32_t Read(std::wstring_view name, int fallback) const {
    return Read<std::int32_t>(name, static_cast<std::int32_t>(fallback));
  }
  [[nodiscard]] std::wstring Read(std::wstring_view name, const wchar_t* fallback) const {
    return Read<std::wstring>(name, std::wstring(fallback));
  }

  // Stores the value; a value equal to the fallback removes the entry instead.
  template <typename T>
  void Write(std::wstring_view name, const T& value, const T& fallback) {
    if (value == fallback) {
      Remove(name);
    } else {
      Set(name, Value(value));
    }
  }
  void Write(std::wstring_view name, int value, int fallback) {
    Write<std::int32_t>(name, value, fallback);
  }
  void Write(std::wstring_view name, const std::wstring& value, const wchar_t* fallback) {
    Write<std::wstring>(name, value, std::wstring(fallback));
  }

  // Stores unconditionally (for values that are always written).
  void Set(std::wstring_view name, Value value);
  void Remove(std::wstring_view name);
  [[nodiscard]] bool Has(std::wstring_view name) const;
  [[nodiscard]] const Value* Find(std::wstring_view name) const;
  [[nodiscard]] std::size_t size() const noexcept { return entries_.size(); }
  bool operator==(const PropertyBag&) const = default;

 private:
  std::map<std::wstring, Value, NameLess> entries_;
};

}  // namespace pravik::core::propbag
