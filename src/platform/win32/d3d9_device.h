#pragma once
// The SurfaceDevice seam (render/surface_device.h) on Direct3D 9, where the
// Linux build has SoftwareDevice; pairs with Win32Host, whose window it
// presents into.
// Implements: a windowed device with one lockable back buffer (the frame),
// a quarter-size offscreen cloud image in device memory, and the two
// full-size images the device's linear-filtered enlargement passes through
// (a render target, then a system-memory copy that is put into the frame);
// presents that do not wait for the vertical retrace; the thread's
// floating-point precision left as the program set it. A copy swap leaves
// the back buffer as it was shown, so after a present that succeeded the
// frame is kept (frameKept) and the renderer blackens only the last stars.
// Leaves out: drawing with the device (no textures, shaders or vertices),
// full-screen exclusive mode, and resetting a lost device: its failures go
// back to the renderer as the device reports them.
#include <d3d9.h>

#include "render/surface_device.h"

class D3d9Device final : public SurfaceDevice {
public:
    D3d9Device() = default;
    ~D3d9Device() override { release(); }
    D3d9Device(const D3d9Device&) = delete;
    D3d9Device& operator=(const D3d9Device&) = delete;

    bool openGraphics() override;
    int32_t createPresenter(const void* window, int32_t width, int32_t height) override;
    int32_t displayFormat() override;
    void acquireFrame() override;
    int32_t createCloudImage(int32_t width, int32_t height, int32_t format) override;
    int32_t createEnlargementImages(int32_t width, int32_t height, int32_t format) override;
    int32_t enlargeCloudImage() override;
    int32_t copyEnlargementToFrame() override;
    void clearFrame() override;
    bool frameKept() override { return kept_; }
    SurfaceLock lock(Surface surface) override;
    int32_t unlock(Surface surface) override;
    void beginScene() override;
    void endScene() override;
    int32_t present() override;
    void release() override;

private:
    IDirect3DSurface9* surfaceFor(Surface surface) const { return surface == Surface::Frame ? frame_ : cloudImage_; }

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DSurface9* frame_ = nullptr;          // the back buffer
    IDirect3DSurface9* cloudImage_ = nullptr;     // quarter size, default pool
    IDirect3DSurface9* cloudStretch_ = nullptr;   // full size render target
    IDirect3DSurface9* cloudReadback_ = nullptr;  // full size, system memory
    bool kept_ = false;  // the back buffer holds what the last present showed
};
