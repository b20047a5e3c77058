// Where the log's text goes besides its file, which each target decides: nowhere more on the
// desktop (log_echo_desktop.cpp); the browser's console on the web (log_echo_web.cpp), where the
// file lives only in the page's memory.
#pragma once

// Takes one message as the log appends it, line ends included.
void echoLogText(const char* text);
