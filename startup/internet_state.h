#pragma once
#include <string>

namespace pravik::startup {

// -1 when the platform refuses to attempt a connection, 0 when the URL's server cannot be
// reached, 1 when it can. The forced connection test is bounded in time: a host that does not
// answer counts as unreachable after a few seconds instead of holding start-up.
int ProbeConnection(const std::wstring& url);

}  // namespace pravik::startup
