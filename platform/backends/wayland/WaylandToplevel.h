// A window on a Wayland desktop (xdg-shell toplevel) showing the layer's
// 24-bit frames: the pixels outside its outline transparent and passing the
// pointer through, each pixel a scale x scale block of the buffer.
//
// Frames are sent at the compositor's pace: while it has not yet shown the
// last one (its frame callback), a new one only adds to what is waiting, and
// goes when the compositor asks. Only the rows that changed since the last
// one sent are written and damaged; the buffers are kept and reused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "WaylandBuffer.h"

struct wl_surface;
struct wl_callback;
struct wl_seat;
struct xdg_surface;
struct xdg_toplevel;
struct wp_viewport;
struct wp_fractional_scale_v1;
struct zxdg_toplevel_decoration_v1;

namespace layer {

class Bitmap;
class WaylandConnection;

class WaylandToplevel {
public:
    // Creates the window and waits until the compositor has configured it;
    // null, with the reason, when it cannot. onClose runs when the
    // compositor asks the window to close.
    static std::unique_ptr<WaylandToplevel> open(WaylandConnection& connection, const std::string& title, int width,
                                                 int height, int scale, std::function<void()> onClose,
                                                 std::string& whyNot);
    ~WaylandToplevel();
    WaylandToplevel(const WaylandToplevel&) = delete;
    WaylandToplevel& operator=(const WaylandToplevel&) = delete;

    wl_surface* surface() const { return surface_; }

    // The outline, in the window's own pixels (null: the whole rectangle).
    void setOutline(const std::vector<RECT>* rects);
    // A new frame, of which rows [top, bottom) changed. The frame is read
    // when it is sent, so it must stay alive as long as the toplevel.
    void show(const Bitmap& frame, int top, int bottom);
    void minimize();
    // Hands a move that the press with this serial started to the compositor.
    void move(wl_seat* seat, uint32_t pressSerial);

    // What the protocol's listeners report.
    void configured(uint32_t serial);
    void frameDone();
    void closeRequested();
    void preferScale(uint32_t scaleTimes120) { preferredScale120_ = scaleTimes120; }

private:
    WaylandToplevel(WaylandConnection& connection, int width, int height, int scale, std::function<void()> onClose);
    void create(const std::string& title);
    void useScale();
    void sendFrame();
    WaylandBuffer* freeBuffer();
    void writeRows(WaylandBuffer& buffer, int top, int bottom) const;

    WaylandConnection& connection_;
    int width_;
    int height_;
    int scale_;
    std::function<void()> onClose_;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    zxdg_toplevel_decoration_v1* decoration_ = nullptr;
    wp_viewport* viewport_ = nullptr;
    wp_fractional_scale_v1* fractional_ = nullptr;
    uint32_t preferredScale120_ = 0;
    wl_callback* frameCallback_ = nullptr;
    bool configured_ = false;
    std::vector<std::unique_ptr<WaylandBuffer>> buffers_;
    // Per row of the window, the spans [left, right) inside its outline.
    std::vector<std::vector<std::pair<int, int>>> spans_;
    const Bitmap* frame_ = nullptr;
    int damageTop_ = 0;  // rows changed since the last frame sent
    int damageBottom_ = 0;
};

}  // namespace layer
