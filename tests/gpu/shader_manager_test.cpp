#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gpu/shader_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/shader_test_files.h"

namespace {

constexpr const char* kGoodFile = "manager_test_good.cg";
constexpr const char* kBadFile = "manager_test_bad.cg";

class ShaderManagerTest : public testing::Test {
 protected:
  // Its own working folder: the tests read the log and write shader files there.
  PrivateWorkingFolder folder;

  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    writeTextFile(kGoodFile, kTestVertexSource);
    writeTextFile(kBadFile, "#version 120\nvoid main() { undeclaredThing = 1.0; }\n");
  }
  void TearDown() override {
    manager.release();
    std::remove(kGoodFile);
    std::remove(kBadFile);
  }

  ShaderManager manager;
};

TEST_F(ShaderManagerTest, goodProgramIsLoggedAndKeptUnderItsFileName) {
  const LogTail log;
  ShaderProgram* program = manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main");
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(log.text(), "Shader manager_test_good.cg loaded successfully\n");
  EXPECT_TRUE(manager.hasContext());
  EXPECT_EQ(program->name, kGoodFile);
  EXPECT_EQ(program->profile, platform::ShaderProfile::GlslVertex);
  ASSERT_EQ(manager.programs().count(kGoodFile), 1u);
  EXPECT_EQ(manager.programs().at(kGoodFile).get(), program);
  EXPECT_NE(manager.getParameter(program, "offset"), nullptr);
  EXPECT_EQ(manager.getParameter(program, "notDeclared"), nullptr);
}

TEST_F(ShaderManagerTest, failedProgramIsLoggedWithTheReasonAndNotKept) {
  const LogTail log;
  EXPECT_EQ(manager.newProgram(kBadFile, platform::kProfileClassFragment, "main"), nullptr);
  EXPECT_EQ(manager.newProgram("manager_test_missing.cg", platform::kProfileClassFragment, "main"), nullptr);
  EXPECT_TRUE(manager.programs().empty());

  const std::string text = log.text();
  const std::string compileLine = "Shader manager_test_bad.cg Failed to load (The compile returned an error: ";
  ASSERT_EQ(text.find(compileLine), 0u) << text;
  EXPECT_NE(text.find("undeclaredThing"), std::string::npos) << text;
  const size_t firstEnd = text.find(")\n");
  ASSERT_NE(firstEnd, std::string::npos);
  EXPECT_EQ(text.substr(firstEnd + 2),
            "Shader manager_test_missing.cg Failed to load (The file could not be read.)\n");
}

// An installed run reads its shader files from the resource folder; the log and the table still
// know them by their file names.
TEST_F(ShaderManagerTest, resourceFolderIsPutInFrontOfTheFileNameOnly) {
  std::filesystem::create_directories("resources");
  std::rename(kGoodFile, (std::string("resources/") + kGoodFile).c_str());
  manager.usePaths(resourcePathsIn(folder.path() + "/resources/"));
  const LogTail log;
  ShaderProgram* program = manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main");
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(log.text(), "Shader manager_test_good.cg loaded successfully\n");
  EXPECT_EQ(program->name, kGoodFile);
  manager.usePaths(resourcePathsIn(""));
  EXPECT_EQ(manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main"), nullptr);
}

TEST_F(ShaderManagerTest, laterProgramOfOneFileTakesTheEntryAndTheEarlierStaysUsable) {
  ShaderProgram* earlier = manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main");
  ShaderProgram* later = manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main");
  ASSERT_NE(earlier, nullptr);
  ASSERT_NE(later, nullptr);
  ASSERT_EQ(manager.programs().size(), 1u);
  EXPECT_EQ(manager.programs().begin()->second.get(), later);

  EXPECT_TRUE(manager.bindProgram(earlier));
  EXPECT_TRUE(manager.unbindProgram(earlier));

  const ShaderProgram neverCreated;
  EXPECT_FALSE(manager.bindProgram(&neverCreated));
  EXPECT_EQ(manager.getParameter(&neverCreated, "offset"), nullptr);
}

TEST_F(ShaderManagerTest, releaseFreesEverythingOnceAndMayBeRepeated) {
  ShaderProgram* program = manager.newProgram(kGoodFile, platform::kProfileClassVertex, "main");
  ASSERT_NE(program, nullptr);
  const GLuint object = platform::programObject(program->program);
  manager.release();
  EXPECT_FALSE(manager.hasContext());
  EXPECT_TRUE(manager.programs().empty());
  EXPECT_EQ(glIsProgram(object), GL_FALSE);
  manager.release();
  EXPECT_FALSE(manager.hasContext());
}

}  // namespace
