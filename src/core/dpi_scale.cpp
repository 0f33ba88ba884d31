#include "core/dpi_scale.h"

#include "core/font_size.h"

namespace core {

int ScaleToDpi(int layoutPixels, int dpi) { return MulDivRound(layoutPixels, dpi, kLayoutDpi); }

int ScaleFromDpi(int pixels, int dpi) { return MulDivRound(pixels, kLayoutDpi, dpi); }

}  // namespace core
