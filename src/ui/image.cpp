#include "ui/image.h"

#include "ui/device_context.h"

namespace ui {

Image::Image(Window& parent, ImageArgs args)
    : Control(parent, {.className = kPaintedControlClass, .bounds = args.bounds}) {}

void Image::SetBitmap(UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT Image::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(Handle(), &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, Parent()->BackgroundBrush());
        return 1;
    }
    case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc.get());
        return 0;
    }
    case WM_SIZE:
        // Only a new DPI resizes the picture, and it is then drawn at the new scale.
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    default: return Control::HandleMessage(message, wParam, lParam);
    }
}

void Image::Paint(HDC dc) const {
    if (!bitmap_) return;
    BITMAP info{};
    GetObjectA(bitmap_.get(), sizeof info, &info);
    MemoryDC source(dc);
    SelectedObject selected(source.get(), bitmap_.get());
    // The picture grows with the window's DPI like everything around it.
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, Scaled(info.bmWidth), Scaled(info.bmHeight), source.get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
}

}  // namespace ui
