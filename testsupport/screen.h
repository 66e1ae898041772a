#pragma once
// The screen as a picture (a 24-bit BMP in the test's current folder), for looking at what a test
// saw: each display scale side by side, the search results.
#include <string>

namespace pravik::testsupport {

void SaveScreen(const std::wstring& file);

}  // namespace pravik::testsupport
