#include "ui/string_table.h"

#include <array>

namespace {

// Sorted by id. The dashes are en dashes (U+2013). "%1" stands for a stored
// value's name.
constexpr std::array kEntries = {
    StringTableEntry{3025, "Disabled"},
    StringTableEntry{3026, "Default \u2013 \"Durodi vudav\""},
    StringTableEntry{3027, "Browse..."},
    StringTableEntry{3028, "Select background sound file"},
    StringTableEntry{3029, "Simple"},
    StringTableEntry{3030, "Rational"},
    StringTableEntry{3031, "Realistic"},
    StringTableEntry{3050, "Sharp \u2013 fast"},
    StringTableEntry{3051, "Normal \u2013 medium"},
    StringTableEntry{3052, "Very good \u2013 slow"},
    StringTableEntry{3053, "Perfect \u2013 very slow"},
    StringTableEntry{3054, "Blurred \u2013 slowest"},
    StringTableEntry{3055, "Disabled"},
    StringTableEntry{3060, " starfield "},
    StringTableEntry{3061, " flight "},
    StringTableEntry{3062, " effects "},
    StringTableEntry{3063, " language "},
    StringTableEntry{3064, "none"},
    StringTableEntry{3065, "Select image file"},
    StringTableEntry{3066, "All pictures"},
    StringTableEntry{3070, "The picture was not added: the list of pictures would be too long to be stored."},
    StringTableEntry{3071, "The current settings cannot be kept as a preset: their list of pictures is too long for a preset."},
    StringTableEntry{3072, "This file cannot be chosen: its path is too long to be stored."},
    StringTableEntry{3073, "Lumara Screensaver"},
    StringTableEntry{3074, "The settings could not be saved."},
    StringTableEntry{3075, "The value \"%1\" is longer than the settings can read back."},
    StringTableEntry{3076, "The settings store cannot be created or opened for writing."},
    StringTableEntry{3077, "The value \"%1\" could not be written."},
    StringTableEntry{3078, "The settings store could not be written."},
    StringTableEntry{3080, "The help cannot be shown: no web browser could be started to show it. Its pages are in %1, which any web browser can open."},
    StringTableEntry{3081, "The help cannot be shown: the help file cannot be read, or it lacks this topic."},
};

}  // namespace

std::span<const StringTableEntry> builtInStringTable() { return kEntries; }

std::string_view builtInText(uint32_t id) {
    for (const StringTableEntry& entry : kEntries)
        if (entry.id == id) return entry.text;
    return {};
}
