#pragma once

class StarField;
struct Settings;

// Turns the flight settings into the field's per-step quantities; the saver
// window does this once, right after building the field. Stored values far
// outside the offered ranges are used as they are, but a zero speed or a
// zero smoothness no longer divides by zero (see the .cpp).
void deriveMotionParameters(StarField& field, const Settings& settings);
