// The four pages: trackbars against the settings table and stored values
// outside it, the picture list, the sound box, the language and help rows.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "dialog_rig.h"
#include "dialogs/settings_page.h"

namespace {

using namespace dlg;

// Opens the dialog over `stored` and returns the page.
FakeDialog& pageOver(DialogRig& rig, const Settings& stored, uint32_t page) {
    rig.keep(stored);
    rig.open();
    return rig.page(page);
}

}  // namespace

// Every trackbar offers its setting's range from the settings table and
// steps as its binding says; moving it to either end writes the field and
// shows the value.
TEST(Trackbars, TakeTheirRangesFromTheSettingsTableAndWriteTheirFieldsAsTheyMove) {
    DialogRig rig;
    pageOver(rig, Settings(), kStarfieldPage);
    for (const TrackbarBinding& b : kTrackbars) {
        const SettingInfo& setting = *findFlightSetting(b.storedName);
        FakeDialog& page = rig.page(b.page);
        const FakeDialog::Control& bar = page.at(b.trackbar);
        EXPECT_EQ(std::tuple(bar.low, bar.high, bar.pageSize, bar.lineSize),
                  std::tuple(setting.low, setting.high, b.pageSize, b.lineSize))
            << b.storedName;
        for (const int32_t end : {setting.high, setting.low}) {
            page.moveTrackbar(b.trackbar, end);
            EXPECT_EQ(setting.get(rig.settings), end) << b.storedName;
            EXPECT_EQ(page.at(b.label).text, std::to_string(end)) << b.storedName;
        }
    }
    EXPECT_EQ(rig.page(kStarfieldPage).at(kStarsTrackbar).pageSize, 2000);  // a page step: 2000 stars
    FakeDialog& effects = rig.page(kEffectsPage);
    EXPECT_EQ(effects.at(kAntiAliasBox).rows.size(), 6u);  // off, then the five modes
    effects.select(kAntiAliasBox, 3);
    EXPECT_EQ(rig.settings.AntiAliase, 3);
}

TEST(Trackbars, StoredValuesFarOutsideTheRangeShowAsStoredUntilMoved) {
    DialogRig rig;
    Settings stored;
    stored.StarsCount = INT32_MAX;
    stored.RotSpeed = INT32_MIN;
    stored.AntiAliase = 99;
    stored.Clouds = -5;
    FakeDialog& stars = pageOver(rig, stored, kStarfieldPage);
    EXPECT_EQ(stars.at(kStarsTrackbar).position, 20000);
    EXPECT_EQ(stars.at(kStarsValue).text, "2147483647");
    EXPECT_EQ(stars.at(kCloudsTrackbar).position, 0);
    EXPECT_EQ(rig.page(kFlightPage).at(kRotationValue).text, "-2147483648");
    EXPECT_EQ(rig.page(kEffectsPage).at(kAntiAliasBox).selection, -1);
    EXPECT_EQ(rig.settings.StarsCount, INT32_MAX);
    EXPECT_EQ(rig.settings.AntiAliase, 99);
    stars.moveTrackbar(kStarsTrackbar, 19800);
    EXPECT_EQ(rig.settings.StarsCount, 19800);
}

TEST(StarfieldPage, PictureListFollowsTheSwitchAndKeepsRemoveForExistingRows) {
    DialogRig rig;
    Settings stored;
    stored.UseNUR = false;
    stored.NURimages = {"C:\\pictures\\one.png", "/home/me/two.jpg"};
    FakeDialog& page = pageOver(rig, stored, kStarfieldPage);
    EXPECT_EQ(page.at(kPictureList).rows, (std::vector<std::string>{"one.png", "two.jpg"}));
    EXPECT_EQ(page.at(kPictureList).selection, 0);
    EXPECT_FALSE(page.at(kPictureList).enabled);
    EXPECT_FALSE(page.at(kAddPicture).enabled);
    EXPECT_TRUE(page.at(kRemovePicture).enabled);

    page.toggle(kUsePictures);
    EXPECT_TRUE(rig.settings.UseNUR);
    EXPECT_TRUE(page.at(kAddPicture).enabled);
    page.at(kPictureList).selection = -1;
    page.toggle(kUsePictures);
    page.toggle(kUsePictures);
    EXPECT_FALSE(page.at(kRemovePicture).enabled);  // no row selected
}

TEST(StarfieldPage, AddedPicturesAppendAndRemovingSelectsTheRowAboveOrTheNewRowZero) {
    DialogRig rig;
    Settings stored;
    stored.UseNUR = true;
    FakeDialog& page = pageOver(rig, stored, kStarfieldPage);
    EXPECT_FALSE(page.at(kRemovePicture).enabled);
    rig.desktop.fileAnswers = {"C:\\p\\b.bmp", std::nullopt, "C:\\p\\a.bmp", "C:\\p\\c.bmp"};
    for (int i = 0; i < 4; ++i) page.click(kAddPicture);  // the second is cancelled
    EXPECT_EQ(page.at(kPictureList).rows, (std::vector<std::string>{"b.bmp", "a.bmp", "c.bmp"}));
    EXPECT_EQ(page.at(kPictureList).selection, 2);
    const OpenFileRequest& request = rig.desktop.fileRequests[0];
    EXPECT_EQ(request.title, "Select image file");
    EXPECT_EQ(request.initialFolder, rig.programDir);
    ASSERT_EQ(request.filters.size(), 5u);
    EXPECT_EQ(request.filters[0], (std::pair<std::string, std::string>{"Windows Bitmap (*.bmp)", "*.BMP"}));
    EXPECT_EQ(request.filters[4].second, "*.*");

    page.click(kRemovePicture);
    EXPECT_EQ(rig.settings.NURimages, (std::vector<std::string>{"C:\\p\\b.bmp", "C:\\p\\a.bmp"}));
    EXPECT_EQ(page.at(kPictureList).selection, 1);
    page.select(kPictureList, 0);
    page.click(kRemovePicture);
    EXPECT_EQ(page.at(kPictureList).rows, std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(page.at(kPictureList).selection, 0);
    EXPECT_TRUE(page.at(kRemovePicture).enabled);
    page.click(kRemovePicture);
    EXPECT_TRUE(rig.settings.NURimages.empty());
    EXPECT_FALSE(page.at(kRemovePicture).enabled);
}

TEST(EffectsPage, SoundBoxSelectsTheCurrentChoice) {
    for (const auto& [sound, row] : std::vector<std::pair<std::string, int>>{
             {"D", 1}, {"", 0}, {"C:\\other\\unknown.wav", 0}, {"C:\\s\\two.wav", 3}}) {
        DialogRig rig;
        Settings stored;
        stored.RecentSounds = {"C:\\s\\one.wav", "C:\\s\\two.wav"};
        rig.keep(stored);
        writeString(&rig.store.key(), "BackSound", sound);  // as another program may leave it
        rig.open();
        FakeDialog& page = rig.page(kEffectsPage);
        EXPECT_EQ(page.at(kSoundBox).selection, row) << sound;
        EXPECT_EQ(rig.settings.BackSound, sound);
    }
}

TEST(EffectsPage, SoundRowsSetTheSoundAndBrowsingMovesItToTheFront) {
    DialogRig rig;
    Settings stored;
    stored.BackSound = "";
    const std::vector<std::string> recent = {"C:\\s\\1.wav", "C:\\s\\2.wav", "C:\\s\\3.wav", "C:\\s\\4.wav"};
    stored.RecentSounds = recent;
    FakeDialog& page = pageOver(rig, stored, kEffectsPage);
    const std::vector<std::string> rows = {"Disabled", "Default \u2013 \"Durodi vudav\"", "1.wav", "2.wav", "3.wav",
                                           "4.wav", "Browse..."};
    EXPECT_EQ(page.at(kSoundBox).rows, rows);
    page.select(kSoundBox, 1);
    EXPECT_EQ(rig.settings.BackSound, "D");
    page.select(kSoundBox, 4);
    EXPECT_EQ(rig.settings.BackSound, "C:\\s\\3.wav");

    rig.desktop.fileAnswers = {std::nullopt};
    page.select(kSoundBox, 6);
    EXPECT_EQ(page.at(kSoundBox).selection, 4);  // Cancel shows the previous choice
    EXPECT_EQ(rig.desktop.fileRequests[0].title, "Select background sound file");
    EXPECT_TRUE(rig.desktop.fileRequests[0].initialFolder.empty());

    rig.desktop.fileAnswers = {"C:\\s\\4.wav"};
    page.select(kSoundBox, 6);
    EXPECT_EQ(page.at(kSoundBox).selection, 2);
    EXPECT_EQ(page.at(kSoundBox).rows[2], "4.wav");
    EXPECT_EQ(rig.settings.BackSound, "C:\\s\\4.wav");
    EXPECT_EQ(rig.settings.RecentSounds.size(), 4u);
}

TEST(LanguagePage, RowsAreTheFilesFirstLinesAndChoicesStoreTheirPaths) {
    DialogRig rig;
    const std::string german = rig.addFile("german.lang", "Deutsch\r\nArial,8,0\r\n1=OK");
    rig.addFile("long.lang", std::string(3000, 'x'));
    rig.addFile("gone.lang", "");
    std::filesystem::create_directories(rig.programDir + "/dir.lang");
    rig.folders.folders[rig.programDir].push_back("dir.lang");
    const std::string help = rig.addFile("lumara.chm", "");
    Settings stored;
    stored.Language = german;
    stored.HelpFile = help;
    FakeDialog& page = pageOver(rig, stored, kLanguagePage);
    // The long first line is cut; a folder cannot be read as a file.
    EXPECT_EQ(page.at(kLanguageBox).rows,
              (std::vector<std::string>{"English (default)", "Deutsch", std::string(1999, 'x'), "", ""}));
    EXPECT_EQ(page.at(kLanguageBox).selection, 1);
    EXPECT_EQ(page.at(kHelpFileBox).rows, (std::vector<std::string>{"none", "lumara.chm"}));
    EXPECT_EQ(page.at(kHelpFileBox).selection, 1);

    page.select(kLanguageBox, 4);
    EXPECT_EQ(rig.settings.Language, rig.programDir + "/dir.lang");
    page.select(kLanguageBox, 0);
    EXPECT_EQ(rig.settings.Language, "");
    page.select(kHelpFileBox, 0);
    EXPECT_EQ(rig.settings.HelpFile, "");

    // A language file outside the program folder has no row: English is
    // shown, and OK keeps the path.
    stored.Language = "/elsewhere/own.lang";
    DialogRig outside;
    EXPECT_EQ(pageOver(outside, stored, kLanguagePage).at(kLanguageBox).selection, 0);
    outside.desktop.find(dlg::kSettings).click(dlg::kOk);
    Settings back;
    LoadSettings(back, outside.store, outside.folders);
    EXPECT_EQ(back.Language, "/elsewhere/own.lang");
}
