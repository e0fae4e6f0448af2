// The one thing the interface texts need from Windows itself: the code page
// of the ANSI controls the dialogs are made of. A library of its own that
// the i18n layer links, so every program that shows the built-in texts has
// it without the portable code including a Windows header.
#include <windows.h>

#include "i18n/text_encoding.h"

std::string utf8ToAnsiCodePage(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), wideLength);
    // No best fit: a character the code page lacks becomes a plain '?'
    // rather than a look-alike that may mean something else.
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, "?", nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), length, "?", nullptr);
    return ansi;
}
