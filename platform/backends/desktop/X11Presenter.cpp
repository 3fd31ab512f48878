#include "X11Presenter.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace layer {

struct X11Presenter::Format {
    Visual* visual;
    int depth;
};

struct X11Presenter::SharedSegment {
    XShmSegmentInfo info{};
};

namespace {

// Shared memory is only shared with a server on this machine: a display
// named ":N" or "unix:N". A server elsewhere could even hold a segment of
// its own under the same id, and show that.
bool onThisMachine(const char* displayName) {
    return displayName && (displayName[0] == ':' || std::strncmp(displayName, "unix:", 5) == 0);
}

// Whether the server refused the segment. Set only while the attach is
// awaited, when nothing else can report an error.
bool attachRefused = false;
int noteAttachRefused(Display*, XErrorEvent*) {
    attachRefused = true;
    return 0;
}

// Pixels that hold their colour's channels under the visual's masks. SDL
// gives a DirectColor window a colormap that maps each channel to itself.
bool holdsColours(const Visual& visual) { return visual.c_class == TrueColor || visual.c_class == DirectColor; }

// The image's pixels are read through SDL's masks, which describe a pixel
// as a number in this machine's byte order.
int hostByteOrder() { return std::endian::native == std::endian::little ? LSBFirst : MSBFirst; }

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::open(const X11Window& window, int width, int height) {
    if (!window.valid() || width <= 0 || height <= 0) return nullptr;
    Display* display = XOpenDisplay(window.connection().name());
    if (!display) return nullptr;
    std::unique_ptr<X11Presenter> presenter(new X11Presenter(display, window.id(), width, height));
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window.id(), &attributes) || !holdsColours(*attributes.visual)) return nullptr;
    if (!presenter->makeImage(Format{attributes.visual, attributes.depth})) return nullptr;
    presenter->gc_ = XCreateGC(display, window.id(), 0, nullptr);
    return presenter;
}

X11Presenter::X11Presenter(Display* display, unsigned long window, int width, int height)
    : display_(display), window_(window), width_(width), height_(height) {}

// Closing the connection waits for the server to finish every request on
// it, the detach included, so the segment may go from here afterwards.
X11Presenter::~X11Presenter() {
    if (surface_) SDL_FreeSurface(surface_);
    if (!abandoned_) {
        if (shared_ && image_) XShmDetach(display_, &shared_->info);
        if (gc_) XFreeGC(display_, gc_);
        XCloseDisplay(display_);
    } else if (gc_) {
        // Frees the client's side of the GC; its request only joins Xlib's
        // output buffer, which is never sent.
        XFreeGC(display_, gc_);
    }
    if (image_) {
        image_->data = nullptr;  // the segment's or plainPixels_: not Xlib's to free
        XDestroyImage(image_);
    }
    if (shared_ && shared_->info.shmaddr) shmdt(shared_->info.shmaddr);
}

void X11Presenter::abandon() { abandoned_ = true; }

bool X11Presenter::makeImage(const Format& format) {
    bool shared = onThisMachine(DisplayString(display_)) && XShmQueryExtension(display_) && makeSharedImage(format);
    return (shared || makePlainImage(format)) && wrapImage(format);
}

bool X11Presenter::makeSharedImage(const Format& format) {
    auto shared = std::make_unique<SharedSegment>();
    XShmSegmentInfo& info = shared->info;
    XImage* image = XShmCreateImage(display_, format.visual, unsigned(format.depth), ZPixmap, nullptr, &info,
                                    unsigned(width_), unsigned(height_));
    if (!image) return false;
    info.shmid = shmget(IPC_PRIVATE, std::size_t(image->bytes_per_line) * std::size_t(height_), IPC_CREAT | 0600);
    void* mapped = info.shmid < 0 ? nullptr : shmat(info.shmid, nullptr, 0);
    if (mapped == reinterpret_cast<void*>(-1)) mapped = nullptr;
    if (mapped) {
        info.shmaddr = image->data = static_cast<char*>(mapped);
        info.readOnly = True;  // the server only ever reads it
        attachRefused = false;
        XErrorHandler previous = XSetErrorHandler(noteAttachRefused);
        Status attached = XShmAttach(display_, &info);
        XSync(display_, False);
        XSetErrorHandler(previous);
        if (!attached) attachRefused = true;
    }
    // Marked for removal at once, the segment goes when both sides have let
    // go of it, however the program ends.
    if (info.shmid >= 0) shmctl(info.shmid, IPC_RMID, nullptr);
    if (!mapped || attachRefused) {
        if (mapped) shmdt(mapped);
        image->data = nullptr;
        XDestroyImage(image);
        return false;
    }
    image_ = image;
    shared_ = std::move(shared);
    return true;
}

bool X11Presenter::makePlainImage(const Format& format) {
    XImage* image = XCreateImage(display_, format.visual, unsigned(format.depth), ZPixmap, 0, nullptr, unsigned(width_),
                                 unsigned(height_), 32, 0);
    if (!image) return false;
    plainPixels_.assign(std::size_t(image->bytes_per_line) * std::size_t(height_), 0);
    image->data = reinterpret_cast<char*>(plainPixels_.data());
    image_ = image;
    return true;
}

// SDL names no format with 10-bit channels and no alpha, a deep-colour
// screen's: the one with two bits of alpha above them describes the same
// pixels (the server ignores the bits above the depth).
bool X11Presenter::wrapImage(const Format& format) {
    if (image_->bits_per_pixel > 8 && image_->byte_order != hostByteOrder()) return false;
    auto red = Uint32(format.visual->red_mask);
    auto green = Uint32(format.visual->green_mask);
    auto blue = Uint32(format.visual->blue_mask);
    // A visual as deep as its pixels holds alpha in what its colours leave:
    // opaque, so that a compositor shows the window.
    Uint32 alpha = format.depth == 32 && image_->bits_per_pixel == 32 ? ~(red | green | blue) : 0;
    Uint32 known = SDL_MasksToPixelFormatEnum(image_->bits_per_pixel, red, green, blue, alpha);
    if (known == SDL_PIXELFORMAT_UNKNOWN && image_->bits_per_pixel == 32 && red == 0x3FF00000 && green == 0x000FFC00 &&
        blue == 0x000003FF)
        known = SDL_PIXELFORMAT_ARGB2101010;
    if (known == SDL_PIXELFORMAT_UNKNOWN) return false;
    surface_ = SDL_CreateRGBSurfaceWithFormatFrom(image_->data, width_, height_, image_->bits_per_pixel,
                                                  image_->bytes_per_line, known);
    return surface_ != nullptr;
}

SDL_Surface& X11Presenter::imageToWrite() {
    waitUntilImageIsFree();
    return *surface_;
}

// The server reports having read the image by an event sent as it
// processes the put, which also tells Xlib how far the server has got. By
// the next frame it is almost always here already, and taking it is a
// single read; otherwise a round trip waits for the server to catch up
// (which a put that failed, and so sent no event, also needs).
void X11Presenter::waitUntilImageIsFree() {
    if (!shared_ || LastKnownRequestProcessed(display_) >= lastPut_) return;
    XEvent event;
    XEventsQueued(display_, QueuedAfterReading);
    while (XEventsQueued(display_, QueuedAlready) > 0) XNextEvent(display_, &event);
    if (LastKnownRequestProcessed(display_) < lastPut_) XSync(display_, True);
}

void X11Presenter::put(int top, int bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    if (top >= bottom) return;
    unsigned rows = unsigned(bottom - top);
    if (shared_) {
        lastPut_ = NextRequest(display_);
        XShmPutImage(display_, window_, gc_, image_, 0, top, 0, top, unsigned(width_), rows, True);
    } else {
        XPutImage(display_, window_, gc_, image_, 0, top, 0, top, unsigned(width_), rows);
    }
    XFlush(display_);
}

}  // namespace layer
