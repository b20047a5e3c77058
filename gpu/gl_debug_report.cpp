#include "gpu/gl_debug_report.h"

#include <GL/glew.h>

#include "core/debug_log.h"
#include "core/draw_counts.h"

namespace {

const char* sourceName(GLenum source) {
  switch (source) {
    case GL_DEBUG_SOURCE_API:
      return "API";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
      return "window system";
    case GL_DEBUG_SOURCE_SHADER_COMPILER:
      return "shader compiler";
    case GL_DEBUG_SOURCE_THIRD_PARTY:
      return "third party";
    case GL_DEBUG_SOURCE_APPLICATION:
      return "application";
    default:
      return "other";
  }
}

const char* typeName(GLenum type) {
  switch (type) {
    case GL_DEBUG_TYPE_ERROR:
      return "error";
    case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR:
      return "deprecated behaviour";
    case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
      return "undefined behaviour";
    case GL_DEBUG_TYPE_PORTABILITY:
      return "portability";
    case GL_DEBUG_TYPE_PERFORMANCE:
      return "performance";
    case GL_DEBUG_TYPE_MARKER:
      return "marker";
    default:
      return "other";
  }
}

const char* severityName(GLenum severity) {
  switch (severity) {
    case GL_DEBUG_SEVERITY_HIGH:
      return "high";
    case GL_DEBUG_SEVERITY_MEDIUM:
      return "medium";
    case GL_DEBUG_SEVERITY_LOW:
      return "low";
    default:
      return "notification";
  }
}

}  // namespace

void GLDebugReport::begin() {
  listening_ = startListening();
  if (listening_ == Listening::None) {
    DebugLog::append(kLogFileName, "GL debug: the driver gives no messages, errors are read after every frame\r\n");
  }
}

void GLDebugReport::checkAfterFrame() {
  if (listening_ != Listening::None) {
    return;
  }
  // A context that is lost keeps answering GL_CONTEXT_LOST; the bound keeps this loop finite.
  for (int read = 0; read < 64; ++read) {
    countQueries(1);
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) {
      return;
    }
    takeMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, error, GL_DEBUG_SEVERITY_HIGH, "reported by glGetError");
  }
}

void GLDebugReport::end() {
  stopListening();
  listening_ = Listening::None;
  for (const auto& [key, count] : seen_) {
    if (count > 1) {
      DebugLog::append(kLogFileName, "GL debug: %s %s message %u came %ld times\r\n", sourceName(std::get<0>(key)),
                       typeName(std::get<1>(key)), std::get<2>(key), count);
    }
  }
}

void GLDebugReport::takeMessage(unsigned int source, unsigned int type, unsigned int id, unsigned int severity,
                                const char* text) {
  if (type == GL_DEBUG_TYPE_ERROR) {
    ++errors_;
  } else {
    ++otherMessages_;
  }
  long& count = seen_[MessageKey(source, type, id)];
  if (count++ == 0) {
    DebugLog::append(kLogFileName, "GL debug: source %s, type %s, severity %s, id %u: %s\r\n", sourceName(source),
                     typeName(type), severityName(severity), id, text != nullptr ? text : "");
  }
}
