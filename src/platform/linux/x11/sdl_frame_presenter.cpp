#include "platform/linux/x11/sdl_frame_presenter.h"

#include <algorithm>
#include <cstring>

uint32_t SdlFramePresenter::sdlFormat(int32_t format) {
    switch (format) {
    case kFormatA8R8G8B8: return SDL_PIXELFORMAT_ARGB8888;
    case kFormatR5G6B5: return SDL_PIXELFORMAT_RGB565;
    case kFormatX1R5G5B5: return SDL_PIXELFORMAT_RGB555;
    default: return SDL_PIXELFORMAT_RGB888;
    }
}

FrameTarget SdlFramePresenter::lend(int32_t width, int32_t height, int32_t format) {
    SDL_Surface* surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!surface || SDL_MUSTLOCK(surface) || !isDrawableFormat(format) || surface->format->format != sdlFormat(format) ||
        surface->w != width || surface->h != height)
        return {};
    return FrameTarget{static_cast<uint8_t*>(surface->pixels), surface->pitch, width, height, format};
}

void SdlFramePresenter::show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed) {
    SDL_Surface* surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!surface || frame.empty() || !isDrawableFormat(frame.format)) return;
    const auto update = [&] {
        if (changed.empty()) {
            SDL_UpdateWindowSurface(window_);
            return;
        }
        // Once a frame size, as the damage record itself: no frame allocates.
        if (rects_.capacity() < changed.size()) rects_.reserve(FrameDamage::mostRects(frame.width, frame.height));
        rects_.clear();
        for (const FrameDamage::Rect& r : changed) rects_.push_back(SDL_Rect{r.left, r.top, r.width, r.height});
        SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size()));
    };
    if (frame.pixels == surface->pixels) {  // drawn in place
        update();
        return;
    }
    const int width = std::min(frame.width, surface->w);
    const int height = std::min(frame.height, surface->h);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const uint32_t from = sdlFormat(frame.format);
    if (surface->format->format == from) {
        const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel(frame.format));
        auto* out = static_cast<uint8_t*>(surface->pixels);
        for (int y = 0; y < height; ++y) std::memcpy(out + static_cast<ptrdiff_t>(y) * surface->pitch, frame.row(y), rowBytes);
    } else {
        SDL_ConvertPixels(width, height, from, frame.pixels, frame.pitch, surface->format->format, surface->pixels,
                          surface->pitch);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    update();
}
