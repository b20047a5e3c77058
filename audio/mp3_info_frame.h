// The length an MP3 file promises before its audio: the frame count of the Xing or Info frame
// that encoders such as LAME put first, so that a player can tell a file that was cut short.
#pragma once

#include <cstddef>
#include <cstdint>

// Seconds of audio the file's Xing or Info frame counts (whole frames, encoder delay and padding
// included). False when the file has no such frame, or it does not count its frames: an ID3v2
// tag is passed over, and only MPEG layer III frames are read.
bool readMp3PromisedSeconds(const uint8_t* data, size_t sizeBytes, double& seconds);
