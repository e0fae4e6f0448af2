#pragma once
// Dialog views without a window system: each dialog lays itself out from
// its template, and a test drives its controls as a user would (clicks,
// selections, trackbar moves), delivering the messages the platform would.
// Modal dialogs are answered by a script, open-file dialogs from a queue.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_controller.h"
#include "dialogs/help.h"
#include "ui/dialog_template.h"

class FakeDesktop;

class FakeDialog final : public DialogView {
public:
    struct Control {
        int32_t id = 0;
        ControlKind kind = ControlKind::Label;
        WindowHandle handle = 0;
        std::string text;
        bool enabled = true;
        bool checked = false;
        size_t textLimit = 0;
        std::vector<std::string> rows;  // list, combo and tab rows
        int selection = -1;
        int32_t low = 0, high = 100, pageSize = 0, lineSize = 0, position = 0;
    };

    FakeDialog(FakeDesktop& desktop, uint32_t templateId, DialogController& controller, WindowHandle handle);

    // What a user does.
    intptr_t send(const Message& message) { return controller_.dialogProc(message); }
    void click(int id) {
        if (at(id).enabled) send(msg::command(id));
    }
    void toggle(int id) {  // an automatic check box
        at(id).checked = !at(id).checked;
        send(msg::command(id));
    }
    void select(int id, int row);  // a list or combo row
    void moveTrackbar(int id, int32_t position);
    void selectTab(int index);
    void rightClick(int id) { send({msg::kContextMenu, at(id).handle, 0}); }
    void moveTo(int32_t x, int32_t y) {
        x_ = x, y_ = y;
        send({msg::kMove, 0, 0});
    }

    Control& at(int id);
    bool ended() const { return result_.has_value(); }
    int result() const { return result_.value_or(-1); }
    const std::string& caption() const { return caption_; }
    uint32_t templateId() const { return templateId_; }
    bool centred = false;
    bool visible = true;
    PixelRect placed;

    // DialogView
    WindowHandle window() override { return handle_; }
    WindowHandle control(int id) override { return at(id).handle; }
    int32_t controlId(WindowHandle window) override;
    void setText(int id, std::string_view text) override { at(id).text = text; }
    std::string text(int id, size_t limit) override { return at(id).text.substr(0, limit); }
    void setTextLimit(int id, size_t limit) override { at(id).textLimit = limit; }
    void enable(int id, bool enabled) override { at(id).enabled = enabled; }
    void focus(int) override {}
    bool isChecked(int id) override { return at(id).checked; }
    void setChecked(int id, bool checked) override { at(id).checked = checked; }
    std::vector<DescendantWindow> descendants() override;
    void setWindowText(WindowHandle window, std::string_view text) override;
    void listReset(int id) override { at(id).rows.clear(), at(id).selection = -1; }
    void listAdd(int id, std::string_view row) override { at(id).rows.emplace_back(row); }
    void listDelete(int id, int row) override;
    void listSelect(int id, int row) override;
    int listSelection(int id) override { return at(id).selection; }
    void comboReset(int id) override { listReset(id); }
    void comboAdd(int id, std::string_view row) override { listAdd(id, row); }
    void comboSelect(int id, int row) override { listSelect(id, row); }
    int comboSelection(int id) override { return at(id).selection; }
    void trackbarSetup(int id, int32_t low, int32_t high, int32_t, int32_t page, int32_t line) override;
    void trackbarSetPosition(int id, int32_t position) override;
    int32_t trackbarPosition(int id) override { return at(id).position; }
    void tabInsert(int id, int index, std::string_view text) override;
    int tabSelection(int id) override { return at(id).selection; }
    PixelRect tabItemRect(int, int) override { return {2, 2, 60, 22}; }
    PixelRect controlScreenRect(int id) override;
    bool openFile(const OpenFileRequest& request, std::string& path) override;
    void showError(std::string_view caption, std::string_view text) override;
    int runModal(uint32_t templateId, DialogController& controller) override;
    WindowHandle createPage(uint32_t templateId, int ownerControl, DialogController& controller) override;
    void placeWindow(WindowHandle window, const PixelRect& rect) override;
    void showWindow(WindowHandle window, bool shown) override;
    void centre() override { centred = true; }
    void endDialog(int result) override { result_ = result; }

private:
    const uint32_t templateId_;
    FakeDesktop& desktop_;
    DialogController& controller_;
    WindowHandle handle_;
    std::string caption_;
    std::vector<Control> controls_;
    std::optional<int> result_;
    int32_t x_ = 100, y_ = 50;  // screen position; a dialog unit is 2 pixels
};

// Every dialog of a test, the scripted answers of modal and file dialogs,
// and the messages shown.
class FakeDesktop {
public:
    // Opens `templateId` as the platform would and delivers WM_INITDIALOG.
    FakeDialog& open(uint32_t templateId, DialogController& controller);
    FakeDialog& find(uint32_t templateId);  // the latest dialog of that template
    FakeDialog* withWindow(WindowHandle window);

    // Answers each modal dialog once it is initialised; it must end it.
    std::function<void(FakeDialog&)> onModal = [](FakeDialog& d) { d.click(2); };
    std::deque<std::optional<std::string>> fileAnswers;  // nothing: cancelled
    std::vector<OpenFileRequest> fileRequests;
    std::vector<std::string> errors, errorCaptions;  // message boxes' texts and captions

private:
    std::vector<std::unique_ptr<FakeDialog>> dialogs_;
};

// The help viewer's side: every call it receives, and how loading goes.
class FakeHelpViewer final : public HelpViewer {
public:
    std::string registered;                              // registered library path
    std::vector<std::string> loadable = {"hhctrl.ocx"};  // paths or names that load
    bool hasEntryPoint = true;
    // "load X", "entry", "init", "uninit <cookie>", and in `shown` too:
    // "topic <owner> <file>", "popup <control> <file> <topic> <font>".
    std::vector<std::string> calls, shown;

    std::string registeredLibrary() override { return registered; }
    bool loadLibrary(const std::string& path) override;
    bool findEntryPoint() override { return log("entry"), hasEntryPoint; }
    intptr_t displayTopic(WindowHandle owner, const std::string& fileAndTopic) override {
        return show("topic " + std::to_string(owner) + " " + fileAndTopic);
    }
    intptr_t displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) override {
        return show("popup " + std::to_string(control) + " " + file + " " + std::to_string(popup.topic) + " " +
                    popup.font);
    }
    intptr_t initialize(uint32_t& cookie) override { return cookie = 77, log("init"); }
    intptr_t uninitialize(uint32_t cookie) override { return log("uninit " + std::to_string(cookie)); }

private:
    intptr_t log(const std::string& call) { return calls.push_back(call), 1; }
    intptr_t show(const std::string& call) { return shown.push_back(call), log(call); }
};
