// The system's progress bar (msctls_progress32), counting in thousandths.
#pragma once

#include "ui/control.h"

namespace ui {

class ProgressBar : public Control {
public:
    // `bounds` in layout pixels within the parent.
    ProgressBar(Window& parent, Rect bounds);

    // 0 to 1000.
    void SetPosition(int thousandths);
    int Position() const;
};

}  // namespace ui
