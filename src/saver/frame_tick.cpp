#include "saver/frame_tick.h"

#include "saver/frame_rate_display.h"
#include "saver/saver_state.h"

void runFrame(SaverState& state, FrameRateDisplay* frameRate) {
    state.renderer.beginFrame();  // its result (the frame lock's) is not needed: a failed lock draws nothing
    const FrameTarget& canvas = state.starField.view.canvas.frame;
    // Without the nebula the frame is black under the stars; where the
    // device kept it, only the last stars were blackened, so the last text
    // is blackened too.
    if (frameRate && !state.renderer.nebulaOn()) frameRate->eraseLast(canvas);
    stepStarField(state.starField);
    if (frameRate) {
        state.renderer.markChanged(frameRate->drawnBox());  // the last text, blackened
        frameRate->draw(canvas);
        state.renderer.markChanged(frameRate->drawnBox());
    }
    state.renderer.presentFrame();
}
