#include "platform/stream_outputs.h"

namespace platform {

const char* streamOutputsRefusal() { return "a browser runs no video encoder and keeps no files"; }

}  // namespace platform
