#pragma once
// frmMain of Molvane, caption "Zembra Updater": a status line, a progress bar, a start button and
// the one-tick timer that starts the download. Shrunk to the smallest size in the top-left
// corner, so only its message boxes are seen. Owns the transfer control and the engine.
#include <windows.h>

#include <memory>
#include <string>

#include "updater/update_engine.h"
#include "win32/http/inet_control.h"
#include "win32/timer.h"
#include "win32/window.h"

namespace pravik::updater {

class UpdateWindow : public win32::Window, private UpdateEvents {
 public:
  explicit UpdateWindow(std::wstring commandText);
  ~UpdateWindow() override;

  // Creates the window and runs its load steps: the engine, the shrink, the armed timer.
  bool Load();
  UpdateEngine& engine() noexcept { return *pUpdate_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateElements();
  void Timer1_Timer();
  void Command1_Click();
  void StartUpdate();
  void SetStatus(const wchar_t* text);
  // Counted passes over the message queue; each returns at once when the queue is empty.
  void ProcessMessages(int passes);
  void CloseWindow();
  void RestoreStartButton();

  void DownloadStart(std::int32_t fileSize) override;
  void Downloading(std::int32_t downloadSize) override;
  void DownloadError(const std::wstring& description) override;
  void DownloadComplate() override;
  void UnzipError(const std::wstring& description) override;
  void UnzipComplate() override;

  std::wstring commandText_;
  win32::http::InetControl inet1_;
  std::unique_ptr<UpdateEngine> pUpdate_;
  win32::Timer timer1_;
  HWND label1_ = nullptr;
  HWND progressBar1_ = nullptr;
  HWND command1_ = nullptr;
  double progressValue_ = 0;
  double progressMax_ = 100;
  std::wstring percentShown_;  // the percentage text last set
  bool downloading_ = false;
  bool closing_ = false;
};

}  // namespace pravik::updater
