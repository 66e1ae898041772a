#include "installer/tests/installer_test_support.h"

#include <aclapi.h>

#include <memory>

#include "testsupport/files.h"
#include "testsupport/process.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::installer {

std::wstring RegistryText(HKEY hive, const wchar_t* key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (::RegGetValueW(hive, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return L"";
  return value;
}

bool KeyExists(HKEY hive, const wchar_t* key) {
  win32::RegKey opened;
  return ::RegOpenKeyExW(hive, key, 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments) {
  auto process = testsupport::ChildProcess::Launch(exe, arguments);
  if (!process.started()) return ~0u;
  return process.WaitExit(120000).value_or(~0u);
}

std::wstring FreshInstallFolder(const std::wstring& hint) {
  return L"C:\\PravikTest-" + hint + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount64());
}

namespace {

struct LocalFreer {
  void operator()(void* p) const { ::LocalFree(p); }
};

bool IsBroadGroup(PSID sid) {
  for (const auto type : {WinWorldSid, WinBuiltinUsersSid, WinAuthenticatedUserSid, WinInteractiveSid}) {
    BYTE known[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof known;
    if (::CreateWellKnownSid(type, nullptr, known, &size) && ::EqualSid(sid, known)) return true;
  }
  return false;
}

bool BroadGroupsMayChange(const std::wstring& path) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &raw) != ERROR_SUCCESS)
    return true;  // unreadable counts as unsafe
  std::unique_ptr<void, LocalFreer> descriptor(raw);
  if (!dacl) return true;  // no DACL: everyone may do anything
  constexpr ACCESS_MASK kChange = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                  FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace)) return true;
    const auto* header = static_cast<ACE_HEADER*>(ace);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if ((allowed->Mask & kChange) && IsBroadGroup(const_cast<DWORD*>(&allowed->SidStart))) return true;
  }
  return false;
}

void CollectChangeable(const std::wstring& path, std::vector<std::wstring>& found) {
  if (BroadGroupsMayChange(path)) found.push_back(path);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  WIN32_FIND_DATAW entry;
  win32::FindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &entry));
  if (!find) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") CollectChangeable(path + L"\\" + name, found);
  } while (::FindNextFileW(find.get(), &entry));
}

}  // namespace

bool GrantEveryoneFullControl(const std::wstring& path) {
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof everyone;
  if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size)) return false;
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = FILE_ALL_ACCESS;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(everyone);
  PACL raw = nullptr;
  if (::SetEntriesInAclW(1, &access, nullptr, &raw) != ERROR_SUCCESS) return false;
  std::unique_ptr<void, LocalFreer> acl(raw);
  return ::SetNamedSecurityInfoW(const_cast<LPWSTR>(path.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                 nullptr, raw, nullptr) == ERROR_SUCCESS;
}

std::vector<std::wstring> ChangeableByUsers(const std::wstring& folder) {
  std::vector<std::wstring> found;
  CollectChangeable(folder, found);
  return found;
}

HWND VisibleStartButton(DWORD* pid) {
  HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
  if (!hwnd || !::IsWindowVisible(hwnd)) return nullptr;
  if (pid) ::GetWindowThreadProcessId(hwnd, pid);
  return hwnd;
}

std::wstring ImageOf(DWORD pid) {
  win32::Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!process || !::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return L"";
  return path;
}

void EndPravik() {
  for (int i = 0; i < 10; ++i) {
    HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
    if (!hwnd) return;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    win32::Handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 10000);
    }
  }
}

void RegisterBuiltQuessel() {
  const std::wstring ocx = testsupport::OutDir() + L"\\Quessel.ocx";
  if (testsupport::FileExists(ocx)) RunAndWait(L"C:\\windows\\system32\\regsvr32.exe", L"/s \"" + ocx + L"\"");
}

}  // namespace pravik::installer
