// Command lines of lumara-render: any bytes, split at NULs into arguments,
// must parse to options or to an error, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size && args.size() < 64; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back().push_back(static_cast<char>(data[i]));
    }
    RenderOptions options;
    (void)parseRenderOptions(args, options);
    return 0;
}
