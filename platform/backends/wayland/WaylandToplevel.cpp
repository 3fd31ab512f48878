#include "WaylandToplevel.h"

#include <wayland-client.h>

#include <algorithm>
#include <chrono>

#include "Bitmap.h"
#include "WaylandConnection.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace layer {

namespace {

// A compositor holds at most one buffer for showing and perhaps one more
// being read; a third is there for the frame written meanwhile.
constexpr std::size_t mostBuffers = 3;
constexpr auto configureTimeout = std::chrono::seconds(5);
constexpr int configurePollMs = 100;

WaylandToplevel& of(void* data) { return *static_cast<WaylandToplevel*>(data); }

void onSurfaceConfigure(void* data, xdg_surface*, uint32_t serial) { of(data).configured(serial); }
const xdg_surface_listener surfaceListener{onSurfaceConfigure};

// The window keeps its size whatever the compositor suggests.
void onToplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {}
void onToplevelClose(void* data, xdg_toplevel*) { of(data).closeRequested(); }
void onToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void onToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener{onToplevelConfigure, onToplevelClose, onToplevelBounds,
                                             onToplevelCapabilities};

void onFrameDone(void* data, wl_callback*, uint32_t) { of(data).frameDone(); }
const wl_callback_listener frameListener{onFrameDone};

void onPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale) { of(data).preferScale(scale); }
const wp_fractional_scale_v1_listener fractionalListener{onPreferredScale};

// Whatever mode the compositor settles on, nothing is drawn around the skin.
void onDecorationMode(void*, zxdg_toplevel_decoration_v1*, uint32_t) {}
const zxdg_toplevel_decoration_v1_listener decorationListener{onDecorationMode};

constexpr uint32_t argb(const uint8_t* bgr) {
    return 0xFF000000u | uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | uint32_t(bgr[0]);
}

}  // namespace

std::unique_ptr<WaylandToplevel> WaylandToplevel::open(WaylandConnection& connection, const std::string& title,
                                                       int width, int height, int scale, std::function<void()> onClose,
                                                       std::string& whyNot) {
    std::unique_ptr<WaylandToplevel> toplevel(
        new WaylandToplevel(connection, width, height, scale, std::move(onClose)));
    toplevel->create(title);
    auto deadline = std::chrono::steady_clock::now() + configureTimeout;
    while (!toplevel->configured_ && std::chrono::steady_clock::now() < deadline)
        if (!connection.pump(configurePollMs)) break;
    if (!toplevel->configured_) {
        whyNot = connection.lost() ? "the Wayland compositor closed the connection"
                                   : "the Wayland compositor did not configure the window";
        return nullptr;
    }
    return toplevel;
}

WaylandToplevel::WaylandToplevel(WaylandConnection& connection, int width, int height, int scale,
                                 std::function<void()> onClose)
    : connection_(connection), width_(width), height_(height), scale_(scale), onClose_(std::move(onClose)) {
    setOutline(nullptr);
}

void WaylandToplevel::create(const std::string& title) {
    surface_ = wl_compositor_create_surface(connection_.compositor());
    xdgSurface_ = xdg_wm_base_get_xdg_surface(connection_.shell(), surface_);
    xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_, title.c_str());
    xdg_toplevel_set_app_id(toplevel_, "brisko");
    // A fixed size: tiling compositors float such a window.
    xdg_toplevel_set_min_size(toplevel_, width_, height_);
    xdg_toplevel_set_max_size(toplevel_, width_, height_);
    // Asking for client-side decorations keeps the compositor from drawing
    // its own (sway's title bar, for one); the skin is all there is.
    if (connection_.decorations()) {
        decoration_ = zxdg_decoration_manager_v1_get_toplevel_decoration(connection_.decorations(), toplevel_);
        zxdg_toplevel_decoration_v1_add_listener(decoration_, &decorationListener, this);
        zxdg_toplevel_decoration_v1_set_mode(decoration_, ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE);
    }
    useScale();
    wl_surface_commit(surface_);
    connection_.flush();
}

// With fractional scaling the buffer is drawn at the next whole scale and the
// viewport gives the window its size, so the compositor only ever shrinks
// whole blocks; otherwise the buffer scale says how large the blocks are.
void WaylandToplevel::useScale() {
    if (connection_.viewporter() && connection_.fractionalScale()) {
        fractional_ = wp_fractional_scale_manager_v1_get_fractional_scale(connection_.fractionalScale(), surface_);
        wp_fractional_scale_v1_add_listener(fractional_, &fractionalListener, this);
        viewport_ = wp_viewporter_get_viewport(connection_.viewporter(), surface_);
        wp_viewport_set_destination(viewport_, width_, height_);
        return;
    }
    if (scale_ > 1 && wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface_)) >= 3)
        wl_surface_set_buffer_scale(surface_, scale_);
}

WaylandToplevel::~WaylandToplevel() {
    if (frameCallback_) wl_callback_destroy(frameCallback_);
    if (fractional_) wp_fractional_scale_v1_destroy(fractional_);
    if (viewport_) wp_viewport_destroy(viewport_);
    if (decoration_) zxdg_toplevel_decoration_v1_destroy(decoration_);
    if (toplevel_) xdg_toplevel_destroy(toplevel_);
    if (xdgSurface_) xdg_surface_destroy(xdgSurface_);
    if (surface_) wl_surface_destroy(surface_);
    buffers_.clear();
    connection_.flush();
}

void WaylandToplevel::setOutline(const std::vector<RECT>* rects) {
    spans_.assign(std::size_t(height_), {});
    if (!rects) {
        for (auto& row : spans_) row.emplace_back(0, width_);
    } else {
        for (const RECT& r : *rects)
            for (int y = std::max<int>(0, r.top); y < std::min<int>(height_, r.bottom); ++y)
                if (std::max<int>(0, r.left) < std::min<int>(width_, r.right))
                    spans_[std::size_t(y)].emplace_back(std::max<int>(0, r.left), std::min<int>(width_, r.right));
    }
    if (surface_) {
        // The pointer passes through wherever the window shows nothing.
        wl_region* inside = wl_compositor_create_region(connection_.compositor());
        for (int y = 0; y < height_; ++y)
            for (auto [left, right] : spans_[std::size_t(y)]) wl_region_add(inside, left, y, right - left, 1);
        wl_surface_set_input_region(surface_, inside);
        wl_surface_set_opaque_region(surface_, inside);
        wl_region_destroy(inside);
    }
    for (auto& buffer : buffers_) buffer->markStale(0, height_);
    damageTop_ = 0;
    damageBottom_ = height_;
    if (frame_) sendFrame();
}

void WaylandToplevel::show(const Bitmap& frame, int top, int bottom) {
    top = std::max(0, top);
    bottom = std::min(height_, bottom);
    if (frame_ != &frame) {
        frame_ = &frame;
        top = 0;
        bottom = height_;
    }
    if (top >= bottom) return;
    for (auto& buffer : buffers_) buffer->markStale(top, bottom);
    damageTop_ = damageTop_ < damageBottom_ ? std::min(damageTop_, top) : top;
    damageBottom_ = std::max(damageBottom_, bottom);
    sendFrame();
}

void WaylandToplevel::configured(uint32_t serial) {
    xdg_surface_ack_configure(xdgSurface_, serial);
    bool first = !configured_;
    configured_ = true;
    // The first configure wants a buffer in reply before the window shows.
    if (first && frame_) {
        damageTop_ = 0;
        damageBottom_ = height_;
    }
    sendFrame();
}

void WaylandToplevel::frameDone() {
    if (frameCallback_) wl_callback_destroy(frameCallback_);
    frameCallback_ = nullptr;
    sendFrame();
}

void WaylandToplevel::closeRequested() {
    if (onClose_) onClose_();
}

WaylandBuffer* WaylandToplevel::freeBuffer() {
    for (auto& buffer : buffers_)
        if (!buffer->busy()) return buffer.get();
    if (buffers_.size() >= mostBuffers) return nullptr;
    auto created = WaylandBuffer::create(connection_.shm(), width_ * scale_, height_ * scale_);
    if (!created) return nullptr;
    created->whenReleased = [this] { sendFrame(); };
    buffers_.push_back(std::move(created));
    return buffers_.back().get();
}

// Sends what is waiting, when the compositor is ready for it and a buffer
// is free; otherwise the frame callback or the buffer's release comes back
// here.
void WaylandToplevel::sendFrame() {
    if (!configured_ || !frame_ || frameCallback_ || damageTop_ >= damageBottom_ || connection_.lost()) return;
    WaylandBuffer* buffer = freeBuffer();
    if (!buffer) return;
    writeRows(*buffer, buffer->staleTop, std::min(buffer->staleBottom, height_));
    buffer->staleTop = buffer->staleBottom = 0;
    wl_surface_attach(surface_, buffer->buffer(), 0, 0);
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface_)) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION)
        wl_surface_damage_buffer(surface_, 0, damageTop_ * scale_, width_ * scale_,
                                 (damageBottom_ - damageTop_) * scale_);
    else
        wl_surface_damage(surface_, 0, damageTop_, width_, damageBottom_ - damageTop_);
    frameCallback_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frameCallback_, &frameListener, this);
    wl_surface_commit(surface_);
    buffer->attached();
    damageTop_ = damageBottom_ = 0;
    connection_.flush();
}

// Each pixel of the frame inside the outline becomes an opaque scale x scale
// block; everything else is transparent (premultiplied: all zero).
void WaylandToplevel::writeRows(WaylandBuffer& buffer, int top, int bottom) const {
    const Bitmap& frame = *frame_;
    const int across = std::min(width_, frame.width());
    for (int y = std::max(0, top); y < bottom && y < frame.height(); ++y) {
        uint32_t* out = buffer.row(y * scale_);
        std::fill(out, out + buffer.width(), 0u);
        const uint8_t* in = frame.row(y);
        for (auto [left, right] : spans_[std::size_t(y)])
            for (int x = left; x < std::min(right, across); ++x)
                std::fill_n(out + x * scale_, scale_, argb(in + 3 * x));
        for (int copy = 1; copy < scale_; ++copy) std::copy_n(out, buffer.width(), buffer.row(y * scale_ + copy));
    }
}

void WaylandToplevel::minimize() {
    xdg_toplevel_set_minimized(toplevel_);
    connection_.flush();
}

void WaylandToplevel::move(wl_seat* seat, uint32_t pressSerial) {
    xdg_toplevel_move(toplevel_, seat, pressSerial);
    connection_.flush();
}

}  // namespace layer
