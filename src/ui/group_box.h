// A captioned frame that holds controls; their notifications reach their objects through it.
#pragma once

#include "ui/control.h"

#include <optional>
#include <string>

namespace ui {

struct GroupBoxArgs {
    Rect bounds{};
    std::string caption{};
    std::optional<FontDescription> font{};
};

class GroupBox : public Control {
public:
    GroupBox(Window& parent, GroupBoxArgs args);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace ui
