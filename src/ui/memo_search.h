// A search over a text area's text, run in slices on the user-interface thread so that reception,
// painting and the status line go on over gigabytes: each slice reads for about 10 ms, then the
// message loop runs until the next tick. A match becomes the selection and is shown. While a search
// runs longer than a moment, the pointer is the hourglass. Starting another search or cancelling
// drops the running one.
#pragma once

#include "ui/object.h"
#include "ui/timer.h"

#include "core/text_search.h"

#include <functional>
#include <optional>

namespace ui {

class Memo;

class MemoSearch : public Object {
public:
    explicit MemoSearch(Memo& memo);
    ~MemoSearch() override;
    MemoSearch(const MemoSearch&) = delete;
    MemoSearch& operator=(const MemoSearch&) = delete;

    // After the match is selected and shown.
    std::function<void(core::TextMatch)> OnFound;
    std::function<void()> OnNotFound;

    // Runs the first slice at once: a short search has its answer before Start returns.
    void Start(const core::SearchRequest& request);
    void Cancel() noexcept;
    bool Running() const noexcept { return search_.has_value(); }

private:
    void RunSlice();
    void Finish(const core::SearchStep& step);
    void SetBusy(bool busy) noexcept;

    Memo& memo_;
    std::optional<core::TextSearch> search_;
    Timer timer_;
    double startedMs_ = 0;
    bool busy_ = false;
};

}  // namespace ui
