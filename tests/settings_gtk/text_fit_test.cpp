// No text of the built-in English, the shipped German or the shipped French
// is cut off: every static text, button and check box of every dialog is
// measured with Pango in the font the widget draws with, against the width
// the widget was laid out with from its template.
#include <gtest/gtest.h>

#include "dialogs/about_dialog.h"
#include "dialogs/new_preset_dialog.h"
#include "gtk_desktop.h"

namespace {

// The label that shows a control's text, or null for other controls.
GtkWidget* textLabel(GtkWidget* control) {
    if (GTK_IS_LABEL(control)) return control;
    if (GTK_IS_BUTTON(control) && GTK_IS_LABEL(gtk_bin_get_child(GTK_BIN(control))))
        return gtk_bin_get_child(GTK_BIN(control));
    return nullptr;
}

// Every text of `view` fits its label, and no control grew past its
// template's width to make it fit.
void expectTextsFit(GtkDialogView& view, uint32_t templateId, const std::string& language) {
    const DialogTemplate* dialog = findDialogTemplate(templateId);
    const DialogUnits units = DialogUnits::of(view.widget());
    const std::vector<DescendantWindow> controls = view.descendants();
    ASSERT_EQ(controls.size(), dialog->controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        auto* control = reinterpret_cast<GtkWidget*>(controls[i].window);
        GtkWidget* label = textLabel(control);
        const char* text = label ? gtk_label_get_text(GTK_LABEL(label)) : "";
        if (!*text) continue;
        PangoLayout* layout = gtk_widget_create_pango_layout(label, text);
        int width = 0, height = 0;
        pango_layout_get_pixel_size(layout, &width, &height);
        g_object_unref(layout);
        EXPECT_LE(width, gtk_widget_get_allocated_width(label)) << language << ": \"" << text << "\" of " << templateId;
        EXPECT_LE(gtk_widget_get_allocated_width(control), units.x(dialog->controls[i].width))
            << language << ": \"" << text << "\" of " << templateId;
    }
}

class TextFit : public ::testing::TestWithParam<std::string> {};

TEST_P(TextFit, EveryTextOfEveryDialogFitsItsControl) {
    const std::string language = GetParam();
    SettingsRun run("fit-" + (language.empty() ? std::string("english") : language));
    run.store([&language](Settings& s) {
        if (!language.empty()) s.Language = std::string(LUMARA_LANGUAGE_DIR) + "/" + language + ".lang";
    });
    run.open();
    expectTextsFit(*run.view, dlg::kSettings, language);
    const uint32_t pages[] = {dlg::kStarfieldPage, dlg::kFlightPage, dlg::kEffectsPage, dlg::kLanguagePage};
    for (int i = 0; i < 4; ++i) {
        run.showPage(i);
        expectTextsFit(run.page(pages[i]), pages[i], language);
    }
    NewPresetDialog ask(run.services);
    auto askView = GtkDialogView::open(dlg::kNewPreset, ask, GTK_WINDOW(run.view->widget()), {});
    AboutDialog about(run.services);
    auto aboutView = GtkDialogView::open(dlg::kAbout, about, GTK_WINDOW(run.view->widget()), {});
    pump();
    expectTextsFit(*askView, dlg::kNewPreset, language);
    expectTextsFit(*aboutView, dlg::kAbout, language);
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFit, ::testing::Values("", "german", "french"),
                         [](const auto& test) { return test.param.empty() ? std::string("english") : test.param; });

}  // namespace
