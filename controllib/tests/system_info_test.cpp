// System information and machine identity through the real interface.
#include <gtest/gtest.h>

#include "generated/win32/build_settings.h"
#include <windows.h>

#include <regex>

#include "generated/win32/build_settings.h"
#include "controllib/tests/dispatch_client.h"
#include "core/crypto/unique_number.h"
#include "core/quessel_sysinfo/platform_name.h"
#include "testsupport/http_test_server.h"

namespace pravik::controllib {
namespace {

TEST(QuesselSystemInfo, VersionNamesAndAddresses) {
  DispatchClient client;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(::GetVersionExA(&version));
  EXPECT_EQ(client.Call(L"cOS_Version1").value.Text(), std::to_wstring(version.dwMajorVersion));
  EXPECT_EQ(client.Call(L"cOS_Version2").value.Text(), std::to_wstring(version.dwMinorVersion));
  EXPECT_EQ(client.Call(L"cOS_BuildNumber").value.Text(), std::to_wstring(version.dwBuildNumber));
  EXPECT_EQ(client.Call(L"cOS_Name").value.Text(),
            core::quessel_sysinfo::PlatformName(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion));
  EXPECT_TRUE(std::regex_match(client.Call(L"cIE_Version").value.Text(), std::wregex(L"\\d+\\.\\d+\\.\\d+")));

  wchar_t user[256] = {};
  DWORD size = 256;
  ::GetUserNameW(user, &size);
  EXPECT_EQ(client.Call(L"cLogon_UserName").value.Text(), user);
  EXPECT_EQ(client.Call(L"cLogin_UserName").value.Text(), user);
  wchar_t computer[256] = {};
  size = 256;
  ::GetComputerNameW(computer, &size);
  EXPECT_EQ(client.Call(L"cComputer_Name").value.Text(), computer);  // an ordinary name loses nothing

  const std::wstring ip = client.Call(L"cIP").value.Text();
  EXPECT_TRUE(ip.empty() || std::regex_match(ip, std::wregex(L"\\d+\\.\\d+\\.\\d+\\.\\d+"))) << ip;
}

TEST(QuesselSystemInfo, ExternalAddressThroughTheTransferClass) {
  // The service's host is a build setting; test builds leave it on loopback port 8731.
  if (std::wstring(PRAVIK_EXTERNAL_IP_HOST) != L"127.0.0.1:8731") GTEST_SKIP() << "service host is not loopback";
  pravik::testsupport::HttpTestServer server(8731);
  ASSERT_NE(server.port(), 0) << "port 8731 is taken";
  pravik::testsupport::HttpResponse answer;
  answer.body = "203.0.113.7";
  server.Route("/home/External_IP/ip.php", answer);
  DispatchClient client;
  EXPECT_EQ(client.Call(L"cIP_External").value.Text(), L"203.0.113.7");
  EXPECT_EQ(server.RequestCount("/home/External_IP/ip.php"), 1u);
  server.Stop();
  CallResult unreachable = client.Call(L"cIP_External");
  EXPECT_EQ(unreachable.hr, DISP_E_EXCEPTION);
  EXPECT_NE(unreachable.Description().find(L"/home/External_IP/ip.php"), std::wstring::npos);
}

TEST(QuesselSystemInfo, LoadSerialsAndCards) {
  DispatchClient client;
  EXPECT_EQ(client.Call(L"cCPU_Used").value.v.lVal, 0);  // a rate needs two collections
  const long second = client.Call(L"cCPU_Used").value.v.lVal;
  EXPECT_GE(second, 0);
  EXPECT_LE(second, 100);

  DWORD serial = 0;
  ::GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  BSTR c = ::SysAllocString(L"C");
  EXPECT_EQ(client.Call(L"cHDDSerialNumber", {ByRef(&c)}).value.v.lVal, static_cast<long>(serial));
  ::SysFreeString(c);
  // Only one drive letter is asked about: a share path or a longer text never reaches the system.
  for (const wchar_t* other : {L"Q", L"\\\\127.0.0.1\\c$", L"C:", L"CC", L"", L"1"}) {
    BSTR none = ::SysAllocString(other);
    EXPECT_EQ(client.Call(L"cHDDSerialNumber", {ByRef(&none)}).value.v.lVal, 0);
    ::SysFreeString(none);
  }

  long card = 200;
  EXPECT_EQ(client.Call(L"cMacAddress", {ByRef(&card)}).value.Text(), L"000000000000");
  card = 0;
  EXPECT_TRUE(std::regex_match(client.Call(L"cMacAddress", {ByRef(&card)}).value.Text(), std::wregex(L"[0-9A-F]{12}")));
}

TEST(QuesselSystemInfo, UniqueNumberIsStableAndDecrypts) {
  DispatchClient client;
  const std::wstring first = client.Call(L"cUniqueNumber").value.Text();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.size() % 64, 0u);
  EXPECT_TRUE(std::regex_match(first, std::wregex(L"[0-9A-F]+")));
  EXPECT_EQ(DispatchClient().Call(L"cUniqueNumber").value.Text(), first);
  const auto text = core::crypto::DecryptFromHex(std::string(first.begin(), first.end()), u"qz4");
  ASSERT_TRUE(text.has_value());
  EXPECT_FALSE(text->empty());
}

}  // namespace
}  // namespace pravik::controllib
