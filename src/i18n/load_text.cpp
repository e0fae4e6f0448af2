#include "i18n/load_text.h"

#include <cstring>
#include <string>
#include <string_view>

#include "i18n/text_encoding.h"
#include "ui/string_table.h"

size_t LoadText(const LanguageTable& table, uint32_t id, char* buffer, size_t size) {
    if (size == 0) return 0;
    std::string_view text = LookupText(table, id);
    // The built-in texts are UTF-8; where interface text is the ANSI code
    // page they are given in that code page, as Windows' own string table
    // would give them.
    std::string converted;
    if (text.empty()) {
#if defined(_WIN32)
        text = converted = utf8ToAnsiCodePage(builtInText(id));
#else
        text = builtInText(id);
#endif
    }
    const size_t length = interfaceTextCut(text, size - 1);
    if (length > 0) std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}
