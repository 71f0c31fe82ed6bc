// Small value types used across the whole program, the 4 x 4 transform
// matrix, and numeric helpers whose rounding and clamping rules the drawing
// and layout code relies on. Nothing here allocates or reports.
#pragma once

struct _Vector2d {
    float x, y;
};

struct _Vector3d {
    float x, y, z;
};

// A rectangle: top-left corner, width and height; in 640 x 480 virtual-screen
// units unless a function says pixels.
struct _Dimension {
    float x, y, w, h;
};

// A colour as four channels from 0 to 1.
struct _ColourRGBA {
    float r, g, b, a;
};

// Ranges per axis for random vectors.
struct _EngRange3d {
    float min_x, max_x, min_y, max_y, min_z, max_z;
};

// A transform for row vectors (a point is multiplied on the left), elements
// row by row with the translation in 12, 13 and 14. This memory layout is
// what the GL device loads as a column-major matrix, unchanged.
class EngMatrix {
public:
    EngMatrix *SetIdentity();
    EngMatrix *SetTranslation(float x, float y, float z);
    EngMatrix *SetScale(float x, float y, float z);
    EngMatrix *SetRotationZ(float radians);
    // this := m x this, so m applies first to a point; null m changes nothing.
    EngMatrix *PreMultiply(const EngMatrix *m);
    // Returns out; nothing is copied for null.
    EngMatrix *CopyTo(EngMatrix *out) const;
    // Returns this, or null for a null m.
    EngMatrix *CopyFrom(const EngMatrix *m);

    float m_elements[16];
};

static_assert(sizeof(EngMatrix) == 16 * sizeof(float), "EngMatrix must be 16 packed floats");

float EngMathDotProduct2d(const _Vector2d *a, const _Vector2d *b);
int EngMathAbsInt(int value);
float EngMathAbsFloat(float value);
// Nearest integer; an exact half rounds toward zero (2.5 gives 2, -2.5 gives -2).
// Beyond the int range the result is INT_MIN or INT_MAX; NaN gives 0.
int EngMathRoundFloatToInt(float value);
int EngMathRoundDoubleToInt(double value);
// Truncated toward zero, with the same limits as the rounding.
int EngMathTruncateToInt(double value);
// Raised to minimum, then lowered to maximum: maximum wins when minimum > maximum.
int EngMathClampInt(int value, int minimum, int maximum);
// Scales to length 1; a null or zero vector is left as it is.
void EngMathNormaliseVector3d(_Vector3d *v);
// The cross product (b - a) x (p - a): positive on the counter-clockwise side
// of a -> b in a y-up frame, negative on the other, 0 on the line.
float EngMathGetSideOfLine(const _Vector2d *p, const _Vector2d *a, const _Vector2d *b);
// True when some axis has a pair that is not (0, 0) and has min <= max.
bool EngMathIsRange3dSet(const _EngRange3d *range);
// Draws x, then y, then z from their ranges (the order of the random draws).
void EngMathGetRandomVector3dInRange3d(_Vector3d *out, const _EngRange3d *range);
// out = from + (to - from) x fraction per field (fraction not limited);
// false when a pointer is null.
bool EngMathInterpolateDimension(const _Dimension *from, const _Dimension *to, float fraction, _Dimension *out);
