#include "BackgroundArt.h"

#include "Palette.h"
#include "PixelFont.h"
#include "SkinLayout.h"

#include <cstdint>

namespace {

// The display window in the middle of the shell, bezel included.
constexpr Rect kDisplayFrame{49, 70, 204, 189};

// A fixed hash of the pixel position, -2..+2: a faint grain that keeps the
// large beige areas from looking like flat fills. Position-based rather than
// a running generator so the result does not depend on drawing order.
int grain(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1U ^ static_cast<std::uint32_t>(y) * 0x85EBCA77U;
    h ^= h >> 15;
    h *= 0x2C1B3C6DU;
    h ^= h >> 12;
    h *= 0x297A2D39U;
    h ^= h >> 15;
    return static_cast<int>(h % 5U) - 2;
}

}  // namespace

BackgroundArt::BackgroundArt(Image& canvas, const WindowRegion& region)
    : canvas_(canvas), painter_(canvas), region_(region) {}

Image BackgroundArt::paint() {
    Image canvas(SkinLayout::kWindowWidth, SkinLayout::kWindowHeight, Palette::kOutside);
    BackgroundArt art(canvas, WindowRegion::skin());
    art.paintShell();
    art.paintShellBevel();
    art.paintSpeakerGrille();
    art.paintBadge();
    art.paintVents();
    art.paintScrews();
    art.paintDisplay();
    art.paintButtonPlates();
    art.paintScrollColumn();
    art.paintVolumeColumn();
    art.paintReadout();
    art.paintAnimationBed();
    art.paintSidePanel();
    // Last, so that nothing drawn near the edge can break the outline.
    art.paintOutlineAndOutside();
    return canvas;
}

void BackgroundArt::paintShell() {
    const Rect box = region_.bounds();
    for (int y = box.top; y < box.bottom; ++y) {
        const Rgb row = Palette::kShellTop.mixedWith(Palette::kShellBottom, (y - box.top) * 256 / box.height());
        for (int x = box.left; x < box.right; ++x) {
            if (region_.contains(x, y)) {
                canvas_.set(x, y, row.brightened(grain(x, y)));
            }
        }
    }
}

void BackgroundArt::paintShellBevel() {
    // Two rings inside the outline: light where the outline is above or to
    // the left, shade where it is below or to the right. Checking the
    // outline (not a rectangle) makes the bevel follow the dome, the handle,
    // the slits and the joining bars.
    const Rect box = region_.bounds();
    const auto edge = [this](int x, int y) { return region_.isEdge(x, y); };
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (!region_.contains(x, y) || edge(x, y)) {
                continue;
            }
            const Rgb here = canvas_.at(x, y);
            if (edge(x - 1, y) || edge(x, y - 1)) {
                canvas_.set(x, y, Palette::kShellHighlight);
            } else if (edge(x + 1, y) || edge(x, y + 1)) {
                canvas_.set(x, y, Palette::kShellShadow);
            } else if (edge(x - 2, y) || edge(x, y - 2)) {
                canvas_.set(x, y, here.mixedWith(Palette::kShellHighlight, 128));
            } else if (edge(x + 2, y) || edge(x, y + 2)) {
                canvas_.set(x, y, here.mixedWith(Palette::kShellShadow, 100));
            }
        }
    }
}

void BackgroundArt::engrave(int x, int y) {
    painter_.blend(x + 1, y + 1, Palette::kShellHighlight, 200);
    painter_.plot(x, y, Palette::kEngraving);
}

void BackgroundArt::recess(const Rect& area) {
    painter_.bevel(area.inflated(1), Palette::kShellShadow, Palette::kShellHighlight);
}

void BackgroundArt::plate(const Rect& area, Rgb colour) {
    painter_.fill(area, colour);
    recess(area);
}

void BackgroundArt::paintSpeakerGrille() {
    // A round speaker: holes on a 3 px grid inside a circle, ringed by a groove.
    constexpr int cx = 52;
    constexpr int cy = 53;
    constexpr int holeRadius = 11;
    for (int dy = -holeRadius; dy <= holeRadius; dy += 3) {
        for (int dx = -holeRadius; dx <= holeRadius; dx += 3) {
            if (dx * dx + dy * dy <= holeRadius * holeRadius) {
                engrave(cx + dx, cy + dy);
            }
        }
    }
    // The groove: pixels whose distance from the centre rounds to 14.
    for (int dy = -15; dy <= 15; ++dy) {
        for (int dx = -15; dx <= 15; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 13 * 13 + 13 && d2 <= 14 * 14 + 14) {
                engrave(cx + dx, cy + dy);
            }
        }
    }
}

void BackgroundArt::paintBadge() {
    // The maker's name, cut into the shell, with two accent stripes under it.
    const PixelFont& font = PixelFont::badge();
    constexpr int x = 78;
    constexpr int y = 44;
    font.draw(painter_, "BRISKO", x + 1, y + 1, Palette::kShellHighlight);
    font.draw(painter_, "BRISKO", x, y, Palette::kEngraving);
    const int width = font.textWidth("BRISKO");
    painter_.horizontalLine(x, x + width, y + 10, Palette::kRed);
    painter_.horizontalLine(x, x + width, y + 12, Palette::kOlive);
    painter_.horizontalLine(x + 1, x + width + 1, y + 11, Palette::kShellHighlight);
    painter_.horizontalLine(x + 1, x + width + 1, y + 13, Palette::kShellHighlight);
}

void BackgroundArt::paintVents() {
    // Cooling slots on the narrow strip right of the scroll bar.
    for (int y = 41; y <= 93; y += 4) {
        for (int x = 219; x <= 227; ++x) {
            engrave(x, y);
        }
    }
}

void BackgroundArt::paintScrews() {
    constexpr int kScrews[][2] = {{32, 42}, {32, 203}, {221, 176}};
    for (const auto& at : kScrews) {
        paintScrew(at[0], at[1]);
    }
}

void BackgroundArt::paintScrew(int left, int top) {
    // A countersunk slotted head, lit from the top left. D rim, h lit face,
    // f face, s shaded face, k slot, L light lip of the countersink.
    // clang-format off
    static constexpr const char* kScrew[] = {
        ".DDD..",
        "DhhfD.",
        "DkkkDL",
        "DffsDL",
        ".DDDL.",
        "..LL..",
    };
    // clang-format on
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 6; ++col) {
            paintScrewPixel(left + col, top + row, kScrew[row][col]);
        }
    }
}

void BackgroundArt::paintScrewPixel(int x, int y, char code) {
    switch (code) {
        case 'D':
            painter_.plot(x, y, Palette::kShellDeepShadow);
            break;
        case 'h':
            painter_.plot(x, y, Palette::kShellHighlight);
            break;
        case 'f':
            painter_.plot(x, y, Palette::kShellTop.scaled(232));
            break;
        case 's':
            painter_.plot(x, y, Palette::kShellShadow);
            break;
        case 'k':
            painter_.plot(x, y, Palette::kScrewSlot);
            break;
        case 'L':
            painter_.blend(x, y, Palette::kShellHighlight, 180);
            break;
        default:
            break;
    }
}

void BackgroundArt::paintDisplay() {
    // Sunken two-step bezel, a black rim, then the lit glass.
    painter_.bevel(kDisplayFrame, Palette::kShellShadow, Palette::kShellHighlight);
    painter_.bevel(kDisplayFrame.inflated(-1), Palette::kShellDeepShadow, Palette::kShellTop);
    painter_.bevel(kDisplayFrame.inflated(-2), Palette::kBezel, Palette::kBezel);
    const Rect glass = kDisplayFrame.inflated(-3);
    for (int y = glass.top; y < glass.bottom; ++y) {
        Rgb row = Palette::kDisplayTop.mixedWith(Palette::kDisplayBottom, (y - glass.top) * 256 / glass.height());
        if ((y - glass.top) % 2 == 1) {
            row = row.scaled(236);  // scanlines
        }
        painter_.horizontalLine(glass.left, glass.right, y, row);
    }
    // The bezel's shadow falling onto the top of the glass.
    painter_.horizontalLine(glass.left, glass.right, glass.top, Palette::kDisplayTop.scaled(150));
    painter_.verticalLine(glass.left, glass.top, glass.bottom, Palette::kDisplayTop.scaled(170));
    // A faint diagonal reflection across the upper left of the glass.
    for (int y = glass.top + 1; y < glass.bottom; ++y) {
        for (int x = glass.left + 1; x < glass.right; ++x) {
            const int band = (x - glass.left) + 2 * (y - glass.top);
            if (band >= 40 && band < 70) {
                painter_.blend(x, y, Rgb::hex(0xFFFFFF), 14);
            }
        }
    }
}

void BackgroundArt::paintButtonPlates() {
    using namespace SkinLayout;
    // Red plates the buttons sit in, a pixel larger than the buttons so the
    // red shows as a rim around them.
    plate(Rect{kPlay.left, kPlay.top, kPause.right, kPause.bottom}.inflated(1), Palette::kRed);
    plate(kRecord.inflated(1), Palette::kRed);
    plate(Rect{kMinimise.left, kMinimise.top, kClose.right, kClose.bottom}.inflated(1), Palette::kRed);
    plate(kInfo.inflated(1), Palette::kRed);
}

void BackgroundArt::paintScrollColumn() {
    using namespace SkinLayout;
    // One slot down the right of the display: red seats for the arrows at
    // the ends, the olive track between them with dark olive walls.
    const Rect column{kUpArrow.left - 1, kUpArrow.top - 1, kDownArrow.right + 1, kDownArrow.bottom + 1};
    recess(column);
    painter_.fill(Rect{column.left, column.top, column.right, kScrollTrack.top}, Palette::kRed);
    painter_.fill(Rect{column.left, kScrollTrack.top, column.right, kScrollTrack.bottom}, Palette::kOliveDark);
    painter_.fill(Rect{column.left, kScrollTrack.bottom, column.right, column.bottom}, Palette::kRed);
    paintTrack(kScrollTrack);
}

void BackgroundArt::paintTrack(const Rect& track) {
    painter_.fill(track, Palette::kOlive);
    // A groove down the middle for the thumb to run in: dark wall, light lip.
    const int mid = track.left + track.width() / 2;
    painter_.verticalLine(mid, track.top + 1, track.bottom - 1, Palette::kOliveDark);
    painter_.verticalLine(mid + 1, track.top + 1, track.bottom - 1, Palette::kOliveLight);
    painter_.horizontalLine(track.left, track.right, track.top, Palette::kOliveDark);
}

void BackgroundArt::paintVolumeColumn() {
    using namespace SkinLayout;
    recess(kVolumeTrack);
    paintTrack(kVolumeTrack);
    // A scale to the left of the track, longer marks at the ends and middle.
    for (int i = 0; i <= 8; ++i) {
        const int y = kVolumeTrack.top + 4 + i * (kVolumeTrack.height() - 9) / 8;
        const int length = (i % 4 == 0) ? 4 : 2;
        for (int x = kVolumeTrack.left - 2 - length; x < kVolumeTrack.left - 2; ++x) {
            engrave(x, y);
        }
    }
    paintSpeakerIcon(kVolumeTrack.left, kVolumeTrack.bottom + 6);
}

void BackgroundArt::paintSpeakerIcon(int left, int top) {
    // A loudspeaker with two sound waves, so the slider above reads as volume.
    // clang-format off
    static constexpr const char* kIcon[] = {
        "...#.....",
        "..##...#.",
        "####.#..#",
        "####.#..#",
        "####.#..#",
        "..##...#.",
        "...#.....",
    };
    // clang-format on
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 9; ++col) {
            if (kIcon[row][col] == '#') {
                engrave(left + col, top + row);
            }
        }
    }
}

void BackgroundArt::paintReadout() {
    using namespace SkinLayout;
    recess(kReadout);
    painter_.fill(kReadout, Palette::kReadoutOlive);
    painter_.horizontalLine(kReadout.left, kReadout.right, kReadout.top, Palette::kReadoutOliveEdge);
    painter_.verticalLine(kReadout.left, kReadout.top, kReadout.bottom, Palette::kReadoutOliveEdge);
}

void BackgroundArt::paintAnimationBed() { plate(SkinLayout::kAnimationBar.inflated(1), Palette::kRed); }

void BackgroundArt::paintSidePanel() {
    using namespace SkinLayout;
    painter_.bevel(kRedSquare.inflated(2), Palette::kShellShadow, Palette::kShellHighlight);
    painter_.bevel(kRedSquare.inflated(1), Palette::kRedDark, Palette::kRedDark);
    painter_.fill(kRedSquare, Palette::kRed);
}

void BackgroundArt::paintOutlineAndOutside() {
    for (int y = 0; y < canvas_.height(); ++y) {
        for (int x = 0; x < canvas_.width(); ++x) {
            if (!region_.contains(x, y)) {
                canvas_.set(x, y, Palette::kOutside);
            } else if (region_.isEdge(x, y)) {
                canvas_.set(x, y, Palette::kOutline);
            }
        }
    }
}
