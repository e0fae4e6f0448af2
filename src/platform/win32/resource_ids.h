#pragma once
// Ids of the program's own resources (lumara.rc), shared by Win32Host (the
// preview picture) and PlaySoundPlayer (the built-in music).
inline constexpr int kPreviewBitmapId = 219;
inline constexpr int kBuiltInMusicId = 221;
inline constexpr char kBuiltInMusicType[] = "WAVE";
