// What Pravik costs a user, each figure against the bare baseline (bare_button.exe) measured
// alternately in the same session: start to a visible button, a click to a visible menu. Prints
// "name: ours / baseline = ratio" and one JSON line a figure. (Idle CPU and memory are read from
// the host side by scripts/bench: Wine does not report another process's times.)
//   program_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "win32/text.h"

namespace {

struct Program {
  const wchar_t* name;
  std::wstring exe;
  const wchar_t* buttonClass;
  const wchar_t* menuClass;
};

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Search {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64];
  ::GetClassNameW(hwnd, cls, 64);
  if (pid == s->pid && ::IsWindowVisible(hwnd) && lstrcmpW(cls, s->cls) == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindow(DWORD pid, const wchar_t* cls) {
  Search s{pid, cls, nullptr};
  ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Polls until the window is visible or the time is up; the poll itself costs well under a frame.
HWND WaitVisible(DWORD pid, const wchar_t* cls, double timeoutMs) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    if (HWND found = VisibleWindow(pid, cls)) return found;
    if (NowMs() > end) return nullptr;
    ::Sleep(1);
  }
}

void ClickAt(int x, int y) {
  ::SetCursorPos(x, y);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
}

struct Running {
  pravik::win32::Handle process;
  DWORD pid = 0;
  double startMs = 0;
  HWND button = nullptr;
};

Running Start(const Program& p) {
  Running r;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + p.exe + L"\"";
  r.startMs = NowMs();
  if (!::CreateProcessW(p.exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return r;
  r.process.reset(pi.hProcess);
  ::CloseHandle(pi.hThread);
  r.pid = pi.dwProcessId;
  r.button = WaitVisible(r.pid, p.buttonClass, 15000);
  return r;
}

void Stop(Running& r) {
  if (!r.process.get()) return;
  ::TerminateProcess(r.process.get(), 0);
  ::WaitForSingleObject(r.process.get(), 5000);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Report(const char* name, const char* unit, double ours, double baseline) {
  const double ratio = baseline > 0 ? ours / baseline : 0;
  std::printf("%s: %.2f / %.2f = %.2f (%s)\n", name, ours, baseline, ratio, unit);
  std::printf("{\"name\":\"%s\",\"unit\":\"%s\",\"ours\":%.3f,\"baseline\":%.3f,\"ratio\":%.3f}\n", name, unit, ours,
              baseline, ratio);
  std::fflush(stdout);
}

// The pointer away from the button: ours slides out and settles; the menu stays closed.
void PointerAway() { ::SetCursorPos(900, 300); }

// Opens the menu with a click on the start icon (the button's bottom tile) and returns the
// milliseconds until the menu is visible; closes it again with a second click.
double ClickToMenu(const Program& p, Running& r) {
  RECT rc{};
  ::SetCursorPos(4, 700);  // the visible strip brings ours back in
  ::Sleep(1500);
  ::GetWindowRect(r.button, &rc);
  const int x = (rc.left + rc.right) / 2, y = rc.bottom - 15;
  const double t0 = NowMs();
  ClickAt(x, y);
  HWND menu = WaitVisible(r.pid, p.menuClass, 5000);
  const double elapsed = NowMs() - t0;
  if (!menu) return -1;
  ClickAt(x, y);
  const double end = NowMs() + 3000;
  while (::IsWindowVisible(menu) && NowMs() < end) ::Sleep(5);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? _wtoi(argv[1]) : 9;
  std::wstring dir = pravik::win32::Utf8ToWide(PRAVIK_OUT_DIR);
  std::replace(dir.begin(), dir.end(), L'/', L'\\');
  std::wstring bench = pravik::win32::Utf8ToWide(PRAVIK_BENCH_DIR);
  std::replace(bench.begin(), bench.end(), L'/', L'\\');
  const Program ours{L"Pravik", L"Z:" + dir + L"\\Pravik.exe", L"PravikStartButton", L"PravikStartMenu"};
  const Program bare{L"bare", L"Z:" + bench + L"\\bare_button.exe", L"BareStartButton", L"BareStartMenu"};

  std::vector<double> startOurs, startBare, clickOurs, clickBare;
  double firstClickOurs = 0, firstClickBare = 0;
  for (int i = 0; i < runs; ++i) {
    for (const Program* p : {&ours, &bare}) {
      PointerAway();
      Running r = Start(*p);
      if (!r.button) {
        std::fprintf(stderr, "%ls: no visible button\n", p->name);
        Stop(r);
        return 1;
      }
      (p == &ours ? startOurs : startBare).push_back(NowMs() - r.startMs);
      ::Sleep(300);
      const double first = ClickToMenu(*p, r);
      const double again = ClickToMenu(*p, r);
      if (first < 0 || again < 0) {
        std::fprintf(stderr, "%ls: the click showed no menu\n", p->name);
        Stop(r);
        return 1;
      }
      if (p == &ours) {
        firstClickOurs = std::max(firstClickOurs, first);
        clickOurs.push_back(again);
      } else {
        firstClickBare = std::max(firstClickBare, first);
        clickBare.push_back(again);
      }
      Stop(r);
    }
  }
  Report("start_to_visible_button", "ms", Median(startOurs), Median(startBare));
  Report("click_to_visible_menu", "ms", Median(clickOurs), Median(clickBare));
  Report("first_click_to_visible_menu_worst", "ms", firstClickOurs, firstClickBare);

  return 0;
}
