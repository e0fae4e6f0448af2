#include "platform/linux/help/chm_archive.h"

#include <chm_lib.h>

void ChmArchive::Closer::operator()(chmFile* file) const { chm_close(file); }

bool ChmArchive::open(const RegularFile& file) {
    if (!file.isOpen()) return false;
    chmFile* handle = chm_open(file.descriptorPath().c_str());
    if (!handle) return false;
    file_.reset(handle);
    return true;
}

ChmRead ChmArchive::read(std::string_view path, std::string& bytes) const {
    bytes.clear();
    if (!file_ || path.empty() || path.size() > CHM_MAX_PATHLEN) return ChmRead::Absent;
    const std::string name(path);
    chmUnitInfo unit{};
    if (chm_resolve_object(file_.get(), name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return ChmRead::Absent;
    if (unit.length > kMaxObjectBytes) return ChmRead::Unreadable;
    if (unit.length == 0) return ChmRead::Read;
    bytes.resize(static_cast<size_t>(unit.length));
    const LONGINT64 got = chm_retrieve_object(file_.get(), &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got == static_cast<LONGINT64>(unit.length)) return ChmRead::Read;
    bytes.clear();
    return ChmRead::Unreadable;
}
