#pragma once
// Records the engine's events as text lines, in the order they arrive.
#include <string>
#include <vector>

#include "updater/update_events.h"

namespace pravik::updater {

class EventLog : public UpdateEvents {
 public:
  std::vector<std::wstring> lines;
  void DownloadStart(std::int32_t fileSize) override { lines.push_back(L"start " + std::to_wstring(fileSize)); }
  void Downloading(std::int32_t n) override { lines.push_back(L"chunk " + std::to_wstring(n)); }
  void DownloadError(const std::wstring& d) override { lines.push_back(L"error " + d); }
  void DownloadComplate() override { lines.push_back(L"complete"); }
  void UnzipError(const std::wstring& d) override { lines.push_back(L"unzip error " + d); }
  void UnzipComplate() override { lines.push_back(L"unzip complete"); }
};

}  // namespace pravik::updater
