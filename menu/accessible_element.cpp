#include "menu/accessible_element.h"

#include <oleacc.h>

#include <atomic>

#include "win32/app_error.h"
#include "win32/com_ptr.h"
#include "win32/window_hook.h"

namespace pravik::menu {
namespace {

BSTR CopyText(const std::wstring& text) { return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The element itself: name, role and state of its own, the rest from the standard object.
class AccessibleElement final : public IAccessible {
 public:
  AccessibleElement(win32::ComPtr<IAccessible> standard, AccessibleDescription description)
      : standard_(std::move(standard)), d_(std::move(description)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: screen readers use the interface's own methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: ours
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    if (!IsSelf(child)) return standard_ ? standard_->get_accName(child, name) : E_INVALIDARG;
    *name = CopyText(d_.name);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    if (!IsSelf(child)) return standard_ ? standard_->get_accRole(child, role) : E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = d_.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    HRESULT hr = standard_ ? standard_->get_accState(child, state) : E_FAIL;
    if (!IsSelf(child)) return hr;
    if (FAILED(hr) || state->vt != VT_I4) {
      state->vt = VT_I4;
      state->lVal = 0;
    }
    state->lVal |= d_.state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    if (!IsSelf(child) || d_.role == ROLE_SYSTEM_TEXT || d_.role == ROLE_SYSTEM_OUTLINE)
      return standard_ ? standard_->get_accDefaultAction(child, action) : S_FALSE;
    *action = CopyText(d_.role == ROLE_SYSTEM_LINK ? L"이동" : L"누르기");
    return S_OK;
  }

  // IAccessible: the standard object's
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_ ? standard_->get_accParent(parent) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_ ? standard_->get_accChildCount(count) : E_FAIL; }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override { return standard_ ? standard_->get_accChild(child, out) : E_INVALIDARG; }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return standard_ ? standard_->get_accValue(child, value) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return standard_ ? standard_->get_accDescription(child, text) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return standard_ ? standard_->get_accHelp(child, text) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override { return standard_ ? standard_->get_accHelpTopic(file, child, topic) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override { return standard_ ? standard_->get_accKeyboardShortcut(child, keys) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_ ? standard_->get_accFocus(child) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_ ? standard_->get_accSelection(children) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_ ? standard_->accSelect(flags, child) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override { return standard_ ? standard_->accLocation(x, y, w, h, child) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override { return standard_ ? standard_->accNavigate(dir, start, end) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return standard_ ? standard_->accHitTest(x, y, child) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_ ? standard_->accDoDefaultAction(child) : S_FALSE; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override { return standard_ ? standard_->put_accValue(child, value) : E_NOTIMPL; }

 private:
  ~AccessibleElement() = default;
  std::atomic<ULONG> refs_{1};
  win32::ComPtr<IAccessible> standard_;
  AccessibleDescription d_;
};

}  // namespace

std::optional<LRESULT> AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const AccessibleDescription& description) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return std::nullopt;
  win32::ComPtr<IAccessible> standard;
  (void)::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void());
  auto* element = new AccessibleElement(std::move(standard), description);
  const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(element));
  element->Release();
  return result;
}

void DescribeAccessibly(HWND hwnd, AccessibleDescription description) {
  if (!hwnd) return;
  (void)win32::WindowHook::ForLifeOf(
      hwnd, [hwnd, description = std::move(description)](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message != WM_GETOBJECT) return false;
        const std::optional<LRESULT> answer = AnswerGetObject(hwnd, wParam, lParam, description);
        if (answer) result = *answer;
        return answer.has_value();
      });
}

}  // namespace pravik::menu
