#include "dialogs/help.h"

bool Help::reachViewer() {
    if (failed_) return false;
    if (!loaded_) {
        const std::string registered = viewer_.registeredLibrary();
        loaded_ = !registered.empty() && viewer_.loadLibrary(registered);
        if (!loaded_) loaded_ = viewer_.loadLibrary(std::string(kHelpViewerLibrary));
        if (!loaded_) {
            failed_ = true;
            return false;
        }
    }
    if (!entryFound_) {
        entryFound_ = viewer_.findEntryPoint();
        if (!entryFound_) {
            failed_ = true;
            return false;
        }
    }
    return true;
}

intptr_t Help::ShowHelpTopic(WindowHandle owner, std::string_view topic) {
    if (settings_.HelpFile.empty() || !reachViewer()) return 0;
    return viewer_.displayTopic(owner, settings_.HelpFile + std::string(topic));
}

intptr_t Help::ShowContextHelp(WindowHandle control, int32_t controlId, std::span<const ContextTopicRow> table) {
    if (settings_.HelpFile.empty() || !reachViewer()) return 0;
    const HelpPopup popup{contextTopic(table, controlId), settings_.LanguageTable.popupFont};
    return viewer_.displayTextPopup(control, settings_.HelpFile + "::ContextHelp.txt", popup);
}

intptr_t Help::HelpInitialize() { return reachViewer() ? viewer_.initialize(cookie_) : 0; }

intptr_t Help::HelpUninitialize() { return reachViewer() ? viewer_.uninitialize(cookie_) : 0; }
