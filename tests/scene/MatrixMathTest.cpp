#include <gtest/gtest.h>

#include "scene/Matrix4.h"
#include "scene/Plane.h"
#include "scene/Vec4.h"

namespace {

// Column-major product M * v, as GL applies a matrix to a vertex.
Vec4 transform(const Matrix4& matrix, Vec4 v) {
    const float* m = matrix.m;
    return Vec4(m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
                m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
                m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w);
}

void fillWith(Matrix4& matrix, float value) {
    for (float& element : matrix.m) {
        element = value;
    }
}

const Plane GROUND(0.0f, 1.0f, 0.0f, 0.0f);

}  // namespace

TEST(PlaneTest, DotWithZeroWIgnoresTheOffset) {
    EXPECT_FLOAT_EQ(Plane(0.0f, 1.0f, 0.0f, 5.0f).dot(Vec4(1.0f, 2.0f, 3.0f, 0.0f)), 2.0f);
    EXPECT_FLOAT_EQ(Plane(1.0f, 2.0f, 3.0f, 4.0f).dot(Vec4(1.0f, 1.0f, 1.0f, 1.0f)), 10.0f);
}

TEST(Matrix4Test, DefaultIsIdentityAndTranslationOverwritesEverything) {
    Matrix4 identity;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(identity.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
    }

    Matrix4 matrix;
    fillWith(matrix, 7.0f);
    matrix.loadTranslation(0.0f, 0.0f, -270.0f);
    for (int i = 0; i < 16; ++i) {
        const float expected = i == 14 ? -270.0f : identity.m[i];
        EXPECT_EQ(matrix.m[i], expected) << "element " << i;
    }
    Vec4 moved = transform(matrix, Vec4(1.0f, 2.0f, 3.0f, 1.0f));
    EXPECT_FLOAT_EQ(moved.z, -267.0f);
}

TEST(Matrix4Test, ShadowOntoGroundHasTheRowsOfThePlanarProjection) {
    Matrix4 matrix;
    fillWith(matrix, 99.0f);  // nothing of this may survive
    const float lx = 30.0f, ly = 124.0f, lz = -8.0f;
    matrix.makeShadowMatrix(GROUND, Vec4(lx, ly, lz, 1.0f));
    const float rows[4][4] = {{ly, -lx, 0, 0}, {0, 0, 0, 0}, {0, -lz, ly, 0}, {0, -1, 0, ly}};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_FLOAT_EQ(matrix.m[4 * column + row], rows[row][column]) << row << "," << column;
        }
    }
}

TEST(Matrix4Test, ShadowOfAVertexLandsWhereTheLightRayMeetsTheGround) {
    Matrix4 matrix;
    matrix.makeShadowMatrix(GROUND, Vec4(200.0f, 124.0f, 0.0f, 1.0f));
    Vec4 shadow = transform(matrix, Vec4(0.0f, 50.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(shadow.x, -10000.0f);
    EXPECT_FLOAT_EQ(shadow.y, 0.0f);
    EXPECT_FLOAT_EQ(shadow.z, 0.0f);
    EXPECT_FLOAT_EQ(shadow.w, 74.0f);
    EXPECT_NEAR(shadow.x / shadow.w, -135.135f, 0.001f);

    // A point on the ground is its own shadow.
    Vec4 onGround = transform(matrix, Vec4(5.0f, 0.0f, -7.0f, 1.0f));
    EXPECT_FLOAT_EQ(onGround.x / onGround.w, 5.0f);
    EXPECT_FLOAT_EQ(onGround.y, 0.0f);
    EXPECT_FLOAT_EQ(onGround.z / onGround.w, -7.0f);

    // Level with the light the projection degenerates; above it w turns negative.
    EXPECT_FLOAT_EQ(transform(matrix, Vec4(3.0f, 124.0f, 1.0f, 1.0f)).w, 0.0f);
    EXPECT_LT(transform(matrix, Vec4(3.0f, 130.0f, 1.0f, 1.0f)).w, 0.0f);
}
