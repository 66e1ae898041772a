// The control as a container sees it: fixed size, its face colour, in-place activation, and a
// library that reports live objects honestly.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <string>

#include "controllib/quessel_interface.h"
#include "testsupport/process.h"
#include "win32/com_ptr.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

win32::ComPtr<IUnknown> NewControl() {
  win32::ComPtr<IUnknown> control;
  ::CoCreateInstance(CLSID_Quessel, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.put_void());
  return control;
}

TEST(QuesselControl, KeepsItsSizeWhateverItIsResizedTo) {
  auto control = NewControl();
  ASSERT_TRUE(control);
  win32::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(ole), S_OK);
  for (SIZEL asked : {SIZEL{5000, 5000}, SIZEL{1, 1}, SIZEL{794, 10000}}) {
    ole->SetExtent(DVASPECT_CONTENT, &asked);
    SIZEL size{};
    ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(size.cx, 794);  // 450 twips in hundredths of a millimetre
    EXPECT_EQ(size.cy, 794);
  }
}

TEST(QuesselControl, DrawsItsFaceInItsColour) {
  auto control = NewControl();
  win32::ComPtr<IViewObject2> view;
  ASSERT_EQ(control.As(view), S_OK);
  win32::WindowDc screen(nullptr);
  win32::MemoryDc dc(::CreateCompatibleDC(screen.get()));
  win32::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), 40, 40));
  win32::SelectScope select(dc.get(), bitmap.get());
  const RECT all{0, 0, 40, 40};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  const RECTL bounds{0, 0, 30, 30};
  ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.get(), &bounds, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(::GetPixel(dc.get(), 15, 15), RGB(255, 255, 192));
  EXPECT_EQ(::GetPixel(dc.get(), 35, 35), RGB(0, 0, 0));
}

// The least a container must offer for in-place activation.
class Site final : public IOleClientSite, public IOleInPlaceSite {
 public:
  explicit Site(HWND host) : host_(host) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
    else return E_NOINTERFACE;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  STDMETHODIMP GetWindow(HWND* w) override { return *w = host_, S_OK; }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return ++activations, S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = RECT{10, 20, 210, 220};  // the container asks for 200 x 200
    *clip = *pos;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return --activations, S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
  int activations = 0;

 private:
  HWND host_;
};

TEST(QuesselControl, SitsInAContainerAtItsFixedSize) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  Site site(host);
  {
    auto control = NewControl();
    win32::ComPtr<IOleObject> ole;
    ASSERT_EQ(control.As(ole), S_OK);
    ASSERT_EQ(ole->SetClientSite(&site), S_OK);
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, nullptr), S_OK);
    EXPECT_EQ(site.activations, 1);
    win32::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(control.As(inPlace), S_OK);
    HWND face = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&face), S_OK);
    EXPECT_EQ(::GetParent(face), host);
    const int side = ::MulDiv(450, ::GetDeviceCaps(win32::WindowDc(nullptr).get(), LOGPIXELSX), 1440);
    RECT r;
    ::GetClientRect(face, &r);
    EXPECT_EQ(r.right, side);
    EXPECT_EQ(r.bottom, side);
    ::RedrawWindow(face, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(::GetPixel(win32::WindowDc(face).get(), side / 2, side / 2), RGB(255, 255, 192));
    const RECT bigger{5, 6, 405, 306};
    ASSERT_EQ(inPlace->SetObjectRects(&bigger, &bigger), S_OK);
    ::GetWindowRect(face, &r);
    ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right - r.left, side);
    EXPECT_EQ(r.bottom - r.top, side);
    ASSERT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_FALSE(::IsWindow(face));
    EXPECT_EQ(site.activations, 0);
    ole->SetClientSite(nullptr);
  }
  ::DestroyWindow(host);
}

// Containers read the flags from the registry before creating the control and from the object
// afterwards; both must say the control shows nothing at run time.
TEST(QuesselControl, RegistryAndObjectReportTheSameMiscStatus) {
  auto control = NewControl();
  win32::ComPtr<IOleObject> ole;
  ASSERT_EQ(control.As(ole), S_OK);
  DWORD status = 0;
  ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  wchar_t clsid[40] = {};
  ::StringFromGUID2(CLSID_Quessel, clsid, 40);
  wchar_t text[32] = {};
  DWORD size = sizeof text;
  ASSERT_EQ(::RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid + L"\\MiscStatus\\1").c_str(),
                           nullptr, RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::to_wstring(status), text);
  EXPECT_EQ(status & OLEMISC_INVISIBLEATRUNTIME, static_cast<DWORD>(OLEMISC_INVISIBLEATRUNTIME));
}

// A class left registered after the library is gone points its window procedure into freed
// memory: the next window of that class would crash its host.
TEST(QuesselControl, UnloadedLibraryLeavesNoWindowClass) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  Site site(host);
  HINSTANCE library = nullptr;
  {
    auto control = NewControl();
    win32::ComPtr<IOleObject> ole;
    ASSERT_EQ(control.As(ole), S_OK);
    ASSERT_EQ(ole->SetClientSite(&site), S_OK);
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, nullptr), S_OK);
    win32::ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(control.As(inPlace), S_OK);
    HWND face = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&face), S_OK);
    library = reinterpret_cast<HINSTANCE>(::GetClassLongPtrW(face, GCLP_HMODULE));
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
  }
  ::DestroyWindow(host);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(::GetClassInfoExW(library, L"QuesselFace", &wc));
  ::CoFreeUnusedLibraries();
  if (::GetModuleHandleW(L"Quessel.ocx")) GTEST_SKIP() << "COM kept the library loaded";
  EXPECT_FALSE(::GetClassInfoExW(library, L"QuesselFace", &wc));
}

TEST(QuesselControl, CanUnloadOnlyWithoutLiveObjectsOrLocks) {
  win32::Module library(::LoadLibraryW((pravik::testsupport::OutDir() + L"\\Quessel.ocx").c_str()));
  ASSERT_TRUE(library);
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto canUnload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllCanUnloadNow")));
  ASSERT_TRUE(canUnload);
  ::CoFreeUnusedLibraries();
  ASSERT_EQ(canUnload(), S_OK);
  {
    auto control = NewControl();
    ASSERT_TRUE(control);
    EXPECT_EQ(canUnload(), S_FALSE);
  }
  EXPECT_EQ(canUnload(), S_OK);
  win32::ComPtr<IClassFactory> factory;
  ASSERT_EQ(::CoGetClassObject(CLSID_Quessel, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()),
            S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  factory->LockServer(TRUE);
  factory.reset();
  EXPECT_EQ(canUnload(), S_FALSE);
  ASSERT_EQ(::CoGetClassObject(CLSID_Quessel, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()),
            S_OK);
  factory->LockServer(FALSE);
  factory.reset();
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace pravik::controllib
