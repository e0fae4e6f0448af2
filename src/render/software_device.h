#pragma once
// The surface device of the Linux build and of lumara-render: every surface
// is plain memory. Rows are padded past their pixels, as locked surfaces
// often are. The cloud image is enlarged bilinearly straight into the
// frame, so the two full-size intermediate images a graphics card needs do
// not exist here. Presenting hands the finished frame to its FrameScreen,
// which shows it (a window) or keeps it (a file writer). Serves the four
// drawable pixel formats; a presenter in any other is refused.
//
// A screen that can lend the very memory it shows (a window's own surface)
// is drawn into directly: no frame of the device's own exists and nothing
// is copied to show it. The loan is asked for again at every frame's start,
// as a window may give its surface up between frames (resized, gone): a
// frame without one draws nothing and shows nothing. The frame is kept
// where the same memory is lent again, or where the screen brings the other
// memory it lends to the last frame (lentFrameIsLast).
//
// The renderer notes what it changed in each frame (frameDamage), and the
// screen is handed that with the frame: a window passes its display only
// the changed parts.
#include <cstdint>
#include <vector>

#include "raster/frame_damage.h"
#include "raster/frame_target.h"
#include "render/enlarger/bilinear_enlarger.h"
#include "render/frame_screen.h"
#include "render/surface_device.h"

class SoftwareDevice final : public SurfaceDevice {
public:
    // A display of the given pixel format; `screen` receives every
    // presented frame and may lend the memory to draw it in.
    SoftwareDevice(int32_t format, FrameScreen& screen) : format_(format), screen_(screen) {}

    bool openGraphics() override { return true; }
    int32_t createPresenter(const void* window, int32_t width, int32_t height) override;
    int32_t displayFormat() override { return format_; }
    void acquireFrame() override { frameHeld_ = frame_.exists() || lent_; }
    int32_t createCloudImage(int32_t width, int32_t height, int32_t format) override;
    int32_t createEnlargementImages(int32_t width, int32_t height, int32_t format) override;
    int32_t enlargeCloudImage() override;
    // The enlargement already lies in the frame: nothing is left to carry.
    int32_t copyEnlargementToFrame() override { return enlargerReady_ ? kResultOk : kResultInvalidCall; }
    void clearFrame() override;
    bool frameKept() override;
    FrameDamage* frameDamage() override { return &damage_; }
    SurfaceLock lock(Surface surface) override;
    int32_t unlock(Surface surface) override;
    void beginScene() override;
    void endScene() override {}
    int32_t present() override;
    void release() override;

private:
    struct MemorySurface {
        std::vector<uint8_t> bytes;
        FrameTarget target;
        bool locked = false;

        bool exists() const { return !target.empty(); }
        int32_t allocate(int32_t width, int32_t height, int32_t format);
    };
    MemorySurface* surfaceFor(Surface surface);
    // The screen's memory for this frame, when it lends a fitting one.
    FrameTarget borrow(int32_t width, int32_t height) const;

    int32_t format_;
    FrameScreen& screen_;
    bool lent_ = false;  // the frame is the screen's, asked for at each frame's start
    // The frame's memory as the last present showed it; null after a frame
    // the screen lent none for, as its memory may since have been made anew.
    const uint8_t* keptPixels_ = nullptr;
    int32_t frameWidth_ = 0;
    int32_t frameHeight_ = 0;
    MemorySurface frame_;
    FrameDamage damage_;  // what changed in the frame since the last present
    MemorySurface cloudImage_;
    bool frameHeld_ = false;
    bool enlargerReady_ = false;
    BilinearEnlarger enlarger_;
};
