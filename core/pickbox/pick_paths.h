#pragma once
// Path helpers of the picker control, offered to hosts as well. File-system questions are asked
// through a callback so the rules stay testable without a disk.
#include <functional>
#include <string>
#include <string_view>

namespace pravik::core::pickbox {

// The text after the last "\", empty when there is none.
std::wstring ExtractFilename(std::wstring_view path);
// The text before the last "\", empty when there is none.
std::wstring ExtractPath(std::wstring_view path);

// Measures a text's width in pixels with the font the caller chose.
using MeasureText = std::function<int(const std::wstring&)>;
// The text unchanged when it fits into width less a small margin; otherwise its middle components
// are replaced by `replacement`, keeping the first component and as many trailing ones as fit.
// Paths split at "\"; addresses (no "\", no ":" drive or scheme) split at "/" with any "?" query
// dropped. When even first + replacement + last does not fit, that shortest form is returned.
std::wstring TrimPathByLen(const std::wstring& text, int width, const std::wstring& replacement,
                           const MeasureText& measure);
constexpr int kTrimMargin = 4;

// Whether the file part (after the last "\") of a chosen name has an extension.
bool HasExtension(std::wstring_view name);
// The name with the answer of the extension box: an empty answer gives ".txt" (the caller warns),
// an answer without a leading "." gets one.
std::wstring WithExtension(const std::wstring& name, std::wstring_view answer);

}  // namespace pravik::core::pickbox
