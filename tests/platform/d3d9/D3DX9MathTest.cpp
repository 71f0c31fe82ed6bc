// The matrix helpers: row vectors, so the left factor of a product applies
// first, and the projections map their boxes as Direct3D expects.
#include "platform/d3d9/D3DX9.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float QUARTER_TURN = 1.5707964f;

D3DXVECTOR3 Apply(const D3DXMATRIX &m, float x, float y, float z)
{
    D3DXVECTOR3 in = {x, y, z}, out;
    EXPECT_EQ(D3DXVec3TransformCoord(&out, &in, &m), &out);
    return out;
}

testing::AssertionResult Near(const D3DXVECTOR3 &v, float x, float y, float z)
{
    if (std::fabs(v.x - x) > 1e-5f || std::fabs(v.y - y) > 1e-5f || std::fabs(v.z - z) > 1e-5f)
        return testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return testing::AssertionSuccess();
}

TEST(D3DX9MathTest, RotationsTurnEachAxisTowardsTheNext)
{
    D3DXMATRIX m;
    EXPECT_TRUE(Near(Apply(*D3DXMatrixRotationZ(&m, QUARTER_TURN), 1, 0, 0), 0, 1, 0));
    EXPECT_TRUE(Near(Apply(*D3DXMatrixRotationX(&m, QUARTER_TURN), 0, 1, 0), 0, 0, 1));
    EXPECT_TRUE(Near(Apply(*D3DXMatrixRotationY(&m, QUARTER_TURN), 0, 0, 1), 1, 0, 0));

    // Roll, then pitch, then yaw.
    D3DXMATRIX z, x, y, expected;
    D3DXMatrixRotationZ(&z, 0.3f);
    D3DXMatrixRotationX(&x, 0.2f);
    D3DXMatrixRotationY(&y, 0.1f);
    D3DXMatrixMultiply(&expected, D3DXMatrixMultiply(&expected, &z, &x), &y);
    D3DXMatrixRotationYawPitchRoll(&m, 0.1f, 0.2f, 0.3f);
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            EXPECT_NEAR(m.m[i][j], expected.m[i][j], 1e-6);
}

TEST(D3DX9MathTest, TheLeftFactorAppliesFirst)
{
    D3DXMATRIX scale, move, product;
    D3DXMatrixScaling(&scale, 2, 3, 4);
    D3DXMatrixTranslation(&move, 10, 20, 30);
    EXPECT_TRUE(Near(Apply(*D3DXMatrixMultiply(&product, &scale, &move), 1, 1, 1), 12, 23, 34));
    EXPECT_TRUE(Near(Apply(*D3DXMatrixMultiply(&product, &move, &scale), 1, 1, 1), 22, 63, 124));
    // The output may be an input.
    D3DXMatrixMultiply(&scale, &scale, &move);
    EXPECT_TRUE(Near(Apply(scale, 0, 0, 0), 10, 20, 30));
    EXPECT_TRUE(Near(Apply(*D3DXMatrixIdentity(&product), 5, 6, 7), 5, 6, 7));
}

TEST(D3DX9MathTest, ProjectionsMapTheirBoxes)
{
    // Right-handed: the camera looks down -z; the planes map to depths 0 and 1.
    D3DXMATRIX perspective;
    D3DXMatrixPerspectiveFovRH(&perspective, QUARTER_TURN, 2.0f, 1.0f, 10.0f);
    EXPECT_TRUE(Near(Apply(perspective, 0, 0, -1), 0, 0, 0));
    EXPECT_TRUE(Near(Apply(perspective, 0, 0, -10), 0, 0, 1));
    // 90 degrees: the top edge of the view at depth 1 is y = 1.
    EXPECT_TRUE(Near(Apply(perspective, 2, 1, -1), 1, 1, 0));
    EXPECT_FLOAT_EQ(perspective.m[2][3], -1.0f);

    D3DXMATRIX ortho;
    D3DXMatrixOrthoOffCenterLH(&ortho, 0, 640, 0, 480, -1, 1);
    EXPECT_TRUE(Near(Apply(ortho, 0, 0, -1), -1, -1, 0));
    EXPECT_TRUE(Near(Apply(ortho, 640, 480, 1), 1, 1, 1));
    EXPECT_TRUE(Near(Apply(ortho, 320, 240, 0), 0, 0, 0.5f));
}

} // namespace
