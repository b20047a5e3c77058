// Whether this target can write the run's long outputs, a video and a capture: the desktop runs a
// video encoder and writes frames to files and pipes (stream_outputs_desktop.cpp); a page can do
// neither (stream_outputs_web.cpp).
#pragma once

namespace platform {

// Why videos and captures cannot be made here; null where they can.
const char* streamOutputsRefusal();

}  // namespace platform
