// Presentation time that keeps to the music: while the track plays, each frame's time is the
// position the listener has heard, so a slow frame or a stall in the sound output cannot move the
// picture off the music. Without a playing track the frame timer runs on by itself.
#pragma once

#include <functional>

#include "core/frame_timer.h"

// Answers the heard position of the music in seconds; false while no music plays.
using HeardPosition = std::function<bool(double& seconds)>;

// Takes the frame timer's next sample, then, when the music answers, moves the timer's time base
// onto the music's position. Time never goes back: a position that went back a little (the sound
// output's estimate is not exact) holds the time where it was, with no time passing.
void sampleClock(FrameTimer& timer, const HeardPosition& heard);
