#include "i18n/language_table.h"

#include <new>

const std::string& LookupText(const LanguageTable& table, uint32_t id) {
    static const std::string kNone;
    return id < table.count() ? table.texts[id] : kNone;
}

Outcome StoreText(LanguageTable& table, uint32_t id, const std::string& text) {
    try {
        if (id >= table.count()) table.texts.resize(static_cast<size_t>(id) + 1);
        table.texts[id] = text;
    } catch (const std::bad_alloc&) {
        return Outcome::failure("No memory");
    }
    return {};
}
