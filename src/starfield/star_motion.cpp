#include "starfield/star_motion.h"

#include "starfield/sine_table.h"

starmotion::Motion starmotion::motionOf(StarField& field) {
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
