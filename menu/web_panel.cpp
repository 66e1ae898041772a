#include "menu/web_panel.h"

#include <ocidl.h>
#include <oleauto.h>

#include <utility>

#include "menu/menu_element.h"
#include "menu/remote_setting.h"
#include "menu/web_panel_events.h"
#include "menu/web_panel_site.h"
#include "win32/variant.h"

namespace pravik::menu {

using win32::Variant;

WebPanel::WebPanel() = default;

RECT WebPanel::BrowserRect() {
  const auto r = Px(L"WebNotice");
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}

WebPanel::~WebPanel() { Close(); }

void WebPanel::FitBrowser() noexcept {
  win32::ComPtr<IOleInPlaceObject> inPlace;
  if (!object_ || FAILED(object_.As(inPlace))) return;
  RECT rect = BrowserRect();
  RECT clip{};
  ::GetClientRect(picture_.hwnd(), &clip);
  inPlace->SetObjectRects(&rect, &clip);
}

bool WebPanel::CreateFrame(HWND container, int x, int y) {
  if (picture_.hwnd()) return true;
  const auto frame = Px(L"Picture2");
  if (!picture_.Create(container, 0, x, y, frame.width, frame.height)) return false;
  // The browser window must stay inside the frame's clip, whatever it paints.
  ::SetWindowLongPtrW(picture_.hwnd(), GWL_STYLE,
                      ::GetWindowLongPtrW(picture_.hwnd(), GWL_STYLE) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  return true;
}

bool WebPanel::CreateBrowser() {
  if (browser_) return true;
  // Tried once: a control that cannot be made is not asked for again at every showing.
  if (!picture_.hwnd() || std::exchange(browserTried_, true)) return false;
  site_ = new Site(picture_.hwnd());
  if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.put_void()))) {
    Close();
    return false;
  }
  RECT rect = BrowserRect();
  if (FAILED(object_->SetClientSite(static_cast<IOleClientSite*>(site_))) ||
      FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0,
                             picture_.hwnd(), &rect)) ||
      FAILED(object_.As(browser_))) {
    Close();
    return false;
  }
  // Some hosts' controls ignore the rectangle handed to DoVerb; place it explicitly as well.
  FitBrowser();
  // Without the listener the panel would follow any link with this program's rights: no panel.
  events_ = new Events(picture_.hwnd(), browser_.get());
  win32::ComPtr<IConnectionPointContainer> points;
  win32::ComPtr<IConnectionPoint> point;
  if (FAILED(browser_.As(points)) || FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put())) ||
      FAILED(point->Advise(static_cast<IDispatch*>(events_), &eventsCookie_))) {
    Close();
    return false;
  }
  return true;
}

IDispatch* WebPanel::events() const noexcept { return events_; }

void WebPanel::Close() noexcept {
  if (browser_) browser_->Stop();
  if (browser_ && eventsCookie_) {
    win32::ComPtr<IConnectionPointContainer> points;
    win32::ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(browser_.As(points)) && SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put())))
      point->Unadvise(eventsCookie_);
  }
  eventsCookie_ = 0;
  if (events_) {
    events_->Detach();
    std::exchange(events_, nullptr)->Release();
  }
  browser_.reset();
  if (object_) {
    win32::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_.As(inPlace))) inPlace->InPlaceDeactivate();
    inPlace.reset();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.reset();
  }
  if (site_) std::exchange(site_, nullptr)->Release();
}

HRESULT WebPanel::Navigate(const std::wstring& address) noexcept {
  if (!browser_) return E_UNEXPECTED;
  const HRESULT silent = browser_->put_Silent(VARIANT_TRUE);
  if (FAILED(silent)) return silent;
  Variant url = Variant::Text(address);
  if (url.empty()) return E_OUTOFMEMORY;
  // The hosts the panel may follow: the home page's and the one it is sent to now.
  if (events_) events_->SetGiven({HomePageAddress(), address});
  // Only the address; the other arguments are left out (empty).
  Variant flags, target, post, headers;
  return browser_->Navigate2(&url.v, &flags.v, &target.v, &post.v, &headers.v);
}

std::wstring WebPanel::LocationUrl() const {
  if (!browser_) return {};
  BSTR location = nullptr;
  if (FAILED(browser_->get_LocationURL(&location)) || !location) return {};
  std::wstring text(location, ::SysStringLen(location));
  ::SysFreeString(location);
  return text;
}

bool WebPanel::Silent() const noexcept {
  VARIANT_BOOL silent = VARIANT_FALSE;
  return browser_ && SUCCEEDED(browser_->get_Silent(&silent)) && silent != VARIANT_FALSE;
}

}  // namespace pravik::menu
