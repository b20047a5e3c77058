#include "core/environment_setting.h"

#include <cstdlib>

EnvironmentSetting readEnvironmentSetting(const char* name, const char* olderName) {
  if (const char* value = std::getenv(name)) {
    return {name, value};
  }
  if (const char* value = std::getenv(olderName)) {
    return {olderName, value};
  }
  return {};
}
