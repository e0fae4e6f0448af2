#pragma once
// The surface device of the Linux build and of lumara-render: every surface
// is plain memory. Rows are padded past their pixels, as locked surfaces
// often are. The cloud image is enlarged bilinearly straight into the
// frame, so the two full-size intermediate images a graphics card needs do
// not exist here. Presenting hands the finished frame to a callback, which
// shows it (a window) or keeps it (a file writer). Serves the four drawable
// pixel formats; a presenter in any other is refused.
#include <cstdint>
#include <functional>
#include <vector>

#include "render/enlarger/bilinear_enlarger.h"
#include "raster/frame_target.h"
#include "render/surface_device.h"

class SoftwareDevice final : public SurfaceDevice {
public:
    using ShowFrame = std::function<void(const FrameTarget&)>;

    // A display of the given pixel format; `show` receives every presented frame.
    SoftwareDevice(int32_t format, ShowFrame show) : format_(format), show_(std::move(show)) {}

    bool openGraphics() override { return true; }
    int32_t createPresenter(const void* window, int32_t width, int32_t height) override;
    int32_t displayFormat() override { return format_; }
    void acquireFrame() override { frameHeld_ = !frame_.bytes.empty(); }
    int32_t createCloudImage(int32_t width, int32_t height, int32_t format) override;
    int32_t createEnlargementImages(int32_t width, int32_t height, int32_t format) override;
    int32_t enlargeCloudImage() override;
    // The enlargement already lies in the frame: nothing is left to carry.
    int32_t copyEnlargementToFrame() override { return enlargerReady_ ? kResultOk : kResultInvalidCall; }
    void clearFrame() override;
    SurfaceLock lock(Surface surface) override;
    int32_t unlock(Surface surface) override;
    void beginScene() override {}
    void endScene() override {}
    int32_t present() override;
    void release() override;

private:
    struct MemorySurface {
        std::vector<uint8_t> bytes;
        FrameTarget target;
        bool locked = false;

        int32_t allocate(int32_t width, int32_t height, int32_t format);
    };
    MemorySurface* surfaceFor(Surface surface);

    int32_t format_;
    ShowFrame show_;
    MemorySurface frame_;
    MemorySurface cloudImage_;
    bool frameHeld_ = false;
    bool enlargerReady_ = false;
    BilinearEnlarger enlarger_;
};
