#pragma once
// Accessible names and roles for elements the platform cannot describe itself: painted pictures,
// captions, the run box under its placeholder, the start button (whose window title stays
// "Form1"). A screen reader asks the window with WM_GETOBJECT; the answer is an object with the
// element's own name and role, standing on the platform's standard object for everything else
// (location, parent, focus, navigation).
#include <windows.h>

#include <optional>
#include <string>

namespace pravik::menu {

struct AccessibleDescription {
  std::wstring name;
  long role = 0;   // ROLE_SYSTEM_*
  long state = 0;  // STATE_SYSTEM_* added to the standard object's state
};

// The answer to WM_GETOBJECT for the window's client object; nothing for other object ids (the
// caller hands those on to its default handling).
std::optional<LRESULT> AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const AccessibleDescription& description);

// For windows whose procedure is not ours (edit boxes, labels, picture boxes): answered through
// a subclass that lives as long as the window.
void DescribeAccessibly(HWND hwnd, AccessibleDescription description);

}  // namespace pravik::menu
