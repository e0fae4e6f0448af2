#include "starfield/star_field.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "starfield/random.h"
#include "starfield/sine_table.h"

namespace {

// Positions move by wrapping 32-bit addition: a star flying away from the
// viewer (negative speed) is never retired by depth, and after days its
// depth must wrap rather than overflow.
int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t scaledDraw(Random& rng, int64_t range) {
    return static_cast<int32_t>(rng() * range / Random::kMax);
}

// n / d truncated toward zero, for |n| < 2^53 and d != 0. The quotient is
// computed in double precision, which is exact here: a correctly rounded
// quotient of numbers below 2^53 never crosses an integer. It costs a
// fraction of a 64-bit integer division, and the star pass does two per star.
int64_t exactQuotient(int64_t n, int64_t d) {
    return static_cast<int64_t>(static_cast<double>(n) / static_cast<double>(d));
}

// (n / d) * focalLength / 65536. The quotient is held where the product
// cannot overflow; any quotient that large projects far outside the view.
int32_t projectAxis(int64_t n, int64_t d, int64_t focalLength) {
    constexpr int64_t kLimit = int64_t{1} << 40;
    const int64_t q = std::clamp(exactQuotient(n, d), -kLimit, kLimit);
    return static_cast<int32_t>(std::clamp<int64_t>(q * focalLength / 65536, INT32_MIN, INT32_MAX));
}

// What moving and projecting a star needs of the field, worked out once a
// step: the star pass changes none of it, but through the stars' references
// the compiler cannot know that and would reload and recompute it per star.
struct Motion {
    int32_t dx, dy, dz;
    int64_t cosine, sine;
    int64_t focalLength;
    int64_t bound;  // retired at |projection| >= 2 * halfWidth
};

struct Projection {
    int32_t x = 0;
    int32_t y = 0;
};

Motion motionOf(StarField& field) {
    StarField::RollSine& roll = field.rollSine;
    if (roll.angle != field.angle) {
        roll = {field.angle, field.sine.sine(field.angle), field.sine.cosine(field.angle)};
    }
    // Products in 64 bits: the same as 32-bit ones for every offered speed,
    // and no overflow for a stored speed far beyond them.
    const int64_t scale = field.stepScale;
    return Motion{static_cast<int32_t>(field.velocityX * scale / 256),
                  static_cast<int32_t>(field.velocityY * scale / 256),
                  static_cast<int32_t>(scale * field.velocityZ / 256),
                  roll.cosine,
                  roll.sine,
                  field.focalLength,
                  2 * static_cast<int64_t>(field.halfWidth)};
}

Projection project(const Motion& m, const Star& star) {
    const int64_t d = star.z | 1;
    const int64_t x = star.x;
    const int64_t y = star.y;
    // |x * c - y * s| < 2^48: within the exact range of exactQuotient.
    return {projectAxis(x * m.cosine - y * m.sine, d, m.focalLength),
            projectAxis(x * m.sine + y * m.cosine, d, m.focalLength)};
}

// False when the star passed the viewer or left the view: it is retired.
bool moveAndProject(const Motion& m, Star& star, Projection& at) {
    star.x = wrappingAdd(star.x, m.dx);
    star.y = wrappingAdd(star.y, m.dy);
    star.z = wrappingAdd(star.z, m.dz);
    at = project(m, star);
    const bool inFlight =
        star.z >= 0 && std::abs(static_cast<int64_t>(at.x)) < m.bound && std::abs(static_cast<int64_t>(at.y)) < m.bound;
    if (!inFlight) star.active = false;
    return inFlight;
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

void starPass(StarField& f) {
    f.pendingPlots.clear();
    const Motion motion = motionOf(f);
    int32_t placed = 0;
    for (auto& star : f.stars) {
        Projection at;
        if (star->active) {
            if (!moveAndProject(motion, *star, at)) continue;
        } else if (placed < f.spawnBudget) {
            star->place(f);
            ++placed;
            at = project(motion, *star);
        } else {
            continue;
        }
        f.pendingPlots.push_back({star.get(), at.x, at.y});  // room for every star was made with them
    }
    for (const StarField::PendingPlot& plot : f.pendingPlots) {
        f.projectedX = plot.x;
        f.projectedY = plot.y;
        plot.star->plot(f);
    }
    const bool drawn = !f.view.canvas.frame.empty();
    f.plottedFrame = drawn && f.plottedFrame != f.view.frameSerial ? f.view.frameSerial : 0;
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

void buildStarField(StarField& field, int32_t starCount, const Star& prototype) {
    field.starCount = std::clamp(starCount, 0, kMaxStarCount);
    field.stars.clear();
    field.stars.reserve(static_cast<size_t>(field.starCount));
    field.pendingPlots.clear();
    field.pendingPlots.reserve(static_cast<size_t>(field.starCount));
    for (int32_t i = 0; i < field.starCount; ++i) field.stars.push_back(prototype.create());
}

void setViewSize(StarField& field, int32_t width, int32_t height) {
    field.halfWidth = (width / 2) << 8;
    field.halfHeight = (height / 2) << 8;
    field.spawnHalfWidth = field.halfWidth;
    field.spawnHalfHeight = field.halfHeight;
}

void projectStar(StarField& field, const Star& star) {
    const Projection at = project(motionOf(field), star);
    field.projectedX = at.x;
    field.projectedY = at.y;
}

void moveStar(StarField& field, Star& star) {
    Projection at;
    moveAndProject(motionOf(field), star, at);
    field.projectedX = at.x;
    field.projectedY = at.y;
}

void eraseDrawnStars(const StarField& field) {
    const int64_t limitX = 2 * int64_t{field.halfWidth}, limitY = 2 * int64_t{field.halfHeight};
    for (const StarField::PendingPlot& plot : field.pendingPlots)
        eraseStarAt(field.view.canvas, int64_t{plot.x} + field.halfWidth, int64_t{plot.y} + field.halfHeight, limitX,
                    limitY);
}

void stepStarField(StarField& field) {
    roll(field);
    roam(field);
    starPass(field);
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
