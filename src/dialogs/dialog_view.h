#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/window_messages.h"

class DialogController;

// A rectangle in screen pixels; right and bottom are exclusive.
struct PixelRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What the open-file dialog is asked for.
struct OpenFileRequest {
    std::vector<std::pair<std::string, std::string>> filters;  // (description, pattern); the first is preselected
    std::string initialFolder;  // "" for the platform's choice
    std::string title;
    // The longest path the dialog may return is one less.
    size_t bufferSize = 300;
    // The name of a first filter matching the files of every filter but
    // "*.*", for a chooser that hides what its filter does not match; ""
    // for none. Windows' dialog keeps the list as given.
    std::string allTypesName;
};

// A descendant window of a dialog and its control id.
struct DescendantWindow {
    WindowHandle window;
    int32_t controlId;
};

// One open dialog window as its controller sees it: its controls by id, and
// the few window operations the dialogs need. The Windows view maps each
// operation onto a message or call of the dialog manager; another view
// gives the same results with its own widgets. Lists and combo boxes never
// sort, row indexes count from 0, and -1 is "no row".
class DialogView {
public:
    virtual ~DialogView() = default;

    virtual WindowHandle window() = 0;  // the dialog's own window
    virtual WindowHandle control(int id) = 0;
    virtual int32_t controlId(WindowHandle window) = 0;  // -1 for an unnamed one

    virtual void setText(int id, std::string_view text) = 0;
    // The control's text, at most `limit` bytes of it.
    virtual std::string text(int id, size_t limit) = 0;
    virtual void setTextLimit(int id, size_t limit) = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual void focus(int id) = 0;
    virtual bool isChecked(int id) = 0;
    virtual void setChecked(int id, bool checked) = 0;

    // Every descendant window in the platform's order (children of children
    // included, owned windows not), and setting any window's text.
    virtual std::vector<DescendantWindow> descendants() = 0;
    virtual void setWindowText(WindowHandle window, std::string_view text) = 0;

    virtual void listReset(int id) = 0;
    virtual void listAdd(int id, std::string_view row) = 0;
    virtual void listDelete(int id, int row) = 0;
    virtual void listSelect(int id, int row) = 0;  // an index out of range selects nothing
    virtual int listSelection(int id) = 0;

    virtual void comboReset(int id) = 0;
    virtual void comboAdd(int id, std::string_view row) = 0;
    virtual void comboSelect(int id, int row) = 0;  // an index out of range selects nothing
    virtual int comboSelection(int id) = 0;

    // The range is taken as two signed 16-bit numbers; a position outside it
    // puts the thumb at the nearer end.
    virtual void trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                               int32_t lineSize) = 0;
    virtual void trackbarSetPosition(int id, int32_t position) = 0;
    virtual int32_t trackbarPosition(int id) = 0;

    virtual void tabInsert(int id, int index, std::string_view text) = 0;
    virtual int tabSelection(int id) = 0;
    // The header of tab `index` in the tab control's own coordinates.
    virtual PixelRect tabItemRect(int id, int index) = 0;
    virtual PixelRect controlScreenRect(int id) = 0;

    // The platform's open-file dialog owned by this dialog; true with the
    // chosen path, false when cancelled.
    virtual bool openFile(const OpenFileRequest& request, std::string& path) = 0;
    // A message box with an error icon and an OK button, owned by this dialog.
    virtual void showError(std::string_view caption, std::string_view text) = 0;

    // Runs dialog `templateId` modally, owned by the window active now; its result.
    virtual int runModal(uint32_t templateId, DialogController& controller) = 0;
    // Creates dialog `templateId` as a modeless page owned by control
    // `ownerControl` of this dialog (not a child: it does not follow the
    // dialog by itself); its window, 0 when it could not be made.
    virtual WindowHandle createPage(uint32_t templateId, int ownerControl, DialogController& controller) = 0;
    // Moves and sizes a page to the top of the window order, without
    // activating it or changing its visibility.
    virtual void placeWindow(WindowHandle window, const PixelRect& rect) = 0;
    virtual void showWindow(WindowHandle window, bool shown) = 0;

    // Centres the dialog over its owner, or over the work area when the owner
    // is absent, hidden or minimised, keeping it inside the work area.
    virtual void centre() = 0;
    virtual void endDialog(int result) = 0;
};
