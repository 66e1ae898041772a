// System actions and small dialogs: session end, ending a program, volume, sound, waiting, a
// browser window, downloads, timed message boxes, the folder picker, the popup menu, tooltips.
#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <urlmon.h>
#include <wininet.h>

#include <vector>

#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/popup_menu.h"
#include "controllib/quessel.h"
#include "controllib/shutdown.h"
#include "controllib/timed_message_box.h"
#include "win32/handles.h"
#include "win32/late_bound.h"
#include "win32/text.h"
#include "win32/variant.h"

namespace pravik::controllib {
namespace {

constexpr HRESULT kInvalidCall = ErrorNumberToHresult(5);
constexpr HRESULT kOverflow = ErrorNumberToHresult(6);
constexpr HRESULT kCannotCreate = ErrorNumberToHresult(429);

// A text argument; running out of memory ends the method like any other allocation failure.
win32::Variant TextArg(std::wstring_view text) {
  win32::Variant v = win32::Variant::Text(text);
  if (v.empty()) throw std::bad_alloc();
  return v;
}

// The timed message box of the two Msgbox methods.
int TimedMessageBox(BSTR* msg, BSTR* title, long waitSeconds, VARIANT_BOOL modal, UINT buttons) {
  const long long ms = static_cast<long long>(waitSeconds) * 1000;
  if (ms > 0x7FFFFFFFLL || ms < -0x80000000LL) throw MethodError(kOverflow, L"Msgbox: WaitSec is too large");
  if (ms < 0) throw MethodError(kInvalidCall, L"Msgbox: WaitSec must not be negative");
  // The texts travel through the ANSI code page, and the caller's variables get them back so.
  const std::wstring text = win32::AnsiToWide(win32::WideToAnsi(View(msg)));
  const std::wstring caption = win32::AnsiToWide(win32::WideToAnsi(View(title)));
  const UINT style = buttons | MB_ICONINFORMATION | MB_SETFOREGROUND | (modal ? MB_TASKMODAL : 0);
  const int answer = ShowTimedMessageBox(text, caption, style, static_cast<DWORD>(ms));
  ::SysFreeString(*msg);
  *msg = nullptr;
  PutText(msg, text);
  ::SysFreeString(*title);
  *title = nullptr;
  PutText(title, caption);
  return answer;
}

}  // namespace

STDMETHODIMP Quessel::cShutdownSystem(EShutDownTypes eType, VARIANT_BOOL* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    *result = RequestSessionEnd(static_cast<long>(eType), osVersion_.IsNt())
                  ? VARIANT_TRUE
                  : VARIANT_FALSE;
    return S_OK;
  });
}

STDMETHODIMP Quessel::cEndProcess(BSTR* Filename) noexcept {
  return RunMethod([&] {
    const std::wstring name(ViewOr(Filename, L"calc.exe"));
    // One program name: a wildcard would end every process the caller may end, and a quote or
    // slash would smuggle further arguments or options onto taskkill's command line.
    if (name.find_first_of(L"*?\"/\\") != std::wstring::npos)
      throw MethodError(kInvalidCall, L"EndProcess: not a program name: " + name);
    // Started by its full system path, so a taskkill.exe in the current folder is never run.
    std::wstring program(MAX_PATH, L'\0');
    const UINT length = ::GetSystemDirectoryW(program.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return S_OK;
    program.resize(length);
    program += L"\\taskkill.exe";
    std::wstring command = L"taskkill.exe /f /im \"" + name + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                         &si, &pi)) {
      win32::Handle process(pi.hProcess), thread(pi.hThread);
    }
    return S_OK;
  });
}

STDMETHODIMP Quessel::cVolume(LONG* Volume0to65535) noexcept {
  if (!Volume0to65535) return E_POINTER;
  const DWORD half = static_cast<DWORD>((static_cast<long long>(*Volume0to65535) + 65536) & 0xFFFF);
  ::waveOutSetVolume(nullptr, (half << 16) | half);
  return S_OK;
}

STDMETHODIMP Quessel::cSound_Play(BSTR* SoundFile) noexcept {
  if (!SoundFile) return E_POINTER;
  return RunMethod([&] {
    const std::wstring file(View(SoundFile));
    ::PlaySoundW(file.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME);
    return S_OK;
  });
}

STDMETHODIMP Quessel::cSound_Stop() noexcept {
  ::PlaySoundW(L" ", nullptr, SND_ASYNC | SND_NODEFAULT | SND_FILENAME);
  return S_OK;
}

STDMETHODIMP Quessel::cSleep(LONG* Milliseconds) noexcept {
  if (!Milliseconds) return E_POINTER;
  // A negative time would be read as "forever" and hold the host's window thread for good.
  if (*Milliseconds < 0) return ReportError(kInvalidCall, L"Sleep: the time must not be negative", L"Quessel");
  ::Sleep(static_cast<DWORD>(*Milliseconds));
  return S_OK;
}

STDMETHODIMP Quessel::cNewExplorer(BSTR URL) noexcept {
  return RunMethod([&] {
    // The browser application is a local server, so any server kind is accepted here.
    const win32::LateBoundObject browser(L"InternetExplorer.Application", CLSCTX_ALL);
    if (browser.empty()) return S_OK;  // failures are ignored
    browser.Invoke(L"Visible", DISPATCH_PROPERTYPUT, {win32::Variant::Bool(true)});
    browser.Invoke(L"Navigate", DISPATCH_METHOD, {TextArg(View(URL))});
    return S_OK;
  });
}

STDMETHODIMP Quessel::cFileDownload(BSTR* URL, BSTR* LocalPath, VARIANT_BOOL* result) noexcept {
  if (!URL || !LocalPath || !result) return E_POINTER;
  return RunMethod([&] {
    const std::wstring url(View(URL)), path(View(LocalPath));
    ::URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), 0, nullptr);
    // The second download must not come from the cache the first one filled.
    ::DeleteUrlCacheEntryW(url.c_str());
    ::URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), 0, nullptr);
    *result = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

// An omitted optional argument arrives as a null reference under Wine instead of a reference to
// its default; the defaults are applied here too.
STDMETHODIMP Quessel::cMsgbox_OK(BSTR* Msg, BSTR* Title, LONG* WaitSec, VARIANT_BOOL* Modal) noexcept {
  if (!Msg || !Title || !WaitSec) return E_POINTER;
  return RunMethod([&] {
    TimedMessageBox(Msg, Title, *WaitSec, Modal ? *Modal : VARIANT_FALSE, MB_OK);
    return S_OK;
  });
}

STDMETHODIMP Quessel::cMsgbox_YesNo(BSTR* Msg, BSTR* Title, LONG* WaitSec, VARIANT_BOOL* Modal,
                                    LONG* result) noexcept {
  if (!Msg || !Title || !WaitSec || !result) return E_POINTER;
  return RunMethod([&] {
    const int answer = TimedMessageBox(Msg, Title, *WaitSec, Modal ? *Modal : VARIANT_FALSE, MB_YESNO);
    *result = answer == IDYES ? 1 : answer == kMessageBoxTimedOut ? -1 : 0;
    return S_OK;
  });
}

STDMETHODIMP Quessel::cFolder_Select(BSTR* szTitle, BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    const std::wstring title(ViewOr(szTitle, L""));
    BROWSEINFOW info{};
    info.hwndOwner = ContainerWindow();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    std::wstring path;
    if (PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info)) {
      wchar_t buffer[MAX_PATH] = {};
      if (::SHGetPathFromIDListW(chosen, buffer)) path = buffer;
      ::CoTaskMemFree(chosen);
    }
    PutText(result, path);
    return S_OK;
  });
}

STDMETHODIMP Quessel::cPopupMenu(BSTR* m1, BSTR* m2, BSTR* m3, BSTR* m4, BSTR* m5, BSTR* m6, BSTR* m7, BSTR* m8,
                                 BSTR* m9, BSTR* m10, BSTR* m11, BSTR* m12, BSTR* m13, BSTR* m14, BSTR* m15,
                                 BSTR* m16, BSTR* m17, BSTR* m18, BSTR* m19, BSTR* m20, LONG* result) noexcept {
  if (!m1 || !result) return E_POINTER;
  return RunMethod([&] {
    std::vector<std::wstring> texts{std::wstring(View(m1))};
    // An omitted item is an empty one: it ends the list.
    for (const BSTR* m : {m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15, m16, m17, m18, m19, m20})
      texts.emplace_back(View(m));
    texts.resize(PopupItemCount(texts));
    *result = PopupMenu(texts);
    return S_OK;
  });
}

STDMETHODIMP Quessel::cTooltip(BSTR* Message, LONG* FontColor, LONG* BackColor, LONG* Height) noexcept {
  if (!Message) return E_POINTER;
  return RunMethod([&] {
    win32::LateBoundObject help(L"Internet.HHCtrl");
    if (help.empty())
      throw MethodError(kCannotCreate, L"ActiveX component can't create object: Internet.HHCtrl", L"Quessel");
    const HRESULT hr = help.Invoke(L"TextPopup", DISPATCH_METHOD,
                                   {TextArg(View(Message)), TextArg(L"굴림"), win32::Variant::Long(8),
                                    win32::Variant::Long(Height ? *Height : 5),
                                    win32::Variant::Long(FontColor ? *FontColor : 0),
                                    win32::Variant::Long(BackColor ? *BackColor : 0)});
    if (FAILED(hr)) throw MethodError(hr, L"Tooltip: the HTML Help control refused the text popup", L"Quessel");
    return S_OK;
  });
}

}  // namespace pravik::controllib
