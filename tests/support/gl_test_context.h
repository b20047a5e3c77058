// One hidden window with a current GL context, shared by every test that draws.
#pragma once

#include <gtest/gtest.h>

// Makes the shared context current, creating it on first use; false when no display is reachable.
bool ensureGLContext();

// Skips the calling test when there is no display (run the tests under xvfb-run).
#define REQUIRE_GL_CONTEXT()                                            \
  do {                                                                 \
    if (!ensureGLContext()) {                                          \
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run"; \
    }                                                                  \
  } while (0)
