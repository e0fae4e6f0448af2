// Help topics and pop-ups, the viewer's loading, and the translation of
// the dialogs by a language file.
#include <gtest/gtest.h>

#include "dialog_rig.h"
#include "dialogs/about_dialog.h"
#include "dialogs/new_preset_dialog.h"

namespace {

using namespace dlg;

std::string handle(FakeDialog& d, int control = 0) {
    return std::to_string(control ? d.control(control) : d.window());
}

}  // namespace

TEST(Help, TopicsAndPopUpsOfEveryDialogGoToTheChosenFile) {
    DialogRig rig;
    const std::string file = rig.addFile("lumara.chm", "");
    const std::string other = rig.addFile("other.chm", "");
    rig.addFile("german.lang", "Deutsch\r\nArial,9,0");
    Settings stored;
    stored.HelpFile = file;
    stored.Language = rig.programDir + "/german.lang";
    rig.keep(stored);
    FakeDialog& d = rig.open();
    FakeDialog& flight = rig.page(kFlightPage);

    d.send({msg::kHelp, 0, 0});
    flight.send({msg::kHelp, 0, 0});
    flight.rightClick(kRoamMagnTrackbar);
    d.rightClick(kPresetFrame);
    d.rightClick(kOk);
    EXPECT_EQ(d.send({msg::kContextMenu, d.window(), 0}), 0);  // on the dialog itself: nothing
    const std::string popups = file + "::ContextHelp.txt";
    EXPECT_EQ(rig.viewer.shown, (std::vector<std::string>{
                                      "topic " + handle(d) + " " + file + "::/settings.htm",
                                      "topic 0 " + file + "::/settings.htm#tab2",
                                      "popup " + handle(flight, kRoamMagnTrackbar) + " " + popups + " 29 Arial,9,0",
                                      "popup " + handle(d, kPresetFrame) + " " + popups + " 100 Arial,9,0",
                                      "popup " + handle(d, kOk) + " " + popups + " 1 Arial,9,0",
                                  }));

    // A new help file applies at once; the new-preset dialog has its own table.
    rig.viewer.shown.clear();
    rig.page(kLanguagePage).select(kHelpFileBox, 2);
    d.click(kHelp);
    rig.desktop.onModal = [&](FakeDialog& ask) {
        ask.click(kHelp);
        ask.rightClick(kOk);
        ask.click(kCancel);
    };
    d.click(kAddPreset);
    FakeDialog& ask = rig.desktop.find(kNewPreset);
    EXPECT_EQ(rig.viewer.shown, (std::vector<std::string>{
                                      "topic " + handle(d) + " " + other + "::/settings.htm",
                                      "topic " + handle(ask) + " " + other + "::/presetname.htm",
                                      "popup " + handle(ask, kOk) + " " + other + "::ContextHelp.txt 14 Arial,9,0",
                                  }));
}

TEST(Help, WithoutAHelpFileOnlyInitialiseAndUninitialiseReachTheViewer) {
    DialogRig rig;
    rig.keep(Settings());
    FakeDialog& d = rig.open();
    d.click(kHelp);
    d.rightClick(kPresetList);
    rig.page(kStarfieldPage).send({msg::kHelp, 0, 0});
    rig.desktop.onModal = [](FakeDialog& ask) {
        ask.click(kHelp);
        ask.click(kCancel);
    };
    d.click(kAddPreset);
    rig.desktop.onModal = [](FakeDialog& about) {
        about.click(kLicense);
        about.click(kOk);
    };
    d.click(kAboutButton);
    d.send({msg::kDestroy, 0, 0});
    EXPECT_EQ(rig.viewer.calls, (std::vector<std::string>{"load hhctrl.ocx", "entry", "init", "uninit 77"}));
}

TEST(Help, ViewerComesFromTheRegisteredLibraryOrByNameAndIsNotRetriedAfterFailing) {
    DialogRig rig;
    rig.settings.HelpFile = "h.chm";
    rig.viewer.registered = "C:\\Windows\\System32\\hhctrl.ocx";
    rig.viewer.loadable = {rig.viewer.registered};
    rig.help.ShowHelpTopic(0, "::/a.htm");
    rig.help.ShowHelpTopic(0, "::/b.htm");
    EXPECT_EQ(rig.viewer.calls, (std::vector<std::string>{"load C:\\Windows\\System32\\hhctrl.ocx", "entry",
                                                          "topic 0 h.chm::/a.htm", "topic 0 h.chm::/b.htm"}));

    for (const bool loads : {false, true}) {
        FakeHelpViewer viewer;
        viewer.registered = "C:\\missing.ocx";
        if (!loads) viewer.loadable.clear();
        viewer.hasEntryPoint = false;
        Help help(viewer, rig.settings);
        EXPECT_EQ(help.HelpInitialize(), 0);
        EXPECT_EQ(help.ShowHelpTopic(0, "::/a.htm"), 0);
        EXPECT_EQ(help.ShowHelpTopic(0, "::/b.htm"), 0);  // not tried again: no more calls below
        const std::vector<std::string> expected =
            loads ? std::vector<std::string>{"load C:\\missing.ocx", "load hhctrl.ocx", "entry"}
                  : std::vector<std::string>{"load C:\\missing.ocx", "load hhctrl.ocx"};
        EXPECT_EQ(viewer.calls, expected);
    }
}

TEST(TranslateDialog, OneTextPerIdAppliesInEveryDialogCutToItsBufferAndPagesTranslateThemselves) {
    DialogRig rig;
    rig.addFile("test.lang", "Test\r\n\r\n1=Fine\r\n2=Drop\r\n223=Einstellungen\r\n211=Info\r\n202=Name?\r\n3055=Aus\r\n"
                             "3060=" + std::string(300, 's') + "\r\n1053=Tempo\r\n-1=Unnamed\r\n3060=Sterne\r\n"
                             "3061=" + std::string(300, 'f') + "\r\n3050=" + std::string(80, 'a'));
    Settings stored;
    stored.Language = rig.programDir + "/test.lang";
    rig.keep(stored);
    FakeDialog& d = rig.open();
    EXPECT_EQ(d.caption(), "Einstellungen");
    EXPECT_EQ(d.at(kOk).text, "Fine");
    EXPECT_EQ(d.at(kCancel).text, "Drop");
    EXPECT_EQ(d.at(kHelp).text, "&Help");
    EXPECT_EQ(d.at(kPageTabs).rows[0], "Sterne");  // the later entry wins
    EXPECT_EQ(d.at(kPageTabs).rows[1], std::string(99, 'f'));  // cut to the buffer it is read into
    EXPECT_EQ(rig.page(kFlightPage).at(kMoveLabel).text, "Tempo");
    EXPECT_EQ(rig.page(kEffectsPage).at(kAntiAliasBox).rows[0], "Aus");
    EXPECT_EQ(rig.page(kEffectsPage).at(kAntiAliasBox).rows[1], std::string(49, 'a'));

    AboutDialog about(rig.services);
    FakeDialog& box = rig.desktop.open(kAbout, about);
    EXPECT_EQ(box.caption(), "Info");
    EXPECT_EQ(box.at(kOk).text, "Fine");  // "&Close" shares the id of OK
    EXPECT_EQ(box.at(kProductLine).text, "Lumara Screensaver v.2.0");
    NewPresetDialog ask(rig.services);
    FakeDialog& name = rig.desktop.open(kNewPreset, ask);
    EXPECT_EQ(name.caption(), "Name?");
    EXPECT_EQ(name.at(kOk).text, "Fine");

    // An empty text is no text: the row shows the built-in one.
    rig.folders.files[rig.programDir + "/test.lang"] = "Test\r\n\r\n3055=";
    SettingsDialog again(rig.services);
    rig.desktop.open(kSettings, again);
    EXPECT_EQ(rig.page(kEffectsPage).at(kAntiAliasBox).rows[0], "Disabled");
}
