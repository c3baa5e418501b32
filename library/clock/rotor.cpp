// The rotor face as plain triangles: a yellow glow disc, three black blades and a black
// hub. Building the vertices apart from GradientFill lets them be checked directly.
#include "clock/face.h"

#include <math.h>

#include "frame/lazycalls.h"

namespace {

const float centre = 64.0f;
const float tenDegrees = 0.17453292f;
const float thirdOfTurn = 2.0943951023866667f;
const float bladeHalfWidth = 0.4f;
const float segmentAngle = 0.08f;
const float bladeInner = 16.0f, bladeOuter = 50.0f, hubRadius = 12.0f;
const COLOR16 full = 0xFF00, half = 0x7F00;

// Coordinates are truncated toward zero; every one lies between 0 and 128.
TRIVERTEX vertex(float x, float y, COLOR16 red, COLOR16 green, COLOR16 blue, COLOR16 alpha)
{
    TRIVERTEX v;
    v.x = static_cast<LONG>(x);
    v.y = static_cast<LONG>(y);
    v.Red = red;
    v.Green = green;
    v.Blue = blue;
    v.Alpha = alpha;
    return v;
}

TRIVERTEX black(float radius, float angle)
{
    return vertex(radius * cosf(angle) + centre, radius * sinf(angle) + centre, 0, 0, 0, full);
}

void triangle(FaceTriangle &t, const TRIVERTEX &a, const TRIVERTEX &b, const TRIVERTEX &c)
{
    t.vertex[0] = a;
    t.vertex[1] = b;
    t.vertex[2] = c;
}

}  // namespace

int buildFaceTriangles(float theta, FaceTriangle (&out)[faceTriangleCount])
{
    int n = 0;
    // The glow: opaque-ish yellow at the centre fading to nothing at the rim.
    for (int k = 0; k < faceTrianglesPerCircle; ++k) {
        float a = k * tenDegrees, b = a + tenDegrees;
        triangle(out[n++], vertex(centre, centre, full, full, 0, half),
                 vertex((cosf(a) + 1.0f) * centre, (sinf(a) + 1.0f) * centre, 0, 0, 0, 0),
                 vertex((cosf(b) + 1.0f) * centre, (sinf(b) + 1.0f) * centre, 0, 0, 0, 0));
    }
    // Blades: rings between the inner and outer radius, ten segments each.
    for (int j = 0; j < faceBlades; ++j) {
        float phi = theta + j * thirdOfTurn;
        for (int i = 0; i < faceSegmentsPerBlade; ++i) {
            float d = phi - bladeHalfWidth + segmentAngle * i, e = d + segmentAngle;
            triangle(out[n++], black(bladeInner, d), black(bladeOuter, d), black(bladeOuter, e));
            triangle(out[n++], black(bladeInner, e), black(bladeInner, d), black(bladeOuter, e));
        }
    }
    // The hub covers the blades' inner ends.
    for (int k = 0; k < faceTrianglesPerCircle; ++k) {
        float a = k * tenDegrees, b = a + tenDegrees;
        triangle(out[n++], vertex(centre, centre, 0, 0, 0, full), black(hubRadius, a), black(hubRadius, b));
    }
    return n;
}

float rotorAngle(unsigned int ticks)
{
    // Computed in double and reduced to one turn, so the single-precision angle keeps
    // its 0.125 rad step however long the clock has been running.
    const double turn = 6.283185307179586;
    return static_cast<float>(fmod(ticks * 0.125, turn));
}

void drawRotorFace(HDC hdc, float theta)
{
    FaceTriangle triangles[faceTriangleCount];
    int count = buildFaceTriangles(theta, triangles);
    GRADIENT_TRIANGLE order = {0, 1, 2};
    for (int i = 0; i < count; ++i)
        lazyCalls.GradientFill(hdc, triangles[i].vertex, 3, &order, 1, GRADIENT_FILL_TRIANGLE);
}
