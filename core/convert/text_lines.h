#pragma once
// Whole text files as the control reads them: the lines of the file joined with CR LF, whatever
// line ends the file used (CR, LF or CR LF), without a CR LF at the very end.
#include <string>
#include <string_view>

namespace pravik::core::convert {

std::string JoinLinesWithCrLf(std::string_view fileBytes);

}  // namespace pravik::core::convert
