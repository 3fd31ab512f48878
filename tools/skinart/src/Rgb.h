#pragma once

#include <cstdint>

// A 24-bit colour. All shading maths is integer so that every compiler and
// every floating-point mode produces the same bytes.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    static constexpr Rgb hex(std::uint32_t value) {
        return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                   static_cast<std::uint8_t>(value)};
    }

    // Blend towards `other`; weight 0 keeps this colour, 256 gives `other`.
    Rgb mixedWith(Rgb other, int weight) const;
    // Multiply every channel by factor/256 (256 = unchanged), clamped.
    Rgb scaled(int factor) const;
    // Add the same amount to every channel, clamped.
    Rgb brightened(int delta) const;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};
