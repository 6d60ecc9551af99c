// The layout of a build without Graphviz (Debian's mingw-w64 has none): grx draw says so.
#include "chart_drawing.h"

namespace grx::draw {

void LayOut(ChartDrawing&) {
  throw DrawError("this grx was built without Graphviz (libgvc), which lays charts out");
}

} // namespace grx::draw
