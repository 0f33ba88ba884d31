#include "ui/msaa_object.h"

#include "ui/accessibility_libraries.h"

#include <utility>

namespace ui {

BSTR NewBstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

std::optional<LRESULT> MsaaServer::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    const AccessibilityLibraries& libraries = Accessibility();
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || disconnected_ || !libraries.HasMsaa()) return std::nullopt;
    if (!object_) {
        IAccessible* standard = nullptr;
        if (FAILED(libraries.createStdAccessibleObject(window, OBJID_CLIENT, uia::kIAccessibleId,
                                                       reinterpret_cast<void**>(&standard)))) {
            standard = nullptr;
        }
        object_ = new MsaaObject(facts_, standard);
    }
    return libraries.lresultFromObject(uia::kIAccessibleId, wParam, object_);
}

void MsaaServer::Disconnect() noexcept {
    disconnected_ = true;
    if (!object_) return;
    object_->Disconnect();
    std::exchange(object_, nullptr)->Release();
}

void MsaaServer::ValueChanged(HWND window) noexcept {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void MsaaObject::Disconnect() noexcept {
    facts_ = nullptr;
    if (standard_) std::exchange(standard_, nullptr)->Release();
}

HRESULT MsaaObject::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == uia::kIUnknownId || id == uia::kIDispatchId || id == uia::kIAccessibleId) {
        *result = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
}

ULONG MsaaObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT MsaaObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT MsaaObject::CheckSelf(const VARIANT& child) const noexcept {
    if (!facts_) return CO_E_OBJNOTCONNECTED;
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
}

HRESULT MsaaObject::CheckStandard() const noexcept {
    if (!facts_) return CO_E_OBJNOTCONNECTED;
    return standard_ ? S_OK : E_NOTIMPL;
}

HRESULT MsaaObject::get_accParent(IDispatch** parent) {
    const HRESULT checked = CheckStandard();
    return FAILED(checked) ? checked : standard_->get_accParent(parent);
}

HRESULT MsaaObject::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!facts_) return CO_E_OBJNOTCONNECTED;
    *count = 0;
    return S_OK;
}

HRESULT MsaaObject::get_accChild(VARIANT, IDispatch** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return facts_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
}

HRESULT MsaaObject::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    const HRESULT checked = CheckSelf(child);
    if (FAILED(checked)) return checked;
    *name = NewBstr(facts_->Name());
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT MsaaObject::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    const HRESULT checked = CheckSelf(child);
    if (FAILED(checked)) return checked;
    *value = NewBstr(facts_->Value());
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT MsaaObject::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    const HRESULT checked = CheckSelf(child);
    if (FAILED(checked)) return checked;
    role->vt = VT_I4;
    role->lVal = facts_->Role();
    return S_OK;
}

HRESULT MsaaObject::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    const HRESULT checked = CheckSelf(child);
    if (FAILED(checked)) return checked;
    state->vt = VT_I4;
    state->lVal = (facts_->Focusable() ? STATE_SYSTEM_FOCUSABLE : 0) | (facts_->Focused() ? STATE_SYSTEM_FOCUSED : 0);
    return S_OK;
}

// Nothing to say: an empty answer, as for any control without it.
HRESULT MsaaObject::get_accDescription(VARIANT child, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    const HRESULT checked = CheckSelf(child);
    return FAILED(checked) ? checked : S_FALSE;
}

HRESULT MsaaObject::get_accHelp(VARIANT child, BSTR* result) { return get_accDescription(child, result); }

HRESULT MsaaObject::get_accKeyboardShortcut(VARIANT child, BSTR* result) { return get_accDescription(child, result); }

HRESULT MsaaObject::get_accDefaultAction(VARIANT child, BSTR* result) { return get_accDescription(child, result); }

HRESULT MsaaObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    const HRESULT checked = CheckSelf(child);
    return FAILED(checked) ? checked : S_FALSE;
}

HRESULT MsaaObject::get_accFocus(VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    if (!facts_) return CO_E_OBJNOTCONNECTED;
    if (!facts_->Focused()) return S_FALSE;
    result->vt = VT_I4;
    result->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT MsaaObject::get_accSelection(VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    return facts_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT MsaaObject::accSelect(long flags, VARIANT child) {
    const HRESULT checked = CheckStandard();
    return FAILED(checked) ? checked : standard_->accSelect(flags, child);
}

HRESULT MsaaObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    const HRESULT checked = CheckStandard();
    return FAILED(checked) ? checked : standard_->accLocation(left, top, width, height, child);
}

HRESULT MsaaObject::accNavigate(long direction, VARIANT start, VARIANT* result) {
    const HRESULT checked = CheckStandard();
    return FAILED(checked) ? checked : standard_->accNavigate(direction, start, result);
}

HRESULT MsaaObject::accHitTest(long left, long top, VARIANT* result) {
    const HRESULT checked = CheckStandard();
    return FAILED(checked) ? checked : standard_->accHitTest(left, top, result);
}

HRESULT MsaaObject::accDoDefaultAction(VARIANT child) {
    const HRESULT checked = CheckSelf(child);
    return FAILED(checked) ? checked : DISP_E_MEMBERNOTFOUND;
}

}  // namespace ui
