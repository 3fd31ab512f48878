// One ARGB8888 picture in memory shared with the compositor (wl_shm). The
// compositor reads it from when it is attached until it says it is done
// (release); until then it must not be written.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace layer {

class WaylandBuffer {
public:
    // Null when the memory cannot be had.
    static std::unique_ptr<WaylandBuffer> create(wl_shm* shm, int width, int height);
    ~WaylandBuffer();
    WaylandBuffer(const WaylandBuffer&) = delete;
    WaylandBuffer& operator=(const WaylandBuffer&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t* row(int y) { return pixels_ + std::size_t(y) * std::size_t(width_); }

    wl_buffer* buffer() const { return buffer_; }
    // Attached and not yet released by the compositor.
    bool busy() const { return busy_; }
    void attached() { busy_ = true; }
    void released();
    // Runs each time the compositor is done with the buffer.
    std::function<void()> whenReleased;

    // Rows [top, bottom) whose pixels are older than the frame's.
    int staleTop = 0;
    int staleBottom = 0x7FFFFFFF;
    void markStale(int top, int bottom);

private:
    WaylandBuffer(wl_buffer* buffer, uint32_t* pixels, std::size_t bytes, int width, int height);

    wl_buffer* buffer_;
    uint32_t* pixels_;
    std::size_t bytes_;
    int width_;
    int height_;
    bool busy_ = false;
};

}  // namespace layer
