#include "render_options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "base/message_text.h"
#include "base/parse_number.h"
#include "raster/frame_target.h"
#include "settings/setting_table.h"

namespace {

// "StarsCount, MoveSpeed, ..." in the settings table's order.
std::string settingNames() {
    std::string names;
    for (const SettingInfo& s : kFlightSettings) names += (names.empty() ? "" : ", ") + std::string(s.storedName);
    return names;
}

bool parseSize(std::string_view text, int32_t& w, int32_t& h) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    return parseWholeNumber(text.substr(0, x), w) && parseWholeNumber(text.substr(x + 1), h) && w >= 1 && h >= 1 &&
           w <= kLargestFrameSide && h <= kLargestFrameSide;
}

bool hasImageExtension(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "png" || ext == "ppm" || ext == "bmp";
}

}  // namespace

std::string renderUsage() {
    return "usage: lumara-render [--help | --version]\n"
           "       lumara-render [--size WxH] [--frames N] [--format 21|22|23|24] [--from-store]\n"
           "                     [--set NAME=VALUE]... [--picture PATH]...\n"
           "                     (--out FILE.png|.ppm|.bmp | --raw FILE)...\n"
           "Runs the saver's start-up and N frame ticks without a window and writes the last frame.\n"
           "Settings start at a first run's values, or with --from-store at the stored settings\n"
           "as the saver loads them; --set then overrides any of:\n  " +
           settingNames() + ".\n";
}

Outcome parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options) {
    RenderOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--help" || flag == "-h") {
            o.help = true;
            options = std::move(o);
            return {};
        }
        if (flag == "--from-store") {
            o.fromStore = true;
            continue;
        }
        if (flag == "--version") {
            o.version = true;
            options = std::move(o);
            return {};
        }
        constexpr std::array<std::string_view, 7> kValued{"--size", "--frames", "--format", "--set",
                                                          "--picture", "--out", "--raw"};
        if (std::find(kValued.begin(), kValued.end(), flag) == kValued.end())
            return Outcome::failure("unknown argument: " + shownInMessage(flag));
        if (i + 1 >= args.size()) return Outcome::failure("missing value after " + shownInMessage(flag));
        const std::string& value = args[++i];
        if (flag == "--size") {
            if (!parseSize(value, o.width, o.height))
                return Outcome::failure("bad --size '" + shownInMessage(value) + "': expected WxH, each 1 to " +
                                        std::to_string(kLargestFrameSide));
        } else if (flag == "--frames") {
            if (!parseWholeNumber(value, o.frames) || o.frames < 1)
                return Outcome::failure("bad --frames '" + shownInMessage(value) + "': expected a whole number of at least 1");
        } else if (flag == "--format") {
            if (!parseWholeNumber(value, o.format) || o.format < 21 || o.format > 24)
                return Outcome::failure("bad --format '" + shownInMessage(value) + "': expected 21, 22, 23 or 24");
        } else if (flag == "--set") {
            const size_t eq = value.find('=');
            const std::string name = value.substr(0, eq);
            if (eq == std::string::npos || !findFlightSetting(name))
                return Outcome::failure("bad --set '" + shownInMessage(value) + "': expected NAME=VALUE with NAME one of " +
                                   settingNames());
            int32_t number = 0;
            if (!parseWholeNumber(std::string_view(value).substr(eq + 1), number))
                return Outcome::failure("bad --set '" + shownInMessage(value) + "': the value must be a 32-bit whole number");
            o.overrides.emplace_back(name, number);
        } else if (flag == "--picture") {
            if (value.empty()) return Outcome::failure("bad --picture: empty path");
            o.pictures.push_back(value);
        } else if (flag == "--out") {
            if (!hasImageExtension(value))
                return Outcome::failure("bad --out '" + shownInMessage(value) + "': the name must end in .png, .ppm or .bmp");
            o.outPath = value;
        } else if (flag == "--raw") {
            if (value.empty()) return Outcome::failure("bad --raw: empty path");
            o.rawPath = value;
        }
    }
    if (o.outPath.empty() && o.rawPath.empty()) return Outcome::failure("no output: give --out FILE or --raw FILE");
    options = std::move(o);
    return {};
}
