#pragma once
#include <cstdint>
#include <memory>

class StarField;

// A star record. Kinds of star differ in how they are made and drawn; the
// field only ever holds point stars, but it talks to them through this. It
// keeps its stars' fields in arrays (StarField::Stars) and runs a kind's
// operations on a record read from them.
class Star {
public:
    int32_t fade = 0;  // distance-attenuation factor, [fadeMin, fadeMax]
    int32_t x = 0;     // lateral position, 1/256 pixel, centred on the view axis
    int32_t y = 0;     // positive is down the screen
    int32_t z = 0;     // depth; larger is farther, flight goes toward 0
    bool active = false;

    virtual ~Star() = default;

    // A new, inactive star of the same kind.
    virtual std::unique_ptr<Star> create() const = 0;
    // Puts the star far ahead of the viewer: uniformly, or on the current picture.
    virtual void place(StarField& field);
    // Draws the star at the field's last projection.
    virtual void plot(const StarField& field) const = 0;
};

class PointStar final : public Star {
public:
    std::unique_ptr<Star> create() const override;
    void plot(const StarField& field) const override;
};
