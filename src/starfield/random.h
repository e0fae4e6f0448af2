#pragma once
#include <cstdint>

// The one pseudo-random sequence of the saver. The star field, the picture
// sampling and the nebula all draw from it, so the order of draws decides
// where every star appears; nothing else may consume values from it.
class Random {
public:
    static constexpr int32_t kMax = 32767;

    // A generator in the state the saver starts with: one value is drawn from
    // state 1 and folded back into the state. Fixed, so every run flies alike.
    static Random seededForSaver();

    explicit Random(uint32_t state) : state_(state) {}

    // Next value in 0..32767.
    int32_t operator()() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 32767u);
    }

    uint32_t state() const { return state_; }

private:
    uint32_t state_;
};
