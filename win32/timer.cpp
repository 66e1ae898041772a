#include "win32/timer.h"

namespace pravik::win32 {

void Timer::Attach(HWND owner) noexcept {
  owner_ = owner;
  if (enabled_) Arm();
}

void Timer::Arm() noexcept {
  if (owner_ && interval_ > 0) ::SetTimer(owner_, id_, interval_, nullptr);
}

void Timer::Start() noexcept {
  // Enabling a running timer leaves its countdown alone.
  if (enabled_ && owner_) return;
  enabled_ = true;
  Arm();
}

void Timer::Stop() noexcept {
  enabled_ = false;
  if (owner_ && ::IsWindow(owner_)) ::KillTimer(owner_, id_);
}

void Timer::SetInterval(UINT intervalMs) noexcept {
  interval_ = intervalMs;
  if (enabled_) Arm();
}

}  // namespace pravik::win32
