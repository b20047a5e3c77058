#include "gpu/gl_debug_report.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>

#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Whichever way the driver reports, a bad call shows up as an error, counted each time and logged
// once with its source, type and severity, plus a closing line saying how often it came.
TEST(GLDebugReport, errorsAreCountedEveryTimeAndLoggedOnce) {
  REQUIRE_GL_CONTEXT();
  const PrivateWorkingFolder folder;
  glGetError();
  GLDebugReport report;
  report.begin();
  for (int frame = 0; frame < 3; ++frame) {
    glEnable(0x7fff);  // not a capability: GL_INVALID_ENUM
    report.checkAfterFrame();
  }
  report.end();
  glGetError();
  EXPECT_EQ(report.errorCount(), 3);

  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(occurrences(log, "type error, severity high"), 1u) << log;
  EXPECT_NE(log.find("GL debug: source API"), std::string::npos) << log;
  EXPECT_NE(log.find("came 3 times"), std::string::npos) << log;
}

TEST(GLDebugReport, messagesOtherThanErrorsAreCountedApart) {
  const PrivateWorkingFolder folder;
  GLDebugReport report;
  report.takeMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 7, GL_DEBUG_SEVERITY_LOW, "slow");
  report.takeMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_PERFORMANCE, 7, GL_DEBUG_SEVERITY_LOW, "slow");
  report.takeMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1280, GL_DEBUG_SEVERITY_HIGH, "bad enum");
  EXPECT_EQ(report.errorCount(), 1);
  EXPECT_EQ(report.otherMessageCount(), 2);
  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(occurrences(log, "type performance, severity low, id 7: slow"), 1u) << log;
  EXPECT_NE(log.find("source API, type error, severity high, id 1280: bad enum"), std::string::npos) << log;
}

}  // namespace
