#include "WaylandConnection.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace layer {

namespace {

// Versions the backend is written for; a compositor offering less gives less.
constexpr uint32_t compositorVersion = 4;  // damage_buffer
constexpr uint32_t seatVersion = 5;
constexpr uint32_t outputVersion = 2;  // scale, done
constexpr uint32_t shellVersion = 2;
constexpr uint32_t outputManagerVersion = 2;

template <class Proxy>
Proxy* bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t wanted) {
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    static_cast<WaylandConnection*>(data)->announce(registry, name, interface, version);
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onPing(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener shellListener{onPing};

using Output = WaylandConnection::Output;

void onGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void onMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    auto& output = *static_cast<Output*>(data);
    output.modeWidth = width;
    output.modeHeight = height;
}
void onOutputDone(void*, wl_output*) {}
void onScale(void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->scale = std::max(1, factor); }
void onOutputName(void*, wl_output*, const char*) {}
void onOutputDescription(void*, wl_output*, const char*) {}
const wl_output_listener outputListener{onGeometry, onMode, onOutputDone, onScale, onOutputName, onOutputDescription};

void onLogicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void onLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    auto& output = *static_cast<Output*>(data);
    output.logicalWidth = width;
    output.logicalHeight = height;
}
void onDescribedDone(void*, zxdg_output_v1*) {}
void onName(void*, zxdg_output_v1*, const char*) {}
void onDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener describedListener{onLogicalPosition, onLogicalSize, onDescribedDone, onName,
                                                onDescription};

std::atomic<bool> lossReported{false};

}  // namespace

WaylandConnection::~WaylandConnection() {
    if (!display_) return;
    for (auto& output : outputs_) {
        if (output->described) zxdg_output_v1_destroy(output->described);
        wl_output_destroy(output->output);
    }
    if (outputManager_) zxdg_output_manager_v1_destroy(outputManager_);
    if (decorations_) zxdg_decoration_manager_v1_destroy(decorations_);
    if (fractionalScale_) wp_fractional_scale_manager_v1_destroy(fractionalScale_);
    if (viewporter_) wp_viewporter_destroy(viewporter_);
    if (shell_) xdg_wm_base_destroy(shell_);
    if (seat_) wl_seat_destroy(seat_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (registry_) wl_registry_destroy(registry_);
    if (!lost_) wl_display_flush(display_);
    wl_display_disconnect(display_);
}

bool WaylandConnection::sessionOffersShell() {
    const char* session = std::getenv("WAYLAND_DISPLAY");
    if (!session || !*session) return false;
    WaylandConnection probe;
    std::string whyNot;
    return probe.open(whyNot);
}

bool WaylandConnection::open(std::string& whyNot) {
    const char* session = std::getenv("WAYLAND_DISPLAY");
    name_ = session && *session ? session : "wayland-0";
    display_ = wl_display_connect(nullptr);
    if (!display_) {
        whyNot = "no Wayland compositor at " + name_;
        return false;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    // The globals, then what the outputs say of themselves.
    if (!roundTrip() || !roundTrip()) {
        whyNot = "the Wayland compositor at " + name_ + " closed the connection";
        return false;
    }
    if (!compositor_ || !shm_ || !shell_) {
        whyNot = "the Wayland compositor at " + name_ + " offers no xdg-shell";
        return false;
    }
    return true;
}

void WaylandConnection::announce(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    std::string_view offered(interface);
    if (offered == wl_compositor_interface.name && !compositor_) {
        compositor_ = bind<wl_compositor>(registry, name, wl_compositor_interface, version, compositorVersion);
    } else if (offered == wl_shm_interface.name && !shm_) {
        shm_ = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (offered == wl_seat_interface.name && seatName_ == 0) {
        seatName_ = name;
        seatVersion_ = version;
    } else if (offered == xdg_wm_base_interface.name && !shell_) {
        shell_ = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, shellVersion);
        xdg_wm_base_add_listener(shell_, &shellListener, nullptr);
    } else if (offered == wp_viewporter_interface.name && !viewporter_) {
        viewporter_ = bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
    } else if (offered == wp_fractional_scale_manager_v1_interface.name && !fractionalScale_) {
        fractionalScale_ =
            bind<wp_fractional_scale_manager_v1>(registry, name, wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (offered == zxdg_decoration_manager_v1_interface.name && !decorations_) {
        decorations_ =
            bind<zxdg_decoration_manager_v1>(registry, name, zxdg_decoration_manager_v1_interface, version, 1);
    } else if (offered == zxdg_output_manager_v1_interface.name && !outputManager_) {
        outputManager_ = bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version,
                                                      outputManagerVersion);
        for (auto& output : outputs_) describeOutput(*output);
    } else if (offered == wl_output_interface.name) {
        auto output = std::make_unique<Output>();
        output->output = bind<wl_output>(registry, name, wl_output_interface, version, outputVersion);
        wl_output_add_listener(output->output, &outputListener, output.get());
        describeOutput(*output);
        outputs_.push_back(std::move(output));
    }
}

wl_seat* WaylandConnection::bindSeat() {
    if (!seat_ && seatName_ != 0)
        seat_ = bind<wl_seat>(registry_, seatName_, wl_seat_interface, seatVersion_, seatVersion);
    return seat_;
}

void WaylandConnection::describeOutput(Output& output) {
    if (!outputManager_ || output.described) return;
    output.described = zxdg_output_manager_v1_get_xdg_output(outputManager_, output.output);
    zxdg_output_v1_add_listener(output.described, &describedListener, &output);
}

int WaylandConnection::largestScale() const {
    int largest = 1;
    for (const auto& output : outputs_) largest = std::max(largest, output->scale);
    return largest;
}

SIZE WaylandConnection::logicalSize() const {
    if (outputs_.empty()) return SIZE{0, 0};
    const Output& output = *outputs_.front();
    if (output.logicalWidth > 0 && output.logicalHeight > 0) return SIZE{output.logicalWidth, output.logicalHeight};
    return SIZE{output.modeWidth / output.scale, output.modeHeight / output.scale};
}

void WaylandConnection::markLost() { lost_ = true; }

void WaylandConnection::flush() {
    if (lost_) return;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) markLost();
}

// libwayland's own reading: prepare, poll the socket ourselves (so that the
// wait has a limit), read, then dispatch what was queued.
bool WaylandConnection::pump(int timeoutMs) {
    if (lost_) return false;
    while (wl_display_prepare_read(display_) != 0)
        if (wl_display_dispatch_pending(display_) < 0) {
            markLost();
            return false;
        }
    flush();
    pollfd socket{wl_display_get_fd(display_), POLLIN, 0};
    int ready = 0;
    do {
        ready = poll(&socket, 1, lost_ ? 0 : timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready > 0 && (socket.revents & POLLIN)) {
        if (wl_display_read_events(display_) < 0) markLost();
    } else {
        wl_display_cancel_read(display_);
        if (ready > 0 && (socket.revents & (POLLHUP | POLLERR))) markLost();
    }
    if (!lost_ && wl_display_dispatch_pending(display_) < 0) markLost();
    if (!lost_ && wl_display_get_error(display_) != 0) markLost();
    return !lost_;
}

bool WaylandConnection::roundTrip() {
    if (lost_) return false;
    if (wl_display_roundtrip(display_) < 0) markLost();
    return !lost_;
}

void WaylandConnection::reportLost() const {
    if (lossReported.exchange(true)) return;
    int error = wl_display_get_error(display_);
    const char* why = error == 0 || error == EPIPE || error == ECONNRESET ? "the compositor closed the connection"
                                                                          : std::strerror(error);
    char line[256];
    int length = std::snprintf(line, sizeof line, "brisko: lost its display %s (%s)\n", name_.c_str(), why);
    if (length > 0) {
        ssize_t written = write(STDERR_FILENO, line, std::min<std::size_t>(std::size_t(length), sizeof line - 1));
        (void)written;
    }
}

}  // namespace layer
