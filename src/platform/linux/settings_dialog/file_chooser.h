#pragma once
// The open-file dialog of the settings pages on Linux: GtkFileChooserNative,
// which is the desktop portal's chooser where one runs and GTK's own
// otherwise. Pairs with GtkDialogView::openFile. Filters match names
// without regard to ASCII case, as Windows' do ("*.JPG" shows photo.jpg),
// and "*.JPG" also matches the longer "*.jpeg"; a request's allTypesName
// comes first and is chosen. A path longer than the request's buffer takes
// is refused as Windows refuses it, which the caller sees as Cancel.
//
// The only folder the dialogs name is the program folder (the picture
// chooser's), which on Linux is the installation's own data, where nobody
// keeps pictures: such a chooser opens where this run last chose a file,
// else in the user's Pictures folder, else at home. GTK's own chooser is
// kept inside the work area of the owner's monitor.
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

// The folder a chooser opens in when the request names one (see above).
std::string pictureStartFolder();

// Runs the chooser for `request`, modal over `owner`; true with the chosen
// path, false when cancelled.
bool chooseFile(GtkWindow* owner, const OpenFileRequest& request, std::string& path);
