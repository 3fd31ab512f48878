#include "ButtonArt.h"

#include "Painter.h"
#include "Palette.h"
#include "PixelFont.h"

namespace {

// Symbols are drawn relative to (dx, dy) so the pressed key can draw the
// same symbol one pixel right and down.

void drawPlay(Painter& p, int dx, int dy) {
    // 4 wide, 7 tall, pointing right; the flat side at x 4.
    for (int row = 0; row < 7; ++row) {
        const int reach = 3 - (row < 3 ? 3 - row : row - 3);
        p.horizontalLine(4 + dx, 5 + reach + dx, 2 + row + dy, Palette::kSymbol);
    }
}

void drawStop(Painter& p, int dx, int dy) { p.fill(Rect{3, 3, 8, 8}.translated(dx, dy), Palette::kSymbol); }

void drawPause(Painter& p, int dx, int dy) {
    p.fill(Rect{3, 3, 5, 8}.translated(dx, dy), Palette::kSymbol);
    p.fill(Rect{6, 3, 8, 8}.translated(dx, dy), Palette::kSymbol);
}

void drawRecord(Painter& p, int dx, int dy) {
    // Centre of pixel (5, 5) in eighths; radius 2.75 px makes a round 6 px disc.
    const int cx = (5 + dx) * 8 + 4;
    const int cy = (5 + dy) * 8 + 4;
    p.disc(cx, cy, 22, Palette::kRecordRed.scaled(150));
    p.disc(cx, cy, 18, Palette::kRecordRed);
    // A glint towards the light (top left) makes it read as a lamp, not a dot.
    p.blend(4 + dx, 4 + dy, Palette::kKeyHighlight, 150);
}

void drawTriangle(Painter& p, bool pointsUp, int dx, int dy) {
    // 5, 3 and 1 pixels wide over three rows, centred on column 3.
    for (int step = 0; step < 3; ++step) {
        const int row = pointsUp ? 4 - step : 2 + step;
        p.horizontalLine(1 + step + dx, 6 - step + dx, row + dy, Palette::kSymbol);
    }
}

}  // namespace

void ButtonArt::paintKey(Image& key, bool pressed) {
    Painter p(key);
    const Rect inner = key.bounds().inflated(-1);
    if (pressed) {
        // Sunken: the face darkens and only the top/left carry a shade, as if
        // the rim now throws a shadow onto the key.
        p.fill(key.bounds(), Palette::kKeyPressedFace);
        p.bevel(key.bounds(), Palette::kKeyRim, Palette::kKeyRim);
        p.horizontalLine(inner.left, inner.right, inner.top, Palette::kKeyPressedShade);
        p.verticalLine(inner.left, inner.top, inner.bottom, Palette::kKeyPressedShade);
    } else {
        p.fill(key.bounds(), Palette::kKeyFace);
        p.bevel(key.bounds(), Palette::kKeyRim, Palette::kKeyRim);
        p.bevel(inner, Palette::kKeyHighlight, Palette::kKeyShadow);
    }
}

Image ButtonArt::transport(Transport symbol, bool pressed) {
    Image key(kTransportSize, kTransportSize);
    paintKey(key, pressed);
    Painter p(key);
    const int offset = pressed ? 1 : 0;
    switch (symbol) {
        case Transport::Play:
            drawPlay(p, offset, offset);
            break;
        case Transport::Stop:
            drawStop(p, offset, offset);
            break;
        case Transport::Pause:
            drawPause(p, offset, offset);
            break;
        case Transport::Record:
            drawRecord(p, offset, offset);
            break;
    }
    return key;
}

Image ButtonArt::arrow(Arrow direction, bool pressed) {
    // Only 7 px: no separate rim, the bevel itself is the border.
    Image key(kArrowSize, kArrowSize);
    Painter p(key);
    const Rect all = key.bounds();
    if (pressed) {
        p.fill(all, Palette::kKeyPressedFace);
        p.horizontalLine(0, all.right, 0, Palette::kKeyRim);
        p.verticalLine(0, 0, all.bottom, Palette::kKeyRim);
    } else {
        p.fill(all, Palette::kKeyFace);
        p.bevel(all, Palette::kKeyHighlight, Palette::kKeyRim);
    }
    const int offset = pressed ? 1 : 0;
    drawTriangle(p, direction == Arrow::Up, offset, offset);
    return key;
}

void ButtonArt::paintCap(Image& cap) {
    Painter p(cap);
    const Rect inner = cap.bounds().inflated(-1);
    p.verticalGradient(cap.bounds(), Palette::kKeyHighlight, Palette::kKeyFace.scaled(232));
    p.bevel(cap.bounds(), Palette::kKeyRim, Palette::kKeyRim);
    p.bevel(inner, Palette::kKeyHighlight, Palette::kKeyShadow);
}

Image ButtonArt::close(bool pressed) {
    Image cap(14, 15);
    paintCap(cap);
    Painter p(cap);
    // A 2 px thick X over columns 3..10 and rows 4..10. In doubled
    // coordinates the centre is (13, 14); a pixel is on a stroke when it lies
    // within one unit of either diagonal.
    for (int y = 4; y <= 10; ++y) {
        for (int x = 3; x <= 10; ++x) {
            const int u = 2 * x - 13;
            const int v = 2 * y - 14;
            if (u - v >= -1 && u - v <= 1) {
                p.plot(x, y, Palette::kSymbol);
            }
            if (u + v >= -1 && u + v <= 1) {
                p.plot(x, y, Palette::kSymbol);
            }
        }
    }
    return pressed ? droppedOneRow(cap) : cap;
}

Image ButtonArt::minimise(bool pressed) {
    Image cap(13, 15);
    paintCap(cap);
    Painter p(cap);
    // 7, 5, 3, 1 pixels wide, centred on column 6.
    for (int step = 0; step < 4; ++step) {
        p.horizontalLine(3 + step, 10 - step, 6 + step, Palette::kSymbol);
    }
    return pressed ? droppedOneRow(cap) : cap;
}

Image ButtonArt::info(bool pressed) {
    Image label(14, 9, Palette::kKeyFace);
    Painter p(label);
    PixelFont::tiny().draw(p, "info", 1, 1, pressed ? Palette::kInfoPressedInk : Palette::kInfoInk);
    return label;
}

Image ButtonArt::droppedOneRow(const Image& normal) {
    Image dropped(normal.width(), normal.height());
    Painter p(dropped);
    p.blit(normal, 0, 1);
    p.horizontalLine(0, normal.width(), 0, Palette::kKeyRim);
    return dropped;
}
