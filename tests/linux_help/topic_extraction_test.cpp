// Topics copied out of the built help files into a cache folder, with what
// they link to, and what comes back when the file or topic is not usable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "help_files.h"
#include "platform/linux/help/topic_extraction.h"

namespace {

namespace fs = std::filesystem;

// The one folder the help file was copied into.
std::string copyFolder(const std::string& cache) {
    std::vector<fs::path> folders(fs::directory_iterator(cache), fs::directory_iterator{});
    return folders.size() == 1 ? folders[0].string() : "";
}

size_t fileCount(const std::string& folder) {
    if (!fs::exists(folder)) return 0;
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) count += entry.is_regular_file();
    return count;
}

TEST(TopicExtraction, FlightPageIsCopiedWithItsPicturesStyleAndLinkedPages) {
    const std::string cache = freshTestFolder();
    ExtractedTopic topic;
    ASSERT_TRUE(extractHelpTopic(englishHelp(), "::/settings.htm#tab2", cache, topic));
    const std::string folder = copyFolder(cache);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(topic.pageUri, "file://" + folder + "/settings.htm#tab2");
    EXPECT_EQ(topic.jumpUri, "file://" + folder + "/settings.htm--tab2.htm");

    const std::string source = LUMARA_HELP_SOURCE_DIR;
    EXPECT_EQ(fileText(folder + "/settings.htm"), fileText(source + "/en/settings.htm"));
    EXPECT_EQ(fileText(folder + "/style.css"), fileText(source + "/style.css"));
    EXPECT_EQ(fileText(folder + "/presetname.htm"), fileText(source + "/en/presetname.htm"));
    for (const char* picture : {"nebula", "antialias0", "antialias5", "flight"}) {
        const std::string bytes = fileText(folder + "/pictures/" + picture + ".png");
        EXPECT_GT(bytes.size(), 100u) << picture;
        EXPECT_EQ(bytes.substr(1, 3), "PNG") << picture;
    }
    EXPECT_TRUE(fs::exists(folder + "/index.htm") && fs::exists(folder + "/license.htm")) << "linked pages' links too";
    EXPECT_FALSE(fs::exists(folder + "/ContextHelp.txt")) << "only what the topic leads to";
    EXPECT_NE(fileText(folder + "/settings.htm--tab2.htm").find("url=settings.htm#tab2\""), std::string::npos);

    ExtractedTopic again, page;
    ASSERT_TRUE(extractHelpTopic(englishHelp(), "::/settings.htm#tab2", cache, again));
    EXPECT_EQ(again.pageUri, topic.pageUri) << "the same file keeps its folder";
    ASSERT_TRUE(extractHelpTopic(englishHelp(), "/presetname.htm", cache, page));
    EXPECT_EQ(page.pageUri, "file://" + folder + "/presetname.htm");
    EXPECT_EQ(page.jumpUri, "");
}

TEST(TopicExtraction, ChangedHelpFileReplacesItsOwnCopyOnly) {
    const std::string folder = freshTestFolder();
    const std::string cache = folder + "/cache";
    const std::string file = folder + "/help.chm";
    writeText(file, fileText(englishHelp()));
    ExtractedTopic first, other, changed;
    ASSERT_TRUE(extractHelpTopic(file, "::/settings.htm", cache, first));
    ASSERT_TRUE(extractHelpTopic(germanHelp(), "::/settings.htm", cache, other));
    const std::string source = LUMARA_HELP_SOURCE_DIR;
    writeText(file, fileText(germanHelp()));
    ASSERT_TRUE(extractHelpTopic(file, "::/settings.htm", cache, changed));
    EXPECT_NE(changed.pageUri, first.pageUri);
    std::vector<std::string> folders;
    for (const auto& entry : fs::directory_iterator(cache)) folders.push_back("file://" + entry.path().string());
    std::sort(folders.begin(), folders.end());
    std::vector<std::string> expected{changed.pageUri.substr(0, changed.pageUri.rfind('/')),
                                      other.pageUri.substr(0, other.pageUri.rfind('/'))};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folders, expected) << "the earlier version's copy is gone, the other help file's copy stays";
    EXPECT_EQ(fileText(changed.pageUri.substr(7)), fileText(source + "/de/settings.htm"));
}

TEST(TopicExtraction, LimitsLeaveOutLinkedFilesButNotThePage) {
    const std::string cache = freshTestFolder();
    ExtractionLimits fewFiles;
    fewFiles.maxFiles = 3;
    ExtractedTopic topic;
    ASSERT_TRUE(extractHelpTopic(englishHelp(), "::/settings.htm#tab1", cache, topic, fewFiles));
    EXPECT_EQ(fileCount(copyFolder(cache)), 3u + 1) << "two linked files and the jump page";
    const std::string small = freshTestFolder() + "/small";
    const size_t pageSize = fileText(std::string(LUMARA_HELP_SOURCE_DIR) + "/en/settings.htm").size();
    ExtractionLimits fewBytes;
    fewBytes.maxBytes = pageSize;
    ASSERT_TRUE(extractHelpTopic(englishHelp(), "::/settings.htm", small, topic, fewBytes));
    EXPECT_EQ(fileCount(copyFolder(small)), 1u);
    fewBytes.maxBytes = pageSize - 1;
    EXPECT_FALSE(extractHelpTopic(englishHelp(), "::/settings.htm", small, topic, fewBytes));
}

// Files that are no help file at all: ChmReading.PathsThatAreNotHelpFilesGiveNothingAtOnce.
TEST(TopicExtraction, NothingForDamagedFilesUnusableTopicsAndCacheFolders) {
    const std::string folder = freshTestFolder();
    const std::string cache = folder + "/cache";
    // A failure leaves the caller's topic as it was.
    ExtractedTopic extracted{"earlier", "jump"};
    EXPECT_FALSE(extractHelpTopic(truncatedHelp(folder + "/cut.chm", fileText(englishHelp()).size() / 2),
                                  "::/settings.htm#tab2", cache, extracted));
    for (const char* topic : {"::/missing.htm", "::/settings.htm#tab 2", "::/../settings.htm", "::"})
        EXPECT_FALSE(extractHelpTopic(englishHelp(), topic, cache, extracted)) << topic;
    EXPECT_EQ(fileCount(cache), 0u);
    writeText(folder + "/file", "");
    for (const std::string& unusable : {std::string("relative/cache"), std::string(), folder + "/file"})
        EXPECT_FALSE(extractHelpTopic(englishHelp(), "::/settings.htm", unusable, extracted)) << unusable;
    EXPECT_EQ(extracted.pageUri, "earlier");
    EXPECT_EQ(extracted.jumpUri, "jump");
}

TEST(TopicExtraction, CacheFolderFollowsXdgCacheHome) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedCache = cache ? cache : "", savedHome = home ? home : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CACHE_HOME", "/var/cache/someone", 1);
    EXPECT_EQ(helpCacheRoot(), "/var/cache/someone/lumara/help");
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(helpCacheRoot(), "/home/someone/.cache/lumara/help");
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(helpCacheRoot(), "/home/someone/.cache/lumara/help");
    if (cache) ::setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
