#include "framework/win32/text_view_accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <string>

#include "framework/win32/message_parameters.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {
namespace {

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The label before the view in the tab order, as the platform names its edits.
std::wstring LabelOf(HWND view) {
    HWND label = GetWindow(view, GW_HWNDPREV);
    wchar_t className[16] = {};
    if (label == nullptr ||
        GetClassNameW(label, className, static_cast<int>(std::size(className))) == 0 ||
        lstrcmpiW(className, L"Static") != 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    std::erase(text, L'&');
    return text;
}

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// The view with no children: what the platform's edit says of itself.
class AccessibleTextView final : public IAccessible {
public:
    AccessibleTextView(HWND view, ModelLookup modelOf) : view_(view), modelOf_(modelOf) {}
    AccessibleTextView(const AccessibleTextView&) = delete;
    AccessibleTextView& operator=(const AccessibleTextView&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: screen readers call the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: a read-only text named by its label, whose value is the text.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return E_INVALIDARG;
        }
        *name = SysAllocString(LabelOf(view_).c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const TextViewModel* model = modelOf_(view_);
        if (model == nullptr) {
            return E_FAIL;  // the window is gone
        }
        if (!IsSelf(child)) {
            return E_INVALIDARG;
        }
        const std::wstring text = ToWide(model->Text());
        *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, ROLE_SYSTEM_TEXT, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        LONG flags = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
        flags |= GetFocus() == view_ ? STATE_SYSTEM_FOCUSED : 0;
        flags |= IsWindowVisible(view_) ? 0 : STATE_SYSTEM_INVISIBLE;
        flags |= IsWindowEnabled(view_) ? 0 : STATE_SYSTEM_UNAVAILABLE;
        return Number(child, flags, state);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (!IsSelf(child)) {
            return E_INVALIDARG;
        }
        RECT place{};
        GetWindowRect(view_, &place);
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        RECT place{};
        GetWindowRect(view_, &place);
        const POINT point{x, y};
        if (!PtInRect(&place, point)) {
            child->vt = VT_EMPTY;
            return S_FALSE;
        }
        *child = Self();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (GetFocus() != view_) {
            child->vt = VT_EMPTY;
            return S_FALSE;
        }
        *child = Self();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        if (!IsSelf(child) || (flags & ~SELFLAG_TAKEFOCUS) != 0) {
            return E_INVALIDARG;
        }
        SetFocus(view_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return AccessibleObjectFromWindow(view_, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }

    // IAccessible: nothing more to say, as for the platform's edit.
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        children->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleTextView() = default;

    static HRESULT Number(const VARIANT& child, LONG number, VARIANT* answer) {
        if (!IsSelf(child)) {
            return E_INVALIDARG;
        }
        answer->vt = VT_I4;
        answer->lVal = number;
        return S_OK;
    }
    static HRESULT Nothing(const VARIANT& child, BSTR* text) {
        *text = nullptr;
        return IsSelf(child) ? S_FALSE : E_INVALIDARG;
    }

    HWND view_;
    ModelLookup modelOf_;
    LONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND view, ModelLookup modelOf, WPARAM flags, LPARAM objectId) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT) {
        return DefWindowProcW(view, WM_GETOBJECT, flags, objectId);
    }
    // Handing the object over marshals it, which needs COM on this thread.
    static thread_local const bool comReady =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!comReady) {
        return DefWindowProcW(view, WM_GETOBJECT, flags, objectId);
    }
    auto* accessible = new AccessibleTextView(view, modelOf);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, accessible);
    accessible->Release();
    return result;
}

void AnnounceChanges(HWND view, const TextViewChanges& changes) {
    if (changes.text) {
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, view, OBJID_CLIENT, CHILDID_SELF);
    }
    if (changes.selection) {
        NotifyWinEvent(EVENT_OBJECT_TEXTSELECTIONCHANGED, view, OBJID_CLIENT, CHILDID_SELF);
    }
    if (GetFocus() == view && (changes.caret || changes.scroll || changes.text)) {
        NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, view, OBJID_CARET, CHILDID_SELF);
    }
}

namespace {

constexpr int kAnnouncementId = 0x7FF0;       // beyond the forms' control ids
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr long kPolite = 1;                   // LiveSetting's Polite
// LiveSetting_Property_GUID, which the cross compiler's headers lack.
constexpr GUID kLiveSetting = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

// Marks `region` as polite for UI Automation's proxy of MSAA; without COM or
// the service the region stays a plain static, whose name changes are heard.
void MarkPolite(HWND region) {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        VARIANT polite{};
        polite.vt = VT_I4;
        polite.lVal = kPolite;
        services->SetHwndProp(region, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSetting,
                              polite);
        services->Release();
    }
    if (SUCCEEDED(started)) {
        CoUninitialize();
    }
}

}  // namespace

// `text` goes into a polite live region of the dialog, made on first use: a
// static control without size, which screen readers read when its text
// changes (UI Automation's live region, set through MSAA's annotation).
void Announce(HWND dialog, std::string_view text) {
    HWND region = GetDlgItem(dialog, kAnnouncementId);
    if (region == nullptr) {
        region = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                                 dialog, PointerFrom<HMENU>(kAnnouncementId),
                                 GetModuleHandleW(nullptr), nullptr);
        if (region == nullptr) {
            return;
        }
        MarkPolite(region);
    }
    SetWindowTextW(region, ToWide(text).c_str());
    NotifyWinEvent(kLiveRegionChanged, region, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace framework::win32
