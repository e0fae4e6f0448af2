#pragma once
// A built help file read as the viewer reads it, through chmlib: which files
// it holds and their bytes.
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

class ChmArchive {
public:
    // Empty when the file is not a readable .chm.
    static std::optional<ChmArchive> open(const std::string& path);

    // Paths as stored, each starting with "/" ("/settings.htm").
    const std::vector<std::string>& paths() const { return paths_; }
    bool has(const std::string& path) const;
    // The file's bytes; empty when it is not there.
    std::string read(const std::string& path) const;

private:
    struct Closer {
        void operator()(chmFile* file) const;
    };
    std::unique_ptr<chmFile, Closer> file_;
    std::vector<std::string> paths_;
};
