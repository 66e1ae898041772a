#pragma once

namespace pravik::win32 {

// Dispatches the calling thread's pending window messages, for waits that must keep the
// desktop live. A WM_QUIT met on the way is posted again for the program's own loop and ends
// the pass; the result says whether that happened.
bool PumpPendingMessages() noexcept;

}  // namespace pravik::win32
