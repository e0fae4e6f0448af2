// Loading the settings from the file store, as every saver start and every
// dialog does, against copying one 1920 x 1080 frame. The store holds
// thousands of presets, up to a file near the store's 8 MB limit: the load
// must stay linear in the file's size (goal: well under a second at 8 MB).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/linux/store/file_store.h"
#include "platform/linux/store/linux_folder_system.h"
#include "settings/settings_store.h"

namespace {

// A store of `presets` presets, each with a name, a sound and two pictures
// (about 400 bytes of file each: 20,000 make a file near the 8 MB limit),
// written by a real save.
std::string storeWithPresets(int presets) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lumara-store-bench-" + std::to_string(presets));
    std::filesystem::create_directories(folder);
    const std::string user = (folder / "user.reg").string();
    FileStore store(user, (folder / "machine.reg").string());
    Settings s;
    for (int i = 0; i < presets; ++i) {
        Preset p;
        p.Name = "Preset " + std::to_string(i);
        p.BackSound = "/home/me/Music/" + std::to_string(i) + ".wav";
        p.NURimages = {"/home/me/Pictures/c" + std::to_string(i) + ".png",
                       "/home/me/Pictures/m" + std::to_string(i) + ".jpg"};
        s.Presets.push_back(std::move(p));
    }
    if (!SaveSettings(s, store).ok()) return "";
    return user;
}

void BM_LoadSettingsFromFileStore(benchmark::State& state) {
    const int presets = static_cast<int>(state.range(0));
    const std::string user = storeWithPresets(presets);
    if (user.empty()) {
        state.SkipWithError("the store could not be written");
        return;
    }
    FileStore store(user, std::filesystem::path(user).replace_filename("machine.reg").string());
    LinuxFolderSystem folders(std::filesystem::path(user).replace_filename("bin/lumara").string());
    for (auto _ : state) {
        Settings s;
        LoadSettings(s, store, folders);
        if (s.Presets.size() != static_cast<size_t>(presets)) state.SkipWithError("presets were lost");
        benchmark::DoNotOptimize(s.Presets.data());
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(user)) / (1 << 20);
    std::filesystem::remove_all(std::filesystem::path(user).parent_path());
}
BENCHMARK(BM_LoadSettingsFromFileStore)->Arg(2000)->Arg(8000)->Arg(20000)->ArgName("presets")->Unit(benchmark::kMillisecond);

}  // namespace
