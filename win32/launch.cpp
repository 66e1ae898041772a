#include "win32/launch.h"

#include <exdisp.h>
#include <knownfolders.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shellapi.h>

#include "generated/win32/build_settings.h"
#include "win32/com_ptr.h"
#include "win32/handles.h"
#include "win32/text.h"
#include "win32/variant.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

namespace pravik::win32 {

namespace {

// Only builds made by the test commands look at these variables; every other build is compiled
// without this code.
std::optional<std::wstring> StandInFolder([[maybe_unused]] const wchar_t* variable) {
#if PRAVIK_TEST_SEAMS
  wchar_t standIns[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(variable, standIns, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(standIns, length);
#endif
  return std::nullopt;
}

}  // namespace

std::wstring SystemFolder() {
  if (auto standIns = StandInFolder(L"PRAVIK_TEST_SYSTEM_FOLDER")) return *standIns;
  wchar_t folder[MAX_PATH];
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring(L"C:\\Windows\\System32");
}

std::optional<std::wstring> KnownFolderPath(const GUID& id) {
  PWSTR path = nullptr;
  const HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
  std::optional<std::wstring> result;
  if (SUCCEEDED(hr) && path && *path) result = path;
  ::CoTaskMemFree(path);
  return result;
}

std::optional<std::wstring> ProgramFilesFolder() {
  if (auto standIns = StandInFolder(L"PRAVIK_TEST_PROGRAM_FILES")) return standIns;
  return KnownFolderPath(FOLDERID_ProgramFiles);
}

std::wstring SystemEnvironmentBlock() {
  std::vector<std::pair<std::wstring, std::wstring>> values;
  auto add = [&](const wchar_t* name, const std::optional<std::wstring>& value) {
    if (value && !value->empty()) values.emplace_back(name, *value);
  };
  wchar_t buffer[MAX_PATH];
  const UINT windowsLength = ::GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  const std::wstring windows = windowsLength > 0 && windowsLength < MAX_PATH ? buffer : L"C:\\Windows";
  const UINT systemLength = ::GetSystemDirectoryW(buffer, MAX_PATH);
  const std::wstring system = systemLength > 0 && systemLength < MAX_PATH ? buffer : windows + L"\\System32";
  add(L"SystemRoot", windows);
  add(L"windir", windows);
  add(L"SystemDrive", windows.substr(0, 2));
  add(L"ComSpec", system + L"\\cmd.exe");
  add(L"Path", system + L";" + windows + L";" + system + L"\\Wbem");
  add(L"PATHEXT", std::wstring(L".COM;.EXE;.BAT;.CMD;.VBS;.JS;.WSF;.MSC"));
  add(L"OS", std::wstring(L"Windows_NT"));
  const auto profile = KnownFolderPath(FOLDERID_Profile);
  add(L"USERPROFILE", profile);
  if (profile && profile->size() > 2) {
    add(L"HOMEDRIVE", profile->substr(0, 2));
    add(L"HOMEPATH", profile->substr(2));
  }
  add(L"APPDATA", KnownFolderPath(FOLDERID_RoamingAppData));
  const auto local = KnownFolderPath(FOLDERID_LocalAppData);
  add(L"LOCALAPPDATA", local);
  if (local) {
    add(L"TEMP", *local + L"\\Temp");
    add(L"TMP", *local + L"\\Temp");
  }
  const auto programData = KnownFolderPath(FOLDERID_ProgramData);
  add(L"ProgramData", programData);
  add(L"ALLUSERSPROFILE", programData);
  add(L"ProgramFiles", KnownFolderPath(FOLDERID_ProgramFiles));
  add(L"CommonProgramFiles", KnownFolderPath(FOLDERID_ProgramFilesCommon));
  add(L"PUBLIC", KnownFolderPath(FOLDERID_Public));
  DWORD size = MAX_PATH;
  if (::GetComputerNameW(buffer, &size)) add(L"COMPUTERNAME", std::wstring(buffer, size));
  size = MAX_PATH;
  if (::GetUserNameW(buffer, &size) && size > 0) add(L"USERNAME", std::wstring(buffer, size - 1));
#if PRAVIK_TEST_SEAMS
  // The recording stand-ins of the tests find their record file through these.
  if (wchar_t* own = ::GetEnvironmentStringsW()) {
    for (const wchar_t* entry = own; *entry; entry += wcslen(entry) + 1) {
      const std::wstring text = entry;
      const auto equals = text.find(L'=', 1);
      if (text.rfind(L"PRAVIK_", 0) == 0 && equals != std::wstring::npos)
        values.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    }
    ::FreeEnvironmentStringsW(own);
  }
#endif
  // The platform expects the block sorted by name, without regard to case.
  std::sort(values.begin(), values.end(),
            [](const auto& a, const auto& b) { return ::lstrcmpiW(a.first.c_str(), b.first.c_str()) < 0; });
  std::wstring block;
  for (const auto& [name, value] : values) {
    block += name + L"=" + value;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

namespace {

// The signed-in user's own token, from the process of the desktop shell (the unelevated explorer).
Handle ShellUserToken() {
  const HWND shell = ::GetShellWindow();
  DWORD pid = 0;
  if (!shell || !::GetWindowThreadProcessId(shell, &pid) || pid == 0) return Handle{};
  Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return Handle{};
  Handle token;
  if (!::OpenProcessToken(process.get(), TOKEN_DUPLICATE | TOKEN_QUERY, token.put())) return Handle{};
  Handle primary;
  if (!::DuplicateTokenEx(token.get(),
                          TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT |
                              TOKEN_ADJUST_SESSIONID,
                          nullptr, SecurityImpersonation, TokenPrimary, primary.put()))
    return Handle{};
  return primary;
}

// True unless the system says this process runs without elevation (then its own rights are the
// user's normal ones and it may start programs itself).
bool RunsElevated() {
  Handle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return true;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return true;
  return elevation.TokenIsElevated != 0;
}

#if PRAVIK_TEST_SEAMS
// Test builds record the route asked of the platform (Wine models no elevation, and its
// CreateProcessWithTokenW passes no handles on), then start the plain way.
void RecordRoute(const std::wstring& line) {
  wchar_t file[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", file, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const FileHandle out(::CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr));
  const std::string utf8 = WideToUtf8(line + L"\n");
  DWORD written = 0;
  if (out) ::WriteFile(out.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}
#endif

}  // namespace

UserStart StartConsoleCommand(std::wstring commandLine, STARTUPINFOW& startup, bool systemEnvironment,
                              PROCESS_INFORMATION& started) {
  const std::wstring system = SystemFolder();
  std::wstring interpreter;
  if (commandLine.size() > 8 && ::CompareStringOrdinal(commandLine.c_str(), 8, L"cmd.exe ", 8, TRUE) == CSTR_EQUAL)
    interpreter = system + L"\\cmd.exe";
  std::wstring environment;
  if (systemEnvironment) environment = SystemEnvironmentBlock();
  // Never elevated: without the user's own token nothing starts (unless this process itself runs
  // with the user's normal rights).
  const Handle token = ShellUserToken();
  bool ownRightsAreTheUsers = !token && !RunsElevated();
#if PRAVIK_TEST_SEAMS
  // Wine has no desktop shell process and no elevation: its processes run with the user's rights.
  // A test takes the token away to see the refusal.
  if (::GetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", nullptr, 0)) return UserStart::kNoUserToken;
  if (!token) ownRightsAreTheUsers = true;
#endif
  if (!token && !ownRightsAreTheUsers) return UserStart::kNoUserToken;
  const wchar_t* application = interpreter.empty() ? nullptr : interpreter.c_str();
  void* block = environment.empty() ? nullptr : environment.data();
  const DWORD flags = NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT;
  bool ok = false;
#if PRAVIK_TEST_SEAMS
  RecordRoute(L"unelevated\t" + commandLine);
  ok = ::CreateProcessW(application, commandLine.data(), nullptr, nullptr, TRUE, flags, block, system.c_str(),
                        &startup, &started) != FALSE;
#else
  if (token)
    ok = ::CreateProcessWithTokenW(token.get(), 0, application, commandLine.data(), flags, block, system.c_str(),
                                   &startup, &started) != FALSE;
  else
    ok = ::CreateProcessW(application, commandLine.data(), nullptr, nullptr, TRUE, flags, block, system.c_str(),
                          &startup, &started) != FALSE;
#endif
  return ok ? UserStart::kStarted : UserStart::kFailed;
}

namespace {

// COM for the calling thread when it has none yet; a thread that has it keeps its own.
class ComForThisThread {
 public:
  ComForThisThread() noexcept : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComForThisThread(const ComForThisThread&) = delete;
  ComForThisThread& operator=(const ComForThisThread&) = delete;
  ~ComForThisThread() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }

 private:
  HRESULT hr_;
};

// The desktop shell's own ShellExecute (IShellDispatch2 of the desktop's folder view), which
// runs in explorer with the user's normal rights. False when any step is missing.
[[maybe_unused]] bool DesktopShellOpens(const std::wstring& file, const std::wstring& arguments, const std::wstring& folder) {
  const ComForThisThread com;
  ComPtr<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.put_void())))
    return false;
  Variant desktop = Variant::Long(CSIDL_DESKTOP);
  Variant none;
  long window = 0;
  ComPtr<IDispatch> found;
  if (windows->FindWindowSW(&desktop.v, &none.v, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.put()) != S_OK ||
      !found)
    return false;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  ComPtr<IShellDispatch2> shell;
  if (FAILED(found.As(services)) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
      FAILED(browser->QueryActiveShellView(view.put())) ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) ||
      FAILED(background.As(folderView)) || FAILED(folderView->get_Application(application.put())) ||
      FAILED(application.As(shell)))
    return false;
  const Variant fileText = Variant::Text(file);
  Variant argumentText = Variant::Text(arguments);
  Variant folderText = Variant::Text(folder);
  Variant verb = Variant::Text(L"open");
  Variant show = Variant::Long(SW_SHOWNORMAL);
  if (fileText.empty()) return false;
  return SUCCEEDED(shell->ShellExecute(fileText.v.bstrVal, argumentText.v, folderText.v, verb.v, show.v));
}

// The target's own folder: what precedes its last backslash; nothing for an address.
std::wstring FolderOf(const std::wstring& file) {
  if (file.find(L"://") != std::wstring::npos) return {};
  const auto slash = file.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash == 2 ? 3 : slash);
}

}  // namespace

UserStart OpenAsUser(const std::wstring& file, const std::wstring& arguments) {
  const std::wstring folder = FolderOf(file);
#if PRAVIK_TEST_SEAMS
  // As for console commands: the route asked for is recorded, then the program started the plain
  // way (Wine has no elevation, and its desktop would start it without the test's variables the
  // recording stand-ins need). A test takes the desktop shell away to see the refusal.
  if (::GetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", nullptr, 0)) return UserStart::kNoUserToken;
  RecordRoute(L"shell\t" + file + L"\t" + arguments + L"\t" + folder);
  // Addresses would start the prefix's own browser: a test may only record what was asked.
  if (::GetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD_ONLY", nullptr, 0)) return UserStart::kStarted;
#else
  if (DesktopShellOpens(file, arguments, folder)) return UserStart::kStarted;
  // Never elevated: the shell's open verb in this process would run the target as administrator.
  if (RunsElevated()) return UserStart::kNoUserToken;
#endif
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) ? UserStart::kStarted : UserStart::kFailed;
}

UserStart OpenAsUserOrTell(HWND owner, const std::wstring& file, const std::wstring& arguments) {
  const UserStart start = OpenAsUser(file, arguments);
  if (start == UserStart::kNoUserToken) ::MessageBoxW(owner, kNoUserTokenMessage, L"Pravik", MB_OK | MB_ICONWARNING);
  return start;
}

bool StartProgram(const std::wstring& fullPath, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + fullPath + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(fullPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started))
    return false;
  Handle process(started.hProcess);
  Handle thread(started.hThread);
  return true;
}

}  // namespace pravik::win32
