#include "gdiplus_picture_decoder.h"

#include <windows.h>
// GDI+ needs the COM property types that the lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <new>

namespace {

namespace gp = Gdiplus::DllExports;

bool gdiplusStarted() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

// The path is text in the ANSI code page, as the settings hold it.
std::wstring widePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

class BitmapHandle {
public:
    explicit BitmapHandle(Gdiplus::GpBitmap* bitmap) : bitmap_(bitmap) {}
    ~BitmapHandle() {
        if (bitmap_) gp::GdipDisposeImage(bitmap_);
    }
    BitmapHandle(const BitmapHandle&) = delete;
    BitmapHandle& operator=(const BitmapHandle&) = delete;
    Gdiplus::GpBitmap* get() const { return bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_;
};

// Every pixel as 8-bit B, G, R, A, whatever the file's own format (palette
// entries looked up, 16-bit colours widened, alpha kept apart from the
// colour, not multiplied into it).
bool readPixels(Gdiplus::GpBitmap* bitmap, Picture& picture) {
    Gdiplus::GpRect whole(0, 0, picture.width, picture.height);
    Gdiplus::BitmapData data;
    if (gp::GdipBitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok)
        return false;
    uint8_t* out = picture.rgb.data();
    for (int32_t y = 0; y < picture.height; ++y) {
        const auto* row = static_cast<const uint8_t*>(data.Scan0) + static_cast<intptr_t>(y) * data.Stride;
        for (int32_t x = 0; x < picture.width; ++x, out += 3) {
            out[0] = row[4 * x + 2];
            out[1] = row[4 * x + 1];
            out[2] = row[4 * x + 0];
        }
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

}  // namespace

std::optional<Picture> GdiplusPictureDecoder::loadPicture(const std::string& path) {
    if (!gdiplusStarted()) return std::nullopt;
    const std::wstring wide = widePath(path);
    Gdiplus::GpBitmap* created = nullptr;
    // Without colour management: the file's own colours.
    if (wide.empty() || gp::GdipCreateBitmapFromFile(wide.c_str(), &created) != Gdiplus::Ok) return std::nullopt;
    const BitmapHandle bitmap(created);
    UINT width = 0, height = 0;
    if (gp::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 || height == 0 ||
        int64_t{width} * height > kMaxPicturePixels)
        return std::nullopt;
    Picture picture;
    picture.width = static_cast<int32_t>(width);
    picture.height = static_cast<int32_t>(height);
    try {
        picture.rgb.resize(static_cast<size_t>(width) * height * 3);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!readPixels(bitmap.get(), picture)) return std::nullopt;
    return picture;
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<GdiplusPictureDecoder>(); }
