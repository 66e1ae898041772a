#pragma once
// The updater's small rules: how the announced length is read, what the progress label says, and
// where the download address starts on the command line.
#include <cstdint>
#include <string>
#include <string_view>

namespace pravik::core::download {

struct AnnouncedLength {
  enum class Kind { Length, NotPositive, OutOfRange };
  Kind kind = Kind::NotPositive;
  std::int32_t value = 0;
};

// "Content-Length" read as the platform's numeric value of text: the leading number (blanks, tabs
// and line feeds are skipped anywhere in it; a sign, a fraction, an exponent and &H/&O prefixes
// are read), rounded to a 32-bit signed integer halves to even. Empty or non-numeric text reads 0.
// Zero or less is NotPositive; a value that does not fit 32 bits is OutOfRange.
AnnouncedLength ReadAnnouncedLength(std::wstring_view header);

// The progress label: floor(value / maximum * 100) followed by " %".
std::wstring PercentText(double value, double maximum);

// Everything after the program's own name on a command line (and the blanks that separate them),
// otherwise unchanged: no splitting, trimming or unquoting.
std::wstring ArgumentText(std::wstring_view commandLine);

}  // namespace pravik::core::download
