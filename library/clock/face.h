// The clock face: the rotor's triangles as plain data, the angle of each frame, the time
// text, and the routines that draw them into the clock's surface.
#pragma once
#include <windows.h>

#include <time.h>

enum {
    faceTrianglesPerCircle = 36,
    faceBlades = 3,
    faceSegmentsPerBlade = 10,
    faceTriangleCount = 2 * faceTrianglesPerCircle + faceBlades * faceSegmentsPerBlade * 2,  // 132
};

struct FaceTriangle {
    TRIVERTEX vertex[3];
};

// The disc, the blades and the hub for rotor angle `theta`, in drawing order (later
// triangles cover earlier ones). Fills `out` and returns faceTriangleCount.
int buildFaceTriangles(float theta, FaceTriangle (&out)[faceTriangleCount]);

// The rotor angle of frame `ticks`: 0.125 rad a frame, kept within one turn.
float rotorAngle(unsigned int ticks);

// "HH:MM:SS" of a local time, always eight characters and a terminating zero.
void formatClockTime(const struct tm &local, char (&text)[9]);

// Fills the rotor face into `hdc` (the clock's memory context) with one GradientFill a triangle.
void drawRotorFace(HDC hdc, float theta);

// One tick: clear the surface, draw the face and the time, hand the frame to the screen.
void drawClockFrame();
