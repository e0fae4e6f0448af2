#include "platform/linux/x11/sdl_host.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/linux/session/ending_signals.h"
#include "settings/setting_options.h"

namespace {

constexpr uint32_t kShortestTimerPeriod = kShortestFramePeriod;  // ms; a period of 0 runs at this

WindowHandle x11Handle(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) return static_cast<WindowHandle>(info.info.x11.window);
#endif
    return reinterpret_cast<WindowHandle>(window);
}

// SDL's connection to the X server, which its window's events come through.
Display* x11Display(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info)) return nullptr;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) return info.info.x11.display;
#endif
    return nullptr;
}

SDL_Rect sdlRect(const ScreenRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

SdlHost::SdlHost(std::span<const uint8_t> previewPicture) : previewBytes_(previewPicture) {}

SdlHost::~SdlHost() { destroyWindow(); }

int32_t SdlHost::desktopFormat() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return kFormatX8R8G8B8;
    switch (mode.format) {
    case SDL_PIXELFORMAT_ARGB8888: return kFormatA8R8G8B8;
    case SDL_PIXELFORMAT_RGB565: return kFormatR5G6B5;
    case SDL_PIXELFORMAT_RGB555: return kFormatX1R5G5B5;
    default: return kFormatX8R8G8B8;  // SDL converts any other display format from this
    }
}

bool SdlHost::isWindow(WindowHandle window) {
    return window != 0 && (window == queue_.window() || x11_.exists(window));
}

void SdlHost::setForegroundWindow(WindowHandle window) {
    // The other instance was already asked to come forward when it was found.
    if (window == queue_.window() && window_) SDL_RaiseWindow(window_);
}

WindowHandle SdlHost::parentOf(WindowHandle) { return parent_; }

WindowHandle SdlHost::findRunningSaver() { return instance_.claimOrRaiseRunning() ? 0 : kRunningSaver; }

ScreenRect SdlHost::virtualScreen() {
    int left = 0, top = 0, right = 0, bottom = 0;
    const int displays = SDL_GetNumVideoDisplays();
    for (int i = 0; i < displays; ++i) {
        SDL_Rect r;
        if (SDL_GetDisplayBounds(i, &r) != 0) continue;
        if (i == 0 || r.x < left) left = i == 0 ? r.x : std::min(left, r.x);
        if (i == 0 || r.y < top) top = i == 0 ? r.y : std::min(top, r.y);
        right = std::max(right, r.x + r.w);
        bottom = std::max(bottom, r.y + r.h);
    }
    return {left, top, right - left, bottom - top};
}

ScreenRect SdlHost::screenClipBox() {
    SDL_Rect r{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

ScreenRect SdlHost::clientRect(WindowHandle window) {
    int32_t w = 0, h = 0;
    if (window == queue_.window() && window_ && !parent_) SDL_GetWindowSize(window_, &w, &h);
    else x11_.size(window, w, h);
    return {0, 0, w, h};
}

ScreenRect SdlHost::windowRect(WindowHandle window) { return clientRect(window); }

WindowHandle SdlHost::createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) {
    parent_ = layout.parent;
    hack_ = layout.hack;
    // The window's surface straight into X11 shared memory: SDL would
    // otherwise put a renderer behind it, which on a machine without a
    // graphics driver renders every frame again in software.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    int32_t width = 0, height = 0;
    if (parent_ && x11_.size(parent_, width, height) && !drawableSize(width, height)) return 0;
    if (hack_ && parent_) {
        // The daemon's window: drawn into as it is, never changed.
        X11Windows::tolerateLoss(parent_);
        if (!attachToPane()) return 0;
    } else if (parent_) {
        // The preview draws its picture through a renderer (a window's
        // surface and a renderer cannot share it).
        window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(parent_));
        renderer_ = window_ ? SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE) : nullptr;
        if (!renderer_) {
            destroyWindow();
            return 0;
        }
    } else if (hack_) {
        window_ = SDL_CreateWindow(layout.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, layout.rect.width,
                                   layout.rect.height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    } else {
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        window_ = SDL_CreateWindow(layout.title, layout.rect.left, layout.rect.top, layout.rect.width, layout.rect.height,
                                   SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR |
                                       SDL_WINDOW_HIDDEN);
    }
    if (!window_) return 0;
    xDisplay_ = x11Display(window_);
    if (!parent_) presenter_ = std::make_unique<X11FramePresenter>(xDisplay_, x11Handle(window_));
    // The pane's or the daemon's window tells of its changes: the loop
    // sleeps until one comes.
    if (parent_ && !x11_.watch(parent_)) {
        destroyWindow();
        return 0;
    }
    queue_.open(parent_ ? parent_ : x11Handle(window_), procedure);
    // The messages a new window receives, in their order.
    queue_.deliver(Message{msg::kCreate, 0, 0});
    if (!window_) return 0;
    if (!parent_) SDL_ShowWindow(window_);
    queue_.deliver(Message{msg::kShowWindow, 1, 0});
    queue_.deliver(Message{msg::kEraseBackground, 0, 0});
    queue_.deliver(Message{msg::kPaint, 0, 0});
    return queue_.window();
}

// SDL learns a foreign window's size only when it takes the window on, so
// the hack's window is taken on afresh whenever its size changed.
bool SdlHost::attachToPane() {
    presenter_.reset();
    shownWhole_ = false;
    if (window_) SDL_DestroyWindow(window_);  // SDL leaves a window it did not make alone
    window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(parent_));
    if (!window_) return false;
    SDL_GetWindowSize(window_, &paneWidth_, &paneHeight_);
    xDisplay_ = x11Display(window_);
    presenter_ = std::make_unique<X11FramePresenter>(xDisplay_, parent_);
    return true;
}

// The preview and the hack end with their window; the hack's frame
// follows the window's size up to the bound.
void SdlHost::followPane() {
    int32_t width = 0, height = 0;
    if (X11Windows::windowLost() || !x11_.size(parent_, width, height)) {
        queue_.deliver(Message{msg::kDestroy, 0, 0});
        window_ = nullptr;  // it belonged to the pane and is gone
        xDisplay_ = nullptr;
        renderer_ = nullptr;
        presenter_.reset();
        previewTexture_ = nullptr;
        return;
    }
    shownWhole_ = false;  // a window moved, mapped or resized may have lost its picture
    if (!hack_ || (width == paneWidth_ && height == paneHeight_)) return;
    if (!drawableSize(width, height)) endTooLarge();
    else if (attachToPane()) queue_.deliver(msg::size(width, height));
}

// A frame as large as the window, beyond the bound, would cost gigabytes
// (the window's image alone is as large): said, and the run is not begun
// or is ended.
bool SdlHost::drawableSize(int32_t width, int32_t height) {
    if (width <= kLargestFrameSide && height <= kLargestFrameSide) return true;
    failure_ = "the window is " + std::to_string(width) + "x" + std::to_string(height) + ", larger than the " +
               std::to_string(kLargestFrameSide) + "x" + std::to_string(kLargestFrameSide) + " Lumara draws at most";
    return false;
}

void SdlHost::endTooLarge() {
    queue_.deliver(Message{msg::kDestroy, 0, 0});
    destroyWindow();
    postQuit(-1);
}

int SdlHost::runMessageLoop() {
    while (!queue_.quitting()) {
        if (queue_.deliverPosted(window_ != nullptr)) continue;
        SDL_Event event;
        if (takeEvent(event)) dispatch(event);
        else waitAndFollow();
        // A daemon's window that went shows as an X error after a frame
        // drawn into it: the run ends without another.
        if (parent_ && window_ && X11Windows::windowLost()) followPane();
    }
    return queue_.end();
}

// An event SDL already holds, or one Xlib read while SDL awaited an answer
// (the frame's put waits for one): no wait would see those come.
bool SdlHost::takeEvent(SDL_Event& event) {
    if (xDisplay_ && XEventsQueued(static_cast<Display*>(xDisplay_), QueuedAlready) > 0) SDL_PumpEvents();
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
}

// Sleeps until the X server, the frame timer, an ending signal, another
// instance or a change of the pane's window wakes it, then follows each
// that did. Between frames this is the one wait: no timeout, no polling.
void SdlHost::waitAndFollow() {
    enum { kX11, kTimer, kSignal, kInstance, kPane, kCount };
    std::array<pollfd, kCount> waits{};
    waits[kX11] = {xDisplay_ ? ConnectionNumber(static_cast<Display*>(xDisplay_)) : -1, POLLIN, 0};
    waits[kTimer] = {timer_.fd(), POLLIN, 0};
    waits[kSignal] = {endingSignalDescriptor(), POLLIN, 0};
    waits[kInstance] = {instance_.descriptor(), POLLIN, 0};
    waits[kPane] = {parent_ && window_ ? x11_.descriptor() : -1, POLLIN, 0};
    const bool paneQueued = waits[kPane].fd >= 0 && x11_.changesQueued();
    const bool signalWaiting = endingSignal() && !signalClosed_;
    if (xDisplay_) XFlush(static_cast<Display*>(xDisplay_));
    if (!paneQueued && !signalWaiting && poll(waits.data(), waits.size(), -1) < 0) return;  // a signal: looked at next
    if (waits[kSignal].revents) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t taken = read(waits[kSignal].fd, &count, sizeof count);
    }
    // Before the frame: a window that went ends the run without another
    // frame drawn for it (a large one takes long).
    if (paneQueued || waits[kPane].revents) {
        if (x11_.takeChanges() && parent_ && window_) followPane();
    }
    // SIGTERM or SIGINT closes the window as SDL's quit event does.
    if (endingSignal() && !signalClosed_) {
        signalClosed_ = true;
        queue_.deliver(Message{msg::kClose, 0, 0});
    }
    if (waits[kInstance].revents && instance_.raiseRequested() && window_) SDL_RaiseWindow(window_);
    if (waits[kX11].revents) SDL_PumpEvents();
    if (waits[kTimer].revents && timer_.takeTick() && !queue_.quitting())
        queue_.deliver(Message{msg::kTimer, timerId_, 0});
}

void SdlHost::dispatch(const SDL_Event& e) {
    if (queue_.quitting()) return;
    switch (e.type) {
    case SDL_KEYDOWN: queue_.deliver(Message{(e.key.keysym.mod & KMOD_ALT) ? msg::kSysKeyDown : msg::kKeyDown, 0, 0}); break;
    case SDL_MOUSEBUTTONDOWN:
        queue_.deliver(Message{e.button.button == SDL_BUTTON_RIGHT    ? msg::kRButtonDown
                        : e.button.button == SDL_BUTTON_MIDDLE ? msg::kMButtonDown
                                                               : msg::kLButtonDown,
                        0, 0});
        break;
    case SDL_MOUSEMOTION: queue_.deliver(Message{msg::kMouseMove, 0, 0}); break;
    case SDL_QUIT: queue_.deliver(Message{msg::kClose, 0, 0}); break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) queue_.deliver(Message{msg::kActivateApp, 0, 0});
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            shownWhole_ = false;  // what was covered shows nothing of the frame
            queue_.deliver(Message{msg::kPaint, 0, 0});
        } else if (e.window.event == SDL_WINDOWEVENT_SHOWN) shownWhole_ = false;
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && hack_) {
            shownWhole_ = false;
            if (drawableSize(e.window.data1, e.window.data2)) queue_.deliver(msg::size(e.window.data1, e.window.data2));
            else endTooLarge();
        }
        break;
    default: break;
    }
}

void SdlHost::postQuit(int code) { queue_.quit(code); }

intptr_t SdlHost::defaultWindowProc(WindowHandle, const Message& message) {
    if (message.id == msg::kClose) {
        queue_.deliver(Message{msg::kDestroy, 0, 0});
        destroyWindow();
    }
    return 0;
}

void SdlHost::destroyWindow() {
    presenter_.reset();
    shownWhole_ = false;
    if (previewTexture_) SDL_DestroyTexture(previewTexture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    previewTexture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    xDisplay_ = nullptr;
}

void SdlHost::postMessage(WindowHandle window, const Message& message) { queue_.post(window, message); }

intptr_t SdlHost::sendMessage(WindowHandle window, const Message& message) { return queue_.send(window, message); }

// Asked of X11 itself: SDL's global mouse state is a cached value that
// ordinary pointer motion does not always refresh.
ScreenPoint SdlHost::cursorPosition() {
    int32_t x = 0, y = 0;
    if (!x11_.pointer(x, y)) SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
}

// Gives the processor up only to a thread that waits for it: SDL_Delay(0)
// sleeps, which costs a wake-up every frame.
void SdlHost::yieldTimeSlice() { sched_yield(); }

void SdlHost::hideCursor() { SDL_ShowCursor(SDL_DISABLE); }

uint8_t SdlHost::acLineStatus() {
    switch (SDL_GetPowerInfo(nullptr, nullptr)) {
    case SDL_POWERSTATE_ON_BATTERY: return 0;
    case SDL_POWERSTATE_NO_BATTERY:
    case SDL_POWERSTATE_CHARGING:
    case SDL_POWERSTATE_CHARGED: return 1;
    default: return 255;
    }
}

uint32_t SdlHost::setTimer(WindowHandle, uint32_t id, uint32_t periodMs) {
    timerId_ = id;
    return timer_.start(std::max(periodMs, kShortestTimerPeriod)) ? id : 0;
}

void SdlHost::killTimer(WindowHandle, uint32_t id) {
    if (id != 0 && id == timerId_) timer_.stop();
}

void SdlHost::loadPreviewPicture() {
    if (!renderer_ || previewTexture_) return;
    SDL_Surface* picture = SDL_LoadBMP_RW(SDL_RWFromConstMem(previewBytes_.data(), static_cast<int>(previewBytes_.size())), 1);
    if (!picture) return;  // no picture: the pane stays black
    previewTexture_ = SDL_CreateTextureFromSurface(renderer_, picture);
    SDL_FreeSurface(picture);
}

void SdlHost::paintPreviewPicture(WindowHandle) {
    if (!renderer_) return;
    const SDL_Rect area = sdlRect(kPreviewArea), picture = sdlRect(kPreviewPicture);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderFillRect(renderer_, &area);
    if (previewTexture_) SDL_RenderCopy(renderer_, previewTexture_, nullptr, &picture);
    SDL_RenderPresent(renderer_);
}

FrameTarget SdlHost::lendFrame(int32_t width, int32_t height, int32_t format) {
    return presenter_ ? presenter_->lend(width, height, format) : FrameTarget{};
}

void SdlHost::showFrame(const FrameTarget& frame) {
    if (presenter_) presenter_->show(frame, {}, true);
    shownWhole_ = presenter_ != nullptr;
}

void SdlHost::showChanged(const FrameTarget& frame, FrameDamage& changed) {
    if (!shownWhole_ || changed.whole() || changed.width() != frame.width || changed.height() != frame.height)
        return showFrame(frame);
    if (presenter_) presenter_->show(frame, changed.rects(), false);
}
