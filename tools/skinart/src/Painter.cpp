#include "Painter.h"

Painter::Painter(Image& target) : target_(target) {}

void Painter::plot(int x, int y, Rgb colour) { target_.set(x, y, colour); }

void Painter::blend(int x, int y, Rgb colour, int weight) {
    if (target_.contains(x, y)) {
        target_.set(x, y, target_.at(x, y).mixedWith(colour, weight));
    }
}

void Painter::fill(const Rect& area, Rgb colour) {
    for (int y = area.top; y < area.bottom; ++y) {
        horizontalLine(area.left, area.right, y, colour);
    }
}

void Painter::horizontalLine(int left, int right, int y, Rgb colour) {
    for (int x = left; x < right; ++x) {
        plot(x, y, colour);
    }
}

void Painter::verticalLine(int x, int top, int bottom, Rgb colour) {
    for (int y = top; y < bottom; ++y) {
        plot(x, y, colour);
    }
}

void Painter::bevel(const Rect& area, Rgb topLeft, Rgb bottomRight) {
    if (area.empty()) {
        return;
    }
    horizontalLine(area.left, area.right, area.top, topLeft);
    verticalLine(area.left, area.top, area.bottom, topLeft);
    horizontalLine(area.left, area.right, area.bottom - 1, bottomRight);
    verticalLine(area.right - 1, area.top, area.bottom, bottomRight);
}

void Painter::verticalGradient(const Rect& area, Rgb top, Rgb bottom) {
    const int steps = area.height() > 1 ? area.height() - 1 : 1;
    for (int y = area.top; y < area.bottom; ++y) {
        horizontalLine(area.left, area.right, y, top.mixedWith(bottom, (y - area.top) * 256 / steps));
    }
}

void Painter::disc(int centreX8, int centreY8, int radius8, Rgb colour) {
    // 4 x 4 samples per pixel at odd eighths (1, 3, 5, 7) give 17 coverage levels.
    const long long limit = static_cast<long long>(radius8) * radius8;
    const int firstX = (centreX8 - radius8) / 8 - 1;
    const int lastX = (centreX8 + radius8) / 8 + 1;
    const int firstY = (centreY8 - radius8) / 8 - 1;
    const int lastY = (centreY8 + radius8) / 8 + 1;
    for (int y = firstY; y <= lastY; ++y) {
        for (int x = firstX; x <= lastX; ++x) {
            int covered = 0;
            for (int sy = 1; sy < 8; sy += 2) {
                for (int sx = 1; sx < 8; sx += 2) {
                    const long long dx = x * 8 + sx - centreX8;
                    const long long dy = y * 8 + sy - centreY8;
                    covered += (dx * dx + dy * dy <= limit) ? 1 : 0;
                }
            }
            if (covered == 16) {
                plot(x, y, colour);
            } else if (covered > 0) {
                blend(x, y, colour, covered * 16);
            }
        }
    }
}

void Painter::blit(const Image& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy) {
        for (int sx = 0; sx < source.width(); ++sx) {
            plot(x + sx, y + sy, source.at(sx, sy));
        }
    }
}
