#include "scene/Matrix4.h"

Matrix4::Matrix4() {
    loadIdentity();
}

void Matrix4::loadIdentity() {
    for (int i = 0; i < 16; ++i) {
        m[i] = 0.0f;
    }
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void Matrix4::loadTranslation(float x, float y, float z) {
    loadIdentity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void Matrix4::makeShadowMatrix(Plane plane, Vec4 light) {
    const float lightDot = plane.dot(light);
    const float planeColumn[4] = {plane.a, plane.b, plane.c, plane.d};
    const float lightRow[4] = {light.x, light.y, light.z, light.w};
    // Element (row, column) = D*[row == column] - light[row] * plane[column].
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            const float diagonal = row == column ? lightDot : 0.0f;
            m[4 * column + row] = diagonal - lightRow[row] * planeColumn[column];
        }
    }
}
