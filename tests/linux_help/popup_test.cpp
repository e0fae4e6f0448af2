// Pop-up texts from a help file's ContextHelp.txt and the pop-up font line
// of a language file.
#include <gtest/gtest.h>

#include "help_files.h"
#include "platform/linux/help/popup_font.h"
#include "platform/linux/help/popup_texts.h"

namespace {

// A topic's text; "none", left as it was, when there is none.
std::string textOf(const std::string& helpFile, uint32_t topic) {
    std::string text = "none";
    const bool found = loadPopupText(helpFile, topic, text);
    EXPECT_EQ(found, text != "none") << topic;
    return text;
}

std::string textIn(std::string_view contextHelp, uint32_t topic) {
    std::string text = "none";
    const bool found = findPopupText(contextHelp, topic, text);
    EXPECT_EQ(found, text != "none") << topic;
    return text;
}

TEST(PopupTexts, TopicTextsComeFromTheHelpFileInUtf8) {
    EXPECT_EQ(textOf(englishHelp(), 29),
              "How far the flight swings off a straight line: 0 flies straight, 100 swings widest.");
    const std::string german = textOf(germanHelp(), 2);
    EXPECT_TRUE(german.starts_with("Schlie\xC3\x9F" "t das Fenster")) << german;
    EXPECT_EQ(textOf(englishHelp(), 999), "none");
    EXPECT_EQ(textOf(truncatedHelp(freshTestFolder() + "/cut.chm", 4096), 29), "none");
}

TEST(PopupTexts, TextRunsFromItsTopicLineToTheNext) {
    const std::string file =
        "\xEF\xBB\xBF.topic 1\r\nfirst\r\n\r\n.topic 29\r\n\r\nline one\r\n\r\nline two\r\n   \r\n"
        ".topic IDH_NAMED\r\nnamed\r\n.topic 29\r\nsecond copy\r\n.topic 7 \r\n.topic 8\r\n.topicx\r\n"
        ".topic 4294967296\r\nwrapped\r\n.topic 9\r\nlast";
    EXPECT_EQ(textIn(file, 29), "line one\n\nline two");
    EXPECT_EQ(textIn(file, 1), "first") << "after a byte-order mark";
    EXPECT_EQ(textIn(file, 7), "none") << "a topic without text";
    EXPECT_EQ(textIn(file, 8), ".topicx");
    EXPECT_EQ(textIn(file, 0), "none");
    EXPECT_EQ(textIn(file, 9), "last");
    EXPECT_EQ(textIn(".topic 3\ncaf\xE9", 3), "caf\xC3\xA9") << "Windows-1252";
    EXPECT_EQ(textIn("", 3), "none");
}

TEST(PopupFont, FaceSizeCharacterSetAndStyles) {
    PopupFont plain, styled, faceOnly, underlined;
    ASSERT_TRUE(parsePopupFont("MS Sans Serif,8,0", plain));
    EXPECT_EQ(plain.face, "MS Sans Serif");
    EXPECT_EQ(plain.pointSize, 8);
    EXPECT_FALSE(plain.bold || plain.italic || plain.underline);
    ASSERT_TRUE(parsePopupFont(" Tahoma , 10 , 238 , bold  ITALIC ", styled));
    EXPECT_EQ(styled.face, "Tahoma");
    EXPECT_EQ(styled.pointSize, 10);
    EXPECT_TRUE(styled.bold && styled.italic && !styled.underline);
    ASSERT_TRUE(parsePopupFont("Verdana", faceOnly));
    EXPECT_EQ(faceOnly.pointSize, 0) << "the viewer's size";
    EXPECT_TRUE(parsePopupFont("Arial,,,UNDERLINE", underlined) && underlined.underline);
    for (const char* bad : {"", " ", ",8,0", "Arial,eight,0", "Arial,-8,0", "Arial,8,256", "Arial,8,0,HEAVY",
                            "Arial,8,0,BOLD,x", "Arial,99999999999,0", "Arial,8 pt,0"}) {
        EXPECT_FALSE(parsePopupFont(bad, styled)) << bad;
        EXPECT_TRUE(styled.face == "Tahoma" && styled.pointSize == 10 && styled.bold) << bad << ": left as it was";
    }
}

}  // namespace
