#include "world/mesh.h"
#include "core/draw_counts.h"

#include <GL/glew.h>

#include <cassert>
#include <new>

#include "gpu/shader_manager.h"
#include "world/bounds.h"

Mesh::~Mesh() { release(); }

bool Mesh::allocate(int32_t newVertexCount, int32_t newIndexCount) {
  release();
  if (newVertexCount < 0 || newIndexCount < 0) {
    return false;
  }
  const size_t vertexTotal = static_cast<size_t>(newVertexCount);
  try {
    vertices.assign(3 * vertexTotal, 0.0f);
    normals.assign(3 * vertexTotal, 0.0f);
    texCoords.assign(2 * vertexTotal, 0.0f);
    indices.assign(static_cast<size_t>(newIndexCount), 0u);
  } catch (const std::bad_alloc&) {
    release();
    return false;
  }
  vertexCount = newVertexCount;
  indexCount = newIndexCount;
  return true;
}

void Mesh::release() {
  std::vector<float>().swap(vertices);
  std::vector<float>().swap(normals);
  std::vector<float>().swap(texCoords);
  std::vector<uint32_t>().swap(indices);
  vertexCount = 0;
  indexCount = 0;
  if (displayList != -1) {
    glDeleteLists(static_cast<GLuint>(displayList), 1);
    displayList = -1;
  }
}

void Mesh::computeBounds() {
  if (vertices.empty() || vertexCount < 1) {
    for (int axis = 0; axis < 3; ++axis) {
      boundsMin[axis] = boundsMax[axis] = centre[axis] = 0.0f;
    }
    return;
  }
  startBounds(boundsMin, boundsMax);
  for (size_t vertex = 0; vertex < static_cast<size_t>(vertexCount); ++vertex) {
    const float* position = &vertices[3 * vertex];
    mergeBounds(boundsMin, boundsMax, position, position);
  }
  for (int axis = 0; axis < 3; ++axis) {
    centre[axis] = (boundsMin[axis] + boundsMax[axis]) * 0.5f;
  }
}

void Mesh::translate(float dx, float dy, float dz) {
  for (size_t i = 0; i + 2 < vertices.size(); i += 3) {
    vertices[i] += dx;
    vertices[i + 1] += dy;
    vertices[i + 2] += dz;
  }
}

void Mesh::draw(int32_t mode, float normalLength) {
  switch (mode) {
    case kDrawWireframe:
      drawWireframe();
      break;
    case kDrawDisplayList:
      drawDisplayList();
      break;
    case kDrawNormals:
      drawNormals(normalLength);
      break;
    case kDrawPoints:
      drawPoints();
      break;
    case kDrawVertexArrays:
      drawVertexArrays();
      break;
    case kDrawPerPixel:
      drawPerPixel();
      break;
    default:
      break;
  }
}

// The immediate-mode paths walk whole triangles only: a trailing one or two indices are ignored.

void Mesh::drawWireframe() const {
  const int32_t triangleCount = indexCount / 3;
  for (int32_t triangle = 0; triangle < triangleCount; ++triangle) {
    // An open strip: the edge from the third corner back to the first is not drawn.
    glBegin(GL_LINE_STRIP);
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t index = indices[3 * static_cast<size_t>(triangle) + corner];
      assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
      glNormal3fv(&normals[3 * index]);
      glVertex3fv(&vertices[3 * index]);
    }
    glEnd();
  }
}

void Mesh::drawDisplayList() {
  if (displayList == -1) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    const size_t cornerCount = 3 * static_cast<size_t>(indexCount / 3);
    for (size_t corner = 0; corner < cornerCount; ++corner) {
      const uint32_t index = indices[corner];
      assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
      if (textured) {
        glTexCoord2fv(&texCoords[2 * index]);
      }
      glNormal3fv(&normals[3 * index]);
      glVertex3fv(&vertices[3 * index]);
    }
    glEnd();
    glEndList();
    displayList = static_cast<int32_t>(list);
  }
  // The material stays outside the list, so a changed material shows without recompiling.
  material.apply();
  glCallList(static_cast<GLuint>(displayList));
  countDraw(static_cast<uint64_t>(indexCount / 3));
}

void Mesh::drawNormals(float normalLength) const {
  glColor3f(1.0f, 1.0f, 1.0f);
  const int32_t triangleCount = indexCount / 3;
  for (int32_t triangle = 0; triangle < triangleCount; ++triangle) {
    glBegin(GL_LINES);
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t index = indices[3 * static_cast<size_t>(triangle) + corner];
      assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
      const float* position = &vertices[3 * index];
      const float* normal = &normals[3 * index];
      glVertex3f(position[0] + normalLength * normal[0], position[1] + normalLength * normal[1],
                 position[2] + normalLength * normal[2]);
      glVertex3fv(position);
    }
    glEnd();
  }
  // The lines are drawn in plain white whatever the lighting; lighting is on again afterwards.
  glEnable(GL_LIGHTING);
}

void Mesh::drawPoints() const {
  glBegin(GL_POINTS);
  for (size_t vertex = 0; vertex < static_cast<size_t>(vertexCount); ++vertex) {
    glVertex3fv(&vertices[3 * vertex]);
  }
  glEnd();
}

// The vertex and normal arrays stay enabled after a draw; the texture-coordinate array is set
// or switched off on every draw, so no stale pointer from an earlier mesh is ever read.
void Mesh::setVertexAndNormalArrays() const {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, vertices.data());
  glNormalPointer(GL_FLOAT, 0, normals.data());
}

void Mesh::setTexCoordArray() const {
  glClientActiveTexture(GL_TEXTURE0);
  if (textured) {
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
}

void Mesh::drawLockedElements() const {
  // Locking lets the driver transform the shared vertices once for the whole call.
  const bool lock = vertexCount > 0 && glLockArraysEXT != nullptr && glUnlockArraysEXT != nullptr;
  if (lock) {
    glLockArraysEXT(0, vertexCount);
  }
  glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, indices.data());
  countDraw(static_cast<uint64_t>(indexCount / 3));
  if (lock) {
    glUnlockArraysEXT();
  }
}

void Mesh::drawVertexArrays() {
  setVertexAndNormalArrays();
  material.apply();
  setTexCoordArray();
  drawLockedElements();
}

// The material is not applied here: the lighting programs take their colours from the shader
// manager and only the texture from the mesh. An untextured mesh leaves texture state alone.
void Mesh::drawPerPixel() {
  setVertexAndNormalArrays();
  ShaderManager& shaders = shaderManager();
  bindLayerTexture(shaders);
  shaders.beginPerPixel();
  setTexCoordArray();
  drawLockedElements();
  shaders.endPerPixel();
}

void Mesh::drawPerPixelBound() {
  setVertexAndNormalArrays();
  bindLayerTexture(shaderManager());
  setTexCoordArray();
  drawLockedElements();
}

void Mesh::bindLayerTexture(ShaderManager& shaders) const {
  if (textured) {
    const int32_t layerTexture = material.layers[0].textureName;
    const GLuint texture = layerTexture < 1 ? 0u : static_cast<GLuint>(layerTexture);
    shaders.setTexture(texture);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
  }
}
