#include "saver/saver_window.h"

#include <algorithm>
#include <chrono>
#include <climits>

#include "render/renderer.h"
#include "saver/background_sound.h"
#include "saver/flight.h"
#include "saver/frame_tick.h"
#include "saver/hack_command.h"
#include "saver/saver_state.h"
#include "settings/settings_store.h"

uint32_t frameTimerPeriod(int32_t smoothness) {
    const int64_t period = 100 - int64_t{smoothness};
    return period <= 0 ? 0u : static_cast<uint32_t>(std::min<int64_t>(period, INT32_MAX));
}

bool SaverWindow::handle(WindowHandle window, const Message& m) {
    const bool preview = mode_ == SaverWindowMode::Preview;
    switch (m.id) {
    case msg::kCreate:
        if (preview) services_.window.loadPreviewPicture();
        else create(window);
        return true;
    case msg::kEraseBackground:
        if (rendererWindow_ == 0 && !preview) startRenderer(window);
        else services_.window.paintPreviewPicture(window);
        return true;
    case msg::kPaint:
        if (preview) services_.window.paintPreviewPicture(window);
        return false;
    case msg::kTimer:
        if (!rendererRunning_) return true;
        if (showFrameRate_) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            frameRate_.countFrame(static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
        }
        runFrame(state_, showFrameRate_ ? &frameRate_ : nullptr);
        return true;
    case msg::kSize:
    case msg::kScreenResized: {
        const auto follows = m.id == msg::kSize ? SaverWindowMode::Hack : SaverWindowMode::FullScreen;
        if (mode_ != follows || !rendererRunning_) return false;
        followSize(window);
        return true;
    }
    case msg::kDestroy:
        stopBackgroundSound(services_.sound);
        services_.window.killTimer(window, frameTimer_);
        return true;
    default: return false;
    }
}

void SaverWindow::create(WindowHandle window) {
    Settings& settings = state_.settings;
    LoadSettings(settings, services_.store, services_.folders);
    applyOverrides(settings, overrides_);
    startBackgroundSound(settings, services_.sound);
    prepareFlight(state_, services_.pictures);
    frameTimer_ = services_.window.setTimer(window, kFrameTimerId, frameTimerPeriod(settings.Smoothness));
}

// A renderer that cannot start ends the run with its result, and the
// window draws nothing until then.
void SaverWindow::startRenderer(WindowHandle window) {
    rendererWindow_ = window;
    const ScreenRect rect = services_.window.windowRect(window);
    const int32_t result =
        state_.renderer.init(services_.device, reinterpret_cast<const void*>(window), rect.width, rect.height);
    rendererRunning_ = result == kResultOk;
    if (!rendererRunning_) services_.window.postQuit(result);
}

// The flight keeps going; only the view and the frame surfaces are made
// anew at the window's new size. A window shrunk to nothing keeps the last.
void SaverWindow::followSize(WindowHandle window) {
    const ScreenRect rect = services_.window.windowRect(window);
    const StarField::RendererView& view = state_.starField.view;
    if (rect.width < 1 || rect.height < 1 || (rect.width == view.width && rect.height == view.height)) return;
    startRenderer(window);
}
