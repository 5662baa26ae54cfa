#pragma once

#include <vector>

#include "model/Md2Model.h"

namespace md2test {

// The normal rule read plainly: every triangle of every frame in file order,
// each replacing its corners' normals, in the loader's double arithmetic;
// degenerate triangles leave their corners alone. The loader computes only
// the triangles that decide a vertex and must match this bit for bit.
// `normals` is refilled in place, keeping its memory.
void normalsOfEveryTriangle(const Md2Model& model, std::vector<float>& normals);

}  // namespace md2test
