// On the desktop the log file is where its readers look; nothing is echoed.
#include "core/log_echo.h"

void echoLogText(const char* /*text*/) {}
