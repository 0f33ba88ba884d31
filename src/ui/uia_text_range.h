// A range of the text area's text for UI Automation. Its ends are a held span, so they follow
// edits, dropped lines and a cleared text; the units and their rules are the core's. Text is
// handed out converted a piece at a time and never more than a client asks for, nor more than
// kMostRangeText characters.
#pragma once

#include "ui/memo_accessibility.h"
#include "ui/uia_declarations.h"

#include <memory>

namespace ui {

inline constexpr std::size_t kMostRangeText = 1u << 20;

class UiaTextRange final : public uia::ITextRangeProvider {
public:
    UiaTextRange(std::shared_ptr<TextAreaLink> link, core::TextSpan span);
    UiaTextRange(const UiaTextRange&) = delete;
    UiaTextRange& operator=(const UiaTextRange&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* result) override;
    HRESULT STDMETHODCALLTYPE CompareEndpoints(uia::TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                               uia::TextPatternRangeEndpoint targetEndpoint, int* result) override;
    HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(uia::TextUnit unit) override;
    HRESULT STDMETHODCALLTYPE FindAttribute(int attribute, VARIANT value, BOOL backward,
                                            ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase, ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE GetAttributeValue(int attribute, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** result) override;
    HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE Move(uia::TextUnit unit, int count, int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(uia::TextPatternRangeEndpoint endpoint, uia::TextUnit unit, int count,
                                                 int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByRange(uia::TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                                  uia::TextPatternRangeEndpoint targetEndpoint) override;
    HRESULT STDMETHODCALLTYPE Select() override;
    HRESULT STDMETHODCALLTYPE AddToSelection() override;
    HRESULT STDMETHODCALLTYPE RemoveFromSelection() override;
    HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) override;
    HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** result) override;

private:
    ~UiaTextRange();
    // The text area, or null when it is gone; the span is put within the text as it is now.
    MemoAccessibility* Area() noexcept;
    // Another range of this text area, or null.
    static UiaTextRange* Own(ITextRangeProvider* range) noexcept;
    std::size_t End(uia::TextPatternRangeEndpoint endpoint) const noexcept;
    // Moves by a unit through `step`, which returns how far it went.
    template <class Step>
    HRESULT MoveBy(uia::TextUnit unit, int* moved, Step step);

    ULONG references_ = 1;
    std::shared_ptr<TextAreaLink> link_;
    core::TextSpan* span_;
};

}  // namespace ui
