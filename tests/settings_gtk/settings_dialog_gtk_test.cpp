// The GTK settings dialog driven through its real widgets in a private X
// server, and the store read back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gtk_desktop.h"
#include "platform/linux/settings_dialog/file_chooser.h"

namespace {

using namespace std::chrono_literals;

void click(GtkWidget* button) {
    gtk_button_clicked(GTK_BUTTON(button));
    pump();
}

void selectRow(GtkWidget* scrolledList, int row) {
    GtkWidget* list = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(scrolledList))));
    gtk_list_box_select_row(GTK_LIST_BOX(list), gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), row));
    pump();
}

// Types `name` into the new-preset dialog once it is open and presses Enter.
void answerNewPreset(const std::string& name) {
    whenReady([name] {
        GtkDialogView* ask = GtkDialogView::latest(dlg::kNewPreset);
        if (!ask || !gtk_widget_get_mapped(ask->widget())) return false;
        GtkWidget* field = ask->controlWidget(dlg::kPresetName);
        gint at = 0;
        gtk_editable_insert_text(GTK_EDITABLE(field), name.c_str(), -1, &at);
        pressKey(field, GDK_KEY_Return);
        return true;
    });
}

// The controllers' rules are tested with fakes (tests/dialogs); this proves
// the GTK view's wiring: a control of each kind, the trackbars' ranges and
// steps, the name field's limit.
TEST(GtkSettingsDialog, WidgetsAndPresetsEditTheSettingsAndOkStoresThem) {
    SettingsRun run("widgets");
    run.store();
    run.open();
    GtkWidget* list = run.widget(dlg::kPresetList);
    // Framed as the templates frame them: the picture list, not the preset list.
    EXPECT_EQ(gtk_scrolled_window_get_shadow_type(GTK_SCROLLED_WINDOW(list)), GTK_SHADOW_NONE);
    EXPECT_EQ(gtk_scrolled_window_get_shadow_type(GTK_SCROLLED_WINDOW(run.widget(dlg::kPictureList))), GTK_SHADOW_IN);
    selectRow(list, 0);
    click(run.widget(dlg::kUsePreset));
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "1000");  // the first factory preset

    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kStarsTrackbar)), 4321);
    pump();
    EXPECT_EQ(shownText(run.widget(dlg::kStarsValue)), "4321");
    // The stars scale steps by 200 with the arrow keys; the clouds scale
    // ignores them and takes Page Up.
    pressKey(run.widget(dlg::kStarsTrackbar), GDK_KEY_Right);
    GtkRange* clouds = GTK_RANGE(run.widget(dlg::kCloudsTrackbar));
    gtk_range_set_value(clouds, 5);
    pressKey(run.widget(dlg::kCloudsTrackbar), GDK_KEY_Right);
    EXPECT_EQ(gtk_range_get_value(clouds), 5);
    pressKey(run.widget(dlg::kCloudsTrackbar), GDK_KEY_Page_Up);
    EXPECT_EQ(std::abs(gtk_range_get_value(clouds) - 5), 1);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(run.widget(dlg::kUsePictures)), TRUE);
    run.showPage(1);
    gtk_range_set_value(GTK_RANGE(run.widget(dlg::kRotationTrackbar)), -100);
    run.showPage(2);
    gtk_combo_box_set_active(GTK_COMBO_BOX(run.widget(dlg::kAntiAliasBox)), 4);
    pump();
    std::string accented;
    for (int i = 0; i < 60; ++i) accented += "\u00e9";
    answerNewPreset(accented);  // typing stops at 50 characters, one byte each as stored
    click(run.widget(dlg::kAddPreset));

    click(run.widget(dlg::kOk));
    EXPECT_EQ(run.view->result(), msg::kIdOk);
    const Settings stored = run.stored();
    EXPECT_EQ(stored.StarsCount, 4521);
    EXPECT_EQ(stored.Clouds, static_cast<int>(gtk_range_get_value(clouds)));
    EXPECT_TRUE(stored.UseNUR);
    EXPECT_EQ(stored.RotSpeed, -100);
    EXPECT_EQ(stored.AntiAliase, 4);
    ASSERT_EQ(stored.Presets.size(), 4u);
    EXPECT_EQ(stored.Presets[3].Name, std::string(50, '\xe9'));
    EXPECT_EQ(stored.Presets[3].StarsCount, 4521);
}

// Cancel, and the window manager's close box, which is Cancel too.
TEST(GtkSettingsDialog, CancelOrTheCloseBoxAfterAddingAPresetStoresNothing) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "the close box" : "Cancel");
        SettingsRun run(closeBox ? "close-box" : "cancel");
        run.store();
        const std::string before = run.storeBytes();
        run.open();
        answerNewPreset("Kept only in memory");
        click(run.widget(dlg::kAddPreset));
        if (closeBox) {
            gtk_window_close(GTK_WINDOW(run.view->widget()));
            pump();
        } else {
            click(run.widget(dlg::kCancel));
        }
        EXPECT_EQ(run.view->result(), msg::kIdCancel);
        EXPECT_EQ(run.storeBytes(), before);
    }
}

// OK that cannot save says why in a message box and the dialog stays: the
// store is a folder, or a file the user made read-only, which stays as it was.
TEST(GtkSettingsDialog, OkThatCannotSaveSaysSo) {
    for (const bool readOnly : {false, true}) {
        SettingsRun run(readOnly ? "read-only-save" : "failed-save");
        run.store();
        run.open();
        const std::string user = run.folder + "/user.reg", before = run.storeBytes();
        if (readOnly) {
            std::filesystem::permissions(user, std::filesystem::perms(0222), std::filesystem::perm_options::remove);
        } else {
            std::filesystem::remove(user);
            std::filesystem::create_directory(user);
        }
        std::string told;
        whenReady([&told] {
            GtkWidget* message = shownWindow(GTK_TYPE_MESSAGE_DIALOG);
            if (!message) return false;
            gchar* text = nullptr;
            g_object_get(message, "text", &text, nullptr);
            told = text ? text : "?";
            g_free(text);
            gtk_dialog_response(GTK_DIALOG(message), GTK_RESPONSE_OK);
            return true;
        });
        click(run.widget(dlg::kOk));
        EXPECT_NE(told.find("opened for writing"), std::string::npos) << told;
        EXPECT_FALSE(run.view->result());
        if (readOnly) { EXPECT_EQ(run.storeBytes(), before); }
        std::filesystem::remove_all(user);
    }
}

std::string listRowText(GtkWidget* scrolledList, int row) {
    GtkWidget* list = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(scrolledList))));
    GtkListBoxRow* shown = gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), row);
    return shown ? shownText(gtk_bin_get_child(GTK_BIN(shown))) : "";
}

std::string comboRowText(GtkWidget* combo, int row) {
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
    GtkTreeIter at;
    if (!gtk_tree_model_iter_nth_child(model, &at, nullptr, row)) return "";
    gchar* text = nullptr;
    gtk_tree_model_get(model, &at, gtk_combo_box_get_entry_text_column(GTK_COMBO_BOX(combo)), &text, -1);
    const std::string shown = text ? text : "";
    g_free(text);
    return shown;
}

// Names stored in Windows-1252 by the Windows build (here "Caf\xe9", "\xe9t\xe9")
// show as UTF-8, as the language file's texts do, and keep their bytes;
// a name typed here is stored in Windows-1252 too ('?' where it has no
// character).
TEST(GtkSettingsDialog, GermanTextsAndWindows1252NamesShowAsUtf8) {
    SettingsRun run("german");
    const std::string picture = run.folder + "/Caf\xe9.bmp", sound = run.folder + "/\xe9t\xe9.wav";
    std::ofstream(picture) << "BM";
    std::ofstream(sound) << "RIFF";
    run.store([&](Settings& s) {
        s.Language = std::string(LUMARA_LANGUAGE_DIR) + "/german.lang";
        s.Presets.push_back(s.Presets[0]);
        s.Presets.back().Name = "Caf\xe9";
        s.NURimages = {picture};
        s.RecentSounds = {sound};
    });
    run.open();
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(run.view->widget())), "Einstellungen für Lumara Screensaver");
    EXPECT_EQ(shownText(run.widget(dlg::kCancel)), "Abbrechen");
    EXPECT_EQ(shownText(run.widget(dlg::kAddPreset)), "Hinzufügen");
    GtkNotebook* tabs = GTK_NOTEBOOK(run.widget(dlg::kPageTabs));
    EXPECT_STREQ(gtk_notebook_get_tab_label_text(tabs, gtk_notebook_get_nth_page(tabs, 0)), " Sternenfeld ");

    GtkWidget* presets = run.widget(dlg::kPresetList);
    EXPECT_EQ(listRowText(presets, 3), "Café");
    answerNewPreset("Thé \u4e2d");
    click(run.widget(dlg::kAddPreset));
    EXPECT_EQ(listRowText(presets, 4), "Thé ?");
    EXPECT_EQ(listRowText(run.widget(dlg::kPictureList), 0), "Café.bmp");
    EXPECT_EQ(comboRowText(run.widget(dlg::kSoundBox), 2), "été.wav");
    click(run.widget(dlg::kOk));
    const Settings stored = run.stored();
    ASSERT_EQ(stored.Presets.size(), 5u);
    EXPECT_EQ(stored.Presets[3].Name, "Caf\xe9");
    EXPECT_EQ(stored.Presets[4].Name, "Th\xe9 ?");
    EXPECT_EQ(stored.NURimages, std::vector<std::string>{picture});
    EXPECT_EQ(stored.RecentSounds, std::vector<std::string>{sound});
}

// Windows' wildcards match without regard to case; GTK's patterns do not.
// A JPEG may also be named .jpeg.
TEST(GtkFileChooser, FiltersMatchNamesInEitherCase) {
    GtkFileFilter* filter = windowsFileFilter("JPEG image (*.jpg)", "*.JPG");
    g_object_ref_sink(filter);
    for (const char* name : {"photo.jpg", "PHOTO.JPG", "Photo.Jpg", "photo.jpeg", "PHOTO.JPEG"}) {
        GtkFileFilterInfo info{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, name, nullptr};
        EXPECT_TRUE(gtk_file_filter_filter(filter, &info)) << name;
    }
    GtkFileFilterInfo other{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, "photo.jpe", nullptr};
    EXPECT_FALSE(gtk_file_filter_filter(filter, &other));
    g_object_unref(filter);
    EXPECT_EQ(caseInsensitivePattern("*.*"), "*");
}

// Browse in the sound box opens the file chooser, whose choice becomes the sound.
TEST(GtkFileChooser, SoundIsChosenThroughTheChooser) {
    SettingsRun run("sound");
    run.store();
    const std::string wave = run.folder + "/Chime.WAV";
    std::ofstream(wave) << "RIFF";
    run.open();
    run.showPage(2);
    GtkComboBox* sounds = GTK_COMBO_BOX(run.widget(dlg::kSoundBox));
    whenReady([&wave] {
        GtkWidget* chooser = shownWindow(GTK_TYPE_FILE_CHOOSER_DIALOG);
        if (!chooser) return false;
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(chooser)), "Select background sound file");
        gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), wave.c_str());
        pumpUntil([chooser, &wave] {
            gchar* chosen = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
            const bool selected = chosen && wave == chosen;
            g_free(chosen);
            return selected;
        });
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
        return true;
    });
    gtk_combo_box_set_active(sounds, gtk_tree_model_iter_n_children(gtk_combo_box_get_model(sounds), nullptr) - 1);
    pump();
    EXPECT_EQ(run.settings.BackSound, wave);
}

// Adding a picture: the chooser shows every picture first, opens where
// the user keeps pictures (home, with no Pictures folder) rather than in
// the program folder, and stays inside the work area even when it was last
// left larger than the screen.
TEST(GtkFileChooser, PicturesAreChosenFromAllPicturesAtHomeInsideTheScreen) {
    GSettings* chooserSettings = g_settings_new("org.gtk.Settings.FileChooser");
    g_settings_set(chooserSettings, "window-size", "(ii)", 1000, 1000);
    SettingsRun run("picture");
    run.store();
    run.open();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(run.widget(dlg::kUsePictures)), TRUE);
    pump();
    GdkRectangle area{};
    gdk_monitor_get_workarea(gdk_display_get_monitor(gdk_display_get_default(), 0), &area);
    bool seen = false;
    whenReady([&] {
        GtkWidget* chooser = shownWindow(GTK_TYPE_FILE_CHOOSER_DIALOG);
        int width = 0, height = 0, x = 0, y = 0;
        if (chooser) gtk_window_get_size(GTK_WINDOW(chooser), &width, &height);
        if (!chooser || height > area.height) return false;  // not yet fitted
        pump(100ms);
        gtk_window_get_position(GTK_WINDOW(chooser), &x, &y);
        EXPECT_GE(y, area.y);
        EXPECT_LE(y + height, area.y + area.height);
        EXPECT_LE(x + width, area.x + area.width);
        GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(chooser));
        EXPECT_STREQ(gtk_file_filter_get_name(GTK_FILE_FILTER(filters->data)), "All pictures");
        EXPECT_EQ(gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(chooser)), filters->data);
        EXPECT_EQ(g_slist_length(filters), 6u);
        GtkFileFilterInfo png{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, "stars.PNG", nullptr};
        EXPECT_TRUE(gtk_file_filter_filter(GTK_FILE_FILTER(filters->data), &png));
        g_slist_free(filters);
        gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser));
        EXPECT_STREQ(folder, g_get_home_dir());
        g_free(folder);
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
        seen = true;
        return true;
    });
    gtk_button_clicked(GTK_BUTTON(run.widget(dlg::kAddPicture)));
    pump();
    EXPECT_TRUE(seen);
    g_object_unref(chooserSettings);
}

}  // namespace
