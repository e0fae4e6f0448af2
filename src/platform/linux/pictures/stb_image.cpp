// stb_image, compiled once for the picture decoder and limited to the
// formats the saver offers: BMP, JPEG, GIF and PNG. Its memory comes from
// the decode budget, which bounds what one decoding may hold.
#include "platform/linux/pictures/decode_budget.h"

#define STBI_MALLOC(size) budgetMalloc(size)
#define STBI_REALLOC(block, size) budgetRealloc(block, size)
#define STBI_FREE(block) budgetFree(block)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#include <stb_image.h>
