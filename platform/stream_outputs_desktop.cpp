#include "platform/stream_outputs.h"

namespace platform {

const char* streamOutputsRefusal() { return nullptr; }

}  // namespace platform
