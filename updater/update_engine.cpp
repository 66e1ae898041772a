#include "updater/update_engine.h"

#include <algorithm>

#include <limits>

#include "core/download/download_rules.h"
#include "updater/messages.h"
#include "updater/output_file.h"
#include "updater/unzip/unzip_library.h"
#include "updater/zip_and_unzip.h"

using pravik::core::download::AnnouncedLength;
using pravik::core::download::ReadAnnouncedLength;

namespace pravik::updater {

void UpdateEngine::Download(win32::http::InetControl& InetName) noexcept {
  bool completeRaised = false;
  std::optional<std::wstring> failure;
  try {
    failure = Fetch(InetName, completeRaised);
  } catch (...) {
    // The failure trap of the whole operation; an outcome already raised stays the only one.
    if (!completeRaised) failure = text::kUnknownError;
  }
  if (!failure) return;
  try {
    events_.DownloadError(*failure);
  } catch (...) {
  }
}

std::optional<std::wstring> UpdateEngine::Fetch(win32::http::InetControl& inet, bool& completeRaised) {
  if (url_.empty()) return text::kNoUrl;
  if (savePath_.empty()) return text::kNoSavePath;

  inet.Cancel();
  inet.SetUrl(url_);
  if (!inet.Execute()) return text::kUnknownError;
  while (inet.StillExecuting()) inet.WaitForChange();
  if (inet.failed()) return text::kUnknownError;
  // An error page is not the installer, whatever length it announces.
  const unsigned status = inet.status();
  if (status < 200 || status > 299) return text::ServerRefused(status);

  const AnnouncedLength announced = ReadAnnouncedLength(inet.GetHeader(L"Content-Length"));
  if (announced.kind == AnnouncedLength::Kind::OutOfRange) return text::kUnknownError;
  if (announced.kind == AnnouncedLength::Kind::NotPositive) return text::kZeroSize;
  const std::int32_t length = announced.value;
  if (length > kMaxDownloadBytes) return text::kTooLarge;

  events_.DownloadStart(length);
  OutputFile out(savePath_);
  if (!out.valid()) return text::kUnknownError;
  // Counts the bytes that really arrived, so a short chunk never ends the loop early.
  std::int64_t received = 0;
  while (received < length) {
    // Never more than the announced length asks for: a body longer than announced is cut off here.
    const auto piece = std::min<std::int64_t>(static_cast<std::int64_t>(pieceSize_), length - received);
    const auto chunk = inet.GetChunk(static_cast<std::size_t>(piece), kPiecePatience);
    if (!chunk) return text::kUnknownError;
    if (chunk->empty()) return text::kIncomplete;
    // This bounds a transport that lies about what it returned.
    if (received + static_cast<std::int64_t>(chunk->size()) > kMaxDownloadBytes) return text::kTooLarge;
    if (!out.Write(*chunk)) return text::kUnknownError;
    events_.Downloading(static_cast<std::int32_t>(chunk->size()));
    received += static_cast<std::int64_t>(chunk->size());
    if (received > std::numeric_limits<std::int32_t>::max()) return text::kUnknownError;
  }
  const HANDLE locked = out.LockForReading();
  if (locked == INVALID_HANDLE_VALUE) return text::kUnknownError;
  if (check_) {
    if (auto problem = check_(locked, inet)) return problem;
  }
  inet.Cancel();
  out.Keep();
  completeRaised = true;
  events_.DownloadComplate();
  return std::nullopt;
}

}  // namespace pravik::updater

namespace pravik::updater {
namespace {

bool IsFile(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool IsFolder(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A run that did not unpack everything is an error, not a completion.
std::optional<std::wstring> Describe(int result) {
  switch (result) {
    case updater::unzip::kOk:
      return std::nullopt;
    case updater::unzip::kBadPassword:
      return text::kBadPassword;
    case updater::unzip::kDamaged:
    case updater::unzip::kUnsupported:
      return text::kDamagedZip;
    case updater::unzip::kUnsafeName:
      return text::kUnsafeEntry;
    default:
      return text::kUnknownError;
  }
}

}  // namespace

void UpdateEngine::UnZipFiles() noexcept {
  std::optional<std::wstring> failure;
  try {
    if (zipPath_.empty()) {
      failure = text::kNoZipPath;
    } else if (extractPath_.empty()) {
      failure = text::kNoExtractPath;
    } else {
      KeepUnzipPassword(password_);
      options_ = UnzipOptions{};
      if (!IsFile(zipPath_))
        failure = text::kZipNotFound;
      else if (!IsFolder(extractPath_))
        failure = text::kFolderNotFound;
      else
        failure = Describe(VBUnzip(zipPath_, extractPath_, options_));
    }
  } catch (...) {
    failure = text::kUnknownError;
  }
  try {
    if (failure)
      events_.UnzipError(*failure);
    else
      events_.UnzipComplate();
  } catch (...) {
  }
}

}  // namespace pravik::updater
