// The seat's pointer and keyboard: what they do over the program's surfaces,
// reported to a listener in the surfaces' own coordinates; the pointer's
// image (libwayland-cursor) and the keyboard's keymap (xkbcommon).
#pragma once

#include <windows.h>

#include <cstdint>

struct wl_pointer;
struct wl_keyboard;
struct wl_surface;
struct wl_seat;
struct wl_cursor_theme;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace layer {

class WaylandConnection;

class WaylandSeat {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // Positions are in the surface's coordinates (the program's pixels),
        // fractions kept.
        virtual void pointerEntered(wl_surface* surface, double x, double y) = 0;
        virtual void pointerMoved(wl_surface* surface, double x, double y) = 0;
        // The left button only.
        virtual void leftButton(wl_surface* surface, bool down, double x, double y) = 0;
        // A key pressed while the surface has the keyboard, as an xkb keysym.
        virtual void keyPressed(wl_surface* surface, uint32_t keysym) = 0;
    };

    WaylandSeat(WaylandConnection& connection, Listener& listener, int scale);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    wl_seat* seat() const;
    // The serial of the last left press, which a move must name.
    uint32_t lastPressSerial() const { return pressSerial_; }
    // MK_SHIFT and MK_CONTROL as held now.
    WPARAM modifiers() const;

    // What the protocol's listeners report.
    void capabilities(uint32_t capabilities);
    void entered(uint32_t serial, wl_surface* surface, double x, double y);
    void left(wl_surface* surface);
    void moved(double x, double y);
    void button(uint32_t serial, uint32_t button, bool down);
    void keymap(uint32_t format, int fd, uint32_t size);
    void keyboardEntered(wl_surface* surface) { keyboardFocus_ = surface; }
    void keyboardLeft(wl_surface* surface);
    void key(uint32_t key, bool down);
    void modifiersChanged(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);

private:
    void showCursor(uint32_t serial);

    WaylandConnection& connection_;
    Listener& listener_;
    int scale_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    wl_surface* pointerFocus_ = nullptr;
    wl_surface* keyboardFocus_ = nullptr;
    double pointerX_ = 0;
    double pointerY_ = 0;
    uint32_t pressSerial_ = 0;
    wl_cursor_theme* cursorTheme_ = nullptr;
    wl_surface* cursorSurface_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* keyboardState_ = nullptr;
};

}  // namespace layer
