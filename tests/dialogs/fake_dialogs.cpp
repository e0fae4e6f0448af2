#include "fake_dialogs.h"

#include <algorithm>
#include <stdexcept>

FakeDialog::FakeDialog(FakeDesktop& desktop, uint32_t templateId, DialogController& controller, WindowHandle handle)
    : templateId_(templateId), desktop_(desktop), controller_(controller), handle_(handle) {
    const DialogTemplate* t = findDialogTemplate(templateId);
    if (!t) throw std::invalid_argument("no template " + std::to_string(templateId));
    caption_ = t->caption;
    visible = t->kind != DialogKind::Page;
    WindowHandle next = handle + 1;
    for (const ControlTemplate& c : t->controls) {
        Control& control = controls_.emplace_back();
        control.id = c.id, control.kind = c.kind, control.handle = next++, control.text = c.text;
        control.enabled = !(c.style & style::kDisabled);
    }
    controller_.attach(*this);
}

FakeDialog::Control& FakeDialog::at(int id) {
    for (Control& c : controls_)
        if (c.id == id) return c;
    throw std::out_of_range("dialog " + std::to_string(templateId_) + " has no control " + std::to_string(id));
}

void FakeDialog::select(int id, int row) {
    at(id).selection = row;
    send(msg::command(id, at(id).kind == ControlKind::ListBox ? msg::kListSelectionChange
                                                              : msg::kComboSelectionChange));
}

void FakeDialog::moveTrackbar(int id, int32_t position) {
    trackbarSetPosition(id, position);
    send({msg::kHScroll, 5 /* TB_THUMBTRACK */, static_cast<intptr_t>(at(id).handle)});
}

void FakeDialog::selectTab(int index) {
    if (send({msg::kNotify, 1088, msg::kTabSelectionChanging}) != 0) return;
    at(1088).selection = index;
    send({msg::kNotify, 1088, msg::kTabSelectionChange});
}

int32_t FakeDialog::controlId(WindowHandle window) {
    for (const Control& c : controls_)
        if (c.handle == window) return c.id;
    return -1;
}

std::vector<DescendantWindow> FakeDialog::descendants() {
    std::vector<DescendantWindow> out;
    for (const Control& c : controls_) out.push_back({c.handle, c.id});
    return out;
}

void FakeDialog::setWindowText(WindowHandle window, std::string_view text) {
    if (window == handle_) caption_ = text;
    else at(controlId(window)).text = text;
}

void FakeDialog::listDelete(int id, int row) {
    Control& c = at(id);
    if (row < 0 || static_cast<size_t>(row) >= c.rows.size()) return;
    c.rows.erase(c.rows.begin() + row);
    if (c.selection == row) c.selection = -1;
    else if (c.selection > row) --c.selection;
}

void FakeDialog::listSelect(int id, int row) {
    Control& c = at(id);
    c.selection = row >= 0 && static_cast<size_t>(row) < c.rows.size() ? row : -1;
}

void FakeDialog::trackbarSetup(int id, int32_t low, int32_t high, int32_t, int32_t page, int32_t line) {
    Control& c = at(id);
    c.low = static_cast<int16_t>(low), c.high = static_cast<int16_t>(high), c.pageSize = page, c.lineSize = line;
}

void FakeDialog::trackbarSetPosition(int id, int32_t position) {
    Control& c = at(id);
    c.position = std::clamp(position, c.low, c.high);
}

void FakeDialog::tabInsert(int id, int index, std::string_view text) {
    Control& c = at(id);
    c.rows.insert(c.rows.begin() + std::min<size_t>(static_cast<size_t>(index), c.rows.size()), std::string(text));
    if (c.selection < 0) c.selection = 0;
}

PixelRect FakeDialog::controlScreenRect(int id) {
    for (const ControlTemplate& c : findDialogTemplate(templateId_)->controls)
        if (c.id == id)
            return {x_ + 2 * c.x, y_ + 2 * c.y, x_ + 2 * (c.x + c.width), y_ + 2 * (c.y + c.height)};
    return {};
}

bool FakeDialog::openFile(const OpenFileRequest& request, std::string& path) {
    desktop_.fileRequests.push_back(request);
    if (desktop_.fileAnswers.empty()) return false;
    const std::optional<std::string> answer = desktop_.fileAnswers.front();
    desktop_.fileAnswers.pop_front();
    if (!answer || answer->size() >= request.bufferSize) return false;
    path = *answer;
    return true;
}

void FakeDialog::showError(std::string_view caption, std::string_view text) {
    desktop_.errorCaptions.emplace_back(caption);
    desktop_.errors.emplace_back(text);
}

int FakeDialog::runModal(uint32_t templateId, DialogController& controller) {
    FakeDialog& modal = desktop_.open(templateId, controller);
    desktop_.onModal(modal);
    if (!modal.ended()) throw std::logic_error("the modal dialog was left open");
    return modal.result();
}

WindowHandle FakeDialog::createPage(uint32_t templateId, int ownerControl, DialogController& controller) {
    at(ownerControl);  // the owner must exist
    return desktop_.open(templateId, controller).window();
}

void FakeDialog::placeWindow(WindowHandle window, const PixelRect& rect) { desktop_.withWindow(window)->placed = rect; }

void FakeDialog::showWindow(WindowHandle window, bool shown) { desktop_.withWindow(window)->visible = shown; }

FakeDialog& FakeDesktop::open(uint32_t templateId, DialogController& controller) {
    const WindowHandle handle = (dialogs_.size() + 1) * 1000;  // room for each dialog's controls
    FakeDialog& d = *dialogs_.emplace_back(std::make_unique<FakeDialog>(*this, templateId, controller, handle));
    d.send({msg::kInitDialog, 0, 0});
    return d;
}

FakeDialog& FakeDesktop::find(uint32_t templateId) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->templateId() == templateId) return **it;
    throw std::out_of_range("no dialog " + std::to_string(templateId));
}

FakeDialog* FakeDesktop::withWindow(WindowHandle window) {
    for (auto& d : dialogs_)
        if (d->window() == window) return d.get();
    throw std::out_of_range("no window " + std::to_string(window));
}

bool FakeHelpViewer::loadLibrary(const std::string& path) {
    log("load " + path);
    return std::find(loadable.begin(), loadable.end(), path) != loadable.end();
}
