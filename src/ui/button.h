#pragma once

#include "ui/control.h"

#include <functional>
#include <optional>
#include <string>

namespace ui {

struct ButtonArgs {
    Rect bounds{};
    std::string caption{};
    std::optional<FontDescription> font{};
};

class Button : public Control {
public:
    Button(Window& parent, ButtonArgs args);

    std::function<void(Object* sender)> OnClick;

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace ui
