#include "WaylandBuffer.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>

namespace layer {

namespace {

void onRelease(void* data, wl_buffer*) { static_cast<WaylandBuffer*>(data)->released(); }
const wl_buffer_listener bufferListener{onRelease};

}  // namespace

std::unique_ptr<WaylandBuffer> WaylandBuffer::create(wl_shm* shm, int width, int height) {
    if (!shm || width <= 0 || height <= 0) return nullptr;
    const int stride = width * 4;
    const std::size_t bytes = std::size_t(stride) * std::size_t(height);
    int fd = memfd_create("brisko-frame", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return nullptr;
    }
    void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    // The pool only hands the memory over; the buffer keeps it.
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(bytes));
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    std::unique_ptr<WaylandBuffer> created(
        new WaylandBuffer(buffer, static_cast<uint32_t*>(mapped), bytes, width, height));
    wl_buffer_add_listener(buffer, &bufferListener, created.get());
    return created;
}

WaylandBuffer::WaylandBuffer(wl_buffer* buffer, uint32_t* pixels, std::size_t bytes, int width, int height)
    : buffer_(buffer), pixels_(pixels), bytes_(bytes), width_(width), height_(height) {}

WaylandBuffer::~WaylandBuffer() {
    wl_buffer_destroy(buffer_);
    munmap(pixels_, bytes_);
}

void WaylandBuffer::released() {
    busy_ = false;
    if (whenReleased) whenReleased();
}

void WaylandBuffer::markStale(int top, int bottom) {
    if (top >= bottom) return;
    if (staleTop >= staleBottom) {
        staleTop = top;
        staleBottom = bottom;
        return;
    }
    staleTop = std::min(staleTop, top);
    staleBottom = std::max(staleBottom, bottom);
}

}  // namespace layer
