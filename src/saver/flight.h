#pragma once

class FrameRateDisplay;
class PictureDecoder;
struct SaverState;

// The flight the settings describe: the stars, the distribution pictures
// and the motion parameters. The saver window runs it at creation, after
// loading the settings and starting the sound; so does the headless renderer.
void prepareFlight(SaverState& state, PictureDecoder& pictures);

// One timer tick once the renderer exists: frame start, the star step with
// its drawing, the frame rate over it when one is given (a hack's -fps),
// frame end.
void runFrame(SaverState& state, FrameRateDisplay* frameRate = nullptr);
