// Settings read from the environment, each under its name or under the older name it had before
// the programs took the product's name (DEMO_KEYS for ORVO_GL_KEYS), so set-ups made then still work.
#pragma once

struct EnvironmentSetting {
  const char* name = nullptr;   // the variable the value came from, for messages about it
  const char* value = nullptr;  // nullptr when neither variable is set
};

// The value under `name` when that is set (even to ""), else the value under `olderName`.
EnvironmentSetting readEnvironmentSetting(const char* name, const char* olderName);
