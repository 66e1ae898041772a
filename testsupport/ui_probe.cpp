#include "testsupport/ui_probe.h"

namespace pravik::testsupport {

void TypeUnicode(std::wstring_view text) {
  for (wchar_t c : text) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wScan = keys[1].ki.wScan = c;
    keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
    keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
  }
}

HWND FindDescendantOfClass(HWND root, const wchar_t* className) {
  struct Search {
    const wchar_t* name;
    HWND found;
  } search{className, nullptr};
  ::EnumChildWindows(root, [](HWND child, LPARAM p) -> BOOL {
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if (lstrcmpW(name, s->name) != 0) return TRUE;
    s->found = child;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace pravik::testsupport
