// Makes the preview picture shown in the display settings' small pane: a
// real frame of the flight, rendered at four times 150 x 113 and reduced
// by averaging, then stored as an 8-bit BMP with a 256-colour table chosen
// from the picture's own most frequent colours.
//
// usage: preview-gen OUT.bmp OUT.cpp   (the .cpp embeds the same bytes)
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "base/byte_order.h"
#include "embed/embedded_bytes.h"
#include "frame_rgb.h"
#include "headless_run.h"

namespace {

constexpr int kWidth = 150, kHeight = 113, kScale = 4;

struct Rgb {
    int r, g, b;
};

std::vector<Rgb> renderPreview() {
    RenderOptions options;
    options.width = kWidth * kScale;
    options.height = kHeight * kScale;
    options.overrides = {{"StarsCount", 3000}, {"MoveSpeed", 300}, {"Clouds", 8}, {"AntiAliase", 5}, {"RoamMagn", 0}};
    HeadlessRun run(options);
    for (int i = 0; i < 90; ++i) run.tick();
    const std::vector<uint8_t> rgb = frameToRgb(run.frame());
    std::vector<Rgb> small(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            Rgb sum{0, 0, 0};
            for (int dy = 0; dy < kScale; ++dy)
                for (int dx = 0; dx < kScale; ++dx) {
                    const uint8_t* p = &rgb[((y * kScale + dy) * options.width + x * kScale + dx) * 3];
                    sum.r += p[0], sum.g += p[1], sum.b += p[2];
                }
            // Brighten a little: the reduction averages the small stars away.
            auto level = [](int total) { return std::min(255, total * 3 / (2 * kScale * kScale)); };
            small[y * kWidth + x] = {level(sum.r), level(sum.g), level(sum.b)};
        }
    return small;
}

std::vector<Rgb> chooseColours(const std::vector<Rgb>& pixels) {
    std::map<int, int> counts;  // 5 bits a channel
    for (const Rgb& p : pixels) ++counts[(p.r >> 3) << 10 | (p.g >> 3) << 5 | (p.b >> 3)];
    std::vector<std::pair<int, int>> byCount(counts.begin(), counts.end());
    std::sort(byCount.begin(), byCount.end(), [](auto a, auto b) { return a.second > b.second; });
    std::vector<Rgb> palette;
    for (int grey = 0; grey < 32; ++grey) palette.push_back({grey * 255 / 31, grey * 255 / 31, grey * 255 / 31});
    for (const auto& [key, count] : byCount) {
        if (palette.size() == 256) break;
        const Rgb c{(key >> 10) * 255 / 31, (key >> 5 & 31) * 255 / 31, (key & 31) * 255 / 31};
        if (c.r != c.g || c.g != c.b) palette.push_back(c);
    }
    palette.resize(256, Rgb{0, 0, 0});
    return palette;
}

std::vector<uint8_t> bmpImage(const std::vector<Rgb>& pixels, const std::vector<Rgb>& palette) {
    const int rowBytes = (kWidth + 3) / 4 * 4;
    const uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    appendLittleEndian(out, offset + rowBytes * kHeight, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, offset, 4);
    appendLittleEndian(out, 40, 4);
    appendLittleEndian(out, kWidth, 4);
    appendLittleEndian(out, kHeight, 4);
    appendLittleEndian(out, 1, 2);
    appendLittleEndian(out, 8, 2);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, rowBytes * kHeight, 4);
    appendLittleEndian(out, 2835, 4);
    appendLittleEndian(out, 2835, 4);
    appendLittleEndian(out, 256, 4);
    appendLittleEndian(out, 0, 4);
    for (const Rgb& c : palette) appendLittleEndian(out, static_cast<uint32_t>(c.b | c.g << 8 | c.r << 16), 4);
    for (int y = kHeight - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < kWidth; ++x) {
            const Rgb& p = pixels[y * kWidth + x];
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i < 256; ++i) {
                const int dr = p.r - palette[i].r, dg = p.g - palette[i].g, db = p.b - palette[i].b;
                const int d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
                if (d < bestDistance) bestDistance = d, best = i;
            }
            out.push_back(static_cast<uint8_t>(best));
        }
        for (int pad = kWidth; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: preview-gen OUT.bmp OUT.cpp\n");
        return 2;
    }
    const std::vector<Rgb> pixels = renderPreview();
    return writeEmbeddedBytes(bmpImage(pixels, chooseColours(pixels)), argv[1], argv[2], "tools/preview-gen",
                              "#include <cstdint>\n#include <span>\n", "std::span<const uint8_t> previewPicture()")
               ? 0
               : 1;
}
