#include "platform/linux/x11/x11_frame_presenter.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

uint32_t sdlFormat(int32_t format) {
    switch (format) {
    case kFormatA8R8G8B8: return SDL_PIXELFORMAT_ARGB8888;
    case kFormatR5G6B5: return SDL_PIXELFORMAT_RGB565;
    case kFormatX1R5G5B5: return SDL_PIXELFORMAT_RGB555;
    default: return SDL_PIXELFORMAT_RGB888;
    }
}

// Whether attaching the shared memory failed: the server answers with an
// error (a server across the network cannot reach the memory), which would
// otherwise end the process.
bool attachFailed = false;
int noteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

bool bigEndianHost() {
    const uint16_t one = 1;
    uint8_t first = 0;
    std::memcpy(&first, &one, 1);
    return first == 0;
}

}  // namespace

struct X11FramePresenter::Image {
    Display* display = nullptr;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};  // shmid -1 without shared memory
    std::vector<uint8_t> ownPixels;  // the pixels without shared memory
    std::vector<XRectangle> clip;    // the changed parts, sized for the image
    uint32_t sdlFormat = 0;          // the image's pixels in SDL's terms

    ~Image() {
        if (segment.shmaddr) {
            XShmDetach(display, &segment);
            XSync(display, False);  // the server lets go before the memory does
            shmdt(segment.shmaddr);
        }
        if (image) {
            image->data = nullptr;  // the memory is the segment's or ownPixels
            XDestroyImage(image);
        }
        if (gc) XFreeGC(display, gc);
    }
};

X11FramePresenter::X11FramePresenter(void* display, uintptr_t window) : display_(display), window_(window) {}

X11FramePresenter::~X11FramePresenter() = default;

// The image of width x height in the window's visual, in shared memory when
// the server takes it. False when the window cannot be asked or the memory
// not had: then nothing is shown.
bool X11FramePresenter::makeImage(int32_t width, int32_t height) {
    image_.reset();
    shared_ = false;
    auto* display = static_cast<Display*>(display_);
    XWindowAttributes window{};
    if (!display || !XGetWindowAttributes(display, window_, &window)) return false;
    auto made = std::make_unique<Image>();
    made->display = display;
    made->segment.shmid = -1;
    if (XShmQueryExtension(display)) {
        made->image = XShmCreateImage(display, window.visual, static_cast<unsigned>(window.depth), ZPixmap, nullptr,
                                      &made->segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (made->image) {
            made->segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(made->image->bytes_per_line) * height,
                                         IPC_CREAT | 0600);
            void* address = made->segment.shmid >= 0 ? shmat(made->segment.shmid, nullptr, 0) : nullptr;
            if (address != nullptr && address != reinterpret_cast<void*>(-1)) {
                made->segment.shmaddr = made->image->data = static_cast<char*>(address);
                made->segment.readOnly = True;
                XSync(display, False);
                attachFailed = false;
                const auto previous = XSetErrorHandler(noteAttachError);
                XShmAttach(display, &made->segment);
                XSync(display, False);
                XSetErrorHandler(previous);
                if (attachFailed) {
                    shmdt(address);
                    made->segment.shmaddr = nullptr;
                }
            }
            // Gone once both sides let go, so no segment outlives the run.
            if (made->segment.shmid >= 0) shmctl(made->segment.shmid, IPC_RMID, nullptr);
            shared_ = made->segment.shmaddr != nullptr;
            if (!shared_) {
                made->image->data = nullptr;
                XDestroyImage(made->image);
                made->image = nullptr;
            }
        }
    }
    if (!shared_) {
        made->image = XCreateImage(display, window.visual, static_cast<unsigned>(window.depth), ZPixmap, 0, nullptr,
                                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (!made->image) return false;
        made->image->byte_order = bigEndianHost() ? MSBFirst : LSBFirst;  // Xlib swaps for the server
        made->ownPixels.resize(static_cast<size_t>(made->image->bytes_per_line) * height);
        made->image->data = reinterpret_cast<char*>(made->ownPixels.data());
    }
    made->gc = XCreateGC(display, window_, 0, nullptr);
    made->clip.reserve(FrameDamage::mostRects(width, height));
    made->sdlFormat = SDL_MasksToPixelFormatEnum(made->image->bits_per_pixel, static_cast<uint32_t>(made->image->red_mask),
                                                 static_cast<uint32_t>(made->image->green_mask),
                                                 static_cast<uint32_t>(made->image->blue_mask), 0);
    if (made->sdlFormat == SDL_PIXELFORMAT_UNKNOWN) return false;  // a visual no conversion reaches
    image_ = std::move(made);
    return true;
}

FrameTarget X11FramePresenter::lend(int32_t width, int32_t height, int32_t format) {
    if (!isDrawableFormat(format) || width <= 0 || height <= 0) return {};
    if ((!image_ || image_->image->width != width || image_->image->height != height) && !makeImage(width, height))
        return {};
    if (image_->sdlFormat != sdlFormat(format)) return {};
    return FrameTarget{reinterpret_cast<uint8_t*>(image_->image->data), image_->image->bytes_per_line, width, height,
                       format};
}

// A frame drawn elsewhere (or in another format) into the image, once.
void X11FramePresenter::copyIn(const FrameTarget& frame) {
    XImage& image = *image_->image;
    const uint32_t from = sdlFormat(frame.format);
    if (from == image_->sdlFormat) {
        const size_t rowBytes = static_cast<size_t>(frame.width) * static_cast<size_t>(bytesPerPixel(frame.format));
        for (int32_t y = 0; y < frame.height; ++y)
            std::memcpy(image.data + static_cast<ptrdiff_t>(y) * image.bytes_per_line, frame.row(y), rowBytes);
    } else {
        SDL_ConvertPixels(frame.width, frame.height, from, frame.pixels, frame.pitch, image_->sdlFormat, image.data,
                          image.bytes_per_line);
    }
}

void X11FramePresenter::show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole) {
    if (frame.empty() || !isDrawableFormat(frame.format)) return;
    if (!image_ || image_->image->width != frame.width || image_->image->height != frame.height) {
        if (!makeImage(frame.width, frame.height)) return;
        whole = true;
    }
    XImage& image = *image_->image;
    if (frame.pixels != reinterpret_cast<uint8_t*>(image.data)) copyIn(frame);
    if (!whole && changed.empty()) return;  // nothing changed
    auto* display = static_cast<Display*>(display_);
    // A clip list longer than one request may be is outdone by a whole put.
    long mostUnits = XExtendedMaxRequestSize(display);
    if (mostUnits == 0) mostUnits = XMaxRequestSize(display);
    if (static_cast<long>(changed.size()) * 2 + 3 > mostUnits) whole = true;  // 4-byte units: a rectangle is 2
    const GC gc = image_->gc;
    const auto put = [&](int x, int y, unsigned w, unsigned h) {
        if (shared_) XShmPutImage(display, window_, gc, &image, x, y, x, y, w, h, False);
        else XPutImage(display, window_, gc, &image, x, y, x, y, w, h);
    };
    if (whole) {
        XSetClipMask(display, gc, None);
        put(0, 0, static_cast<unsigned>(frame.width), static_cast<unsigned>(frame.height));
    } else if (!shared_) {
        for (const FrameDamage::Rect& r : changed)
            put(r.left, r.top, static_cast<unsigned>(r.width), static_cast<unsigned>(r.height));
    } else {
        // One put over the parts' bounds, clipped to the parts themselves.
        auto& clip = image_->clip;
        clip.clear();
        int32_t left = frame.width, top = frame.height, right = 0, bottom = 0;
        for (const FrameDamage::Rect& r : changed) {
            clip.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                      static_cast<unsigned short>(r.width), static_cast<unsigned short>(r.height)});
            left = std::min(left, r.left);
            top = std::min(top, r.top);
            right = std::max(right, r.left + r.width);
            bottom = std::max(bottom, r.top + r.height);
        }
        XSetClipRectangles(display, gc, 0, 0, clip.data(), static_cast<int>(clip.size()), Unsorted);
        put(left, top, static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top));
    }
    // The server has read the image before the next frame is drawn into it.
    XSync(display, False);
}
