#pragma once

class PictureDecoder;
struct SaverState;

// The flight the settings describe: the stars, the distribution pictures
// and the motion parameters. The saver window runs it at creation, after
// loading the settings and starting the sound; so does the headless renderer.
void prepareFlight(SaverState& state, PictureDecoder& pictures);
