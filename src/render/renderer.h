#pragma once
#include <cstdint>

#include "render/cloud_layer.h"
#include "raster/frame_damage.h"
#include "raster/frame_target.h"
#include "render/pixel_order.h"
#include "raster/splat_table.h"
#include "render/surface_device.h"

class Random;
class StarField;
struct Settings;

// Everything between the software drawing and the screen. Each frame is
// assembled by the CPU: the enlarged nebula or black, then the stars, then
// it is shown. The surfaces come from a SurfaceDevice; the failure rules
// live here, once for every device:
// - the presenter cannot be made: init returns the device's code;
// - any cloud operation fails: the nebula is off for the rest of the run
//   (Settings::Clouds becomes 0 in memory), the cloud steps after it are
//   skipped and the frame is cleared black instead;
// - the frame cannot be locked: the stars get an empty target that frame.
class Renderer {
public:
    static constexpr uint32_t kPixelsPerFrame = 1000;
    static constexpr float kDriftAmplitude = 0.001f;
    static constexpr float kTimeStep = 0.0001f;

    Renderer(Random& rng, Settings& settings, StarField& field, CloudLayers& cloudLayers)
        : rng_(rng), settings_(settings), field_(field), layers_(cloudLayers) {}
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Sets the view to width x height in `window`, makes the presenter, reads
    // the pixel format, builds the splat table of the anti-aliasing mode and,
    // while Clouds is not 0, the nebula: its surfaces, its layers and its
    // start-up picture. 0 on success, else the failing presenter's code.
    int32_t init(SurfaceDevice& device, const void* window, int32_t width, int32_t height);

    // Drifts and partly renews the nebula and enlarges it into the frame,
    // or clears the frame black (where the device keeps its frame, only
    // what the last frame's stars lit); then locks the frame as the star
    // field's canvas. Returns the frame lock's result.
    int32_t beginFrame();

    // Unlocks the frame, takes the canvas away from the star field and shows
    // the frame. Returns the present's result.
    int32_t presentFrame();

    // Notes pixels drawn into the frame beside the stars (an overlay), for
    // a device that shows only what changed.
    void markChanged(const FrameDamage::Rect& changed);

    // Frees the device's objects; at process end.
    void release();

    bool nebulaOn() const { return nebula_; }

private:
    void startNebula(int32_t width, int32_t height);
    void renewNebula();
    void stopNebula();
    FrameTarget lockedTarget(const SurfaceLock& lock, int32_t width, int32_t height) const;
    bool erasingIsCheaper() const;
    void noteStarsChanged(FrameDamage& damage) const;

    Random& rng_;
    Settings& settings_;
    StarField& field_;
    CloudLayers& layers_;
    SurfaceDevice* device_ = nullptr;
    bool ready_ = false;
    bool nebula_ = false;
    bool frameLocked_ = false;
    // The frame locked last was black before its stars were drawn.
    bool starsOnBlack_ = false;
    int32_t cloudWidth_ = 0;
    int32_t cloudHeight_ = 0;
    SplatTable splat_;
    PixelOrder pixelOrder_;
    float cloudTime_ = 0.0f;
};
