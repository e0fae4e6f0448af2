#pragma once
// The settings dialog's module judged as a file before it is mapped. dlopen
// trusts what it maps: a FIFO in the module's place blocks it, a module cut
// short (a partial copy, an install onto a full disk) faults with SIGBUS
// where the loader or the code touches the missing part, and damaged code
// runs as whatever it now says. So the module must be a regular file, an ELF
// shared object of this program's class and machine whose headers and
// segments all lie within the file, and its loadable segments must carry
// the checksum the build recorded for the module it built beside this
// program. Only the loadable segments are summed, and the ELF header among
// them without the place of the section headers: stripping the module (as
// packaging does) changes nothing else of them.
#include <cstdint>

#include "base/outcome.h"

// The checksum of the module built beside this program, written by the
// build (tools/module-checksum) into the program.
extern const uint64_t kBuiltSettingsModuleChecksum;

// Checks the structure of the open file `fd` and gives the checksum of its
// loadable segments; a failure says, in a few words, what is wrong with it.
Outcome sumSettingsModule(int fd, uint64_t& checksum);
