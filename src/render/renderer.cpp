#include "render/renderer.h"

#include "render/cloud_image.h"
#include "settings/settings.h"
#include "starfield/star_field.h"

namespace {

// The order of renewal keeps x and y in 16 bits each.
constexpr int32_t kMaxCloudSide = 65535;

}  // namespace

int32_t Renderer::init(SurfaceDevice& device, const void* window, int32_t width, int32_t height) {
    device_ = &device;
    starsOnBlack_ = false;
    StarField::RendererView& view = field_.view;
    view.width = width;
    view.height = height;
    view.window = window;
    view.antiAlias = settings_.AntiAliase;
    setViewSize(field_, width, height);
    if (!device.openGraphics()) return kResultFail;
    const int32_t created = device.createPresenter(window, width, height);
    if (failed(created)) return created;
    view.pixelFormat = device.displayFormat();
    if (const int n = splatWidthForMode(view.antiAlias)) splat_ = buildSplatTable(n);
    device.acquireFrame();
    ready_ = true;
    if (settings_.Clouds != 0) startNebula(width, height);
    return kResultOk;
}

void Renderer::startNebula(int32_t width, int32_t height) {
    // Each step needs the ones before it: the layers and the start-up
    // picture are only made when every surface exists.
    cloudWidth_ = width / 4;
    cloudHeight_ = height / 4;
    const int32_t format = field_.view.pixelFormat;
    if (cloudWidth_ < 1 || cloudHeight_ < 1 || cloudWidth_ > kMaxCloudSide || cloudHeight_ > kMaxCloudSide ||
        failed(device_->createCloudImage(cloudWidth_, cloudHeight_, format)) ||
        failed(device_->createEnlargementImages(width, height, format))) {
        stopNebula();
        return;
    }
    initCloudLayers(layers_, settings_.Clouds, rng_);
    cloudTime_ = 0.0f;
    const SurfaceLock lock = device_->lock(Surface::CloudImage);
    if (failed(lock.result) || !lock.pixels) {
        stopNebula();
        return;
    }
    fillCloudImage(lockedTarget(lock, cloudWidth_, cloudHeight_), layers_, cloudTime_, pixelOrder_, rng_);
    if (failed(device_->unlock(Surface::CloudImage))) {
        stopNebula();
        return;
    }
    nebula_ = true;
}

int32_t Renderer::beginFrame() {
    if (!ready_) return kResultInvalidCall;
    device_->beginScene();
    if (nebula_) renewNebula();
    StarField::RendererView& view = field_.view;
    const uint32_t lastFrame = view.frameSerial;
    view.frameSerial = lastFrame + 1 != 0 ? lastFrame + 1 : 1;
    // Also when the nebula failed during this frame: the frame must not show
    // what an earlier frame left in it. Where it is known to be black but
    // for the last frame's stars, only they are blackened.
    // The last frame shown was black but for its stars: this one, black but
    // for its own, differs from it only where either lit a pixel, however
    // the frame's memory comes to be black.
    const bool lastStarsKnown = !nebula_ && starsOnBlack_ && lastFrame != 0 && field_.plottedFrame == lastFrame;
    const bool eraseStars = lastStarsKnown && erasingIsCheaper() && device_->frameKept();
    if (FrameDamage* damage = device_->frameDamage()) {
        if (lastStarsKnown) {
            damage->clear();
            noteStarsChanged(*damage);
        } else {
            damage->markWhole();
        }
    }
    if (!nebula_ && !eraseStars) device_->clearFrame();

    const SurfaceLock lock = device_->lock(Surface::Frame);
    frameLocked_ = !failed(lock.result) && lock.pixels;
    view.canvas.frame = frameLocked_ ? lockedTarget(lock, view.width, view.height) : FrameTarget{};
    view.canvas.splat = splat_.splatWidth ? &splat_ : nullptr;
    if (eraseStars && frameLocked_) eraseDrawnStars(field_);
    else if (eraseStars) device_->clearFrame();  // no stars this frame, and none of the last
    starsOnBlack_ = !nebula_ && frameLocked_;
    return lock.result;
}

// Blackening each star's pixels costs more than clearing the whole frame
// once the stars cover about as much of it.
bool Renderer::erasingIsCheaper() const {
    const StarField::RendererView& view = field_.view;
    const int64_t span = splat_.splatWidth ? splat_.splatWidth : 1;
    return static_cast<int64_t>(field_.pendingPlots.size()) * span * span < int64_t{view.width} * view.height / 2;
}

void Renderer::renewNebula() {
    for (CloudLayer& layer : layers_) driftCloudLayer(layer, kDriftAmplitude, rng_);
    cloudTime_ += kTimeStep;
    const SurfaceLock lock = device_->lock(Surface::CloudImage);
    if (failed(lock.result) || !lock.pixels) {
        stopNebula();
        return;
    }
    refreshCloudImage(lockedTarget(lock, cloudWidth_, cloudHeight_), kPixelsPerFrame, layers_, cloudTime_,
                      pixelOrder_);
    if (failed(device_->unlock(Surface::CloudImage)) || failed(device_->enlargeCloudImage()) ||
        failed(device_->copyEnlargementToFrame()))
        stopNebula();
}

void Renderer::stopNebula() {
    nebula_ = false;
    settings_.Clouds = 0;
}

// Each plotted star's pixel, or its whole splat (a superset of what the
// star pass drew and eraseDrawnStars blackens: the display is handed some
// pixels that did not change, never fewer than did).
void Renderer::noteStarsChanged(FrameDamage& damage) const {
    const StarField::PendingPlots& plots = field_.pendingPlots;
    const int32_t span = splat_.splatWidth ? splat_.splatWidth : 1;
    for (size_t k = 0; k < plots.size(); ++k)
        damage.add(static_cast<int32_t>((int64_t{plots.x[k]} + field_.halfWidth) >> 8),
                   static_cast<int32_t>((int64_t{plots.y[k]} + field_.halfHeight) >> 8), span, span);
}

void Renderer::markChanged(const FrameDamage::Rect& changed) {
    if (FrameDamage* damage = device_ ? device_->frameDamage() : nullptr) damage->add(changed);
}

int32_t Renderer::presentFrame() {
    if (!ready_) return kResultInvalidCall;
    // The stars drawn this frame, when one step drew them all into it.
    if (FrameDamage* damage = device_->frameDamage(); damage && !damage->whole()) {
        if (field_.plottedFrame == field_.view.frameSerial) noteStarsChanged(*damage);
        else damage->markWhole();
    }
    field_.view.canvas = StarCanvas{};
    if (frameLocked_) device_->unlock(Surface::Frame);
    frameLocked_ = false;
    device_->endScene();
    return device_->present();
}

void Renderer::release() {
    field_.view.canvas = StarCanvas{};
    if (device_) device_->release();
    device_ = nullptr;
    ready_ = false;
    nebula_ = false;
    frameLocked_ = false;
    starsOnBlack_ = false;
}

FrameTarget Renderer::lockedTarget(const SurfaceLock& lock, int32_t width, int32_t height) const {
    return FrameTarget{lock.pixels, lock.pitch, width, height, field_.view.pixelFormat};
}
