// What the text area tells screen readers and automation: an MSAA object (role text, its name,
// the rows on the screen as its value), a UI Automation element with the Text pattern over the
// whole text, the events that say the text, the selection and the caret changed (a few times a
// second however fast text arrives), and, while it has the focus, new lines read out. Providers
// handed out keep only a shared link that is cut when the text area goes; their ranges' ends are
// held spans that follow the text.
#pragma once

#include "ui/msaa_object.h"
#include "ui/timer.h"

#include "core/text_units.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Memo;
class MemoAccessibility;
class UiaTextProvider;

// What a text area's providers share; outlives the text area while a client holds a provider.
struct TextAreaLink {
    explicit TextAreaLink(MemoAccessibility& area, core::OffsetAnchors& anchors) : owner(&area), spans(anchors) {}
    MemoAccessibility* owner;  // null once the text area is going
    core::HeldSpans spans;
};

class MemoAccessibility final : public AccessibleFacts {
public:
    explicit MemoAccessibility(Memo& memo);
    ~MemoAccessibility();
    MemoAccessibility(const MemoAccessibility&) = delete;
    MemoAccessibility& operator=(const MemoAccessibility&) = delete;

    void SetName(std::wstring name) { name_ = std::move(name); }
    std::optional<LRESULT> AnswerGetObject(WPARAM wParam, LPARAM lParam);
    // The text area is going: every provider handed out stops reaching it.
    void Disconnect() noexcept;

    void TextChanged(bool appended);
    void SelectionChanged();
    // The system caret moved: Windows says so for its own caret, Wine does not.
    void CaretPlaced();

    // For the providers.
    HWND Handle() const noexcept;
    core::TextUnits& Units() noexcept { return units_; }
    std::size_t Size() const noexcept;
    core::TextSpan Selection() const noexcept;
    core::TextSpan Visible();
    void Select(core::TextSpan span);
    void ScrollIntoView(core::TextSpan span, bool alignToTop);
    // The boxes on the screen of the rows of `span` that are shown.
    std::vector<RECT> ScreenBoxes(core::TextSpan span);
    std::size_t OffsetAtScreenPoint(POINT point);
    // The element of the text area, one reference for the caller; null without UI Automation.
    IRawElementProviderSimple* Element();
    const std::shared_ptr<TextAreaLink>& Link() const noexcept { return link_; }

    long Role() override { return ROLE_SYSTEM_TEXT; }
    std::wstring Name() override { return name_; }
    std::wstring Value() override;
    bool Focused() override;
    bool Focusable() override { return true; }

private:
    void RaiseDue();
    void Announce();

    Memo& memo_;
    core::TextUnits units_;
    std::wstring name_;
    std::shared_ptr<TextAreaLink> link_;
    MsaaServer msaa_;
    UiaTextProvider* element_ = nullptr;  // one reference, once asked for
    Timer eventTimer_;
    bool valueChanged_ = false;
    bool selectionChanged_ = false;
    core::TextSpan toldSelection_;
    bool linesArrived_ = false;
    std::size_t announcedTo_ = 0;  // follows the text
    ULONGLONG announcedAt_ = 0;
};

}  // namespace ui
