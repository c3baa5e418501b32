// The logo scene: a cube of edge 2 five units in front of the viewer, its faces
// carrying the product pictures, turning about three axes at three constant speeds.
#include "logo/scene.h"

#include <math.h>

#include "logo/glcalls.h"
#include "logo/picture.h"

float spinX, spinY, spinZ;
unsigned int frontBackTexture, topBottomTexture, sideTexture;

const float spinRateX = 0.03125f;       // 31.25 degrees a second
const float spinRateY = 0.0625f;        // 62.5
const float spinRateZ = 0.020833334f;   // about 20.83

static LogoWindow *sceneWindow;
static KeyTable *sceneKeys;

// Every face runs counter-clockwise seen from outside and shows its picture unmirrored
// (texture (0,0) is the picture's bottom-left).
const CubeFace cubeFaces[cubeFaceCount] = {
    {0, {{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}},          // front
    {0, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}}},      // back
    {1, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}},          // top
    {1, {{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}}},      // bottom
    {2, {{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},          // right
    {2, {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}}},      // left
};

double projectionAspect(int width, int height)
{
    // A window shrunk to no client height must not divide by zero.
    return static_cast<double>(width) / (height > 0 ? height : 1);
}

int prepareLogoScene(LogoWindow *w, KeyTable *keys)
{
    sceneWindow = w;
    sceneKeys = keys;
    // The side faces get a texture of their own even though the picture is the same.
    if (!loadPictureTexture("ky.jpg", &frontBackTexture) || !loadPictureTexture("kydoru.jpg", &topBottomTexture) ||
        !loadPictureTexture("kydoru.jpg", &sideTexture))
        return 0;

    glEnable(GL_TEXTURE_2D);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    // Texels the loader made transparent (pure black) are not drawn: holes in the cube.
    glAlphaFunc(GL_GREATER, 0.1f);
    glEnable(GL_ALPHA_TEST);
    return 1;
}

void setLogoProjection(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, projectionAspect(width, height), 0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The angle turned on by `elapsedMs` at `rate`, kept in [0, 360). An angle left to grow
// loses its fractions: past about 2^20 degrees a frame's step rounds away and the cube
// stops. The turn is reduced in double precision first, so that a long minimize, which
// adds its whole interval at once, still lands on the angle it should.
static double withinTurn(double degrees)
{
    return degrees - 360.0 * floor(degrees / 360.0);
}

static float turnedAngle(float angle, float elapsedMs, float rate)
{
    const float kept = static_cast<float>(withinTurn(angle + withinTurn(double(elapsedMs) * rate)));
    return kept < 360.0f ? kept : 0.0f;  // just below 360 may round up to it
}

void advanceLogoScene(float elapsedMs)
{
    if (sceneKeys && sceneWindow) {
        if (sceneKeys->down[VK_ESCAPE])
            endLogoShow(sceneWindow);
        if (sceneKeys->down[VK_F1])
            requestScreenToggle(sceneWindow);
    }
    spinX = turnedAngle(spinX, elapsedMs, spinRateX);
    spinY = turnedAngle(spinY, elapsedMs, spinRateY);
    spinZ = turnedAngle(spinZ, elapsedMs, spinRateZ);
}

void renderLogoScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glRotatef(spinX, 1.0f, 0.0f, 0.0f);
    glRotatef(spinY, 0.0f, 1.0f, 0.0f);
    glRotatef(spinZ, 0.0f, 0.0f, 1.0f);

    const unsigned int textures[3] = {frontBackTexture, topBottomTexture, sideTexture};
    for (int group = 0; group < 3; ++group) {
        glBindTexture(GL_TEXTURE_2D, textures[group]);
        glBegin(GL_QUADS);
        for (const CubeFace &face : cubeFaces) {
            if (face.texture != group)
                continue;
            for (const FaceVertex &v : face.vertex) {
                glTexCoord2f(v.s, v.t);
                glVertex3f(v.x, v.y, v.z);
            }
        }
        glEnd();
    }
    glFlush();
}
