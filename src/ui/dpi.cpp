#include "ui/dpi.h"

#include "core/dpi_scale.h"
#include "core/font_size.h"
#include "ui/device_context.h"
#include "ui/system_library.h"

namespace ui {
namespace {

// A function of user32 that older systems lack; nullptr there. The program imports user32, so it is
// loaded already.
template <typename Function>
Function User32Function(const char* name) {
    return FindFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

int SystemDpi() {
    const WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

void AdjustOuterRect(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

LOGFONTW StatusFontAt(int dpi) {
    using InfoFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto infoForDpi = User32Function<InfoFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (infoForDpi && infoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
        return metrics.lfStatusFont;
    }
    // The system's metrics are at the system's DPI.
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfStatusFont.lfHeight = core::MulDivRound(metrics.lfStatusFont.lfHeight, dpi, SystemDpi());
        return metrics.lfStatusFont;
    }
    LOGFONTW fallback{};
    fallback.lfHeight = core::PointsToHeight(9, dpi);
    fallback.lfCharSet = DEFAULT_CHARSET;
    return fallback;
}

}  // namespace ui
