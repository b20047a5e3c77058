// The picture's shape at any drawable size. The presentation was composed for an 800 × 600 frame;
// at that size everything is drawn exactly as composed. Other shapes keep the vertical field of
// view and show more (or less) across, so circles stay circles, and the drawing surfaces keep the
// composed number of surface pixels per screen pixel on each axis, so the picture stays as sharp.
#pragma once

constexpr int kComposedWidth = 800;
constexpr int kComposedHeight = 600;
// The aspect every perspective of the presentation was composed with, for the 4:3 frame.
constexpr float kComposedAspect = 1.3f;
// The side of the square drawing surfaces at the composed frame size.
constexpr int kComposedSurfaceSize = 512;

// The aspect for a projection composed with composedAspect at 4:3, at width × height pixels; the
// composed aspect itself while the size is unknown (0).
double widenedAspect(double composedAspect, int width, int height);

struct SurfaceSize {
  int width = 0;
  int height = 0;
};
// The drawing surface laid over a width × height drawable: 512 × 512 at 800 × 600, in proportion
// on each axis at other sizes (at least 1 × 1, at most largest on a side), each side rounded up to
// a power of two when powerOfTwo is set. While the size is unknown (0), that of 800 × 600.
SurfaceSize surfaceSizeFor(int width, int height, bool powerOfTwo, int largest);
// size, smaller or larger on each axis as chosen is to full; size itself where chosen is full, and
// never less than 1 × 1.
SurfaceSize proportionalSize(SurfaceSize size, SurfaceSize chosen, SurfaceSize full);
// Each side rounded up to a power of two, at most largest.
SurfaceSize powerOfTwoSides(SurfaceSize size, int largest);
