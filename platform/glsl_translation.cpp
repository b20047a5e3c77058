#include "platform/glsl_translation.h"

#include <cstdlib>
#include <regex>
#include <set>
#include <vector>

namespace platform {

namespace {

// A fixed-function input and the named input that stands for it.
struct InputBuiltIn {
  const char* builtIn;
  const char* name;
  const char* type;
  int location;
};

const InputBuiltIn kVertexInputs[] = {
    {"gl_Vertex", "builtInVertex", "vec4", kAttributePosition},
    {"gl_Normal", "builtInNormal", "vec3", kAttributeNormal},
    {"gl_Color", "builtInColor", "vec4", kAttributeColor},
    {"gl_MultiTexCoord0", "builtInMultiTexCoord0", "vec4", kAttributeTexCoord0},
    {"gl_MultiTexCoord1", "builtInMultiTexCoord1", "vec4", kAttributeTexCoord0 + 1},
    {"gl_MultiTexCoord2", "builtInMultiTexCoord2", "vec4", kAttributeTexCoord0 + 2},
};
constexpr const char* kFragmentOutputName = "builtInFragColor";

// The built-ins both languages still have, beside the inputs above.
const std::set<std::string> kKeptBuiltIns = {
    "gl_Position",  "gl_PointSize", "gl_VertexID",   "gl_InstanceID", "gl_FragCoord",
    "gl_FrontFacing", "gl_PointCoord", "gl_FragDepth", "gl_FragColor",
};

// The texture lookups of GLSL 1.20 and their overloaded successors.
const std::pair<const char*, const char*> kTextureFunctions[] = {
    {"texture2D", "texture"},         {"texture2DProj", "textureProj"}, {"texture2DLod", "textureLod"},
    {"texture2DProjLod", "textureProjLod"}, {"textureCube", "texture"}, {"textureCubeLod", "textureLod"},
    {"texture3D", "texture"},         {"shadow2D", "texture"},
};

std::string replaceWord(const std::string& text, const std::string& word, const std::string& replacement) {
  return std::regex_replace(text, std::regex("\\b" + word + "\\b"), replacement);
}

bool usesWord(const std::string& text, const std::string& word) {
  return std::regex_search(text, std::regex("\\b" + word + "\\b"));
}

// The first gl_ name the stage may not use on a modern context; empty when there is none.
std::string unavailableBuiltIn(const std::string& code, ShaderStage stage) {
  static const std::regex kBuiltIn(R"(\bgl_\w+)");
  for (std::sregex_iterator match(code.begin(), code.end(), kBuiltIn), end; match != end; ++match) {
    const std::string name = match->str();
    // The implementation limits (gl_MaxTextureUnits and the like) are there in every language.
    bool known = kKeptBuiltIns.count(name) > 0 || name.compare(0, 6, "gl_Max") == 0;
    for (const InputBuiltIn& input : kVertexInputs) {
      known = known || (stage == ShaderStage::Vertex && name == input.builtIn);
    }
    if (!known) {
      return name;
    }
  }
  if (stage == ShaderStage::Vertex && usesWord(code, "ftransform")) {
    return "ftransform";
  }
  return std::string();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    if (end == text.size()) {
      break;
    }
    start = end + 1;
  }
  return lines;
}

// The directive's name when the line is a preprocessor directive ("version", "line", ...).
std::string directiveOf(const std::string& line) {
  static const std::regex kDirective(R"(^\s*#\s*(\w+))");
  std::smatch match;
  return std::regex_search(line, match, kDirective) ? match[1].str() : std::string();
}

int numberAfterDirective(const std::string& line, const char* directive) {
  const size_t at = line.find(directive);
  return std::atoi(line.c_str() + at + std::char_traits<char>::length(directive));
}

// What the stage declares in place of the built-ins it uses.
std::string declarationsFor(const std::string& code, ShaderStage stage) {
  std::string declarations;
  if (stage == ShaderStage::Vertex) {
    for (const InputBuiltIn& input : kVertexInputs) {
      if (usesWord(code, input.builtIn)) {
        declarations += "layout(location = " + std::to_string(input.location) + ") in " + input.type + " " +
                        input.name + ";\n";
      }
    }
  } else if (usesWord(code, "gl_FragColor")) {
    declarations += std::string("layout(location = 0) out vec4 ") + kFragmentOutputName + ";\n";
    // The file's own main (or the entry named as main) becomes an ordinary function, run by the
    // main that ends the source.
    declarations += std::string("uniform bool ") + kAlphaTestUniform + ";\n";
    declarations += std::string("uniform float ") + kAlphaAboveUniform + ";\n";
    declarations += alphaTestFunction();
    declarations += "#define main builtInMain\n";
  }
  return declarations;
}

// The fixed function's alpha test, which a core or ES context no longer has, after the file's main.
std::string alphaTestingMain() {
  return std::string("\n#undef main\nvoid main() {\n  builtInMain();\n  if (") + kAlphaTestUniform + " && !" +
         kAlphaTestPasses + "(" + kFragmentOutputName + ".a, " + kAlphaAboveUniform + ")) {\n    discard;\n  }\n}\n";
}

std::string renamed(std::string text, ShaderStage stage) {
  text = replaceWord(text, "varying", stage == ShaderStage::Vertex ? "out" : "in");
  text = replaceWord(text, "attribute", "in");
  for (const InputBuiltIn& input : kVertexInputs) {
    text = replaceWord(text, input.builtIn, input.name);
  }
  text = replaceWord(text, "gl_FragColor", kFragmentOutputName);
  for (const auto& [old, successor] : kTextureFunctions) {
    text = replaceWord(text, old, successor);
  }
  return text;
}

}  // namespace

std::string withoutComments(const std::string& source) {
  std::string text;
  for (size_t c = 0; c < source.size();) {
    if (source.compare(c, 2, "//") == 0) {
      c = std::min(source.find('\n', c), source.size());
    } else if (source.compare(c, 2, "/*") == 0) {
      const size_t close = source.find("*/", c + 2);
      c = close == std::string::npos ? source.size() : close + 2;
      text += ' ';
    } else {
      text += source[c++];
    }
  }
  return text;
}

// The GL compares alpha at the colour buffer's precision: the reference clamped and converted to
// it, the fragment's alpha rounded to it. The surfaces and the window hold 8 bits a channel.
std::string alphaTestFunction() {
  return std::string("bool ") + kAlphaTestPasses +
         "(float alpha, float reference) {\n"
         "  return floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5) > floor(clamp(reference, 0.0, 1.0) * 255.0 + 0.5);\n"
         "}\n";
}

std::string modernShaderHeader(GLContextKind kind) {
  if (kind == GLContextKind::ES) {
    // ES has no default precision for floats in the fragment stage; high precision everywhere keeps
    // the results those of the desktop GL.
    return "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";
  }
  return "#version 330 core\n";
}

bool translateShaderSource(const std::string& source, ShaderStage stage, GLContextKind kind, std::string& translated,
                           std::string& problem) {
  if (kind == GLContextKind::Compatibility) {
    translated = source;
    return true;
  }
  const std::string code = withoutComments(source);
  const std::string missing = unavailableBuiltIn(code, stage);
  if (!missing.empty()) {
    problem = "it uses " + missing + ", which a " + contextKindName(kind) + " context does not have";
    return false;
  }
  const std::string header = modernShaderHeader(kind);
  const std::string versionLine = header.substr(0, header.find('\n'));
  // Precisions and declarations must follow every #extension line; they go in after the last one
  // of the opening directives, and a #line directive keeps the compiler's line numbers the file's.
  const std::string declarations = header.substr(versionLine.size() + 1) + declarationsFor(code, stage);
  std::vector<std::string> lines = linesOf(renamed(source, stage));
  int sourceVersion = 110;
  size_t insertAfter = 0;
  bool versionSeen = false;
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string directive = directiveOf(lines[index]);
    if (directive == "version") {
      sourceVersion = numberAfterDirective(lines[index], "version");
      lines[index] = versionLine;
      versionSeen = true;
      insertAfter = index + 1;
    } else if (directive == "extension") {
      // ES has no separable programs; a desktop core context still names the extension.
      if (kind == GLContextKind::ES && lines[index].find("GL_ARB_separate_shader_objects") != std::string::npos) {
        lines[index].clear();
      }
      insertAfter = index + 1;
    } else if (directive == "line" && sourceVersion < 330) {
      // Before 3.30, "#line N" numbers the line after it N + 1; from 3.30 on, N.
      lines[index] = "#line " + std::to_string(numberAfterDirective(lines[index], "line") + 1);
    }
  }
  // The number the compiler gives the line after the insertion, had nothing been inserted.
  int nextLineNumber = 1;
  for (size_t index = 0; index < insertAfter; ++index) {
    nextLineNumber = directiveOf(lines[index]) == "line" ? numberAfterDirective(lines[index], "line") : nextLineNumber + 1;
  }
  std::string text = versionSeen ? std::string() : versionLine + "\n";
  for (size_t index = 0; index < lines.size(); ++index) {
    if (index == insertAfter) {
      text += declarations + "#line " + std::to_string(nextLineNumber) + "\n";
    }
    text += lines[index];
    if (index + 1 < lines.size()) {
      text += '\n';
    }
  }
  if (insertAfter >= lines.size()) {
    text += "\n" + declarations;
  }
  if (stage == ShaderStage::Fragment && usesWord(code, "gl_FragColor")) {
    text += alphaTestingMain();
  }
  translated = text;
  return true;
}

}  // namespace platform
