// The built-in music of the Windows build: the bytes of the program's own
// "WAVE" resource 221, which the resource compiler embedded from the same
// generated wave image the Linux build compiles in. Empty in a program that
// carries no such resource (the tools).
#include <windows.h>

#include "platform/win32/resource_ids.h"
#include "saver/background_sound.h"

std::span<const uint8_t> builtInMusic() {
    static const std::span<const uint8_t> music = [] {
        const HMODULE module = GetModuleHandleA(nullptr);
        const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kBuiltInMusicId), kBuiltInMusicType);
        const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return std::span<const uint8_t>();
        return std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));
    }();
    return music;
}
