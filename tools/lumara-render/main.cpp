// lumara-render: the saver's frames without a window, for tests, pictures
// and benchmarks. Exit 0 on success, 2 on a bad argument (nothing written),
// 1 when the frame surfaces cannot be made or an output file cannot be written.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "headless_run.h"
#include "image_file.h"
#include "render_options.h"
#include "settings/program_folder.h"
#include "settings/store.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    RenderOptions options;
    if (const Outcome parsed = parseRenderOptions(args, options); !parsed.ok()) {
        std::fprintf(stderr, "lumara-render: %s (see --help)\n", parsed.message().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(renderUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("lumara-render %s\n", LUMARA_VERSION);
        return 0;
    }

    const std::unique_ptr<Store> store = makePlatformStore();
    const std::unique_ptr<FolderSystem> folders = makePlatformFolderSystem();
    const SettingsSource source{*store, *folders};
    HeadlessRun run(options, options.fromStore ? &source : nullptr);
    if (run.startResult() != 0) {
        std::fprintf(stderr, "lumara-render: the frame surfaces cannot be made (result 0x%08X)\n",
                     static_cast<unsigned>(run.startResult()));
        return 1;
    }
    for (int32_t i = 0; i < options.frames; ++i) run.tick();

    std::string error;
    if (!options.outPath.empty() && !writeFrameImage(run.frame(), options.outPath, error)) {
        std::fprintf(stderr, "lumara-render: %s\n", error.c_str());
        return 1;
    }
    if (!options.rawPath.empty() && !writeFrameRaw(run.frame(), options.rawPath, error)) {
        std::fprintf(stderr, "lumara-render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
