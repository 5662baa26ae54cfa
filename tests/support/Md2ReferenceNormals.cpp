#include "support/Md2ReferenceNormals.h"

#include <cmath>

namespace md2test {

void normalsOfEveryTriangle(const Md2Model& model, std::vector<float>& normals) {
    normals.assign(model.positions.size(), 0.0f);
    for (int frame = 0; frame < model.frameCount; ++frame) {
        const float* positions = model.positions.data() + std::size_t(frame) * model.vertexCount * 3;
        float* frameNormals = normals.data() + std::size_t(frame) * model.vertexCount * 3;
        for (const Md2Model::Triangle& triangle : model.triangles) {
            const float* p0 = positions + triangle.vertexIndices[0] * 3;
            const float* p1 = positions + triangle.vertexIndices[1] * 3;
            const float* p2 = positions + triangle.vertexIndices[2] * 3;
            double a[3] = {double(p0[0]) - p1[0], double(p0[1]) - p1[1], double(p0[2]) - p1[2]};
            double b[3] = {double(p1[0]) - p2[0], double(p1[1]) - p2[1], double(p1[2]) - p2[2]};
            double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
            double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (!(length > 0.0) || !std::isfinite(length)) {
                continue;
            }
            for (int corner = 0; corner < 3; ++corner) {
                float* target = frameNormals + triangle.vertexIndices[corner] * 3;
                target[0] = float(n[0] / length);
                target[1] = float(n[1] / length);
                target[2] = float(n[2] / length);
            }
        }
    }
}

}  // namespace md2test
