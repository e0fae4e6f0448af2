// Store files: any bytes must parse to a document or to "damaged", never
// crash or hang, and a parsed document (its comments among its values, its
// deletions done) must survive writing and reading back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry_file.h"

namespace {

std::vector<const RegistrySection*> sectionsOf(const RegistryDocument& document) {
    std::vector<const RegistrySection*> sections;
    document.forEachSection([&sections](const RegistrySection& s) { sections.push_back(&s); });
    return sections;
}

// A section's lines below its own: values as (type, data), comments as text.
std::vector<std::string> linesOf(const RegistrySection& section) {
    std::vector<std::string> lines;
    section.forEachLine(
        [&lines](const RegistryValue& v) {
            lines.push_back(std::to_string(static_cast<uint32_t>(v.type)) + ":" +
                            std::string(v.data.begin(), v.data.end()));
        },
        [&lines](const std::string& comment) { lines.push_back(comment); });
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RegistryDocument document;
    if (!parseRegistryFile(text, document)) return 0;
    RegistryDocument again;
    if (!parseRegistryFile(formatRegistryFile(document), again) || again.closing() != document.closing())
        std::abort();
    const std::vector<const RegistrySection*> a = sectionsOf(document);
    const std::vector<const RegistrySection*> b = sectionsOf(again);
    if (a.size() != b.size()) std::abort();
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i]->heading() != b[i]->heading() || linesOf(*a[i]) != linesOf(*b[i])) std::abort();
    return 0;
}
