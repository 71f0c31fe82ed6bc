#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstddef>

namespace {

// A point as a row vector times the matrix, the way the device applies it.
void Transform(const EngMatrix &m, const float in[4], float out[4])
{
    for (int column = 0; column < 4; column++) {
        out[column] = 0;
        for (int k = 0; k < 4; k++)
            out[column] += in[k] * m.m_elements[k * 4 + column];
    }
}

TEST(EngMathTest, RoundsHalvesTowardZero)
{
    struct Case {
        double value;
        int expected;
    };
    const Case cases[] = {
        {0.5, 0}, {1.5, 1}, {-0.5, 0}, {-1.5, -1}, {0.75, 1}, {-0.75, -1}, {2.5, 2}, {2.51, 3},
        {-2.5, -2}, {-2.51, -3}, {0, 0}, {3, 3}, {-3, -3}, {0.49, 0}, {-0.49, 0}, {1000.6, 1001},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(EngMathRoundFloatToInt(static_cast<float>(c.value)), c.expected) << c.value;
        EXPECT_EQ(EngMathRoundDoubleToInt(c.value), c.expected) << c.value;
    }
}

TEST(EngMathTest, ConversionsToIntStopAtTheIntRange)
{
    const double inf = HUGE_VAL;
    struct Case {
        double value;
        int rounded, truncated;
    };
    const Case cases[] = {
        {3e9, INT_MAX, INT_MAX},     {-3e9, INT_MIN, INT_MIN},         {inf, INT_MAX, INT_MAX},
        {-inf, INT_MIN, INT_MIN},    {std::nan(""), 0, 0},             {2147483646.7, INT_MAX, 2147483646},
        {-2147483647.9, INT_MIN, -2147483647}, {2147483647.0, INT_MAX, INT_MAX}, {-7.9, -8, -7},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(EngMathRoundDoubleToInt(c.value), c.rounded) << c.value;
        EXPECT_EQ(EngMathTruncateToInt(c.value), c.truncated) << c.value;
    }
    EXPECT_EQ(EngMathRoundFloatToInt(3e38f), INT_MAX);
    EXPECT_EQ(EngMathRoundFloatToInt(-HUGE_VALF), INT_MIN);
    EXPECT_EQ(EngMathRoundFloatToInt(std::nanf("")), 0);
}

TEST(EngMathTest, SmallHelpers)
{
    EXPECT_EQ(EngMathClampInt(5, 10, 3), 3);
    EXPECT_EQ(EngMathClampInt(-5, 0, 10), 0);
    EXPECT_EQ(EngMathClampInt(15, 0, 10), 10);
    EXPECT_EQ(EngMathClampInt(7, 0, 10), 7);
    EXPECT_EQ(EngMathAbsInt(-4), 4);
    EXPECT_FLOAT_EQ(EngMathAbsFloat(-2.5f), 2.5f);

    _Vector2d a = {3, 4}, b = {-2, 0.5f};
    EXPECT_FLOAT_EQ(EngMathDotProduct2d(&a, &b), -4);

    _Vector2d start = {0, 0}, end = {1, 0}, above = {0, 1}, below = {0, -1}, on = {5, 0};
    EXPECT_FLOAT_EQ(EngMathGetSideOfLine(&above, &start, &end), 1);
    EXPECT_FLOAT_EQ(EngMathGetSideOfLine(&below, &start, &end), -1);
    EXPECT_FLOAT_EQ(EngMathGetSideOfLine(&on, &start, &end), 0);

    _Vector3d zero = {0, 0, 0}, v = {3, 0, 4};
    EngMathNormaliseVector3d(&zero);
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_EQ(zero.z, 0);
    EngMathNormaliseVector3d(&v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EngMathNormaliseVector3d(nullptr);
}

TEST(EngMathTest, RangeIsSetWhenSomeAxisHasAnOrderedNonZeroPair)
{
    struct Case {
        _EngRange3d range;
        bool expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0}, false},
        {{1, 0, 0, 0, 0, 0}, false},
        {{0, 0, -1, 1, 0, 0}, true},
        {{0, 0, 0, 0, 2, 2}, true},
        {{5, -5, 3, 1, 0, 0}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EngMathIsRange3dSet(&c.range), c.expected)
            << c.range.min_x << " " << c.range.max_x << " " << c.range.min_y << " " << c.range.max_y;
    EXPECT_FALSE(EngMathIsRange3dSet(nullptr));
}

TEST(EngMathTest, RandomVectorsDrawEachAxisInOrderFromItsRange)
{
    const _EngRange3d range = {1, 2, -10, -5, 3, 3};
    EngMiscRandSeed(42);
    _Vector3d v = {};
    EngMathGetRandomVector3dInRange3d(&v, &range);
    EngMiscRandSeed(42);
    float x = EngMiscRandFloatInRange(1, 2, 0);
    float y = EngMiscRandFloatInRange(-10, -5, 0);
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, 3);
    EXPECT_GE(v.x, 1);
    EXPECT_LT(v.x, 2);

    _Vector3d untouched = {7, 7, 7};
    EngMathGetRandomVector3dInRange3d(&untouched, nullptr);
    EngMathGetRandomVector3dInRange3d(nullptr, &range);
    EXPECT_EQ(untouched.x, 7);
}

TEST(EngMathTest, InterpolatesDimensions)
{
    _Dimension from = {0, 0, 100, 100}, to = {100, 100, 200, 200}, out = {};
    EXPECT_TRUE(EngMathInterpolateDimension(&from, &to, 0.5f, &out));
    EXPECT_FLOAT_EQ(out.x, 50);
    EXPECT_FLOAT_EQ(out.y, 50);
    EXPECT_FLOAT_EQ(out.w, 150);
    EXPECT_FLOAT_EQ(out.h, 150);
    // The fraction is not limited to 0..1.
    EXPECT_TRUE(EngMathInterpolateDimension(&from, &to, 1.5f, &out));
    EXPECT_FLOAT_EQ(out.x, 150);
    EXPECT_FLOAT_EQ(out.w, 250);
    EXPECT_TRUE(EngMathInterpolateDimension(&from, &from, 7, &out));
    EXPECT_FLOAT_EQ(out.w, 100);
    EXPECT_FALSE(EngMathInterpolateDimension(&from, &to, 0.5f, nullptr));
}

TEST(EngMathTest, MatrixLayoutIsTheDeviceLayout)
{
    static_assert(offsetof(EngMatrix, m_elements) == 0, "elements first");
    EngMatrix m;
    m.SetTranslation(1, 2, 3);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(m.m_elements[i], expected[i]) << i;
    m.SetScale(4, 5, 6);
    EXPECT_EQ(m.m_elements[0], 4);
    EXPECT_EQ(m.m_elements[5], 5);
    EXPECT_EQ(m.m_elements[10], 6);
    EXPECT_EQ(m.m_elements[12], 0);
}

TEST(EngMathTest, TransformsPointsInPreMultiplyOrder)
{
    EngMatrix translation, scale, rotation;
    translation.SetTranslation(10, 20, 30);
    scale.SetScale(2, 3, 4);
    rotation.SetRotationZ(static_cast<float>(M_PI / 2));

    struct Case {
        const char *what;
        EngMatrix matrix;
        float point[4];
        float expected[4];
    };
    EngMatrix scaled_then_translated = translation;
    scaled_then_translated.PreMultiply(&scale);
    EngMatrix rotated_then_translated;
    rotated_then_translated.SetTranslation(5, 0, 0)->PreMultiply(&rotation);
    EngMatrix translated_then_scaled = scale;
    translated_then_scaled.PreMultiply(&translation);
    EngMatrix unchanged = translation;
    unchanged.PreMultiply(nullptr);

    const Case cases[] = {
        {"rotation by a quarter turn", rotation, {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"scale first, then translation", scaled_then_translated, {1, 1, 1, 1}, {12, 23, 34, 1}},
        {"rotation first, then translation", rotated_then_translated, {1, 0, 0, 1}, {5, 1, 0, 1}},
        {"translation first, then scale", translated_then_scaled, {1, 1, 1, 1}, {22, 63, 124, 1}},
        {"null leaves it", unchanged, {0, 0, 0, 1}, {10, 20, 30, 1}},
    };
    for (const Case &c : cases) {
        float out[4];
        Transform(c.matrix, c.point, out);
        for (int i = 0; i < 4; i++)
            EXPECT_NEAR(out[i], c.expected[i], 1e-5) << c.what << " [" << i << "]";
    }
}

TEST(EngMathTest, CopiesMatrices)
{
    EngMatrix a, b;
    a.SetRotationZ(0.3f);
    b.SetIdentity();
    EXPECT_EQ(a.CopyTo(&b), &b);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(b.m_elements[i], a.m_elements[i]);
    EXPECT_EQ(a.CopyTo(nullptr), nullptr);

    EngMatrix c;
    c.SetIdentity();
    EXPECT_EQ(c.CopyFrom(&a), &c);
    EXPECT_EQ(c.m_elements[1], a.m_elements[1]);
    EXPECT_EQ(c.CopyFrom(nullptr), nullptr);
    EXPECT_EQ(c.m_elements[1], a.m_elements[1]);
}

} // namespace
