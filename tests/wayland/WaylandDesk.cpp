// The Wayland tests' desktop and hands: a surface of one colour under the
// program's window that covers the output and says where the pointer is
// over it (so that the tests see where the window takes the pointer and where
// it lets it through), and a pointer and keys of its own: wlroots' virtual
// pointer and keyboard, or kwin's fake input.
//
// Commands, one a line on standard input, each answered by one line:
//   colour RRGGBB          the desktop's colour                      -> ok
//   move X Y               the pointer to output device pixel (X, Y) -> ok
//   moves X Y X Y ...      several moves sent at once, unpaced       -> ok
//   press | release        the left button                           -> ok
//   key CODE               an evdev key pressed and released         -> ok | unsupported
//   targets X Y X Y ...    for each point, 1 if the pointer there is on the desktop, else 0
//   quit
// Arguments: the output's size as clients see it and its scale
// (device pixels per logical pixel): wayland_desk WIDTH HEIGHT SCALE
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <xkbcommon/xkbcommon.h>

#include "fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

class Desk {
public:
    Desk(int width, int height, int scale)
        : outputWidth_(width), outputHeight_(height), width_(width), height_(height), scale_(scale) {}
    bool connect();
    void serve();

    // Listener entry points.
    void global(wl_registry* registry, uint32_t name, const char* interface);
    void configure(int width, int height);
    void surfaceConfigured(uint32_t serial);
    void pointerEntered(uint32_t serial, wl_surface* surface);
    void pointerLeft() { onDesk_ = false; }
    void capabilities(uint32_t capabilities);

private:
    void paint();
    void moveTo(int x, int y);
    void button(bool down);
    bool key(uint32_t code);
    void createKeyboard();
    std::string targets(std::istringstream& points);

    int outputWidth_;
    int outputHeight_;
    int width_;  // the desk's surface
    int height_;
    int scale_;
    uint32_t colour_ = 0xFF000000;
    wl_display* display_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    xdg_wm_base* shell_ = nullptr;
    zwlr_virtual_pointer_manager_v1* pointerManager_ = nullptr;
    zwlr_virtual_pointer_v1* virtualPointer_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboardManager_ = nullptr;
    zwp_virtual_keyboard_v1* virtualKeyboard_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    wl_buffer* buffer_ = nullptr;
    uint32_t* pixels_ = nullptr;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool configured_ = false;
    bool onDesk_ = false;
    uint32_t time_ = 0;
};

Desk& of(void* data) { return *static_cast<Desk*>(data); }

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    of(data).global(registry, name, interface);
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onPing(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener shellListener{onPing};

void onSurfaceConfigure(void* data, xdg_surface*, uint32_t serial) { of(data).surfaceConfigured(serial); }
const xdg_surface_listener surfaceListener{onSurfaceConfigure};

void onToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    of(data).configure(width, height);
}
void onToplevelClose(void*, xdg_toplevel*) {}
void onToplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void onToplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener{onToplevelConfigure, onToplevelClose, onToplevelBounds,
                                             onToplevelCapabilities};

void onEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t, wl_fixed_t) {
    of(data).pointerEntered(serial, surface);
}
void onLeave(void* data, wl_pointer*, uint32_t, wl_surface*) { of(data).pointerLeft(); }
void onMotion(void*, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {}
void onButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void onFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void onAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
void onCapabilities(void* data, wl_seat*, uint32_t capabilities) { of(data).capabilities(capabilities); }
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener{onCapabilities, onSeatName};

const wl_pointer_listener pointerListener{onEnter, onLeave,      onMotion,   onButton,       onAxis,
                                          onFrame, onAxisSource, onAxisStop, onAxisDiscrete, onAxisValue120};

void Desk::capabilities(uint32_t capabilities) {
    if (pointer_ || !(capabilities & WL_SEAT_CAPABILITY_POINTER)) return;
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &pointerListener, this);
}

void Desk::global(wl_registry* registry, uint32_t name, const char* interface) {
    std::string offered(interface);
    if (offered == wl_compositor_interface.name)
        compositor_ = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (offered == wl_shm_interface.name)
        shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (offered == wl_seat_interface.name && !seat_)
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 5));
    else if (offered == xdg_wm_base_interface.name)
        shell_ = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
    else if (offered == zwlr_virtual_pointer_manager_v1_interface.name)
        pointerManager_ = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (offered == zwp_virtual_keyboard_manager_v1_interface.name)
        keyboardManager_ = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    else if (offered == org_kde_kwin_fake_input_interface.name)
        fakeInput_ = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

bool Desk::connect() {
    display_ = wl_display_connect(nullptr);
    if (!display_) return false;
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &registryListener, this);
    wl_display_roundtrip(display_);
    if (!compositor_ || !shm_ || !shell_ || !seat_ || (!pointerManager_ && !fakeInput_)) {
        std::fprintf(stderr, "wayland_desk: the compositor lacks a global the desk needs\n");
        return false;
    }
    xdg_wm_base_add_listener(shell_, &shellListener, this);
    if (pointerManager_)
        virtualPointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointerManager_, seat_);
    if (pointerManager_ && keyboardManager_)
        createKeyboard();
    else
        org_kde_kwin_fake_input_authenticate(fakeInput_, "brisko tests", "drives the program under test");
    // A seat without a pointer (wlroots with no input devices) hands out only
    // dead pointers: the pointer is taken once the seat has one.
    wl_seat_add_listener(seat_, &seatListener, this);
    surface_ = wl_compositor_create_surface(compositor_);
    xdgSurface_ = xdg_wm_base_get_xdg_surface(shell_, surface_);
    xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    xdg_toplevel_add_listener(toplevel_, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_, "brisko test desk");
    xdg_toplevel_set_app_id(toplevel_, "brisko-test-desk");
    xdg_toplevel_set_maximized(toplevel_);
    wl_surface_commit(surface_);
    while (!configured_)
        if (wl_display_dispatch(display_) < 0) return false;
    wl_display_roundtrip(display_);
    return true;
}

void Desk::configure(int width, int height) {
    if (width > 0 && height > 0) {
        width_ = width;
        height_ = height;
    }
}

void Desk::surfaceConfigured(uint32_t serial) {
    xdg_surface_ack_configure(xdgSurface_, serial);
    configured_ = true;
    paint();
}

// The arrow is hidden over the desk, so that it spoils no screenshot.
void Desk::pointerEntered(uint32_t serial, wl_surface* surface) {
    onDesk_ = surface == surface_;
    wl_pointer_set_cursor(pointer_, serial, nullptr, 0, 0);
}

void Desk::paint() {
    if (bufferWidth_ != width_ || bufferHeight_ != height_) {
        if (buffer_) wl_buffer_destroy(buffer_);
        std::size_t bytes = std::size_t(width_) * std::size_t(height_) * 4;
        int fd = memfd_create("brisko-test-desk", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, off_t(bytes)) != 0) std::exit(1);
        pixels_ = static_cast<uint32_t*>(mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
        wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, int32_t(bytes));
        buffer_ = wl_shm_pool_create_buffer(pool, 0, width_, height_, width_ * 4, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        close(fd);
        bufferWidth_ = width_;
        bufferHeight_ = height_;
    }
    for (std::size_t i = 0; i < std::size_t(width_) * std::size_t(height_); ++i) pixels_[i] = colour_;
    wl_surface_attach(surface_, buffer_, 0, 0);
    wl_surface_damage(surface_, 0, 0, width_, height_);
    wl_surface_commit(surface_);
}

void Desk::moveTo(int x, int y) {
    if (virtualPointer_) {
        // Device pixels over an extent of device pixels: exact at any scale.
        zwlr_virtual_pointer_v1_motion_absolute(virtualPointer_, ++time_, uint32_t(std::max(x, 0)),
                                                uint32_t(std::max(y, 0)), uint32_t(outputWidth_ * scale_),
                                                uint32_t(outputHeight_ * scale_));
        zwlr_virtual_pointer_v1_frame(virtualPointer_);
    } else {
        org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput_, wl_fixed_from_double(double(x) / scale_),
                                                        wl_fixed_from_double(double(y) / scale_));
    }
}

void Desk::button(bool down) {
    uint32_t state = down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED;
    if (virtualPointer_) {
        zwlr_virtual_pointer_v1_button(virtualPointer_, ++time_, BTN_LEFT, state);
        zwlr_virtual_pointer_v1_frame(virtualPointer_);
    } else {
        org_kde_kwin_fake_input_button(fakeInput_, BTN_LEFT, state);
    }
}

// A keyboard with the default layout (xkbcommon's: us), its keymap handed
// over in shared memory as a real keyboard's would be.
void Desk::createKeyboard() {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    if (text) {
        std::size_t size = std::strlen(text) + 1;
        int fd = memfd_create("brisko-test-keymap", MFD_CLOEXEC);
        if (fd >= 0 && write(fd, text, size) == ssize_t(size)) {
            virtualKeyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboardManager_, seat_);
            zwp_virtual_keyboard_v1_keymap(virtualKeyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, uint32_t(size));
        }
        if (fd >= 0) close(fd);
        std::free(text);
    }
    if (keymap) xkb_keymap_unref(keymap);
    if (context) xkb_context_unref(context);
}

bool Desk::key(uint32_t code) {
    if (virtualKeyboard_) {
        zwp_virtual_keyboard_v1_key(virtualKeyboard_, ++time_, code, WL_KEYBOARD_KEY_STATE_PRESSED);
        zwp_virtual_keyboard_v1_key(virtualKeyboard_, ++time_, code, WL_KEYBOARD_KEY_STATE_RELEASED);
        return true;
    }
    if (!fakeInput_) return false;
    org_kde_kwin_fake_input_keyboard_key(fakeInput_, code, WL_KEYBOARD_KEY_STATE_PRESSED);
    org_kde_kwin_fake_input_keyboard_key(fakeInput_, code, WL_KEYBOARD_KEY_STATE_RELEASED);
    return true;
}

// The compositor hands pointer events to the surface under the pointer as
// it handles the motion, so one round trip after each move tells.
std::string Desk::targets(std::istringstream& points) {
    std::string answer;
    int x = 0;
    int y = 0;
    while (points >> x >> y) {
        moveTo(x, y);
        wl_display_roundtrip(display_);
        answer += onDesk_ ? '1' : '0';
    }
    return answer;
}

void Desk::serve() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::string answer = "ok";
        if (command == "colour") {
            std::string hex;
            words >> hex;
            colour_ = 0xFF000000u | uint32_t(std::strtoul(hex.c_str(), nullptr, 16));
            paint();
        } else if (command == "move" || command == "moves") {
            int x = 0;
            int y = 0;
            while (words >> x >> y) moveTo(x, y);
        } else if (command == "press" || command == "release") {
            button(command == "press");
        } else if (command == "key") {
            uint32_t code = 0;
            words >> code;
            if (!key(code)) answer = "unsupported";
        } else if (command == "targets") {
            answer = targets(words);
        } else if (command == "quit") {
            break;
        } else {
            answer = "unknown command " + command;
        }
        if (wl_display_roundtrip(display_) < 0) return;
        std::cout << answer << std::endl;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wayland_desk WIDTH HEIGHT SCALE\n");
        return 2;
    }
    Desk desk(std::atoi(argv[1]), std::atoi(argv[2]), std::max(1, std::atoi(argv[3])));
    if (!desk.connect()) return 1;
    std::cout << "ready" << std::endl;
    desk.serve();
    return 0;
}
