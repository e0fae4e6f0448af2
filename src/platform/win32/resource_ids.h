#pragma once
// Ids of the program's own resources.
inline constexpr int kPreviewBitmapId = 219;
inline constexpr int kBuiltInMusicId = 221;
inline constexpr char kBuiltInMusicType[] = "WAVE";
