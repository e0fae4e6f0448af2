#include "platform/linux/wayland/shm_buffer.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <climits>

namespace {

void onRelease(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->released(); }

const wl_buffer_listener kBufferListener = {onRelease};

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX / 4 / height) return nullptr;
    std::unique_ptr<ShmBuffer> made(new ShmBuffer);
    made->width_ = width;
    made->height_ = height;
    made->pitch_ = width * 4;
    made->size_ = static_cast<size_t>(made->pitch_) * static_cast<size_t>(height);
    // A new memory file reads as zeros: the buffer starts black.
    const int fd = memfd_create("lumara-frame", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    void* mapped = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(made->size_)) == 0)
        mapped = mmap(nullptr, made->size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    made->pixels_ = static_cast<uint8_t*>(mapped);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(made->size_));
    made->buffer_ = wl_shm_pool_create_buffer(pool, 0, width, height, made->pitch_, WL_SHM_FORMAT_XRGB8888);
    // The buffer keeps what it needs of the pool and the file.
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(made->buffer_, &kBufferListener, made.get());
    return made;
}

ShmBuffer::~ShmBuffer() {
    if (buffer_) wl_buffer_destroy(buffer_);
    if (pixels_) munmap(pixels_, size_);
}
