// A browser runs no other programs: nothing starts, and the reason says so.
#include "platform/child_process.h"

namespace platform {

namespace {

const char* const kNoPrograms = "a browser runs no other programs";

}  // namespace

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::start(const std::vector<std::string>& /*arguments*/, std::string& error) {
  error = kNoPrograms;
  return false;
}

int ChildProcess::finish() { return -1; }

std::string ChildProcess::howItEnded() const { return kNoPrograms; }

std::string ChildProcess::lastErrorLines(int /*count*/) const { return ""; }

bool runForOutput(const std::vector<std::string>& /*arguments*/, std::string& output, std::string& error) {
  output.clear();
  error = kNoPrograms;
  return false;
}

}  // namespace platform
