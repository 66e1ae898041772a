#include "startup/tests/pravik_fixture.h"

#include "win32/handles.h"

namespace pravik::startup {

std::wstring CopyInstalledTree(const std::wstring& hint, const std::vector<std::wstring>& skip) {
  const std::wstring folder = testsupport::MakeTempFolder(hint);
  const std::wstring out = testsupport::OutDir();
  ::CopyFileW((out + L"\\Pravik.exe").c_str(), (folder + L"\\Pravik.exe").c_str(), FALSE);
  // The skins at 100 % and in their scale folders; skipped names count at 100 % only.
  for (const std::wstring sub : {L"", L"\\125", L"\\150", L"\\200"}) {
    const std::wstring from = out + L"\\Graphics" + sub, to = folder + L"\\Graphics" + sub;
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((from + L"\\*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      bool skipped = false;
      for (const auto& name : skip) skipped = skipped || (sub.empty() && lstrcmpiW(name.c_str(), found.cFileName) == 0);
      if (!skipped)
        ::CopyFileW((from + L"\\" + found.cFileName).c_str(), (to + L"\\" + found.cFileName).c_str(), FALSE);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  return folder;
}

WindowInfo ReadWindow(HWND hwnd) {
  WindowInfo info;
  info.hwnd = hwnd;
  if (!hwnd) return info;
  ::GetWindowRect(hwnd, &info.rect);
  info.style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  info.exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  wchar_t title[256] = {};
  ::GetWindowTextW(hwnd, title, 256);
  info.title = title;
  return info;
}

namespace {
BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  wchar_t cls[64];
  ::GetClassNameW(child, cls, 64);
  if (lstrcmpiW(cls, L"Static") == 0) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(child, text, 1024);
    if (text[0]) *reinterpret_cast<std::wstring*>(param) = text;
  }
  return TRUE;
}
}  // namespace

MessageBoxTexts WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
  MessageBoxTexts box;
  box.hwnd = testsupport::WaitForWindow(pid, L"#32770", timeoutMs);
  if (!box.hwnd) return box;
  wchar_t caption[256] = {};
  ::GetWindowTextW(box.hwnd, caption, 256);
  box.caption = caption;
  ::EnumChildWindows(box.hwnd, &CollectStatic, reinterpret_cast<LPARAM>(&box.prompt));
  return box;
}

void MovePointer(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535) / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (y * 65535) / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof(input));
}

void ClickAt(int x, int y) {
  MovePointer(x, y);
  testsupport::PumpFor(50);
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, press, sizeof(INPUT));
}

void SetInstalledVersion(const std::wstring* version) { testsupport::SetUserString(L"Software\\Pravik", L"version", version); }

bool WaitForMenuPrepared(HWND menu, DWORD timeoutMs) {
  return testsupport::WaitUntil([&] {
    const HWND roots = ::FindWindowExW(menu, nullptr, L"ComboBox", nullptr);
    return roots && ::SendMessageW(roots, CB_GETCOUNT, 0, 0) == 22;
  }, timeoutMs);
}

}  // namespace pravik::startup
