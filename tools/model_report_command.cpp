#include "tools/model_report_command.h"

#include <cmath>
#include <cstdio>

#include "core/program_name.h"
#include "platform/message_box.h"
#include "world/model_3ds_reader.h"

namespace {

void appendText(std::string& out, const std::string& bytes) {
  out += '"';
  for (const char character : bytes) {
    const unsigned char byte = static_cast<unsigned char>(character);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += character;
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
      out += escaped;
    } else {
      out += character;
    }
  }
  out += '"';
}

// JSON has no NaN or infinities: a damaged model's non-finite numbers print as null.
void appendFloat(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out += "null";
  } else {
    char number[32];
    std::snprintf(number, sizeof(number), "%.9g", static_cast<double>(value));
    out += number;
  }
}

// [[a, b], [c, d], ...] from a flat array of groups of width values.
template <typename T, typename AppendValue>
void appendGroups(std::string& out, const T* values, size_t count, size_t width, AppendValue appendValue) {
  out += '[';
  for (size_t group = 0; group < count; ++group) {
    out += group == 0 ? "[" : ", [";
    for (size_t i = 0; i < width; ++i) {
      if (i > 0) {
        out += ", ";
      }
      appendValue(out, values[group * width + i]);
    }
    out += ']';
  }
  out += ']';
}

void appendFloatGroups(std::string& out, const std::vector<float>& values, size_t width) {
  appendGroups(out, values.data(), values.size() / width, width, appendFloat);
}

void appendMaterial(std::string& out, const ImportedMaterial& material) {
  out += "{\"name\": ";
  appendText(out, material.name);
  out += ", \"textureFile\": ";
  appendText(out, material.textureFile);
  out += ", \"colour\": ";
  out += "[" + std::to_string(material.colour[0]) + ", " + std::to_string(material.colour[1]) + ", " +
         std::to_string(material.colour[2]) + "]";
  out += '}';
}

void appendObject(std::string& out, const ImportedObject& object) {
  out += "{\"name\": ";
  appendText(out, object.name);
  out += ", \"vertexCount\": " + std::to_string(object.vertexCount);
  out += ", \"faceCount\": " + std::to_string(object.faceCount);
  out += ", \"texCoordCount\": " + std::to_string(object.texCoordCount);
  out += ", \"materialIndex\": " + std::to_string(object.materialIndex);
  out += ", \"vertices\": ";
  appendFloatGroups(out, object.vertices, 3);
  out += ", \"faces\": ";
  appendGroups(out, object.faces.empty() ? nullptr : object.faces[0].index, object.faces.size(), 3,
               [](std::string& text, int32_t index) { text += std::to_string(index); });
  out += ", \"texCoords\": ";
  appendFloatGroups(out, object.texCoords, 2);
  out += ", \"normals\": ";
  appendFloatGroups(out, object.normals, 3);
  out += '}';
}

}  // namespace

std::string formatImportedModelJson(const ImportedModel& model) {
  std::string out = "{\"ok\": true, \"materials\": [";
  for (size_t i = 0; i < model.materials.size(); ++i) {
    out += i == 0 ? "" : ", ";
    appendMaterial(out, model.materials[i]);
  }
  out += "], \"objects\": [";
  for (size_t i = 0; i < model.objects.size(); ++i) {
    out += i == 0 ? "" : ", ";
    appendObject(out, model.objects[i]);
  }
  out += "]}";
  return out;
}

int runInspectModel(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: %s inspect-model FILE\n", kToolName);
    return 2;
  }
  // Boxes must not wait for anyone here: their texts go to stderr.
  platform::setScriptedAnswers({});
  ImportedModel model;
  if (!model3dsReader().importFile(model, argv[0])) {
    std::printf("{\"ok\": false}\n");
    return 1;
  }
  const std::string json = formatImportedModelJson(model);
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
