#include "platform/gl_binding_record.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include "tests/support/gl_test_context.h"

namespace {

GLuint textureOnDriverUnit(int unit) {
  GLint bound = 0;
  glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glActiveTexture(GL_TEXTURE0);
  return static_cast<GLuint>(bound);
}

// The record says what the driver has, on any unit, and unit 0 stays the active one.
TEST(GlBindingRecord, recordsTheTextureOnEachUnitAsTheDriverHasIt) {
  REQUIRE_GL_CONTEXT();
  platform::resetBindingRecord();
  GLuint textures[2] = {0, 0};
  glGenTextures(2, textures);
  platform::bindTexture2D(2, textures[0]);
  platform::bindTexture2D(0, textures[1]);
  EXPECT_EQ(platform::textureOnUnit(2), textures[0]);
  EXPECT_EQ(platform::textureOnUnit(0), textures[1]);
  EXPECT_EQ(textureOnDriverUnit(2), textures[0]);
  EXPECT_EQ(textureOnDriverUnit(0), textures[1]);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE0);
  EXPECT_EQ(platform::textureOnUnit(platform::kRecordedTextureUnits), 0u);
  platform::deleteTextures(2, textures);
}

// A deleted texture leaves its units empty, so a new texture that gets the same name is bound
// for real rather than taken for the one already there.
TEST(GlBindingRecord, aDeletedTextureLeavesItsUnitsEmptyAndItsNameBindsAgain) {
  REQUIRE_GL_CONTEXT();
  platform::resetBindingRecord();
  GLuint first = 0;
  glGenTextures(1, &first);
  platform::bindTexture2D(1, first);
  platform::deleteTextures(1, &first);
  EXPECT_EQ(platform::textureOnUnit(1), 0u);
  EXPECT_EQ(textureOnDriverUnit(1), 0u);
  GLuint second = 0;
  glGenTextures(1, &second);
  platform::bindTexture2D(1, second);
  EXPECT_EQ(textureOnDriverUnit(1), second);
  platform::deleteTextures(1, &second);
}

}  // namespace
