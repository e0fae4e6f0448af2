#include "starfield/distribution_pictures.h"

#include <string>
#include <utility>

#include "settings/settings.h"
#include "starfield/brightness_map.h"
#include "starfield/distribution_map.h"
#include "starfield/picture_decoder.h"
#include "starfield/random.h"
#include "starfield/star_field.h"

bool buildPictureDistribution(const Picture& picture, const LevelTable& levels, DistributionMap& map) {
    map.clear();
    const int64_t width = picture.width;
    const int64_t height = picture.height;
    if (width <= 0 || height <= 0 || width * height > kMaxPicturePixels ||
        picture.rgb.size() != static_cast<size_t>(width * height * 3))
        return false;
    // The rows the picture's aspect ratio gives at 256 columns; checked
    // before anything is allocated for them.
    const int64_t rows = height * kDistributionColumns / width;
    if (rows == 0 || rows > kMaxDistributionRows) return false;

    const auto w = static_cast<uint32_t>(width);
    const auto h = static_cast<uint32_t>(height);
    const auto r = static_cast<uint32_t>(rows);
    const std::vector<uint8_t> samples = resampleToWidth(brightnessMap(picture), w, h, kDistributionColumns, r);
    buildDistributionMap(map, samples, kDistributionColumns, r, kDistributionTarget, kDistributionTarget);
    // Brightness 0 and 1 have no weight: a map of only those would make
    // sampling search forever.
    if (map.canSample(levels)) return true;
    map.clear();
    return false;
}

void loadDistributionPictures(StarField& field, const Settings& settings, PictureDecoder& decoder) {
    field.pictures.clear();
    if (!settings.UseNUR) return;
    for (const std::string& path : settings.NURimages) {
        Picture picture;
        if (!decoder.loadPicture(path, picture)) continue;
        DistributionMap map;
        if (buildPictureDistribution(picture, field.levels, map)) field.pictures.push_back(std::move(map));
    }
    if (!field.pictures.empty()) field.currentPicture = static_cast<uint32_t>(field.rng()) % field.pictureCount();
}
