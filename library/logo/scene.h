// The logo scene: the spinning cube, its angles, textures and projection.
#pragma once
#include "logo/logo.h"

// Library-wide and never reset, so each window and each show goes on turning from
// where the last one stopped; each kept in [0, 360) degrees.
extern float spinX, spinY, spinZ;
extern unsigned int frontBackTexture, topBottomTexture, sideTexture;

// Degrees per millisecond about x, y and z.
extern const float spinRateX, spinRateY, spinRateZ;

struct FaceVertex {
    float s, t;     // texture coordinate
    float x, y, z;  // position
};
struct CubeFace {
    int texture;  // 0 front/back, 1 top/bottom, 2 sides
    FaceVertex vertex[4];
};
enum { cubeFaceCount = 6 };
extern const CubeFace cubeFaces[cubeFaceCount];

// The aspect ratio of the projection; a zero height counts as 1 so it never divides.
double projectionAspect(int width, int height);

int prepareLogoScene(LogoWindow *w, KeyTable *keys);
void setLogoProjection(int width, int height);
void advanceLogoScene(float elapsedMs);
void renderLogoScene();
