#pragma once
// Where the web panel may go by itself. The panel runs inside an elevated program, so it follows
// only http(s) addresses on the hosts it was given; every other link belongs in the user's own
// browser.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pravik::core::menu {

// An http(s) address's host (lower case, without user part or brackets) and port (the scheme's
// own when none is written). Nothing for any other scheme, no host, or a port that is not 1-65535.
struct AddressHost {
  std::wstring host;
  unsigned port = 0;
  bool operator==(const AddressHost&) const = default;
};
std::optional<AddressHost> HostOf(std::wstring_view address);

// Whether the panel itself may navigate to `address`: an http(s) address whose host (ignoring
// letter case) and port are those of one of the `given` addresses.
bool PanelMayFollow(std::wstring_view address, std::span<const std::wstring> given);

}  // namespace pravik::core::menu
