#include "core/menu/panel_navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pravik::core::menu {
namespace {

const std::vector<std::wstring> kGiven{L"http://127.0.0.1:8731/", L"https://Notice.Example.com/board/today.html\r\n"};

TEST(PanelNavigationTest, FollowsOnlyHttpOnTheGivenHostsAndPorts) {
  EXPECT_TRUE(PanelMayFollow(L"http://127.0.0.1:8731/other/page.html", kGiven));
  EXPECT_TRUE(PanelMayFollow(L"HTTPS://notice.EXAMPLE.com/x?y=1", kGiven));
  EXPECT_TRUE(PanelMayFollow(L"https://notice.example.com:443", kGiven));
  // Another port of the same host is another server.
  EXPECT_FALSE(PanelMayFollow(L"http://127.0.0.1/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"http://notice.example.com/", kGiven));
  // Other hosts, however they are dressed up to look like a given one.
  EXPECT_FALSE(PanelMayFollow(L"https://evil.example.net/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"https://notice.example.com.evil.net/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"https://notice.example.com@evil.net/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"https://evil.net\\@notice.example.com/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"https://evil.net#@notice.example.com/", kGiven));
  // Other schemes never, whatever the host.
  EXPECT_FALSE(PanelMayFollow(L"file://127.0.0.1:8731/c$/x.hta", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"javascript:location='http://127.0.0.1:8731/'", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"res://ieframe.dll/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"http://:8731/", kGiven));
  EXPECT_FALSE(PanelMayFollow(L"http://127.0.0.1:99999/", kGiven));
}

TEST(PanelNavigationTest, HostOfReadsUserPartsBracketsAndDefaultPorts) {
  EXPECT_EQ(HostOf(L"http://user:pw@Host.Example:8080/p"), (AddressHost{L"host.example", 8080}));
  EXPECT_EQ(HostOf(L"https://[::1]/"), (AddressHost{L"::1", 443}));
  EXPECT_EQ(HostOf(L"https://[::1]:8443/"), (AddressHost{L"::1", 8443}));
  EXPECT_EQ(HostOf(L"http://example.com./"), (AddressHost{L"example.com", 80}));
  EXPECT_EQ(HostOf(L"https://example.com\r\n"), (AddressHost{L"example.com", 443}));
  EXPECT_FALSE(HostOf(L"http://exa mple.com/").has_value());
  EXPECT_FALSE(HostOf(L"http://example.com:8a/").has_value());
}

}  // namespace
}  // namespace pravik::core::menu
