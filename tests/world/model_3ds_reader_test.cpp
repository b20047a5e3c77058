#include "world/model_3ds_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/message_box.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"
#include "tests/world/chunk_builder.h"

#include <filesystem>

namespace {

using namespace chunks;

class Model3dsReaderTest : public testing::Test {
 protected:
  void SetUp() override { platform::clearRecordedBoxes(); }

  bool import(const Bytes& bytes) {
    writeFile(path_, bytes);
    return Model3dsReader().importFile(model_, path_);
  }

  const ImportedObject& object(size_t index) const { return model_.objects.at(index); }

  PrivateWorkingFolder working_;
  std::string path_ = working_.path() + "/reader_test.3ds";
  ImportedModel model_;
};

Bytes triangleObject(const std::string& name, std::initializer_list<Bytes> after = {}) {
  return namedObject(name, {vertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}),
                            chunk(0x4120, {faceRecords({0, 1, 2}), join(after)})});
}

TEST_F(Model3dsReaderTest, versionThreeLoadsQuietlyAndVersionFourWarnsOnceThenLoads) {
  ASSERT_TRUE(import(chunk(0x4D4D, {version(3), objectInfo({triangleObject("a")})})));
  EXPECT_TRUE(platform::recordedBoxes().empty());

  ASSERT_TRUE(import(chunk(0x4D4D, {version(4), objectInfo({triangleObject("a")})})));
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  EXPECT_EQ(platform::recordedBoxes()[0].text, "This 3DS file is over version 3 so it may load incorrectly");
  EXPECT_EQ(platform::recordedBoxes()[0].caption, "Warning");
  EXPECT_EQ(model_.objects.size(), 1u);
}

TEST_F(Model3dsReaderTest, objectInfoPassesOverItsFirstSubChunkWhateverItsId) {
  ASSERT_TRUE(import(primary({objectInfo({material("m0"), triangleObject("a")}),
                              chunk(0x3D3D, {material("skipped"), material("kept")})})));
  ASSERT_EQ(model_.materials.size(), 2u);
  EXPECT_EQ(model_.materials[0].name, "m0");
  EXPECT_EQ(model_.materials[1].name, "kept");
  ASSERT_EQ(model_.objects.size(), 1u);
  EXPECT_EQ(object(0).name, "a");
}

TEST_F(Model3dsReaderTest, faceListSubChunksAreMetByTheObjectLevelAndParseStaysAligned) {
  const Bytes smoothing = chunk(0x4150, {u32(1)});
  ASSERT_TRUE(import(primary({objectInfo({
      material("red"), material("blue"),
      namedObject("a", {vertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}),
                        chunk(0x4120, {faceRecords({0, 1, 2}), faceMaterial("blue", 1), smoothing}),
                        chunk(0x4140, {u16(3), f32(0.5f), f32(0.25f), f32(1), f32(0), f32(0), f32(1)})}),
      triangleObject("b")})})));
  ASSERT_EQ(model_.objects.size(), 2u);
  EXPECT_EQ(object(0).materialIndex, 1);
  EXPECT_EQ(object(0).faceCount, 1);
  ASSERT_EQ(object(0).texCoordCount, 3);
  EXPECT_EQ(object(0).texCoords[0], 0.5f);
  EXPECT_EQ(object(0).texCoords[1], 0.25f);
  EXPECT_EQ(object(1).name, "b");
  EXPECT_EQ(object(1).materialIndex, 0);
}

TEST_F(Model3dsReaderTest, materialIndexFollowsTheFirstMatchAndMinusOneForEachMismatchOnTheWay) {
  ASSERT_TRUE(import(primary({objectInfo({
      triangleObject("beforeMaterials", {faceMaterial("red", 1)}),
      material("Red"), material("red"), material("green"),
      triangleObject("noList"),
      triangleObject("second", {faceMaterial("red", 1)}),
      triangleObject("caseDiffers", {faceMaterial("GREEN", 1)}),
      triangleObject("lastWins", {faceMaterial("nothing", 1), faceMaterial("green", 1)}),
      triangleObject("lastMisses", {faceMaterial("Red", 1), faceMaterial("nothing", 1)})})})));
  ASSERT_EQ(model_.objects.size(), 6u);
  EXPECT_EQ(object(0).materialIndex, 0);
  EXPECT_EQ(object(1).materialIndex, 0);
  EXPECT_EQ(object(2).materialIndex, 1);
  EXPECT_EQ(object(3).materialIndex, -1);
  EXPECT_EQ(object(4).materialIndex, 2);
  EXPECT_EQ(object(5).materialIndex, -1);
}

TEST_F(Model3dsReaderTest, colourTakesTheFirstSubChunkAndTextureTheFirstMap) {
  const Bytes floatColour = chunk(0x0010, {f32(1.0f), f32(0.5f), f32(0.0f)});
  ASSERT_TRUE(import(primary({objectInfo({
      material("twoColours", {chunk(0xA020, {colour24(255, 128, 0), chunk(0x0012, {{1, 2, 3}})}),
                              chunk(0xA200, {chunk(0xA300, {text("wood.jpg")})})}),
      material("floatColour", {chunk(0xA020, {floatColour}),
                               chunk(0xA204, {chunk(0xA300, {text("specular.jpg")})}),
                               chunk(0xA230, {chunk(0xA300, {text("bump.jpg")})})})})})));
  ASSERT_EQ(model_.materials.size(), 2u);
  const ImportedMaterial& first = model_.materials[0];
  EXPECT_EQ(first.colour[0], 255);
  EXPECT_EQ(first.colour[1], 128);
  EXPECT_EQ(first.colour[2], 0);
  EXPECT_EQ(first.textureFile, "wood.jpg");
  // 1.0f is stored as 00 00 80 3F.
  const ImportedMaterial& second = model_.materials[1];
  EXPECT_EQ(second.colour[0], 0x00);
  EXPECT_EQ(second.colour[1], 0x00);
  EXPECT_EQ(second.colour[2], 0x80);
  // Only the first texture map names the texture.
  EXPECT_EQ(second.textureFile, "");
}

TEST_F(Model3dsReaderTest, verticesAreTurnedFromZUpToYUp) {
  ASSERT_TRUE(import(primary({objectInfo({namedObject("a", {vertexList({1, 2, 3})})})})));
  ASSERT_EQ(object(0).vertexCount, 1);
  EXPECT_EQ(object(0).vertices, (std::vector<float>{1, 3, -2}));
}

TEST_F(Model3dsReaderTest, namesKeepTheirBytesAndAreCutTo254) {
  const std::string latin1 = "caf\xe9 \xff";
  const std::string longName(300, 'n');
  ASSERT_TRUE(import(primary({objectInfo({material(longName, {chunk(0xA200, {chunk(0xA300, {text(longName)})})}),
                                          triangleObject(latin1), triangleObject(longName),
                                          triangleObject("after")})})));
  EXPECT_EQ(model_.materials[0].name, std::string(254, 'n'));
  EXPECT_EQ(model_.materials[0].textureFile, std::string(254, 'n'));
  ASSERT_EQ(model_.objects.size(), 3u);
  EXPECT_EQ(object(0).name, latin1);
  EXPECT_EQ(object(1).name, std::string(254, 'n'));
  EXPECT_EQ(object(1).vertexCount, 3);
  EXPECT_EQ(object(2).name, "after");
}

TEST_F(Model3dsReaderTest, missingOrForeignFilesFailWithTheirBoxesAndAnEmptyModel) {
  ASSERT_TRUE(import(primary({objectInfo({material("m"), triangleObject("a")})})));
  EXPECT_FALSE(Model3dsReader().importFile(model_, "no/such/model.3ds"));
  EXPECT_TRUE(model_.materials.empty());
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  EXPECT_EQ(platform::recordedBoxes()[0].text, "Unable to find the file: no/such/model.3ds!");
  EXPECT_EQ(platform::recordedBoxes()[0].caption, "Error");

  EXPECT_FALSE(import(chunk(0x3D3D, {triangleObject("a")})));
  EXPECT_FALSE(import({0x4D, 0x4D, 0x20}));
  ASSERT_EQ(platform::recordedBoxes().size(), 3u);
  EXPECT_EQ(platform::recordedBoxes()[1].text, "Unable to load PRIMARY chuck from file: " + path_ + "!");
  EXPECT_EQ(platform::recordedBoxes()[2].text, platform::recordedBoxes()[1].text);
  EXPECT_TRUE(model_.objects.empty());
}

// A folder under a model's name once made the reader size a buffer from a failed seek.
TEST_F(Model3dsReaderTest, aFolderIsRefusedWithItsReasonInTheBox) {
  std::filesystem::create_directory("sky.3ds");
  EXPECT_FALSE(Model3dsReader().importFile(model_, "sky.3ds"));
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  EXPECT_EQ(platform::recordedBoxes()[0].text, "Unable to read the file: sky.3ds (is a folder, not a file)!");
}

// Malformed files: every one returns, keeps what came before the damage, and never reads
// outside the file.

TEST_F(Model3dsReaderTest, chunkLongerThanItsParentEndsThatLevelOnly) {
  const Bytes lying = chunkClaiming(0x4110, 5000, {u16(1), f32(9), f32(9), f32(9)});
  ASSERT_TRUE(import(primary({objectInfo({
      chunk(0x4000, {text("damaged"), vertexList({1, 2, 3}), lying, vertexList({7, 7, 7, 8, 8, 8})}),
      triangleObject("next")})})));
  ASSERT_EQ(model_.objects.size(), 2u);
  EXPECT_EQ(object(0).vertices, (std::vector<float>{1, 3, -2}));
  EXPECT_EQ(object(1).name, "next");
  EXPECT_EQ(object(1).vertexCount, 3);
}

TEST_F(Model3dsReaderTest, chunkLengthBelowSixEndsThatLevelInsteadOfLooping) {
  for (const uint32_t badLength : {0u, 1u, 5u}) {
    ASSERT_TRUE(import(primary({objectInfo({triangleObject("first"), chunkClaiming(0x1234, badLength, {u32(0)}),
                                            triangleObject("unreached")}),
                                chunk(0x3D3D, {meshVersion(), triangleObject("sibling")})})));
    ASSERT_EQ(model_.objects.size(), 2u) << badLength;
    EXPECT_EQ(object(0).name, "first");
    EXPECT_EQ(object(1).name, "sibling");
  }
}

TEST_F(Model3dsReaderTest, truncatedFileKeepsWhatWasReadAtEveryCut) {
  const Bytes whole = primary({objectInfo({material("m", {chunk(0xA020, {colour24(1, 2, 3)})}),
                                           triangleObject("a", {faceMaterial("m", 1)}),
                                           triangleObject("b")})});
  ASSERT_TRUE(import(whole));
  ASSERT_EQ(model_.objects.size(), 2u);
  for (size_t cut = 6; cut < whole.size(); ++cut) {
    ASSERT_TRUE(import(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)))) << cut;
    ASSERT_LE(model_.objects.size(), 2u);
    for (const ImportedObject& read : model_.objects) {
      EXPECT_EQ(read.vertices.size(), 3u * static_cast<size_t>(read.vertexCount));
      EXPECT_EQ(read.normals.size(), read.vertices.size());
      EXPECT_EQ(read.faces.size(), static_cast<size_t>(read.faceCount));
    }
  }
  ASSERT_TRUE(import(Bytes(whole.begin(), whole.end() - 20)));
  ASSERT_EQ(model_.objects.size(), 2u);
  EXPECT_EQ(object(0).faceCount, 1);
  EXPECT_EQ(object(0).materialIndex, 0);
}

TEST_F(Model3dsReaderTest, aCutFileNamesTheByteWhereItEndsAndKeepsOnlyWhatWasRead) {
  const Bytes whole = primary({objectInfo({namedObject("a", {vertexList({1, 2, 3, 4, 5, 6, 7, 8, 9})})})});
  // The cut falls inside the second vertex: its header, name, count and one whole vertex remain.
  const size_t vertexStart = whole.size() - 3 * 12;
  const size_t cut = vertexStart + 12 + 2;
  const LogTail log;
  ASSERT_TRUE(import(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut))));
  ASSERT_EQ(model_.objects.size(), 1u);
  EXPECT_EQ(object(0).vertexCount, 1);
  EXPECT_EQ(object(0).vertices, (std::vector<float>{1, 3, -2}));
  EXPECT_EQ(log.text(), "3DS reader: " + path_ + " is damaged at byte " + std::to_string(vertexStart + 12) +
                            "; keeping what was read before it\r\n");
}

TEST_F(Model3dsReaderTest, listsKeepWhatTheirCountAsksAndStayAligned) {
  // Four vertices and three pairs stored, two and one asked for; a face list asking for more
  // than it holds keeps its whole faces.
  const Bytes longVertices = chunk(0x4110, {u16(2), f32(1), f32(2), f32(3), f32(4), f32(5), f32(6),
                                            f32(9), f32(9), f32(9), f32(9), f32(9), f32(9)});
  const Bytes longTexCoords = chunk(0x4140, {u16(1), f32(0.5f), f32(0.75f), f32(9), f32(9), f32(9), f32(9)});
  const Bytes shortFaces = chunk(0x4120, {u16(3), u16(0), u16(1), u16(0), u16(0), u16(1)});
  ASSERT_TRUE(import(primary({objectInfo({
      namedObject("long", {longVertices, longTexCoords, shortFaces, vertexList({0, 0, 0})}),
      namedObject("short", {chunk(0x4110, {u16(3), f32(1), f32(2), f32(3)}),
                            chunk(0x4140, {u16(2), f32(0.5f)})})})})));
  ASSERT_EQ(model_.objects.size(), 2u);
  EXPECT_EQ(object(0).vertexCount, 1);  // the last vertex list of the object wins
  EXPECT_EQ(object(0).texCoords, (std::vector<float>{0.5f, 0.75f}));
  EXPECT_EQ(object(0).faceCount, 1);
  EXPECT_EQ(object(1).vertices, (std::vector<float>{1, 3, -2, 0, 0, -0.0f, 0, 0, -0.0f}));
  EXPECT_EQ(object(1).texCoordCount, 2);
  EXPECT_EQ(object(1).texCoords, (std::vector<float>{0, 0, 0, 0}));  // half a pair is no pair
}

TEST_F(Model3dsReaderTest, oversizedVersionAndColourChunksStayAligned) {
  ASSERT_TRUE(import(chunk(0x4D4D, {chunk(0x0002, {u32(3), u32(99)}),
                                    chunk(0x3D3D, {chunk(0x3D3E, {u32(3), u32(4), u32(5)}),
                                                   material("m", {chunk(0xA020, {chunk(0x0011, {{9, 8, 7, 6, 5}})})}),
                                                   triangleObject("a")})})));
  EXPECT_TRUE(platform::recordedBoxes().empty());
  ASSERT_EQ(model_.materials.size(), 1u);
  EXPECT_EQ(model_.materials[0].colour[2], 7);
  EXPECT_EQ(model_.objects.size(), 1u);
}

}  // namespace
