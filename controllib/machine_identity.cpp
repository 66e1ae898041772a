#include "controllib/machine_identity.h"

#include <windows.h>
#include <nb30.h>

#include <string>

#include "win32/text.h"

namespace pravik::controllib {

std::wstring CardAddress(long cardNumber) {
  NCB reset{};
  reset.ncb_command = NCBRESET;
  reset.ncb_lana_num = 0;
  ::Netbios(&reset);

  struct {
    ADAPTER_STATUS adapter;
    NAME_BUFFER names[30];
  } status{};
  NCB query{};
  query.ncb_command = NCBASTAT;
  query.ncb_lana_num = static_cast<UCHAR>(cardNumber);
  std::fill(std::begin(query.ncb_callname), std::end(query.ncb_callname), static_cast<UCHAR>(' '));
  query.ncb_callname[0] = '*';
  query.ncb_buffer = reinterpret_cast<PUCHAR>(&status);
  query.ncb_length = sizeof status;
  // Only a lana number in range can name an adapter; others leave the address at zero.
  if (cardNumber >= 0 && cardNumber <= 255 && ::Netbios(&query) != NRC_GOODRET) status = {};
  if (cardNumber < 0 || cardNumber > 255) status = {};
  wchar_t text[13] = {};
  for (int i = 0; i < 6; ++i) ::wsprintfW(text + 2 * i, L"%02X", status.adapter.adapter_address[i]);
  return text;
}

long VolumeSerial(std::wstring_view driveLetter) {
  // One drive letter only: any other text (a \\host\share path) would make the query reach out
  // over the network with the caller's credentials.
  if (driveLetter.size() != 1 || !((driveLetter[0] >= L'A' && driveLetter[0] <= L'Z') ||
                                   (driveLetter[0] >= L'a' && driveLetter[0] <= L'z')))
    return 0;
  const std::wstring root = std::wstring(driveLetter) + L":\\";
  DWORD serial = 0;
  if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return 0;
  return static_cast<long>(serial);
}

std::wstring TrimmedComputerName() {
  // The query writes the name and its terminating zero into a buffer of spaces; trimming the
  // spaces leaves the zero as the last character, which is dropped next.
  std::string buffer(255, ' ');
  DWORD size = 255;
  ::GetComputerNameA(buffer.data(), &size);
  const std::size_t first = buffer.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  buffer = buffer.substr(first, buffer.find_last_not_of(' ') - first + 1);
  buffer.pop_back();
  while (!buffer.empty()) {
    const auto last = static_cast<unsigned char>(buffer.back());
    if (last >= 48 && last <= 122) break;
    buffer.pop_back();
    // A trail byte dropped here leaves its lead byte, which falls on the next round.
  }
  return win32::AnsiToWide(buffer);
}

}  // namespace pravik::controllib
