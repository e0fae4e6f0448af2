#include "chm_archive.h"

#include <chm_lib.h>

#include <algorithm>

void ChmArchive::Closer::operator()(chmFile* file) const { chm_close(file); }

std::optional<ChmArchive> ChmArchive::open(const std::string& path) {
    chmFile* file = chm_open(path.c_str());
    if (!file) return std::nullopt;
    ChmArchive archive;
    archive.file_.reset(file);
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        static_cast<std::vector<std::string>*>(context)->emplace_back(unit->path);
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &archive.paths_);
    return archive;
}

bool ChmArchive::has(const std::string& path) const {
    return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
}

std::string ChmArchive::read(const std::string& path) const {
    chmUnitInfo unit;
    if (chm_resolve_object(file_.get(), path.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return {};
    std::string bytes(static_cast<size_t>(unit.length), '\0');
    const LONGINT64 got = chm_retrieve_object(file_.get(), &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}
