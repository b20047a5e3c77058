#include <gtest/gtest.h>

#include <string>

#include "platform/glsl_translation.h"

namespace {

using platform::GLContextKind;
using platform::ShaderStage;

constexpr const char* kVertexSource =
    "#version 120\n"
    "#extension GL_ARB_separate_shader_objects : enable\n"
    "// gl_Vertex in a comment is left to the comment.\n"
    "uniform mat4 transform;\n"
    "varying vec2 corner;\n"
    "void main() {\n"
    "  gl_Position = transform * gl_Vertex;\n"
    "  corner = gl_MultiTexCoord2.xy + gl_Normal.xy;\n"
    "}\n";

constexpr const char* kFragmentSource =
    "#version 120\n"
    "uniform sampler2D picture;\n"
    "varying vec2 corner;\n"
    "void main() {\n"
    "  gl_FragColor = texture2D(picture, corner);\n"
    "}\n";

std::string translated(const char* source, ShaderStage stage, GLContextKind kind) {
  std::string text;
  std::string problem;
  EXPECT_TRUE(platform::translateShaderSource(source, stage, kind, text, problem)) << problem;
  return text;
}

// The last line the compiler numbers `number` (from 3.30 on, "#line N" numbers the next line N);
// lines inserted before a #line directive may carry the same numbers.
std::string lineNumbered(const std::string& text, int number) {
  std::string found;
  int current = 1;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    if (line.compare(0, 6, "#line ") == 0) {
      current = std::stoi(line.substr(6));
    } else {
      if (current == number) {
        found = line;
      }
      ++current;
    }
    start = end + 1;
  }
  return found;
}

TEST(GlslTranslation, aCompatibilityContextTakesTheSourceAsItIs) {
  EXPECT_EQ(translated(kVertexSource, ShaderStage::Vertex, GLContextKind::Compatibility), kVertexSource);
}

TEST(GlslTranslation, vertexInputsBecomeNamedInputsAtTheLayersLocations) {
  const std::string core = translated(kVertexSource, ShaderStage::Vertex, GLContextKind::Core);
  EXPECT_EQ(core.compare(0, 18, "#version 330 core\n"), 0) << core;
  EXPECT_NE(core.find("layout(location = 0) in vec4 builtInVertex;"), std::string::npos) << core;
  EXPECT_NE(core.find("layout(location = 1) in vec3 builtInNormal;"), std::string::npos) << core;
  EXPECT_NE(core.find("layout(location = 5) in vec4 builtInMultiTexCoord2;"), std::string::npos) << core;
  EXPECT_EQ(core.find("builtInMultiTexCoord0"), std::string::npos) << "only the inputs used are declared";
  EXPECT_NE(core.find("out vec2 corner;"), std::string::npos) << core;
  EXPECT_NE(core.find("transform * builtInVertex"), std::string::npos) << core;
  // The file's own lines keep their numbers, for the compiler's messages.
  EXPECT_EQ(lineNumbered(core, 7), "  gl_Position = transform * builtInVertex;") << core;
}

TEST(GlslTranslation, esSourcesGetPrecisionsAndLoseTheSeparableProgramExtension) {
  const std::string es = translated(kVertexSource, ShaderStage::Vertex, GLContextKind::ES);
  EXPECT_EQ(es.compare(0, 16, "#version 300 es\n"), 0) << es;
  EXPECT_EQ(es.find("GL_ARB_separate_shader_objects"), std::string::npos) << es;
  EXPECT_NE(es.find("precision highp float;"), std::string::npos) << es;
  const std::string fragment = translated(kFragmentSource, ShaderStage::Fragment, GLContextKind::ES);
  EXPECT_NE(fragment.find("layout(location = 0) out vec4 builtInFragColor;"), std::string::npos) << fragment;
  EXPECT_NE(fragment.find("builtInFragColor = texture(picture, corner);"), std::string::npos) << fragment;
  EXPECT_NE(fragment.find("in vec2 corner;"), std::string::npos) << fragment;
  EXPECT_EQ(lineNumbered(fragment, 5), "  builtInFragColor = texture(picture, corner);") << fragment;
}

// A #line written for GLSL 1.20 (numbering the line after it N + 1) keeps meaning the same line.
TEST(GlslTranslation, lineDirectivesOfTheOldLanguageKeepTheirLines) {
  const std::string source = "#version 120\n#define basic_vs main\n#line 1\nvoid basic_vs() {\n}\n";
  const std::string core = translated(source.c_str(), ShaderStage::Vertex, GLContextKind::Core);
  EXPECT_EQ(lineNumbered(core, 2), "void basic_vs() {") << core;
}

TEST(GlslTranslation, fixedFunctionStateIsRefusedWithItsName) {
  const char* const sources[] = {
      "#version 120\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n",
      "#version 120\nvoid main() { gl_Position = ftransform(); }\n",
      "#version 120\nvoid main() { gl_Position = gl_Vertex; gl_TexCoord[0] = gl_MultiTexCoord0; }\n",
  };
  const char* const names[] = {"gl_ModelViewProjectionMatrix", "ftransform", "gl_TexCoord"};
  for (int index = 0; index < 3; ++index) {
    std::string text;
    std::string problem;
    EXPECT_FALSE(platform::translateShaderSource(sources[index], ShaderStage::Vertex, GLContextKind::ES, text, problem));
    EXPECT_NE(problem.find(names[index]), std::string::npos) << problem;
    EXPECT_NE(problem.find("es context"), std::string::npos) << problem;
  }
}

}  // namespace
