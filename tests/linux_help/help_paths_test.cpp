// Topic strings and links inside a help file: which archive paths they name,
// and that none of them can name a place outside the extracted copy.
#include <gtest/gtest.h>

#include "platform/linux/help/help_paths.h"

namespace {

TEST(HelpPaths, TopicsNameAPageAndAnAnchor) {
    HelpTopic tab, page;
    ASSERT_TRUE(parseHelpTopic("::/settings.htm#tab2", tab));
    EXPECT_EQ(tab.page, "/settings.htm");
    EXPECT_EQ(tab.anchor, "tab2");
    ASSERT_TRUE(parseHelpTopic("/presetname.htm", page));
    EXPECT_EQ(page.page, "/presetname.htm");
    EXPECT_EQ(page.anchor, "");
    for (const char* bad : {"", "::", "::/", "settings.htm", "::/../x.htm", "::/a/../x.htm", "::/.hidden",
                            "::/a\\b.htm", "::/x.htm#a b", "::/x.htm#\"><script>", "::/x.htm#a#b"}) {
        EXPECT_FALSE(parseHelpTopic(bad, tab)) << bad;
        EXPECT_EQ(tab.page + "#" + tab.anchor, "/settings.htm#tab2") << bad << ": left as it was";
    }
}

TEST(HelpPaths, LinksOfAPageAreItsHrefAndSrcValues) {
    const std::string page =
        "<link rel=\"stylesheet\" HREF=\"style.css\">\n<a href='index.htm'>x</a><img\nsrc=pictures/a.png alt=x>"
        "<a href = \"#tab1\">t</a><p>href=\"not.htm\" in text is not an attribute</p><a data-href=\"x.htm\">"
        "<img src=\"unterminated";
    EXPECT_EQ(pageLinks(page), (std::vector<std::string>{"style.css", "index.htm", "pictures/a.png", "#tab1"}));
    EXPECT_TRUE(pageLinks("").empty());
    EXPECT_TRUE(pageLinks(" href").empty());
}

// The path a link resolves to; "none", left as it was, when it leads nowhere.
std::string resolved(std::string_view page, std::string_view link) {
    std::string path = "none";
    const bool found = resolveLink(page, link, path);
    EXPECT_EQ(found, path != "none") << link;
    return path;
}

TEST(HelpPaths, LinksResolveInsideTheArchiveOnly) {
    EXPECT_EQ(resolved("/settings.htm", "pictures/flight.png"), "/pictures/flight.png");
    EXPECT_EQ(resolved("/settings.htm", " index.htm#tab1 "), "/index.htm");
    EXPECT_EQ(resolved("/sub/page.htm", "../style.css?v=2"), "/style.css");
    EXPECT_EQ(resolved("/sub/page.htm", "./more/./x.htm"), "/sub/more/x.htm");
    EXPECT_EQ(resolved("/settings.htm", "my%20page.htm"), "/my page.htm");
    for (const char* leaves : {"#tab1", "", "../x.htm", "sub/../../x.htm", "/etc/passwd", "http://example.com/x.htm",
                               "mailto:someone", "ms-its:other.chm::/x.htm", "C:\\x.htm", "a\\..\\x.htm",
                               "%2e%2e/x.htm", "a%2fb.htm", "bad%zz.htm", "cut%2", "x%00.htm", ".hidden"})
        EXPECT_EQ(resolved("/settings.htm", leaves), "none") << leaves;
    EXPECT_EQ(resolved("/settings.htm", std::string(600, 'a')), "none");
}

}  // namespace
