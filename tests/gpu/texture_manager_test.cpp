#include <gtest/gtest.h>

#include <GL/glew.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/debug_log.h"
#include "gpu/texture_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/image_magick.h"
#include "tests/support/private_working_folder.h"

namespace {

struct Pixel {
  uint8_t b, g, r, a;
};

// A Targa file (type 2, bottom row first) from a pixel function; 32 bits when withAlpha.
void writeTarga(const std::string& path, int width, int height, bool withAlpha, Pixel (*pixelAt)(int x, int y)) {
  std::vector<uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                                static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8),
                                static_cast<uint8_t>(withAlpha ? 32 : 24), static_cast<uint8_t>(withAlpha ? 8 : 0)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixelAt(x, y);
      bytes.insert(bytes.end(), {p.b, p.g, p.r});
      if (withAlpha) {
        bytes.push_back(p.a);
      }
    }
  }
  writeFileBytes(path, bytes);
}

Pixel gradient(int x, int y) {
  return Pixel{static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 8), static_cast<uint8_t>(x * y), static_cast<uint8_t>(x + y)};
}

Pixel blackAndWhite(int x, int) { return x % 2 == 0 ? Pixel{0, 0, 0, 9} : Pixel{255, 255, 255, 9}; }

// Each test runs in its own working folder, so the log and the data folder are its own.
class TextureManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    std::filesystem::create_directory("data");
    std::filesystem::create_directory("dir");
    manager_.usePaths(resourcePathsIn(""));
  }

  static std::string log() {
    const std::vector<uint8_t> bytes = readFileBytes(kLogFileName);
    return std::string(bytes.begin(), bytes.end());
  }
  static void clearLog() { std::remove(kLogFileName); }

  PrivateWorkingFolder folder_;
  TextureManager manager_;
};

TEST_F(TextureManagerTest, aBareNameFoundOnlyInTheDataFolderLogsThreeLines) {
  writeTarga("data/smoke.tga", 4, 2, false, &gradient);
  const std::unique_ptr<DecodedImage> image = manager_.decodeImage("smoke.tga");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitsPerPixel(), 24);
  EXPECT_EQ(log(),
            "TextureManager: image smoke.tga :  trying file smoke.tga\r\n"
            " trying file data/smoke.tga loaded\r\n"
            "Loaded\r\n");
}

TEST_F(TextureManagerTest, candidatePathsComeInEitherOrder) {
  writeTarga("x.tga", 2, 2, false, &gradient);
  EXPECT_NE(manager_.decodeImage("dir/x.tga"), nullptr);
  EXPECT_EQ(log(),
            "TextureManager: image dir/x.tga :  trying file dir/x.tga\r\n"
            " trying file data/x.tga\r\n"
            " trying file x.tga loaded\r\n"
            "Loaded\r\n");
  clearLog();
  manager_.preferDataFolder = true;
  EXPECT_NE(manager_.decodeImage("dir\\x.tga"), nullptr);
  EXPECT_EQ(log(),
            "TextureManager: image dir\\x.tga :  trying file data/x.tga\r\n"
            " trying file x.tga loaded\r\n"
            "Loaded\r\n");
}

// Start-up asks for the same missing ground texture dozens of times: one search and one
// report is enough, later requests are answered from the remembered failure.
TEST_F(TextureManagerTest, aMissingFileIsSearchedAndLoggedOnceThenAnsweredFromMemory) {
  EXPECT_EQ(manager_.loadTexture("dir/x.png", 0, 0.0f), 0u);
  EXPECT_EQ(manager_.loadTexture("dir/x.png", 0, 0.0f), 0u);
  EXPECT_EQ(manager_.loadTextureWithMask("dir/x.png", "dir/y.png"), 0u);
  EXPECT_EQ(log(),
            "TextureManager: image dir/x.png :  trying file dir/x.png\r\n"
            " trying file data/x.png\r\n"
            " trying file x.png\r\n"
            "Loading failed\r\n");
  EXPECT_TRUE(manager_.textureCache.empty());
}

TEST_F(TextureManagerTest, aFolderUnderAPictureNameIsLoggedWithItsReasonAndPassedOver) {
  std::filesystem::create_directory("data/sky.jpg");
  EXPECT_EQ(manager_.loadTexture("sky.jpg", 0, 0.0f), 0u);
  EXPECT_EQ(log(),
            "TextureManager: image sky.jpg :  trying file sky.jpg\r\n"
            " trying file data/sky.jpg: is a folder, not a file\r\n"
            " trying file sky.jpg\r\n"
            "Loading failed\r\n");
}

TEST_F(TextureManagerTest, unknownFormatsAreRefusedBeforeAnyFileIsTried) {
  writeTarga("photo.jpeg", 2, 2, false, &gradient);
  EXPECT_EQ(manager_.loadTexture("photo.jpeg", 0, 0.0f), 0u);
  EXPECT_EQ(log(), "TextureManager: image photo.jpeg : image photo.jpeg : unknown format\r\n");
  EXPECT_TRUE(manager_.textureCache.empty());
}

// a.bmp.jpg is taken as a bitmap, since ".BMP" is looked for first; Targa bytes under that
// name open but do not decode, which is logged once and not cached.
TEST_F(TextureManagerTest, aFileThatDoesNotDecodeIsAFailureAndNotCached) {
  writeTarga("a.bmp.jpg", 2, 2, false, &gradient);
  EXPECT_EQ(manager_.loadTexture("a.bmp.jpg", 0, 0.0f), 0u);
  const std::string expected = "TextureManager: image a.bmp.jpg :  trying file a.bmp.jpg loaded\r\n decode failed\r\n";
  EXPECT_EQ(log(), expected);
  EXPECT_TRUE(manager_.textureCache.empty());
  EXPECT_EQ(manager_.loadTexture("a.bmp.jpg", 0, 0.0f), 0u);
  EXPECT_EQ(log(), expected);
}

TEST_F(TextureManagerTest, aBitmapNamedLikeAJpegDecodesAsABitmap) {
  REQUIRE_IMAGEMAGICK();
  ASSERT_TRUE(runConvert("-size 3x2 xc:red bmp3:a.bmp.jpg"));
  const std::unique_ptr<DecodedImage> image = manager_.decodeImage("a.bmp.jpg");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixel(2, 1).r, 255);
  EXPECT_EQ(log(), "TextureManager: image a.bmp.jpg :  trying file a.bmp.jpg loaded\r\nLoaded\r\n");
}

TEST(TextureAlpha, brightnessModesFollowTheirThresholds) {
  // Mode 2 at 0.01: r + g + b = 7 is below the threshold and keeps its brightness.
  EXPECT_EQ(alphaFromBrightness(0, 0, 7, 2, 0.01f), 2);
  EXPECT_EQ(alphaFromBrightness(3, 3, 2, 2, 0.01f), 255);
  EXPECT_EQ(alphaFromBrightness(0, 0, 0, 2, 0.01f), 0);
  // Brightness equal to the threshold: not above it (mode 1) and not below it (mode 2).
  const float threshold = 300.0f * kBrightnessScale;
  EXPECT_EQ(alphaFromBrightness(100, 100, 100, 1, threshold), 0);
  EXPECT_EQ(alphaFromBrightness(100, 100, 101, 1, threshold), 255);
  EXPECT_EQ(alphaFromBrightness(100, 100, 100, 2, threshold), 255);
  EXPECT_EQ(alphaFromBrightness(100, 100, 100, 3, threshold), 0);
  EXPECT_EQ(alphaFromBrightness(100, 100, 101, 3, threshold), 100);
  EXPECT_EQ(alphaFromBrightness(255, 255, 255, 4, 0.0f), 255);
  EXPECT_EQ(alphaFromBrightness(128, 128, 127, 4, 0.0f), 127);
  EXPECT_EQ(alphaFromBrightness(255, 255, 255, 5, 0.0f), 0);
  EXPECT_EQ(alphaFromBrightness(0, 0, 0, 5, 0.0f), 255);
  EXPECT_EQ(alphaFromBrightness(255, 255, 255, 6, 0.0f), 0);
  EXPECT_EQ(alphaFromBrightness(255, 255, 255, -1, 0.0f), 0);
}

TEST_F(TextureManagerTest, descrambledCopiesXorTheKeyAndTheOffsetAndUndoThemselves) {
  std::vector<uint8_t> original(20000);
  for (size_t i = 0; i < original.size(); ++i) {
    original[i] = static_cast<uint8_t>(i * 7 + 3);
  }
  writeFileBytes("model.3ds", original);
  std::string copy;
  EXPECT_FALSE(manager_.makeDescrambledCopy("model.3ds", copy));
  manager_.dataKey = "key";
  setenv("TMPDIR", folder_.path().c_str(), 1);
  ASSERT_TRUE(manager_.makeDescrambledCopy("model.3ds", copy));
  EXPECT_EQ(copy.rfind(folder_.path() + "/qzv", 0), 0u) << copy;
  const std::vector<uint8_t> scrambled = readFileBytes(copy);
  ASSERT_EQ(scrambled.size(), original.size());
  for (const size_t i : {size_t{0}, size_t{1}, size_t{255}, size_t{8191}, size_t{8192}, size_t{19999}}) {
    EXPECT_EQ(scrambled[i], original[i] ^ static_cast<uint8_t>("key"[i % 3]) ^ (i % 256)) << i;
  }
  char twice[TextureManager::kMaxPathBytes];
  ASSERT_TRUE(manager_.makeDescrambledCopy(copy, twice));
  EXPECT_EQ(readFileBytes(twice), original);
  manager_.dataKey = "";
  std::string plain;
  ASSERT_TRUE(manager_.makeDescrambledCopy("model.3ds", plain));
  EXPECT_EQ(readFileBytes(plain), original);
  std::string missing;
  EXPECT_FALSE(manager_.makeDescrambledCopy("no-such-file", missing));
  unsetenv("TMPDIR");
}

TEST_F(TextureManagerTest, withADataKeyPicturesAreReadDescrambled) {
  writeTarga("plain.tga", 3, 2, false, &gradient);
  std::vector<uint8_t> bytes = readFileBytes("plain.tga");
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(bytes[i] ^ 'k' ^ (i % 256));
  }
  writeFileBytes("scrambled.tga", bytes);
  manager_.dataKey = "k";
  const std::unique_ptr<DecodedImage> image = manager_.decodeImage("scrambled.tga");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixel(2, 1).b, 8);
}

// ---- uploads, with a GL context ----

GLint levelWidth(int level) {
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}

std::vector<uint8_t> textureBytes(GLenum format, int bytesPerPixel) {
  std::vector<uint8_t> bytes(static_cast<size_t>(levelWidth(0)) * 64 * bytesPerPixel + 64, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

TEST_F(TextureManagerTest, anUploadMakesAMipmappedTextureAndTheCacheKeepsIt) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/smoke.tga", 64, 32, false, &gradient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const unsigned int name = manager_.loadTexture("smoke.tga", 0, 0.0f);
  ASSERT_NE(name, 0u);
  EXPECT_EQ(glIsTexture(name), GL_TRUE);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<unsigned int>(bound), name);
  EXPECT_EQ(levelWidth(0), 64);
  EXPECT_EQ(levelWidth(1), 32);
  EXPECT_EQ(levelWidth(6), 1);
  const TextureShape* shape = manager_.shapeOf(name);
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->width, 64);
  EXPECT_EQ(shape->height, 32);
  EXPECT_FALSE(shape->withAlpha);
  EXPECT_EQ(manager_.shapeOf(name + 1000), nullptr);
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
  GLint alphaBits = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_EQ(alphaBits, 0);
  GLint environment = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
  EXPECT_EQ(environment, GL_REPLACE);
  const std::vector<uint8_t> pixels = textureBytes(GL_BGR, 3);
  EXPECT_EQ(pixels[3 * (64 * 5 + 7)], 28);  // blue of (7, 5) is 4x
  EXPECT_EQ(pixels[3 * (64 * 5 + 7) + 1], 40);

  const std::string logged = log();
  EXPECT_EQ(manager_.loadTexture("smoke.tga", 4, 0.5f), name);
  EXPECT_EQ(manager_.loadTextureWithMask("smoke.tga", "smoke.tga"), name);
  EXPECT_EQ(log(), logged);
  const unsigned int other = manager_.loadTexture("Smoke.tga", 0, 0.0f);
  EXPECT_EQ(other, 0u);  // no such file on a case-sensitive file system, and not the cached one
  // The failure is remembered for the rest of the run, even once the file exists.
  writeTarga("data/Smoke.tga", 64, 32, false, &gradient);
  EXPECT_EQ(manager_.loadTexture("Smoke.tga", 0, 0.0f), 0u);
  EXPECT_EQ(manager_.textureCache.size(), 1u);
}

TEST_F(TextureManagerTest, brightnessAlphaUploadsFourComponentsAndLeavesTheTextureEnvironment) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/flare.tga", 6, 3, true, &gradient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const unsigned int name = manager_.loadTexture("flare.tga", 4, 0.0f);
  ASSERT_NE(name, 0u);
  // The pass that draws with the texture states how its unit combines.
  GLint environment = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
  EXPECT_EQ(environment, GL_REPLACE);
  // Sides that are not powers of two are rescaled by the mipmap builder.
  EXPECT_GT(levelWidth(0), 0);
  GLint alphaBits = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_GT(alphaBits, 0);
  ASSERT_NE(manager_.shapeOf(name), nullptr);
  EXPECT_TRUE(manager_.shapeOf(name)->withAlpha);

  // Powers of two keep the bytes: every alpha is the brightness, not the file's own alpha.
  writeTarga("data/bars.tga", 8, 4, true, &blackAndWhite);
  ASSERT_NE(manager_.loadTexture("bars.tga", 4, 0.0f), 0u);
  const std::vector<uint8_t> bgra = textureBytes(GL_BGRA, 4);
  EXPECT_EQ(bgra[3], 0);
  EXPECT_EQ(bgra[7], 255);
  EXPECT_EQ(bgra[4 * 9 + 3], 255);
}

TEST_F(TextureManagerTest, masksGiveAlphaFromTheirBrightnessOrTheirOwnAlpha) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/bubble.tga", 8, 4, false, &blackAndWhite);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  ASSERT_NE(manager_.loadTextureWithMask("bubble.tga", "bubble.tga"), 0u);
  GLint environment = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
  EXPECT_EQ(environment, GL_REPLACE);
  std::vector<uint8_t> bgra = textureBytes(GL_BGRA, 4);
  EXPECT_EQ(bgra[3], 0);
  EXPECT_EQ(bgra[7], 255);

  // A mask with an alpha plane gives those bytes unchanged.
  writeTarga("data/alphamask.tga", 8, 4, true, &blackAndWhite);
  writeTarga("data/colour.tga", 8, 4, false, &gradient);
  ASSERT_NE(manager_.loadTextureWithMask("colour.tga", "alphamask.tga"), 0u);
  bgra = textureBytes(GL_BGRA, 4);
  EXPECT_EQ(bgra[3], 9);
  EXPECT_EQ(bgra[4 * 5], 20);
}

TEST_F(TextureManagerTest, aMaskOfAnotherSizeIsResampledAfterTheSizeMessage) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/wide.tga", 8, 4, false, &gradient);
  writeTarga("data/small.tga", 4, 2, false, &blackAndWhite);
  ASSERT_NE(manager_.loadTextureWithMask("wide.tga", "small.tga"), 0u);
  EXPECT_NE(log().find("Loaded\r\nAlpha image size doesnt match [small.tga sx(8 4) sy(4 2) ]\n"), std::string::npos)
      << log();
  // Columns 0 and 1 of the colour take mask column 0 (black), columns 2 and 3 mask column 1.
  const std::vector<uint8_t> bgra = textureBytes(GL_BGRA, 4);
  EXPECT_EQ(bgra[4 * 1 + 3], 0);
  EXPECT_EQ(bgra[4 * 2 + 3], 255);
}

TEST_F(TextureManagerTest, aMissingMaskOrAnOwnAlphaPlaneGivesAnOpaqueTexture) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/colour.tga", 8, 4, true, &gradient);
  GLint alphaBits = -1;
  ASSERT_NE(manager_.loadTextureWithMask("colour.tga", "nomask.tga"), 0u);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_EQ(alphaBits, 0);
  EXPECT_NE(log().find(" trying file nomask.tga\r\nLoading failed\r\n"), std::string::npos);
  writeTarga("data/own.tga", 8, 4, true, &gradient);
  ASSERT_NE(manager_.loadTexture("own.tga", 0, 0.0f), 0u);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_EQ(alphaBits, 0);
}

// A loading thread hands the upload to the GL thread, which makes it in processPendingUpload.
TEST_F(TextureManagerTest, deferredUploadsAreMadeByTheMainLoop) {
  REQUIRE_GL_CONTEXT();
  writeTarga("data/late.tga", 4, 4, false, &gradient);
  manager_.deferredUpload = true;
  unsigned int loaded = 0;
  std::atomic<bool> finished(false);
  std::thread loader([this, &loaded, &finished] {
    loaded = manager_.loadTexture("late.tga", 0, 0.0f);
    finished = true;
  });
  while (!finished) {
    manager_.processPendingUpload();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  loader.join();
  EXPECT_NE(loaded, 0u);
  EXPECT_EQ(loaded, manager_.resultName);
  EXPECT_EQ(glIsTexture(loaded), GL_TRUE);
}

}  // namespace
