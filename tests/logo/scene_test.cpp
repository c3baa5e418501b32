// The cube scene: the angle advance and its keys, the face table's geometry, the
// projection, and a drawn frame read back from a GL window of the test's own.
#include "kytest.h"

#include <cmath>

#include "logo/logo.h"
#include "logo/scene.h"
#include "logo_gl.h"

namespace {

struct Vec {
    double x, y, z;
};
Vec sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec position(const FaceVertex &v) { return {v.x, v.y, v.z}; }

struct Texel3 {
    int r, g, b;
};
const double pi = 3.14159265358979323846;

// Records the scene remembers, with a window of this thread to receive its posts.
struct SceneRecords {
    KeyTable keys = {};
    LogoWindow window = {};
};

// Points the scene at `records`; with no pictures in the folder it loads nothing and
// sets no GL state, which is all the angle and key cases need.
void attachScene(SceneRecords *records, HWND target)
{
    records->window.window = target;
    records->window.keyTable = &records->keys;
    logotest::InFolder empty(logotest::pictureFolder("scene", {}));
    ASSERT_TRUE(empty.ok());
    ASSERT_EQ(prepareLogoScene(&records->window, &records->keys), 0) << "no pictures, no scene";
}

bool takePosted(HWND window, UINT message)
{
    MSG msg;
    return PeekMessageA(&msg, window, message, message, PM_REMOVE) != 0;
}

TEST(SceneAngles, TurnByElapsedTimeAtThreeSpeedsAndCarryOn)
{
    SceneRecords records;
    HWND target = kytest::createTestWindow(0, 0, 100, 100, RGB(0, 0, 0));
    attachScene(&records, target);
    spinX = spinY = spinZ = 0;
    advanceLogoScene(1000.0f);
    EXPECT_NEAR(spinX, 31.25f, 1e-4) << "1/32 degree per millisecond about x";
    EXPECT_NEAR(spinY, 62.5f, 1e-4) << "1/16 degree per millisecond about y";
    EXPECT_NEAR(spinZ, 20.8333f, 1e-3) << "1/48 degree per millisecond about z";
    advanceLogoScene(0.0f);
    EXPECT_FLOAT_EQ(spinX, 31.25f) << "no time, no turn";
    for (int i = 0; i < 100; ++i)
        advanceLogoScene(100.0f);
    EXPECT_NEAR(spinX, 31.25f + 312.5f, 1e-2) << "the angles go on from where they were";
    EXPECT_NEAR(spinY, 327.5f, 1e-2) << "62.5 + 625 degrees, kept below 360";
    EXPECT_FALSE(takePosted(target, WM_QUIT)) << "no key, no request";
    DestroyWindow(target);
}

// Hours of turning, or one long minimize, must not stop the cube: a growing float angle
// loses the fractions of each frame's step.
TEST(SceneAngles, LongTurnsKeepTheAnglesBelow360AndTurning)
{
    struct {
        float elapsedMs;  // one frame, as after a minimize of that long
        float x, y;       // degrees after it, from 0
    } const cases[] = {
        {32400000.0f, 180.0f, 0.0f},    // 9 hours: 1,012,500 and 2,025,000 degrees
        {11520.0f, 0.0f, 0.0f},         // one whole turn about x, two about y
    };
    for (const auto &c : cases) {
        spinX = spinY = spinZ = 0;
        advanceLogoScene(c.elapsedMs);
        EXPECT_NEAR(spinX, c.x, 1e-3) << c.elapsedMs << " ms about x";
        EXPECT_NEAR(spinY, c.y, 1e-3) << c.elapsedMs << " ms about y";
        EXPECT_GE(spinZ, 0.0f);
        EXPECT_LT(spinZ, 360.0f);
        // Frames of 1.65 ms (about 600 a second) go on turning by their own step.
        for (int frame = 0; frame < 1000; ++frame) {
            const float x = spinX, y = spinY;
            advanceLogoScene(1.65f);
            const float stepX = fmodf(spinX - x + 360.0f, 360.0f), stepY = fmodf(spinY - y + 360.0f, 360.0f);
            ASSERT_NEAR(stepX, 1.65f / 32, 1e-4) << "frame " << frame << " after " << c.elapsedMs << " ms";
            ASSERT_NEAR(stepY, 1.65f / 16, 1e-4) << "frame " << frame << " after " << c.elapsedMs << " ms";
            ASSERT_LT(spinY, 360.0f);
        }
    }
    spinX = spinY = spinZ = 0;
}

TEST(SceneAngles, EscapeEndsAndF1TogglesEveryFrameWhileHeld)
{
    SceneRecords records;
    HWND target = kytest::createTestWindow(0, 0, 100, 100, RGB(0, 0, 0));
    attachScene(&records, target);
    logoRunning = 1;
    records.keys.down[VK_F1] = 1;
    advanceLogoScene(10.0f);
    EXPECT_TRUE(takePosted(target, WM_LOGO_TOGGLE_SCREEN)) << "F1 asks for the other screen mode";
    EXPECT_EQ(logoRunning, 1) << "F1 alone does not end the show";

    records.keys.down[VK_ESCAPE] = 1;
    float before = spinX;
    advanceLogoScene(10.0f);
    EXPECT_TRUE(takePosted(target, WM_QUIT)) << "Esc posts the quit for the show's window";
    EXPECT_TRUE(takePosted(target, WM_LOGO_TOGGLE_SCREEN)) << "both keys are tested in the same frame";
    EXPECT_EQ(logoRunning, 0) << "Esc ends the show";
    EXPECT_GT(spinX, before) << "the keys don't stop the turn";
    DestroyWindow(target);
}

TEST(CubeFaces, EveryFaceRunsCounterClockwiseFromOutsideWithItsPictureUnmirrored)
{
    const char *names[] = {"front", "back", "top", "bottom", "right", "left"};
    const int textureGroup[] = {0, 0, 1, 1, 2, 2};
    const Vec outward[] = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
    for (int f = 0; f < cubeFaceCount; ++f) {
        const CubeFace &face = cubeFaces[f];
        SCOPED_TRACE(names[f]);
        EXPECT_EQ(face.texture, textureGroup[f]);
        int corners = 0;
        for (const FaceVertex &v : face.vertex) {
            EXPECT_DOUBLE_EQ(dot(position(v), outward[f]), 1.0) << "every vertex lies on the face's plane";
            EXPECT_TRUE(std::fabs(v.x) == 1 && std::fabs(v.y) == 1 && std::fabs(v.z) == 1) << "a cube corner";
            EXPECT_TRUE((v.s == 0 || v.s == 1) && (v.t == 0 || v.t == 1)) << "the whole picture";
            corners |= 1 << static_cast<int>(v.s * 2 + v.t);
        }
        EXPECT_EQ(corners, 15) << "each picture corner exactly once";
        for (int i = 0; i < 4; ++i) {
            Vec a = position(face.vertex[i]), b = position(face.vertex[(i + 1) % 4]),
                c = position(face.vertex[(i + 2) % 4]);
            EXPECT_GT(dot(cross(sub(b, a), sub(c, b)), outward[f]), 0) << "turn at vertex " << i + 2;
        }
        // Directions in space in which the picture's s and t grow.
        const FaceVertex *origin = nullptr, *alongS = nullptr, *alongT = nullptr;
        for (const FaceVertex &v : face.vertex) {
            if (v.s == 0 && v.t == 0)
                origin = &v;
            if (v.s == 1 && v.t == 0)
                alongS = &v;
            if (v.s == 0 && v.t == 1)
                alongT = &v;
        }
        ASSERT_TRUE(origin && alongS && alongT);
        Vec sDir = sub(position(*alongS), position(*origin)), tDir = sub(position(*alongT), position(*origin));
        EXPECT_GT(dot(cross(sDir, tDir), outward[f]), 0) << "the picture reads unmirrored from outside";
        if (outward[f].y == 0) {
            EXPECT_GT(tDir.y, 0) << "the picture's top is towards +y";
        }
    }
}

TEST(Projection, AspectIsWidthOverHeightAndAZeroHeightNeverDivides)
{
    EXPECT_DOUBLE_EQ(projectionAspect(800, 600), 800.0 / 600.0);
    EXPECT_DOUBLE_EQ(projectionAspect(640, 480), 640.0 / 480.0);
    EXPECT_DOUBLE_EQ(projectionAspect(640, 0), 640.0) << "a zero height counts as 1";
    EXPECT_TRUE(std::isfinite(projectionAspect(0, 0)));
}

class SceneGl : public testing::Test {
protected:
    void SetUp() override
    {
        if (!logotest::openGlWindow(&gl_, 256, 256))
            GTEST_SKIP() << "OpenGL is not available in this run: " << gl_.why;
    }
    void TearDown() override { logotest::closeGlWindow(&gl_); }
    logotest::GlWindow gl_;
};

TEST_F(SceneGl, ProjectionFollowsTheClientSize)
{
    float m[16];
    setLogoProjection(800, 600);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5] / m[0], 800.0 / 600.0, 1e-5) << "the aspect of an 800 x 600 window";
    EXPECT_NEAR(m[5], 1.0 / std::tan(22.5 * pi / 180.0), 1e-4) << "a 45 degree field of view";
    GLint mode = 0, viewport[4] = {};
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(mode, GL_MODELVIEW) << "the model-view matrix is current afterwards";
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);

    setLogoProjection(640, 0);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(m[i])) << "entry " << i << " after a zero client height";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneGl, PreparedSceneDrawsTheCubeWithSeeThroughHoles)
{
    logotest::InFolder here(kytest::programFolder());
    ASSERT_TRUE(here.ok());
    SceneRecords records;
    records.window.window = gl_.window;
    records.window.keyTable = &records.keys;
    ASSERT_EQ(prepareLogoScene(&records.window, &records.keys), 1) << "both pictures are in the program folder";
    EXPECT_TRUE(glIsTexture(frontBackTexture) && glIsTexture(topBottomTexture) && glIsTexture(sideTexture));
    EXPECT_NE(topBottomTexture, sideTexture) << "the sides get a texture of their own";
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST) && glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_CULL_FACE));

    setLogoProjection(256, 256);
    spinX = spinY = spinZ = 0;  // the front face straight on
    renderLogoScene();
    std::vector<unsigned char> frame(256 * 256 * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    auto pixel = [&](int x, int yFromTop) {
        const unsigned char *p = &frame[(static_cast<size_t>(255 - yFromTop) * 256 + x) * 4];
        return Texel3{p[0], p[1], p[2]};
    };
    // The front face spans about 128 +- 77 pixels: 1 unit at a distance of 4 with a
    // 45 degree view. Picture point (u, v) from its top-left lands at 128 + (2u - 1) * 77.
    auto onFront = [&](double u, double v) {
        return pixel(static_cast<int>(128 + (2 * u - 1) * 77.25), static_cast<int>(128 + (2 * v - 1) * 77.25));
    };
    Texel3 outside = pixel(10, 10);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0) << "the background is black";
    Texel3 upper = onFront(0.5, 0.08);
    EXPECT_GT(upper.r, 200) << "the amber top of ky.jpg on the front face";
    EXPECT_GT(upper.g, 120);
    EXPECT_LT(upper.b, 90);
    Texel3 lower = onFront(0.5, 0.92);
    EXPECT_GT(lower.r, 150) << "the crimson bottom of ky.jpg: the picture is upright";
    EXPECT_LT(lower.g, 90);
    // The K's stem is pure black in the picture: through it the inner side of the back
    // face shows, there the picture's pale frame (the back face shows it mirrored).
    Texel3 hole = onFront(45.0 / 256, 0.5);
    EXPECT_GT(hole.r + hole.g + hole.b, 450) << "the black letter is a hole onto the back face's frame, got "
                                            << hole.r << "," << hole.g << "," << hole.b;
}

}  // namespace
