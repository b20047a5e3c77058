// The X display behind SDL's windows: whether one can be opened at all, and what becomes of the X
// errors the GL driver or SDL cause. Xlib's own answer to an error ends the process; ours tells the
// user, counts it and lets the caller treat what failed as refused.
#pragma once

namespace platform {

// Whether the X display of that name (as $DISPLAY gives it) opens.
bool xDisplayOpens(const char* name);
// Installs the report: every X error after this is one line on stderr beginning with the
// program's name (and in the log), and is counted. SDL's GL set-up puts this one back after its own.
void reportXErrors();
// X errors reported so far.
int xErrorCount();

}  // namespace platform
