#pragma once

namespace core {

// The layout's positions and sizes, and the window size the settings file keeps, are pixels at
// this resolution; a window shows them at its own.
inline constexpr int kLayoutDpi = 96;

// Layout pixels at a window's DPI, rounded to the nearest pixel (halves away from zero).
int ScaleToDpi(int layoutPixels, int dpi);

// Pixels at a window's DPI back in layout pixels. At 96 ppi and above, a layout size scaled to
// the DPI and back is the size it was, so a stored size means the same at every DPI.
int ScaleFromDpi(int pixels, int dpi);

}  // namespace core
