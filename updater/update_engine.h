#pragma once
// UpdateEngine: the updater's worker. Downloads one file over HTTP into SavePath through the caller's
// transfer control, and unpacks a zip archive; every outcome arrives as one of its events.
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "updater/unzip_options.h"
#include "updater/update_events.h"
#include "win32/http/inet_control.h"

namespace pravik::updater {

// Looks at the downloaded file before it is reported complete. The file is open and locked
// against writers for the whole look and for the DownloadComplate handler after it. Returns the
// description of what is wrong, nothing when the file may be used.
using DownloadCheck = std::function<std::optional<std::wstring>(HANDLE lockedFile, win32::http::InetControl& inet)>;

// No installer of ours comes near this; a larger download (announced or counted) is refused
// before it is written, so a hostile server cannot fill the disk.
inline constexpr std::int64_t kMaxDownloadBytes = 512LL * 1024 * 1024;

// The body is written in pieces of this size, one Downloading event each; a piece is cut short
// when this long passed with bytes waiting, so a slow line still shows progress.
inline constexpr std::size_t kDefaultPieceSize = 256 * 1024;
inline constexpr std::chrono::milliseconds kPiecePatience{200};

class UpdateEngine {
 public:
  explicit UpdateEngine(UpdateEvents& events) : events_(events) {}

  const std::wstring& URL() const noexcept { return url_; }
  void URL(std::wstring value) { url_ = std::move(value); }
  const std::wstring& SavePath() const noexcept { return savePath_; }
  void SavePath(std::wstring value) { savePath_ = std::move(value); }
  const std::wstring& ZipPath() const noexcept { return zipPath_; }
  void ZipPath(std::wstring value) { zipPath_ = std::move(value); }
  const std::wstring& ExtractPath() const noexcept { return extractPath_; }
  void ExtractPath(std::wstring value) { extractPath_ = std::move(value); }
  const std::wstring& Password() const noexcept { return password_; }
  void Password(std::wstring value) { password_ = std::move(value); }

  void SetDownloadCheck(DownloadCheck check) { check_ = std::move(check); }
  void SetPieceSize(std::size_t bytes) { pieceSize_ = bytes > 0 ? bytes : 1; }

  // Downloads URL into SavePath with InetName. Raises exactly one of DownloadError and
  // DownloadComplate before it returns. A failed download leaves no file at SavePath.
  void Download(win32::http::InetControl& InetName) noexcept;
  // Unpacks ZipPath into ExtractPath. Raises exactly one of UnzipError and UnzipComplate.
  void UnZipFiles() noexcept;

 private:
  // The download proper: the description of the failure, or nothing when DownloadComplate was raised.
  std::optional<std::wstring> Fetch(win32::http::InetControl& inet, bool& completeRaised);

  UpdateEvents& events_;
  std::wstring url_, savePath_, zipPath_, extractPath_, password_;
  UnzipOptions options_;
  DownloadCheck check_;
  std::size_t pieceSize_ = kDefaultPieceSize;
};

}  // namespace pravik::updater
