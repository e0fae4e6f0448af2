#include "platform/linux/wayland/wayland_host.h"

#include <poll.h>
#include <sched.h>
#include <wayland-client.h>

#include <algorithm>
#include <string>

#include "saver/messages.h"
#include "settings/setting_options.h"

namespace {

constexpr uint32_t kShortestTimerPeriod = kShortestFramePeriod;  // ms; a period of 0 runs at this
// The focus moving from one saver surface to another arrives as a leave and
// an enter; a leave not followed by an enter within this time is a loss.
constexpr uint32_t kFocusMoveTime = 100;  // ms
// Round trips to wait for every surface's first size.
constexpr int kConfigureRoundTrips = 4;
// The rectangles a frame's damage is told in, at most: a few hundred bytes
// of requests, sent at once, and few enough for wlroots to redraw them
// rather than the box around them all.
constexpr size_t kMostDamagedParts = 8;

}  // namespace

WaylandHost::WaylandHost() : instance_(display_.sessionName()) {
    if (!display_.connected()) return;
    InputTarget& target = *this;
    for (const SeatGlobal& seat : display_.seats())
        seats_.push_back(std::make_unique<WaylandSeat>(display_.registry(), seat, target));
    display_.outputAdded = [this](WaylandOutput&) { outputAdded_ = true; };
    display_.outputRemoved = [this](WaylandOutput& output) { removedOutputs_.push_back(output.name); };
    // The seats' capabilities, so input is watched from the first frame on.
    display_.roundTrip();
}

WaylandHost::~WaylandHost() {
    surfaces_.clear();
    seats_.clear();
    if (display_.connected()) wl_display_flush(display_.display());
}

bool WaylandHost::anySeatFocus(WaylandSeat::Focus focus) const {
    return std::any_of(seats_.begin(), seats_.end(), [focus](const auto& s) { return s->focus() == focus; });
}

std::string WaylandHost::failure() const {
    return display_.connected() ? failure_ : "no display to run on (" + display_.failure() + ")";
}

WindowHandle WaylandHost::foregroundWindow() { return anySeatFocus(WaylandSeat::Focus::Saver) ? queue_.window() : 0; }

WindowHandle WaylandHost::findRunningSaver() { return instance_.claimOrRaiseRunning() ? 0 : kRunningSaver; }

ScreenRect WaylandHost::screenClipBox() {
    for (const auto& output : display_.outputs())
        if (output->layout.width > 0 && output->layout.height > 0) return output->layout;
    return {};
}

ScreenRect WaylandHost::clientRect(WindowHandle window) {
    return isWindow(window) ? ScreenRect{0, 0, frame_.width, frame_.height} : ScreenRect{};
}

WindowHandle WaylandHost::createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) {
    // The preview pane and a daemon's window are X11's.
    if (layout.parent != 0 || layout.hack || !display_.connected()) return 0;
    frame_ = layout.rect;
    outputAdded_ = false;  // the outputs known now are the ones covered
    for (const auto& output : display_.outputs()) {
        const ScreenRect& r = output->layout;
        if (r.width <= 0 || r.height <= 0) continue;
        const ScreenRect part{r.left - frame_.left, r.top - frame_.top, r.width, r.height};
        surfaces_.push_back(std::make_unique<OutputSurface>(display_, *output, part, layout.title));
    }
    const auto configured = [this] {
        return std::all_of(surfaces_.begin(), surfaces_.end(), [](const auto& s) { return s->configured(); });
    };
    for (int i = 0; i < kConfigureRoundTrips && !configured(); ++i)
        if (!display_.roundTrip()) break;
    std::erase_if(surfaces_, [](const auto& s) { return !s->configured(); });
    if (!display_.connected()) return 0;  // failure() says why
    if (surfaces_.empty()) {
        failure_ = "the compositor gave the saver no surface to draw on";
        return 0;
    }
    queue_.open(kSaverWindow, procedure);
    // The messages a new window receives, in their order.
    queue_.deliver(Message{msg::kCreate, 0, 0});
    queue_.deliver(Message{msg::kShowWindow, 1, 0});
    queue_.deliver(Message{msg::kEraseBackground, 0, 0});
    queue_.deliver(Message{msg::kPaint, 0, 0});
    return queue_.window();
}

int WaylandHost::runMessageLoop() {
    while (!queue_.quitting()) {
        if (queue_.deliverPosted()) continue;
        if (!waitAndDispatch()) {
            connectionLost();
            break;
        }
        if (signals_.take() && queue_.window()) postMessage(queue_.window(), Message{msg::kClose, 0, 0});
        followOutputs();
        followLayout();
        followFocus();
        // A frame falls due at the timer's tick and waits until a surface
        // has shown the last one, but never past the next tick: where the
        // compositor shows fewer frames than the setting asks for (or none),
        // the flight, counted in frames, keeps the setting's period.
        if (timer_.takeTick()) {
            if (frameDue_) queue_.deliver(Message{msg::kTimer, timerId_, 0});
            frameDue_ = true;
        }
        if (frameDue_ && compositorShowedLastFrame()) {
            frameDue_ = false;
            queue_.deliver(Message{msg::kTimer, timerId_, 0});
        }
        // Nothing to raise: the saver's surfaces are above everything.
        instance_.raiseRequested();
    }
    return queue_.end();
}

// Waits for the compositor, the timer, a signal or another instance and
// handles every event that came; false when the connection is gone. Only
// while the keyboard focus is leaving does the wait end by itself, when the
// focus counts as lost.
bool WaylandHost::waitAndDispatch() {
    pollfd others[3] = {{timer_.fd(), POLLIN, 0}, {signals_.fd(), POLLIN, 0}, {instance_.descriptor(), POLLIN, 0}};
    int timeout = -1;
    if (focusLeaving_ && !focusLostSent_) {
        const uint32_t passed = FrameTimer::now() - focusLeftAt_;
        timeout = passed >= kFocusMoveTime ? 0 : static_cast<int>(kFocusMoveTime - passed);
    }
    return display_.dispatch(timeout, others);
}

// An output that goes takes its surface with it; the others fly on. One
// that comes ends the run as input would.
void WaylandHost::followOutputs() {
    std::erase_if(surfaces_, [this](const auto& s) {
        return s->closed() || std::find(removedOutputs_.begin(), removedOutputs_.end(), s->outputName()) !=
                                  removedOutputs_.end();
    });
    removedOutputs_.clear();
    const bool closeRequested =
        std::any_of(surfaces_.begin(), surfaces_.end(), [](const auto& s) { return s->closeRequested(); });
    if (queue_.window() && !closeAsked_ && (outputAdded_ || closeRequested)) {
        closeAsked_ = true;
        postMessage(queue_.window(), Message{msg::kClose, 0, 0});
    }
}

// An output's new mode or scale moves the layout: the frame is laid out
// anew over the outputs as they are now, each surface shows its new part,
// and the saver window's frame follows the new size. Without this, a single
// output would go on lending buffers of its new size to a frame of the old
// one, and no frame would be drawn. An output that goes moves nothing: the
// others keep their parts of the frame.
void WaylandHost::followLayout() {
    const auto partOf = [this](const OutputSurface& surface, ScreenRect& part) {
        for (const auto& output : display_.outputs()) {
            const ScreenRect& r = output->layout;
            if (output->name != surface.outputName() || r.width <= 0 || r.height <= 0) continue;
            part = {r.left - frame_.left, r.top - frame_.top, r.width, r.height};
            return true;
        }
        return false;
    };
    ScreenRect part;
    const auto moved = [&](const auto& surface) { return partOf(*surface, part) && part != surface->part(); };
    if (!queue_.window() || std::none_of(surfaces_.begin(), surfaces_.end(), moved)) return;
    frame_ = display_.bounds();
    for (const auto& surface : surfaces_)
        if (partOf(*surface, part)) surface->setPart(part);
    queue_.deliver(Message{msg::kScreenResized, 0, 0});
}

// The keyboard focus counts as lost once it has left the saver's surfaces
// for something else and not come back to one of them for kFocusMoveTime:
// moving between the saver's surfaces does not count.
void WaylandHost::followFocus() {
    if (anySeatFocus(WaylandSeat::Focus::Saver) || !anySeatFocus(WaylandSeat::Focus::Elsewhere)) {
        focusLeaving_ = false;
        return;
    }
    const uint32_t now = FrameTimer::now();
    if (!focusLeaving_) {
        focusLeaving_ = true;
        focusLeftAt_ = now;
    } else if (now - focusLeftAt_ >= kFocusMoveTime && !focusLostSent_) {
        focusLostSent_ = true;
        queue_.deliver(Message{msg::kActivateApp, 0, 0});
    }
}

// failure() says why, with the compositor's name.
void WaylandHost::connectionLost() {
    queue_.deliver(Message{msg::kDestroy, 0, 0});
    closeWindow();
    postQuit(1);
}

void WaylandHost::postQuit(int code) { queue_.quit(code); }

intptr_t WaylandHost::defaultWindowProc(WindowHandle, const Message& message) {
    if (message.id == msg::kClose && queue_.window()) {
        queue_.deliver(Message{msg::kDestroy, 0, 0});
        closeWindow();
    }
    return 0;
}

bool WaylandHost::compositorShowedLastFrame() const {
    return surfaces_.empty() ||
           !std::all_of(surfaces_.begin(), surfaces_.end(), [](const auto& s) { return s->showPending(); });
}

void WaylandHost::closeWindow() {
    timer_.stop();
    frameDue_ = false;
    surfaces_.clear();
    queue_.close();
    if (display_.connected()) wl_display_flush(display_.display());
}

void WaylandHost::postMessage(WindowHandle window, const Message& message) { queue_.post(window, message); }

intptr_t WaylandHost::sendMessage(WindowHandle window, const Message& message) {
    return queue_.send(window, message);
}

ScreenPoint WaylandHost::cursorPosition() {
    for (const auto& seat : seats_)
        if (seat->pointerSeen()) return seat->pointer();
    return {};
}

void WaylandHost::hideCursor() {
    for (const auto& seat : seats_) seat->hideCursor();
}

void WaylandHost::yieldTimeSlice() { sched_yield(); }

uint32_t WaylandHost::setTimer(WindowHandle, uint32_t id, uint32_t periodMs) {
    timerId_ = id;
    return timer_.start(std::max(periodMs, kShortestTimerPeriod)) ? id : 0;
}

void WaylandHost::killTimer(WindowHandle, uint32_t id) {
    if (id == 0 || id != timerId_) return;
    timer_.stop();
    frameDue_ = false;
}

void WaylandHost::removePendingTimers(WindowHandle, int) {
    timer_.takeTick();
    frameDue_ = false;
}

bool WaylandHost::surfaceOrigin(wl_surface* surface, ScreenPoint& origin) {
    for (const auto& s : surfaces_)
        if (surface && s->surface() == surface) {
            origin = {s->part().left, s->part().top};
            return true;
        }
    return false;
}

void WaylandHost::inputMessage(const Message& message) {
    if (queue_.window()) queue_.post(queue_.window(), message);
}

FrameTarget WaylandHost::lendFrame(int32_t width, int32_t height, int32_t format) {
    if (format != kFrameFormat || surfaces_.size() != 1) return {};
    return surfaces_.front()->lend(width, height, last_);
}

// Not after a frame no output showed: the device's last frame is not last_.
bool WaylandHost::lentFrameIsLast() {
    return !frameMissed_ && surfaces_.size() == 1 && surfaces_.front()->bringLentTo(last_);
}

void WaylandHost::showFrame(const FrameTarget& frame) { present(frame, {}, true); }

// After a frame no output showed, the next is handed over whole: what
// changed since the last one shown is not known.
void WaylandHost::showChanged(const FrameTarget& frame, FrameDamage& changed) {
    const bool whole =
        frameMissed_ || changed.whole() || changed.width() != frame.width || changed.height() != frame.height;
    present(frame, whole ? std::span<const FrameDamage::Rect>{} : changed.rects(), whole);
}

// On every output at once, or, while an output's compositor still reads
// both of its buffers, on none: the outputs never show different frames.
void WaylandHost::present(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole) {
    frameMissed_ = !std::all_of(surfaces_.begin(), surfaces_.end(), [](const auto& s) { return s->ready(); });
    if (frameMissed_) return;
    if (bands_.width() != frame.width || bands_.height() != frame.height) {
        // Once per frame size, so that no frame allocates; what the last
        // frame changed means nothing at the new size.
        last_ = FrameChange{last_.serial, true, {}, {}};
        bands_.resize(frame.width, frame.height);
        lastChanged_.reserve(FrameDamage::mostRects(frame.width, frame.height));
    }
    const FrameChange now{last_.serial + 1, whole, changed,
                          whole ? std::span<const FrameDamage::Rect>{} : bands_.cover(changed, kMostDamagedParts)};
    for (const auto& surface : surfaces_) surface->show(frame, now, last_);
    wl_display_flush(display_.display());
    lastChanged_.assign(changed.begin(), changed.end());
    last_ = FrameChange{now.serial, whole, lastChanged_, {}};
}
