#pragma once
// The help viewer on Linux, behind the same four commands as Windows' HTML
// Help: the chosen .chm is read through lumara_linux_help (chmlib in a child
// process). A topic is copied out into the user's cache and shown by the
// desktop's browser at its anchor, through its file:// address; a pop-up
// text from the file's "ContextHelp.txt" is shown in a small window of its
// own at the point where the control was clicked, in normal text whatever
// the control's state, whole on the screen, in the language file's pop-up
// font when it names one, until the next click or key. Pairs with Help
// (dialogs/help.h) and GtkDialogView, whose handles it takes.
//
// It is the GTK face of lumara_linux_help and sits here, in lumara_settings_dialog,
// rather than in that library: the pop-up and the message belong to the
// open dialog views, and the browser starts in GDK's launch context.
// lumara_linux_help needs no GTK, so its tests and fuzz target need none.
//
// The viewer is built into the settings dialog, so there is no library of
// its own to find or load, and initialising and uninitialising have nothing
// to do. A topic it
// cannot show (the file cannot be read or lacks it, or no browser can be
// started) is said once, in a message in the dialogs' language; later ones
// show nothing. A pop-up text it cannot find shows nothing.
#include <gtk/gtk.h>

#include "dialogs/help.h"

class LinuxHelpViewer final : public HelpViewer {
public:
    // `settings`: the dialogs' record, whose language the message speaks.
    explicit LinuxHelpViewer(const Settings& settings) : settings_(settings) {}
    ~LinuxHelpViewer() override;
    LinuxHelpViewer(const LinuxHelpViewer&) = delete;
    LinuxHelpViewer& operator=(const LinuxHelpViewer&) = delete;

    std::string registeredLibrary() override { return {}; }
    bool loadLibrary(const std::string&) override { return true; }
    bool findEntryPoint() override { return true; }

    // 1 when the browser was started, 0 when nothing is shown.
    intptr_t displayTopic(WindowHandle owner, const std::string& fileAndTopic) override;
    // 1 when the pop-up shows, 0 when nothing is shown.
    intptr_t displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) override;
    intptr_t initialize(uint32_t&) override { return 0; }
    intptr_t uninitialize(uint32_t) override { return 0; }

    // The pop-up window shown now, or null.
    GtkWidget* popup() const { return popup_; }
    // The message that a topic cannot be shown, while it shows, or null.
    GtkWidget* message() const { return message_; }

private:
    void closePopup();
    // `where`, in UTF-8, takes the place of the text's "%1".
    void tellCannotShow(WindowHandle owner, uint32_t textId, const std::string& where = {});
    static gboolean onPopupInput(GtkWidget* window, GdkEvent* event, gpointer viewer);
    static void onPopupGone(GtkWidget* window, gpointer viewer);
    static void onMessageGone(GtkWidget* window, gpointer viewer);

    const Settings& settings_;
    GtkWidget* popup_ = nullptr;
    GtkWidget* message_ = nullptr;
    bool told_ = false;
};
