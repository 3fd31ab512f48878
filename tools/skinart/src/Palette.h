#pragma once

#include "Rgb.h"

// The skin's colours in one place so the parts stay coherent: a warm beige
// shell with a brown-black outline, a blue display, red plates under the
// buttons and olive slider tracks.
namespace Palette {

// Never shown (outside the window region); one dark neutral so it compresses
// well and is easy to recognise in a dump.
inline constexpr Rgb kOutside = Rgb::hex(0x2A2A30);
inline constexpr Rgb kOutline = Rgb::hex(0x221C18);

inline constexpr Rgb kShellTop = Rgb::hex(0xEDE1C2);
inline constexpr Rgb kShellBottom = Rgb::hex(0xD6C49E);
inline constexpr Rgb kShellHighlight = Rgb::hex(0xFFFAEA);
inline constexpr Rgb kShellShadow = Rgb::hex(0x9C8A6A);
inline constexpr Rgb kShellDeepShadow = Rgb::hex(0x6E604A);
inline constexpr Rgb kEngraving = Rgb::hex(0x7A6A52);
inline constexpr Rgb kScrewSlot = Rgb::hex(0x3C3228);

inline constexpr Rgb kBezel = Rgb::hex(0x141824);
inline constexpr Rgb kDisplayTop = Rgb::hex(0x142C78);
inline constexpr Rgb kDisplayBottom = Rgb::hex(0x2A56A8);

inline constexpr Rgb kRed = Rgb::hex(0xC81818);
inline constexpr Rgb kRedDark = Rgb::hex(0x8A0C0C);

inline constexpr Rgb kOlive = Rgb::hex(0x808000);
inline constexpr Rgb kOliveDark = Rgb::hex(0x5C5C00);
inline constexpr Rgb kOliveLight = Rgb::hex(0xA0A000);
// The read-out's field: a deep olive, so that the bright green digits stand
// out from it like a lit display (about 5:1 contrast).
inline constexpr Rgb kReadoutOlive = Rgb::hex(0x3A3A0C);
inline constexpr Rgb kReadoutOliveEdge = Rgb::hex(0x262606);

// Buttons: cream keys with a brown-black rim.
inline constexpr Rgb kKeyRim = Rgb::hex(0x30281E);
inline constexpr Rgb kKeyHighlight = Rgb::hex(0xFFFCF0);
inline constexpr Rgb kKeyFace = Rgb::hex(0xE4DAC2);
inline constexpr Rgb kKeyShadow = Rgb::hex(0x9A8C70);
inline constexpr Rgb kKeyPressedFace = Rgb::hex(0xCCC0A4);
inline constexpr Rgb kKeyPressedShade = Rgb::hex(0x6A5C48);
inline constexpr Rgb kSymbol = Rgb::hex(0x2A241E);
inline constexpr Rgb kRecordRed = Rgb::hex(0xDC1010);
inline constexpr Rgb kInfoInk = Rgb::hex(0x000000);
inline constexpr Rgb kInfoPressedInk = kOlive;

inline constexpr Rgb kStripeGreen = Rgb::hex(0x00CC00);
inline constexpr Rgb kStripeWhite = Rgb::hex(0xFFFFFF);

}  // namespace Palette
