// The picture loader: texture sizing, pixel conversion and path rules directly, then
// real loads of the show's JPEGs into a GL context of the test's own.
#include "kytest.h"

#include <cmath>
#include <cstring>

#include "logo/picture.h"
#include "logo_gl.h"

namespace {

TEST(TextureSizing, NearestPowerOfTwoOnALogScaleUpToTheMaximum)
{
    EXPECT_EQ(textureSide(300, 1024), 256) << "log2 300 is about 8.23";
    EXPECT_EQ(textureSide(200, 1024), 256) << "log2 200 is about 7.64";
    EXPECT_EQ(textureSide(181, 1024), 128) << "181 lies below 128 * sqrt 2";
    EXPECT_EQ(textureSide(182, 1024), 256) << "182 lies above 128 * sqrt 2";
    EXPECT_EQ(textureSide(3000, 2048), 2048) << "a side above the maximum is the maximum";
    EXPECT_EQ(textureSide(2048, 2048), 2048) << "a side equal to the maximum keeps it";
    EXPECT_EQ(textureSide(1, 1024), 1);
    EXPECT_EQ(textureSide(256, 1024), 256);
    // Every side agrees with the logarithmic rule itself.
    for (int s = 1; s <= 5000; ++s) {
        int expected = 1 << static_cast<int>(std::floor(std::log(s) / std::log(2.0) + 0.5));
        ASSERT_EQ(textureSide(s, 8192), expected) << "side " << s;
    }
}

TEST(TextureSizing, NoSideForAnEmptyPictureOrWithoutAMaximum)
{
    EXPECT_EQ(textureSide(0, 1024), 0) << "an empty picture gets no texture";
    EXPECT_EQ(textureSide(-5, 1024), 0);
    EXPECT_EQ(textureSide(300, 0), 0) << "without a GL context the maximum stays 0";
    EXPECT_EQ(textureSide(0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF)
        << "the largest side rounds past 2^30 without overflowing and stops at the maximum";
}

TEST(PixelConversion, SwapsToRgbaAndMakesOnlyPureBlackTransparent)
{
    // Input bytes are blue, green, red, alpha; the alpha that comes in is ignored.
    unsigned char pixels[] = {
        0, 0, 0, 77,        // pure black
        0, 0, 1, 0,         // red 1
        5, 0, 0, 0,         // blue 5
        10, 20, 30, 0,      // a colour
        0, 1, 0, 200,       // green 1
    };
    convertPixelsToRgba(pixels, 5);
    const unsigned char expected[] = {
        0, 0, 0, 0, 1, 0, 0, 255, 0, 0, 5, 255, 30, 20, 10, 255, 0, 1, 0, 255,
    };
    for (size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(pixels[i], expected[i]) << "byte " << i % 4 << " of pixel " << i / 4;
}

TEST(PicturePath, CurrentFolderJoinedAndUrlsPassedThrough)
{
    char path[picturePathSize];
    ASSERT_EQ(buildPicturePath("ky.jpg", "C:\\show", path, sizeof path), 1);
    EXPECT_STREQ(path, "C:\\show\\ky.jpg");
    ASSERT_EQ(buildPicturePath("see http://example.org/ky.jpg", "C:\\show", path, sizeof path), 1);
    EXPECT_STREQ(path, "see http://example.org/ky.jpg") << "\"http://\" anywhere makes the name a URL";
    ASSERT_EQ(buildPicturePath("https://example.org/ky.jpg", "C:\\show", path, sizeof path), 1);
    EXPECT_STREQ(path, "C:\\show\\https://example.org/ky.jpg") << "only \"http://\" is taken for a URL";
}

TEST(PicturePath, TooLongFailsWithoutWritingPastTheBuffer)
{
    std::string deep = "C:\\" + std::string(250, 'd');
    char buffer[picturePathSize + 8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(buildPicturePath("kydoru.jpg", deep.c_str(), buffer, picturePathSize), 0)
        << "a 253-character folder plus a name is longer than 260 characters";
    for (size_t i = picturePathSize; i < sizeof buffer; ++i)
        ASSERT_EQ(buffer[i], '#') << "byte " << i << " after the path buffer was written";

    std::string fits = std::string(picturePathSize - 1 - 7, 'f');  // "\ky.jpg" takes 7
    EXPECT_EQ(buildPicturePath("ky.jpg", fits.c_str(), buffer, picturePathSize), 1) << "260 characters fit";
    EXPECT_EQ(strlen(buffer), size_t(picturePathSize - 1));
    std::string url = "http://" + std::string(picturePathSize, 'u');
    EXPECT_EQ(buildPicturePath(url.c_str(), "C:\\", buffer, picturePathSize), 0) << "an overlong URL fails too";
}

TEST(PictureLoader, FailsWithoutAGlContext)
{
    ASSERT_EQ(wglGetCurrentContext(), static_cast<HGLRC>(NULL)) << "this case needs no current context";
    logotest::InFolder here(kytest::programFolder());
    ASSERT_TRUE(here.ok());
    unsigned int texture = 0xBADF00D;
    EXPECT_EQ(loadPictureTexture("ky.jpg", &texture), 0) << "without a GL context there is no texture size";
    EXPECT_EQ(texture, 0xBADF00Du) << "a failed load writes nothing";
}

class PictureLoaderGl : public testing::Test {
protected:
    void SetUp() override
    {
        if (!logotest::openGlWindow(&gl_, 64, 64))
            GTEST_SKIP() << "OpenGL is not available in this run: " << gl_.why;
    }
    void TearDown() override { logotest::closeGlWindow(&gl_); }
    logotest::GlWindow gl_;
};

// Texel (x, y) of the bound texture, y counted from the bottom row.
struct Texel {
    int r, g, b, a;
};

TEST_F(PictureLoaderGl, LoadsTheFrontPictureUprightWithItsBlackAsHoles)
{
    logotest::InFolder here(kytest::programFolder());
    ASSERT_TRUE(here.ok());
    unsigned int texture = 0;
    ASSERT_EQ(loadPictureTexture("ky.jpg", &texture), 1) << "ky.jpg in " << kytest::programFolder();
    ASSERT_TRUE(glIsTexture(texture));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), texture) << "the new texture stays bound";
    GLint width = 0, height = 0, minFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    ASSERT_EQ(width, 256) << "a 256-pixel picture keeps its size";
    ASSERT_EQ(height, 256);
    EXPECT_EQ(minFilter, GL_LINEAR);

    std::vector<unsigned char> texels(256 * 256 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto at = [&](int x, int y) {
        const unsigned char *p = &texels[(static_cast<size_t>(y) * 256 + x) * 4];
        return Texel{p[0], p[1], p[2], p[3]};
    };
    // The picture runs from amber at its top to crimson at its bottom; row 0 is the bottom.
    Texel bottom = at(128, 16), top = at(128, 239);
    EXPECT_GT(bottom.r, 150) << "bottom row";
    EXPECT_LT(bottom.g, 80) << "the bottom of the picture is crimson: row 0 must be the picture's bottom";
    EXPECT_GT(top.r, 200);
    EXPECT_GT(top.g, 140) << "the top of the picture is amber";
    EXPECT_LT(top.b, 80) << "red and blue must have been exchanged";
    EXPECT_EQ(bottom.a, 255);
    EXPECT_EQ(top.a, 255);
    // The corner dot at picture (30, 30) from the top-left is pure black: a hole.
    Texel dot = at(30, 255 - 30);
    EXPECT_EQ(dot.a, 0) << "pure black must become transparent";
    EXPECT_EQ(dot.r + dot.g + dot.b, 0);
    size_t holes = 0;
    for (size_t i = 3; i < texels.size(); i += 4)
        holes += texels[i] == 0;
    EXPECT_GT(holes, size_t(8000)) << "the letters and the dots are see-through";
    EXPECT_LT(holes, size_t(30000));
    glDeleteTextures(1, &texture);
}

TEST_F(PictureLoaderGl, MissingOrUndecodableFileFailsAndWritesNothing)
{
    std::string folder = logotest::pictureFolder("loader", {});
    logotest::InFolder there(folder);
    ASSERT_TRUE(there.ok());
    HANDLE junk = CreateFileA("kydoru.jpg", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(junk, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(junk, "not a picture", 13, &written, NULL);
    CloseHandle(junk);

    unsigned int texture = 0xBADF00D;
    EXPECT_EQ(loadPictureTexture("ky.jpg", &texture), 0) << "ky.jpg is not in " << folder;
    EXPECT_EQ(texture, 0xBADF00Du);
    EXPECT_EQ(loadPictureTexture("kydoru.jpg", &texture), 0) << "a file that is no picture";
    EXPECT_EQ(texture, 0xBADF00Du);
    DeleteFileA("kydoru.jpg");
}

}  // namespace
