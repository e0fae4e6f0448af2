#pragma once
#include "starfield/star_field.h"

// The star pass of one step, in star order: every star in flight moves and
// is retired once it passed the viewer or left the view; stars waiting are
// placed while the step's budget lasts; every star still in flight, and
// every one placed, is then drawn. The stars move in the widest lanes the
// field allows (StarField::lanes).
void runStarPass(StarField& field);
