#include "saver/frame_rate_display.h"

#include <algorithm>
#include <charconv>


void FrameRateDisplay::countFrame(uint64_t nowMs) {
    if (!started_ || nowMs < secondStart_) {
        started_ = true;
        secondStart_ = nowMs;
        frames_ = 0;
        return;
    }
    ++frames_;
    const uint64_t elapsed = nowMs - secondStart_;
    if (elapsed < 1000) return;
    tenths_ = static_cast<int32_t>(std::min<uint64_t>((frames_ * uint64_t{10000} + elapsed / 2) / elapsed, INT32_MAX));
    secondStart_ = nowMs;
    frames_ = 0;
}

void FrameRateDisplay::draw(const FrameTarget& frame) {
    char text[24] = "FPS: ";
    char* end = text + 5;
    if (tenths_ < 0) {
        *end++ = '-';
    } else {
        end = std::to_chars(end, text + sizeof text - 3, tenths_ / 10).ptr;
        *end++ = '.';
        *end++ = static_cast<char>('0' + tenths_ % 10);
    }
    const int32_t scale = 1 + frame.height / 480;
    const std::string_view shown(text, static_cast<size_t>(end - text));
    drawn_ = overlayTextSize(shown, scale);
    drawnTop_ = frame.height - drawn_.height;
    drawOverlayText(frame, 0, drawnTop_, scale, shown);
}

void FrameRateDisplay::eraseLast(const FrameTarget& frame) const { eraseOverlayText(frame, 0, drawnTop_, drawn_); }
