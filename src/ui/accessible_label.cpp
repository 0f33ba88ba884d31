#include "ui/accessible_label.h"

#include "ui/accessibility_libraries.h"

#include <utility>

namespace ui {

// The label's UI Automation element; once disconnected every call answers
// UIA_E_ELEMENTNOTAVAILABLE.
class UiaLabelProvider final : public IRawElementProviderSimple, public uia::IValueProvider {
public:
    UiaLabelProvider(AccessibleLabel& label, HWND window) : label_(&label), window_(window) {}
    void Disconnect() noexcept { label_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (id == uia::kIUnknownId || id == uia::kIRawElementProviderSimpleId) {
            *result = static_cast<IRawElementProviderSimple*>(this);
        } else if (id == uia::kIValueProviderId) {
            *result = static_cast<uia::IValueProvider*>(this);
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

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (!options) return E_POINTER;
        *options = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (!label_) return uia::kElementNotAvailable;
        if (pattern != uia::kValuePatternId) return S_OK;
        *result = static_cast<uia::IValueProvider*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return label_ ? Accessibility().hostProviderFromHwnd(window_, result) : uia::kElementNotAvailable;
    }

    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR) override { return label_ ? E_ACCESSDENIED : uia::kElementNotAvailable; }
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (!label_) return uia::kElementNotAvailable;
        *result = NewBstr(label_->Value());
        return *result ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) override {
        if (!result) return E_POINTER;
        *result = TRUE;
        return label_ ? S_OK : uia::kElementNotAvailable;
    }

private:
    ~UiaLabelProvider() = default;

    ULONG references_ = 1;
    AccessibleLabel* label_;
    HWND window_;
};

HRESULT UiaLabelProvider::GetPropertyValue(PROPERTYID property, VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    if (!label_) return uia::kElementNotAvailable;
    if (property == uia::kControlTypePropertyId) {
        result->vt = VT_I4;
        result->lVal = uia::kTextControlTypeId;
    } else if (property == uia::kNamePropertyId || property == uia::kValueValuePropertyId) {
        result->vt = VT_BSTR;
        result->bstrVal = NewBstr(property == uia::kNamePropertyId ? label_->Name() : label_->Value());
        if (!result->bstrVal) return E_OUTOFMEMORY;
    }
    return S_OK;
}

AccessibleLabel::~AccessibleLabel() {
    if (element_) Disconnect(nullptr);
}

std::optional<LRESULT> AccessibleLabel::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (disconnected_) return std::nullopt;
    if (const std::optional<LRESULT> answer = server_.Answer(window, wParam, lParam)) return answer;
    const AccessibilityLibraries& libraries = Accessibility();
    if (!libraries.HasUia()) return std::nullopt;
    if (!element_) element_ = new UiaLabelProvider(*this, window);
    return libraries.returnRawElementProvider(window, wParam, lParam, element_);
}

void AccessibleLabel::Disconnect(HWND window) noexcept {
    disconnected_ = true;
    server_.Disconnect();
    if (!element_) return;
    element_->Disconnect();
    const AccessibilityLibraries& libraries = Accessibility();
    if (libraries.disconnectProvider) libraries.disconnectProvider(element_);
    if (window) libraries.returnRawElementProvider(window, 0, 0, nullptr);
    std::exchange(element_, nullptr)->Release();
}

void AccessibleLabel::Set(HWND window, std::wstring name, std::wstring value) {
    const bool changed = value != value_;
    name_ = std::move(name);
    value_ = std::move(value);
    if (changed) MsaaServer::ValueChanged(window);
}

}  // namespace ui
