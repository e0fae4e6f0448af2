// The built help files, opened as the viewer opens them: every topic the
// dialogs ask for, every anchor of the settings topic, a pop-up text for
// every control, no link to something the file lacks; and the pop-up font
// line of the shipped language files in the form the viewer takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "chm_archive.h"
#include "i18n/language_file.h"
#include "settings/program_folder.h"
#include "ui/context_help.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_template.h"

namespace {

namespace fs = std::filesystem;

// Pop-up numbers the dialogs ask for: the settings dialog with its pages,
// the new-preset dialog, and the one for a control without its own text.
std::set<int> popupTopics() {
    std::set<int> topics = {static_cast<int>(kDefaultContextTopic)};
    for (const auto table : {settingsContextTopics(), newPresetContextTopics()})
        for (const ContextTopicRow& row : table) topics.insert(static_cast<int>(row.topic));
    return topics;
}

const std::set<int> kPopupTopics = popupTopics();

std::vector<fs::path> filesWithExtension(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == extension) found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<fs::path> helpFiles() { return filesWithExtension(LUMARA_HELP_DIR, ".chm"); }

bool hasAnchor(const std::string& page, const std::string& name) {
    return page.find("name=\"" + name + "\"") != std::string::npos ||
           page.find("id=\"" + name + "\"") != std::string::npos;
}

// ".topic N" followed by its text, up to the next blank line.
std::map<int, std::string> popupTexts(const std::string& file) {
    std::map<int, std::string> texts;
    std::istringstream in(file);
    std::string line;
    int topic = -1;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".topic ", 0) == 0) {
            topic = std::stoi(line.substr(7));
            EXPECT_EQ(texts.count(topic), 0u) << "topic " << topic << " twice";
            texts[topic];
        } else if (line.empty()) {
            topic = -1;
        } else if (topic >= 0) {
            texts[topic] += line;
        }
    }
    return texts;
}

// Resolves `target` against the folder of `page` ("/a/b.htm" + "../c.htm").
std::string resolve(const std::string& page, const std::string& target) {
    return fs::path(page).parent_path().append(target).lexically_normal().generic_string();
}

}  // namespace

// The About box's notice line says what LICENSE says: the licence and who
// holds the copyright.
TEST(HelpFiles, TheAboutBoxNoticeAgreesWithTheLicence) {
    std::ifstream licenseFile(LUMARA_LICENSE_FILE);
    std::string licence, blank, copyright;
    std::getline(licenseFile, licence);
    std::getline(licenseFile, blank);
    std::getline(licenseFile, copyright);
    const std::string holder = "Copyright (c) ";
    ASSERT_EQ(copyright.rfind(holder, 0), 0u) << copyright;
    std::string notice;
    for (const ControlTemplate& c : findDialogTemplate(dlg::kAbout)->controls)
        if (c.id == dlg::kNoticeLine) notice = c.text;
    EXPECT_EQ(notice, "\u00A9 " + copyright.substr(holder.size()) + ". " + licence + ".");
}

// Per help file: every topic and page anchor the dialogs ask for, a pop-up
// text for every control of both dialogs and no other, and no link or
// picture the file lacks.
TEST(HelpFiles, OneFilePerLanguageWithEveryTopicAnchorPopUpAndLink) {
    const std::vector<fs::path> files = helpFiles();
    ASSERT_EQ(files.size(), 3u) << "English, German and French";
    std::ifstream licenseFile(LUMARA_LICENSE_FILE);
    std::string copyright;
    for (int line = 0; line < 3; ++line) std::getline(licenseFile, copyright);  // after "MIT License" and a blank
    const std::regex reference(R"re((?:href|src)="([^"]*)"|name="Local" value="([^"]*)")re", std::regex::icase);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        for (const unsigned char c : file.filename().string()) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "ASCII name";
        const std::optional<ChmArchive> help = ChmArchive::open(file.string());
        ASSERT_TRUE(help);
        for (const char* topic : {"/index.htm", "/settings.htm", "/presetname.htm", "/license.htm",
                                  "/ContextHelp.txt", "/contents.hhc"})
            EXPECT_TRUE(help->has(topic)) << topic;
        const std::string settings = help->read("/settings.htm");
        for (const char* anchor : {"tab1", "tab2", "tab3", "tab4"}) EXPECT_TRUE(hasAnchor(settings, anchor)) << anchor;
        const std::string license = help->read("/license.htm");
        EXPECT_NE(license.find(copyright), std::string::npos) << "the project's licence";
        EXPECT_NE(license.find("Permission is hereby granted"), std::string::npos);

        const std::map<int, std::string> texts = popupTexts(help->read("/ContextHelp.txt"));
        for (const int topic : kPopupTopics) {
            const auto text = texts.find(topic);
            ASSERT_NE(text, texts.end()) << "topic " << topic;
            EXPECT_GE(text->second.size(), 10u) << "topic " << topic;
            EXPECT_LE(text->second.size(), 300u) << "topic " << topic << ": one or two sentences";
        }
        for (const auto& [topic, text] : texts) EXPECT_EQ(kPopupTopics.count(topic), 1u) << "unused topic " << topic;

        int links = 0;
        for (const std::string& page : help->paths()) {
            if (!page.ends_with(".htm") && !page.ends_with(".hhc")) continue;
            const std::string text = help->read(page);
            for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
                const std::string target = (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
                ++links;
                EXPECT_EQ(target.find(':'), std::string::npos) << page << " leaves the file: " << target;
                const size_t hash = target.find('#');
                const std::string path = hash == 0 ? page : resolve(page, target.substr(0, hash));
                ASSERT_TRUE(help->has(path)) << page << " links to missing " << target;
                EXPECT_TRUE(hash == std::string::npos || hasAnchor(help->read(path), target.substr(hash + 1)))
                    << page << " -> " << target;
            }
        }
        EXPECT_GT(links, 40) << "the pages link their pictures, style and each other";
    }
}

TEST(LanguageFiles, PopUpFontLineIsFaceSizeAndCharacterSet) {
    // "face, point size, character set[, BOLD ITALIC UNDERLINE]", or empty
    // for the viewer's own font.
    const std::regex form(R"re(^[^, ][^,]*,\s*[1-9][0-9]?,\s*([0-9]{1,3})(,(\s*(BOLD|ITALIC|UNDERLINE))+)?$)re",
                          std::regex::icase);
    const std::vector<fs::path> languages = filesWithExtension(LUMARA_LANGUAGE_DIR, ".lang");
    ASSERT_GE(languages.size(), 2u);
    const std::unique_ptr<FolderSystem> files = makePlatformFolderSystem();
    for (const fs::path& file : languages) {
        LanguageTable table;
        table.path = file.string();
        ASSERT_TRUE(LoadLanguageFile(table, *files).ok()) << file;
        if (table.popupFont.empty()) continue;
        std::smatch fields;
        ASSERT_TRUE(std::regex_match(table.popupFont, fields, form)) << file << ": \"" << table.popupFont << "\"";
        EXPECT_LE(std::stoi(fields[1].str()), 255) << file << ": character set";
    }
}
