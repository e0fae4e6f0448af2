#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/draw_star.h"
#include "starfield/distribution_map.h"
#include "starfield/star.h"

class LevelTable;
class Random;
class SineTable;

// How many stars the star pass moves at once: one, four (SSE2) or eight (AVX2).
enum class StarLanes : uint8_t { Plain, Sse2, Avx2 };

// The flight: every star, the view, the roll and roaming state, and the
// pictures stars may be drawn from. One exists for the whole process.
class StarField {
public:
    StarField(Random& generator, const SineTable& sineTable, const LevelTable& levelTable)
        : rng(generator), sine(sineTable), levels(levelTable) {}
    StarField(const StarField&) = delete;
    StarField& operator=(const StarField&) = delete;

    Random& rng;
    const SineTable& sine;
    const LevelTable& levels;

    int32_t velocityZ = -1;
    int32_t angleStep = 0;
    int32_t halfWidth = 320;   // view centre, 1/256 pixel
    int32_t halfHeight = 240;
    int32_t fadeMin = 200;
    int32_t fadeMax = 300;
    int32_t farDepth = 256000;
    int32_t nearSpawnDepth = 166400;
    int32_t stepScale = 256;
    int32_t spawnBudget = 0;
    int32_t velocityX = 0;
    int32_t velocityY = 0;
    int32_t angle = 0;  // roll, 0..411774
    double roamAzimuth = 0.0;
    double roamTilt = 0.0;
    double azimuthRate = 1.0;
    double tiltRate = 1.0;
    double azimuthOffset = 0.0;
    double tiltOffset = 0.0;
    double azimuthRateScale = 1.0;
    double tiltRateScale = 1.0;
    int32_t moveStep = -1;
    int32_t focalLength = 256000;
    int32_t roamPeriod = 1;
    int32_t spawnHalfWidth = 0;
    int32_t spawnHalfHeight = 0;
    int32_t pictureMode = 0;
    int32_t modeCountdown = 500;
    // The stars, field by field: entry i of each array belongs to star i.
    // The star pass runs along these arrays several stars at a time.
    struct Stars {
        std::vector<int32_t> fade, x, y, z;
        std::vector<uint8_t> active;  // 1 in flight, 0 waiting to be placed

        size_t size() const { return active.size(); }
        void read(size_t i, Star& star) const;
        void write(size_t i, const Star& star);
    } stars;
    // A star of the kind the field was built from. Every star is of this
    // kind: the kind's own place and plot run on it, with the star's fields
    // read into it and written back. Point stars are drawn in one batch.
    std::unique_ptr<Star> kind;
    int32_t starCount = 0;
    int32_t tick = 0;
    // Only pictures that can be sampled; empty when none is used.
    std::vector<DistributionMap> pictures;
    uint32_t currentPicture = 0;
    double roamPhase = 0.0;

    // Projection of the star projected last, 1/256 pixel from the view centre.
    int32_t projectedX = 0;
    int32_t projectedY = 0;

    // The stars a step draws, in star order: which star, its projection and
    // its brightness. The step moves every star first and draws afterwards:
    // without the projection's work between them, the frame's memory is
    // fetched for many stars at once instead of one star at a time. Drawing
    // a star only raises pixels (to a brighter grey, or by a saturating
    // sum), which comes out the same in any order. Room for every star, and
    // for one block of lanes written whole past the last, is made with the
    // stars.
    struct PendingPlots {
        std::vector<uint32_t> star;
        std::vector<int32_t> x, y, brightness;
        size_t count = 0;

        size_t size() const { return count; }
        StarBatch batch() const { return {x.data(), y.data(), brightness.data(), count}; }
    } pendingPlots;
    // The frame (RendererView::frameSerial) the pending plots were drawn
    // into, when one step drew them all into that frame's canvas; else 0.
    uint32_t plottedFrame = 0;

    // The roll's 16.16 sine and cosine, worked out once per angle rather
    // than once per star.
    struct RollSine {
        int64_t angle = -1;
        int64_t sine = 0;
        int64_t cosine = 0;
    } rollSine;

    // The widest lanes the star pass may move stars in; it falls back to a
    // narrower way this build or processor lacks, and to one star at a time
    // for a flight whose numbers lie beyond what the lanes keep exact. All
    // ways give the same stars and frames.
    StarLanes lanes = StarLanes::Avx2;

    // The renderer's side of the same flight, written only by the renderer:
    // the frame's size, the window it is shown in, its pixel format, the
    // anti-aliasing mode and, during a frame, the canvas the stars are drawn
    // into. Everything else in the field is written by the star field's own
    // functions.
    struct RendererView {
        int32_t width = 0;
        int32_t height = 0;
        const void* window = nullptr;
        int32_t pixelFormat = kFormatUnknown;
        int32_t antiAlias = 0;
        StarCanvas canvas;
        uint32_t frameSerial = 0;  // counts the frames begun, never 0 once one has
    } view;

    uint32_t pictureCount() const { return static_cast<uint32_t>(pictures.size()); }
};

// Most stars one field holds. Far beyond anything offered; it only keeps an
// absurd stored count from exhausting memory.
inline constexpr int32_t kMaxStarCount = 1000000;

// Makes the field's stars from the prototype, all inactive. A negative
// count gives none; counts above kMaxStarCount are held there. The saver
// then loads the distribution pictures (loadDistributionPictures).
void buildStarField(StarField& field, int32_t starCount, const Star& prototype);

// Centres the view on a frame of width x height pixels (24.8 fixed point,
// halving truncates) and makes the placement box the same.
void setViewSize(StarField& field, int32_t width, int32_t height);

// One simulation step: roll, roaming, the star pass (moving, placing and
// drawing the stars) and the picture-mode timer.
void stepStarField(StarField& field);

// Blackens, in the current canvas, every pixel the pending plots may have
// lit (eraseStarAt of each).
void eraseDrawnStars(const StarField& field);
