// The one link to the shader runtime: it owns the shader context and every program made, binds
// programs around drawing, and holds the per-pixel lighting state the meshes draw with.
// Every program handed out stays valid until release(); release() may be called any number of times.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/resource_paths.h"
#include "core/vector3.h"
#include "gpu/shader_program.h"
#include "platform/glsl_runtime.h"

// The shader loader's log; the log resolves the name without regard to case.
constexpr const char* kShaderLogFileName = "Debug.txt";
constexpr const char* kPerPixelVertexFile = "Basic_vert.cg";
constexpr const char* kPerPixelFragmentFile = "PerPixel_textured_frag.cg";

// The per-pixel lighting block: its two programs, the handles of their uniforms (null where a
// program lacks one) and the values sent to them at every beginPerPixel().
struct PerPixelLighting {
  ShaderProgram* vertexProgram = nullptr;
  ShaderProgram* fragmentProgram = nullptr;
  platform::GlslParameter* modelViewProj = nullptr;
  platform::GlslParameter* lightPosition = nullptr;
  platform::GlslParameter* eyePosition = nullptr;
  platform::GlslParameter* Ka = nullptr;
  platform::GlslParameter* Kd = nullptr;
  platform::GlslParameter* Ks = nullptr;
  platform::GlslParameter* shininess = nullptr;
  platform::GlslParameter* attenStrength = nullptr;
  platform::GlslParameter* attenLinear = nullptr;
  platform::GlslParameter* texmap = nullptr;
  float eyePositionValue[3] = {0.0f, 0.0f, 0.0f};
  float lightPositionValue[3] = {0.0f, 0.0f, 0.0f};
  // Ambient r, g, b, then diffuse, then specular.
  float colours[9] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  float shininessValue = 0.0f;
  float attenStrengthValue = 0.0f;
  float attenLinearValue = 0.0f;
  unsigned int texture = 0;
};

class ShaderManager {
 public:
  using ProgramTable = std::map<std::string, std::unique_ptr<ShaderProgram>>;

  ShaderManager() = default;
  ShaderManager(const ShaderManager&) = delete;
  ShaderManager& operator=(const ShaderManager&) = delete;
  ~ShaderManager();

  // Compiles the resource folder + fileName with the newest profile of the class (8 vertex, 9 fragment)
  // and logs the outcome under the file name. On success the table owns the program and the
  // result points at it; on failure the program is destroyed and the result is null.
  ShaderProgram* createProgram(std::unique_ptr<ShaderProgram> program, const char* fileName, int profileClass,
                               const char* entry);
  ShaderProgram* newProgram(const char* fileName, int profileClass, const char* entry);
  // Null when the program has no handle or does not use the name.
  platform::GlslParameter* getParameter(const ShaderProgram* program, const char* name) const;
  // True when the runtime reported no error for this enable and bind (or unbind and disable).
  bool bindProgram(const ShaderProgram* program);
  bool unbindProgram(const ShaderProgram* program);
  // While loading: binds the two stages and unbinds them again in the order drawing does, so that
  // a driver without separable programs links the pairs drawing uses now, not in a frame.
  void prepareStages(const ShaderProgram* first, const ShaderProgram* second);
  // Destroys every program and the context and forgets the lighting programs' handles.
  void release();

  bool hasContext() const { return context_ != nullptr; }
  // Which file failed last and why, for telling the user what is off; empty before any failure.
  const std::string& lastFailure() const { return lastFailure_; }
  const ProgramTable& programs() const { return programs_; }

  // Per-pixel lighting (shader_manager_lighting.cpp).
  // Compiles both lighting programs and looks up their uniforms; stops at the first failure. The
  // effects register learns whether the lighting runs.
  void setupPerPixelLighting();
  void setMaterialColours(const float colours[9]);  // ambient, diffuse, specular, each r, g, b
  void setShininessAndAttenuation(float shininess, float attenStrength, float attenLinear);
  void setEyeAndLight(const Vector3& eye, const Vector3& light);  // world positions; x, y, z used
  // Remembers the texture and points the texmap sampler at it at once.
  void setTexture(unsigned int texture);
  // Bracket one mesh: tell the drawing layer a program draws, bind the lighting programs and send
  // every value (the model-view-projection from the current matrices, so the mesh's transform
  // must already be applied); then unbind and hand the shading back to the layer. While the
  // effects register has the lighting off, or not yet on, both do nothing.
  void beginPerPixel();
  void endPerPixel();
  const PerPixelLighting& perPixel() const { return perPixel_; }

  // Shader files are read from paths.resourceFolder.
  void usePaths(const ResourcePaths& paths) { paths_ = paths; }

 private:
  // The lighting block keeps its values but drops the handles that die with the context.
  void forgetPerPixelHandles();

  ResourcePaths paths_;
  // Owned; destroyed by release().
  platform::GlslContext* context_ = nullptr;
  // Every program by source file name, for release.
  ProgramTable programs_;
  // Programs whose table entry a later program of the same file name took; kept alive until
  // release() because callers may still hold them.
  std::vector<std::unique_ptr<ShaderProgram>> replacedPrograms_;
  PerPixelLighting perPixel_;
  std::string lastFailure_;
};

ShaderManager& shaderManager();
