#pragma once
// Which frame of the flight the screen shows: lumara-render's frames
// (HeadlessRun) at the saver's frame size, from the store the saver read,
// compared byte for byte with screenshots of parts of the frame. The same
// reference for X11 and Wayland, so both show the same bytes.
#include <vector>

#include "headless_run.h"
#include "platform/linux/store/file_store.h"
#include "real_saver.h"
#include "saver/host_platform.h"
#include "settings/program_folder.h"

// A screenshot of the frame's rectangle `part`.
struct ShownPart {
    const Screenshot& shot;
    ScreenRect part;
};

struct FrameShown {
    int frame = 0;          // the first frame (from 1) the first part shows; 0 when none of `limit` does
    bool allParts = false;  // that frame is what every part shows
};

// The rectangle `part` of a screenshot, as a screenshot of its own.
inline Screenshot cropped(const Screenshot& shot, const ScreenRect& part) {
    Screenshot out{part.width, part.height, {}};
    for (int y = 0; y < part.height; ++y)
        out.rgb.insert(out.rgb.end(), shot.at(part.left, part.top + y), shot.at(part.left, part.top + y) + size_t{3} * part.width);
    return out;
}

inline bool showsPart(const Screenshot& shot, const FrameTarget& frame, const ScreenRect& part) {
    if (shot.width != part.width || shot.height != part.height) return false;
    for (int y = 0; y < part.height; ++y) {
        const uint8_t* pixel = frame.row(part.top + y) + size_t{4} * part.left;  // X8R8G8B8: B, G, R, X
        for (int x = 0; x < part.width; ++x, pixel += 4) {
            const uint8_t* seen = shot.at(x, y);
            if (seen[0] != pixel[2] || seen[1] != pixel[1] || seen[2] != pixel[0]) return false;
        }
    }
    return true;
}

inline FrameShown frameShown(const StoredSettings& store, int width, int height, const std::vector<ShownPart>& parts,
                             int limit = 3000) {
    RenderOptions options;
    options.width = width;
    options.height = height;
    FileStore files(store.user(), store.machine());
    const auto folders = makePlatformFolderSystem();
    const SettingsSource source{files, *folders};
    HeadlessRun run(options, &source);
    FrameShown shown;
    for (int frame = 1; frame <= limit && run.startResult() == 0; ++frame) {
        run.tick();
        if (!showsPart(parts.front().shot, run.frame(), parts.front().part)) continue;
        shown.frame = frame;
        shown.allParts = true;
        for (const ShownPart& p : parts) shown.allParts = shown.allParts && showsPart(p.shot, run.frame(), p.part);
        break;
    }
    return shown;
}
