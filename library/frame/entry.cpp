// The library's entry point. Every export does its own setup when called, so loading
// and unloading the library must open, register and allocate nothing.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
