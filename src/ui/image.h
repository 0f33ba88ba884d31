// Shows a bitmap unscaled at its top left corner; the rest of the control shows the parent's colour.
#pragma once

#include "ui/control.h"

namespace ui {

struct ImageArgs {
    Rect bounds{};
};

class Image : public Control {
public:
    Image(Window& parent, ImageArgs args);

    void SetBitmap(UniqueBitmap bitmap);
    HBITMAP Bitmap() const noexcept { return bitmap_.get(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    UniqueBitmap bitmap_;
};

}  // namespace ui
