// The 32-bit and the 64-bit library must draw the same pictures. Everything here is
// floating point that becomes a pixel or an angle; each result is reduced to a checksum
// and compared with a literal recorded from the x86-64 build, so the 32-bit run fails
// when its arithmetic lands a vertex one pixel apart (as x87 excess precision once did,
// leaving a hole in the clock's hub).
#include "kytest.h"

#include <string.h>

#include "clock/clock.h"
#include "clock/face.h"
#include "logo/scene.h"

namespace {

// FNV-1a over bytes: a change of any one byte changes the sum.
unsigned int fnv1a(const void *data, size_t size, unsigned int sum = 2166136261u)
{
    const unsigned char *p = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i)
        sum = (sum ^ p[i]) * 16777619u;
    return sum;
}

unsigned int triangleSum(unsigned int ticks)
{
    FaceTriangle triangles[faceTriangleCount];
    int count = buildFaceTriangles(rotorAngle(ticks), triangles);
    unsigned int sum = 2166136261u;
    for (int t = 0; t < count; ++t)
        for (const TRIVERTEX &v : triangles[t].vertex) {
            LONG xy[2] = {v.x, v.y};
            sum = fnv1a(xy, sizeof xy, sum);
        }
    return sum;
}

// The face of frame `ticks` drawn into a cleared 32-bit section like the clock's own.
struct Render {
    bool made;
    unsigned int sum;
    int hubHoles;  // pixels within 3 of the centre that are not opaque black
};

Render renderFace(unsigned int ticks)
{
    Render r = {false, 0, 0};
    BITMAPINFO info = {};
    buildClockSurfaceHeader(&info.bmiHeader);
    HDC dc = CreateCompatibleDC(NULL);
    void *bits = NULL;
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0) : NULL;
    if (dc && bitmap && bits) {
        HGDIOBJ displaced = SelectObject(dc, bitmap);
        memset(bits, 0, clockSurfaceBytes);
        drawRotorFace(dc, rotorAngle(ticks));
        GdiFlush();
        const unsigned char *p = static_cast<const unsigned char *>(bits);
        r.made = true;
        r.sum = fnv1a(p, clockSurfaceBytes);
        for (int y = 61; y <= 67; ++y)
            for (int x = 61; x <= 67; ++x) {
                const unsigned char *q = p + 4 * (x + clockSide * y);
                if (q[0] || q[1] || q[2] || q[3] != 255)
                    ++r.hubHoles;
            }
        SelectObject(dc, displaced);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return r;
}

struct FrameSums {
    unsigned int ticks, triangles, pixels;
};

const FrameSums expectedFrames[] = {
    {0, 3888484645u, 604628911u},
    {1, 3131250443u, 3307024137u},
    {5, 2050425801u, 2515155570u},
    {17, 4160756556u, 938710905u},
    {38, 674069985u, 1980291997u},
    {50, 1161385979u, 1306983032u},
    {1000003, 642193520u, 4175407012u},
};

}  // namespace

TEST(BuildParity, ClockFaceIsTheSameVertexForVertexAndPixelForPixel)
{
    for (const FrameSums &f : expectedFrames) {
        EXPECT_EQ(triangleSum(f.ticks), f.triangles) << "face vertices of frame " << f.ticks;
        Render r = renderFace(f.ticks);
        ASSERT_TRUE(r.made) << "a 32-bit section in a memory context";
        EXPECT_EQ(r.hubHoles, 0) << "the 7 x 7 centre of frame " << f.ticks << " is opaque black";
        EXPECT_EQ(r.sum, f.pixels) << "face pixels of frame " << f.ticks;
    }
}

TEST(BuildParity, LogoAnglesAdvanceTheSameWay)
{
    // The frame times of a show at uneven rates, added up as the show does.
    const float elapsed[] = {16.7f, 0.5f, 33.3f, 1000.0f, 7.25f, 0.001f, 250.0f, 16.7f};
    spinX = spinY = spinZ = 0.0f;
    for (int round = 0; round < 50; ++round)
        for (float ms : elapsed)
            advanceLogoScene(ms);
    float angles[3] = {spinX, spinY, spinZ};
    spinX = spinY = spinZ = 0.0f;
    EXPECT_EQ(fnv1a(angles, sizeof angles), 3288649779u) << "angles " << angles[0] << " " << angles[1] << " " << angles[2];
}
