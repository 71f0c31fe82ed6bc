#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

const float IDENTITY[16] = {
    1, 0, 0, 0,
    0, 1, 0, 0,
    0, 0, 1, 0,
    0, 0, 0, 1,
};

// For a value outside the int range, the range's nearest end (NaN gives 0)
// and true; false for a value that converts. No conversion may overflow.
bool LimitToInt(double value, int *limit)
{
    if (value > INT_MIN && value < INT_MAX)
        return false;
    *limit = value >= INT_MAX ? INT_MAX : value <= INT_MIN ? INT_MIN : 0;
    return true;
}

// The rounding rule shared by float and double: computed in the argument's
// own precision, exact halves toward zero.
template <typename T> int RoundHalfTowardZero(T value)
{
    int limit;
    if (LimitToInt(value, &limit))
        return limit;
    int truncated = static_cast<int>(value);
    if (value > 0)
        return value - static_cast<T>(truncated) > static_cast<T>(0.5) ? truncated + 1 : truncated;
    T magnitude = -value;
    int magnitude_truncated = static_cast<int>(magnitude);
    return magnitude - static_cast<T>(magnitude_truncated) > static_cast<T>(0.5) ? truncated - 1 : truncated;
}

} // namespace

EngMatrix *EngMatrix::SetIdentity()
{
    std::memcpy(m_elements, IDENTITY, sizeof(m_elements));
    return this;
}

EngMatrix *EngMatrix::SetTranslation(float x, float y, float z)
{
    SetIdentity();
    m_elements[12] = x;
    m_elements[13] = y;
    m_elements[14] = z;
    return this;
}

EngMatrix *EngMatrix::SetScale(float x, float y, float z)
{
    SetIdentity();
    m_elements[0] = x;
    m_elements[5] = y;
    m_elements[10] = z;
    return this;
}

EngMatrix *EngMatrix::SetRotationZ(float radians)
{
    SetIdentity();
    float c = std::cos(radians);
    float s = std::sin(radians);
    m_elements[0] = c;
    m_elements[1] = s;
    m_elements[4] = -s;
    m_elements[5] = c;
    return this;
}

EngMatrix *EngMatrix::PreMultiply(const EngMatrix *m)
{
    if (!m)
        return this;
    float product[16];
    for (int row = 0; row < 4; row++) {
        for (int column = 0; column < 4; column++) {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += m->m_elements[row * 4 + k] * m_elements[k * 4 + column];
            product[row * 4 + column] = sum;
        }
    }
    std::memcpy(m_elements, product, sizeof(m_elements));
    return this;
}

EngMatrix *EngMatrix::CopyTo(EngMatrix *out) const
{
    if (out)
        std::memcpy(out->m_elements, m_elements, sizeof(m_elements));
    return out;
}

EngMatrix *EngMatrix::CopyFrom(const EngMatrix *m)
{
    if (!m)
        return nullptr;
    std::memcpy(m_elements, m->m_elements, sizeof(m_elements));
    return this;
}

float EngMathDotProduct2d(const _Vector2d *a, const _Vector2d *b)
{
    return a->x * b->x + a->y * b->y;
}

int EngMathAbsInt(int value)
{
    return value < 0 ? -value : value;
}

float EngMathAbsFloat(float value)
{
    return std::fabs(value);
}

int EngMathRoundFloatToInt(float value)
{
    return RoundHalfTowardZero(value);
}

int EngMathRoundDoubleToInt(double value)
{
    return RoundHalfTowardZero(value);
}

int EngMathTruncateToInt(double value)
{
    int limit;
    return LimitToInt(value, &limit) ? limit : static_cast<int>(value);
}

int EngMathClampInt(int value, int minimum, int maximum)
{
    if (value < minimum)
        value = minimum;
    if (value > maximum)
        value = maximum;
    return value;
}

void EngMathNormaliseVector3d(_Vector3d *v)
{
    if (!v)
        return;
    float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (length == 0)
        return;
    v->x /= length;
    v->y /= length;
    v->z /= length;
}

float EngMathGetSideOfLine(const _Vector2d *p, const _Vector2d *a, const _Vector2d *b)
{
    return (b->x - a->x) * p->y + (a->y - b->y) * p->x + (a->x * b->y - b->x * a->y);
}

void EngMathGetRandomVector3dInRange3d(_Vector3d *out, const _EngRange3d *range)
{
    if (!out || !range)
        return;
    out->x = EngMiscRandFloatInRange(range->min_x, range->max_x, 0);
    out->y = EngMiscRandFloatInRange(range->min_y, range->max_y, 0);
    out->z = EngMiscRandFloatInRange(range->min_z, range->max_z, 0);
}

bool EngMathIsRange3dSet(const _EngRange3d *range)
{
    if (!range)
        return false;
    auto pair_set = [](float min, float max) { return !(min == 0 && max == 0) && min <= max; };
    return pair_set(range->min_x, range->max_x) || pair_set(range->min_y, range->max_y) ||
           pair_set(range->min_z, range->max_z);
}

bool EngMathInterpolateDimension(const _Dimension *from, const _Dimension *to, float fraction, _Dimension *out)
{
    if (!from || !to || !out)
        return false;
    if (from->x == to->x && from->y == to->y && from->w == to->w && from->h == to->h) {
        *out = *from;
        return true;
    }
    out->x = from->x + (to->x - from->x) * fraction;
    out->y = from->y + (to->y - from->y) * fraction;
    out->w = from->w + (to->w - from->w) * fraction;
    out->h = from->h + (to->h - from->h) * fraction;
    return true;
}
