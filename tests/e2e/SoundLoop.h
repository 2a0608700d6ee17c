// How long a cue played through the sound server takes to come back from
// the default capture device (the null sink's monitor in the test
// environment): the latency of the test's own sound path, which a recording
// of the cue carries on top of the recorder's own placing.
#pragma once

#include <string>

// Plays the cue `times` times and returns the median delay in ms from each
// PlaySound call to the moment the capture position says its first loud
// sample was taken, or a negative number when the device gave no sound.
double LoopLatencyMs(const std::string& cue, int times);
