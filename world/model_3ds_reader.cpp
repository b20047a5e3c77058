#include "world/model_3ds_reader.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/input_file.h"
#include "platform/failure_report.h"
#include "world/chunk_stream.h"
#include "world/model_3ds_format.h"
#include "world/vertex_normals.h"

Model3dsReader& model3dsReader() {
  static Model3dsReader reader;
  return reader;
}

namespace {

using namespace model3ds;

void showError(const std::string& text) {
  platform::reportFailure(platform::boxReport(text, "Error", platform::BoxIcon::Stop));
}

// Walks the chunk tree of one file into one ImportedModel. The three levels (main, object,
// material) each parse the sub-chunks of one parent. A handler that reads less than its whole
// chunk leaves the rest to be met by the enclosing level as siblings: the face list's
// face-material and smoothing sub-chunks and the colour chunk's second colour arrive that way.
class ChunkParser {
 public:
  ChunkParser(ChunkStream& stream, ImportedModel& model) : stream_(stream), model_(model) {}

  void parseMainLevel(ChunkCursor& parent) {
    ChunkCursor chunk;
    while (stream_.nextChunk(parent, chunk)) {
      switch (chunk.id) {
        case kVersion:
          readVersion(chunk);
          break;
        case kObjectInfo:
          readObjectInfo(chunk);
          break;
        case kNamedObject:
          readNamedObject(chunk);
          break;
        case kMaterialBlock:
          model_.materials.emplace_back();
          parseMaterialLevel(chunk, model_.materials.back());
          break;
        default:
          stream_.skipRest(chunk);
          break;
      }
      parent.consumed += chunk.consumed;
    }
  }

 private:
  void parseObjectLevel(ChunkCursor& parent, ImportedObject& object) {
    ChunkCursor chunk;
    while (stream_.nextChunk(parent, chunk)) {
      switch (chunk.id) {
        case kTriangleMesh:
          parseObjectLevel(chunk, object);
          break;
        case kVertexList:
          readVertices(chunk, object);
          break;
        case kFaceList:
          readFaces(chunk, object);
          break;
        case kFaceMaterialList:
          readFaceMaterial(chunk, object);
          break;
        case kTexCoordList:
          readTexCoords(chunk, object);
          break;
        default:
          stream_.skipRest(chunk);
          break;
      }
      parent.consumed += chunk.consumed;
    }
  }

  void parseMaterialLevel(ChunkCursor& parent, ImportedMaterial& material) {
    ChunkCursor chunk;
    while (stream_.nextChunk(parent, chunk)) {
      switch (chunk.id) {
        case kMaterialName:
          material.name = stream_.readRestAsText(chunk, kMaxNameBytes);
          break;
        case kDiffuseColour:
          readColour(chunk, material);
          break;
        case kTextureMap:
          parseMaterialLevel(chunk, material);
          break;
        case kTextureFileName:
          material.textureFile = stream_.readRestAsText(chunk, kMaxNameBytes);
          break;
        default:
          stream_.skipRest(chunk);
          break;
      }
      parent.consumed += chunk.consumed;
    }
  }

  // The version chunk holds one u32; any further bytes are dropped.
  void readVersion(ChunkCursor& chunk) {
    uint8_t bytes[kVersionBytes] = {0, 0, 0, 0};
    stream_.readBytes(chunk, bytes, kVersionBytes);
    stream_.skipRest(chunk);
    const uint32_t version = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                             (static_cast<uint32_t>(bytes[2]) << 16) |
                             (static_cast<uint32_t>(bytes[3]) << 24);
    if (version > kNewestKnownVersion) {
      platform::reportFailure(platform::boxReport("This 3DS file is over version 3 so it may load incorrectly",
                                                  "Warning", platform::BoxIcon::Exclamation));
    }
  }

  // The block's first sub-chunk, normally the mesh version, is passed over whatever its id;
  // the rest of the block holds the materials and objects.
  void readObjectInfo(ChunkCursor& chunk) {
    ChunkCursor first;
    if (!stream_.nextChunk(chunk, first)) {
      return;
    }
    stream_.skipRest(first);
    chunk.consumed += first.consumed;
    parseMainLevel(chunk);
  }

  void readNamedObject(ChunkCursor& chunk) {
    model_.objects.emplace_back();
    ImportedObject& object = model_.objects.back();
    object.name = stream_.readString(chunk, kMaxNameBytes);
    parseObjectLevel(chunk, object);
  }

  // A list of records of floats behind a u16 count: keeps at most count records and skips the
  // rest of the chunk; records the chunk does not hold stay zero. Returns the count.
  // A file that ends inside the list keeps only the whole records it holds.
  uint16_t readFloatRecords(ChunkCursor& chunk, uint32_t floatsPerRecord, std::vector<float>& values) {
    const uint16_t asked = stream_.readU16(chunk);
    const uint32_t recordBytes = floatsPerRecord * sizeof(float);
    const bool cut = stream_.available(chunk) < chunk.remaining();
    const uint32_t stored = stream_.available(chunk) / recordBytes;
    const uint16_t count = cut && stored < asked ? static_cast<uint16_t>(stored) : asked;
    values.assign(floatsPerRecord * static_cast<size_t>(count), 0.0f);
    const uint32_t kept = stored < count ? stored : count;
    for (uint32_t i = 0; i < floatsPerRecord * kept; ++i) {
      values[i] = stream_.readFloat(chunk);
    }
    stream_.skipRest(chunk);
    return count;
  }

  // The file's z-up axes are turned to y-up: (x, y, z) becomes (x, z, -y).
  void readVertices(ChunkCursor& chunk, ImportedObject& object) {
    object.vertexCount = readFloatRecords(chunk, kVertexRecordBytes / sizeof(float), object.vertices);
    for (size_t i = 0; i < object.vertices.size(); i += 3) {
      const float y = object.vertices[i + 1];
      object.vertices[i + 1] = object.vertices[i + 2];
      object.vertices[i + 2] = -y;
    }
  }

  // Consumes only the count and the triangles, so the list's own sub-chunks are met by the
  // object level. A list shorter than its count keeps the whole faces it holds.
  void readFaces(ChunkCursor& chunk, ImportedObject& object) {
    const uint16_t count = stream_.readU16(chunk);
    const uint32_t stored = stream_.available(chunk) / kFaceRecordBytes;
    const uint32_t kept = stored < count ? stored : count;
    object.faceCount = static_cast<int32_t>(kept);
    object.faces.assign(kept, ImportedFace());
    for (ImportedFace& face : object.faces) {
      face.index[0] = stream_.readU16(chunk);
      face.index[1] = stream_.readU16(chunk);
      face.index[2] = stream_.readU16(chunk);
      stream_.readU16(chunk);  // edge flags
    }
    if (kept < count) {
      stream_.skipRest(chunk);
    }
  }

  // Each material on the way that does not match sets -1, so the first match wins and a name
  // that matches nothing leaves -1. The list of faces that follows the name is not used.
  void readFaceMaterial(ChunkCursor& chunk, ImportedObject& object) {
    const std::string name = stream_.readString(chunk, kMaxNameBytes);
    for (size_t i = 0; i < model_.materials.size(); ++i) {
      if (model_.materials[i].name == name) {
        object.materialIndex = static_cast<int32_t>(i);
        break;
      }
      object.materialIndex = -1;
    }
    stream_.skipRest(chunk);
  }

  // Pairs are kept as stored: v is not flipped.
  void readTexCoords(ChunkCursor& chunk, ImportedObject& object) {
    object.texCoordCount = readFloatRecords(chunk, kTexCoordRecordBytes / sizeof(float), object.texCoords);
  }

  // Takes the first three bytes of the first colour sub-chunk, whatever its kind; further
  // sub-chunks (the gamma-corrected colour) are left for the material level, which skips them.
  void readColour(ChunkCursor& chunk, ImportedMaterial& material) {
    ChunkCursor colour;
    if (!stream_.nextChunk(chunk, colour)) {
      return;
    }
    stream_.readBytes(colour, material.colour, kColourBytes);
    stream_.skipRest(colour);
    chunk.consumed += colour.consumed;
  }

  ChunkStream& stream_;
  ImportedModel& model_;
};

}  // namespace

bool Model3dsReader::importFile(ImportedModel& model, const std::string& path) {
  model = ImportedModel();
  std::vector<uint8_t> bytes;
  const InputFileResult read = readInputFile(path, kMaxModelFileBytes, bytes);
  // The box names the file and the reason; model loading logs the failure on its own line.
  if (!read.ok()) {
    showError(read.problem == InputFileProblem::Missing ? "Unable to find the file: " + path + "!"
                                                        : "Unable to read the file: " + path + " (" + read.reason + ")!");
    return false;
  }
  return importBytes(model, bytes.data(), bytes.size(), path);
}

bool Model3dsReader::importBytes(ImportedModel& model, const uint8_t* data, size_t sizeBytes, const std::string& name) {
  model = ImportedModel();
  ChunkStream stream(data, sizeBytes);
  ChunkCursor primary;
  if (!stream.readFirstHeader(primary) || primary.id != kPrimary) {
    showError("Unable to load PRIMARY chuck from file: " + name + "!");
    return false;
  }
  ChunkParser(stream, model).parseMainLevel(primary);
  if (stream.damaged()) {
    platform::FailureReport report;
    report.stderrLine = "3DS reader: " + name + " is damaged at byte " + std::to_string(stream.damagePosition()) +
                        "; keeping what was read before it";
    report.logLine = report.stderrLine + "\r\n";
    platform::reportFailure(report);
  }
  for (ImportedObject& object : model.objects) {
    computeVertexNormals(object);
  }
  return true;
}
