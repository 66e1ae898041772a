// The runner against real child processes: this program starts itself in a child mode that
// prints, sleeps or reports its own command line.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "runner/console_runner.h"
#include "testsupport/process.h"
#include "win32/handles.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace {

std::wstring Self() { return L"\"" + pravik::win32::ModulePath() + L"\" "; }

int ChildMain(int argc, wchar_t** argv) {
  const std::wstring mode = argv[1];
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (mode == L"--print" && argc > 2) {
    const std::string block(static_cast<size_t>(_wtoi(argv[2])), 'x');
    ::WriteFile(out, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
  } else if (mode == L"--cmdline") {
    const std::string line = pravik::win32::WideToAnsi(::GetCommandLineW());
    ::WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } else if (mode == L"--korean") {
    const std::string text = pravik::win32::WideToAnsi(L"한글 출력", 949);
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else if (mode == L"--stderr") {
    ::WriteFile(out, "out1 ", 5, &written, nullptr);
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), "err ", 4, &written, nullptr);
    ::WriteFile(out, "out2", 4, &written, nullptr);
  } else if (mode == L"--stay" && argc > 2) {
    // A program that keeps running: it leaves its process id beside a mark file it holds open.
    const std::wstring pidFile = std::wstring(argv[2]) + L".pid";
    {
      pravik::win32::FileHandle pid(::CreateFileW(pidFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      const std::string id = std::to_string(::GetCurrentProcessId());
      ::WriteFile(pid.get(), id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
    }
    pravik::win32::FileHandle mark(::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ::Sleep(60000);
  } else if (mode == L"--sleep" && argc > 2) {
    ::Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    ::WriteFile(out, "woke", 4, &written, nullptr);
  }
  return 0;
}

using pravik::runner::ConsoleRunner;

TEST(Runner, BlankCommandStartsNothing) {
  ConsoleRunner runner;
  for (const wchar_t* blank : {L"", L" ", L"     "}) {
    SCOPED_TRACE(testing::Message() << "length " << wcslen(blank));
    EXPECT_FALSE(runner.Execute(blank, L"cmd.exe /c "));
    EXPECT_EQ(runner.ErrorNo, 1);
    EXPECT_EQ(runner.ErrorMsg, L"Command line is empty");
    EXPECT_EQ(runner.Command, blank);
    EXPECT_TRUE(runner.Output.empty());
  }
}

TEST(Runner, MissingProgramIsReported) {
  ConsoleRunner runner;
  EXPECT_FALSE(runner.Execute(L"anything", L"no-such-program-7f3a.exe "));
  EXPECT_EQ(runner.ErrorNo, 3);
  EXPECT_EQ(runner.ErrorMsg, L"File or command not found");
  // The next call starts from a clean state.
  EXPECT_TRUE(runner.Execute(L"--print 3", Self()));
  EXPECT_EQ(runner.ErrorNo, 0);
  EXPECT_TRUE(runner.ErrorMsg.empty());
  EXPECT_EQ(runner.Output, L"xxx");
}

TEST(Runner, OutputIsCappedNearTheLimit) {
  ConsoleRunner runner;
  ASSERT_TRUE(runner.Execute(L"--print 40000", Self()));
  EXPECT_GE(runner.Output.size(), 30750u);
  EXPECT_LE(runner.Output.size(), 31004u);
  ASSERT_TRUE(runner.Execute(L"--print 0", Self()));
  EXPECT_TRUE(runner.Output.empty());
}

TEST(Runner, ChildSeesPrefixFollowedByCommand) {
  ConsoleRunner runner;
  ASSERT_TRUE(runner.Execute(L"--cmdline  \"two  spaces\" end", Self()));
  EXPECT_EQ(runner.Output, Self() + L"--cmdline  \"two  spaces\" end");
  EXPECT_EQ(runner.Command, L"--cmdline  \"two  spaces\" end");
}

TEST(Runner, ThroughTheInterpreterStdoutAndStderrShareThePipe) {
  ConsoleRunner runner;
  ASSERT_TRUE(runner.Execute(Self() + L"--stderr", L"cmd.exe /c "));
  EXPECT_EQ(runner.Output, L"out1 err out2");
}

TEST(Runner, KoreanOutputIsDecodedThroughTheAnsiCodePage) {
  if (::GetACP() != 949) GTEST_SKIP() << "needs the Korean code page (run the session with LANG=ko_KR.UTF-8)";
  ConsoleRunner runner;
  ASSERT_TRUE(runner.Execute(L"--korean", Self()));
  EXPECT_EQ(runner.Output, L"한글 출력");
}

// A command that starts a program which keeps running must not hold the caller until that
// program ends: the program keeps the pipe's write end, but the interpreter is gone.
TEST(Runner, StartedProgramKeepsRunningAndDoesNotHoldTheCaller) {
  const std::wstring folder = pravik::testsupport::MakeTempFolder(L"runner");
  const std::wstring mark = folder + L"\\started";
  ConsoleRunner runner;
  const ULONGLONG before = ::GetTickCount64();
  ASSERT_TRUE(runner.Execute(L"start \"\" " + Self() + L"--stay \"" + mark + L"\"", L"cmd.exe /c "));
  // Not a timing assertion on speed: the program stays 60 s, the call must come back long before.
  EXPECT_LT(::GetTickCount64() - before, 30000u);
  EXPECT_TRUE(pravik::testsupport::WaitUntil([&] { return ::GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  // The started program still runs: its mark file is held open exclusively.
  pravik::win32::FileHandle probe(::CreateFileW(mark.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(probe.valid());
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  pravik::win32::FileHandle pidFile(
      ::CreateFileW((mark + L".pid").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  char id[32] = {};
  DWORD read = 0;
  ::ReadFile(pidFile.get(), id, sizeof(id) - 1, &read, nullptr);
  pravik::win32::Handle stayer(::OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(atoi(id))));
  ASSERT_TRUE(stayer.valid());
  ::TerminateProcess(stayer.get(), 0);
}

// While a command runs, the thread's windows keep getting their messages, and a second command
// on the same runner is refused without disturbing the first.
TEST(Runner, WindowsStayLiveAndCommandsDoNotOverlap) {
  static pravik::runner::ConsoleRunner runner;
  static int delivered = 0;
  static bool nestedResult = true;
  static long nestedError = 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_APP) {
      ++delivered;
      nestedResult = runner.Execute(L"--print 1", Self());
      nestedError = runner.ErrorNo;
      return 0;
    }
    return ::DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"RunnerLiveProbe";
  ::RegisterClassW(&wc);
  HWND probe = ::CreateWindowW(L"RunnerLiveProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(probe);
  ::PostMessageW(probe, WM_APP, 0, 0);
  ASSERT_TRUE(runner.Execute(L"--sleep 1500", Self()));
  EXPECT_EQ(delivered, 1);
  EXPECT_FALSE(nestedResult);
  EXPECT_EQ(nestedError, 0);  // the refused call did not touch the running command's state
  EXPECT_EQ(runner.Output, L"woke");
  EXPECT_EQ(runner.Command, L"--sleep 1500");
  EXPECT_EQ(runner.ErrorNo, 0);
  ::DestroyWindow(probe);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && argv[1][0] == L'-' && argv[1][1] == L'-' && wcsncmp(argv[1], L"--gtest", 7) != 0)
    return ChildMain(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
