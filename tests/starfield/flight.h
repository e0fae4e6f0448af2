#pragma once
// A saver's state flying `stars` stars with first-run settings as `adjust`
// changes them, prepared as the saver window prepares it (stars built, the
// listed pictures loaded from `files`, motion derived), in a 640 x 480 view.
// Nothing is drawn until a renderer gives the field a canvas.
#include <functional>
#include <map>
#include <string>

#include "saver/flight.h"
#include "saver/saver_state.h"
#include "starfield/test_pictures.h"

struct Flight {
    explicit Flight(int32_t stars, const std::function<void(Settings&)>& adjust = {},
                    std::map<std::string, Picture> files = {}) {
        ApplyFallbackDefaults(state.settings);
        state.settings.StarsCount = stars;
        if (adjust) adjust(state.settings);
        decoder.files = std::move(files);
        prepareFlight(state, decoder);
        setViewSize(field(), 640, 480);
    }
    StarField& field() { return state.starField; }

    SaverState state;
    FakePictureDecoder decoder;
};
