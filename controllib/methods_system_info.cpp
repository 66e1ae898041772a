// System information and machine identity.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <shlwapi.h>

#include <chrono>
#include <random>

#include "generated/win32/build_settings.h"
#include "controllib/bstr.h"
#include "controllib/machine_identity.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "core/crypto/unique_number.h"
#include "controllib/ansi_code_page.h"
#include "win32/handles.h"
#include "win32/http/inet_transfer.h"
#include "win32/text.h"

namespace pravik::controllib {
namespace {

HRESULT PutNumber(BSTR* result, std::uint32_t value) {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, std::to_wstring(value));
    return S_OK;
  });
}

std::wstring ShlwapiVersion() {
  win32::Module shlwapi(::LoadLibraryW(L"shlwapi.dll"));
  if (!shlwapi) return {};
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(::GetProcAddress(shlwapi.get(), "DllGetVersion")));
  if (!getVersion) return {};
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;  // 20 bytes
  if (FAILED(getVersion(&info))) return {};
  return std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion) + L"." +
         std::to_wstring(info.dwBuildNumber);
}

std::wstring UserName() {
  wchar_t buffer[256] = {};
  DWORD size = 255;
  ::GetUserNameW(buffer, &size);
  return buffer;
}

std::wstring FirstIpv4Address() {
  WSADATA data{};
  if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) return {};
  std::wstring address;
  if (LOBYTE(data.wVersion) >= 1 && data.iMaxSockets != 0) {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) {
      std::string name = host;
      const std::size_t first = name.find_first_not_of(' ');
      name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') - first + 1);
      if (const hostent* entry = ::gethostbyname(name.c_str());
          entry && entry->h_addrtype == AF_INET && entry->h_addr_list[0]) {
        const auto* b = reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]);
        address = std::to_wstring(b[0]) + L"." + std::to_wstring(b[1]) + L"." + std::to_wstring(b[2]) + L"." +
                  std::to_wstring(b[3]);
      }
    }
  }
  ::WSACleanup();
  return address;
}

// The service's host is a build setting, and nothing at run time can redirect it.
std::wstring ExternalAddressUrl() {
  return std::wstring(L"http://") + PRAVIK_EXTERNAL_IP_HOST + L"/home/External_IP/ip.php";
}

std::wstring ReadIdentityFallback() {
  win32::RegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kIdentityKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (::RegQueryValueExW(key.get(), kIdentityValue, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  return data;
}

void StoreIdentityFallback(const std::wstring& text) {
  win32::RegKey key;
  const LONG rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, kIdentityKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                                    nullptr);
  if (rc == ERROR_SUCCESS)
    ::RegSetValueExW(key.get(), kIdentityValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) throw MethodError(HRESULT_FROM_WIN32(rc), L"Cannot store the unique number");
}

}  // namespace

STDMETHODIMP Quessel::cOS_Version1(BSTR* result) noexcept { return PutNumber(result, osVersion_.major); }
STDMETHODIMP Quessel::cOS_Version2(BSTR* result) noexcept { return PutNumber(result, osVersion_.minor); }
STDMETHODIMP Quessel::cOS_BuildNumber(BSTR* result) noexcept { return PutNumber(result, osVersion_.build); }

STDMETHODIMP Quessel::cOS_Name(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, osVersion_.platformName);
    return S_OK;
  });
}

STDMETHODIMP Quessel::cIE_Version(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, ShlwapiVersion());
    return S_OK;
  });
}

STDMETHODIMP Quessel::cLogon_UserName(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, UserName());
    return S_OK;
  });
}

STDMETHODIMP Quessel::cLogin_UserName(BSTR* result) noexcept { return cLogon_UserName(result); }

STDMETHODIMP Quessel::cComputer_Name(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, TrimmedComputerName());
    return S_OK;
  });
}

STDMETHODIMP Quessel::cIP(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, FirstIpv4Address());
    return S_OK;
  });
}

STDMETHODIMP Quessel::cIP_External(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    const std::wstring url = ExternalAddressUrl();
    const auto answer = win32::http::FetchUrl(url);
    // The transfer control's time-out error: the service could not be reached in time.
    if (!answer) throw MethodError(ErrorNumberToHresult(35761), L"Cannot reach the external address service: " + url,
                                   L"Quessel.cIP_External");
    PutText(result, win32::AnsiToWide(answer->body));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cCPU_Used(LONG* result) noexcept {
  if (!result) return E_POINTER;
  *result = processorLoad_.Percent();
  return S_OK;
}

STDMETHODIMP Quessel::cHDDSerialNumber(BSTR* DriveLetter, LONG* result) noexcept {
  if (!DriveLetter || !result) return E_POINTER;
  return RunMethod([&] {
    *result = VolumeSerial(View(DriveLetter));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cMacAddress(LONG* CardNum, BSTR* result) noexcept {
  if (!CardNum || !result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, CardAddress(*CardNum));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cUniqueNumber(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    std::vector<std::u16string> cards;
    for (long card = 0; card <= 10; ++card) cards.emplace_back(AsU16(CardAddress(card)));
    std::vector<std::int32_t> serials;
    for (wchar_t drive = L'C'; drive <= L'Z'; ++drive) serials.push_back(VolumeSerial(std::wstring(1, drive)));
    std::u16string text = core::crypto::MachineIdentityText(cards, serials);
    if (text.empty()) {
      const std::wstring stored = ReadIdentityFallback();
      text = AsU16(stored);
      if (text.empty()) {
        std::mt19937 generator(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
        std::uniform_real_distribution<double> fraction(0.0, 1.0);
        text = core::crypto::RandomIdentityText([&] { return fraction(generator); });
        StoreIdentityFallback(std::wstring(AsWide(text)));
      }
    }
    const std::string hex = core::crypto::EncryptToHex(text, u"qz4");
    PutText(result, std::wstring(hex.begin(), hex.end()));
    return S_OK;
  });
}

}  // namespace pravik::controllib
