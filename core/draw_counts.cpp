#include "core/draw_counts.h"

DrawCounts& drawCounts() {
  static DrawCounts counts;
  return counts;
}
