#include "platform/win32/d3d9_device.h"

// The portable names of the results this device passes through.
static_assert(kResultFail == E_FAIL && kResultOutOfMemory == E_OUTOFMEMORY && kResultInvalidCall == D3DERR_INVALIDCALL);

namespace {

template <typename T>
void releaseObject(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

}  // namespace

bool D3d9Device::openGraphics() {
    if (!d3d_) d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    return d3d_ != nullptr;
}

// Windowed, copy swap, one lockable back buffer of the window's client size
// in the display's format, no depth buffer, presents that do not wait for
// the vertical retrace: the frame timer alone sets the pace. The thread's
// floating-point precision stays as it was: without FPU_PRESERVE the device
// sets the x87 unit to single precision for good, and the C library's x87
// sines and arcsines that the roaming takes would then round otherwise,
// moving the stars off the path every other build flies.
int32_t D3d9Device::createPresenter(const void* window, int32_t, int32_t) {
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.Windowed = TRUE;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    const HWND focus = static_cast<HWND>(const_cast<void*>(window));
    return d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focus,
                              D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE, &parameters, &device_);
}

int32_t D3d9Device::displayFormat() {
    D3DDISPLAYMODE mode;
    if (FAILED(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return 0;
    return static_cast<int32_t>(mode.Format);
}

void D3d9Device::acquireFrame() { device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &frame_); }

int32_t D3d9Device::createCloudImage(int32_t width, int32_t height, int32_t format) {
    return device_->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                                static_cast<D3DFORMAT>(format), D3DPOOL_DEFAULT, &cloudImage_,
                                                nullptr);
}

int32_t D3d9Device::createEnlargementImages(int32_t width, int32_t height, int32_t format) {
    const HRESULT stretch =
        device_->CreateRenderTarget(static_cast<UINT>(width), static_cast<UINT>(height), static_cast<D3DFORMAT>(format),
                                    D3DMULTISAMPLE_NONE, 0, FALSE, &cloudStretch_, nullptr);
    if (FAILED(stretch)) return stretch;
    return device_->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                                static_cast<D3DFORMAT>(format), D3DPOOL_SYSTEMMEM, &cloudReadback_,
                                                nullptr);
}

int32_t D3d9Device::enlargeCloudImage() {
    return device_->StretchRect(cloudImage_, nullptr, cloudStretch_, nullptr, D3DTEXF_LINEAR);
}

int32_t D3d9Device::copyEnlargementToFrame() {
    const HRESULT read = device_->GetRenderTargetData(cloudStretch_, cloudReadback_);
    if (FAILED(read)) return read;
    const POINT origin = {0, 0};
    kept_ = false;
    return device_->UpdateSurface(cloudReadback_, nullptr, frame_, &origin);
}

void D3d9Device::clearFrame() {
    kept_ = false;
    device_->ColorFill(frame_, nullptr, D3DCOLOR_ARGB(0, 0, 0, 0));
}

// No D3DLOCK_DISCARD: it tells Direct3D that every pixel will be written
// and leaves what the lock shows undefined, but the renderer builds on what
// the surface holds: the kept frame's last stars, the frame that a clear or
// the enlargement filled, the cloud image that is renewed only in part.
SurfaceLock D3d9Device::lock(Surface surface) {
    IDirect3DSurface9* target = surfaceFor(surface);
    if (!target) return SurfaceLock{D3DERR_INVALIDCALL, nullptr, 0};
    D3DLOCKED_RECT locked = {};
    const HRESULT result = target->LockRect(&locked, nullptr, 0);
    if (FAILED(result)) return SurfaceLock{result, nullptr, 0};
    return SurfaceLock{result, static_cast<uint8_t*>(locked.pBits), locked.Pitch};
}

int32_t D3d9Device::unlock(Surface surface) {
    IDirect3DSurface9* target = surfaceFor(surface);
    return target ? target->UnlockRect() : D3DERR_INVALIDCALL;
}

void D3d9Device::beginScene() { device_->BeginScene(); }

void D3d9Device::endScene() { device_->EndScene(); }

// A lost device loses its back buffer: only a present that succeeded leaves
// the frame as it was shown.
int32_t D3d9Device::present() {
    const HRESULT result = device_->Present(nullptr, nullptr, nullptr, nullptr);
    kept_ = SUCCEEDED(result);
    return result;
}

void D3d9Device::release() {
    kept_ = false;
    releaseObject(device_);
    releaseObject(d3d_);
    releaseObject(frame_);
    releaseObject(cloudImage_);
    releaseObject(cloudStretch_);
    releaseObject(cloudReadback_);
}
