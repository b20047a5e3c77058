#include "platform/gl_capabilities.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct VersionRead {
  bool found = false;
  int major = -1;
  int minor = -1;
};

VersionRead versionIn(const std::string& text) {
  VersionRead read;
  read.found = platform::firstVersionIn(text, read.major, read.minor);
  return read;
}

// The version strings the record is read from: a desktop driver's, an ES driver's with its
// prefix, a browser's WebGL 2 (whose record is built on the version it names) and shading
// language texts with two-digit minors.
TEST(GLVersionText, theFirstMajorDotMinorIsReadPastPrefixesAndVendorText) {
  const VersionRead desktop = versionIn("4.5 (Compatibility Profile) Mesa 22.3.6");
  EXPECT_TRUE(desktop.found);
  EXPECT_EQ(4, desktop.major);
  EXPECT_EQ(5, desktop.minor);

  const VersionRead es = versionIn("OpenGL ES 3.2 Mesa 22.3.6");
  EXPECT_EQ(3, es.major);
  EXPECT_EQ(2, es.minor);

  const VersionRead browser = versionIn("OpenGL ES 3.0 (WebGL 2.0 (OpenGL ES 3.0 Chromium))");
  EXPECT_EQ(3, browser.major);
  EXPECT_EQ(0, browser.minor);

  const VersionRead shading = versionIn("OpenGL ES GLSL ES 3.00 (WebGL GLSL ES 3.00 (OpenGL ES GLSL ES 3.0 Chromium))");
  EXPECT_EQ(3, shading.major);
  EXPECT_EQ(0, shading.minor);
}

TEST(GLVersionText, textWithoutAVersionIsRefusedAndNumbersWithoutADotAreSkipped) {
  EXPECT_FALSE(versionIn("").found);
  EXPECT_FALSE(versionIn("WebKit WebGL").found);
  EXPECT_FALSE(versionIn("version 3.").found);
  const VersionRead skipped = versionIn("Build 31 gives 1.2");
  EXPECT_TRUE(skipped.found);
  EXPECT_EQ(1, skipped.major);
  EXPECT_EQ(2, skipped.minor);
}

TEST(GLContextKindNames, everyKindReadsBackFromItsNameAndOthersAreRefused) {
  for (const platform::GLContextKind kind :
       {platform::GLContextKind::Compatibility, platform::GLContextKind::Core, platform::GLContextKind::ES}) {
    platform::GLContextKind read = platform::GLContextKind::Compatibility;
    ASSERT_TRUE(platform::parseContextKind(platform::contextKindName(kind), read));
    EXPECT_EQ(kind, read);
  }
  platform::GLContextKind untouched = platform::GLContextKind::Core;
  EXPECT_FALSE(platform::parseContextKind("webgl", untouched));
  EXPECT_EQ(platform::GLContextKind::Core, untouched);
}

}  // namespace
