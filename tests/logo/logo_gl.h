// Test support for the logo show: a small GL window of the test's own, for the cases
// that call the loader and the scene directly, and scoped working folders.
#pragma once
#include <windows.h>
#include <GL/gl.h>

#include <string>

namespace logotest {

struct GlWindow {
    HWND window = NULL;
    HDC dc = NULL;
    HGLRC context = NULL;
    std::string why;  // why no context could be made
};

// Opens a double-buffered RGBA window with a 16-bit depth buffer (the show's own
// format) and makes its context current; false with the reason when it can't.
// Why GL failed in this process, once it has: the emulated 32-bit Wine fails to find a
// pixel format and then dies on a second attempt, so a process tries only once.
inline std::string &glFailure()
{
    static std::string why;
    return why;
}

inline bool openGlWindow(GlWindow *gl, int width, int height)
{
    if (!glFailure().empty()) {
        gl->why = glFailure();
        return false;
    }
    gl->window = CreateWindowExA(0, "STATIC", "logo test GL", WS_POPUP | WS_VISIBLE, 0, 0, width, height, NULL,
                                 NULL, GetModuleHandleA(NULL), NULL);
    if (!gl->window) {
        gl->why = "no test window";
        return false;
    }
    gl->dc = GetDC(gl->window);
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 16;
    int index = ChoosePixelFormat(gl->dc, &format);
    if (!index || !SetPixelFormat(gl->dc, index, &format)) {
        gl->why = glFailure() = "no OpenGL pixel format on this display";
        return false;
    }
    gl->context = wglCreateContext(gl->dc);
    if (!gl->context || !wglMakeCurrent(gl->dc, gl->context)) {
        gl->why = glFailure() = "no OpenGL context can be made here";
        return false;
    }
    return true;
}

inline void closeGlWindow(GlWindow *gl)
{
    wglMakeCurrent(NULL, NULL);
    if (gl->context)
        wglDeleteContext(gl->context);
    if (gl->dc)
        ReleaseDC(gl->window, gl->dc);
    if (gl->window)
        DestroyWindow(gl->window);
    *gl = GlWindow();
}

// Whether this process can make a GL context at all (the emulated 32-bit run can't).
inline bool glAvailable(std::string *why)
{
    GlWindow gl;
    bool ok = openGlWindow(&gl, 64, 64);
    if (why)
        *why = gl.why;
    closeGlWindow(&gl);
    return ok;
}

// Makes `folder` the current directory for the life of the object.
class InFolder {
public:
    explicit InFolder(const std::string &folder)
    {
        GetCurrentDirectoryA(MAX_PATH, saved_);
        ok_ = SetCurrentDirectoryA(folder.c_str()) != 0;
    }
    ~InFolder() { SetCurrentDirectoryA(saved_); }
    bool ok() const { return ok_; }

private:
    char saved_[MAX_PATH] = "";
    bool ok_ = false;
};

// A fresh empty folder under the temporary folder, holding copies of `pictures`
// (names of files in the test program's folder).
inline std::string pictureFolder(const char *tag, std::initializer_list<const char *> pictures)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "kylogo_" + tag + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), NULL);
    for (const char *name : {"ky.jpg", "kydoru.jpg"})
        DeleteFileA((folder + "\\" + name).c_str());
    char program[MAX_PATH] = "";
    GetModuleFileNameA(NULL, program, MAX_PATH);
    std::string source(program);
    source = source.substr(0, source.find_last_of("\\/") + 1);
    for (const char *name : pictures)
        CopyFileA((source + name).c_str(), (folder + "\\" + name).c_str(), FALSE);
    return folder;
}

}  // namespace logotest
