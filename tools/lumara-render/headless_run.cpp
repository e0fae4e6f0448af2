#include "headless_run.h"

#include <cstring>

#include "render/view.h"
#include "settings/settings_store.h"
#include "starfield/motion_parameters.h"

bool applySettingOverride(Settings& s, const std::string& name, int32_t value) {
    if (name == "StarsCount") s.StarsCount = value;
    else if (name == "MoveSpeed") s.MoveSpeed = value;
    else if (name == "RotSpeed") s.RotSpeed = value;
    else if (name == "Smoothness") s.Smoothness = value;
    else if (name == "RoamFreq") s.RoamFreq = value;
    else if (name == "RoamMagn") s.RoamMagn = value;
    else if (name == "Clouds") s.Clouds = value;
    else if (name == "AntiAliase") s.AntiAliase = value;
    else if (name == "UseNUR") s.UseNUR = value != 0;
    else return false;
    return true;
}

HeadlessRun::HeadlessRun(const RenderOptions& options, const SettingsSource* stored)
    : state_(std::make_unique<SaverState>()) {
    Settings& settings = state_->settings;
    if (stored) LoadSettings(settings, stored->store, stored->folders);
    else ApplyFallbackDefaults(settings);  // what a first run loads from an empty store
    for (const auto& [name, value] : options.overrides) applySettingOverride(settings, name, value);
    settings.NURimages.insert(settings.NURimages.end(), options.pictures.begin(), options.pictures.end());

    StarField& field = state_->starField;
    buildStarField(field, settings.StarsCount, PointStar());
    deriveMotionParameters(field, settings);

    setViewSize(field, options.width, options.height);
    field.pixelFormat = options.format;
    if (const int n = splatWidthForMode(field.antiAlias)) splat_ = buildSplatTable(n);

    // Rows padded past their pixels, as locked surfaces often are, so that
    // code walking rows by width instead of pitch shows its fault here.
    const int32_t rowBytes = options.width * bytesPerPixel(options.format);
    frame_.pitch = (rowBytes + 16 + 63) / 64 * 64;
    storage_.assign(static_cast<size_t>(frame_.pitch) * static_cast<size_t>(options.height), 0);
    frame_.pixels = storage_.data();
    frame_.width = options.width;
    frame_.height = options.height;
    frame_.format = options.format;
}

void HeadlessRun::tick() {
    StarField& field = state_->starField;
    std::memset(storage_.data(), 0, storage_.size());
    field.canvas.frame = frame_;
    field.canvas.splat = splat_.splatWidth ? &splat_ : nullptr;
    stepStarField(field);
    field.canvas.frame = FrameTarget{};
}
