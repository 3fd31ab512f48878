#include "PreviewSheet.h"

#include "Painter.h"
#include "WindowRegion.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kWindowScale = 3;
constexpr int kSheetScale = 6;

void checkerOutside(Image& window) {
    const WindowRegion& region = WindowRegion::skin();
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            if (!region.contains(x, y)) {
                window.set(x, y, ((x / 4 + y / 4) % 2) ? Rgb::hex(0x9090A0) : Rgb::hex(0x6C6C78));
            }
        }
    }
}

}  // namespace

Image PreviewSheet::window(const SkinCatalogue& skin) {
    Image window = skin.windowAtRest();
    checkerOutside(window);
    return window.scaled(kWindowScale);
}

Image PreviewSheet::sheet(const SkinCatalogue& skin) {
    // Each group is shown side by side on one line of the board.
    const std::vector<std::vector<std::string>> lines = {
        {"play.bmp", "play_pressed.bmp", "stop.bmp", "stop_pressed.bmp", "pause.bmp", "pause_pressed.bmp", "record.bmp",
         "record_pressed.bmp"},
        {"up.bmp", "up_pressed.bmp", "down.bmp", "down_pressed.bmp", "info.bmp", "info_pressed.bmp",
         "volume_thumb.bmp"},
        {"minimise.bmp", "minimise_pressed.bmp", "close.bmp", "close_pressed.bmp", "thumb.bmp", "thumb_pressed.bmp"},
        {"anim0.bmp", "anim1.bmp", "anim2.bmp", "anim3.bmp"},
    };
    constexpr int kGap = 3;
    int width = 0;
    int height = kGap;
    for (const auto& line : lines) {
        int lineWidth = kGap;
        int lineHeight = 0;
        for (const std::string& name : line) {
            lineWidth += skin.image(name).width() + kGap;
            lineHeight = std::max(lineHeight, skin.image(name).height());
        }
        width = std::max(width, lineWidth);
        height += lineHeight + kGap;
    }
    Image board(width, height, Rgb::hex(0x808890));
    Painter p(board);
    int y = kGap;
    for (const auto& line : lines) {
        int x = kGap;
        int lineHeight = 0;
        for (const std::string& name : line) {
            const Image& image = skin.image(name);
            p.blit(image, x, y);
            x += image.width() + kGap;
            lineHeight = std::max(lineHeight, image.height());
        }
        y += lineHeight + kGap;
    }
    return board.scaled(kSheetScale);
}
