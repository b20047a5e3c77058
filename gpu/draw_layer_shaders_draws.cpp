// The shader back end's draws: vertices given one by one and streamed into a buffer, meshes from
// their arrays, and recorded batches kept in buffers of their own and replayed.
//
// Sections: vertex arrays of the layer's own; vertex by vertex; meshes from their arrays; recordings.
#include <GL/glew.h>

#include <cassert>
#include <cstddef>

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "gpu/gl_kind_names.h"
#include "gpu/draw_layer_shaders.h"
#include "platform/glsl_translation.h"

namespace {

// The GL's own limit on recordings replaying recordings; deeper means one replays itself.
constexpr int kReplayNestingLimit = 64;

// Points the vertex array's inputs at interleaved LayerVertex records in the bound buffer; the
// inputs a batch does not carry read the current value set just before it draws.
void pointAtInterleaved(unsigned int carried) {
  const GLsizei stride = sizeof(LayerVertex);
  const auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
  glVertexAttribPointer(platform::kAttributePosition, 3, GL_FLOAT, GL_FALSE, stride, at(offsetof(LayerVertex, position)));
  glEnableVertexAttribArray(platform::kAttributePosition);
  glVertexAttribPointer(platform::kAttributeNormal, 3, GL_FLOAT, GL_FALSE, stride, at(offsetof(LayerVertex, normal)));
  glVertexAttribPointer(platform::kAttributeColor, 4, GL_FLOAT, GL_FALSE, stride, at(offsetof(LayerVertex, color)));
  const unsigned int bits[2] = {kCarriesNormal, kCarriesColor};
  for (int input = 0; input < 2; ++input) {
    if ((carried & bits[input]) != 0) {
      glEnableVertexAttribArray(platform::kAttributeNormal + input);
    }
  }
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    const GLuint location = static_cast<GLuint>(platform::kAttributeTexCoord0 + unit);
    glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, stride,
                          at(offsetof(LayerVertex, texCoords) + sizeof(float) * 4 * static_cast<size_t>(unit)));
    if ((carried & (kCarriesTexCoord0 << unit)) != 0) {
      glEnableVertexAttribArray(location);
    }
  }
}

}  // namespace

const std::vector<LayerVertex>& asDrawable(Primitive primitive, const std::vector<LayerVertex>& vertices,
                                           std::vector<LayerVertex>& triangles) {
  if (primitive != Primitive::Quads) {
    return vertices;
  }
  triangles.clear();
  for (size_t quad = 0; quad + 4 <= vertices.size(); quad += 4) {
    for (const int corner : kQuadCorners) {
      triangles.push_back(vertices[quad + static_cast<size_t>(corner)]);
    }
  }
  return triangles;
}

unsigned int drawnModeOf(Primitive primitive) {
  return primitive == Primitive::Quads ? GL_TRIANGLES : glPrimitiveMode(primitive);
}

void drawnIndices(Primitive primitive, const uint32_t* indices, int indexCount, std::vector<uint32_t>& drawn) {
  drawn.clear();
  if (primitive != Primitive::Quads) {
    drawn.assign(indices, indices + indexCount);
    return;
  }
  for (int quad = 0; quad + 4 <= indexCount; quad += 4) {
    for (const int corner : kQuadCorners) {
      drawn.push_back(indices[quad + corner]);
    }
  }
}

// ---- Vertex arrays of the layer's own ----

void ShaderLayer::createStreamArrays() {
  createStream();
  glGenVertexArrays(1, &indexedArray_);
  glGenBuffers(4, indexedBuffers_);
  glBindVertexArray(indexedArray_);
  const GLint sizes[3] = {3, 3, 2};
  const GLuint locations[3] = {platform::kAttributePosition, platform::kAttributeNormal,
                               platform::kAttributeTexCoord0};
  for (int array = 0; array < 3; ++array) {
    glBindBuffer(GL_ARRAY_BUFFER, indexedBuffers_[array]);
    glVertexAttribPointer(locations[array], sizes[array], GL_FLOAT, GL_FALSE, 0, nullptr);
  }
  glEnableVertexAttribArray(platform::kAttributePosition);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexedBuffers_[3]);
  // No vertex array or buffer stays bound between draws, so no other user changes them unseen.
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ShaderLayer::releaseStreamArrays() {
  releaseStream();
  glDeleteVertexArrays(1, &indexedArray_);
  glDeleteBuffers(4, indexedBuffers_);
  indexedArray_ = 0;
}

// The current values go to the inputs whose arrays are off; the GL keeps them outside the vertex
// array, so they are set before every draw that reads them.
void ShaderLayer::setCurrentAttributes(unsigned int carried) const {
  if ((carried & kCarriesNormal) == 0) {
    glVertexAttrib3fv(platform::kAttributeNormal, current_.normal);
  }
  if ((carried & kCarriesColor) == 0) {
    glVertexAttrib4fv(platform::kAttributeColor, current_.color);
  }
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if ((carried & (kCarriesTexCoord0 << unit)) == 0) {
      glVertexAttrib4fv(static_cast<GLuint>(platform::kAttributeTexCoord0 + unit), current_.texCoords[unit]);
    }
  }
}

// ---- Vertex by vertex ----

void ShaderLayer::begin(Primitive primitive) {
  assert(!insideBegin_ && "begin inside begin");
  insideBegin_ = true;
  primitive_ = primitive;
  vertices_.clear();
  runSets_ = 0;
}

void ShaderLayer::end() {
  assert(insideBegin_ && "end without begin");
  insideBegin_ = false;
  if (recording_ != nullptr) {
    recordVertices(primitive_, vertices_, recordingSets_);
  } else {
    drawVertices(primitive_, vertices_, runSets_);
  }
}

void ShaderLayer::vertex(float x, float y, float z) {
  current_.position[0] = x;
  current_.position[1] = y;
  current_.position[2] = z;
  if (insideBegin_) {
    vertices_.push_back(current_);
  }
}

void ShaderLayer::normal(float x, float y, float z) {
  current_.normal[0] = x;
  current_.normal[1] = y;
  current_.normal[2] = z;
  recordingSets_ |= kCarriesNormal;
  runSets_ |= kCarriesNormal;
}

void ShaderLayer::color(float red, float green, float blue, float alpha) {
  current_.color[0] = red;
  current_.color[1] = green;
  current_.color[2] = blue;
  current_.color[3] = alpha;
  recordingSets_ |= kCarriesColor;
  runSets_ |= kCarriesColor;
  followColor();
}

void ShaderLayer::unitTexCoord(int unit, float s, float t, float r, float q) {
  if (unit < 0 || unit >= kDrawTextureUnits) {
    DebugLog::append(kLogFileName, "Drawing layer: there is no texture unit %d; its coordinates are dropped\r\n", unit);
    return;
  }
  float* coordinates = current_.texCoords[unit];
  coordinates[0] = s;
  coordinates[1] = t;
  coordinates[2] = r;
  coordinates[3] = q;
  recordingSets_ |= kCarriesTexCoord0 << unit;
  runSets_ |= kCarriesTexCoord0 << unit;
}



// ---- Meshes from their arrays ----

void ShaderLayer::drawIndexed(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                              int indexCount) {
  if (!meshArraysValid(arrays, indices, indexCount)) {
    return;
  }
  const uint32_t* cornerIndices = indices;
  int drawnCount = indexCount;
  if (primitive == Primitive::Quads) {
    drawnIndices(primitive, indices, indexCount, quadIndices_);
    cornerIndices = quadIndices_.data();
    drawnCount = static_cast<int>(quadIndices_.size());
  }
  if (recording_ != nullptr) {
    // Kept as plain vertices: a recording holds what was drawn, not the caller's arrays.
    std::vector<LayerVertex> vertices;
    unsigned int carried = recordingSets_;
    for (int corner = 0; corner < drawnCount; ++corner) {
      const size_t index = cornerIndices[corner];
      LayerVertex vertex = current_;
      std::copy(arrays.positions + 3 * index, arrays.positions + 3 * index + 3, vertex.position);
      if (arrays.normals != nullptr) {
        std::copy(arrays.normals + 3 * index, arrays.normals + 3 * index + 3, vertex.normal);
        carried |= kCarriesNormal;
      }
      if (arrays.texCoords != nullptr) {
        std::copy(arrays.texCoords + 2 * index, arrays.texCoords + 2 * index + 2, vertex.texCoords[0]);
        carried |= kCarriesTexCoord0;
      }
      vertices.push_back(vertex);
    }
    const Primitive kept = primitive == Primitive::Quads ? Primitive::Triangles : primitive;
    recordVertices(kept, vertices, carried);
    return;
  }
  if (drawnCount == 0 || !prepareDraw()) {
    return;
  }
  glBindVertexArray(indexedArray_);
  const size_t vertexCount = static_cast<size_t>(arrays.vertexCount);
  const float* sources[3] = {arrays.positions, arrays.normals, arrays.texCoords};
  const size_t components[3] = {3, 3, 2};
  const GLuint locations[3] = {platform::kAttributePosition, platform::kAttributeNormal,
                               platform::kAttributeTexCoord0};
  unsigned int carried = 0;
  for (int array = 0; array < 3; ++array) {
    if (sources[array] == nullptr) {
      glDisableVertexAttribArray(locations[array]);
      continue;
    }
    glBindBuffer(GL_ARRAY_BUFFER, indexedBuffers_[array]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * components[array] * sizeof(float)),
                 sources[array], GL_STREAM_DRAW);
    countUpload(vertexCount * components[array] * sizeof(float));
    glEnableVertexAttribArray(locations[array]);
    carried |= array == 1 ? kCarriesNormal : array == 2 ? kCarriesTexCoord0 : 0u;
  }
  setCurrentAttributes(carried);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(static_cast<size_t>(drawnCount) * sizeof(uint32_t)),
               cornerIndices, GL_STREAM_DRAW);
  countUpload(static_cast<size_t>(drawnCount) * sizeof(uint32_t));
  glDrawElements(drawnModeOf(primitive), drawnCount, GL_UNSIGNED_INT, nullptr);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// ---- Recordings ----

unsigned int ShaderLayer::createRecordings(int count) {
  if (count <= 0) {
    return 0;
  }
  const unsigned int first = nextRecordingName_;
  nextRecordingName_ += static_cast<unsigned int>(count);
  for (int offset = 0; offset < count; ++offset) {
    recordings_[first + static_cast<unsigned int>(offset)] = Recording();
  }
  return first;
}

void ShaderLayer::beginRecording(unsigned int name) {
  assert(recording_ == nullptr && !insideBegin_ && "recording inside a recording or a primitive");
  // Recording again replaces what the name held, as compiling a display list anew does.
  releaseRecordings(name, 1);
  recording_ = &recordings_[name];
  // What is recorded is not carried out now: the current values come back at the end.
  currentOutsideRecording_ = current_;
  recordingSets_ = 0;
}

void ShaderLayer::endRecording() {
  assert(recording_ != nullptr && "endRecording without beginRecording");
  recording_->setsAttributes = recordingSets_;
  recording_->lastValues = current_;
  recording_ = nullptr;
  recordingSets_ = 0;
  current_ = currentOutsideRecording_;
}

void ShaderLayer::recordVertices(Primitive primitive, const std::vector<LayerVertex>& vertices, unsigned int carried) {
  const std::vector<LayerVertex>& drawn = asDrawable(primitive, vertices, triangles_);
  if (drawn.empty()) {
    return;
  }
  RecordedBatch batch;
  batch.primitive = primitive == Primitive::Quads ? Primitive::Triangles : primitive;
  batch.vertexCount = static_cast<int>(drawn.size());
  batch.carried = carried;
  glGenVertexArrays(1, &batch.vertexArray);
  glGenBuffers(1, &batch.buffer);
  glBindVertexArray(batch.vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, batch.buffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(drawn.size() * sizeof(LayerVertex)), drawn.data(),
               GL_STATIC_DRAW);
  countUpload(drawn.size() * sizeof(LayerVertex));
  pointAtInterleaved(carried);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  RecordedCommand command;
  command.kind = RecordedCommand::Kind::Draw;
  command.batch = recording_->batches.size();
  recording_->batches.push_back(batch);
  recording_->commands.push_back(std::move(command));
}

void ShaderLayer::drawBatch(const RecordedBatch& batch) {
  if (!prepareDraw()) {
    return;
  }
  glBindVertexArray(batch.vertexArray);
  setCurrentAttributes(batch.carried);
  glDrawArrays(drawnModeOf(batch.primitive), 0, batch.vertexCount);
  glBindVertexArray(0);
}

void ShaderLayer::replay(unsigned int name) {
  if (recording_ != nullptr) {
    RecordedCommand command;
    command.kind = RecordedCommand::Kind::Replay;
    command.name = name;
    recording_->commands.push_back(std::move(command));
    return;
  }
  const auto found = recordings_.find(name);
  if (found != recordings_.end()) {
    replayCommands(found->second, 0);
  }
}

void ShaderLayer::replayCommands(const Recording& recording, int depth) {
  if (depth >= kReplayNestingLimit) {
    return;
  }
  for (const RecordedCommand& command : recording.commands) {
    switch (command.kind) {
      case RecordedCommand::Kind::Draw:
        drawBatch(recording.batches[command.batch]);
        break;
      case RecordedCommand::Kind::Matrix:
        command.matrixStep(stacks_);
        break;
      case RecordedCommand::Kind::Replay: {
        const auto found = recordings_.find(command.name);
        if (found != recordings_.end()) {
          replayCommands(found->second, depth + 1);
        }
        break;
      }
    }
  }
  // The values the recording set stay current after it, as after a display list.
  const unsigned int sets = recording.setsAttributes;
  if ((sets & kCarriesNormal) != 0) {
    std::copy(recording.lastValues.normal, recording.lastValues.normal + 3, current_.normal);
  }
  if ((sets & kCarriesColor) != 0) {
    std::copy(recording.lastValues.color, recording.lastValues.color + 4, current_.color);
    followColor();
  }
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if ((sets & (kCarriesTexCoord0 << unit)) != 0) {
      std::copy(recording.lastValues.texCoords[unit], recording.lastValues.texCoords[unit] + 4,
                current_.texCoords[unit]);
    }
  }
}

void ShaderLayer::releaseRecordings(unsigned int first, int count) {
  for (int offset = 0; offset < count; ++offset) {
    const auto found = recordings_.find(first + static_cast<unsigned int>(offset));
    if (found == recordings_.end()) {
      continue;
    }
    assert(&found->second != recording_ && "a recording released while it records");
    for (const RecordedBatch& batch : found->second.batches) {
      glDeleteVertexArrays(1, &batch.vertexArray);
      glDeleteBuffers(1, &batch.buffer);
    }
    recordings_.erase(found);
  }
}
