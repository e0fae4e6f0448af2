#include "saver/flight.h"

#include "saver/saver_state.h"
#include "starfield/distribution_pictures.h"
#include "starfield/motion_parameters.h"

void prepareFlight(SaverState& state, PictureDecoder& pictures) {
    const Settings& settings = state.settings;
    StarField& field = state.starField;
    buildStarField(field, settings.StarsCount, PointStar());
    loadDistributionPictures(field, settings, pictures);
    deriveMotionParameters(field, settings);
}
