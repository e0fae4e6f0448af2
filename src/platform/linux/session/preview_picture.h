#pragma once
#include <cstdint>
#include <span>

// The preview picture SdlHost paints into a preview pane and the settings
// dialog's About box shows, as a BMP file image (150 x 113, 8 bits per pixel
// with a 256-colour table), made at build time from a real frame; the
// Windows build carries it as bitmap resource 219.
std::span<const uint8_t> previewPicture();
