#pragma once
// Ending the session or shutting down, with the shutdown privilege enabled first on the NT
// family. Failures reach the caller as described errors with the source "Quessel.mShutDown".
#include <windows.h>

namespace pravik::controllib {

// Throws MethodError: 0x8004062F for flags outside 0..31 (before anything is requested),
// 0x8004062C..0x8004062E when the privilege cannot be enabled, 0x8004062B when the request fails.
bool RequestSessionEnd(long flags, bool ntFamily);

}  // namespace pravik::controllib
