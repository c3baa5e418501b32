// The logo's OpenGL and GLU calls, routed to the entries bound at the show's first use
// (frame/lazycalls.h), so that loading the library loads neither opengl32 nor glu32.
// The logo's sources include this in place of <GL/gl.h> and call the gl names as usual.
// A gl name used without its line here fails to link: the DLL links no GL library.
#pragma once
#include "frame/lazycalls.h"

#define wglCreateContext lazyCalls.wglCreateContext
#define wglMakeCurrent lazyCalls.wglMakeCurrent
#define wglDeleteContext lazyCalls.wglDeleteContext
#define glAlphaFunc lazyCalls.glAlphaFunc
#define glBegin lazyCalls.glBegin
#define glBindTexture lazyCalls.glBindTexture
#define glClear lazyCalls.glClear
#define glClearColor lazyCalls.glClearColor
#define glClearDepth lazyCalls.glClearDepth
#define glDepthFunc lazyCalls.glDepthFunc
#define glEnable lazyCalls.glEnable
#define glEnd lazyCalls.glEnd
#define glFlush lazyCalls.glFlush
#define glGenTextures lazyCalls.glGenTextures
#define glGetIntegerv lazyCalls.glGetIntegerv
#define glHint lazyCalls.glHint
#define glLoadIdentity lazyCalls.glLoadIdentity
#define glMatrixMode lazyCalls.glMatrixMode
#define glRotatef lazyCalls.glRotatef
#define glShadeModel lazyCalls.glShadeModel
#define glTexCoord2f lazyCalls.glTexCoord2f
#define glTexImage2D lazyCalls.glTexImage2D
#define glTexParameteri lazyCalls.glTexParameteri
#define glTranslatef lazyCalls.glTranslatef
#define glVertex3f lazyCalls.glVertex3f
#define glViewport lazyCalls.glViewport
#define gluPerspective lazyCalls.gluPerspective

// Whether the show can draw at all: both GL libraries bound. Without them the show's
// window counts as one whose GL context can't be made.
inline int logoGlBound()
{
    return bindLazyLibrary(lazyOpenGl32) && bindLazyLibrary(lazyGlu32);
}
