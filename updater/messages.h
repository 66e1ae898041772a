#pragma once
// What the updater tells the user, word for word.
#include <string>

namespace pravik::updater::text {

inline constexpr wchar_t kUnknownError[] = L"알 수 없는 에러가 발생하였습니다";
inline constexpr wchar_t kNoUrl[] = L"URL을 입력하여 주십시오";
inline constexpr wchar_t kNoSavePath[] = L"다운로드 위치를 설정하여 주십시오";
inline constexpr wchar_t kZeroSize[] = L"파일의 크기가 0입니다";
// A server that answers with an error page instead of the file.
inline std::wstring ServerRefused(unsigned status) {
  return L"서버가 파일을 보내지 않았습니다 (HTTP " + std::to_wstring(status) + L")";
}
// The body ended before the announced length: cut off, or the server announced too much.
inline constexpr wchar_t kIncomplete[] = L"파일을 끝까지 받지 못했습니다";

inline constexpr wchar_t kNoZipPath[] = L"zip 파일을 지정하여 주십시오";
inline constexpr wchar_t kNoExtractPath[] = L"압축 해제 폴더를 지정하여 주십시오";
inline constexpr wchar_t kZipNotFound[] = L"파일을 찾을 수 없습니다";
inline constexpr wchar_t kFolderNotFound[] = L"폴더를 찾을 수 없습니다";
inline constexpr wchar_t kBadPassword[] = L"압축 파일의 암호가 맞지 않습니다";
inline constexpr wchar_t kDamagedZip[] = L"압축 파일이 손상되었습니다";
inline constexpr wchar_t kUnsafeEntry[] = L"압축 해제 폴더 밖을 가리키는 항목은 풀지 않았습니다";

// The window's status line.
inline constexpr wchar_t kWaiting[] = L"업데이트 대기중";
inline constexpr wchar_t kStartButton[] = L"업데이트 시작";
inline constexpr wchar_t kDownloadingZero[] = L"다운로드 중... (0%)";
inline constexpr wchar_t kUnpacking[] = L"압축 해제중...";
inline constexpr wchar_t kUnpacked[] = L"압축 해제완료.";
inline constexpr wchar_t kDownloadStopped[] = L"에러로 인한 다운로드 중지, 잠시후 종료됩니다";
inline constexpr wchar_t kUnzipDone[] = L"압축 해제 완료, 잠시후 종료됩니다";
inline constexpr wchar_t kUnzipStopped[] = L"에러로 인한 압축 해제 중지, 잠시후 종료됩니다";

}  // namespace pravik::updater::text

namespace pravik::updater::text {

// The installer is started only when its signature proves it is ours.
inline constexpr wchar_t kSignatureMissing[] = L"설치 파일의 서명을 받지 못했습니다";
inline constexpr wchar_t kSignatureMalformed[] = L"설치 파일의 서명 형식이 올바르지 않습니다";
inline constexpr wchar_t kSignatureInvalid[] = L"설치 파일의 서명이 올바르지 않습니다. 파일이 변조되었을 수 있습니다";
inline constexpr wchar_t kVerifierUnavailable[] = L"설치 파일의 서명을 확인할 수 없습니다";
// A genuine but older (or equal) installer: an update never goes back.
inline constexpr wchar_t kNotNewer[] = L"설치된 버전보다 새 버전이 아니므로 설치하지 않습니다";
inline constexpr wchar_t kInstalledVersionUnknown[] = L"설치된 버전을 확인할 수 없습니다";
// Larger than any installer of ours: refused before it is written.
inline constexpr wchar_t kTooLarge[] = L"파일이 너무 큽니다 (512 MiB 초과)";

}  // namespace pravik::updater::text
