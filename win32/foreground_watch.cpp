#include "win32/foreground_watch.h"

#include <vector>

namespace pravik::win32 {
namespace {

struct Subscriber {
  HWINEVENTHOOK hook;
  HWND owner;
  UINT message;
};

// Out-of-context events arrive on the thread that set the hook, inside its message loop.
thread_local std::vector<Subscriber> t_subscribers;

}  // namespace

void ForegroundWatch::Attach(HWND owner, UINT message) noexcept {
  owner_ = owner;
  message_ = message;
  poll_.Attach(owner);
}

void ForegroundWatch::Start() noexcept {
  if (enabled_ || !owner_) return;
  enabled_ = true;
  hook_ = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &ForegroundWatch::OnEvent, 0, 0,
                            WINEVENT_OUTOFCONTEXT);
  if (!hook_) {
    poll_.Start();
    return;
  }
  try {
    t_subscribers.push_back({hook_, owner_, message_});
  } catch (...) {
    ::UnhookWinEvent(hook_);
    hook_ = nullptr;
    poll_.Start();
  }
}

void ForegroundWatch::Stop() noexcept {
  enabled_ = false;
  poll_.Stop();
  if (!hook_) return;
  ::UnhookWinEvent(hook_);
  std::erase_if(t_subscribers, [this](const Subscriber& s) { return s.hook == hook_; });
  hook_ = nullptr;
}

void CALLBACK ForegroundWatch::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND, LONG, LONG, DWORD, DWORD) noexcept {
  if (event != EVENT_SYSTEM_FOREGROUND) return;
  // Posted, not called: the owner's handler runs from its own loop, with its usual error handling.
  for (const Subscriber& s : t_subscribers)
    if (s.hook == hook) ::PostMessageW(s.owner, s.message, 0, 0);
}

}  // namespace pravik::win32
