#pragma once
#include <cstdint>

class LevelTable;
class PictureDecoder;
class StarField;
struct DistributionMap;
struct Picture;
struct Settings;

// Pictures are reduced to this many columns before their map is built, and
// their maps cover a square of kDistributionTarget units a side.
inline constexpr uint32_t kDistributionColumns = 256;
inline constexpr uint32_t kDistributionTarget = 1024;
// A picture more than 16 times as tall as it is wide would need more rows
// than this, and its points would run to gigabytes.
inline constexpr uint32_t kMaxDistributionRows = 4096;

// Builds the map stars are drawn from for one picture: its brightness,
// resampled to 256 columns at the picture's aspect ratio, spread over the
// 1024 x 1024 target area. False, with the map empty, for a picture that
// cannot serve: malformed, larger than kMaxPicturePixels, giving no rows or
// more than kMaxDistributionRows, or with no pixel bright enough to be drawn.
bool buildPictureDistribution(const Picture& picture, const LevelTable& levels, DistributionMap& map);

// With UseNUR on, makes a map of every listed picture, in list order, and
// picks the first picture to use. Pictures that fail to load or cannot serve
// are skipped, so the field's pictures are exactly the usable ones; when
// none is usable (or UseNUR is off) the field has no pictures and no random
// value is drawn. Run once, right after buildStarField.
void loadDistributionPictures(StarField& field, const Settings& settings, PictureDecoder& decoder);
