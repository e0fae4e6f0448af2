// Store files: any bytes must parse to a document or to "damaged", never
// crash or hang, and a parsed document must survive writing and reading
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto document = parseRegistryFile(text);
    if (!document) return 0;
    const auto again = parseRegistryFile(formatRegistryFile(*document));
    if (!again || again->sections.size() != document->sections.size()) std::abort();
    for (size_t i = 0; i < document->sections.size(); ++i) {
        const RegistrySection& a = document->sections[i];
        const RegistrySection& b = again->sections[i];
        if (a.values.size() != b.values.size()) std::abort();
        for (size_t k = 0; k < a.values.size(); ++k)
            if (a.values[k].type != b.values[k].type || a.values[k].data != b.values[k].data) std::abort();
    }
    return 0;
}
