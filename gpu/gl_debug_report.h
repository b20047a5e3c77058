// The GL's own account of a run: every message a debug context gives goes to the log with its
// source, type, severity and id (a message seen before is only counted), and errors are counted.
// Where the driver has no debug messages, glGetError is read after every frame instead.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>

class GLDebugReport {
 public:
  // Needs the current context, made with the debug flag. Logs which way messages are gathered.
  void begin();
  // Reads glGetError until it is clear, where the driver gives no messages.
  void checkAfterFrame();
  // Logs how often each repeated message came; stops listening.
  void end();

  long errorCount() const { return errors_; }
  long otherMessageCount() const { return otherMessages_; }

  // Takes one message: logs it the first time it is seen, counts it every time.
  void takeMessage(unsigned int source, unsigned int type, unsigned int id, unsigned int severity, const char* text);

 private:
  using MessageKey = std::tuple<unsigned int, unsigned int, unsigned int>;  // source, type, id
  // How the driver's messages reach us: a driver may name a version or an extension and still
  // leave its entry points out, so only the entry points found count.
  enum class Listening { None, KhrDebug, ArbDebugOutput };
  // Asks the driver for its messages where the target has them: the desktop's debug contexts
  // (gl_debug_report_desktop.cpp), not WebGL (gl_debug_report_web.cpp). Logs the way chosen.
  Listening startListening();
  void stopListening();
  Listening listening_ = Listening::None;
  long errors_ = 0;
  long otherMessages_ = 0;
  std::map<MessageKey, long> seen_;
};
