#include "core/program_name.h"

// The product's name comes from the build, which also names the installed programs after it.
const char kPresentationName[] = DEMO_PRODUCT_NAME;
const char kToolName[] = DEMO_PRODUCT_NAME "-tool";

namespace {

const char* gProgramName = kPresentationName;

}  // namespace

void setProgramName(const char* name) { gProgramName = name; }

const char* programName() { return gProgramName; }
