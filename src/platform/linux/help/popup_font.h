#pragma once
#include <string>
#include <string_view>

// The pop-up font of a language file (its second line), in the form the
// help viewer's pop-ups take: "face, point size, character set", then
// optionally a field of style words, for example "MS Sans Serif,8,0" or
// "Tahoma, 9, 0, BOLD ITALIC". Fields after the face may be empty or left
// out. The character set says which code page the face's glyphs serve;
// pop-ups on Linux show UTF-8 text and leave it out.
struct PopupFont {
    std::string face;
    int pointSize = 0;  // 0: the viewer's own size
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Reads `line` into `font`. False, leaving `font` as it was, for an empty
// line and for one not in that form (no face, a size or character set that
// is not a number in range, an unknown style word): the pop-up then uses the
// viewer's own font.
bool parsePopupFont(std::string_view line, PopupFont& font);
