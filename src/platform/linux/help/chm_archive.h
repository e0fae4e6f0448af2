#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/linux/store/regular_file.h"

struct chmFile;

enum class ChmRead {
    Read,
    Absent,
    // Listed in the file but not readable whole (a damaged file), or larger
    // than ChmArchive::kMaxObjectBytes.
    Unreadable,
};

// An HTML help file (.chm) read through chmlib: the bytes of one stored
// file at a time, looked up by its path inside the archive
// ("/settings.htm", "/pictures/flight.png"; letter case is ignored, as the
// format does).
//
// chmlib trusts the file's headers, and a damaged file can make it read out
// of bounds or loop for ever. The dialogs therefore never use this class in
// their own process: ChmReaderProcess runs it in a child process.
class ChmArchive {
public:
    // Stored files larger than this are refused, so a damaged length field
    // cannot make the reader allocate without bound.
    static constexpr size_t kMaxObjectBytes = 16 * 1024 * 1024;

    // Opens the help file; false, leaving the archive as it was, when it is
    // not a .chm that chmlib can open.
    bool open(const RegularFile& file);

    // Reads the stored file into `bytes` (emptied unless Read). An archive
    // never opened holds nothing.
    ChmRead read(std::string_view path, std::string& bytes) const;

private:
    struct Closer {
        void operator()(chmFile* file) const;
    };
    std::unique_ptr<chmFile, Closer> file_;
};
