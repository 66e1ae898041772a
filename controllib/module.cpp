#include "controllib/module.h"

#include <atomic>

#include "win32/http/inet_transfer.h"

namespace pravik::controllib {
namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_users{0};

}  // namespace

HINSTANCE ModuleInstance() noexcept {
  // Linked into a test program the code has no DLL of its own; the executable stands in.
  return g_instance ? g_instance : ::GetModuleHandleW(nullptr);
}
void SetModuleInstance(HINSTANCE instance) noexcept { g_instance = instance; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ModuleAddRef() noexcept { ++g_users; }
void ModuleRelease() noexcept { --g_users; }
// A blocking fetch that timed out leaves its worker running this library's code: it counts too.
bool ModuleInUse() noexcept { return g_users.load() != 0 || win32::http::TransfersRunning(); }

}  // namespace pravik::controllib
