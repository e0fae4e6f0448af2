#pragma once
// A surface device for tests: the software device underneath, with any
// operation made to fail from a chosen call on, a log of every operation,
// and optionally another display format or a nebula kept out of the frame.
#include <cstdint>
#include <map>
#include <vector>

#include "render/software_device.h"

enum class Op {
    OpenGraphics, CreatePresenter, CreateCloudImage, CreateEnlargementImages, EnlargeCloudImage,
    CopyEnlargementToFrame, ClearFrame, LockFrame, UnlockFrame, LockCloudImage, UnlockCloudImage, Present,
};

class FaultDevice final : public SurfaceDevice, private FrameScreen {
public:
    static constexpr int32_t kInjected = static_cast<int32_t>(0x88760868u);  // device lost

    explicit FaultDevice(int32_t format) : real_(format, *this) {}

    // Operation `op` fails on its `call`-th use (1 = first) and every use after.
    void failFrom(Op op, int call = 1) { failFrom_[op] = call; }

    std::vector<Op> log;
    FrameTarget shown;
    int32_t reportedFormat = 0;    // 0: the real one
    bool hideNebula = false;       // the enlargement clears the frame instead
    bool keepFrame = true;         // false: the frame is never known to be kept

    int count(Op op) const {
        int n = 0;
        for (Op o : log) n += o == op;
        return n;
    }

    bool openGraphics() override { return !fails(Op::OpenGraphics) && real_.openGraphics(); }
    int32_t createPresenter(const void* w, int32_t width, int32_t height) override {
        return fails(Op::CreatePresenter) ? kInjected : real_.createPresenter(w, width, height);
    }
    int32_t displayFormat() override { return reportedFormat ? reportedFormat : real_.displayFormat(); }
    void acquireFrame() override { real_.acquireFrame(); }
    int32_t createCloudImage(int32_t width, int32_t height, int32_t) override {
        return fails(Op::CreateCloudImage) ? kInjected : real_.createCloudImage(width, height, real_.displayFormat());
    }
    int32_t createEnlargementImages(int32_t width, int32_t height, int32_t) override {
        return fails(Op::CreateEnlargementImages) ? kInjected
                                                  : real_.createEnlargementImages(width, height, real_.displayFormat());
    }
    int32_t enlargeCloudImage() override {
        if (fails(Op::EnlargeCloudImage)) return kInjected;
        if (!hideNebula) return real_.enlargeCloudImage();
        real_.clearFrame();
        return kResultOk;
    }
    int32_t copyEnlargementToFrame() override {
        return fails(Op::CopyEnlargementToFrame) ? kInjected : real_.copyEnlargementToFrame();
    }
    void clearFrame() override {
        note(Op::ClearFrame);
        real_.clearFrame();
    }
    bool frameKept() override { return keepFrame && real_.frameKept(); }
    SurfaceLock lock(Surface s) override {
        if (fails(s == Surface::Frame ? Op::LockFrame : Op::LockCloudImage)) return SurfaceLock{kInjected, nullptr, 0};
        return real_.lock(s);
    }
    int32_t unlock(Surface s) override {
        return fails(s == Surface::Frame ? Op::UnlockFrame : Op::UnlockCloudImage) ? kInjected : real_.unlock(s);
    }
    void beginScene() override {}
    void endScene() override {}
    int32_t present() override { return fails(Op::Present) ? kInjected : real_.present(); }
    void release() override { real_.release(); }

    // The cloud image as it stands (locks and unlocks it).
    FrameTarget peekCloudImage() {
        const SurfaceLock l = real_.lock(Surface::CloudImage);
        real_.unlock(Surface::CloudImage);
        return FrameTarget{l.pixels, l.pitch, 0, 0, real_.displayFormat()};
    }

private:
    void showFrame(const FrameTarget& frame) override { shown = frame; }
    void note(Op op) { log.push_back(op); }
    bool fails(Op op) {
        note(op);
        const auto it = failFrom_.find(op);
        return it != failFrom_.end() && count(op) >= it->second;
    }

    SoftwareDevice real_;
    std::map<Op, int> failFrom_;
};

// A frame's pixel bytes, row after row without the padding of its pitch.
inline std::vector<uint8_t> frameBytes(const FrameTarget& f) {
    std::vector<uint8_t> bytes;
    for (int32_t y = 0; y < f.height; ++y)
        bytes.insert(bytes.end(), f.row(y), f.row(y) + f.width * bytesPerPixel(f.format));
    return bytes;
}
