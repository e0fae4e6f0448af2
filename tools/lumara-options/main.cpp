// Writes what describes the saver's hack options from the settings table
// and the option table, so ranges, defaults and labels are written once:
//   xml OUT             the description xscreensaver's settings program reads
//                       (share/xscreensaver/config/lumara.xml)
//   man TEMPLATE OUT    the manual page with its comment line
//                       '.\" %HACK_OPTIONS%' replaced by the options in roff
// Exit 0 on success, 2 on bad usage, 1 when a file cannot be read or written.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/setting_options.h"
#include "ui/string_table.h"

namespace {

std::string id(const SettingOption& o) { return std::string(o.option.substr(1)); }

std::string xmlSelect(const SettingOption& o) {
    std::string xml = "      <select id=\"" + id(o) + "\">\n";
    xml += "        <option id=\"stored\" _label=\"" + std::string(o.label) + ": as in Lumara's settings\"/>\n";
    for (size_t i = 0; i < kAntiAliasNames.size(); ++i) {
        const std::string name(kAntiAliasNames[i]);
        xml += "        <option id=\"" + name + "\" _label=\"" + std::string(o.label) + ": " +
               std::string(builtInText(kAntiAliasTextIds[i])) + "\" arg-set=\"" + std::string(o.option) + " " +
               name + "\"/>\n";
    }
    return xml + "      </select>\n";
}

std::string xmlSlider(const SettingOption& o) {
    const OptionRange r = optionRange(o);
    // A longer frame period is a lower frame rate: the slider runs the other way.
    const std::string invert = o.scale == OptionScale::FrameMicroseconds ? " convert=\"invert\"" : "";
    return "      <number id=\"" + id(o) + "\" type=\"slider\" arg=\"" + std::string(o.option) + " %\"\n" +
           "              _label=\"" + std::string(o.label) + "\" _low-label=\"" + std::string(o.lowLabel) +
           "\" _high-label=\"" + std::string(o.highLabel) + "\"" + invert + "\n" + "              low=\"" +
           std::to_string(r.low) + "\" high=\"" + std::to_string(r.high) + "\" default=\"" +
           std::to_string(r.fallback) + "\"/>\n";
}

// The sliders in two columns, the first half on the left, the choices and
// the frame-rate box under the right one's: in one column the pane is
// taller than a screen of 768 rows.
std::string xmlDescription() {
    std::vector<const SettingOption*> sliders, choices;
    for (const SettingOption& o : kSettingOptions) (o.scale == OptionScale::Choice ? choices : sliders).push_back(&o);
    const size_t left = (sliders.size() + 1) / 2;
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Made at build time from Lumara's settings table. -->\n"
        "<screensaver name=\"lumara\" _label=\"Lumara\">\n"
        "  <command arg=\"-root\"/>\n"
        "  <hgroup>\n"
        "    <vgroup>\n";
    for (size_t i = 0; i < sliders.size(); ++i) {
        if (i == left) xml += "    </vgroup>\n    <vgroup>\n";
        xml += xmlSlider(*sliders[i]);
    }
    for (const SettingOption* o : choices) xml += xmlSelect(*o);
    xml +=
        "      <boolean id=\"showfps\" _label=\"Show frame rate\" arg-set=\"-fps\"/>\n"
        "    </vgroup>\n"
        "  </hgroup>\n"
        "  <_description>\n"
        "An endless flight through a field of point stars that roll about the line of\n"
        "flight while the direction wanders, over an optional dim, creeping nebula.\n"
        "\n"
        "A slider left at its default passes nothing to Lumara, which then takes that value\n"
        "from its own settings: those of its settings dialog (lumara /c), where the\n"
        "pictures, the music and the presets are chosen too.\n"
        "  </_description>\n"
        "</screensaver>\n";
    return xml;
}

std::string roffOptions() {
    std::string roff;
    for (const SettingOption& o : kSettingOptions) {
        const OptionRange r = optionRange(o);
        roff += ".TP\n.BI \\" + std::string(o.option) + (o.scale == OptionScale::Choice ? " \" mode\"\n" : " \" n\"\n");
        roff += std::string(o.label) + ", " + std::to_string(r.low) + " to " + std::to_string(r.high);
        if (o.scale == OptionScale::FrameMicroseconds) roff += " microseconds a frame";
        if (o.scale == OptionScale::Choice) {
            roff += " or one of";
            for (std::string_view name : kAntiAliasNames) roff += " " + std::string(name);
        }
        roff += " (a first run has " + std::to_string(r.fallback) + ").\n";
    }
    return roff;
}

bool readFile(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    text = all.str();
    return static_cast<bool>(in);
}

bool writeFile(const char* path, const std::string& text) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    std::string text;
    const char* out = nullptr;
    if (what == "xml" && argc == 3) {
        text = xmlDescription();
        out = argv[2];
    } else if (what == "man" && argc == 4) {
        if (!readFile(argv[2], text)) {
            std::perror(argv[2]);
            return 1;
        }
        const std::string marker = ".\\\" %HACK_OPTIONS%\n";
        const size_t at = text.find(marker);
        if (at == std::string::npos) {
            std::fprintf(stderr, "lumara-options: %s has no line %%HACK_OPTIONS%%\n", argv[2]);
            return 1;
        }
        text.replace(at, marker.size(), roffOptions());
        out = argv[3];
    } else {
        std::fputs("usage: lumara-options xml OUT | lumara-options man TEMPLATE OUT\n", stderr);
        return 2;
    }
    if (!writeFile(out, text)) {
        std::perror(out);
        return 1;
    }
    return 0;
}
