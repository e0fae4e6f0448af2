#include "platform/linux/settings_module/module_file.h"

#include <elf.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

// The program's own ELF header, as mapped (GNU ld and lld provide it): the
// class, byte order and machine the module must share.
extern "C" const ElfW(Ehdr) __ehdr_start;

namespace {

// FNV-1a, 64 bits: damage detection, not a defence against a deliberate
// change (whoever can replace the module can replace the program).
constexpr uint64_t kSumStart = 0xcbf29ce484222325u;
constexpr uint64_t kSumPrime = 0x100000001b3u;

bool readAt(int fd, void* into, uint64_t size, uint64_t offset) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<uint64_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return true;
}

// A table of `count` entries of `entrySize` bytes at `offset` fits in `fileSize`.
bool fits(uint64_t offset, uint64_t count, uint64_t entrySize, uint64_t fileSize) {
    return offset <= fileSize && count <= (fileSize - offset) / entrySize;
}

bool sumRange(int fd, uint64_t offset, uint64_t size, uint64_t& sum) {
    std::array<unsigned char, 65536> chunk;
    while (size > 0) {
        const uint64_t n = size < chunk.size() ? size : chunk.size();
        if (!readAt(fd, chunk.data(), n, offset)) return false;
        for (uint64_t i = 0; i < n; ++i) sum = (sum ^ chunk[i]) * kSumPrime;
        offset += n;
        size -= n;
    }
    return true;
}

}  // namespace

Outcome sumSettingsModule(int fd, uint64_t& checksum) {
    struct stat file;
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) return Outcome::failure("not a regular file");
    const uint64_t size = static_cast<uint64_t>(file.st_size);
    const Outcome cutShort = Outcome::failure("cut short: its contents reach beyond its " + std::to_string(size) +
                                              " bytes");
    ElfW(Ehdr) header;
    if (size < sizeof header || !readAt(fd, &header, sizeof header, 0) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return Outcome::failure("not an ELF file");
    if (header.e_ident[EI_CLASS] != __ehdr_start.e_ident[EI_CLASS] ||
        header.e_ident[EI_DATA] != __ehdr_start.e_ident[EI_DATA] || header.e_ident[EI_VERSION] != EV_CURRENT ||
        header.e_type != ET_DYN || header.e_machine != __ehdr_start.e_machine ||
        header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 || header.e_phnum == PN_XNUM)
        return Outcome::failure("not a shared object for this machine");
    if (!fits(header.e_phoff, header.e_phnum, sizeof(ElfW(Phdr)), size)) return cutShort;
    // Section headers are not loaded, but a file cut short loses them first.
    if (header.e_shoff != 0 && (header.e_shentsize != sizeof(ElfW(Shdr)) ||
                                !fits(header.e_shoff, header.e_shnum, sizeof(ElfW(Shdr)), size)))
        return cutShort;
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    if (!readAt(fd, segments.data(), segments.size() * sizeof(ElfW(Phdr)), header.e_phoff)) return cutShort;
    bool loads = false;
    for (const ElfW(Phdr)& s : segments) {
        if (!fits(s.p_offset, s.p_filesz, 1, size)) return cutShort;
        if (s.p_type == PT_LOAD && s.p_filesz > s.p_memsz)
            return Outcome::failure("not a shared object for this machine");
        loads = loads || s.p_type == PT_LOAD;
    }
    if (!loads) return Outcome::failure("not a shared object for this machine");
    // The ELF header, which the first segment holds, as it was before
    // stripping moved or dropped the section headers it points to.
    ElfW(Ehdr) unstripped = header;
    unstripped.e_shoff = 0;
    unstripped.e_shnum = 0;
    unstripped.e_shstrndx = 0;
    uint64_t sum = kSumStart;
    for (size_t i = 0; i < sizeof unstripped; ++i) sum = (sum ^ reinterpret_cast<unsigned char*>(&unstripped)[i]) * kSumPrime;
    for (const ElfW(Phdr)& s : segments) {
        const uint64_t from = std::max<uint64_t>(s.p_offset, sizeof header), end = s.p_offset + s.p_filesz;
        if (s.p_type == PT_LOAD && from < end && !sumRange(fd, from, end - from, sum)) return cutShort;
    }
    checksum = sum;
    return {};
}
