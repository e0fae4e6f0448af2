#pragma once
// One picture the compositor reads straight from the saver's memory: a
// wl_shm buffer in a memory file both sides map. Pairs with the image
// X11FramePresenter shares with the X server (MIT-SHM); OutputSurface
// writes into these.
// Implements: 32-bit pixels in the byte order of the frame's X8R8G8B8
// (wl_shm's XRGB8888, which every compositor accepts), black when made,
// and whether the compositor still reads it.
// Leaves out: any other pixel format, and resizing (a new size is a new
// buffer).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "raster/frame_target.h"

struct wl_buffer;
struct wl_shm;

class ShmBuffer {
public:
    // Null when the memory or the buffer cannot be made.
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, int32_t width, int32_t height);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    uint8_t* row(int32_t y) const { return pixels_ + static_cast<ptrdiff_t>(y) * pitch_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // The buffer's pixels as a frame to draw in.
    FrameTarget frame() const { return FrameTarget{pixels_, pitch_, width_, height_, kFormatX8R8G8B8}; }

    // Between being handed to the compositor and its release, the buffer
    // is the compositor's to read and must not be written.
    bool busy() const { return busy_; }
    void handOver() { busy_ = true; }
    void released() { busy_ = false; }

private:
    ShmBuffer() = default;

    wl_buffer* buffer_ = nullptr;
    uint8_t* pixels_ = nullptr;
    size_t size_ = 0;
    int32_t width_ = 0, height_ = 0, pitch_ = 0;
    bool busy_ = false;
};
