// Puts a window's pixels on its X window from an image of its own, over a
// connection to the X server of its own.
//
// With the server on this machine the image lies in shared memory (MIT-SHM):
// the server reads the pixels straight from it, and says when it is done
// with them by an event, which is taken only before the image is written
// again, a frame or more later. Nothing waits for the server after a frame.
// Without shared memory (a remote display, or a server without the
// extension) the pixels go over the connection, which needs no such care.
//
// The connection is its own so that the completion events never reach SDL,
// which would have to be pumped for each, and so that SDL's connection sees
// nothing at all of the frames.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "X11Window.h"

struct SDL_Surface;
struct _XDisplay;
struct _XImage;
struct _XGC;

namespace layer {

class X11Presenter {
public:
    // For this X window, width x height device pixels. Null when there is
    // no X window, no second connection to its server, or a pixel layout the
    // frame copy cannot write: SDL's own framebuffer then shows the window.
    static std::unique_ptr<X11Presenter> open(const X11Window& window, int width, int height);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // The image, in the window's own pixel format, once the server has
    // finished reading it, so that it may be written.
    SDL_Surface& imageToWrite();
    // Puts rows [top, bottom) of the image on the window.
    void put(int top, int bottom);

    // Lets go of everything without a word to the display, which has gone:
    // anything said to it could wait for an answer that never comes.
    void abandon();

private:
    X11Presenter(_XDisplay* display, unsigned long window, int width, int height);
    // The window's visual and depth.
    struct Format;
    bool makeImage(const Format& format);
    bool makeSharedImage(const Format& format);
    bool makePlainImage(const Format& format);
    bool wrapImage(const Format& format);
    void waitUntilImageIsFree();

    _XDisplay* display_;
    unsigned long window_;
    int width_;
    int height_;
    _XGC* gc_ = nullptr;
    _XImage* image_ = nullptr;
    SDL_Surface* surface_ = nullptr;
    // The shared memory of the image, if it has any; Xlib keeps a pointer
    // to it in the image.
    struct SharedSegment;
    std::unique_ptr<SharedSegment> shared_;
    // The request that last read the image; the image is free once the
    // server has processed it.
    unsigned long lastPut_ = 0;
    bool abandoned_ = false;
    // The pixels when they go over the connection.
    std::vector<uint8_t> plainPixels_;
};

}  // namespace layer
