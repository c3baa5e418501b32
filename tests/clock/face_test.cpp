// The clock face: the rotor's triangles as data, and frames rendered into a surface made
// exactly like the clock's, checked pixel by pixel. Uses the test program's own copy of
// the library, whose clock record it may set directly.
#include "kytest.h"

#include <math.h>
#include <string.h>

#include "clock/clock.h"
#include "clock/face.h"

namespace {

const double pi = 3.14159265358979323846;

struct Pixel {
    int blue, green, red, alpha;
};

// A memory context holding a 128 x 128 top-down 32-bit section, as the clock makes one.
struct TestSurface {
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ displaced = NULL;
    unsigned char *bits = NULL;
};

bool makeSurface(TestSurface &s)
{
    BITMAPINFO info = {};
    buildClockSurfaceHeader(&info.bmiHeader);
    s.dc = CreateCompatibleDC(NULL);
    void *bits = NULL;
    s.bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!s.dc || !s.bitmap || !bits)
        return false;
    s.displaced = SelectObject(s.dc, s.bitmap);
    s.bits = static_cast<unsigned char *>(bits);
    memset(s.bits, 0, clockSurfaceBytes);
    return true;
}

void freeSurface(TestSurface &s)
{
    if (s.dc && s.displaced)
        SelectObject(s.dc, s.displaced);
    if (s.dc)
        DeleteDC(s.dc);
    if (s.bitmap)
        DeleteObject(s.bitmap);
    s = TestSurface();
}

Pixel pixelAt(const TestSurface &s, int x, int y)
{
    GdiFlush();
    const unsigned char *p = s.bits + 4 * (x + clockSide * y);
    return Pixel{p[0], p[1], p[2], p[3]};
}

Pixel polar(const TestSurface &s, double radius, double angle)
{
    return pixelAt(s, static_cast<int>(64 + radius * cos(angle)), static_cast<int>(64 + radius * sin(angle)));
}

bool opaqueBlack(const Pixel &p)
{
    return p.red == 0 && p.green == 0 && p.blue == 0 && p.alpha == 255;
}

::testing::AssertionResult isGlow(const Pixel &p)
{
    if (p.blue == 0 && abs(p.red - p.green) <= 1 && p.red > 0 && p.alpha > 0 && p.alpha < 127)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (b,g,r,a) = (" << p.blue << "," << p.green << "," << p.red << ","
                                         << p.alpha << ") is not the disc's translucent yellow";
}

TEST(ClockSurface, HeaderIsTopDown128By128At32BitsWithItsImageSize)
{
    BITMAPINFOHEADER header;
    memset(&header, 0xCC, sizeof header);  // every byte must be written
    buildClockSurfaceHeader(&header);
    const unsigned char expected[40] = {40, 0, 0, 0,  0x80, 0, 0, 0,  0x80, 0xFF, 0xFF, 0xFF,  1, 0,  32, 0,
                                        0, 0, 0, 0,  0, 0, 1, 0};  // 65536 image bytes; the rest 0
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&header);
    for (size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i << " of the clock surface header";
}

TEST(ClockFace, TrianglesStayOnTheSurfaceAndCarryTheLayerColours)
{
    FaceTriangle triangles[faceTriangleCount];
    for (float theta = -1.0f; theta < 8.0f; theta += 0.37f) {
        ASSERT_EQ(buildFaceTriangles(theta, triangles), 132) << "36 disc, 60 blade and 36 hub triangles";
        for (int t = 0; t < faceTriangleCount; ++t)
            for (const TRIVERTEX &v : triangles[t].vertex) {
                ASSERT_TRUE(v.x >= 0 && v.x <= 128 && v.y >= 0 && v.y <= 128)
                    << "triangle " << t << " at theta " << theta << " leaves the surface: " << v.x << "," << v.y;
            }
    }
    buildFaceTriangles(0.0f, triangles);
    const TRIVERTEX &hot = triangles[0].vertex[0];
    EXPECT_EQ(hot.x, 64);
    EXPECT_EQ(hot.y, 64);
    EXPECT_EQ(hot.Red, 0xFF00);
    EXPECT_EQ(hot.Green, 0xFF00);
    EXPECT_EQ(hot.Blue, 0);
    EXPECT_EQ(hot.Alpha, 0x7F00) << "the disc is half opaque at its centre";
    EXPECT_EQ(triangles[0].vertex[1].x, 128) << "the first rim vertex lies on the right edge";
    EXPECT_EQ(triangles[0].vertex[1].Alpha, 0) << "the rim is fully transparent";
    for (int t = 36; t < faceTriangleCount; ++t)
        for (const TRIVERTEX &v : triangles[t].vertex)
            EXPECT_TRUE(v.Red == 0 && v.Green == 0 && v.Blue == 0 && v.Alpha == 0xFF00)
                << "blade and hub triangle " << t << " must be opaque black";
}

TEST(ClockFace, RotorAngleAdvancesExactlyAnEighthOfARadianAFrame)
{
    EXPECT_EQ(rotorAngle(0), 0.0f);
    EXPECT_EQ(rotorAngle(1), 0.125f);
    EXPECT_EQ(rotorAngle(40), 5.0f);
    const unsigned int starts[] = {0u, 50u, 51u, 1000u, 1u << 24, 1u << 27, 0x7FFFFFFFu, 4000000000u};
    for (unsigned int n : starts) {
        double step = static_cast<double>(rotorAngle(n + 1)) - rotorAngle(n);
        if (step < 0)
            step += 2 * pi;
        EXPECT_NEAR(step, 0.125, 1e-5) << "frame " << n << ": a slow or late tick never makes the rotor jump";
        EXPECT_TRUE(rotorAngle(n) >= 0.0f && rotorAngle(n) < 6.2832f) << "frame " << n;
    }
}

TEST(ClockFace, TimeTextIsAlwaysEightCharacters)
{
    struct tm t = {};
    char text[9];
    formatClockTime(t, text);
    EXPECT_STREQ(text, "00:00:00") << "midnight keeps its leading zeros";
    t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3;
    formatClockTime(t, text);
    EXPECT_STREQ(text, "09:05:03");
    t.tm_hour = 23, t.tm_min = 59, t.tm_sec = 60;  // a leap second must not widen the text
    formatClockTime(t, text);
    EXPECT_STREQ(text, "23:59:59");
}

TEST(ClockFace, RenderedFaceHasClearCornersBlackHubBladesAndGlow)
{
    TestSurface s;
    ASSERT_TRUE(makeSurface(s)) << "a 32-bit DIB section in a memory context";
    drawRotorFace(s.dc, 0.0f);

    const int corners[4][2] = {{0, 0}, {127, 0}, {0, 127}, {127, 127}};
    for (const auto &c : corners) {
        Pixel p = pixelAt(s, c[0], c[1]);
        EXPECT_TRUE(p.red == 0 && p.green == 0 && p.blue == 0 && p.alpha == 0)
            << "corner " << c[0] << "," << c[1] << " lies outside the disc and stays clear";
    }
    EXPECT_TRUE(opaqueBlack(pixelAt(s, 64, 64))) << "the hub at the centre";
    for (int j = 0; j < 3; ++j)
        for (int r = 18; r <= 48; r += 3)
            EXPECT_TRUE(opaqueBlack(polar(s, r, j * 2 * pi / 3)))
                << "blade " << j << " at radius " << r << " along its centre line, "
                << j * 120 << " degrees clockwise from the right";
    for (int j = 0; j < 3; ++j)
        EXPECT_TRUE(isGlow(polar(s, 30, pi / 3 + j * 2 * pi / 3))) << "between blades " << j << " and " << j + 1;
    EXPECT_TRUE(isGlow(polar(s, 56, 0.0))) << "beyond the blades' tips the disc shows";
    Pixel inner = polar(s, 30, pi / 3), outer = polar(s, 56, pi / 3);
    EXPECT_GT(inner.alpha, outer.alpha) << "the glow fades towards the rim";
    freeSurface(s);
}

TEST(ClockFace, GrowingAnglesTurnTheRotorClockwise)
{
    TestSurface s;
    ASSERT_TRUE(makeSurface(s));
    drawRotorFace(s.dc, 0.5f);  // four frames on
    EXPECT_TRUE(opaqueBlack(polar(s, 35, 0.5))) << "blade 0 has turned to 0.5 rad, below the right-hand line";
    EXPECT_TRUE(isGlow(polar(s, 35, -0.3))) << "and has left the space above that line";
    freeSurface(s);
}

TEST(ClockFace, EachFrameIsTheFaceOfItsTickUnderTheTimeText)
{
    // The clock's record is pointed at a test surface, with no window to show it on.
    TestSurface frame, reference;
    ASSERT_TRUE(makeSurface(frame));
    ASSERT_TRUE(makeSurface(reference));
    ClockState saved = clockState;
    clockState.memoryDc = frame.dc;
    clockState.surfaceBits = frame.bits;
    clockState.window = NULL;
    clockState.updateLayeredWindow = NULL;

    SIZE extent = {};
    ASSERT_TRUE(GetTextExtentPoint32A(frame.dc, "00:00:00", 8, &extent));
    const unsigned int ticks[] = {0u, 7u, 1000u, 0xFFFFFFFFu};
    for (unsigned int tick : ticks) {
        memset(frame.bits, 0x5A, clockSurfaceBytes);  // the frame must clear what was there
        clockState.clockTicks = tick;
        drawClockFrame();
        EXPECT_EQ(clockState.clockTicks, tick + 1u) << "one frame, one tick";

        memset(reference.bits, 0, clockSurfaceBytes);
        drawRotorFace(reference.dc, rotorAngle(tick));
        int differing = 0, white = 0, rightmostWhite = -1;
        for (int y = 0; y < clockSide; ++y)
            for (int x = 0; x < clockSide; ++x) {
                Pixel got = pixelAt(frame, x, y);
                if (got.red == 255 && got.green == 255 && got.blue == 255) {
                    ++white;
                    rightmostWhite = x > rightmostWhite ? x : rightmostWhite;
                    EXPECT_TRUE(x < extent.cx && y < extent.cy) << "text pixel " << x << "," << y << " outside the text box";
                    continue;
                }
                if (x < extent.cx && y < extent.cy)
                    continue;  // inside the text box the glyphs' edges may differ
                Pixel want = pixelAt(reference, x, y);
                if (memcmp(&got, &want, sizeof got) != 0)
                    ++differing;
            }
        EXPECT_EQ(differing, 0) << "frame at tick " << tick << " is the face at " << rotorAngle(tick) << " rad";
        EXPECT_GT(white, 20) << "the time is written in white";
        EXPECT_GE(rightmostWhite, extent.cx * 3 / 4) << "all eight characters are drawn, as wide as 00:00:00";
    }
    clockState = saved;
    freeSurface(reference);
    freeSurface(frame);
}

}  // namespace
