#pragma once
// What the control tells containers about itself, once for the registry and GetMiscStatus alike.
// It is a utility: its face shows in a design environment, and at run time it shows nothing.
#include <windows.h>
#include <oleidl.h>

namespace pravik::controllib {

constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INVISIBLEATRUNTIME | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
static_assert(kMiscStatus == 132497);

}  // namespace pravik::controllib
