// Colour schemes and text size: the text area's colours, and the steps that make the recent-text
// strip, the top bar and both fonts larger or smaller together.
#include "Main.h"

#include "core/colour_schemes.h"

namespace {

ui::FontDescription FixedFontOfPoints(int points) {
    return {.face = ui::kFixedGothic, .points = points, .bold = false};
}

}  // namespace

void TMainForm::RadioGroup1Click(ui::Object* /*Sender*/) { ApplyColourScheme(); }

void TMainForm::ApplyColourScheme() {
    // The port may open before any scheme is chosen; the text area then keeps the colours it has.
    const std::optional<core::ColourScheme> scheme = core::SchemeForSelection(RadioGroup1.ItemIndex());
    if (!scheme) return;
    Memo1.SetColors(scheme->background, scheme->text);
}

void TMainForm::Button2Click(ui::Object* /*Sender*/) {
    const core::TextSizes larger = core::Larger(textSizes);
    // At the limit nothing changes, and the text area is not laid out again for nothing.
    if (larger.stripPoints != textSizes.stripPoints) ApplyTextSizes(larger);
}

void TMainForm::Button3Click(ui::Object* /*Sender*/) {
    const core::TextSizes smaller = core::Smaller(textSizes);
    if (smaller.stripPoints != textSizes.stripPoints) ApplyTextSizes(smaller);
}

void TMainForm::ApplyTextSizes(const core::TextSizes& sizes) {
    // Points and layout pixels: the window shows them at its DPI, so a step and its reverse give
    // back the same fonts and sizes at every DPI.
    textSizes = sizes;
    Panel2.SetFont(FixedFontOfPoints(sizes.stripPoints));
    const ui::Rect& strip = Panel2.LayoutBounds();
    Panel2.SetBounds(strip.left, strip.top, sizes.stripWidth, sizes.stripHeight);
    // The top bar is aligned to the top: what it gains in height the text area loses.
    Panel4.SetHeight(sizes.topBarHeight);
    Memo1.SetFont(FixedFontOfPoints(sizes.memoPoints));
}
