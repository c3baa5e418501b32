// The demo's calls into kydoru.dll, each bound by name at its own first use. The
// argument lists are the ones the demo passes; where it passes more than an export
// reads, the cdecl convention lets the export ignore the extra values.
#pragma once
#include <windows.h>

// The program's default title, also the caption of its own message boxes.
#define KYDEMO_TITLE "kydemo"

namespace lib {

void setCapsLock(int wanted);
void setNumLock(int wanted);
void flashWindow(HWND window, unsigned int count);
void hideTaskBar();
void showTaskBar();
void hideStartButton();
void showStartButton();
void hideSystemClock();
void showSystemClock();
void hideDesktopIcons();
void showDesktopIcons();
void getCurrentVideoMode(int *depth, int *width, int *height, int *rate);
void changeVideoModePermanently(int a, int b, int c, int d);
void removeWindowTrans(HWND window);
void setWTransparent(HWND window, int alpha);
void performReboot();
void monitorOff(HWND window);
void systemPowerSuspend();
void systemPowerHibernate();
void systemDialogMP();
void systemDialogTD();
void getWSPath(char *buffer);
void hdId(int drive, int kind, char *buffer);
int procSpeed();
void windowBmpEffect(HWND window, int effect, int blankMode);
void desktopBmpEffect(int effect, int blankMode);
void windowD1(HWND window);
void windowErase(HWND window);
void softClock(int state);
void logo();

}  // namespace lib

// The message shown when the library or one of its exports can't be found, before
// the program ends; `exportName` is null when the library itself is missing.
void bindingFailureText(const char *exportName, char *out, size_t size);
