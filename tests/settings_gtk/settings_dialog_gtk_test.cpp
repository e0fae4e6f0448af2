// The GTK settings dialog driven through its real widgets in a private X
// server, and the store read back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gtk_desktop.h"
#include "platform/linux/gtk/file_chooser.h"

namespace {

using namespace std::chrono_literals;

void click(GtkWidget* button) {
    gtk_button_clicked(GTK_BUTTON(button));
    pump();
}

int rows(GtkWidget* scrolledList) {
    GtkWidget* list = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(scrolledList))));
    int count = 0;
    while (gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), count)) ++count;
    return count;
}

void selectRow(GtkWidget* scrolledList, int row) {
    GtkWidget* list = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(scrolledList))));
    gtk_list_box_select_row(GTK_LIST_BOX(list), gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), row));
    pump();
}

// Types `name` into the new-preset dialog once it is open and presses OK
// (first with the field still empty, which must keep it open), then Enter.
void answerNewPreset(const std::string& name) {
    whenReady([name] {
        GtkDialogView* ask = GtkDialogView::latest(dlg::kNewPreset);
        if (!ask || !gtk_widget_get_mapped(ask->widget())) return false;
        gtk_button_clicked(GTK_BUTTON(ask->controlWidget(dlg::kOk)));
        EXPECT_FALSE(ask->result()) << "an empty name keeps the dialog open";
        GtkWidget* field = ask->controlWidget(dlg::kPresetName);
        gint at = 0;
        gtk_editable_insert_text(GTK_EDITABLE(field), name.c_str(), -1, &at);
        pressKey(field, GDK_KEY_Return);
        return true;
    });
}

TEST(GtkSettingsDialog, ChangesThroughTheWidgetsAreStoredByOk) {
    SettingsRun run("widgets");
    run.store();
    run.open();
    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kStarsTrackbar)), 4321);
    pump();
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "4321");
    // The stars scale steps by 200 with the arrow keys; the clouds scale
    // ignores them and takes Page Up.
    pressKey(run.widget(dlg::kStarsTrackbar), GDK_KEY_Right);
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "4521");
    GtkRange* clouds = GTK_RANGE(run.widget(dlg::kCloudsTrackbar));
    gtk_range_set_value(clouds, 5);
    pressKey(run.widget(dlg::kCloudsTrackbar), GDK_KEY_Right);
    EXPECT_EQ(gtk_range_get_value(clouds), 5);
    pressKey(run.widget(dlg::kCloudsTrackbar), GDK_KEY_Page_Up);
    EXPECT_EQ(std::abs(gtk_range_get_value(clouds) - 5), 1);
    EXPECT_EQ(shownText(run.widget(dlg::kCloudsValue)), std::to_string(static_cast<int>(gtk_range_get_value(clouds))));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(run.widget(dlg::kUsePictures)), TRUE);
    pump();
    EXPECT_TRUE(gtk_widget_is_sensitive(run.widget(dlg::kAddPicture)));

    run.showPage(1);
    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kRotationTrackbar)), -100);
    pump();
    EXPECT_EQ(shownText(run.widget(dlg::kRotationValue)), "-100");
    run.showPage(2);
    gtk_combo_box_set_active(GTK_COMBO_BOX(run.widget(dlg::kAntiAliasBox)), 4);
    gtk_combo_box_set_active(GTK_COMBO_BOX(run.widget(dlg::kSoundBox)), 1);
    pump();

    click(run.widget(dlg::kOk));
    EXPECT_EQ(run.view->result(), msg::kIdOk);
    const Settings stored = run.stored();
    EXPECT_EQ(stored.StarsCount, 4521);
    EXPECT_EQ(stored.Clouds, static_cast<int>(gtk_range_get_value(clouds)));
    EXPECT_TRUE(stored.UseNUR);
    EXPECT_EQ(stored.RotSpeed, -100);
    EXPECT_EQ(stored.AntiAliase, 4);
    EXPECT_EQ(stored.BackSound, "D");
}

TEST(GtkSettingsDialog, PresetsAreAddedUsedAndDeletedThroughTheNewPresetDialog) {
    SettingsRun run("presets");
    run.store();
    run.open();
    GtkWidget* list = run.widget(dlg::kPresetList);
    ASSERT_EQ(rows(list), 3);
    EXPECT_FALSE(gtk_widget_is_sensitive(run.widget(dlg::kUsePreset)));
    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kStarsTrackbar)), 7000);

    // Typing stops at 50 bytes.
    answerNewPreset(std::string(60, 'n'));
    click(run.widget(dlg::kAddPreset));
    ASSERT_EQ(rows(list), 4);
    EXPECT_TRUE(gtk_widget_is_sensitive(run.widget(dlg::kDeletePreset)));

    selectRow(list, 0);
    EXPECT_FALSE(gtk_widget_is_sensitive(run.widget(dlg::kDeletePreset)));
    click(run.widget(dlg::kUsePreset));
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "1000");  // the first factory preset

    answerNewPreset("Second");
    click(run.widget(dlg::kAddPreset));
    selectRow(list, 3);
    click(run.widget(dlg::kDeletePreset));
    ASSERT_EQ(rows(list), 4);
    click(run.widget(dlg::kOk));

    const Settings stored = run.stored();
    ASSERT_EQ(stored.Presets.size(), 4u);
    EXPECT_EQ(stored.Presets[3].Name, "Second");
    EXPECT_EQ(stored.Presets[3].StarsCount, 1000);
}

TEST(GtkSettingsDialog, CancelAfterAddingAPresetStoresNothing) {
    SettingsRun run("cancel");
    run.store();
    const std::string before = run.storeBytes();
    run.open();
    answerNewPreset("Kept only in memory");
    click(run.widget(dlg::kAddPreset));
    click(run.widget(dlg::kCancel));
    EXPECT_EQ(run.view->result(), msg::kIdCancel);
    EXPECT_EQ(run.storeBytes(), before);
}

// The store cannot be written: OK says so and the dialog stays, with what
// the user did.
TEST(GtkSettingsDialog, OkAfterAFailedSaveKeepsTheDialogAndItsValues) {
    SettingsRun run("failed-save");
    run.store();
    run.open();
    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kStarsTrackbar)), 9000);
    std::filesystem::remove(run.folder + "/user.reg");
    std::filesystem::create_directory(run.folder + "/user.reg");  // a folder where the file should be
    bool told = false;
    whenReady([&told] {
        GtkWidget* message = shownWindow(GTK_TYPE_MESSAGE_DIALOG);
        if (!message) return false;
        told = true;
        gtk_dialog_response(GTK_DIALOG(message), GTK_RESPONSE_OK);
        return true;
    });
    click(run.widget(dlg::kOk));
    std::filesystem::remove(run.folder + "/user.reg");
    EXPECT_TRUE(told);
    EXPECT_FALSE(run.view->result());
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "9000");
    click(run.widget(dlg::kOk));
    EXPECT_EQ(run.view->result(), msg::kIdOk);
    EXPECT_EQ(run.stored().StarsCount, 9000);
}

TEST(GtkSettingsDialog, GermanLanguageFileGivesGermanCaptionsAndButtons) {
    SettingsRun run("german");
    run.store([](Settings& s) { s.Language = std::string(LUMARA_LANGUAGE_DIR) + "/german.lang"; });
    run.open();
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(run.view->widget())), "Einstellungen für Lumara Screensaver");
    EXPECT_EQ(shownText(run.widget(dlg::kCancel)), "Abbrechen");
    EXPECT_EQ(shownText(run.widget(dlg::kAddPreset)), "Hinzufügen");
    GtkNotebook* tabs = GTK_NOTEBOOK(run.widget(dlg::kPageTabs));
    EXPECT_STREQ(gtk_notebook_get_tab_label_text(tabs, gtk_notebook_get_nth_page(tabs, 0)), " Sternenfeld ");
    EXPECT_EQ(shownText(run.widget(dlg::kMoveLabel)), "Fluggeschwindigkeit");
}

// Windows' wildcards match without regard to case; GTK's patterns do not.
TEST(GtkFileChooser, FiltersMatchNamesInEitherCase) {
    GtkFileFilter* filter = windowsFileFilter("JPEG image (*.jpg)", "*.JPG");
    g_object_ref_sink(filter);
    for (const char* name : {"photo.jpg", "PHOTO.JPG", "Photo.Jpg"}) {
        GtkFileFilterInfo info{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, name, nullptr};
        EXPECT_TRUE(gtk_file_filter_filter(filter, &info)) << name;
    }
    GtkFileFilterInfo other{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, "photo.jpeg", nullptr};
    EXPECT_FALSE(gtk_file_filter_filter(filter, &other));
    g_object_unref(filter);
    EXPECT_EQ(caseInsensitivePattern("*.*"), "*");
}

// Answers the file chooser once it shows: its title must be `title`; it
// chooses `path`, or cancels when `path` is empty.
void answerChooser(const std::string& title, const std::string& path) {
    whenReady([title, path] {
        GtkWidget* chooser = shownWindow(GTK_TYPE_FILE_CHOOSER_DIALOG);
        if (!chooser) return false;
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(chooser)), title.c_str());
        if (!path.empty()) gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), path.c_str());
        pump(100ms);
        gtk_dialog_response(GTK_DIALOG(chooser), path.empty() ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_ACCEPT);
        return true;
    });
}

TEST(GtkFileChooser, SoundIsChosenOrCancelledThroughTheChooser) {
    SettingsRun run("sound");
    run.store([](Settings& s) { s.BackSound = "D"; });
    const std::string wave = run.folder + "/Chime.WAV";
    std::ofstream(wave) << "RIFF";
    run.open();
    run.showPage(2);
    GtkComboBox* sounds = GTK_COMBO_BOX(run.widget(dlg::kSoundBox));
    const int browse = gtk_tree_model_iter_n_children(gtk_combo_box_get_model(sounds), nullptr) - 1;

    answerChooser("Select background sound file", "");
    gtk_combo_box_set_active(sounds, browse);
    pump();
    EXPECT_EQ(gtk_combo_box_get_active(sounds), 1);  // the built-in sound, as before
    EXPECT_EQ(run.settings.BackSound, "D");

    answerChooser("Select background sound file", wave);
    gtk_combo_box_set_active(sounds, browse);
    pump();
    EXPECT_EQ(run.settings.BackSound, wave);
    gchar* shown = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(sounds));
    EXPECT_STREQ(shown, "Chime.WAV");
    g_free(shown);
}

}  // namespace
