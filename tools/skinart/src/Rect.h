#pragma once

// A half-open rectangle [left, right) x [top, bottom), as Win32 RECTs are.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

    // Grow (positive) or shrink (negative) by the same amount on every side.
    constexpr Rect inflated(int amount) const {
        return Rect{left - amount, top - amount, right + amount, bottom + amount};
    }

    constexpr Rect translated(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }

    constexpr bool intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
