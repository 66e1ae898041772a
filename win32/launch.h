#pragma once
// Every program Pravik and Molvane start goes through here. Both run as administrator, so what
// they start must not be chosen by anything a standard user controls: programs are named by full
// path (never resolved through the search path or the shell's open verb, which consults the
// user's HKCU\Software\Classes), and system locations come from the system, never from
// environment variables.
#include <windows.h>

#include <optional>
#include <string>

namespace pravik::win32 {

// The system folder (GetSystemDirectory). In builds made by the test commands, a test may point
// it at a folder of stand-ins (PRAVIK_TEST_SYSTEM_FOLDER); no other build has that seam.
std::wstring SystemFolder();
// A known folder's path (SHGetKnownFolderPath), nothing when the system has none.
std::optional<std::wstring> KnownFolderPath(const GUID& id);
// The program files folder of this program's architecture, from the system (the variable
// ProgramFiles can be set by any user through HKCU\Environment). Test builds: may be pointed at
// a folder of stand-ins (PRAVIK_TEST_PROGRAM_FILES).
std::optional<std::wstring> ProgramFilesFolder();

// An environment block built from system values only (the system and known folders, the
// signed-in user's profile folders, the computer and user names), for the fixed command lines
// of the menu: nothing a user planted in HKCU\Environment or in this process's variables, such
// as PATH, SystemRoot or USERPROFILE, is found first. Test builds also carry PRAVIK_* variables.
std::wstring SystemEnvironmentBlock();

// What the user starts runs with the user's normal rights, never with this program's: the
// process gets the signed-in user's token taken from the desktop shell's process.
enum class UserStart { kStarted, kNoUserToken, kFailed };
inline constexpr wchar_t kNoUserTokenMessage[] =
    L"일반 사용자 권한으로 실행할 수 없어 실행하지 않았습니다 (바탕 화면 셸을 찾을 수 없습니다)";

// The runner's start of a console command line with inherited standard handles (in startup).
// A line that begins with "cmd.exe " runs the system's interpreter by its full path while the
// line keeps its text; the current folder is the system folder. systemEnvironment: the block
// above; otherwise this process's own environment (text the user typed is the user's command).
// Started as the user (above); kNoUserToken: nothing was started.
UserStart StartConsoleCommand(std::wstring commandLine, STARTUPINFOW& startup, bool systemEnvironment,
                              PROCESS_INFORMATION& started);

// Opens a file, program, shortcut or web address the way the shell's open verb does, with the
// signed-in user's normal rights: the desktop shell (the user's unelevated explorer) is asked to
// do it. The working folder is the target's own folder (none for an address). When the desktop
// shell cannot be asked and this process runs elevated, nothing starts (kNoUserToken, tell the
// user kNoUserTokenMessage); only a process that itself runs unelevated opens it on its own.
UserStart OpenAsUser(const std::wstring& file, const std::wstring& arguments = {});
// The same, and the refusal is shown to the user in a box owned by `owner`.
UserStart OpenAsUserOrTell(HWND owner, const std::wstring& file, const std::wstring& arguments = {});

// Starts exactly the program at fullPath with the argument text after its quoted path, in a
// normal window, in this process's current folder. False when it could not be started.
bool StartProgram(const std::wstring& fullPath, const std::wstring& arguments);

}  // namespace pravik::win32
