#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "render/frame_target.h"
#include "render/splat_table.h"
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
// first run loads (or the stored ones, given a source), the overrides, the star field, the motion parameters and
// the view, then frame ticks into a frame in memory.
class HeadlessRun {
public:
    explicit HeadlessRun(const RenderOptions& options, const SettingsSource* stored = nullptr);

    // One timer tick: frame start, star step with drawing, frame end.
    void tick();

    const FrameTarget& frame() const { return frame_; }
    SaverState& state() { return *state_; }

private:
    std::unique_ptr<SaverState> state_;
    SplatTable splat_;
    std::vector<uint8_t> storage_;
    FrameTarget frame_;
};

// Applies one "--set NAME=VALUE" to the record; false for an unknown name.
bool applySettingOverride(Settings& settings, const std::string& name, int32_t value);
