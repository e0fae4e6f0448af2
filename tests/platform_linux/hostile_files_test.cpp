// Files named by the settings that are not regular files: a FIFO, a
// character device and a folder, in every role a stored path plays. Each is
// refused at once like a file that cannot be opened; nothing waits on a
// writer or reads a device without end. An alarm ends the test as a failure
// if anything blocks.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/store/file_store.h"
#include "platform/linux/store/linux_folder_system.h"
#include "platform/linux/store/regular_file.h"
#include "platform/linux/pictures/stb_picture_decoder.h"
#include "saver/saver_state.h"
#include "settings/settings_store.h"
#include "starfield/distribution_pictures.h"
#include "temp_folder.h"

namespace {

// Stops the test program when a step blocks for longer than `seconds`.
struct Deadline {
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
};

}  // namespace

TEST(HostileFiles, FifosDevicesAndFoldersAreRefusedAtOnceInEveryRole) {
    const std::string dir = freshTestFolder();
    const std::string fifo = dir + "/named.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Deadline deadline(20);

    for (const std::string& path : {fifo, std::string("/dev/zero"), dir}) {
        SCOPED_TRACE(path);
        std::string text = "kept";
        EXPECT_EQ(readRegularFile(path, 1 << 20, text), FileReadResult::Unreadable);

        // As either store: no key opens, none can be created, and the
        // thing under the name is left as it was.
        FileStore store(path, path);
        for (const Hive hive : {Hive::User, Hive::Machine}) {
            EXPECT_FALSE(store.open(hive, kProductKeyPath));
            EXPECT_FALSE(store.create(hive, kProductKeyPath));
        }

        // As the language file, the pictures and the sound in stored settings.
        const std::string storeFolder = dir + "/store";
        std::filesystem::create_directories(storeFolder);
        FileStore settingsStore(storeFolder + "/user.reg", storeFolder + "/machine.reg");
        Settings saved;
        saved.Language = path;
        saved.UseNUR = true;
        saved.NURimages = {path, path};
        ASSERT_TRUE(SaveSettings(saved, settingsStore).ok());
        LinuxFolderSystem folders(dir + "/bin/lumara");
        SaverState state;
        LoadSettings(state.settings, settingsStore, folders);
        EXPECT_EQ(state.settings.Language, path);
        EXPECT_EQ(state.settings.LanguageTable.description, "default");
        EXPECT_EQ(state.settings.LanguageTable.count(), 0u);
        StbPictureDecoder decoder;
        Picture picture;
        EXPECT_FALSE(decoder.loadPicture(path, picture));
        loadDistributionPictures(state.starField, state.settings, decoder);
        EXPECT_TRUE(state.starField.pictures.empty());
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}
