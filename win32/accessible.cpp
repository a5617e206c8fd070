#include "accessible.h"

#include <oleacc.h>

#include <utility>

#include "accessible_texts.h"

namespace win32 {

// The functions of the accessibility libraries that the objects call.
struct AccessibilityRuntime::Api {
    decltype(&CreateStdAccessibleObject) createStandardObject;
    decltype(&LresultFromObject) resultFromObject;
    decltype(&AccessibleObjectFromWindow) objectFromWindow;
    decltype(&SysAllocString) allocString;
};

namespace {

// The runtime of the thread that creates the windows, while its owner exists.
AccessibilityRuntime* threadRuntime = nullptr;

// Loads a system library from the system folder only.
HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Function>
Function Find(HMODULE library, const char* name) {
    // Cast through the generic function type, which any function pointer
    // converts to and from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard client object of `window`, extended by `traits`. When `traits`
// lists child windows, the object enumerates them in that order through
// IEnumVARIANT, which AccessibleChildren reads.
class ClientAccessible final : public IAccessible, public IEnumVARIANT {
  public:
    ClientAccessible(const AccessibilityRuntime::Api& api, HWND window, IAccessible* standard,
                     AccessibleTraits traits)
        : api_(api), window_(window), standard_(standard), traits_(std::move(traits)) {}
    ClientAccessible(const ClientAccessible&) = delete;
    ClientAccessible& operator=(const ClientAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IEnumVARIANT) && traits_.children) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch, passed to the standard object.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT n, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(n, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return standard_->Invoke(id, iid, lcid, flags, params, result, exception, badArgument);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!traits_.children) return standard_->get_accChildCount(count);
        if (count == nullptr) return E_POINTER;
        *count = static_cast<LONG>(traits_.children().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || !traits_.name) return standard_->get_accName(child, name);
        if (name == nullptr) return E_POINTER;
        *name = api_.allocString(traits_.name->c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !traits_.role) return standard_->get_accRole(child, role);
        if (role == nullptr) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = *traits_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = standard_->get_accState(child, state);
        if (!IsSelf(child) || FAILED(result) || state->vt != VT_I4) return result;
        // Ask here, in the window's own thread, where the focus is known.
        if (traits_.press) state->lVal |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window_) state->lVal |= STATE_SYSTEM_FOCUSED;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child) || !traits_.press) return standard_->get_accDefaultAction(child, action);
        if (action == nullptr) return E_POINTER;
        *action = api_.allocString(reinterpret_cast<const wchar_t*>(tarpo::form::kCellPressAction));
        return *action != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!IsSelf(start) || !traits_.children ||
            (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return standard_->accNavigate(direction, start, end);
        if (end == nullptr) return E_POINTER;
        const std::vector<HWND> children = traits_.children();
        *end = VARIANT{};  // VT_EMPTY
        if (children.empty()) return S_FALSE;
        return Put(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back(), *end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child) || !traits_.press) return standard_->accDoDefaultAction(child);
        traits_.press();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

    // IEnumVARIANT over the child windows in their order.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (out == nullptr) return E_POINTER;
        const std::vector<HWND> children = traits_.children();
        ULONG n = 0;
        for (; n < count && next_ < children.size(); ++next_) {
            out[n] = VARIANT{};  // VT_EMPTY
            if (SUCCEEDED(Put(children[next_], out[n]))) ++n;
        }
        if (fetched != nullptr) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t size = traits_.children().size();
        next_ += count;
        if (next_ <= size) return S_OK;
        next_ = size;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (out == nullptr) return E_POINTER;
        standard_->AddRef();
        auto* copy = new ClientAccessible(api_, window_, standard_, traits_);
        copy->next_ = next_;
        *out = copy;
        return S_OK;
    }

  private:
    ~ClientAccessible() { standard_->Release(); }

    // Returns a child window's client object, which stands for the child.
    HRESULT Put(HWND child, VARIANT& out) const {
        IDispatch* object = nullptr;
        const HRESULT result =
            api_.objectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                                  reinterpret_cast<void**>(&object));
        if (FAILED(result)) return result;
        out.vt = VT_DISPATCH;
        out.pdispVal = object;
        return S_OK;
    }

    const AccessibilityRuntime::Api& api_;
    HWND window_;
    IAccessible* standard_;  // holds one reference
    AccessibleTraits traits_;
    ULONG references_ = 1;
    std::size_t next_ = 0;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleTraits& traits) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
    const AccessibilityRuntime::Api* api = AccessibilityRuntime::Ready();
    if (api == nullptr) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(api->createStandardObject(window, static_cast<LONG>(OBJID_CLIENT),
                                         __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new ClientAccessible(*api, window, standard, traits);
    const LRESULT answer =
        api->resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return answer;
}

void SetAccessibleName(HWND window, const std::wstring& text) {
    SetWindowTextW(window, text.c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

AccessibilityRuntime::AccessibilityRuntime() { threadRuntime = this; }

AccessibilityRuntime::~AccessibilityRuntime() {
    threadRuntime = nullptr;
    // Release the objects still handed out now, while the libraries they call
    // into are still loaded.
    if (apartment_) CoUninitialize();
}

const AccessibilityRuntime::Api* AccessibilityRuntime::Ready() {
    return threadRuntime != nullptr ? threadRuntime->SetUp() : nullptr;
}

const AccessibilityRuntime::Api* AccessibilityRuntime::SetUp() {
    if (tried_) return api_.get();
    tried_ = true;
    apartment_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    oleacc_.reset(LoadSystemLibrary(L"oleacc.dll"));
    oleaut_.reset(LoadSystemLibrary(L"oleaut32.dll"));
    if (!oleacc_ || !oleaut_) return nullptr;
    Api api{
        Find<decltype(Api::createStandardObject)>(oleacc_.get(), "CreateStdAccessibleObject"),
        Find<decltype(Api::resultFromObject)>(oleacc_.get(), "LresultFromObject"),
        Find<decltype(Api::objectFromWindow)>(oleacc_.get(), "AccessibleObjectFromWindow"),
        Find<decltype(Api::allocString)>(oleaut_.get(), "SysAllocString"),
    };
    if (api.createStandardObject == nullptr || api.resultFromObject == nullptr ||
        api.objectFromWindow == nullptr || api.allocString == nullptr)
        return nullptr;
    api_ = std::make_unique<Api>(api);
    return api_.get();
}

}  // namespace win32
