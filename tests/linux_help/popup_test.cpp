// Pop-up texts from a help file's ContextHelp.txt and the pop-up font line
// of a language file.
#include <gtest/gtest.h>

#include "help_files.h"
#include "platform/linux/help/popup_font.h"
#include "platform/linux/help/popup_texts.h"

namespace {

TEST(PopupTexts, TopicTextsComeFromTheHelpFileInUtf8) {
    EXPECT_EQ(loadPopupText(englishHelp(), 29),
              "How far the flight swings off a straight line: 0 flies straight, 100 swings widest.");
    const std::optional<std::string> german = loadPopupText(germanHelp(), 2);
    ASSERT_TRUE(german);
    EXPECT_TRUE(german->starts_with("Schlie\xC3\x9F" "t das Fenster")) << *german;
    EXPECT_FALSE(loadPopupText(englishHelp(), 999));
    EXPECT_FALSE(loadPopupText(truncatedHelp(freshTestFolder() + "/cut.chm", 4096), 29));
}

TEST(PopupTexts, TextRunsFromItsTopicLineToTheNext) {
    const std::string file =
        "\xEF\xBB\xBF.topic 1\r\nfirst\r\n\r\n.topic 29\r\n\r\nline one\r\n\r\nline two\r\n   \r\n"
        ".topic IDH_NAMED\r\nnamed\r\n.topic 29\r\nsecond copy\r\n.topic 7 \r\n.topic 8\r\n.topicx\r\n"
        ".topic 4294967296\r\nwrapped\r\n.topic 9\r\nlast";
    EXPECT_EQ(findPopupText(file, 29), "line one\n\nline two");
    EXPECT_EQ(findPopupText(file, 1), "first") << "after a byte-order mark";
    EXPECT_EQ(findPopupText(file, 7), std::nullopt) << "a topic without text";
    EXPECT_EQ(findPopupText(file, 8), ".topicx");
    EXPECT_EQ(findPopupText(file, 0), std::nullopt);
    EXPECT_EQ(findPopupText(file, 9), "last");
    EXPECT_EQ(findPopupText(".topic 3\ncaf\xE9", 3), "caf\xC3\xA9") << "Windows-1252";
    EXPECT_EQ(findPopupText("", 3), std::nullopt);
}

TEST(PopupFont, FaceSizeCharacterSetAndStyles) {
    const std::optional<PopupFont> plain = parsePopupFont("MS Sans Serif,8,0");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->face, "MS Sans Serif");
    EXPECT_EQ(plain->pointSize, 8);
    EXPECT_FALSE(plain->bold || plain->italic || plain->underline);
    const std::optional<PopupFont> styled = parsePopupFont(" Tahoma , 10 , 238 , bold  ITALIC ");
    ASSERT_TRUE(styled);
    EXPECT_EQ(styled->face, "Tahoma");
    EXPECT_EQ(styled->pointSize, 10);
    EXPECT_TRUE(styled->bold && styled->italic && !styled->underline);
    const std::optional<PopupFont> faceOnly = parsePopupFont("Verdana");
    ASSERT_TRUE(faceOnly);
    EXPECT_EQ(faceOnly->pointSize, 0) << "the viewer's size";
    EXPECT_TRUE(parsePopupFont("Arial,,,UNDERLINE")->underline);
    for (const char* bad : {"", " ", ",8,0", "Arial,eight,0", "Arial,-8,0", "Arial,8,256", "Arial,8,0,HEAVY",
                            "Arial,8,0,BOLD,x", "Arial,99999999999,0", "Arial,8 pt,0"})
        EXPECT_FALSE(parsePopupFont(bad)) << bad;
}

}  // namespace
