#pragma once
#include "render/cloud_layer.h"
#include "render/renderer.h"
#include "settings/settings.h"
#include "starfield/level_table.h"
#include "starfield/random.h"
#include "starfield/sine_table.h"
#include "starfield/star_field.h"

// The objects that live for the whole saver process. Members are constructed
// in declaration order, which is the order the saver relies on: the
// generator is seeded first, the cloud layers start empty before the
// settings, the star field and then the renderer that joins them come last.
struct SaverState {
    Random rng = Random::seededForSaver();
    LevelTable levelTable;
    CloudLayers cloudLayers;
    Settings settings;
    SineTable sineTable;
    StarField starField{rng, sineTable, levelTable};
    Renderer renderer{rng, settings, starField, cloudLayers};
};
