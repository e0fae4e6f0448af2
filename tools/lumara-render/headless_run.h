#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "raster/frame_target.h"
#include "render/software_device.h"
#include "render_options.h"
#include "saver/saver_state.h"
#include "settings/program_folder.h"
#include "settings/store.h"

// Where --from-store loads the settings from.
struct SettingsSource {
    Store& store;
    FolderSystem& folders;
};

// The saver's start-up and frame sequence without a window: the settings a
// first run loads (or the stored ones, given a source), the overrides, the
// star field and the motion parameters, then the renderer over memory
// surfaces, then frame ticks.
class HeadlessRun final : private FrameScreen {
public:
    explicit HeadlessRun(const RenderOptions& options, const SettingsSource* stored = nullptr);
    ~HeadlessRun();
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    // The renderer's start-up result: 0, or the code the saver would end with.
    int32_t startResult() const { return startResult_; }

    // One timer tick: frame start, star step with drawing, frame end.
    void tick();

    // The frame presented last (empty before the first tick).
    const FrameTarget& frame() const { return shown_; }
    SaverState& state() { return *state_; }

private:
    // The frame is kept, not shown: it stays in the device's memory.
    void showFrame(const FrameTarget& frame) override { shown_ = frame; }

    std::unique_ptr<SaverState> state_;
    FrameTarget shown_;
    SoftwareDevice device_;
    int32_t startResult_ = 0;
};

// Applies one "--set NAME=VALUE" to the record; false for an unknown name.
bool applySettingOverride(Settings& settings, const std::string& name, int32_t value);
