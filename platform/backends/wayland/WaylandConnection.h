// The program's connection to a Wayland compositor: the globals it offers
// (shell, shared memory, seat, outputs, scaling), and sending to it and
// hearing from it without ever blocking for longer than asked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct wl_output;
struct xdg_wm_base;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zxdg_decoration_manager_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace layer {

class WaylandConnection {
public:
    WaylandConnection() = default;
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    // Connects to the compositor that WAYLAND_DISPLAY names and learns what
    // it offers; false, with the reason, when there is none or it has no
    // xdg-shell (the only way to show a window on a desktop).
    bool open(std::string& whyNot);

    // Whether WAYLAND_DISPLAY names a compositor that offers xdg-shell.
    static bool sessionOffersShell();

    struct Output {
        wl_output* output = nullptr;
        zxdg_output_v1* described = nullptr;
        int scale = 1;
        int modeWidth = 0;  // in the output's own pixels
        int modeHeight = 0;
        int logicalWidth = 0;  // as clients see it, when xdg-output says
        int logicalHeight = 0;
    };
    // The largest whole-number scale of any output, at least 1.
    int largestScale() const;
    // The first output's size as clients see it (its mode over its scale
    // where the compositor does not say); 0 x 0 without an output.
    SIZE logicalSize() const;

    // Sends what is waiting and handles what has come, first waiting up to
    // this long for something to come (0: not at all). False once the
    // compositor has gone (or ended the connection over an error).
    bool pump(int timeoutMs);
    // Sends what is waiting, without reading.
    void flush();
    // Waits until the compositor has handled everything sent so far, and
    // handles its answers; false once it has gone.
    bool roundTrip();
    bool lost() const { return lost_; }

    // WAYLAND_DISPLAY, for messages.
    const std::string& name() const { return name_; }
    // The one line that says the compositor went away.
    void reportLost() const;

    wl_display* display() const { return display_; }
    wl_compositor* compositor() const { return compositor_; }
    wl_shm* shm() const { return shm_; }
    // The seat is bound when first asked for, so that whoever asks hears
    // what it says first (its capabilities).
    wl_seat* bindSeat();
    wl_seat* seat() const { return seat_; }
    xdg_wm_base* shell() const { return shell_; }
    wp_viewporter* viewporter() const { return viewporter_; }
    wp_fractional_scale_manager_v1* fractionalScale() const { return fractionalScale_; }
    zxdg_decoration_manager_v1* decorations() const { return decorations_; }

    // The registry's listener, which binds what the connection uses.
    void announce(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);

private:
    void describeOutput(Output& output);
    void markLost();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    uint32_t seatName_ = 0;
    uint32_t seatVersion_ = 0;
    xdg_wm_base* shell_ = nullptr;
    wp_viewporter* viewporter_ = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale_ = nullptr;
    zxdg_decoration_manager_v1* decorations_ = nullptr;
    zxdg_output_manager_v1* outputManager_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::string name_;
    bool lost_ = false;
};

}  // namespace layer
