// One hidden window with a current GL context, shared by every test that draws.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Makes the shared context current, creating it on first use; false when no display is reachable
// or the context could not be made.
bool ensureGLContext();
// Why the context could not be made; empty when there simply is no display.
const std::string& glContextFailure();

// True when drawing is fixed-function: no program in use and no program pipeline bound.
bool noProgramRuns();
// The GL program that holds a stage's uniform values while it draws: the stage's own separable
// program, or the program its stages were linked into, which is then in use.
unsigned int programHoldingValues(unsigned int stageProgram);

// Skips the calling test when there is no display (run the tests under xvfb-run); fails it when a
// display is there but no context could be made on it.
#define REQUIRE_GL_CONTEXT()                                                   \
  do {                                                                        \
    if (!ensureGLContext()) {                                                 \
      if (!glContextFailure().empty()) {                                      \
        FAIL() << "no GL context on the display: " << glContextFailure();     \
      }                                                                       \
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run";     \
    }                                                                         \
  } while (0)
