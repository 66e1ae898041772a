#include "controllib/timed_message_box.h"

namespace pravik::controllib {
namespace {

// The box the running timer belongs to; message boxes of one thread nest, so each call keeps
// the outer one's state and puts it back.
struct PendingBox {
  UINT_PTR timer = 0;
  const std::wstring* caption = nullptr;
};
thread_local PendingBox t_pending;

BOOL CALLBACK CloseIfOurs(HWND hwnd, LPARAM) {
  wchar_t cls[16] = {};
  ::GetClassNameW(hwnd, cls, 16);
  if (wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(hwnd)) return TRUE;
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
  title.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, title.data(), length + 1)));
  if (title != *t_pending.caption) return TRUE;
  ::EndDialog(hwnd, kMessageBoxTimedOut);
  return FALSE;
}

void CALLBACK OnTimeOut(HWND, UINT, UINT_PTR timer, DWORD) {
  if (timer != t_pending.timer || !t_pending.caption) return;
  ::KillTimer(nullptr, timer);
  ::EnumThreadWindows(::GetCurrentThreadId(), CloseIfOurs, 0);
}

}  // namespace

int ShowTimedMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, DWORD timeoutMs) {
  const PendingBox outer = t_pending;
  t_pending.caption = &caption;
  t_pending.timer = ::SetTimer(nullptr, 0, timeoutMs, OnTimeOut);
  const int answer = ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
  if (t_pending.timer) ::KillTimer(nullptr, t_pending.timer);
  t_pending = outer;
  return answer;
}

}  // namespace pravik::controllib
