#include "startup/start_key_hook.h"

namespace pravik::startup {
namespace {

// Marks the key events this hook hands on itself, so that it lets them pass.
constexpr ULONG_PTR kOwnInput = 0x5052564B;

// The hook runs on its thread only; one hook per process.
HWND g_target = nullptr;
UINT g_message = 0;
DWORD g_heldWindowsKey = 0;  // the Windows key held down and swallowed, alone so far
bool g_escapeSwallowed = false;

bool IsWindowsKey(DWORD vk) { return vk == VK_LWIN || vk == VK_RWIN; }

void HandOn(DWORD vk, DWORD scan, DWORD flags) {
  INPUT input[1] = {};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = static_cast<WORD>(vk);
  input[0].ki.wScan = static_cast<WORD>(scan);
  input[0].ki.dwFlags = flags;
  input[0].ki.dwExtraInfo = kOwnInput;
  ::SendInput(1, input, sizeof(INPUT));
}

// True: the event is swallowed.
bool Filter(const KBDLLHOOKSTRUCT& key) {
  if (key.dwExtraInfo == kOwnInput) return false;
  const bool down = (key.flags & LLKHF_UP) == 0;
  if (IsWindowsKey(key.vkCode)) {
    if (down) {
      if (!g_heldWindowsKey) g_heldWindowsKey = key.vkCode;
      return g_heldWindowsKey == key.vkCode;  // repeats of the held key too
    }
    if (g_heldWindowsKey != key.vkCode) return false;  // part of a combination: handed on already
    g_heldWindowsKey = 0;
    ::PostMessageW(g_target, g_message, 0, 0);
    return true;
  }
  if (g_heldWindowsKey && down) {
    // A combination: the held Windows key goes first, then this key, both handed on as they came.
    const DWORD held = g_heldWindowsKey;
    g_heldWindowsKey = 0;
    HandOn(held, 0, KEYEVENTF_EXTENDEDKEY);
    DWORD flags = (key.flags & LLKHF_EXTENDED) ? KEYEVENTF_EXTENDEDKEY : 0;
    HandOn(key.vkCode, key.scanCode, flags);
    return true;
  }
  if (key.vkCode == VK_ESCAPE) {
    if (down && (::GetAsyncKeyState(VK_CONTROL) & 0x8000) && !(::GetAsyncKeyState(VK_MENU) & 0x8000) &&
        !(::GetAsyncKeyState(VK_SHIFT) & 0x8000)) {
      if (!g_escapeSwallowed) ::PostMessageW(g_target, g_message, 0, 0);
      g_escapeSwallowed = true;
      return true;
    }
    if (!down && g_escapeSwallowed) {
      g_escapeSwallowed = false;
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HC_ACTION && lParam && Filter(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam))) return 1;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void StartKeyHook::Start(HWND target, UINT message) {
  if (thread_.joinable()) return;
  g_target = target;
  g_message = message;
  DWORD id = 0;
  HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([&id, ready] {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's queue, for the quit
    HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, &HookProc, ::GetModuleHandleW(nullptr), 0);
    id = ::GetCurrentThreadId();
    ::SetEvent(ready);
    // Low-level hooks are called through this thread's messages: it only ever waits for them.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    if (hook) ::UnhookWindowsHookEx(hook);
  });
  // The thread only sets up its hook: the wait is short, and it must end before `id` goes.
  ::WaitForSingleObject(ready, INFINITE);
  ::CloseHandle(ready);
  threadId_ = id;
}

void StartKeyHook::Stop() noexcept {
  if (!thread_.joinable()) return;
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

}  // namespace pravik::startup
