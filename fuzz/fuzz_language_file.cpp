// Language files: any bytes must load or fail with a message, never crash,
// hang or grow the text table past the ids the program can use.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "i18n/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LanguageTable table;
    (void)ReadLanguageText(table, std::string_view(reinterpret_cast<const char*>(data), size));
    if (table.count() > kLanguageIdLimit) std::abort();
    return 0;
}
