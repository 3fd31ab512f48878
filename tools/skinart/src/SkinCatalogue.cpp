#include "SkinCatalogue.h"

#include "BackgroundArt.h"
#include "BmpEncoder.h"
#include "ButtonArt.h"
#include "IcoEncoder.h"
#include "IconArt.h"
#include "Painter.h"
#include "PngEncoder.h"
#include "SkinLayout.h"
#include "StripeAnimation.h"
#include "ThumbArt.h"
#include "WindowRegion.h"

#include <fstream>
#include <stdexcept>

namespace {

using Transport = ButtonArt::Transport;
using Arrow = ButtonArt::Arrow;

std::vector<SkinCatalogue::Bitmap> buildBitmaps() {
    std::vector<SkinCatalogue::Bitmap> list;
    for (int i = 0; i < StripeAnimation::kFrameCount; ++i) {
        list.push_back({135 + i, "anim" + std::to_string(i) + ".bmp", StripeAnimation::frame(i)});
    }
    list.push_back({139, "down.bmp", ButtonArt::arrow(Arrow::Down, false)});
    list.push_back({140, "down_pressed.bmp", ButtonArt::arrow(Arrow::Down, true)});
    list.push_back({141, "close.bmp", ButtonArt::close(false)});
    list.push_back({142, "close_pressed.bmp", ButtonArt::close(true)});
    list.push_back({143, "info.bmp", ButtonArt::info(false)});
    list.push_back({145, "info_pressed.bmp", ButtonArt::info(true)});
    list.push_back({148, "background.bmp", BackgroundArt::paint()});
    list.push_back({149, "minimise.bmp", ButtonArt::minimise(false)});
    list.push_back({150, "minimise_pressed.bmp", ButtonArt::minimise(true)});
    list.push_back({151, "pause.bmp", ButtonArt::transport(Transport::Pause, false)});
    list.push_back({152, "pause_pressed.bmp", ButtonArt::transport(Transport::Pause, true)});
    list.push_back({153, "play.bmp", ButtonArt::transport(Transport::Play, false)});
    list.push_back({154, "play_pressed.bmp", ButtonArt::transport(Transport::Play, true)});
    list.push_back({155, "record.bmp", ButtonArt::transport(Transport::Record, false)});
    list.push_back({156, "record_pressed.bmp", ButtonArt::transport(Transport::Record, true)});
    list.push_back({157, "thumb_pressed.bmp", ThumbArt::scrollThumbPressed()});
    list.push_back({158, "thumb.bmp", ThumbArt::scrollThumb()});
    list.push_back({159, "stop.bmp", ButtonArt::transport(Transport::Stop, false)});
    list.push_back({160, "stop_pressed.bmp", ButtonArt::transport(Transport::Stop, true)});
    list.push_back({161, "up.bmp", ButtonArt::arrow(Arrow::Up, false)});
    list.push_back({162, "up_pressed.bmp", ButtonArt::arrow(Arrow::Up, true)});
    list.push_back({163, "volume_thumb.bmp", ThumbArt::volumeThumb()});
    return list;
}

}  // namespace

SkinCatalogue::SkinCatalogue() : bitmaps_(buildBitmaps()) {}

Image SkinCatalogue::windowAtRest() const {
    using namespace SkinLayout;
    struct Placement {
        const char* fileName;
        int x;
        int y;
    };
    const Placement placements[] = {
        {"info.bmp", kInfo.left, kInfo.top},
        {"close.bmp", kClose.left, kClose.top},
        {"minimise.bmp", kMinimise.left, kMinimise.top},
        {"pause.bmp", kPause.left, kPause.top},
        {"play.bmp", kPlay.left, kPlay.top},
        {"stop.bmp", kStop.left, kStop.top},
        {"record.bmp", kRecord.left, kRecord.top},
        {"down.bmp", kDownArrow.left, kDownArrow.top},
        {"up.bmp", kUpArrow.left, kUpArrow.top},
        {"thumb.bmp", kScrollTrack.left, kScrollTrack.top},
        {"volume_thumb.bmp", kVolumeTrack.left, kVolumeTrack.top},
        {"anim0.bmp", kAnimationBar.left, kAnimationBar.top},
    };
    Image window = image("background.bmp");
    Painter painter(window);
    for (const Placement& place : placements) {
        painter.blit(image(place.fileName), place.x, place.y);
    }
    return window;
}

RgbaImage SkinCatalogue::icon(int size) const {
    // Small icons show the body alone: with the side panel too, the whole
    // window would leave the display only a few pixels high.
    constexpr int kWholeWindowFrom = 64;
    const WindowRegion& region = WindowRegion::skin();
    const Rect bounds = region.bounds();
    const Rect body{bounds.left, bounds.top, SkinLayout::kRedSquare.left - 13, bounds.bottom};
    return IconArt::icon(windowAtRest(), region, size >= kWholeWindowFrom ? bounds : body, size);
}

const Image& SkinCatalogue::image(const std::string& fileName) const {
    for (const Bitmap& b : bitmaps_) {
        if (b.fileName == fileName) {
            return b.image;
        }
    }
    throw std::out_of_range("no bitmap named " + fileName);
}

std::vector<SkinCatalogue::File> SkinCatalogue::files() const {
    std::vector<File> result;
    for (const Bitmap& b : bitmaps_) {
        result.push_back({b.fileName, BmpEncoder::encode(b.image)});
    }
    result.push_back({kRegionFileName, WindowRegion::skin().toRgnData()});
    std::vector<RgbaImage> icoImages;
    for (int size : kIcoSizes) {
        icoImages.push_back(icon(size));
    }
    result.push_back({kIconFileName, IcoEncoder::encode(icoImages)});
    for (int size : kPngIconSizes) {
        result.push_back({"icon-" + std::to_string(size) + ".png", PngEncoder::encode(icon(size))});
    }
    return result;
}

void SkinCatalogue::writeTo(const std::filesystem::path& directory) const {
    std::filesystem::create_directories(directory);
    for (const File& f : files()) {
        const std::filesystem::path path = directory / f.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(f.bytes.data()), static_cast<std::streamsize>(f.bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }
}
