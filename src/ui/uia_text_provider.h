// The text area's UI Automation element: a document named as the program says, keyboard
// focusable, with the Text pattern over the whole text. Once the text area is gone every call
// answers UIA_E_ELEMENTNOTAVAILABLE.
#pragma once

#include "ui/memo_accessibility.h"
#include "ui/uia_declarations.h"

#include <memory>

namespace ui {

class UiaTextProvider final : public IRawElementProviderSimple, public uia::ITextProvider {
public:
    explicit UiaTextProvider(std::shared_ptr<TextAreaLink> link) : link_(std::move(link)) {}
    UiaTextProvider(const UiaTextProvider&) = delete;
    UiaTextProvider& operator=(const UiaTextProvider&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** result) override;

    HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                             uia::ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE RangeFromPoint(uia::Point point, uia::ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE get_DocumentRange(uia::ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(uia::SupportedTextSelection* result) override;

private:
    ~UiaTextProvider() = default;
    HRESULT OneRange(core::TextSpan span, SAFEARRAY** result);

    ULONG references_ = 1;
    std::shared_ptr<TextAreaLink> link_;
};

// A SAFEARRAY of one or no element provider, as the Text pattern hands out ranges.
SAFEARRAY* UnknownArray(IUnknown* element);

}  // namespace ui
