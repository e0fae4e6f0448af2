#include "platform/win32/gdiplus_picture_decoder.h"

#include <windows.h>
// GDI+ needs the COM property types that the lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <new>
#include <span>
#include <utility>

#include "platform/win32/regular_file.h"
#include "starfield/picture_memory.h"

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

// The file's bytes as a stream GDI+ can read, held in memory it owns.
class MemoryStream {
public:
    explicit MemoryStream(const std::string& bytes) {
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!memory) return;
        if (void* data = GlobalLock(memory)) {
            std::memcpy(data, bytes.data(), bytes.size());
            GlobalUnlock(memory);
            if (CreateStreamOnHGlobal(memory, TRUE, &stream_) == S_OK) return;
        }
        GlobalFree(memory);
    }
    ~MemoryStream() {
        if (stream_) stream_->Release();
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    IStream* get() const { return stream_; }

private:
    IStream* stream_ = nullptr;
};

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

bool GdiplusPictureDecoder::loadPicture(const std::string& path, Picture& picture) {
    if (!gdiplusStarted()) return false;
    // Read whole and judged from its header before GDI+ sees it.
    std::string bytes;
    if (readRegularFile(path, kMaxPictureDecodeBytes, bytes) != FileReadResult::Read) return false;
    uint64_t need = 0;
    if (!pictureDecodeBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), need) ||
        need > kMaxPictureDecodeBytes)
        return false;
    const MemoryStream stream(bytes);
    bytes = std::string();
    Gdiplus::GpBitmap* created = nullptr;
    // Without colour management: the file's own colours.
    if (!stream.get() || gp::GdipCreateBitmapFromStream(stream.get(), &created) != Gdiplus::Ok) return false;
    const BitmapHandle bitmap(created);
    UINT width = 0, height = 0;
    if (gp::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 || height == 0 ||
        int64_t{width} * height > kMaxPicturePixels)
        return false;
    Picture decoded;
    decoded.width = static_cast<int32_t>(width);
    decoded.height = static_cast<int32_t>(height);
    try {
        decoded.rgb.resize(static_cast<size_t>(width) * height * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!readPixels(bitmap.get(), decoded)) return false;
    picture = std::move(decoded);
    return true;
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<GdiplusPictureDecoder>(); }
