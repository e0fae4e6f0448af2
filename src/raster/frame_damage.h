#pragma once
// What changed in a frame since the one shown before it, for a screen that
// hands the display only that: the renderer notes the pixels it changed
// (the last frame's stars blackened, the new ones drawn, an overlay's box),
// or that the whole frame is new (the nebula, a frame cleared on an unknown
// picture), and the screen takes the changed parts as rectangles.
//
// A display pays for every rectangle as well as for every pixel handed to
// it, and thousands of stars each a few pixels wide would be thousands of
// rectangles. So the frame is kept as a grid of cells: a change marks the
// cells it touches, and the rectangles are the runs of marked cells along
// each row of cells, joined with the same run in the rows below. They
// cover every changed pixel and some unchanged ones around them, which the
// display is handed as they are; their count is bounded by the grid. When
// most cells are marked the whole frame is handed on instead.
// Sized once for a frame size; noting and reading allocate nothing.
#include <cstdint>
#include <span>
#include <vector>

class FrameDamage {
public:
    struct Rect {
        int32_t left = 0, top = 0, width = 0, height = 0;
    };
    // Side of a cell in pixels.
    static constexpr int32_t kCellSide = 16;

    // For frames of width x height; the whole frame counts as changed.
    // Allocates: at a frame size's start, never during a frame.
    void resize(int32_t width, int32_t height);

    // The whole frame changed.
    void markWhole() { whole_ = true; }
    // A new frame that, so far, changed nothing.
    void clear();
    // The pixels of a rectangle changed; the part outside the frame is
    // passed over.
    void add(int32_t left, int32_t top, int32_t width, int32_t height);
    void add(const Rect& r) { add(r.left, r.top, r.width, r.height); }

    // True when the whole frame is to be handed on: it was marked so, or
    // most of its cells changed.
    bool whole() const;
    // The changed parts, each inside the frame, together covering every
    // changed pixel; valid until the next change. Empty when nothing
    // changed, and meaningless when whole().
    std::span<const Rect> rects();
    // The most rectangles rects() can give for frames of width x height:
    // one for every two cells of a row (a run and the gap after it).
    static size_t mostRects(int32_t width, int32_t height);
    size_t capacity() const { return mostRects(width_, height_); }

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    int32_t width_ = 0, height_ = 0;
    int32_t columns_ = 0, rows_ = 0;
    std::vector<uint8_t> cells_;  // rows_ x columns_, 1 where changed
    size_t marked_ = 0;
    bool whole_ = true;
    std::vector<Rect> rects_;
    std::vector<uint32_t> openAt_;  // by a run's first column: its rectangle, last seen
};
