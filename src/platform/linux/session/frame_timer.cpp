#include "platform/linux/session/frame_timer.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

namespace {

timespec fromMilliseconds(uint32_t ms) {
    return {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
}

}  // namespace

FrameTimer::FrameTimer() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

FrameTimer::~FrameTimer() {
    if (fd_ >= 0) close(fd_);
}

bool FrameTimer::start(uint32_t periodMs) {
    const itimerspec every{fromMilliseconds(periodMs), fromMilliseconds(periodMs)};
    return periodMs > 0 && fd_ >= 0 && timerfd_settime(fd_, 0, &every, nullptr) == 0;
}

void FrameTimer::stop() {
    const itimerspec never{};
    if (fd_ >= 0) timerfd_settime(fd_, 0, &never, nullptr);
}

// However many periods passed, reading the count takes them all: one tick.
bool FrameTimer::takeTick() {
    uint64_t periods = 0;
    return fd_ >= 0 && read(fd_, &periods, sizeof periods) == static_cast<ssize_t>(sizeof periods) && periods > 0;
}

uint32_t FrameTimer::now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u + static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}
