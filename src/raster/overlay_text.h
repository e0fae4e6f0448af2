#pragma once
#include <cstdint>
#include <string_view>

#include "raster/frame_target.h"

// Text drawn over a finished frame (the hack's frame-rate display): a
// built-in font of 5 x 7 dots holding what that display shows (the digits,
// "FPS", " ", ".", ":" and "-"), each dot `scale` x `scale` pixels, white
// on a black box so it reads over stars and nebula alike. Whites are the
// stars' own (byte 3 and R5G6B5's low green bit stay clear), so a frame
// with text is still one the frame code could have drawn.

// A glyph's dots and the step from one glyph to the next, in dots.
inline constexpr int32_t kGlyphColumns = 5, kGlyphRows = 7, kGlyphAdvance = 6;

struct OverlaySize {
    int32_t width;
    int32_t height;
};

// The box `text` takes at `scale`: its glyphs with one dot of black around.
OverlaySize overlayTextSize(std::string_view text, int32_t scale);

// Draws that box with its top left corner at (left, top), clipped to the
// frame; a character outside the font is a blank. Nothing is drawn into an
// empty frame, a frame of another pixel format, or at a scale below 1.
void drawOverlayText(const FrameTarget& frame, int32_t left, int32_t top, int32_t scale, std::string_view text);

// Blackens a box drawOverlayText drew at (left, top), clipped to the frame,
// in the same formats: a frame kept from the last one still shows it.
void eraseOverlayText(const FrameTarget& frame, int32_t left, int32_t top, OverlaySize box);
