#include "fake_dialogs.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr WindowHandle kWindowsPerDialog = 1000;

}  // namespace

FakeDialog::FakeDialog(FakeDesktop& desktop, uint32_t templateId, DialogController& controller, WindowHandle handle)
    : desktop_(desktop), templateId_(templateId), controller_(controller), handle_(handle) {
    const DialogTemplate* t = findDialogTemplate(templateId);
    if (!t) throw std::invalid_argument("no template " + std::to_string(templateId));
    caption_ = t->caption;
    visible_ = t->kind != DialogKind::Page;
    WindowHandle next = handle + 1;
    for (const ControlTemplate& c : t->controls) {
        Control control;
        control.id = c.id;
        control.kind = c.kind;
        control.handle = next++;
        control.text = c.text;
        control.enabled = !(c.style & style::kDisabled);
        controls_.push_back(control);
    }
    controller_.attach(*this);
}

FakeDialog::Control& FakeDialog::at(int id) {
    for (Control& c : controls_)
        if (c.id == id) return c;
    throw std::out_of_range("dialog " + std::to_string(templateId_) + " has no control " + std::to_string(id));
}

void FakeDialog::click(int id) {
    if (at(id).enabled) send(msg::command(id));
}

void FakeDialog::toggle(int id) {
    at(id).checked = !at(id).checked;
    send(msg::command(id));
}

void FakeDialog::selectListRow(int id, int row) {
    at(id).selection = row;
    send(msg::command(id, msg::kListSelectionChange));
}

void FakeDialog::selectComboRow(int id, int row) {
    at(id).selection = row;
    send(msg::command(id, msg::kComboSelectionChange));
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

void FakeDialog::rightClick(int id) { send({msg::kContextMenu, at(id).handle, 0}); }

void FakeDialog::moveTo(int32_t x, int32_t y) {
    x_ = x, y_ = y;
    send({msg::kMove, 0, 0});
}

WindowHandle FakeDialog::control(int id) { return at(id).handle; }

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
    for (Control& c : controls_)
        if (c.handle == window) c.text = text;
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

void FakeDialog::trackbarSetup(int id, int32_t low, int32_t high, int32_t tick, int32_t page, int32_t line) {
    Control& c = at(id);
    c.low = static_cast<int16_t>(low), c.high = static_cast<int16_t>(high);
    c.tickFrequency = tick, c.pageSize = page, c.lineSize = line;
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
    const DialogTemplate* t = findDialogTemplate(templateId_);
    for (const ControlTemplate& c : t->controls)
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

void FakeDialog::showError(std::string_view, std::string_view text) { desktop_.errors.emplace_back(text); }

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

void FakeDialog::placeWindow(WindowHandle window, const PixelRect& rect) {
    for (auto& d : desktop_.dialogs_)
        if (d->window() == window) d->placed_ = rect;
}

void FakeDialog::showWindow(WindowHandle window, bool shown) {
    for (auto& d : desktop_.dialogs_)
        if (d->window() == window) d->visible_ = shown;
}

FakeDialog& FakeDesktop::open(uint32_t templateId, DialogController& controller) {
    const WindowHandle handle = (dialogs_.size() + 1) * kWindowsPerDialog;
    dialogs_.push_back(std::make_unique<FakeDialog>(*this, templateId, controller, handle));
    FakeDialog& d = *dialogs_.back();
    d.send({msg::kInitDialog, 0, 0});
    return d;
}

FakeDialog& FakeDesktop::find(uint32_t templateId) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->templateId() == templateId) return **it;
    throw std::out_of_range("no dialog " + std::to_string(templateId));
}

bool FakeHelpViewer::loadLibrary(const std::string& path) {
    calls.push_back("load " + path);
    return std::find(loadable.begin(), loadable.end(), path) != loadable.end();
}

bool FakeHelpViewer::findEntryPoint() {
    calls.push_back("entry");
    return hasEntryPoint;
}

intptr_t FakeHelpViewer::displayTopic(WindowHandle owner, const std::string& fileAndTopic) {
    calls.push_back("topic " + std::to_string(owner) + " " + fileAndTopic);
    return 1;
}

intptr_t FakeHelpViewer::displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) {
    calls.push_back("popup " + std::to_string(control) + " " + file + " " + std::to_string(popup.topic) + " " +
                    popup.font);
    return 1;
}

intptr_t FakeHelpViewer::initialize(uint32_t& cookie) {
    calls.push_back("init");
    cookie = 77;
    return 1;
}

intptr_t FakeHelpViewer::uninitialize(uint32_t cookie) {
    calls.push_back("uninit " + std::to_string(cookie));
    return 1;
}

std::vector<std::string> FakeHelpViewer::shown() const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.rfind("topic", 0) == 0 || c.rfind("popup", 0) == 0) out.push_back(c);
    return out;
}
