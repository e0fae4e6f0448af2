// Writes the program's built-in string table and its dialog templates as a
// Windows resource script fragment, so the Windows resources carry exactly
// the texts and layouts the rest of the program is built from. Texts are
// written as wide strings with every character beyond ASCII escaped, which
// makes the resource independent of the resource compiler's code page; the
// system gives them to the program in its ANSI code page. The fragment is
// included after <windows.h> and <commctrl.h>.
//
// usage: resource-rc OUT.rc
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "ui/dialog_template.h"
#include "ui/string_table.h"

namespace {

// Decodes one UTF-8 sequence at `i`; returns the code point and advances.
// The table is the program's own text, so malformed input is a build error.
bool nextCodePoint(std::string_view text, size_t& i, uint32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
    if (length == 0 || i + length > text.size()) return false;
    cp = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : (lead & 0x0Fu);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) >> 6) != 2) return false;
        cp = cp << 6 | (byte(i + k) & 0x3Fu);
    }
    i += length;
    return true;
}

bool rcWideString(std::string_view text, std::string& out) {
    out = "L\"";
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        if (!nextCodePoint(text, i, cp)) return false;
        if (cp == '"') out += "\"\"";
        else if (cp == '\\') out += "\\\\";
        else if (cp >= 0x20 && cp < 0x7F) out += static_cast<char>(cp);
        else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%04X", static_cast<unsigned>(cp));
            out += escaped;
        }
    }
    out += '"';
    return true;
}

const char* controlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox: return "\"Button\"";
    case ControlKind::Label:
    case ControlKind::Picture:
    case ControlKind::EtchedLine: return "\"Static\"";
    case ControlKind::Edit: return "\"Edit\"";
    case ControlKind::ListBox: return "\"ListBox\"";
    case ControlKind::DropDownList: return "\"ComboBox\"";
    case ControlKind::Trackbar: return "TRACKBAR_CLASSA";
    case ControlKind::TabControl: return "WC_TABCONTROLA";
    }
    return "";
}

std::string controlStyle(const ControlTemplate& c) {
    std::string out;
    const auto add = [&out](const char* flag) {
        if (!out.empty()) out += " | ";
        out += flag;
    };
    switch (c.kind) {
    case ControlKind::PushButton: add(c.style & style::kDefault ? "BS_DEFPUSHBUTTON" : "BS_PUSHBUTTON"); break;
    case ControlKind::CheckBox: add("BS_AUTOCHECKBOX"); break;
    case ControlKind::GroupBox: add("BS_GROUPBOX"); break;
    case ControlKind::Label: add(c.style & style::kCentred ? "SS_CENTER" : "SS_LEFT"); break;
    case ControlKind::Picture: add("SS_BITMAP"); break;
    case ControlKind::EtchedLine: add("SS_ETCHEDHORZ"); break;
    case ControlKind::Edit:
        add("ES_LEFT");
        if (c.style & style::kAutoHorizontalScroll) add("ES_AUTOHSCROLL");
        break;
    case ControlKind::ListBox:
        add("LBS_NOINTEGRALHEIGHT");
        if (c.style & style::kNotify) add("LBS_NOTIFY");
        break;
    case ControlKind::DropDownList: add("CBS_DROPDOWNLIST"); break;
    case ControlKind::Trackbar: add("TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS"); break;
    case ControlKind::TabControl: add("0"); break;
    }
    if (c.style & style::kVerticalScroll) add("WS_VSCROLL");
    if (c.style & style::kBorder) add("WS_BORDER");
    if (c.style & style::kTabStop) add("WS_TABSTOP");
    if (c.style & style::kDisabled) add("WS_DISABLED");
    return out;
}

const char* dialogStyle(DialogKind kind) {
    switch (kind) {
    case DialogKind::Modal: return "DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU";
    case DialogKind::ModalNoClose: return "DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION";
    case DialogKind::Page: return "DS_SHELLFONT | DS_CONTROL | WS_POPUP";
    case DialogKind::Hidden: return "DS_SHELLFONT | WS_POPUP";
    }
    return "";
}

bool writeDialog(const DialogTemplate& d, std::string& script) {
    std::string text;
    script += std::to_string(d.id) + " DIALOGEX 0, 0, " + std::to_string(d.width) + ", " +
              std::to_string(d.height) + "\nSTYLE " + dialogStyle(d.kind) + "\n";
    if (!d.caption.empty()) {
        if (!rcWideString(d.caption, text)) return false;
        script += "CAPTION " + text + "\n";
    }
    script += "FONT " + std::to_string(kDialogFontPoints) + ", \"" + std::string(kDialogFontName) +
              "\", 0, 0, 1\nBEGIN\n";
    for (const ControlTemplate& c : d.controls) {
        if (c.kind == ControlKind::Picture) text = std::to_string(c.image);
        else if (!rcWideString(c.text, text)) return false;
        script += "  CONTROL " + text + ", " + std::to_string(c.id) + ", " + controlClass(c.kind) + ", " +
                  controlStyle(c) + ", " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
                  std::to_string(c.width) + ", " + std::to_string(c.height) + "\n";
    }
    script += "END\n\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: resource-rc OUT.rc\n", stderr);
        return 2;
    }
    std::string script = "STRINGTABLE\nBEGIN\n";
    for (const StringTableEntry& entry : builtInStringTable()) {
        std::string text;
        if (!rcWideString(entry.text, text)) {
            std::fprintf(stderr, "resource-rc: text %u is not UTF-8\n", static_cast<unsigned>(entry.id));
            return 1;
        }
        script += "  " + std::to_string(entry.id) + ", " + text + "\n";
    }
    script += "END\n\n";
    for (const DialogTemplate& dialog : dialogTemplates()) {
        if (!writeDialog(dialog, script)) {
            std::fprintf(stderr, "resource-rc: a text of dialog %u is not UTF-8\n", static_cast<unsigned>(dialog.id));
            return 1;
        }
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(script.data(), 1, script.size(), out) == script.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
