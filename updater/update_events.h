#pragma once
// The six events of the download engine, in their declaration order. They are delivered
// synchronously: the handler runs to its end before the engine goes on.
#include <cstdint>
#include <string>

namespace pravik::updater {

class UpdateEvents {
 public:
  virtual void DownloadStart(std::int32_t fileSize) = 0;
  virtual void Downloading(std::int32_t downloadSize) = 0;
  virtual void DownloadError(const std::wstring& description) = 0;
  virtual void DownloadComplate() = 0;
  virtual void UnzipError(const std::wstring& description) = 0;
  virtual void UnzipComplate() = 0;

 protected:
  ~UpdateEvents() = default;
};

}  // namespace pravik::updater
