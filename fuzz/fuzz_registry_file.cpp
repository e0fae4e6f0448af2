// Store files: any bytes must parse to a document or to "damaged", never
// crash or hang, and a parsed document must survive writing and reading
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "settings/registry_file.h"

namespace {

std::vector<const RegistryValue*> valuesOf(const RegistrySection& section) {
    std::vector<const RegistryValue*> values;
    section.forEachValue([&values](const RegistryValue& v) { values.push_back(&v); });
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegistryDocument document;
    if (!parseRegistryFile(text, document)) return 0;
    RegistryDocument again;
    if (!parseRegistryFile(formatRegistryFile(document), again) ||
        again.sections().size() != document.sections().size())
        std::abort();
    for (size_t i = 0; i < document.sections().size(); ++i) {
        const std::vector<const RegistryValue*> a = valuesOf(document.sections()[i]);
        const std::vector<const RegistryValue*> b = valuesOf(again.sections()[i]);
        if (a.size() != b.size()) std::abort();
        for (size_t k = 0; k < a.size(); ++k)
            if (a[k]->type != b[k]->type || a[k]->data != b[k]->data) std::abort();
    }
    return 0;
}
