#include "starfield/star_field.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "starfield/random.h"
#include "starfield/sine_table.h"
#include "starfield/star_motion.h"
#include "starfield/star_pass.h"

using namespace starmotion;

namespace {

int32_t scaledDraw(Random& rng, int64_t range) {
    return static_cast<int32_t>(rng() * range / Random::kMax);
}

void roll(StarField& f) {
    int64_t a = static_cast<int64_t>(f.angle) + f.angleStep;
    if (a > kAngleTurn) a -= kAngleTurn;
    if (a < 0) a += kAngleTurn;
    // Only an angle step of more than a turn (a stored roll speed far out
    // of range) gets here; keep the angle inside one turn all the same.
    if (a < 0 || a > kAngleTurn) a = (a % kAngleTurn + kAngleTurn) % kAngleTurn;
    f.angle = static_cast<int32_t>(a);
}

void roam(StarField& f) {
    f.roamPhase = static_cast<double>(f.tick) / f.roamPeriod;
    const bool segmentStart = int64_t{f.tick} % f.roamPeriod == 0;
    f.tick = wrappingAdd(f.tick, 1);
    if (segmentStart) {
        int32_t t = scaledDraw(f.rng, 256);
        f.azimuthRate = t * f.azimuthRateScale / 256.0;
        f.azimuthOffset = std::asin(f.roamAzimuth) - f.roamPhase * f.azimuthRate;
        t = scaledDraw(f.rng, 256);
        f.tiltRate = t * f.tiltRateScale / 256.0;
        f.tiltOffset = std::asin(f.roamTilt) - f.roamPhase * f.tiltRate;
    }
    f.roamAzimuth = 0.25 * std::sin(f.roamPhase * f.azimuthRate + f.azimuthOffset);
    f.roamTilt = 0.25 * std::sin(f.roamPhase * f.tiltRate + f.tiltOffset);

    const auto h = static_cast<int32_t>(std::sin(f.roamTilt) * f.moveStep);
    f.velocityY = static_cast<int32_t>(std::sin(f.roamAzimuth) * h);
    f.velocityX = static_cast<int32_t>(std::cos(f.roamAzimuth) * h);
    f.velocityZ = static_cast<int32_t>(std::cos(f.roamTilt) * f.moveStep);
}

void pictureModeTimer(StarField& f) {
    if (f.pictures.empty()) return;
    const int32_t before = f.modeCountdown;
    f.modeCountdown = wrappingAdd(f.modeCountdown, -1);
    if (before != 0) return;
    f.pictureMode = f.pictureMode ? 0 : 1;
    // A standing flight (speed 0) would divide by zero; it times the phases
    // as if it crept forward at the slowest step.
    const int32_t step = f.moveStep != 0 ? f.moveStep : -1;
    const int32_t approach = f.nearSpawnDepth / step;
    f.modeCountdown = f.pictureMode ? -approach : approach * -5;
    f.currentPicture = static_cast<uint32_t>(f.rng()) % f.pictureCount();
}

}  // namespace

void StarField::Stars::read(size_t i, Star& star) const {
    star.fade = fade[i];
    star.x = x[i];
    star.y = y[i];
    star.z = z[i];
    star.active = active[i] != 0;
}

void StarField::Stars::write(size_t i, const Star& star) {
    fade[i] = star.fade;
    x[i] = star.x;
    y[i] = star.y;
    z[i] = star.z;
    active[i] = star.active ? 1 : 0;
}

void buildStarField(StarField& field, int32_t starCount, const Star& prototype) {
    field.starCount = std::clamp(starCount, 0, kMaxStarCount);
    field.kind = prototype.create();
    const auto count = static_cast<size_t>(field.starCount);
    StarField::Stars& stars = field.stars;
    for (std::vector<int32_t>* values : {&stars.fade, &stars.x, &stars.y, &stars.z}) values->assign(count, 0);
    stars.active.assign(count, 0);
    // Every star made from the prototype, as its own kind makes it.
    for (size_t i = 0; i < count; ++i) stars.write(i, *field.kind);
    // The lanes write a whole block of plots past the last star they plot.
    constexpr size_t kWidestBlock = 8;
    StarField::PendingPlots& plots = field.pendingPlots;
    plots.count = 0;
    plots.star.assign(count + kWidestBlock, 0);
    for (std::vector<int32_t>* values : {&plots.x, &plots.y, &plots.brightness})
        values->assign(count + kWidestBlock, 0);
}

void setViewSize(StarField& field, int32_t width, int32_t height) {
    field.halfWidth = (width / 2) << 8;
    field.halfHeight = (height / 2) << 8;
    field.spawnHalfWidth = field.halfWidth;
    field.spawnHalfHeight = field.halfHeight;
}

void eraseDrawnStars(const StarField& field) {
    const int64_t limitX = 2 * int64_t{field.halfWidth}, limitY = 2 * int64_t{field.halfHeight};
    const StarField::PendingPlots& plots = field.pendingPlots;
    for (size_t k = 0; k < plots.size(); ++k)
        eraseStarAt(field.view.canvas, int64_t{plots.x[k]} + field.halfWidth, int64_t{plots.y[k]} + field.halfHeight,
                    limitX, limitY);
}

void stepStarField(StarField& field) {
    roll(field);
    roam(field);
    runStarPass(field);
    const bool drawn = !field.view.canvas.frame.empty();
    field.plottedFrame = drawn && field.plottedFrame != field.view.frameSerial ? field.view.frameSerial : 0;
    pictureModeTimer(field);
}

void Star::place(StarField& field) {
    Random& rng = field.rng;
    if (field.pictureMode == 0 || field.pictures.empty()) {
        z = field.nearSpawnDepth + scaledDraw(rng, int64_t{field.farDepth} - field.nearSpawnDepth);
        x = scaledDraw(rng, 2 * int64_t{field.spawnHalfWidth}) - field.spawnHalfWidth;
        y = scaledDraw(rng, 2 * int64_t{field.spawnHalfHeight}) - field.spawnHalfHeight;
    } else {
        const DistributionMap::Point p =
            sampleDistribution(field.pictures[field.currentPicture], field.levels, rng);
        z = field.farDepth;
        // The picture's 1024 x 1024 target area is centred on the view axis.
        constexpr int64_t kTargetCentre = 512 * 256;
        x = static_cast<int32_t>((int64_t{p.x} * 256 - kTargetCentre) / 8);
        y = static_cast<int32_t>((int64_t{p.y} * 256 - kTargetCentre) / 8);
    }
    fade = field.fadeMin + scaledDraw(rng, int64_t{field.fadeMax} - field.fadeMin);
    active = true;
}

std::unique_ptr<Star> PointStar::create() const { return std::make_unique<PointStar>(); }

void PointStar::plot(const StarField& field) const {
    drawStarAt(field.view.canvas, int64_t{field.projectedX} + field.halfWidth,
               int64_t{field.projectedY} + field.halfHeight, 2 * int64_t{field.halfWidth},
               2 * int64_t{field.halfHeight}, starBrightness(z, fade, field.nearSpawnDepth));
}
