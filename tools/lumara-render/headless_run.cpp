#include "headless_run.h"

#include "saver/flight.h"
#include "saver/frame_tick.h"
#include "settings/settings_store.h"
#include "starfield/picture_decoder.h"

bool applySettingOverride(Settings& s, const std::string& name, int32_t value) {
    const SettingInfo* setting = findFlightSetting(name);
    if (setting) setting->set(s, value);
    return setting != nullptr;
}

HeadlessRun::HeadlessRun(const RenderOptions& options, const SettingsSource* stored)
    : state_(std::make_unique<SaverState>()),
      device_(options.format, *this) {
    Settings& settings = state_->settings;
    if (stored) LoadSettings(settings, stored->store, stored->folders);
    else ApplyFallbackDefaults(settings);  // what a first run loads from an empty store
    for (const auto& [name, value] : options.overrides) applySettingOverride(settings, name, value);
    settings.NURimages.insert(settings.NURimages.end(), options.pictures.begin(), options.pictures.end());

    prepareFlight(*state_, *makePlatformPictureDecoder());
    startResult_ = state_->renderer.init(device_, nullptr, options.width, options.height);
}

HeadlessRun::~HeadlessRun() { state_->renderer.release(); }

void HeadlessRun::tick() {
    if (startResult_ == 0) runFrame(*state_);
}
