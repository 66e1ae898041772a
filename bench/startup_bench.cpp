// Time from starting Pravik.exe to its start button being visible, without a network (the
// probe's bound included) — the wait a user has at every log-on. Prints the median of N runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "win32/text.h"

namespace {

std::wstring OutDir() {
  std::wstring unix = pravik::win32::Utf8ToWide(PRAVIK_OUT_DIR);
  std::replace(unix.begin(), unix.end(), L'/', L'\\');
  return L"Z:" + unix;
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64];
  ::GetClassNameW(hwnd, cls, 64);
  if (pid == s->pid && ::IsWindowVisible(hwnd) && lstrcmpW(cls, L"PravikStartButton") == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? _wtoi(argv[1]) : 5;
  const std::wstring exe = OutDir() + L"\\Pravik.exe";
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring line = L"\"" + exe + L"\"";
    LARGE_INTEGER f, t0, t1;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t0);
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
      return 1;
    }
    pravik::win32::Handle process(pi.hProcess), thread(pi.hThread);
    Search s{pi.dwProcessId, nullptr};
    while (!s.found && ::WaitForSingleObject(process.get(), 5) == WAIT_TIMEOUT)
      ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&s));
    ::QueryPerformanceCounter(&t1);
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 5000);
    if (!s.found) {
      std::fprintf(stderr, "run %d: no start button\n", i);
      return 1;
    }
    times.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart));
  }
  std::sort(times.begin(), times.end());
  std::printf("start to visible button: median %.0f ms, best %.0f ms, worst %.0f ms over %d runs\n",
              times[times.size() / 2], times.front(), times.back(), runs);
  return 0;
}
