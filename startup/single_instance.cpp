#include "startup/single_instance.h"

#include <windows.h>

#include "win32/handles.h"

namespace pravik::startup {

bool AnotherInstanceRuns() {
  static win32::Handle instanceMutex;
  instanceMutex.reset(::CreateMutexW(nullptr, FALSE, L"Local\\Pravik.StartButton"));
  return instanceMutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace pravik::startup
