#include "ui/uia_text_provider.h"

#include "ui/accessibility_libraries.h"
#include "ui/uia_text_range.h"

namespace ui {
namespace {

HRESULT Unavailable() { return uia::kElementNotAvailable; }

}  // namespace

SAFEARRAY* UnknownArray(IUnknown* element) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, element ? 1 : 0);
    if (!array || !element) return array;
    LONG index = 0;
    // The array takes its own reference.
    if (FAILED(SafeArrayPutElement(array, &index, element))) {
        SafeArrayDestroy(array);
        return nullptr;
    }
    return array;
}

HRESULT UiaTextProvider::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == uia::kIUnknownId || id == uia::kIRawElementProviderSimpleId) {
        *result = static_cast<IRawElementProviderSimple*>(this);
    } else if (id == uia::kITextProviderId) {
        *result = static_cast<uia::ITextProvider*>(this);
    } else {
        *result = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG UiaTextProvider::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT UiaTextProvider::get_ProviderOptions(ProviderOptions* options) {
    if (!options) return E_POINTER;
    // Calls come on the text area's own thread.
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
}

HRESULT UiaTextProvider::GetPatternProvider(PATTERNID pattern, IUnknown** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!link_->owner) return Unavailable();
    if (pattern != uia::kTextPatternId) return S_OK;
    *result = static_cast<uia::ITextProvider*>(this);
    AddRef();
    return S_OK;
}

HRESULT UiaTextProvider::GetPropertyValue(PROPERTYID property, VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    MemoAccessibility* area = link_->owner;
    if (!area) return Unavailable();
    const auto setBool = [result](bool value) {
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    };
    switch (property) {
    case uia::kControlTypePropertyId:
        result->vt = VT_I4;
        result->lVal = uia::kDocumentControlTypeId;
        break;
    case uia::kNamePropertyId:
        result->vt = VT_BSTR;
        result->bstrVal = NewBstr(area->Name());
        if (!result->bstrVal) return E_OUTOFMEMORY;
        break;
    case uia::kIsKeyboardFocusablePropertyId:
    case uia::kIsEnabledPropertyId:
    case uia::kIsControlElementPropertyId:
    case uia::kIsContentElementPropertyId: setBool(true); break;
    case uia::kIsPasswordPropertyId: setBool(false); break;
    case uia::kHasKeyboardFocusPropertyId: setBool(area->Focused()); break;
    default: break;  // empty: the host's answer stands
    }
    return S_OK;
}

HRESULT UiaTextProvider::get_HostRawElementProvider(IRawElementProviderSimple** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = link_->owner;
    if (!area) return Unavailable();
    return Accessibility().hostProviderFromHwnd(area->Handle(), result);
}

HRESULT UiaTextProvider::OneRange(core::TextSpan span, SAFEARRAY** result) {
    auto* range = new UiaTextRange(link_, span);
    *result = UnknownArray(range);
    range->Release();
    return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT UiaTextProvider::GetSelection(SAFEARRAY** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = link_->owner;
    return area ? OneRange(area->Selection(), result) : Unavailable();
}

HRESULT UiaTextProvider::GetVisibleRanges(SAFEARRAY** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = link_->owner;
    return area ? OneRange(area->Visible(), result) : Unavailable();
}

HRESULT UiaTextProvider::RangeFromChild(IRawElementProviderSimple*, uia::ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    // The text has no children.
    return link_->owner ? E_INVALIDARG : Unavailable();
}

HRESULT UiaTextProvider::RangeFromPoint(uia::Point point, uia::ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = link_->owner;
    if (!area) return Unavailable();
    const std::size_t offset = area->OffsetAtScreenPoint({static_cast<LONG>(point.x), static_cast<LONG>(point.y)});
    *result = new UiaTextRange(link_, {offset, offset});
    return S_OK;
}

HRESULT UiaTextProvider::get_DocumentRange(uia::ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = link_->owner;
    if (!area) return Unavailable();
    *result = new UiaTextRange(link_, {0, area->Size()});
    return S_OK;
}

HRESULT UiaTextProvider::get_SupportedTextSelection(uia::SupportedTextSelection* result) {
    if (!result) return E_POINTER;
    if (!link_->owner) return Unavailable();
    *result = uia::SupportedTextSelection_Single;
    return S_OK;
}

}  // namespace ui
