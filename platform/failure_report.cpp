#include "platform/failure_report.h"

#include <cstdio>

#include "core/debug_log.h"
#include "core/program_name.h"

namespace platform {

FailureReport boxReport(const std::string& text, const std::string& caption, BoxIcon icon) {
  FailureReport report;
  report.boxText = text;
  report.boxCaption = caption;
  report.boxIcon = icon;
  return report;
}

BoxAnswer reportFailure(const FailureReport& report) {
  BoxAnswer answer = BoxAnswer::Ok;
  if (!report.boxText.empty()) {
    answer = showMessageBox(report.boxText, report.boxCaption, report.boxButtons, report.boxIcon);
  }
  if (!report.logLine.empty()) {
    DebugLog::append(kLogFileName, "%s", report.logLine.c_str());
  }
  if (!report.stderrLine.empty()) {
    std::fprintf(stderr, "%s: %s\n", programName(), report.stderrLine.c_str());
  }
  return answer;
}

}  // namespace platform
