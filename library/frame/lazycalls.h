// The system libraries that only a few exports use, bound at the first call that needs
// them rather than when the library loads: a program calling kyProcSpeed should not pay
// for OpenGL and the shell. Each library is loaded from the system directory only, once
// per process, and its functions are bound all together or not at all. Until a library
// is bound, its entries point at stubs that bind it and then make the call; a library
// that can't be bound leaves the stubs in place, and each returns the failure value of
// its row, so a caller sees a failure and never an unbound call.
#pragma once
#include <windows.h>
#include <olectl.h>
#include <shellapi.h>
#include <GL/gl.h>
#include <GL/glu.h>

enum LazyLibrary { lazyShell32, lazyOleAut32, lazyMsImg32, lazyOpenGl32, lazyGlu32, lazyLibraryCount };

// The file of each library, loaded from the system directory ("shell32.dll").
extern const char *const lazyLibraryFiles[lazyLibraryCount];

// One row per function: its library, result type, name, parameters, the arguments
// passed on, and what the call returns when the library can't be bound. Every one is
// WINAPI (stdcall on 32-bit Windows), OpenGL's APIENTRY included.
#define KY_LAZY_CALLS(X)                                                                                      \
    X(lazyShell32, HINSTANCE, ShellExecuteA, (HWND w, LPCSTR v, LPCSTR f, LPCSTR p, LPCSTR d, INT s),          \
      (w, v, f, p, d, s), reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND))                                     \
    X(lazyOleAut32, HRESULT, OleLoadPicturePath,                                                              \
      (LPOLESTR path, LPUNKNOWN caller, DWORD reserved, OLE_COLOR colour, REFIID iid, LPVOID *out),           \
      (path, caller, reserved, colour, iid, out), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND))                     \
    X(lazyMsImg32, BOOL, GradientFill, (HDC dc, PTRIVERTEX v, ULONG nv, PVOID m, ULONG nm, ULONG mode),       \
      (dc, v, nv, m, nm, mode), FALSE)                                                                         \
    X(lazyOpenGl32, HGLRC, wglCreateContext, (HDC dc), (dc), NULL)                                             \
    X(lazyOpenGl32, BOOL, wglMakeCurrent, (HDC dc, HGLRC rc), (dc, rc), FALSE)                                 \
    X(lazyOpenGl32, BOOL, wglDeleteContext, (HGLRC rc), (rc), FALSE)                                           \
    X(lazyOpenGl32, void, glAlphaFunc, (GLenum f, GLclampf r), (f, r), void())                                 \
    X(lazyOpenGl32, void, glBegin, (GLenum m), (m), void())                                                    \
    X(lazyOpenGl32, void, glBindTexture, (GLenum t, GLuint n), (t, n), void())                                 \
    X(lazyOpenGl32, void, glClear, (GLbitfield m), (m), void())                                                \
    X(lazyOpenGl32, void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a), void()) \
    X(lazyOpenGl32, void, glClearDepth, (GLclampd d), (d), void())                                             \
    X(lazyOpenGl32, void, glDepthFunc, (GLenum f), (f), void())                                                \
    X(lazyOpenGl32, void, glEnable, (GLenum c), (c), void())                                                   \
    X(lazyOpenGl32, void, glEnd, (void), (), void())                                                           \
    X(lazyOpenGl32, void, glFlush, (void), (), void())                                                         \
    X(lazyOpenGl32, void, glGenTextures, (GLsizei n, GLuint *t), (n, t), void())                               \
    X(lazyOpenGl32, void, glGetIntegerv, (GLenum p, GLint *v), (p, v), void())                                 \
    X(lazyOpenGl32, void, glHint, (GLenum t, GLenum m), (t, m), void())                                        \
    X(lazyOpenGl32, void, glLoadIdentity, (void), (), void())                                                  \
    X(lazyOpenGl32, void, glMatrixMode, (GLenum m), (m), void())                                               \
    X(lazyOpenGl32, void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z), void())       \
    X(lazyOpenGl32, void, glShadeModel, (GLenum m), (m), void())                                               \
    X(lazyOpenGl32, void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t), void())                                \
    X(lazyOpenGl32, void, glTexImage2D,                                                                        \
      (GLenum t, GLint l, GLint i, GLsizei w, GLsizei h, GLint b, GLenum f, GLenum y, const GLvoid *p),       \
      (t, l, i, w, h, b, f, y, p), void())                                                                     \
    X(lazyOpenGl32, void, glTexParameteri, (GLenum t, GLenum n, GLint p), (t, n, p), void())                   \
    X(lazyOpenGl32, void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), void())                  \
    X(lazyOpenGl32, void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), void())                    \
    X(lazyOpenGl32, void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), void())          \
    X(lazyGlu32, void, gluPerspective, (GLdouble f, GLdouble a, GLdouble n, GLdouble z), (f, a, n, z), void())

// The entries, typed as the system headers declare each function (calling convention
// included), so a row that disagrees with its declaration does not compile.
#define KY_LAZY_ENTRY(library, result, name, parameters, arguments, failure) decltype(&::name) name;
struct LazyCalls {
    KY_LAZY_CALLS(KY_LAZY_ENTRY)
};
#undef KY_LAZY_ENTRY
extern LazyCalls lazyCalls;

// Binds `library` and all its functions if that hasn't been done: 1 when they are
// bound, 0 when the library or one of them can't be had. Safe from any thread; a
// failure is remembered, so a missing library is looked for only once.
int bindLazyLibrary(LazyLibrary library);

// The bound library's module handle, for functions looked up by name at each call;
// null when the library can't be bound. The reference belongs to the binding.
HMODULE lazyLibraryModule(LazyLibrary library);

// Test seam: withheld 1 makes `library` unavailable as if it could not be loaded (its
// entries go back to the stubs, which fail); withheld 0 lets the next call bind it
// again. Not for use while another thread calls into the library.
void withholdLazyLibrary(LazyLibrary library, int withheld);
