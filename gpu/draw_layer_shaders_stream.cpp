// The shader back end's streamed runs: the vertices given one by one between begin and end go,
// in a layout of just the attributes that change within the run, into one streaming buffer that
// the runs append to. The buffer is written through unsynchronised maps of ranges nothing has
// drawn from yet, and orphaned (given fresh storage) when full, so writing never waits for the
// GL to finish drawing from it.
#include <GL/glew.h>

#include <algorithm>

#include "core/draw_counts.h"
#include "gpu/draw_layer_shaders.h"
#include "gpu/stream_write.h"
#include "platform/glsl_translation.h"

namespace {

// Room for many frames' runs: a run the size of the whole presentation's largest is a few
// hundred kilobytes.
constexpr size_t kStreamBytes = 4u << 20;

// The floats one vertex takes in the layout of the attributes a run carries: the position, then
// the normal, the colour and each unit's coordinates where carried.
int floatsPerVertex(unsigned int carried) {
  int floats = 3;
  floats += (carried & kCarriesNormal) != 0 ? 3 : 0;
  floats += (carried & kCarriesColor) != 0 ? 4 : 0;
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    floats += (carried & (kCarriesTexCoord0 << unit)) != 0 ? 4 : 0;
  }
  return floats;
}

// Points the bound vertex array's inputs at vertices of that layout in the bound buffer; the
// inputs not carried stay off and read the current values.
void pointAtLayout(unsigned int carried) {
  InterleavedInputs inputs(floatsPerVertex(carried) * static_cast<int>(sizeof(float)));
  inputs.add(platform::kAttributePosition, 3);
  if ((carried & kCarriesNormal) != 0) {
    inputs.add(platform::kAttributeNormal, 3);
  }
  if ((carried & kCarriesColor) != 0) {
    inputs.add(platform::kAttributeColor, 4);
  }
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if ((carried & (kCarriesTexCoord0 << unit)) != 0) {
      inputs.add(static_cast<GLuint>(platform::kAttributeTexCoord0 + unit), 4);
    }
  }
}

float* packVertex(const LayerVertex& vertex, unsigned int carried, float* to) {
  to = std::copy(vertex.position, vertex.position + 3, to);
  if ((carried & kCarriesNormal) != 0) {
    to = std::copy(vertex.normal, vertex.normal + 3, to);
  }
  if ((carried & kCarriesColor) != 0) {
    to = std::copy(vertex.color, vertex.color + 4, to);
  }
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if ((carried & (kCarriesTexCoord0 << unit)) != 0) {
      to = std::copy(vertex.texCoords[unit], vertex.texCoords[unit] + 4, to);
    }
  }
  return to;
}

}  // namespace

void InterleavedInputs::add(unsigned int location, int components) {
  glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, strideBytes_,
                        reinterpret_cast<const void*>(offsetBytes_));
  glEnableVertexAttribArray(location);
  offsetBytes_ += static_cast<size_t>(components) * sizeof(float);
}

void ShaderLayer::createStream() {
  glGenBuffers(1, &streamBuffer_);
  glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
  streamBytes_ = kStreamBytes;
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamBytes_), nullptr, GL_STREAM_DRAW);
  streamCursor_ = 0;
  // One vertex array for every layout, made now so that no frame makes one.
  glGenVertexArrays(kStreamLayouts, streamArrays_);
  for (unsigned int carried = 0; carried < kStreamLayouts; ++carried) {
    glBindVertexArray(streamArrays_[carried]);
    pointAtLayout(carried);
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ShaderLayer::releaseStream() {
  glBindVertexArray(0);
  glDeleteVertexArrays(kStreamLayouts, streamArrays_);
  glDeleteBuffers(1, &streamBuffer_);
  std::fill(streamArrays_, streamArrays_ + kStreamLayouts, 0u);
  streamBuffer_ = 0;
}

// Appends the run at the next whole vertex of its layout, so that it starts at a vertex number;
// a run that does not fit starts the buffer afresh (larger, for a run larger than the buffer).
int ShaderLayer::appendToStream(const std::vector<LayerVertex>& vertices, unsigned int carried) {
  const size_t stride = static_cast<size_t>(floatsPerVertex(carried)) * sizeof(float);
  const size_t bytes = vertices.size() * stride;
  size_t start = (streamCursor_ + stride - 1) / stride * stride;
  glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
  if (start + bytes > streamBytes_) {
    streamBytes_ = std::max(streamBytes_, bytes);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamBytes_), nullptr, GL_STREAM_DRAW);
    start = 0;
  }
  void* mapped = beginStreamWrite(start, bytes);
  if (mapped == nullptr) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return -1;
  }
  float* to = static_cast<float*>(mapped);
  for (const LayerVertex& vertex : vertices) {
    to = packVertex(vertex, carried, to);
  }
  endStreamWrite();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  countUpload(bytes);
  streamCursor_ = start + bytes;
  return static_cast<int>(start / stride);
}

void ShaderLayer::drawVertices(Primitive primitive, const std::vector<LayerVertex>& vertices, unsigned int carried) {
  const std::vector<LayerVertex>& drawn = asDrawable(primitive, vertices, triangles_);
  if (drawn.empty() || !prepareDraw()) {
    return;
  }
  const int first = appendToStream(drawn, carried);
  if (first < 0) {
    return;
  }
  glBindVertexArray(streamArrays_[carried]);
  setCurrentAttributes(carried);
  glDrawArrays(drawnModeOf(primitive), first, static_cast<GLsizei>(drawn.size()));
  glBindVertexArray(0);
}
