// Self-registration: every key written is removed again, and both exports can run twice.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "controllib/quessel_interface.h"
#include "testsupport/process.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

// The keys the library owns below HKEY_CLASSES_ROOT.
std::vector<std::wstring> OwnedKeys() {
  return {L"CLSID\\" + GuidText(CLSID_Quessel), L"QuesselControl.Quessel", L"TypeLib\\" + GuidText(LIBID_QuesselControl),
          L"Interface\\" + GuidText(IID__Quessel), L"Interface\\" + GuidText(DIID___Quessel)};
}

// A key tree as text: every subkey path with its values, sorted.
void Dump(HKEY root, const std::wstring& path, std::map<std::wstring, std::wstring>& out) {
  win32::RegKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
  out[path] = L"";
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    BYTE data[1024];
    DWORD nameLength = 256, dataLength = sizeof data, type = 0;
    if (::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    out[path + L"|" + name] = std::wstring(reinterpret_cast<wchar_t*>(data), dataLength / sizeof(wchar_t));
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (::RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Dump(root, path + L"\\" + name, out);
  }
}

std::map<std::wstring, std::wstring> Snapshot() {
  std::map<std::wstring, std::wstring> all;
  for (const auto& key : OwnedKeys()) Dump(HKEY_CLASSES_ROOT, key, all);
  return all;
}

DWORD SubkeyCount(const wchar_t* path) {
  win32::RegKey key;
  DWORD count = 0;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS)
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
  return count;
}

struct Counts {
  DWORD clsid, typelib, iface, root;
  bool operator==(const Counts&) const = default;
};
Counts CountAll() {
  return {SubkeyCount(L"CLSID"), SubkeyCount(L"TypeLib"), SubkeyCount(L"Interface"), SubkeyCount(L"")};
}

TEST(QuesselRegistration, RegisterUnregisterRegisterLeavesNothingBehind) {
  const std::wstring path = pravik::testsupport::OutDir() + L"\\Quessel.ocx";
  win32::Module library(::LoadLibraryW(path.c_str()));
  ASSERT_TRUE(library) << "Quessel.ocx not found in the installed layout";
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto reg = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllRegisterServer")));
  auto unreg = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllUnregisterServer")));
  ASSERT_TRUE(reg && unreg);

  ASSERT_EQ(unreg(), S_OK);
  EXPECT_TRUE(Snapshot().empty());
  const Counts clean = CountAll();

  ASSERT_EQ(reg(), S_OK);
  const auto registered = Snapshot();
  const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_Quessel);
  EXPECT_EQ(registered.count(clsidKey + L"\\Control"), 1u);
  EXPECT_EQ(registered.at(clsidKey + L"\\ProgID|"), std::wstring(L"QuesselControl.Quessel") + L'\0');
  EXPECT_EQ(registered.at(L"QuesselControl.Quessel\\CLSID|"), GuidText(CLSID_Quessel) + L'\0');
  EXPECT_EQ(registered.at(clsidKey + L"\\TypeLib|"), GuidText(LIBID_QuesselControl) + L'\0');
  EXPECT_EQ(_wcsicmp(registered.at(clsidKey + L"\\InprocServer32|").c_str(), path.c_str()), 0);
  EXPECT_EQ(registered.count(L"Interface\\" + GuidText(IID__Quessel)), 1u);
  EXPECT_EQ(registered.count(L"TypeLib\\" + GuidText(LIBID_QuesselControl)), 1u);

  ASSERT_EQ(reg(), S_OK);
  EXPECT_EQ(Snapshot(), registered);

  ASSERT_EQ(unreg(), S_OK);
  EXPECT_TRUE(Snapshot().empty());
  EXPECT_EQ(CountAll(), clean);
  EXPECT_EQ(unreg(), S_OK);

  // Leave the library registered for the other tests, exactly as before.
  ASSERT_EQ(reg(), S_OK);
  EXPECT_EQ(Snapshot(), registered);
}

}  // namespace
}  // namespace pravik::controllib
