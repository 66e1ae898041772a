// The OLE control side of Quessel: enough for a container to site it, size it, activate it in
// place and draw its face. The control shows nothing but its background colour and keeps its
// fixed size whatever it is resized to.
#include <olectl.h>

#include "controllib/face_size.h"
#include "controllib/misc_status.h"
#include "controllib/module.h"
#include "controllib/quessel.h"
#include "core/geometry/rounding.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

constexpr wchar_t kFaceClass[] = L"QuesselFace";

void PaintFace(HDC dc, const RECT& area) noexcept {
  win32::Brush brush(::CreateSolidBrush(kFaceColour));
  if (brush) ::FillRect(dc, &area, brush.get());
}

LRESULT CALLBACK FaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT area;
      ::GetClientRect(hwnd, &area);
      PaintFace(reinterpret_cast<HDC>(wParam), area);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      ::BeginPaint(hwnd, &ps);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

bool RegisterFaceClass() noexcept {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (::GetClassInfoExW(ModuleInstance(), kFaceClass, &wc)) return true;
  wc.lpfnWndProc = FaceProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFaceClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

void UnregisterFaceClass() noexcept { ::UnregisterClassW(kFaceClass, ModuleInstance()); }

int FacePixels(bool horizontal) noexcept {
  win32::WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
  return core::geometry::RoundHalfEven(static_cast<double>(kFaceTwips) * dpi / 1440.0);
}

HWND Quessel::ContainerWindow() const noexcept {
  if (face_) return ::GetParent(face_);
  win32::ComPtr<IOleWindow> window;
  HWND hwnd = nullptr;
  if (site_ && SUCCEEDED(site_.As(window))) window->GetWindow(&hwnd);
  return hwnd;
}

void Quessel::DestroyFace() noexcept {
  if (face_) {
    ::DestroyWindow(face_);
    face_ = nullptr;
  }
}

// IOleObject

STDMETHODIMP Quessel::SetClientSite(IOleClientSite* site) noexcept {
  site_ = win32::ComPtr<IOleClientSite>::Share(site);
  return S_OK;
}

STDMETHODIMP Quessel::GetClientSite(IOleClientSite** site) noexcept {
  if (!site) return E_POINTER;
  *site = win32::ComPtr<IOleClientSite>(site_).detach();
  return S_OK;
}

STDMETHODIMP Quessel::SetHostNames(LPCOLESTR, LPCOLESTR) noexcept { return S_OK; }

STDMETHODIMP Quessel::Close(DWORD) noexcept {
  InPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP Quessel::SetMoniker(DWORD, IMoniker*) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::GetMoniker(DWORD, DWORD, IMoniker** moniker) noexcept {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP Quessel::InitFromData(IDataObject*, BOOL, DWORD) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::GetClipboardData(DWORD, IDataObject** data) noexcept {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Quessel::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) noexcept {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      break;
    case OLEIVERB_HIDE:
      if (face_) ::ShowWindow(face_, SW_HIDE);
      return S_OK;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
  if (face_) {
    ::ShowWindow(face_, SW_SHOWNA);
    return S_OK;
  }
  win32::ComPtr<IOleInPlaceSite> inPlace;
  IOleClientSite* from = site ? site : site_.get();
  if (!from || FAILED(from->QueryInterface(IID_IOleInPlaceSite, inPlace.put_void()))) return E_UNEXPECTED;
  if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
  if (FAILED(inPlace->OnInPlaceActivate())) return E_FAIL;
  HWND parent = nullptr;
  RECT position{}, clip{};
  win32::ComPtr<IOleInPlaceFrame> frame;
  win32::ComPtr<IOleInPlaceUIWindow> document;
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof frameInfo;
  if (FAILED(inPlace->GetWindow(&parent)) ||
      FAILED(inPlace->GetWindowContext(frame.put(), document.put(), &position, &clip, &frameInfo)) ||
      !RegisterFaceClass()) {
    inPlace->OnInPlaceDeactivate();
    return E_FAIL;
  }
  face_ = ::CreateWindowExW(0, kFaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                            position.top, FacePixels(true), FacePixels(false), parent, nullptr, ModuleInstance(),
                            nullptr);
  if (!face_) {
    inPlace->OnInPlaceDeactivate();
    return E_FAIL;
  }
  return S_OK;
}

STDMETHODIMP Quessel::EnumVerbs(IEnumOLEVERB** verbs) noexcept {
  if (verbs) *verbs = nullptr;
  return OLEOBJ_E_NOVERBS;
}

STDMETHODIMP Quessel::Update() noexcept { return S_OK; }
STDMETHODIMP Quessel::IsUpToDate() noexcept { return S_OK; }

STDMETHODIMP Quessel::GetUserClassID(CLSID* clsid) noexcept {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Quessel;
  return S_OK;
}

STDMETHODIMP Quessel::GetUserType(DWORD form, LPOLESTR* type) noexcept {
  return ::OleRegGetUserType(CLSID_Quessel, form, type);
}

STDMETHODIMP Quessel::SetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  if (!size) return E_POINTER;
  // Every resize sets the size back: the request is taken and the fixed size stays.
  return S_OK;
}

STDMETHODIMP Quessel::GetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return E_FAIL;
  size->cx = kFaceHimetric;
  size->cy = kFaceHimetric;
  return S_OK;
}

STDMETHODIMP Quessel::Advise(IAdviseSink* sink, DWORD* connection) noexcept {
  if (!adviseHolder_) {
    const HRESULT hr = ::CreateOleAdviseHolder(adviseHolder_.put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP Quessel::Unadvise(DWORD connection) noexcept {
  return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP Quessel::EnumAdvise(IEnumSTATDATA** advise) noexcept {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(advise) : E_FAIL;
}

STDMETHODIMP Quessel::GetMiscStatus(DWORD, DWORD* status) noexcept {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP Quessel::SetColorScheme(LOGPALETTE*) noexcept { return E_NOTIMPL; }

// IViewObject2

STDMETHODIMP Quessel::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds, LPCRECTL,
                           BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) noexcept {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  const RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
  PaintFace(drawDc, area);
  return S_OK;
}

STDMETHODIMP Quessel::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) noexcept {
  if (colors) *colors = nullptr;
  return S_FALSE;
}

STDMETHODIMP Quessel::Freeze(DWORD, LONG, void*, DWORD*) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::Unfreeze(DWORD) noexcept { return E_NOTIMPL; }

STDMETHODIMP Quessel::SetAdvise(DWORD, DWORD, IAdviseSink* sink) noexcept {
  viewSink_ = win32::ComPtr<IAdviseSink>::Share(sink);
  return S_OK;
}

STDMETHODIMP Quessel::GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) noexcept {
  if (aspects) *aspects = DVASPECT_CONTENT;
  if (advf) *advf = 0;
  if (sink) *sink = win32::ComPtr<IAdviseSink>(viewSink_).detach();
  return S_OK;
}

STDMETHODIMP Quessel::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) noexcept {
  return GetExtent(aspect, size);
}

// IOleInPlaceObject

STDMETHODIMP Quessel::GetWindow(HWND* window) noexcept {
  if (!window) return E_POINTER;
  *window = face_;
  return face_ ? S_OK : E_FAIL;
}

STDMETHODIMP Quessel::ContextSensitiveHelp(BOOL) noexcept { return E_NOTIMPL; }

STDMETHODIMP Quessel::InPlaceDeactivate() noexcept {
  if (!face_) return S_OK;
  DestroyFace();
  win32::ComPtr<IOleInPlaceSite> inPlace;
  if (site_ && SUCCEEDED(site_.As(inPlace))) inPlace->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP Quessel::UIDeactivate() noexcept { return S_OK; }

STDMETHODIMP Quessel::SetObjectRects(LPCRECT position, LPCRECT) noexcept {
  if (!position) return E_POINTER;
  // The container decides where the control sits, never how large it is.
  if (face_)
    ::SetWindowPos(face_, nullptr, position->left, position->top, FacePixels(true), FacePixels(false),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

STDMETHODIMP Quessel::ReactivateAndUndo() noexcept { return INPLACE_E_NOTUNDOABLE; }

// IPersistStreamInit

STDMETHODIMP Quessel::GetClassID(CLSID* clsid) noexcept { return GetUserClassID(clsid); }
STDMETHODIMP Quessel::IsDirty() noexcept { return S_FALSE; }
STDMETHODIMP Quessel::Load(IStream*) noexcept { return S_OK; }
STDMETHODIMP Quessel::Save(IStream*, BOOL) noexcept { return S_OK; }
STDMETHODIMP Quessel::GetSizeMax(ULARGE_INTEGER* size) noexcept {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}
STDMETHODIMP Quessel::InitNew() noexcept { return S_OK; }

// IOleControl

STDMETHODIMP Quessel::GetControlInfo(CONTROLINFO* info) noexcept {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}
STDMETHODIMP Quessel::OnMnemonic(MSG*) noexcept { return S_OK; }
STDMETHODIMP Quessel::OnAmbientPropertyChange(DISPID) noexcept { return S_OK; }
STDMETHODIMP Quessel::FreezeEvents(BOOL) noexcept { return S_OK; }

}  // namespace pravik::controllib
