#include "dialogs/dialog_services.h"

#include "dialogs/dialog_view.h"

#include <vector>

#include "i18n/load_text.h"
#include "ui/dialog_ids.h"

std::string dialogText(const Settings& settings, uint32_t id, size_t bufferSize) {
    std::vector<char> buffer(bufferSize + 1);
    const size_t length = LoadText(settings.LanguageTable, id, buffer.data(), bufferSize);
    return std::string(buffer.data(), length);
}

std::string_view fileNamePart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void showMessage(DialogView& view, const Settings& settings, std::string_view text) {
    view.showError(dialogText(settings, dlg::kMessageCaption, kMessageBuffer), text);
}

void showRefusal(DialogView& view, const Settings& settings, uint32_t id) {
    showMessage(view, settings, dialogText(settings, id, kMessageBuffer));
}
