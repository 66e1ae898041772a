#include <gtest/gtest.h>

#include <string>

#include "win32/handles.h"
#include "win32/registry.h"

namespace pravik::win32 {
namespace {

const wchar_t* kKey = L"Software\\PravikTests\\Registry";

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }
  void SetRaw(const wchar_t* name, DWORD type, const std::string& bytes) {
    ::RegSetValueExA(key_.get(), std::string(name, name + wcslen(name)).c_str(), 0, type,
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  }
  RegKey key_;
};

TEST_F(RegistryTest, TextValuesAndEverythingElse) {
  SetRaw(L"plain", REG_SZ, std::string("1.0.3\0", 6));
  SetRaw(L"empty", REG_SZ, std::string("\0", 1));
  SetRaw(L"unterminated", REG_SZ, "2.5");
  SetRaw(L"expand", REG_EXPAND_SZ, std::string("%TEMP%\0", 7));
  SetRaw(L"number", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  SetRaw(L"inner nul", REG_SZ, std::string("ab\0cd\0", 6));

  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"plain"), L"1.0.3");
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"empty"), L"");
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"unterminated"), L"2.5");
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"inner nul"), L"ab");
  EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"expand").has_value());
  EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"number").has_value());
  EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"missing").has_value());
  EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, L"Software\\PravikTests\\NoSuchKey", L"plain").has_value());
}

TEST_F(RegistryTest, KoreanTextComesThroughTheCodePage) {
  if (::GetACP() != 949) GTEST_SKIP() << "needs code page 949";
  const std::wstring text = L"버전 1.0";
  ::RegSetValueExW(key_.get(), L"korean", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kKey, L"korean"), text);
}

}  // namespace
}  // namespace pravik::win32
