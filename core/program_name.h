// The names the two programs go by: each is installed under its name, answers --version with it,
// and begins every line it writes on stderr with it ("orvo-gl: ...", "orvo-gl-tool: ...").
#pragma once

extern const char kPresentationName[];  // the presentation: "orvo-gl"
extern const char kToolName[];          // the tools program: "orvo-gl-tool"

// The name of the program running, for the stderr lines of code both programs share (message
// boxes without a display, the log's warning, the model reader). Each main sets it first; until
// then it is the presentation's.
void setProgramName(const char* name);
const char* programName();
