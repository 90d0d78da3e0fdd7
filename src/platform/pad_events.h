#pragma once
// PRIVATE HEADER: only src/platform includes this (it includes SDL).
// How the event translation reaches the pads.
#include <SDL.h>

#include "platform/events.h"

namespace platform {

// Applies the test pad's new commands, if there is a test pad. Called once
// a round of pollEvent calls, at its start: SDL ends a round at a marker it
// queues when the round begins, so what a command queued after that would
// only come out a round later.
void pollTestPad();

// Before SDL's queue is read: the PadAdded events of the pads that were
// connected when the pads were opened.
bool takePendingPadEvent(Event& out);

// A controller event as ours; false for the events nobody above needs (and
// for pads this layer never opened). Opens and closes the pads as they come
// and go.
bool translatePadEvent(const SDL_Event& in, Event& out);

}  // namespace platform
