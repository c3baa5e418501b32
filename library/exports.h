/*
 * kydoru.h - the kydoru utility library: fifty plain functions for Windows programs.
 *
 * Every export is an undecorated cdecl function exported by name (and by a fixed
 * ordinal), so any language that can call a DLL function by name can use it.
 * On 32-bit Windows the caller removes the arguments (cdecl): a caller that pushes
 * more arguments than an export reads is unaffected. On x86-64 there is only the
 * one Windows calling convention.
 *
 * Integers are 32-bit; text is 8-bit ANSI, zero-terminated; every buffer belongs to
 * the caller and is written only during the call. No export validates a window
 * handle (handles reach the system unchanged) or a pointer (null and dangling
 * pointers are outside the interface). No export creates a thread; each runs on the
 * caller's thread. Module-wide state is plain static data, shared by the whole
 * process and never locked: callers serialise calls from several threads.
 *
 * Result kinds, stated for each export below:
 *   normalised   exactly 1 on success, 0 on failure;
 *   pass-through the value of the named system call, unchanged;
 *   constant     always the same value;
 *   none         nothing a caller may use.
 */
#ifndef KYDORU_H
#define KYDORU_H

#include <windows.h>

/* The calling convention of every export. */
#define KYCALL __cdecl

/* Callers importing from the DLL get dllimport; the library's own build and
 * programs that link its code statically define KYDORU_BUILD or KYDORU_STATIC. */
#if defined(KYDORU_BUILD) || defined(KYDORU_STATIC)
#define KYAPI
#else
#define KYAPI __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------
 * Serial port channel
 * One port for the whole process, synchronous byte I/O.
 * ------------------------------------------------------------------------- */

/* Opens the named serial device (for example "COM1") exclusively and applies the
 * defaults 19200 baud, 8 data bits, no parity, one stop bit and the time-outs
 * (60, 100, 1, 60, 100). Returns the port handle, or 0 when the open fails or the
 * name is null (the process's port is then invalid until the next successful open).
 * A second open replaces the kept handle without closing the first: a second open of
 * the same port fails while the first handle holds it, and the first stays open. */
KYAPI HANDLE KYCALL ky_ComOpen(const char *name);

/* Line settings on the open port: baud (only the low 16 bits count), byte size,
 * parity check (only bit 0 counts), parity and stop bits (Win32 DCB codes).
 * Binary mode, no flow control, DTR and RTS off, abort on error.
 * Normalised: 0 when the port's state can't be read or the setting is refused. */
KYAPI int KYCALL ky_ComConf(unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits);

/* Time-outs in milliseconds, in COMMTIMEOUTS order. Normalised. */
KYAPI int KYCALL ky_SetComTimeouts(unsigned int readInterval, unsigned int readTotalMultiplier,
                                   unsigned int readTotalConstant, unsigned int writeTotalMultiplier,
                                   unsigned int writeTotalConstant);

/* Writes one byte; blocks up to the write time-out. Normalised: 1 only when the
 * byte was written (a write that times out without it is 0). */
KYAPI int KYCALL ky_WriteByte(const unsigned char *source);

/* Reads one byte into *target; sets *target to 0 first. Blocks up to the read
 * time-out (101 ms with the defaults). Normalised: 1 only when a byte arrived. */
KYAPI int KYCALL ky_ReadByte(unsigned char *target);

/* Closes the port and forgets it: later serial calls fail until the next open.
 * Pass-through: BOOL of CloseHandle (0 when no port is open). */
KYAPI int KYCALL ky_ClosePort(void);

/* Queue sizes of the open port; the first argument is ignored.
 * Pass-through: BOOL of SetupComm. */
KYAPI int KYCALL kySetupComm(int ignored, unsigned int inputQueueSize, unsigned int outputQueueSize);

/* Purges. Pass-through: BOOL of PurgeComm with PURGE_RXABORT, PURGE_TXABORT,
 * PURGE_RXCLEAR and PURGE_TXCLEAR respectively. */
KYAPI int KYCALL kyCommRTerminate(void);
KYAPI int KYCALL kyCommWTerminate(void);
KYAPI int KYCALL kyCommIBClear(void);
KYAPI int KYCALL kyCommOBClear(void);

/* ---------------------------------------------------------------------------
 * Disk identity and processor speed
 * ------------------------------------------------------------------------- */

/* Asks IDE drive `driveIndex` (controller x 2 + drive, 0 to 3) for its model (kind 1),
 * serial number (kind 2) or firmware revision (kind 3) and copies the text, at most
 * 40 characters plus the terminator, into buffer (at least 41 bytes).
 * Returns non-zero when a text was found. Otherwise returns 0 and, for kind 2 or
 * more, writes an empty string; for kind 1 or less the buffer is left untouched. */
KYAPI int KYCALL kyHDid(int driveIndex, int kind, char *buffer);

/* Clock rate of processor 0 in MHz as the system recorded it at start-up (the
 * registry value "~MHz" of HKLM\HARDWARE\DESCRIPTION\System\CentralProcessor\0),
 * 0 when unknown. Measures nothing. */
KYAPI unsigned int KYCALL kyProcSpeed(void);

/* ---------------------------------------------------------------------------
 * Display modes
 * The primary screen's mode, and switches to the library's fixed modes.
 * ------------------------------------------------------------------------- */

/* Writes bits per pixel, width, height and refresh rate of the screen.
 * Normalised: 0 (outputs untouched) when there is no screen device context. */
KYAPI int KYCALL kyGetCurrentVideoMode(int *bitsPerPixel, int *width, int *height, int *refreshRate);

/* The following return the ChangeDisplaySettingsA code unchanged: 0 means success,
 * anything else is the system's reason for refusing. Test for 0, not for non-zero. */
KYAPI int KYCALL kyCanChangeVideoMode(void);         /* tests 1024 x 768 x 32; changes nothing */
KYAPI int KYCALL kyChangeVideoModeTemporarily(void); /* 1024 x 768 x 32, not stored */
KYAPI int KYCALL kyChangeVideoModePermanently(void); /* 1024 x 768 x 32, stored as default */
KYAPI int KYCALL kyFullScreen(void);                 /* 800 x 600 x 32, temporary */

/* Returns to the stored display mode, then raises the cursor display count by one.
 * Pass-through: the new count from ShowCursor. */
KYAPI int KYCALL kyCancelFullScreen(void);

/* ---------------------------------------------------------------------------
 * Window transparency and flashing
 * ------------------------------------------------------------------------- */

/* Makes a top-level window layered with the given alpha (values below 220 are raised
 * to 220; above 255 only the low 8 bits count) and pure white see-through.
 * Constant 1. */
KYAPI int KYCALL kySetWTransparent(HWND window, int alpha);

/* Makes the window an ordinary (non-layered) window again and repaints it. Constant 1. */
KYAPI int KYCALL kyRemoveWindowTrans(HWND window);

/* Flashes caption and task-bar button `count` times at the cursor blink rate.
 * Pass-through: BOOL of FlashWindowEx, 0 when that function is missing. */
KYAPI int KYCALL kyFlashWindow(HWND window, unsigned int count);

/* ---------------------------------------------------------------------------
 * Shell elements
 * Each finds the shell's window and shows or hides it; without the window
 * (no shell, another shell) the result is 0.
 * ------------------------------------------------------------------------- */

KYAPI int KYCALL kyHideTaskBar(void);       /* ShowWindow result */
KYAPI int KYCALL kyShowTaskBar(void);       /* ShowWindow result */
KYAPI int KYCALL kyHideStartButton(void);   /* ShowWindow result */
KYAPI int KYCALL kyShowStartButton(void);   /* ShowWindow result */
KYAPI int KYCALL kyHideSystemClock(void);   /* UpdateWindow result */
KYAPI int KYCALL kyShowSystemClock(void);   /* UpdateWindow result */
KYAPI int KYCALL kyHideDesktopIcons(void);  /* result of the second ShowWindow: 0 */
KYAPI int KYCALL kyShowDesktopIcons(void);  /* result of the second ShowWindow: 0 */
KYAPI int KYCALL kyHideDesktop(void);       /* ShowWindow result */
KYAPI int KYCALL kyShowDesktop(void);       /* ShowWindow result */

/* ---------------------------------------------------------------------------
 * Alternate desktop, keyboard locks, power and restart, applets and folders
 * ------------------------------------------------------------------------- */

/* Creates the desktop "KYDesktopName" and switches input and the calling thread to
 * it. Pass-through: BOOL of SwitchDesktop. */
KYAPI int KYCALL kyNewDesktopOn(void);

/* Switches back to the saved desktops and closes the alternate one.
 * Pass-through: BOOL of CloseDesktop (0 without a preceding kyNewDesktopOn). */
KYAPI int KYCALL kyNewDesktopOff(void);

/* Bring Caps Lock or Num Lock to the wanted state (0 off, any other value on) by
 * one synthetic press and release, only when the state differs. No result. */
KYAPI void KYCALL kySetCapsLock(int wanted);
KYAPI void KYCALL kySetNumLock(int wanted);

/* Forced restart of Windows. Normalised. */
KYAPI int KYCALL kyPerformReboot(void);

/* Sleep and hibernation, forced. Pass-through: BOOL of SetSystemPowerState, 0 when
 * the shutdown privilege can't be enabled. */
KYAPI int KYCALL kySystemPowerSuspend(void);
KYAPI int KYCALL kySystemPowerHibernate(void);

/* Puts the monitor into its low-power state. Pass-through: SendMessageA result. */
KYAPI LRESULT KYCALL kyMonitorOff(void);

/* Open the mouse ("main.cpl") and date-and-time ("timedate.cpl") applets.
 * Pass-through: the ShellExecuteA value (greater than 32 on success). */
KYAPI INT_PTR KYCALL kySystemDialogMP(void);
KYAPI INT_PTR KYCALL kySystemDialogTD(void);

/* Writes the system directory path into buffer (at least 260 bytes), or an empty
 * string when it can't be had. No result. */
KYAPI void KYCALL kyGetWSPath(char *buffer);

/* ---------------------------------------------------------------------------
 * Screen transition effects
 * Effect numbers 0 to 21 (below 0 counts as 0, above
 * 21 as 21). While an effect plays, the calling thread's messages are dispatched
 * between steps (one system tick per step); a quit message taken meanwhile is
 * posted again, with its exit code, so the caller's own loop still ends.
 * Blank mode: 1 black, 2 white, any other value no blanking. A handle that is not
 * a window, or a window with no area, is drawn on by none of these: they return 1.
 * ------------------------------------------------------------------------- */

/* Snapshot of the whole window (frame included), blank, replay with the effect.
 * Constant 1; a call made while this or kyDesktopBmpEffect is running (from a
 * message handled during an effect) returns 1 without drawing. When the snapshot
 * can't be made the window is left as it is. */
KYAPI int KYCALL kyWindowBmpEffect(HWND window, int effect, int blankMode);

/* The same for the whole screen, under the same busy flag. Constant 1. */
KYAPI int KYCALL kyDesktopBmpEffect(int effect, int blankMode);

/* Draws the source window's client picture into the target's client area with
 * the effect (the source is read from the screen at each step). Constant 1;
 * refuses (returns 1) while another call of it runs. */
KYAPI int KYCALL kyWindowBmpEffect2(HWND target, HWND source, int effect);

/* White pixels at random places over the whole window in 100 passes, leaving
 * about 98% of it white. No busy flag. Constant 1. */
KYAPI int KYCALL kyWindowErase(HWND window);

/* White vertical lines swept over the whole window from the left, one column per
 * pause of 10 ms, leaving it all white. No busy flag. Constant 1. */
KYAPI int KYCALL kyWindowD1(HWND window);

/* ---------------------------------------------------------------------------
 * Desktop clock and logo show
 * Both run a message loop inside the call.
 * ------------------------------------------------------------------------- */

/* Toggles the desktop clock: a translucent 128 x 128 always-on-top window with a
 * spinning rotor and the time of day, moved by dragging it with the left button.
 * The first call shows a note, opens the clock and runs its message loop, which
 * dispatches every window of the calling thread, until the clock closes; a second
 * call, made from a handler that loop dispatched, shows a note and closes it. A
 * WM_QUIT the caller posts while the clock runs closes the clock and is passed on
 * to the caller's own loop. Constant 0. */
KYAPI int KYCALL kySoftClock(void);

/* Plays the OpenGL logo show: a cube textured with "ky.jpg" and "kydoru.jpg" from the
 * current directory spins in a 640 x 480 window until Esc or the window closes; F1
 * switches between the window and a 640 x 480 x 32 full-screen mode. Runs on the
 * caller's thread and pumps only its own window's messages. A missing picture ends the
 * show silently; other failures show an "Error" box. Returns 0 when the show has
 * ended, -1 when its window class ("OpenGL") can't be registered. */
KYAPI int KYCALL kyLogo(void);

#ifdef __cplusplus
}
#endif

#endif /* KYDORU_H */
