#include "artwork.h"

#include "pixel_font.h"

namespace resgen {
namespace {

constexpr Colour kBlack{0x00, 0x00, 0x00};
constexpr Colour kMaroon{0x80, 0x00, 0x00};
constexpr Colour kGreen{0x00, 0x80, 0x00};
constexpr Colour kOlive{0x80, 0x80, 0x00};
constexpr Colour kNavy{0x00, 0x00, 0x80};
constexpr Colour kPurple{0x80, 0x00, 0x80};
constexpr Colour kTeal{0x00, 0x80, 0x80};
constexpr Colour kSilver{0xC0, 0xC0, 0xC0};
constexpr Colour kGrey{0x80, 0x80, 0x80};
constexpr Colour kRed{0xFF, 0x00, 0x00};
constexpr Colour kLime{0x00, 0xFF, 0x00};
constexpr Colour kYellow{0xFF, 0xFF, 0x00};
constexpr Colour kBlue{0x00, 0x00, 0xFF};
constexpr Colour kFuchsia{0xFF, 0x00, 0xFF};
constexpr Colour kAqua{0x00, 0xFF, 0xFF};
constexpr Colour kWhite{0xFF, 0xFF, 0xFF};

constexpr char kLogoText[] = "Varnedo";

}  // namespace

const Palette16 kIconPalette{kBlack, kMaroon, kGreen, kOlive,  kNavy, kPurple,  kTeal, kSilver,
                             kGrey,  kRed,    kLime,  kYellow, kBlue, kFuchsia, kAqua, kWhite};

Canvas DrawIcon() {
    Canvas icon(kIconSize, kIconSize, kTransparent);

    // Monitor case with a light top-left and a dark bottom-right edge.
    icon.FillRect(1, 1, 28, 22, kSilver);
    icon.FillRect(2, 2, 26, 1, kWhite);
    icon.FillRect(2, 2, 1, 20, kWhite);
    icon.FillRect(2, 21, 26, 1, kGrey);
    icon.FillRect(27, 2, 1, 20, kGrey);
    icon.FrameRect(1, 1, 28, 22, kBlack);

    // Screen: two lines of received text, a cursor and the waveform that brought them.
    icon.FillRect(4, 4, 22, 16, kBlack);
    icon.FillRect(6, 6, 4, 1, kLime);
    icon.FillRect(11, 6, 7, 1, kLime);
    icon.FillRect(19, 6, 4, 1, kLime);
    icon.FillRect(6, 8, 8, 1, kLime);
    icon.FillRect(15, 8, 3, 1, kLime);
    icon.FillRect(19, 8, 2, 3, kLime);
    DrawSquareWave(icon, 5, 13, 17, 2, SerialFrame('V'), kYellow);

    // Stand.
    icon.FillRect(11, 23, 8, 2, kGrey);
    icon.FillRect(7, 25, 16, 3, kSilver);
    icon.FrameRect(7, 25, 16, 3, kBlack);

    // Cable from the back of the screen down to a serial plug with its pins.
    icon.FillRect(29, 12, 2, 2, kBlack);
    icon.FillRect(30, 14, 1, 12, kBlack);
    icon.FillRect(24, 26, 8, 6, kNavy);
    icon.FrameRect(24, 26, 8, 6, kBlack);
    icon.FillRect(26, 28, 1, 1, kYellow);
    icon.FillRect(28, 28, 1, 1, kYellow);
    icon.FillRect(27, 29, 1, 1, kYellow);
    icon.FillRect(29, 29, 1, 1, kYellow);
    return icon;
}

Canvas DrawLogo() {
    Canvas logo(kLogoWidth, kLogoHeight, kWhite);

    constexpr int kScale = 2;
    constexpr int kGap = 1;
    const int textLeft = (kLogoWidth - TextWidth(kLogoText, kScale, kGap)) / 2;

    // The frame with one bit time of idle line before and after it, centred over the word.
    constexpr int kBitWidth = 6;
    const auto frame = SerialFrame(static_cast<std::uint8_t>(kLogoText[0]));
    std::vector<bool> line(1, true);
    line.insert(line.end(), frame.begin(), frame.end());
    line.push_back(true);
    const int waveLeft = (kLogoWidth - kBitWidth * static_cast<int>(line.size())) / 2;
    DrawSquareWave(logo, waveLeft, 3, 9, kBitWidth, line, kTeal);

    DrawText(logo, textLeft + 1, 14 + 1, kLogoText, kScale, kGap, kSilver);
    DrawText(logo, textLeft, 14, kLogoText, kScale, kGap, kNavy);
    return logo;
}

Bytes IconFile() { return EncodeIcon16(DrawIcon(), kIconPalette); }

Bytes LogoFile() { return EncodeBmp24(DrawLogo()); }

}  // namespace resgen
