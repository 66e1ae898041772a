#include "controllib/timed_message_box.h"

namespace pravik::controllib {
namespace {

// The box the running call showed and its timer. Message boxes of one thread nest, so each call
// keeps the outer one's state and puts it back. The box is caught as it is created (a CBT hook
// on this thread), so the time-out closes exactly it, never a host dialog with the same caption.
struct PendingBox {
  UINT_PTR timer = 0;
  HWND box = nullptr;
  bool waitingForBox = false;
  bool timedOut = false;
};
thread_local PendingBox t_pending;

LRESULT CALLBACK CatchBox(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_pending.waitingForBox) {
    const HWND hwnd = reinterpret_cast<HWND>(wParam);
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (wcscmp(cls, L"#32770") == 0 && !(create->lpcs->style & WS_CHILD)) {
      t_pending.box = hwnd;
      t_pending.waitingForBox = false;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK OnTimeOut(HWND, UINT, UINT_PTR timer, DWORD) {
  if (timer != t_pending.timer) return;
  // The box exists before its message loop runs, and only that loop delivers this timer.
  if (!t_pending.box) return;
  ::KillTimer(nullptr, timer);
  t_pending.timer = 0;
  t_pending.timedOut = true;
  ::EndDialog(t_pending.box, kMessageBoxTimedOut);
}

}  // namespace

int ShowTimedMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, DWORD timeoutMs) {
  // No time at all: the box times out at once, without showing.
  if (timeoutMs == 0) return kMessageBoxTimedOut;
  const PendingBox outer = t_pending;
  t_pending = PendingBox{};
  t_pending.waitingForBox = true;
  const HHOOK hook = ::SetWindowsHookExW(WH_CBT, CatchBox, nullptr, ::GetCurrentThreadId());
  t_pending.timer = ::SetTimer(nullptr, 0, timeoutMs, OnTimeOut);
  int answer = ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
  if (hook) ::UnhookWindowsHookEx(hook);
  if (t_pending.timer) ::KillTimer(nullptr, t_pending.timer);
  if (t_pending.timedOut) answer = kMessageBoxTimedOut;
  t_pending = outer;
  return answer;
}

}  // namespace pravik::controllib
