// The Linux help's reading of help files: the input as a .chm, opened in
// the reader's child process, its flight topic extracted into a scratch
// cache and a pop-up text looked up; and the same bytes as a page whose
// links are resolved, as a pop-up text file, as a pop-up font line and as a
// topic string. Whatever chmlib makes of the file, this process must get
// results, and no resolved link may name a place outside the copy.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/linux/help/help_paths.h"
#include "platform/linux/help/popup_font.h"
#include "platform/linux/help/popup_texts.h"
#include "platform/linux/help/topic_extraction.h"

namespace {

// A folder of its own for the run, removed when the fuzzer ends.
struct ScratchFolder {
    ScratchFolder() : path((std::filesystem::temp_directory_path() / "fuzz_chm_help.XXXXXX").string()) {
        if (!::mkdtemp(path.data())) std::abort();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

}  // namespace

// A failed allocation returns null, as the C library's allocator does under
// the reader child's address-space limit, instead of ending the child with
// a report.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFolder scratch;
    const std::string& folder = scratch.path;
    const std::string file = folder + "/help.chm";
    const std::string cache = folder + "/cache";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(size));

    ExtractionLimits limits;
    limits.reading.time = std::chrono::milliseconds(1000);
    ExtractedTopic topic;
    if (extractHelpTopic(file, "::/settings.htm#tab2", cache, topic, limits) &&
        !topic.pageUri.starts_with("file://" + cache + "/"))
        std::abort();
    std::filesystem::remove_all(cache);
    std::string text;
    (void)loadPopupText(file, 29, text, limits.reading);

    for (const std::string& link : pageLinks(bytes)) {
        std::string target;
        if (resolveLink("/more/page.htm", link, target) &&
            (!isSafeArchivePath(target) || target.find("/..") != std::string::npos))
            std::abort();
    }
    (void)findPopupText(bytes, 29, text);
    PopupFont font;
    (void)parsePopupFont(bytes, font);
    HelpTopic parsed;
    (void)parseHelpTopic(bytes, parsed);
    return 0;
}
