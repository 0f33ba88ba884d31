#include "ui/memo_accessibility.h"

#include "ui/accessibility_libraries.h"
#include "ui/memo.h"
#include "ui/text_conversion.h"
#include "ui/uia_text_provider.h"

#include <algorithm>

namespace ui {
namespace {

// However fast text arrives, clients hear of changes this often at most, and new lines are read
// out at most this often, the newest of them up to a length a listener can follow.
constexpr UINT kEventInterval = 250;
constexpr ULONGLONG kAnnounceInterval = 500;
constexpr std::size_t kMostAnnouncedBytes = 500;

}  // namespace

MemoAccessibility::MemoAccessibility(Memo& memo)
    : memo_(memo),
      units_(memo.document_, memo.view_),
      link_(std::make_shared<TextAreaLink>(*this, memo.document_.Anchors())),
      msaa_(*this),
      eventTimer_(memo, {.enabled = false}) {
    memo.document_.Anchors().Add(&announcedTo_);
    eventTimer_.OnTimer = [this](Object*) { RaiseDue(); };
}

MemoAccessibility::~MemoAccessibility() { Disconnect(); }

HWND MemoAccessibility::Handle() const noexcept { return memo_.Handle(); }

std::optional<LRESULT> MemoAccessibility::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
    if (!link_->owner) return std::nullopt;
    if (const std::optional<LRESULT> answer = msaa_.Answer(Handle(), wParam, lParam)) return answer;
    const AccessibilityLibraries& libraries = Accessibility();
    if (!libraries.HasUia()) return std::nullopt;
    // Every object id goes to UI Automation, which answers those it knows.
    IRawElementProviderSimple* element = Element();
    const LRESULT answer = libraries.returnRawElementProvider(Handle(), wParam, lParam, element);
    element->Release();
    return answer;
}

void MemoAccessibility::Disconnect() noexcept {
    if (!link_->owner) return;
    eventTimer_.Stop();
    msaa_.Disconnect();
    link_->owner = nullptr;
    link_->spans.Detach();
    memo_.document_.Anchors().Remove(&announcedTo_);
    if (!element_) return;
    const AccessibilityLibraries& libraries = Accessibility();
    if (libraries.disconnectProvider) libraries.disconnectProvider(element_);
    libraries.returnRawElementProvider(Handle(), 0, 0, nullptr);
    std::exchange(element_, nullptr)->Release();
}

IRawElementProviderSimple* MemoAccessibility::Element() {
    if (!element_) element_ = new UiaTextProvider(link_);
    element_->AddRef();
    return element_;
}

void MemoAccessibility::TextChanged(bool appended) {
    valueChanged_ = true;
    linesArrived_ = linesArrived_ || appended;
    if (!eventTimer_.Running()) eventTimer_.Start(kEventInterval);
}

void MemoAccessibility::SelectionChanged() {
    // The caret is placed again whenever the view moves; only a selection that moved counts.
    const core::TextSpan now = Selection();
    if (now.start == toldSelection_.start && now.end == toldSelection_.end) return;
    toldSelection_ = now;
    selectionChanged_ = true;
    if (!eventTimer_.Running()) eventTimer_.Start(kEventInterval);
}

void MemoAccessibility::CaretPlaced() {
    if (Focused()) NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, Handle(), OBJID_CARET, CHILDID_SELF);
}

void MemoAccessibility::RaiseDue() {
    if (!valueChanged_ && !selectionChanged_ && !linesArrived_) {
        eventTimer_.Stop();
        return;
    }
    const AccessibilityLibraries& libraries = Accessibility();
    const auto raise = [&](int event) {
        if (element_ && libraries.raiseAutomationEvent) libraries.raiseAutomationEvent(element_, event);
    };
    if (std::exchange(valueChanged_, false)) {
        MsaaServer::ValueChanged(Handle());
        raise(uia::kTextChangedEventId);
    }
    if (std::exchange(selectionChanged_, false)) raise(uia::kTextSelectionChangedEventId);
    if (linesArrived_) Announce();
}

void MemoAccessibility::Announce() {
    const AccessibilityLibraries& libraries = Accessibility();
    if (!Focused() || !element_ || !libraries.raiseNotificationEvent) {
        // Nobody hears it now; what arrived meanwhile is not read out later.
        linesArrived_ = false;
        announcedTo_ = Size();
        return;
    }
    const ULONGLONG now = GetTickCount64();
    if (now - announcedAt_ < kAnnounceInterval) return;
    linesArrived_ = false;
    const core::TextSpan lines = units_.NewestLines(announcedTo_, kMostAnnouncedBytes);
    if (lines.start == lines.end) return;
    announcedTo_ = lines.end;
    announcedAt_ = now;
    BSTR text = NewBstr(ToWide(memo_.document_.Read(lines.start, lines.end)));
    BSTR activity = SysAllocString(L"NewText");
    if (text && activity) {
        libraries.raiseNotificationEvent(element_, uia::NotificationKind_ActionCompleted,
                                         uia::NotificationProcessing_All, text, activity);
    }
    SysFreeString(text);
    SysFreeString(activity);
}

std::size_t MemoAccessibility::Size() const noexcept { return memo_.document_.Size(); }

core::TextSpan MemoAccessibility::Selection() const noexcept {
    const core::TextSelection selected = memo_.document_.Selected();
    return {selected.start, selected.end};
}

core::TextSpan MemoAccessibility::Visible() {
    const std::vector<core::TextRow>& rows = memo_.view_.ShownRows();
    return {rows.front().start, rows.back().end};
}

std::wstring MemoAccessibility::Value() {
    const core::TextSpan shown = Visible();
    return ToWide(memo_.document_.Read(shown.start, shown.end));
}

bool MemoAccessibility::Focused() { return memo_.focused_; }

void MemoAccessibility::Select(core::TextSpan span) { memo_.Select(span.start, span.end); }

void MemoAccessibility::ScrollIntoView(core::TextSpan span, bool alignToTop) {
    const bool moved = alignToTop ? memo_.view_.ScrollTo(span.start) : memo_.view_.Centre(span.end);
    if (moved) memo_.ViewMoved();
}

std::vector<RECT> MemoAccessibility::ScreenBoxes(core::TextSpan span) {
    std::vector<RECT> boxes;
    if (span.start == span.end) return boxes;
    const std::vector<core::TextRow> rows = memo_.view_.ShownRows();
    const int lastRow = std::max(1, memo_.VisibleRows());
    for (int index = 0; index < static_cast<int>(rows.size()) && index < lastRow; ++index) {
        const core::TextRow& row = rows[index];
        const std::size_t from = std::max(span.start, row.start);
        const std::size_t to = std::min(span.end, row.end);
        if (from >= to) continue;
        POINT corners[2] = {memo_.CellPoint(index, memo_.document_.CellOf(from)),
                            memo_.CellPoint(index + 1, memo_.document_.CellOf(to))};
        MapWindowPoints(Handle(), nullptr, corners, 2);
        boxes.push_back({corners[0].x, corners[0].y, corners[1].x, corners[1].y});
    }
    return boxes;
}

std::size_t MemoAccessibility::OffsetAtScreenPoint(POINT point) {
    ScreenToClient(Handle(), &point);
    RECT client{};
    GetClientRect(Handle(), &client);
    point.y = std::clamp(point.y, client.top, client.bottom - 1);
    return memo_.OffsetAtPoint(point);
}

}  // namespace ui
