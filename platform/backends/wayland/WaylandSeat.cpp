#include "WaylandSeat.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

#include "WaylandConnection.h"

namespace layer {

namespace {

constexpr int defaultCursorSize = 24;

WaylandSeat& of(void* data) { return *static_cast<WaylandSeat*>(data); }

void onCapabilities(void* data, wl_seat*, uint32_t capabilities) { of(data).capabilities(capabilities); }
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener{onCapabilities, onSeatName};

void onEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    of(data).entered(serial, surface, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void onLeave(void* data, wl_pointer*, uint32_t, wl_surface* surface) { of(data).left(surface); }
void onMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    of(data).moved(wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void onButton(void* data, wl_pointer*, uint32_t serial, uint32_t, uint32_t button, uint32_t state) {
    of(data).button(serial, button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}
void onAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void onFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void onAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener pointerListener{onEnter, onLeave,      onMotion,   onButton,       onAxis,
                                          onFrame, onAxisSource, onAxisStop, onAxisDiscrete, onAxisValue120};

void onKeymap(void* data, wl_keyboard*, uint32_t format, int fd, uint32_t size) { of(data).keymap(format, fd, size); }
void onKeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    of(data).keyboardEntered(surface);
}
void onKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface) { of(data).keyboardLeft(surface); }
void onKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    of(data).key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
}
void onModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                 uint32_t group) {
    of(data).modifiersChanged(depressed, latched, locked, group);
}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener keyboardListener{onKeymap, onKeyboardEnter, onKeyboardLeave,
                                            onKey,    onModifiers,     onRepeatInfo};

int cursorSize() {
    const char* size = std::getenv("XCURSOR_SIZE");
    int parsed = size ? std::atoi(size) : 0;
    return parsed > 0 ? parsed : defaultCursorSize;
}

}  // namespace

WaylandSeat::WaylandSeat(WaylandConnection& connection, Listener& listener, int scale)
    : connection_(connection), listener_(listener), scale_(scale), xkb_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    if (wl_seat* seat = connection_.bindSeat()) wl_seat_add_listener(seat, &seatListener, this);
    // libwayland-cursor falls back on cursors of its own when no theme is installed.
    cursorTheme_ = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), cursorSize() * scale_, connection_.shm());
    cursorSurface_ = wl_compositor_create_surface(connection_.compositor());
}

WaylandSeat::~WaylandSeat() {
    if (keyboardState_) xkb_state_unref(keyboardState_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (xkb_) xkb_context_unref(xkb_);
    if (pointer_) wl_pointer_destroy(pointer_);
    if (keyboard_) wl_keyboard_destroy(keyboard_);
    if (cursorSurface_) wl_surface_destroy(cursorSurface_);
    if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
}

wl_seat* WaylandSeat::seat() const { return connection_.seat(); }

void WaylandSeat::capabilities(uint32_t capabilities) {
    bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (hasPointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat());
        wl_pointer_add_listener(pointer_, &pointerListener, this);
    } else if (!hasPointer && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        pointerFocus_ = nullptr;
    }
    if (hasKeyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat());
        wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
    } else if (!hasKeyboard && keyboard_) {
        wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
        keyboardFocus_ = nullptr;
    }
}

void WaylandSeat::entered(uint32_t serial, wl_surface* surface, double x, double y) {
    pointerFocus_ = surface;
    pointerX_ = x;
    pointerY_ = y;
    showCursor(serial);
    listener_.pointerEntered(surface, x, y);
}

void WaylandSeat::left(wl_surface* surface) {
    if (pointerFocus_ == surface) pointerFocus_ = nullptr;
}

void WaylandSeat::moved(double x, double y) {
    pointerX_ = x;
    pointerY_ = y;
    if (pointerFocus_) listener_.pointerMoved(pointerFocus_, x, y);
}

void WaylandSeat::button(uint32_t serial, uint32_t button, bool down) {
    if (button != BTN_LEFT || !pointerFocus_) return;
    if (down) pressSerial_ = serial;
    listener_.leftButton(pointerFocus_, down, pointerX_, pointerY_);
}

// The arrow, its hot spot in the surface's coordinates.
void WaylandSeat::showCursor(uint32_t serial) {
    if (!pointer_ || !cursorTheme_ || !cursorSurface_) return;
    wl_cursor* cursor = wl_cursor_theme_get_cursor(cursorTheme_, "left_ptr");
    if (!cursor) cursor = wl_cursor_theme_get_cursor(cursorTheme_, "default");
    if (!cursor || cursor->image_count == 0) return;
    wl_cursor_image* image = cursor->images[0];
    // An image that is not a whole number of blocks is shown unscaled.
    int imageScale = image->width % unsigned(scale_) == 0 && image->height % unsigned(scale_) == 0 ? scale_ : 1;
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (!buffer) return;
    wl_pointer_set_cursor(pointer_, serial, cursorSurface_, int32_t(image->hotspot_x) / imageScale,
                          int32_t(image->hotspot_y) / imageScale);
    if (imageScale > 1) wl_surface_set_buffer_scale(cursorSurface_, imageScale);
    wl_surface_attach(cursorSurface_, buffer, 0, 0);
    wl_surface_damage(cursorSurface_, 0, 0, int32_t(image->width), int32_t(image->height));
    wl_surface_commit(cursorSurface_);
}

void WaylandSeat::keymap(uint32_t format, int fd, uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap = xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) return;
    if (keyboardState_) xkb_state_unref(keyboardState_);
    if (keymap_) xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keyboardState_ = xkb_state_new(keymap_);
}

void WaylandSeat::keyboardLeft(wl_surface* surface) {
    if (keyboardFocus_ == surface) keyboardFocus_ = nullptr;
}

void WaylandSeat::key(uint32_t key, bool down) {
    if (!down || !keyboardState_ || !keyboardFocus_) return;
    // Wayland's key codes are evdev's; xkb's are 8 more, as on X11.
    xkb_keysym_t symbol = xkb_state_key_get_one_sym(keyboardState_, key + 8);
    listener_.keyPressed(keyboardFocus_, symbol);
}

void WaylandSeat::modifiersChanged(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
    if (keyboardState_) xkb_state_update_mask(keyboardState_, depressed, latched, locked, 0, 0, group);
}

WPARAM WaylandSeat::modifiers() const {
    if (!keyboardState_) return 0;
    WPARAM held = 0;
    if (xkb_state_mod_name_is_active(keyboardState_, XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0)
        held |= MK_SHIFT;
    if (xkb_state_mod_name_is_active(keyboardState_, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0)
        held |= MK_CONTROL;
    return held;
}

}  // namespace layer
