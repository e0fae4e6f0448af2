#pragma once
// The open-file dialog of the settings pages on Linux: GtkFileChooserNative,
// which is the desktop portal's chooser where one runs and GTK's own
// otherwise. Pairs with GtkDialogView::openFile. Filters match names
// without regard to ASCII case, as Windows' do ("*.JPG" shows photo.jpg);
// a path longer than the request's buffer takes is refused as Windows
// refuses it, which the caller sees as Cancel.
#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "dialogs/dialog_view.h"

// A Windows wildcard as a GTK pattern that ignores ASCII case:
// "*.JPG" is "*.[jJ][pP][gG]"; "*.*", which matches every name on
// Windows, is "*".
std::string caseInsensitivePattern(std::string_view pattern);

// A filter named `description` for the ";"-separated Windows wildcards of
// `patterns`; the caller owns it (a floating reference).
GtkFileFilter* windowsFileFilter(const std::string& description, std::string_view patterns);

// Runs the chooser for `request`, modal over `owner`; true with the chosen
// path, false when cancelled.
bool chooseFile(GtkWindow* owner, const OpenFileRequest& request, std::string& path);
