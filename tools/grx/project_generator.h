// Projects of a known shape and any size, for benchmarks and for trying the tools on realistic
// sizes. The same shape always gives the same description (and so the same identifiers).
#pragma once

#include <cstddef>
#include <string>

namespace grx::cli {

struct ProjectShape {
  int charts = 10; // root charts of the one controller GEN
  int depth = 2;   // sub-charts below each root chart, each inside the one before
  int blocks = 10; // blocks of every chart, root or sub-chart
  int globals = 20;
};

// The JSON description of a project of the shape. Every chart runs its blocks in a chain
// (OUT of one block into the next); the first block of a root chart and the second input of
// every ADD_R block read global variables in turn; a sub-chart's interface input IN is fed by the
// last block of the chart above and feeds the sub-chart's first block. Root chart n has the
// processing group G_Cn in task T1..T4 in turn, with its blocks and then its first sub-chart (whose
// blocks run at the sub-chart's place). Throws std::invalid_argument for a shape out of range.
std::string GeneratedDescription(const ProjectShape& shape);

// Objects the description of the shape lists (controller, types, globals, charts, blocks, parameters,
// interface variables, tasks and groups), without building it.
std::size_t GeneratedObjectCount(const ProjectShape& shape);

} // namespace grx::cli
