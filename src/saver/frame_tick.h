#pragma once

class FrameRateDisplay;
struct SaverState;

// One timer tick once the renderer exists: frame start, the star step with
// its drawing, the frame rate over it when one is given (a hack's -fps),
// frame end.
void runFrame(SaverState& state, FrameRateDisplay* frameRate = nullptr);
