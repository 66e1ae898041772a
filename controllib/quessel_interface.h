#pragma once
// The interface generated from quessel.idl. Its enumeration members carry the platform's
// session-end flag names, which <windows.h> defines as macros; they are lifted for the header.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#pragma push_macro("EWX_LOGOFF")
#pragma push_macro("EWX_SHUTDOWN")
#pragma push_macro("EWX_REBOOT")
#pragma push_macro("EWX_FORCE")
#pragma push_macro("EWX_POWEROFF")
#pragma push_macro("EWX_FORCEIFHUNG")
#undef EWX_LOGOFF
#undef EWX_SHUTDOWN
#undef EWX_REBOOT
#undef EWX_FORCE
#undef EWX_POWEROFF
#undef EWX_FORCEIFHUNG
#include "generated/controllib/quessel_idl.h"
#pragma pop_macro("EWX_LOGOFF")
#pragma pop_macro("EWX_SHUTDOWN")
#pragma pop_macro("EWX_REBOOT")
#pragma pop_macro("EWX_FORCE")
#pragma pop_macro("EWX_POWEROFF")
#pragma pop_macro("EWX_FORCEIFHUNG")
