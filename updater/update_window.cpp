#include "updater/update_window.h"

#include <commctrl.h>

#include <cmath>

#include "core/download/download_rules.h"
#include "updater/installer_signature.h"
#include "updater/messages.h"
#include "win32/launch.h"
#include "win32/message_pump.h"
#include "win32/paths.h"
#include "win32/program_version.h"
#include "win32/update_record.h"

namespace pravik::updater {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr int kCommand1 = 101;

}  // namespace

UpdateWindow::UpdateWindow(std::wstring commandText)
    : commandText_(std::move(commandText)), timer1_(kTimer1, 0, false) {
  inet1_.SetWait(&win32::http::WaitPumpingMessages);
}

UpdateWindow::~UpdateWindow() = default;

bool UpdateWindow::Load() {
  if (!Create(L"MolvaneUpdater", L"Zembra Updater", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 0, CW_USEDEFAULT,
              CW_USEDEFAULT, 360, 160, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  CreateElements();
  pUpdate_ = std::make_unique<UpdateEngine>(static_cast<UpdateEvents&>(*this));
  // Nothing is started that our release key did not sign, and nothing older than what is installed
  // (read from the installed program itself, not from the user's registry).
  pUpdate_->SetDownloadCheck(
      InstallerSignatureCheck(BuiltInReleaseKeys(), win32::ProgramVersion(win32::ProgramFolder() + L"\\Pravik.exe")));
  // One twip each way: the system keeps the smallest size it allows for such a window.
  ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  timer1_.Attach(hwnd());
  timer1_.Start();
  timer1_.SetInterval(1000);
  return true;
}

void UpdateWindow::CreateElements() {
  const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
  label1_ = ::CreateWindowExW(0, L"STATIC", text::kWaiting, WS_CHILD | WS_VISIBLE, 10, 10, 330, 20, hwnd(), nullptr,
                              win32::ThisModule(), nullptr);
  progressBar1_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 36, 330, 18, hwnd(), nullptr,
                                    win32::ThisModule(), nullptr);
  command1_ = ::CreateWindowExW(0, L"BUTTON", text::kStartButton, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 62, 120,
                                26, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCommand1)),
                                win32::ThisModule(), nullptr);
  for (HWND child : {label1_, progressBar1_, command1_}) ::SendMessageW(child, WM_SETFONT, font, FALSE);
  ::SendMessageW(progressBar1_, PBM_SETRANGE32, 0, 100);
}

LRESULT UpdateWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer1) Timer1_Timer();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCommand1 && HIWORD(wParam) == BN_CLICKED) Command1_Click();
      return 0;
    case WM_CLOSE:
      // Closed by the user while a download runs: stop the transfer; the engine then ends.
      closing_ = true;
      inet1_.Cancel();
      if (!downloading_) ::DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      timer1_.Stop();
      ::PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void UpdateWindow::Timer1_Timer() {
  // Off before the action: its waits pump messages, and a later tick must not start a second download.
  timer1_.Stop();
  StartUpdate();
}

void UpdateWindow::Command1_Click() { StartUpdate(); }

void UpdateWindow::StartUpdate() {
  if (downloading_ || closing_) return;
  downloading_ = true;
  pUpdate_->URL(commandText_);
  pUpdate_->SavePath(win32::ProgramFolder() + L"\\PravikUpdate.exe");
  pUpdate_->Download(inet1_);
  downloading_ = false;
  if (closing_ && hwnd()) ::DestroyWindow(hwnd());
}

void UpdateWindow::SetStatus(const wchar_t* text) {
  if (label1_) ::SetWindowTextW(label1_, text);
}

void UpdateWindow::ProcessMessages(int passes) {
  for (int i = 0; i < passes; ++i)
    if (!win32::PumpPendingMessages()) return;
}

void UpdateWindow::CloseWindow() {
  closing_ = true;
  if (hwnd()) ::DestroyWindow(hwnd());
}

void UpdateWindow::DownloadStart(std::int32_t fileSize) {
  progressMax_ = fileSize;
  progressValue_ = 0;
  ::SendMessageW(progressBar1_, PBM_SETRANGE32, 0, fileSize);
  ::SendMessageW(progressBar1_, PBM_SETPOS, 0, 0);
  SetStatus(text::kDownloadingZero);
  percentShown_.clear();
}

void UpdateWindow::Downloading(std::int32_t downloadSize) {
  // A value past the maximum is not stored; the label then repeats the old value's percentage.
  const double value = progressValue_ + downloadSize;
  if (value <= progressMax_) {
    progressValue_ = value;
    ::SendMessageW(progressBar1_, PBM_SETPOS, static_cast<WPARAM>(std::lround(value)), 0);
  }
  // Only a changed text is set: each setting repaints the line.
  std::wstring status = core::download::PercentText(progressValue_, progressMax_);
  if (status != percentShown_) {
    SetStatus(status.c_str());
    percentShown_ = std::move(status);
  }
}

void UpdateWindow::DownloadComplate() {
  SetStatus(text::kUnpacking);
  SetStatus(text::kUnpacked);
  // Exactly the verified file, by full path: the shell's open verb would consult the user's classes.
  const bool started = win32::StartProgram(pUpdate_->SavePath(), L"");
  win32::LogUpdateAttempt(commandText_, started ? L"installer started" : L"installer could not be started");
  if (!started) RestoreStartButton();
  ProcessMessages(5001);
  CloseWindow();
}

void UpdateWindow::DownloadError(const std::wstring& description) {
  if (!closing_) ::MessageBoxW(hwnd(), description.c_str(), L"Error", MB_OK | MB_ICONERROR);
  SetStatus(text::kDownloadStopped);
  win32::LogUpdateAttempt(commandText_, closing_ ? L"cancelled: " + description : L"failed: " + description);
  RestoreStartButton();
  ProcessMessages(1001);
  CloseWindow();
}

void UpdateWindow::RestoreStartButton() {
  // Pravik ended when it handed over: bring the button back, and remember this announcement so
  // the next starts do not hand it over again (and fail again) before a day has passed.
  win32::RecordHandOver(commandText_);
  const std::wstring pravik = win32::ProgramFolder() + L"\\Pravik.exe";
  if (::GetFileAttributesW(pravik.c_str()) != INVALID_FILE_ATTRIBUTES) (void)win32::StartProgram(pravik, L"");
}

void UpdateWindow::UnzipComplate() { SetStatus(text::kUnzipDone); }

void UpdateWindow::UnzipError(const std::wstring& description) {
  ::MessageBoxW(hwnd(), description.c_str(), L"Error", MB_OK | MB_ICONERROR);
  SetStatus(text::kUnzipStopped);
  ProcessMessages(10001);
  CloseWindow();
}

}  // namespace pravik::updater
