// Reading the built help files through chmlib, in this process and in the
// child process, and what comes back for files that are not readable help
// files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "help_files.h"
#include "platform/linux/help/chm_reader_process.h"

namespace {

std::string readOrNothing(ChmReaderProcess& reader, std::string_view path) {
    std::string bytes;
    return reader.read(path, bytes) == ChmRead::Read ? bytes : "(nothing)";
}

TEST(ChmReading, StoredFilesComeBackWholeInBothWays) {
    const RegularFile file(englishHelp());
    ASSERT_TRUE(file.isOpen());
    ChmArchive archive;
    ASSERT_TRUE(archive.open(file));
    const std::unique_ptr<ChmReaderProcess> reader = ChmReaderProcess::start(englishHelp());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->status().st_size, file.status().st_size);

    const std::string source = fileText(std::string(LUMARA_HELP_SOURCE_DIR) + "/en/ContextHelp.txt");
    std::string bytes;
    EXPECT_EQ(archive.read("/ContextHelp.txt", bytes), ChmRead::Read);
    EXPECT_EQ(bytes, source);
    EXPECT_EQ(readOrNothing(*reader, "/ContextHelp.txt"), source);
    EXPECT_EQ(readOrNothing(*reader, "/CONTEXTHELP.TXT"), source) << "letter case does not matter inside a .chm";
    const std::string picture = readOrNothing(*reader, "/pictures/flight.png");
    EXPECT_EQ(picture.substr(1, 3), "PNG");
    EXPECT_EQ(archive.read("/pictures/flight.png", bytes), ChmRead::Read);
    EXPECT_EQ(picture, bytes);

    EXPECT_EQ(archive.read("/missing.htm", bytes), ChmRead::Absent);
    // The last: longer than any stored path.
    for (const std::string& absent : {std::string("/missing.htm"), std::string(), std::string(600, 'a')})
        EXPECT_EQ(reader->read(absent, bytes), ChmRead::Absent) << absent;
    EXPECT_EQ(reader->read("/settings.htm", bytes), ChmRead::Read) << "the reader goes on after those";
}

TEST(ChmReading, PathsThatAreNotHelpFilesGiveNothingAtOnce) {
    const std::string folder = freshTestFolder();
    const std::string fifo = folder + "/help.chm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    writeText(folder + "/empty.chm", "");
    writeText(folder + "/text.chm", "ITSF, but not really a help file");

    // An archive never opened reads nothing; one that fails to open
    // another file keeps the file it has.
    ChmArchive archive;
    std::string bytes;
    EXPECT_EQ(archive.read("/ContextHelp.txt", bytes), ChmRead::Absent);
    const RegularFile help(englishHelp());
    ASSERT_TRUE(archive.open(help));
    const auto started = std::chrono::steady_clock::now();
    for (const std::string& path :
         {folder + "/missing.chm", fifo, folder, folder + "/empty.chm", folder + "/text.chm"}) {
        const RegularFile file(path);
        EXPECT_FALSE(file.isOpen() && archive.open(file)) << path;
        EXPECT_FALSE(ChmReaderProcess::start(path)) << path;
    }
    EXPECT_EQ(archive.read("/ContextHelp.txt", bytes), ChmRead::Read);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "nothing waits on the FIFO";
}

TEST(ChmReading, DamageIsReportedAndNeverReachesTheCaller) {
    const std::string folder = freshTestFolder();
    // Cut in half, the file still opens and the pages read, but the
    // pictures stored last are short.
    const size_t size = fileText(englishHelp()).size();
    const std::unique_ptr<ChmReaderProcess> cut = ChmReaderProcess::start(truncatedHelp(folder + "/cut.chm", size / 2));
    ASSERT_TRUE(cut);
    std::string bytes;
    EXPECT_EQ(cut->read("/settings.htm", bytes), ChmRead::Read);
    EXPECT_EQ(cut->read("/pictures/flight.png", bytes), ChmRead::Unreadable);
    EXPECT_EQ(bytes, "");

    // A reader out of time is stopped and gives nothing.
    EXPECT_FALSE(ChmReaderProcess::start(englishHelp(), {std::chrono::milliseconds(0), 256u << 20}));

    // Bytes inverted all over the file: whatever chmlib makes of them, the
    // answers are results and the caller goes on.
    const ChmReaderProcess::Limits quick{std::chrono::milliseconds(2000), 256u << 20};
    for (const size_t stride : {97, 1021, 4099, 16411}) {
        const std::unique_ptr<ChmReaderProcess> reader =
            ChmReaderProcess::start(scrambledHelp(folder + "/scrambled.chm", stride / 2, stride), quick);
        if (!reader) continue;
        for (const char* path : {"/settings.htm", "/ContextHelp.txt", "/pictures/flight.png"}) {
            const ChmRead read = reader->read(path, bytes);
            EXPECT_TRUE(read != ChmRead::Read || bytes.size() <= ChmArchive::kMaxObjectBytes) << stride << path;
        }
    }
}

}  // namespace
