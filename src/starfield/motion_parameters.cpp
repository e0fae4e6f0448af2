#include "starfield/motion_parameters.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "settings/settings.h"
#include "starfield/sine_table.h"
#include "starfield/star_field.h"

namespace {

int32_t clampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

void deriveMotionParameters(StarField& field, const Settings& s) {
    field.spawnBudget = static_cast<int32_t>(static_cast<uint32_t>(s.StarsCount) / 2u);  // below 2^31
    field.moveStep = clampToInt32(-(int64_t{s.MoveSpeed} * 256) / 100);
    // Reduced to one turn: the same step for every offered roll speed, and
    // the angle arithmetic cannot overflow for stored ones far beyond.
    field.angleStep = static_cast<int32_t>(int64_t{s.RotSpeed} * 4 % kAngleTurn);
    // The roam period divides the step count. Smoothness 0 (a record that
    // was never loaded) would make it 0; such a flight starts a new roam
    // segment every step, as the shortest offered period does.
    const int64_t period = (101 - int64_t{s.RoamFreq}) * s.Smoothness;
    field.roamPeriod = period == 0 ? 1 : clampToInt32(period);
    field.azimuthRateScale = static_cast<uint32_t>(s.RoamMagn) * 0.1;
    field.tiltRateScale = static_cast<uint32_t>(s.RoamMagn) * 0.01;
}
