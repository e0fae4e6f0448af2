#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Interface text is 8-bit text in the system's code page: the ANSI code page
// on Windows, UTF-8 elsewhere. Files made on Windows (Windows-1252) are
// converted when they are read on a UTF-8 system.
#if defined(_WIN32)
inline constexpr bool kInterfaceTextIsUtf8 = false;

// UTF-8 (the program's own texts) in the system's ANSI code page, the one
// the ANSI controls show; '?' for a character that code page lacks.
// Defined by the Windows build's text library (platform/win32/ansi_text).
std::string utf8ToAnsiCodePage(std::string_view text);
#else
inline constexpr bool kInterfaceTextIsUtf8 = true;
#endif

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes 1252 leaves undefined become
// the C1 control characters of the same number, as Windows converts them.
std::string windows1252ToUtf8(std::string_view bytes);

// `text` as UTF-8 for showing: as it is when it is UTF-8 already, else read
// as Windows-1252, as language files made on Windows are. Names the store
// holds (presets, file names) may come from the Windows build in that code
// page; the store keeps their bytes, only what is shown is converted.
std::string shownAsUtf8(std::string_view text);

// UTF-8 as Windows-1252, the code page names typed into the dialogs are
// stored in; characters it lacks become '?'. Expects valid UTF-8.
std::string utf8ToWindows1252(std::string_view text);

// The longest prefix of `text` of at most `limit` bytes that does not end
// inside a UTF-8 sequence (on UTF-8 systems; elsewhere simply `limit`).
size_t interfaceTextCut(std::string_view text, size_t limit);
