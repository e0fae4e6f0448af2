#pragma once
#include <cstdint>

#include "base/result_codes.h"

class FrameDamage;

// The two surfaces the CPU writes through a lock.
enum class Surface { Frame, CloudImage };

// Pixel address and pitch of a locked surface; pixels is null when the
// lock failed.
struct SurfaceLock {
    int32_t result = kResultFail;
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
};

// What the renderer needs of the layer that holds its surfaces and shows
// its frames: one operation per effect it relies on. The renderer alone
// decides what a failure means; a device only reports it.
class SurfaceDevice {
public:
    virtual ~SurfaceDevice() = default;

    // The graphics system itself; false when there is none.
    virtual bool openGraphics() = 0;
    // A presenter bound to the window whose frames are width x height.
    virtual int32_t createPresenter(const void* window, int32_t width, int32_t height) = 0;
    // The pixel format of every surface; 0 when it cannot be read.
    virtual int32_t displayFormat() = 0;
    // Takes hold of the frame: width x height, lockable, shown by present().
    virtual void acquireFrame() = 0;
    // A CPU-writable picture whose contents survive from one lock to the next.
    virtual int32_t createCloudImage(int32_t width, int32_t height, int32_t format) = 0;
    // Whatever the enlargement of the cloud image to the whole frame needs.
    virtual int32_t createEnlargementImages(int32_t width, int32_t height, int32_t format) = 0;
    // Bilinear four-fold enlargement of the whole cloud image.
    virtual int32_t enlargeCloudImage() = 0;
    // Brings the enlargement, unchanged, into the whole frame.
    virtual int32_t copyEnlargementToFrame() = 0;
    // The whole frame black.
    virtual void clearFrame() = 0;
    // True when the frame the next lock gives still holds exactly what the
    // last present showed: the same memory, untouched since. Then the
    // renderer blackens only what the last frame's stars lit instead of the
    // whole frame. A device that cannot promise it answers false.
    virtual bool frameKept() { return false; }
    // Where the device hands its screen only what changed in a frame, the
    // record the renderer notes that in; null where every frame is shown
    // whole.
    virtual FrameDamage* frameDamage() { return nullptr; }
    // What the surface held is readable through the lock, and exactly what
    // is written is what is later enlarged or shown.
    virtual SurfaceLock lock(Surface surface) = 0;
    virtual int32_t unlock(Surface surface) = 0;
    virtual void beginScene() = 0;
    virtual void endScene() = 0;
    // Shows the frame at once, without waiting for the vertical retrace.
    virtual int32_t present() = 0;
    // Frees every object that exists; the device is not used afterwards.
    virtual void release() = 0;
};
