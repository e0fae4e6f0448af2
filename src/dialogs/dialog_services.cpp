#include "dialogs/dialog_services.h"

#include "dialogs/dialog_view.h"

#include <vector>

#include "i18n/load_text.h"

std::string dialogText(const Settings& settings, uint32_t id, size_t bufferSize) {
    std::vector<char> buffer(bufferSize + 1);
    const size_t length = LoadText(settings.LanguageTable, id, buffer.data(), bufferSize);
    return std::string(buffer.data(), length);
}

std::string_view fileNamePart(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void showRefusal(DialogView& view, const Settings& settings, uint32_t id) {
    // Long enough for any text of the table or a language file's line.
    constexpr size_t kMessageBuffer = 1000;
    view.showError(kMessageCaption, dialogText(settings, id, kMessageBuffer));
}
