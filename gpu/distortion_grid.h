// A texture drawn through a grid of cells whose texture coordinates drift back and forth a little,
// so that the picture wobbles.
// Every coordinate stays within ±0.01 grid steps (in texture scale) of where buildGrid put it.
#pragma once

constexpr int kGridPointsPerSide = 20;
// The texture name the grid starts with: none set yet.
constexpr unsigned int kNoGridTexture = 0xFFFFFFFFu;

struct GridPoint {
  float u = 0.0f;
  float uMin = 0.0f;
  float uMax = 0.0f;
  float uSpeed = 0.0f;  // per unit of update time; its sign flips at a bound
  float x = 0.0f;       // screen position, fixed; the screen spans 0 to 1
  float v = 0.0f;
  float vMin = 0.0f;
  float vMax = 0.0f;
  float vSpeed = 0.0f;
  float y = 0.0f;  // screen position, fixed; 0 at the bottom
};

class DistortionGrid {
 public:
  // Every point at rest with a random speed; four draws of the process-wide sequence per point,
  // row by row. The owner sets the four sizes first.
  void buildGrid();
  // Advances by dtSeconds / 3, then draws the grid over the unit square with `texture`, in the
  // caller's pass, which has texture unit 0 on. Leaves no texture bound on unit 0.
  void drawGrid(float dtSeconds);
  void drawCurrentGrid() const;  // the grid as it stands, without moving it
  // Moves every coordinate by step × speed; one that would pass a bound stays and turns round.
  void advanceGrid(float step);

  unsigned int texture = kNoGridTexture;
  int textureWidth = 0;   // pixels, the whole texture
  int textureHeight = 0;
  int regionWidth = 0;    // pixels, the part of the texture to show
  int regionHeight = 0;
  GridPoint points[kGridPointsPerSide][kGridPointsPerSide];  // [row][column], row 0 at the bottom
};
