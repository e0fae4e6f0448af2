#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/linux/help/chm_reader_process.h"

// Help topics on Linux are shown by the desktop's browser, which cannot read
// a .chm: the topic's page is copied out of the help file, with the pages,
// pictures and style sheets it links to (and what those link to), into a
// folder of the user's cache, and the browser is given the copy.
//
// Each help file gets a folder of its own, named after its path, size,
// modification time and inode, so a changed or replaced file is extracted
// afresh; the folder of its earlier version is then removed. Files are written whole (written aside, then renamed), so a
// browser still reading an earlier copy never sees half a file.

// $XDG_CACHE_HOME/lumara/help, or ~/.cache/lumara/help when XDG_CACHE_HOME
// is unset or not an absolute path; empty when no home folder is known.
std::string helpCacheRoot();

struct ExtractedTopic {
    // "file:///.../settings.htm#tab2".
    std::string pageUri;
    // A page beside it that moves on to pageUri at once, for a browser that
    // is handed a file name instead of a URI and so loses the "#tab2"; empty
    // when the topic has no anchor.
    std::string jumpUri;
};

struct ExtractionLimits {
    size_t maxFiles = 256;
    size_t maxBytes = 64u * 1024 * 1024;
    ChmReaderProcess::Limits reading;
};

// Copies the topic ("::/settings.htm#tab2") of `helpFile` under `cacheRoot`
// and says where into `extracted`. False, leaving `extracted` as it was, when
// the topic is malformed, the help file cannot be opened, lacks the topic's
// page or is found damaged on the way (a listed file that cannot be read
// whole), or the page cannot be written. Linked files that are absent, unsafe
// to name or beyond the limits are left out.
bool extractHelpTopic(const std::string& helpFile, std::string_view topic, const std::string& cacheRoot,
                      ExtractedTopic& extracted, const ExtractionLimits& limits = {});
