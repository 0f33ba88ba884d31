#include "ui/uia_text_range.h"

#include "ui/text_conversion.h"

#include <algorithm>
#include <optional>

namespace ui {
namespace {

// Asked for by Own() alone: answers this very object, without a reference.
constexpr IID kOwnRangeId = {0x6f1d2a40, 0x3c55, 0x4e0b, {0x9a, 0x61, 0x0b, 0x7e, 0x52, 0x18, 0xd3, 0x9c}};
constexpr std::size_t kPieceBytes = 64u << 10;
constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);

std::optional<core::TextUnit> CoreUnit(uia::TextUnit unit) {
    switch (unit) {
    case uia::TextUnit_Character: return core::TextUnit::Character;
    case uia::TextUnit_Word: return core::TextUnit::Word;
    case uia::TextUnit_Line: return core::TextUnit::Line;
    case uia::TextUnit_Paragraph: return core::TextUnit::Paragraph;
    case uia::TextUnit_Page: return core::TextUnit::Page;
    // The whole text has one format.
    case uia::TextUnit_Format:
    case uia::TextUnit_Document: return core::TextUnit::Document;
    }
    return std::nullopt;
}

core::SpanEnd CoreEnd(uia::TextPatternRangeEndpoint endpoint) {
    return endpoint == uia::TextPatternRangeEndpoint_Start ? core::SpanEnd::Start : core::SpanEnd::End;
}

}  // namespace

UiaTextRange::UiaTextRange(std::shared_ptr<TextAreaLink> link, core::TextSpan span)
    : link_(std::move(link)), span_(link_->spans.Hold(span)) {}

UiaTextRange::~UiaTextRange() { link_->spans.LetGo(span_); }

HRESULT UiaTextRange::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == kOwnRangeId) {
        *result = this;
        return S_OK;
    }
    if (id != uia::kIUnknownId && id != uia::kITextRangeProviderId) {
        *result = nullptr;
        return E_NOINTERFACE;
    }
    *result = static_cast<ITextRangeProvider*>(this);
    AddRef();
    return S_OK;
}

ULONG UiaTextRange::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

MemoAccessibility* UiaTextRange::Area() noexcept {
    MemoAccessibility* area = link_->owner;
    if (area) {
        span_->end = std::min(span_->end, area->Size());
        span_->start = std::min(span_->start, span_->end);
    }
    return area;
}

UiaTextRange* UiaTextRange::Own(ITextRangeProvider* range) noexcept {
    void* own = nullptr;
    if (!range || FAILED(range->QueryInterface(kOwnRangeId, &own))) return nullptr;
    return static_cast<UiaTextRange*>(own);
}

std::size_t UiaTextRange::End(uia::TextPatternRangeEndpoint endpoint) const noexcept {
    return endpoint == uia::TextPatternRangeEndpoint_Start ? span_->start : span_->end;
}

HRESULT UiaTextRange::Clone(ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!Area()) return uia::kElementNotAvailable;
    *result = new UiaTextRange(link_, *span_);
    return S_OK;
}

HRESULT UiaTextRange::Compare(ITextRangeProvider* range, BOOL* result) {
    if (!result) return E_POINTER;
    if (!Area()) return uia::kElementNotAvailable;
    const UiaTextRange* other = Own(range);
    if (!other || other->link_ != link_) return E_INVALIDARG;
    *result = other->span_->start == span_->start && other->span_->end == span_->end;
    return S_OK;
}

HRESULT UiaTextRange::CompareEndpoints(uia::TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                       uia::TextPatternRangeEndpoint targetEndpoint, int* result) {
    if (!result) return E_POINTER;
    if (!Area()) return uia::kElementNotAvailable;
    const UiaTextRange* other = Own(target);
    if (!other || other->link_ != link_) return E_INVALIDARG;
    const std::size_t mine = End(endpoint);
    const std::size_t theirs = other->End(targetEndpoint);
    *result = mine < theirs ? -1 : mine > theirs ? 1 : 0;
    return S_OK;
}

HRESULT UiaTextRange::ExpandToEnclosingUnit(uia::TextUnit unit) {
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    const std::optional<core::TextUnit> coreUnit = CoreUnit(unit);
    if (!coreUnit) return E_INVALIDARG;
    *span_ = area->Units().Enclosing(*coreUnit, span_->start);
    return S_OK;
}

HRESULT UiaTextRange::FindAttribute(int, VARIANT, BOOL, ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    // No attribute varies over the text: there is no range where one changes.
    return Area() ? S_OK : uia::kElementNotAvailable;
}

HRESULT UiaTextRange::FindText(BSTR, BOOL, BOOL, ITextRangeProvider** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Area() ? E_NOTIMPL : uia::kElementNotAvailable;
}

HRESULT UiaTextRange::GetAttributeValue(int, VARIANT* result) {
    if (!result) return E_POINTER;
    VariantInit(result);
    // An empty answer: the client takes the attribute as not supported.
    return Area() ? S_OK : uia::kElementNotAvailable;
}

HRESULT UiaTextRange::GetBoundingRectangles(SAFEARRAY** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    const std::vector<RECT> boxes = area->ScreenBoxes(*span_);
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(4 * boxes.size()));
    if (!array) return E_OUTOFMEMORY;
    LONG index = 0;
    for (const RECT& box : boxes) {
        for (const double value :
             {double(box.left), double(box.top), double(box.right - box.left), double(box.bottom - box.top)}) {
            SafeArrayPutElement(array, &index, const_cast<double*>(&value));
            ++index;
        }
    }
    *result = array;
    return S_OK;
}

HRESULT UiaTextRange::GetEnclosingElement(IRawElementProviderSimple** result) {
    if (!result) return E_POINTER;
    MemoAccessibility* area = Area();
    *result = area ? area->Element() : nullptr;
    return area ? S_OK : uia::kElementNotAvailable;
}

HRESULT UiaTextRange::GetText(int maxLength, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    if (maxLength < -1) return E_INVALIDARG;
    const std::size_t most = maxLength < 0 ? kMostRangeText : std::min<std::size_t>(maxLength, kMostRangeText);
    std::wstring text;
    // A character takes at most two bytes and one UTF-16 unit: twice the units still missing is
    // enough bytes, and what comes out beyond them is cut.
    for (std::size_t at = span_->start; text.size() < most && at < span_->end;) {
        const std::size_t bytes = std::clamp<std::size_t>(2 * (most - text.size()), 2, kPieceBytes);
        const std::string piece = area->Units().Read(at, span_->end, bytes);
        if (piece.empty()) break;
        text += ToWide(piece);
        at += piece.size();
    }
    if (text.size() > most) text.resize(most);
    *result = NewBstr(text);
    return *result ? S_OK : E_OUTOFMEMORY;
}

template <class Step>
HRESULT UiaTextRange::MoveBy(uia::TextUnit unit, int* moved, Step step) {
    if (!moved) return E_POINTER;
    *moved = 0;
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    const std::optional<core::TextUnit> coreUnit = CoreUnit(unit);
    if (!coreUnit) return E_INVALIDARG;
    *moved = step(area->Units(), *coreUnit);
    return S_OK;
}

HRESULT UiaTextRange::Move(uia::TextUnit unit, int count, int* moved) {
    return MoveBy(unit, moved,
                  [&](core::TextUnits& units, core::TextUnit by) { return units.Move(*span_, by, count); });
}

HRESULT UiaTextRange::MoveEndpointByUnit(uia::TextPatternRangeEndpoint endpoint, uia::TextUnit unit, int count,
                                         int* moved) {
    return MoveBy(unit, moved, [&](core::TextUnits& units, core::TextUnit by) {
        return units.MoveEnd(*span_, CoreEnd(endpoint), by, count);
    });
}

HRESULT UiaTextRange::MoveEndpointByRange(uia::TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                          uia::TextPatternRangeEndpoint targetEndpoint) {
    if (!Area()) return uia::kElementNotAvailable;
    const UiaTextRange* other = Own(target);
    if (!other || other->link_ != link_) return E_INVALIDARG;
    core::SetSpanEnd(*span_, CoreEnd(endpoint), other->End(targetEndpoint));
    return S_OK;
}

HRESULT UiaTextRange::Select() {
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    area->Select(*span_);
    return S_OK;
}

// The text area has one selection.
HRESULT UiaTextRange::AddToSelection() { return Area() ? kInvalidOperation : uia::kElementNotAvailable; }

HRESULT UiaTextRange::RemoveFromSelection() { return Area() ? kInvalidOperation : uia::kElementNotAvailable; }

HRESULT UiaTextRange::ScrollIntoView(BOOL alignToTop) {
    MemoAccessibility* area = Area();
    if (!area) return uia::kElementNotAvailable;
    area->ScrollIntoView(*span_, alignToTop != FALSE);
    return S_OK;
}

HRESULT UiaTextRange::GetChildren(SAFEARRAY** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!Area()) return uia::kElementNotAvailable;
    *result = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
    return *result ? S_OK : E_OUTOFMEMORY;
}

}  // namespace ui
