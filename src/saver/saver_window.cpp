#include "saver/saver_window.h"

#include <algorithm>
#include <climits>

#include "render/renderer.h"
#include "saver/background_sound.h"
#include "saver/flight.h"
#include "saver/saver_state.h"
#include "settings/settings_store.h"

uint32_t frameTimerPeriod(int32_t smoothness) {
    const int64_t period = 100 - int64_t{smoothness};
    return period <= 0 ? 0u : static_cast<uint32_t>(std::min<int64_t>(period, INT32_MAX));
}

intptr_t SaverWindow::saverWindowProc(WindowHandle window, const Message& m) {
    const bool preview = shell_->previewMode();
    switch (m.id) {
    case msg::kCreate:
        if (preview) services_.window.loadPreviewPicture();
        else create(window);
        return 1;
    case msg::kEraseBackground:
        if (rendererWindow_ == 0 && !preview) eraseBackground(window);
        else services_.window.paintPreviewPicture(window);
        return 1;
    case msg::kPaint:
        if (preview) services_.window.paintPreviewPicture(window);
        shell_->defaultSaverProc(window, m);
        return 1;
    case msg::kTimer:
        if (rendererWindow_ != 0) runFrame(state_);
        return 1;
    case msg::kSize:
        if (shell_->hackMode() && rendererWindow_ != 0) followSize(window);
        else shell_->defaultSaverProc(window, m);
        return 1;
    case msg::kDestroy:
        stopBackgroundSound(services_.sound);
        services_.window.killTimer(window, frameTimer_);
        return 1;
    case msg::kVerifyRequest: return shell_->defaultSaverProc(window, m);
    default: shell_->defaultSaverProc(window, m); return 1;
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

void SaverWindow::eraseBackground(WindowHandle window) {
    rendererWindow_ = window;
    const ScreenRect rect = services_.window.windowRect(window);
    const int32_t result =
        state_.renderer.init(services_.device, reinterpret_cast<const void*>(window), rect.width, rect.height);
    if (result != 0) services_.window.exitProcess(result);
}

// The flight keeps going; only the view and the frame surfaces are made
// anew at the window's new size. A window shrunk to nothing keeps the last.
void SaverWindow::followSize(WindowHandle window) {
    const ScreenRect rect = services_.window.windowRect(window);
    const StarField::RendererView& view = state_.starField.view;
    if (rect.width < 1 || rect.height < 1 || (rect.width == view.width && rect.height == view.height)) return;
    const int32_t result =
        state_.renderer.init(services_.device, reinterpret_cast<const void*>(window), rect.width, rect.height);
    if (result != 0) services_.window.exitProcess(result);
}
