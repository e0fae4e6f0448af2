#pragma once
// The help viewer on Linux, behind the same four commands as Windows' HTML
// Help: the chosen .chm is read through lumara_linux_help (chmlib in a child
// process). A topic is copied out into the user's cache and shown by the
// desktop's browser at its anchor; a pop-up text from the file's
// "ContextHelp.txt" is shown in a GtkPopover at the control, in the
// language file's pop-up font when it names one. Pairs with Help
// (dialogs/help.h) and GtkDialogView, whose handles it takes.
//
// It is the GTK face of lumara_linux_help and sits here, in lumara_gtk,
// rather than in that library: the pop-up is a GtkPopover on a control the
// open dialog views know, and the browser starts in GDK's launch context.
// lumara_linux_help needs no GTK, so its tests and fuzz target need none.
//
// The viewer is part of the program, so there is no library to find or
// load, and initialising and uninitialising have nothing to do. A missing,
// unreadable or damaged file, or a topic it lacks, shows nothing.
#include <gtk/gtk.h>

#include "dialogs/help.h"

class LinuxHelpViewer final : public HelpViewer {
public:
    LinuxHelpViewer() = default;
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

    // The pop-up shown now, or null.
    GtkWidget* popup() const { return popup_; }

private:
    void closePopup();
    static void onPopupGone(GtkWidget* popover, gpointer viewer);

    GtkWidget* popup_ = nullptr;
};
