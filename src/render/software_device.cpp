#include "render/software_device.h"

#include <cstring>
#include <new>

namespace {

// Rows padded by at least 16 bytes and to a multiple of 64: never exactly
// width * bytes per pixel, so code that walks rows by width shows its fault.
int32_t paddedPitch(int32_t rowBytes) { return (rowBytes + 16 + 63) / 64 * 64; }

constexpr int32_t kMaxSide = 1 << 16;

}  // namespace

int32_t SoftwareDevice::MemorySurface::allocate(int32_t width, int32_t height, int32_t format) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || !isDrawableFormat(format))
        return kResultInvalidCall;
    const int32_t pitch = paddedPitch(width * bytesPerPixel(format));
    try {
        bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return kResultOutOfMemory;
    }
    target = FrameTarget{bytes.data(), pitch, width, height, format};
    locked = false;
    return kResultOk;
}

int32_t SoftwareDevice::createPresenter(const void*, int32_t width, int32_t height) {
    frame_ = MemorySurface{};
    keptPixels_ = nullptr;
    frameWidth_ = width;
    frameHeight_ = height;
    damage_.resize(width, height);
    frame_.target = borrow(width, height);
    lent_ = frame_.exists();
    if (lent_) return kResultOk;
    return frame_.allocate(width, height, format_);
}

FrameTarget SoftwareDevice::borrow(int32_t width, int32_t height) const {
    const FrameTarget screen = screen_.lendFrame(width, height, format_);
    const bool fits = !screen.empty() && screen.width == width && screen.height == height && screen.format == format_ &&
                      width >= 1 && height >= 1 && screen.pitch >= width * bytesPerPixel(format_);
    return fits ? screen : FrameTarget{};
}

bool SoftwareDevice::frameKept() {
    if (!frame_.exists() || !keptPixels_) return false;
    return frame_.target.pixels == keptPixels_ || (lent_ && screen_.lentFrameIsLast());
}

void SoftwareDevice::beginScene() {
    if (!lent_ || frame_.locked) return;
    frame_.target = borrow(frameWidth_, frameHeight_);
    if (!frame_.exists()) keptPixels_ = nullptr;
}

int32_t SoftwareDevice::createCloudImage(int32_t width, int32_t height, int32_t format) {
    if (format != format_) return kResultInvalidCall;
    return cloudImage_.allocate(width, height, format);
}

int32_t SoftwareDevice::createEnlargementImages(int32_t width, int32_t height, int32_t format) {
    if (format != format_ || !cloudImage_.exists() || !frameHeld_ || width != frameWidth_ || height != frameHeight_)
        return kResultInvalidCall;
    enlarger_.prepare(cloudImage_.target.width, cloudImage_.target.height, width, height);
    enlargerReady_ = true;
    return kResultOk;
}

int32_t SoftwareDevice::enlargeCloudImage() {
    if (!enlargerReady_ || !frameHeld_ || frame_.locked || cloudImage_.locked) return kResultInvalidCall;
    // A screen that has no surface this frame is not drawn into, nor is the
    // nebula ended for it.
    if (frame_.exists()) enlarger_.enlarge(cloudImage_.target, frame_.target);
    return kResultOk;
}

void SoftwareDevice::clearFrame() {
    if (!frameHeld_ || !frame_.exists() || frame_.locked) return;
    const FrameTarget& t = frame_.target;
    const size_t rowBytes = static_cast<size_t>(t.width) * static_cast<size_t>(bytesPerPixel(t.format));
    std::memset(t.pixels, 0, static_cast<size_t>(t.pitch) * static_cast<size_t>(t.height - 1) + rowBytes);
}

SoftwareDevice::MemorySurface* SoftwareDevice::surfaceFor(Surface surface) {
    MemorySurface* s = surface == Surface::Frame ? (frameHeld_ ? &frame_ : nullptr) : &cloudImage_;
    return s && s->exists() ? s : nullptr;
}

SurfaceLock SoftwareDevice::lock(Surface surface) {
    MemorySurface* s = surfaceFor(surface);
    if (!s || s->locked) return SurfaceLock{kResultInvalidCall, nullptr, 0};
    s->locked = true;
    return SurfaceLock{kResultOk, s->target.pixels, s->target.pitch};
}

int32_t SoftwareDevice::unlock(Surface surface) {
    MemorySurface* s = surfaceFor(surface);
    if (!s || !s->locked) return kResultInvalidCall;
    s->locked = false;
    return kResultOk;
}

int32_t SoftwareDevice::present() {
    if (!frameHeld_ || frame_.locked) return kResultInvalidCall;
    if (frame_.exists()) screen_.showChanged(frame_.target, damage_);
    keptPixels_ = frame_.target.pixels;
    return kResultOk;
}

void SoftwareDevice::release() {
    frame_ = MemorySurface{};
    cloudImage_ = MemorySurface{};
    frameHeld_ = false;
    lent_ = false;
    keptPixels_ = nullptr;
    enlargerReady_ = false;
    enlarger_ = BilinearEnlarger{};
}
