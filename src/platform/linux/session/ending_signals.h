#pragma once
// SIGTERM and SIGINT of a run over SDL: noted by Lumara's own handler, set
// before SDL_Init (which is told to install none of its own), so a signal
// at any moment of the start is handled as one during the flight. SdlHost's
// message loop turns the noted signal into a close, like any other; once
// the run has cleaned up, main ends the process by that signal, so a daemon
// that terminated its hack sees it ended by that signal rather than exiting
// on its own.
// Leaves out: any other signal (they keep their default actions).

// Installs the handler; SDL must then start with SDL_HINT_NO_SIGNAL_HANDLERS.
void noteEndingSignals();
// The signal that came, or 0.
int endingSignal();
// A descriptor that turns readable once a signal came, for a loop that
// sleeps in poll: the handler may run on any thread (SDL's audio thread),
// where the flag alone would not end the wait. -1 before noteEndingSignals.
int endingSignalDescriptor();
