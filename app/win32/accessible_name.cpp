#include "app/win32/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include "base/wide.h"

namespace log2plt::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0xACC;
// Interface ids through __uuidof: the import library's IID_IAccessible is not the id's data.

// The system's accessible object of a control, with the control's own name.
// A COM interface has no virtual destructor: this final class is deleted only by its own
// Release, never through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* inner, const char16_t* name) : inner_(inner), name_(name) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, __uuidof(IUnknown)) || IsEqualIID(id, __uuidof(IDispatch)) ||
        IsEqualIID(id, __uuidof(IAccessible))) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // Other interfaces (a reader's text patterns, say) are the system object's own.
    return inner_->QueryInterface(id, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return inner_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return inner_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* wrong_argument) override {
    return inner_->Invoke(member, id, locale, flags, parameters, result, exception, wrong_argument);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return inner_->get_accName(child, name);
    *name = SysAllocString(AsWide(name_));
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return inner_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return inner_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return inner_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return inner_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return inner_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return inner_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return inner_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return inner_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return inner_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return inner_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return inner_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return inner_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return inner_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
    return inner_->accSelect(how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return inner_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return inner_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return inner_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return inner_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() { inner_->Release(); }

  LONG references_ = 1;
  IAccessible* inner_;
  const char16_t* name_;
};
#pragma GCC diagnostic pop

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR, DWORD_PTR name) {
  if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == OBJID_CLIENT) {
    IAccessible* inner = nullptr;
    if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&inner)))) {
      auto* named = new NamedAccessible(inner, reinterpret_cast<const char16_t*>(name));
      const LRESULT result = LresultFromObject(__uuidof(IAccessible), wparam, named);
      named->Release();
      return result;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &NamedControlProc, kSubclassId);
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

void GiveAccessibleName(HWND control, const char16_t* name) {
  SetWindowSubclass(control, &NamedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(name));
}

}  // namespace log2plt::win32
