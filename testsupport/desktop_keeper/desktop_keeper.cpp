// Holds the session's desktop for a whole test run. Wine starts its desktop process on demand,
// from the first program that needs one, and ends it once no program uses it; started from a
// test, that process inherits the test's output pipe, and CTest waits for the pipe to close long
// after the test has ended (until its time limit when that desktop process lingers). Started once
// per session with its output elsewhere, this program makes the desktop start from it, and stay.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ::GetDesktopWindow();
  // Ended with the session (wineserver -k).
  ::Sleep(INFINITE);
  return 0;
}
