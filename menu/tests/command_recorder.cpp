// Stands in for the programs the menu starts (shutdown.exe, explorer.exe, a picked file): it
// appends its own file name and its argument text to the file named by PRAVIK_RECORD_FILE, so a
// test reads exactly what reached it through the command interpreter. Copies named "PickMe*"
// also show a window in front for a while, like a program the user started; copies named
// "StayForever*" never end. A copy named cmd.exe in the stand-in system folder records the whole
// command line the runner built (and where it was started from) and, while PRAVIK_FORWARD_CMD is
// set, hands it on to the real interpreter.
#include <windows.h>

#include <string>

namespace {

std::wstring OwnFileName() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(p.find_last_of(L'\\') + 1);
}

// The command line after the program's own token, as the program received it.
std::wstring ArgumentText() {
  const wchar_t* line = ::GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  if (*line == L' ' || *line == L'\t') ++line;
  return line;
}

void Record(const std::wstring& line) {
  wchar_t file[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"PRAVIK_RECORD_FILE", file, MAX_PATH)) return;
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE h = ::CreateFileW(file, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      ::Sleep(20);
      continue;
    }
    DWORD written = 0;
    ::WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(h);
    return;
  }
}

void ShowInFront(int showCommand) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PravikRecorderWindow";
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"started", WS_OVERLAPPEDWINDOW, 600, 100, 300, 200, nullptr,
                             nullptr, wc.hInstance, nullptr);
  // As an ordinary program does: the show command it was started with.
  ::ShowWindow(w, showCommand);
  ::SetForegroundWindow(w);
  const ULONGLONG end = ::GetTickCount64() + 4000;
  while (::GetTickCount64() < end) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(20);
  }
}

DWORD ForwardToInterpreter() {
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring exe = std::wstring(system) + L"\\cmd.exe";
  std::wstring line = L"cmd.exe " + ArgumentText();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
    return 1;
  ::WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(info.hProcess, &code);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  const std::wstring name = OwnFileName();
  Record(name + L"\t" + ArgumentText() + L"\n");
  if (name.rfind(L"PickMe", 0) == 0) {
    Record(name + L":show\t" + std::to_wstring(showCommand) + L"\n");
    ShowInFront(showCommand);
  }
  if (_wcsicmp(name.c_str(), L"cmd.exe") == 0) {
    // Which interpreter file was started, from which current folder.
    wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    Record(L"cmd.exe:at\t" + std::wstring(path) + L"\t" + folder + L"\n");
  }
  // A command that never ends on its own (as "ping -t" would).
  if (name.rfind(L"StayForever", 0) == 0) ::Sleep(INFINITE);
  if (_wcsicmp(name.c_str(), L"cmd.exe") == 0 && ::GetEnvironmentVariableW(L"PRAVIK_FORWARD_CMD", nullptr, 0))
    return static_cast<int>(ForwardToInterpreter());
  return 0;
}
