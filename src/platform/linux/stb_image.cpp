// stb_image, compiled once for the picture decoder and limited to the
// formats the saver offers: BMP, JPEG, GIF and PNG.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#include <stb_image.h>
