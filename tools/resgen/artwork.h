// The program's own pictures: the window icon and the logo of the main window's top bar.
#pragma once

#include "canvas.h"
#include "image_files.h"

namespace resgen {

inline constexpr int kIconSize = 32;
inline constexpr int kLogoWidth = 82;
inline constexpr int kLogoHeight = 30;

// The classic 16-colour Windows palette, so the icon looks the same on every display.
extern const Palette16 kIconPalette;

// A small terminal screen with text lines and a serial waveform, and a cable to a plug.
Canvas DrawIcon();

// The 8N1 frame of the letter 'V' as a waveform above the word "Varnedo", on white, because the
// logo sits in a white panel.
Canvas DrawLogo();

Bytes IconFile();
Bytes LogoFile();

}  // namespace resgen
