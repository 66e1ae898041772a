#pragma once
// A user-interface thread for tests of windows that run modal loops of their own (the folder
// tree's dialog, popup menus): the windows live on this thread, the test drives them from its
// own thread with Run, which executes a function on the UI thread and returns its result. Sent
// messages are dispatched by every modal loop, so Run works while one is running.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <thread>
#include <type_traits>

#include "win32/com_ptr.h"

namespace pravik::testsupport {

class UiThread {
 public:
  UiThread() {
    ended_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] { Main(ready); });
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
  }
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;
  ~UiThread() {
    // WM_QUIT also ends any modal loop still running; each passes it on to the one below. A loop
    // that drops it instead would leave this join waiting for ever: asked again until the thread
    // has ended, with a note that names the fault.
    for (int attempt = 0;; ++attempt) {
      ::PostMessageW(window_, WM_APP, 0, 0);
      if (::WaitForSingleObject(ended_, 1000) == WAIT_OBJECT_0) break;
      std::fprintf(stderr, "UiThread: a quit request was lost; asking again (%d)\n", attempt + 1);
    }
    thread_.join();
    ::CloseHandle(ended_);
  }

  template <typename F>
  auto Run(F f) -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    std::exception_ptr error;
    if constexpr (std::is_void_v<R>) {
      std::function<void()> task = [&] {
        try { f(); } catch (...) { error = std::current_exception(); }
      };
      ::SendMessageW(window_, WM_APP + 1, 0, reinterpret_cast<LPARAM>(&task));
      if (error) std::rethrow_exception(error);
    } else {
      R result{};
      std::function<void()> task = [&] {
        try { result = f(); } catch (...) { error = std::current_exception(); }
      };
      ::SendMessageW(window_, WM_APP + 1, 0, reinterpret_cast<LPARAM>(&task));
      if (error) std::rethrow_exception(error);
      return result;
    }
  }

  // Polls the condition on the UI thread until it holds; false when the time ran out.
  template <typename F>
  bool WaitFor(F condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
      if (Run([&] { return static_cast<bool>(condition()); })) return true;
      if (::GetTickCount64() >= end) return false;
      ::Sleep(20);
    }
  }

  // Waits until the UI thread has handled every message posted to it before this call: Run's sent
  // messages overtake them, so a state set through Run can still be undone by one of them (a
  // window handing the keyboard back once its set-up has run). False when the time ran out.
  bool Drain(DWORD timeoutMs = 15000) {
    HANDLE handled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::PostMessageW(window_, WM_APP + 2, 0, reinterpret_cast<LPARAM>(handled));
    const bool done = ::WaitForSingleObject(handled, timeoutMs) == WAIT_OBJECT_0;
    // Not closed when the message may still come: the UI thread would signal a closed handle.
    if (done) ::CloseHandle(handled);
    return done;
  }

  [[nodiscard]] DWORD threadId() const noexcept { return threadId_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) {
      (*reinterpret_cast<std::function<void()>*>(lParam))();
      return 0;
    }
    if (message == WM_APP + 2) {
      ::SetEvent(reinterpret_cast<HANDLE>(lParam));
      return 0;
    }
    if (message == WM_APP) {
      ::PostQuitMessage(0);
      return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Main(HANDLE ready) {
    win32::OleScope ole;
    threadId_ = ::GetCurrentThreadId();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &UiThread::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PravikTestUiThread";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ::SetEvent(ready);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::DestroyWindow(window_);
    ::SetEvent(ended_);
  }

  std::thread thread_;
  HWND window_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE ended_ = nullptr;
};

}  // namespace pravik::testsupport
