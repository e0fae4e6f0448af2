// The settings dialog: what it opens with, the preset list through add, use
// and delete, OK and Cancel against the store, and the pages following it.
#include <gtest/gtest.h>

#include <tuple>

#include "dialog_rig.h"
#include "dialogs/about_dialog.h"
#include "dialogs/new_preset_dialog.h"

namespace {

using namespace dlg;

Settings withFactoryAndThreeOwnPresets() {
    Settings s;
    AddFactoryPresets(s);
    for (const char* name : {"Fourth", "Fifth", "Sixth"}) {
        Preset p;
        CapturePreset(s, p);
        p.StarsCount = 100 + static_cast<int32_t>(s.Presets.size());
        p.Name = name;
        s.Presets.push_back(p);
    }
    return s;
}

}  // namespace

TEST(SettingsDialog, OpensOnTheStarfieldPageWithTheStoredStateAndNoPresetChosen) {
    DialogRig rig;
    Settings stored;
    stored.StarsCount = 7000;
    rig.keep(stored);
    rig.settings.StarsCount = 1;  // what an earlier run left in memory
    FakeDialog& d = rig.open();

    EXPECT_TRUE(d.centred);
    EXPECT_EQ(rig.settings.StarsCount, 7000);
    EXPECT_EQ(d.at(kPageTabs).rows, (std::vector<std::string>{" starfield ", " flight ", " effects ", " language "}));
    EXPECT_EQ(d.at(kPresetList).rows, (std::vector<std::string>{"Simple", "Realistic", "Rational"}));
    EXPECT_EQ(d.at(kPresetList).selection, -1);
    EXPECT_FALSE(d.at(kUsePreset).enabled);
    EXPECT_FALSE(d.at(kDeletePreset).enabled);
    EXPECT_TRUE(rig.page(kStarfieldPage).visible);
    for (uint32_t hidden : {kFlightPage, kEffectsPage, kLanguagePage}) EXPECT_FALSE(rig.page(hidden).visible);
    EXPECT_EQ(rig.page(kStarfieldPage).at(kStarsValue).text, "7000");
    FakeDialog& language = rig.page(kLanguagePage);  // no language or help files: each box has its one row
    EXPECT_EQ(language.at(kLanguageBox).rows, std::vector<std::string>{"English (default)"});
    EXPECT_EQ(language.at(kLanguageBox).selection, 0);
    EXPECT_EQ(language.at(kHelpFileBox).rows, std::vector<std::string>{"none"});
}

TEST(SettingsDialog, PresetButtonsFollowTheRowsThroughAddAndDelete) {
    DialogRig rig;
    rig.keep(withFactoryAndThreeOwnPresets());
    FakeDialog& d = rig.open();
    for (int row : {0, 1, 2, 3}) {  // the factory presets cannot be deleted
        d.select(kPresetList, row);
        EXPECT_TRUE(d.at(kUsePreset).enabled) << row;
        EXPECT_EQ(d.at(kDeletePreset).enabled, row == 3) << row;
    }

    // Deleting row 5 selects row 4 and keeps Delete; row 3 selects 2 and disables it.
    d.select(kPresetList, 5);
    d.click(kDeletePreset);
    EXPECT_EQ(d.at(kPresetList).selection, 4);
    EXPECT_TRUE(d.at(kDeletePreset).enabled);
    d.select(kPresetList, 3);
    d.click(kDeletePreset);
    EXPECT_EQ(d.at(kPresetList).selection, 2);
    EXPECT_FALSE(d.at(kDeletePreset).enabled);
    EXPECT_TRUE(d.at(kUsePreset).enabled);
    ASSERT_EQ(rig.settings.Presets.size(), 4u);
    EXPECT_EQ(rig.settings.Presets[3].Name, "Fifth");

    // A name already in use gives a second row with it.
    rig.desktop.onModal = [](FakeDialog& ask) {
        ask.setText(kPresetName, "Fifth");
        ask.click(kOk);
    };
    rig.settings.StarsCount = 4321;
    d.click(kAddPreset);
    EXPECT_EQ(d.at(kPresetList).rows, (std::vector<std::string>{"Simple", "Realistic", "Rational", "Fifth", "Fifth"}));
    EXPECT_EQ(d.at(kPresetList).selection, 4);
    EXPECT_TRUE(d.at(kDeletePreset).enabled);
    EXPECT_EQ(rig.settings.Presets[4].StarsCount, 4321);

    rig.desktop.onModal = [](FakeDialog& ask) { ask.click(kCancel); };
    d.click(kAddPreset);
    EXPECT_EQ(rig.settings.Presets.size(), 5u);
}

TEST(SettingsDialog, UseRefreshesTheThreeFlightPagesButNotTheLanguagePage) {
    DialogRig rig;
    const std::string german = rig.addFile("german.lang", "Deutsch\r\n\r\n2=Abbrechen");
    Settings stored = withFactoryAndThreeOwnPresets();
    stored.Presets[3].NURimages = {"C:\\p\\x.png"};
    stored.Presets[3].AntiAliase = 4;
    stored.Presets[3].RotSpeed = -7;
    rig.keep(stored);
    FakeDialog& d = rig.open();
    FakeDialog& language = rig.page(kLanguagePage);
    language.select(kLanguageBox, 1);

    d.select(kPresetList, 3);
    d.click(kUsePreset);
    EXPECT_EQ(rig.page(kStarfieldPage).at(kStarsValue).text, "103");
    EXPECT_EQ(rig.page(kStarfieldPage).at(kPictureList).rows, std::vector<std::string>{"x.png"});
    EXPECT_EQ(rig.page(kFlightPage).at(kRotationValue).text, "-7");
    EXPECT_EQ(rig.page(kEffectsPage).at(kAntiAliasBox).selection, 4);
    EXPECT_EQ(language.at(kLanguageBox).selection, 1);
    EXPECT_EQ(rig.settings.Language, german);
}

TEST(SettingsDialog, CancelStoresNothingAndOkStoresEverything) {
    DialogRig rig;
    rig.keep(Settings());
    {
        FakeDialog& d = rig.open();
        rig.desktop.onModal = [](FakeDialog& ask) {
            ask.setText(kPresetName, "Mine");
            ask.click(kOk);
        };
        d.click(kAddPreset);
        rig.page(kStarfieldPage).moveTrackbar(kStarsTrackbar, 300);
        d.click(kCancel);
        EXPECT_EQ(d.result(), 2);
        EXPECT_TRUE(rig.store.names("write").empty());
    }
    SettingsDialog again(rig.services);
    FakeDialog& d = rig.desktop.open(kSettings, again);
    EXPECT_EQ(d.at(kPresetList).rows.size(), 3u);
    d.click(kAddPreset);
    rig.page(kStarfieldPage).moveTrackbar(kStarsTrackbar, 300);
    d.click(kOk);
    EXPECT_EQ(d.result(), 1);
    Settings back;
    LoadSettings(back, rig.store, rig.folders);
    EXPECT_EQ(back.StarsCount, 300);
    EXPECT_EQ(back.Presets.back().Name, "Mine");
}

// Each failure is told once, in the dialog's language, and the dialog stays
// open on the record as it was: the sound box's rows still name the files
// they set, and "Browse..." still opens the chooser.
TEST(SettingsDialog, OkThatCannotSaveSaysWhyInItsLanguageAndStaysOpenOnTheSameRecord) {
    DialogRig rig;
    Settings stored;
    stored.Language = rig.addFile("german.lang", "Deutsch\r\n\r\n3073=Schoner\r\n3074=Nicht gespeichert.\r\n"
                                                 "3076=Kein Schl\xFCssel.\r\n3077=Wert %1 nicht geschrieben.");
    stored.RecentSounds = {"C:\\s\\1.wav", "C:\\s\\2.wav"};
    rig.keep(stored);
    writeString(&rig.store.key(), "BackSound", "C:\\s\\3.wav");  // a save puts it first in the history
    FakeDialog& d = rig.open();
    FakeDialog& effects = rig.page(kEffectsPage);
    rig.store.creatable[0] = false;
    d.click(kOk);
    rig.store.creatable[0] = true;
    rig.store.refusedValue = "HelpFile";
    d.click(kOk);
    EXPECT_FALSE(d.ended());
    EXPECT_EQ(rig.desktop.errors, (std::vector<std::string>{"Nicht gespeichert.\n\nKein Schl\u00FCssel.",
                                                            "Nicht gespeichert.\n\nWert HelpFile nicht geschrieben."}));
    EXPECT_EQ(rig.desktop.errorCaptions, (std::vector<std::string>{"Schoner", "Schoner"}));
    effects.select(kSoundBox, 2);
    EXPECT_EQ(rig.settings.BackSound, "C:\\s\\1.wav");
    effects.select(kSoundBox, 4);
    EXPECT_EQ(rig.desktop.fileRequests.size(), 1u);

    rig.store.refusedValue.clear();
    d.click(kOk);
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(rig.desktop.errors.size(), 2u);
}

// The dialog refuses, in its language, a picture, a preset or a file that
// would be stored longer than it is read back, and what it accepts comes
// back whole after OK.
TEST(SettingsDialog, RefusesWhatCouldNotBeReadBackAndKeepsWhatItAccepts) {
    DialogRig rig;
    const std::string german =
        rig.addFile("german.lang", "Deutsch\r\n\r\n3070=Liste voll\r\n3071=Zu lang\r\n3072=Pfad zu lang");
    rig.addFile(std::string(1000, 'l') + ".lang", "Long\r\n\r\n1=OK");
    Settings stored;
    stored.UseNUR = true;
    stored.Language = german;
    rig.keep(stored);
    FakeDialog& d = rig.open();
    FakeDialog& starfield = rig.page(kStarfieldPage);
    int asked = 0;
    rig.desktop.onModal = [&asked](FakeDialog& ask) {
        ask.setText(kPresetName, "P" + std::to_string(++asked));
        ask.click(kOk);
    };
    // Pictures of 99 bytes take 100 in the stored list, which holds 10,000
    // bytes with its closing NUL; a preset's holds 5,000.
    const auto addPictures = [&](int count, size_t length) {
        for (int i = 0; i < count; ++i) {
            rig.desktop.fileAnswers.push_back(std::string(length, 'a' + static_cast<char>(i % 26)));
            starfield.click(kAddPicture);
        }
    };
    addPictures(49, 99);
    d.click(kAddPreset);
    addPictures(1, 99);
    d.click(kAddPreset);  // 5,001 bytes: refused before a name is asked for
    EXPECT_EQ(asked, 1);
    addPictures(49, 99);
    addPictures(1, 98);  // exactly full
    addPictures(1, 1);
    EXPECT_EQ(rig.desktop.errors, (std::vector<std::string>{"Zu lang", "Liste voll"}));
    EXPECT_EQ(starfield.at(kPictureList).rows.size(), 100u);

    FakeDialog& language = rig.page(kLanguagePage);
    language.select(kLanguageBox, 2);
    EXPECT_EQ(rig.desktop.errors.back(), "Pfad zu lang");
    EXPECT_EQ(language.at(kLanguageBox).selection, 1);
    EXPECT_EQ(rig.settings.Language, german);

    d.click(kOk);
    ASSERT_EQ(d.result(), 1);
    Settings back;
    LoadSettings(back, rig.store, rig.folders);
    EXPECT_EQ(back.NURimages, rig.settings.NURimages);
    EXPECT_EQ(back.Presets, rig.settings.Presets);
    EXPECT_EQ(back.Presets.back().NURimages.size(), 49u);
}

TEST(SettingsDialog, PagesFollowTheTabsAndTheDialogWhenItMoves) {
    DialogRig rig;
    rig.keep(Settings());
    FakeDialog& d = rig.open();
    d.selectTab(2);
    EXPECT_FALSE(rig.page(kStarfieldPage).visible);
    EXPECT_TRUE(rig.page(kEffectsPage).visible);

    d.moveTo(400, 300);
    const PixelRect tabs = d.controlScreenRect(kPageTabs);
    for (uint32_t page : {kStarfieldPage, kFlightPage, kEffectsPage, kLanguagePage}) {
        const PixelRect p = rig.page(page).placed;
        // Below the tab headers (22 high), inside the frame.
        EXPECT_EQ(std::tuple(p.left, p.top, p.right, p.bottom),
                  std::tuple(tabs.left + 6, tabs.top + 22 + 8, tabs.right - 8, tabs.bottom - 8));
    }
}

TEST(NewPresetDialog, KeepsAskingForANameOfOneToFiftyCharacters) {
    DialogRig rig;
    NewPresetDialog ask(rig.services);
    FakeDialog& d = rig.desktop.open(kNewPreset, ask);
    EXPECT_EQ(d.at(kPresetName).textLimit, 50u);
    d.click(kOk);
    EXPECT_FALSE(d.ended());
    d.setText(kPresetName, std::string(50, 'n') + "cut");
    d.click(kOk);
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(ask.name(), std::string(50, 'n'));

    FakeDialog& blanks = rig.desktop.open(kNewPreset, ask);
    blanks.setText(kPresetName, "  ");
    blanks.click(kOk);
    EXPECT_EQ(ask.name(), "  ");
}

TEST(AboutDialog, OnlyCloseEndsIt) {
    DialogRig rig;
    AboutDialog about(rig.services);
    FakeDialog& d = rig.desktop.open(kAbout, about);
    EXPECT_EQ(d.send(msg::command(kCancel)), 0);  // Esc and the close box
    EXPECT_FALSE(d.ended());
    d.click(kOk);
    EXPECT_EQ(d.result(), 1);
}
