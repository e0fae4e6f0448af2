#include "render/view.h"

#include "starfield/star_field.h"

void setViewSize(StarField& field, int32_t width, int32_t height) {
    field.width = width;
    field.height = height;
    field.halfWidth = (width / 2) << 8;
    field.halfHeight = (height / 2) << 8;
    field.spawnHalfWidth = field.halfWidth;
    field.spawnHalfHeight = field.halfHeight;
}
