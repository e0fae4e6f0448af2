#pragma once
#include <string>

// The loaded language file. Its text table comes with the language files.
struct LanguageTable {
    std::string path;
};
