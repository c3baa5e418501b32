/*
 * kydoru.h - the kydoru utility library: fifty plain functions for Windows programs.
 *
 * Binding. Every export is an undecorated C function exported by name ("kyHDid",
 * "ky_ComOpen", no underscore prefix, no @n suffix) and by a fixed ordinal. C and C++
 * programs include this header and link the import library (libkydoru.dll.a), or bind
 * by name with GetProcAddress through a pointer of the prototype's type. Any other
 * language binds by name through its foreign-function interface.
 *
 * Loading. The library loads with it only kernel32, user32, gdi32, advapi32 and the
 * C runtime (msvcrt). The shell (shell32), OLE automation (oleaut32), msimg32 and
 * OpenGL (opengl32, glu32) are loaded by the first call of an export that needs
 * them, only from the system directory, and stay loaded for the process; when one
 * can't be loaded, that export fails as its description says.
 *
 * Calling convention. On 32-bit Windows every export is cdecl (KYCALL): the caller
 * removes the arguments, so a caller that pushes more arguments than an export reads
 * is unaffected. A binding that assumes stdcall (a 32-bit VB6 or VBA Declare, a
 * WINAPI function pointer) unbalances the stack on every call: such callers bind
 * kydoru_std.dll instead, which exports the same fifty names as stdcall functions
 * and forwards each call here (kydoru.bas declares them for VB6 and VBA). On x86-64
 * there is only the one Windows calling convention.
 *
 * Types. Integers are 32-bit; text is 8-bit ANSI (the system code page),
 * zero-terminated. Every buffer and output variable belongs to the caller and is
 * written only during the call; the library allocates nothing a caller must free.
 * No export validates a pointer (a null or dangling pointer is outside the
 * interface). Window handles reach the system unchanged, except that the effects
 * check that a handle names a live window with an area before drawing.
 *
 * Results. Each export states one of four kinds:
 *   normalised    exactly 1 on success, 0 on failure;
 *   pass-through  the value of the named system call, unchanged (read that call's
 *                 documentation: a display-change code is 0 on success);
 *   constant      always the same value, whatever happened;
 *   none          nothing a caller may use.
 * No export calls SetLastError: after a failure, GetLastError() tells what the
 * failing system call left, which is a hint at best.
 *
 * Threads and messages. No export creates a thread; each runs on the caller's thread
 * and returns when its work is done, with these exceptions that the caller must plan
 * for:
 *   - the transition effects (kyWindowBmpEffect, kyDesktopBmpEffect,
 *     kyWindowBmpEffect2, kyWindowErase, kyWindowD1) take a second or more and
 *     dispatch the calling thread's messages between their steps, so the caller's
 *     window procedures run inside the call;
 *   - kySoftClock runs the clock's message loop, for all windows of the thread,
 *     until the clock closes;
 *   - kyLogo runs the logo show until the user ends it, taking only its own window's
 *     messages: the caller's other windows wait;
 *   - kySoftClock and kyLogo show message boxes (modal, no owner window);
 *   - ky_ReadByte and ky_WriteByte block up to the port's time-outs, kyHDid for up to
 *     eight disk requests, the power exports until the system has acted.
 *
 * Module-wide state. Plain static data: zero when the library loads, shared by every
 * caller in the process, never locked, never released at unload (open handles stay
 * open). It is: the serial port handle; resultText, the text passed back by kyHDid
 * and kyGetWSPath; the three desktop handles of the alternate desktop; the two busy
 * flags of the effects; the clock's record (on/off, window, position, frame count);
 * the logo show's flags and cube angles. Calls that share state must not run on two
 * threads at once: the caller serialises them.
 */
#ifndef KYDORU_H
#define KYDORU_H

#include <windows.h>

/* KYDORU_VERSION_MAJOR, _MINOR, _PATCH and KYDORU_VERSION_STRING. */
#include "kydoru_version.h"

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

/* ===========================================================================
 * Device and hardware I/O
 * A serial byte channel on one process-wide port, the identity of disks and
 * the processor's clock rate.
 * ========================================================================= */

/* ---------------------------------------------------------------------------
 * Serial port channel
 * One port for the whole process, synchronous byte-at-a-time I/O. None of these
 * exports takes a handle: all work on the port that ky_ComOpen opened. Order:
 * ky_ComOpen; then ky_ComConf, ky_SetComTimeouts, kySetupComm, ky_WriteByte,
 * ky_ReadByte and the purges in any order; ky_ClosePort last. Before an open,
 * after a failed open and after ky_ClosePort every other serial export returns 0.
 * ------------------------------------------------------------------------- */

/* Opens the serial device `name` for reading and writing, exclusively (no sharing)
 * and for synchronous I/O, and makes it the process's port. Names are those of
 * CreateFileA: `COM1` to `COM9`, and the device path `\\.\COM10` (in C
 * `"\\\\.\\COM10"`) for higher numbers.
 *
 * Then applies the defaults, ignoring their results: 19200 baud, 8 data bits, no
 * parity, one stop bit (ky_ComConf(19200, 8, 0, 0, 0)) and the time-outs
 * ky_SetComTimeouts(60, 100, 1, 60, 100), so that a one-byte read gives up after
 * 101 ms and a one-byte write after 160 ms.
 *
 * Result: the port handle, or 0 when the open fails or `name` is null. The handle
 * also serves the system's own comm functions (ClearCommError, EscapeCommFunction);
 * don't close it yourself. After a failure the process has no port until the next
 * successful open.
 *
 * State: a port that is open already is closed first, then `name` is opened, so a
 * second open of the same port succeeds, and a second open that fails leaves no
 * port open at all. Any other handle of the device (one the caller opened itself)
 * still keeps the port from opening. */
KYAPI HANDLE KYCALL ky_ComOpen(const char *name);

/* Line settings of the open port, read from it, changed and written back:
 *   - baud: the rate in bits per second, all 32 bits (115200, 230400 and higher
 *     rates reach the driver as given);
 *   - byteSize: data bits, 4 to 8 (the low 8 bits count);
 *   - parityCheck: only bit 0 counts (1 checks parity on input);
 *   - parity: NOPARITY 0, ODDPARITY 1, EVENPARITY 2, MARKPARITY 3, SPACEPARITY 4;
 *   - stopBits: ONESTOPBIT 0, ONE5STOPBITS 1, TWOSTOPBITS 2.
 * Also binary mode, no flow control (no CTS, DSR or XON/XOFF handshake), DTR and RTS
 * off, no null stripping, and abort on error: after a line error the driver fails
 * reads and writes until ClearCommError is called on the handle ky_ComOpen returned.
 * The continue-on-XOFF and error-character settings keep the port's values.
 *
 * Result: normalised. 0 when there is no open port or the driver refuses the
 * settings (a rate the port can't do); the port then keeps its previous settings. */
KYAPI int KYCALL ky_ComConf(unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits);

/* Time-outs of the open port in milliseconds, in the order of COMMTIMEOUTS. A read
 * of one byte gives up after readTotalMultiplier + readTotalConstant ms; a write of
 * one byte after writeTotalMultiplier + writeTotalConstant ms. The system's special
 * values apply (readInterval MAXDWORD with both read totals 0: a read returns at once
 * with what has arrived; all read values 0: a read waits for its byte for ever).
 *
 * Result: normalised; 0 when there is no open port or the driver refuses. */
KYAPI int KYCALL ky_SetComTimeouts(unsigned int readInterval, unsigned int readTotalMultiplier,
                                   unsigned int readTotalConstant, unsigned int writeTotalMultiplier,
                                   unsigned int writeTotalConstant);

/* Writes the one byte at *source to the port.
 *
 * Result: normalised; 1 only when the byte was written. A write that times out
 * without it, a line error (see ky_ComConf) and no open port give 0.
 *
 * Blocks: up to the write time-out (160 ms with the defaults). */
KYAPI int KYCALL ky_WriteByte(const unsigned char *source);

/* Reads one byte from the port into *target. *target is set to 0 first, and stays 0
 * unless a byte arrives.
 *
 * Result: normalised; 1 only when exactly one byte arrived. A time-out with nothing
 * received, a line error and no open port give 0.
 *
 * Blocks: up to the read time-out (101 ms with the defaults). */
KYAPI int KYCALL ky_ReadByte(unsigned char *target);

/* Closes the port and forgets it: later serial calls return 0 until the next
 * ky_ComOpen.
 *
 * Result: pass-through, the BOOL of CloseHandle; 0 when no port is open (before an
 * open, after a failed open, or on a second close). */
KYAPI int KYCALL ky_ClosePort(void);

/* Recommends driver queue sizes, in bytes, for the open port. The first argument is
 * ignored; pass any value.
 *
 * Result: pass-through, the BOOL of SetupComm; 0 when no port is open. */
KYAPI int KYCALL kySetupComm(int ignored, unsigned int inputQueueSize, unsigned int outputQueueSize);

/* Purges on the open port, one PurgeComm flag each:
 *   - kyCommRTerminate: PURGE_RXABORT, ends a read in progress;
 *   - kyCommWTerminate: PURGE_TXABORT, ends a write in progress;
 *   - kyCommIBClear: PURGE_RXCLEAR, discards the received bytes not yet read;
 *   - kyCommOBClear: PURGE_TXCLEAR, discards the bytes not yet sent.
 * With synchronous I/O a read or write is only in progress while another thread of
 * the caller's is blocked in ky_ReadByte or ky_WriteByte.
 *
 * Result: pass-through, the BOOL of PurgeComm; 0 when no port is open. */
KYAPI int KYCALL kyCommRTerminate(void);
KYAPI int KYCALL kyCommWTerminate(void);
KYAPI int KYCALL kyCommIBClear(void);
KYAPI int KYCALL kyCommOBClear(void);

/* ---------------------------------------------------------------------------
 * Disk identity and processor speed
 * ------------------------------------------------------------------------- */

/* Asks a disk for its model number (kind 1), serial number (kind 2) or firmware
 * revision (kind 3). First with the ATA IDENTIFY DEVICE command, sent through the
 * SCSI miniport interface of the controller ports `\\.\Scsi0:` and `\\.\Scsi1:`;
 * then from the storage device descriptors of the disks `\\.\PhysicalDrive0` to
 * `\\.\PhysicalDrive3`, which need no administrator rights and which SATA (AHCI),
 * NVMe and USB disks answer too. From a descriptor the model is the product name,
 * preceded by the vendor name and a space when the disk is not on an ATA or SATA bus
 * and the vendor is not "ATA" (an NVMe disk may give "NVMe Samsung SSD 970 EVO Plus
 * 1TB"). Texts keep the identify data's lengths: a model at most 40 characters, a
 * serial number 20 and a revision 8; longer descriptor strings are cut.
 *
 * driveIndex picks a disk by its place, 0 to 3, numbered once for both sources:
 *   - place = controller x 2 + drive: 0 and 1 are the two drives (master and slave)
 *     of the first controller, 2 and 3 those of the second. The miniport answers for
 *     these places. An IDE disk that answers only with its descriptor keeps the same
 *     place, named by its SCSI address (port 0 or 1, path 0, target 0 or 1), so an
 *     ordinary user and an administrator find it at the same index;
 *   - a disk seen again through its descriptor (its address names a drive the
 *     miniport answered) is not counted twice;
 *   - every other disk (SATA, NVMe, USB) takes the lowest place left free, in the
 *     order of its disk number N. On a machine without IDE disks the places are
 *     therefore the disk numbers, skipping disks that don't answer.
 * Any other index finds nothing. The text
 * is copied into buffer, at most 40 characters plus the terminator, so buffer must
 * hold at least 41 bytes. Trailing spaces are removed, leading spaces kept (serial
 * numbers are often padded in front); a field of spaces only gives one space.
 *
 * Result: 1 when a text was found, else 0. Without a text, buffer receives an empty
 * string for kind 2 or more and is left untouched for kind 1 or less.
 *
 * Opening the controller ports usually needs administrator rights, and many disks
 * (behind AHCI, NVMe or USB drivers) don't answer the miniport request; those are
 * asked for their descriptor. A disk whose descriptor has no product name gives 0.
 *
 * Blocks: for up to four miniport requests and four descriptor and address queries;
 * all are asked on every call, also after the requested disk has answered.
 *
 * State: the text passes through resultText, which kyGetWSPath also uses; don't run
 * the two on two threads at once. */
KYAPI int KYCALL kyHDid(int driveIndex, int kind, char *buffer);

/* Clock rate of processor 0 in MHz as the system recorded it at start-up: the
 * registry value "~MHz" of `HKLM\HARDWARE\DESCRIPTION\System\CentralProcessor\0`. It
 * measures nothing, so it shows the nominal rate, not the current one.
 *
 * Result: the rate in MHz, or 0 when the key or value can't be read. */
KYAPI unsigned int KYCALL kyProcSpeed(void);

/* ===========================================================================
 * Display and window appearance
 * The primary screen's display mode and the library's fixed modes; layered-window
 * transparency and flashing for the caller's own windows.
 * ========================================================================= */

/* ---------------------------------------------------------------------------
 * Display modes
 * The switching exports take no mode: the modes are fixed. Each returns the
 * ChangeDisplaySettingsA code unchanged, and 0 (DISP_CHANGE_SUCCESSFUL) means
 * success: test for 0, not for non-zero. Other codes are the system's reasons:
 * DISP_CHANGE_RESTART 1, DISP_CHANGE_FAILED -1, DISP_CHANGE_BADMODE -2,
 * DISP_CHANGE_NOTUPDATED -3, DISP_CHANGE_BADFLAGS -4, DISP_CHANGE_BADPARAM -5.
 * Only width, height and colour depth are asked for; the refresh rate is left to
 * the system. A switch that takes place makes the system send WM_DISPLAYCHANGE to
 * the top-level windows of every program, the caller's included.
 * Several monitors: every export here is about the primary monitor. The mode read
 * is the primary monitor's, and a switch changes the primary monitor's mode only
 * (no device is named); the other monitors keep their modes, and Windows may move
 * them to stay beside the primary when its size changes.
 * ------------------------------------------------------------------------- */

/* Writes the primary screen's colour depth in bits per pixel, width and height in
 * pixels and vertical refresh rate in Hz (0 or 1 means the adapter's default) into
 * the four caller variables. With several monitors that is the primary monitor's
 * mode, not the size of the whole desktop (GetSystemMetrics(SM_CXVIRTUALSCREEN))
 * nor another monitor's (EnumDisplaySettingsA with that monitor's device name).
 *
 * Result: normalised; 0, with the four variables untouched, when there is no screen
 * device context. */
KYAPI int KYCALL kyGetCurrentVideoMode(int *bitsPerPixel, int *width, int *height, int *refreshRate);

/* Asks whether the display would accept 1024 x 768 at 32 bits per pixel, changing
 * nothing (CDS_TEST). Result: pass-through, the ChangeDisplaySettingsA code. */
KYAPI int KYCALL kyCanChangeVideoMode(void);

/* Switches to 1024 x 768 x 32 for this session without storing it: logging off or
 * kyCancelFullScreen returns to the stored mode. Result: pass-through, the
 * ChangeDisplaySettingsA code. */
KYAPI int KYCALL kyChangeVideoModeTemporarily(void);

/* Switches to 1024 x 768 x 32 and stores it as the user's default mode
 * (CDS_UPDATEREGISTRY): it survives kyCancelFullScreen, logoff and restart.
 * Result: pass-through, the ChangeDisplaySettingsA code. DISP_CHANGE_RESTART (1)
 * means the mode was stored and takes effect after a restart. */
KYAPI int KYCALL kyChangeVideoModePermanently(void);

/* Switches to 800 x 600 x 32 as a temporary full-screen mode (CDS_FULLSCREEN), for
 * a full-screen window of the caller's: on the primary monitor, whose area then
 * starts at (0, 0) and is 800 x 600; the other monitors keep their modes. The cursor
 * stays as it is. Undo with kyCancelFullScreen. Result: pass-through, the
 * ChangeDisplaySettingsA code. */
KYAPI int KYCALL kyFullScreen(void);

/* Returns the display to the mode stored as the user's default (the result of that
 * is ignored), then raises the cursor display count by one with ShowCursor(TRUE).
 * Each call raises the count again, whether or not something had hidden the cursor;
 * the cursor shows while the count is 0 or more.
 *
 * Result: pass-through, the new display count from ShowCursor. */
KYAPI int KYCALL kyCancelFullScreen(void);

/* ---------------------------------------------------------------------------
 * Window transparency and flashing
 * For the caller's top-level windows (child windows can be layered only from
 * Windows 8 on). SetLayeredWindowAttributes and FlashWindowEx are looked up in
 * user32 at each call, so the library loads where they don't exist.
 * ------------------------------------------------------------------------- */

/* Makes `window` a layered window: every pixel that is exactly white (0xFFFFFF)
 * becomes fully see-through, and all other pixels are blended with the screen
 * behind at `alpha`, from 220 (faintest) to 255 (opaque).
 *
 * alpha below 220, negative values included, is raised to 220, and alpha above 255
 * is lowered to 255, so the window never fades further than 220 whatever the value.
 * Calling it again on the same window only changes the alpha.
 *
 * Where SetLayeredWindowAttributes doesn't exist nothing changes, not even the style.
 *
 * Result: constant 1, also for a handle that is not a window. */
KYAPI int KYCALL kySetWTransparent(HWND window, int alpha);

/* Makes `window` an ordinary (non-layered) window again and repaints it with its
 * frame and children. A window that was never layered keeps its style.
 *
 * Result: constant 1. */
KYAPI int KYCALL kyRemoveWindowTrans(HWND window);

/* Flashes the caption and task-bar button of `window` `count` times at the cursor
 * blink rate (FLASHW_ALL | FLASHW_TIMER). The flashing runs on after the call
 * returns.
 *
 * Result: pass-through, the BOOL of FlashWindowEx. It tells whether the caption was
 * drawn active before the call, not whether the flash worked; 0 also where
 * FlashWindowEx doesn't exist. */
KYAPI int KYCALL kyFlashWindow(HWND window, unsigned int count);

/* ===========================================================================
 * Shell and system control
 * Parts of the Windows shell, an alternate desktop, the lock keys, power and
 * restart, two control-panel applets and the system folder. These act on the whole
 * session, not on the calling program, and what they change outlives it.
 * ========================================================================= */

/* ---------------------------------------------------------------------------
 * Shell elements
 * Each finds one of the shell's windows and shows or hides it with ShowWindow.
 * Nothing is remembered, and a hidden element stays hidden after the calling
 * program ends, until a show export or a restart of the shell shows it again.
 * The windows, looked for in this order:
 *   - task bar: the window of class "Shell_TrayWnd"; the task bars of the other
 *     monitors ("Shell_SecondaryTrayWnd", Windows 8 to 11) are hidden and shown
 *     with it, and the result is the main task bar's;
 *   - start button: the task bar's child 304 (Windows 2000 and XP), else its child
 *     of class "Start" (Windows 8 and 10);
 *   - clock: child 303 of the task bar's child 303 (Windows 2000 and XP), else the
 *     "TrayClockWClass" in the task bar's "TrayNotifyWnd" (Vista to Windows 10);
 *   - desktop icons: the window of class "progman"; where the icons' view
 *     ("SHELLDLL_DefView") lives under a "WorkerW" instead (Windows 7 to 11 after
 *     the wallpaper has changed), that view too;
 *   - desktop: the GetDesktopWindow window.
 * Where a window doesn't exist (no shell, another shell, a task bar without those
 * children) the export changes nothing and returns 0. Windows 11 draws its start
 * button and clock inside the task bar's own content, and the Windows 7 start orb
 * is no child of the task bar: there the start-button exports (and on Windows 11
 * the clock exports) return 0 and change nothing. Only the main task bar's start
 * button and clock are looked for.
 * ShowWindow's result is non-zero when the window was visible before the call.
 * ------------------------------------------------------------------------- */

KYAPI int KYCALL kyHideTaskBar(void);       /* ShowWindow result; non-zero when it was visible */
KYAPI int KYCALL kyShowTaskBar(void);       /* ShowWindow result; non-zero when it was visible */
KYAPI int KYCALL kyHideStartButton(void);   /* ShowWindow result; the rest of the task bar stays */
KYAPI int KYCALL kyShowStartButton(void);   /* ShowWindow result */
KYAPI int KYCALL kyHideSystemClock(void);   /* UpdateWindow result; hides, then repaints at once */
KYAPI int KYCALL kyShowSystemClock(void);   /* UpdateWindow result; shows, then repaints at once */
KYAPI int KYCALL kyHideDesktopIcons(void);  /* 0 (the second ShowWindow's); hides the icons twice */
KYAPI int KYCALL kyShowDesktopIcons(void);  /* 0 (the second ShowWindow's); hides, then SW_SHOWNORMAL */
KYAPI int KYCALL kyHideDesktop(void);       /* ShowWindow result */
KYAPI int KYCALL kyShowDesktop(void);       /* ShowWindow result */

/* ---------------------------------------------------------------------------
 * Alternate desktop
 * An empty second desktop, "KYDesktopName", in the caller's window station: no
 * shell runs there, only what a program starts on it. While it is shown the user
 * can't reach the windows of the normal desktop, the caller's own included, so the
 * caller needs a way back that needs no window of its own (a timer, a fixed time, or a
 * window it creates on the alternate desktop from a thread assigned to it).
 * Call the pair in order, from one thread.
 * ------------------------------------------------------------------------- */

/* Saves the calling thread's desktop and opens the current input desktop, creates
 * (or opens) the desktop "KYDesktopName", assigns the calling thread to it and
 * switches the screen and input to it. The calling thread must be able to follow:
 * a thread that owns windows or hooks (a GUI thread usually does) can't be assigned
 * to another desktop, and then the screen is not switched either; call it from a
 * thread of its own. When any step fails, what was opened is closed again and
 * nothing has changed.
 *
 * Result: 1 when the screen was switched; 0 when the desktop can't be made, the
 * thread can't be moved to it, the switch is refused, or the alternate desktop is
 * already on (a second call before kyNewDesktopOff changes nothing).
 *
 * State: the three desktop handles, kept until kyNewDesktopOff has used them. */
KYAPI int KYCALL kyNewDesktopOn(void);

/* Switches input back to the saved input desktop, assigns the calling thread back to
 * its saved desktop and closes the alternate desktop, in that order. Each handle is
 * kept until its step has succeeded: when a step fails (the thread has made windows
 * on the alternate desktop, so it can't be moved back) the call returns 0 at that
 * step, and calling it again (after destroying those windows) carries on from there.
 *
 * Result: 1 when all three steps are done; 0 when a step failed, without a preceding
 * kyNewDesktopOn, and on a second call. */
KYAPI int KYCALL kyNewDesktopOff(void);

/* ---------------------------------------------------------------------------
 * Keyboard locks
 * ------------------------------------------------------------------------- */

/* Bring Caps Lock or Num Lock to the wanted state: 0 off, any other value (1, -1)
 * on. Only when the state differs, one synthetic press and release of the key is
 * sent (keybd_event, scan code 0x45, extended key), exactly as if the user pressed
 * it: the whole session sees it, and it goes to the window with the focus.
 *
 * The state tested is the calling thread's view (GetKeyboardState), which follows
 * the key events only as the thread takes its input messages. Let the thread handle
 * its messages between two calls for the same key, or the second call sees the old
 * state and toggles the key back.
 *
 * Result: none. */
KYAPI void KYCALL kySetCapsLock(int wanted);
KYAPI void KYCALL kySetNumLock(int wanted);

/* ---------------------------------------------------------------------------
 * Power, restart and monitor
 * The first three enable the shutdown privilege on the process's own token
 * (SeShutdownPrivilege), which the user must hold, then act at once and by force:
 * no program is asked, none can refuse or save its work.
 * ------------------------------------------------------------------------- */

/* Restarts Windows by force (ExitWindowsEx with EWX_REBOOT | EWX_FORCE). The call
 * returns once the restart is under way.
 *
 * Result: normalised; 0 when the privilege can't be enabled or the system refuses
 * (a user without the shutdown right). */
KYAPI int KYCALL kyPerformReboot(void);

/* Sleep (suspend) and hibernation, forced (SetSystemPowerState(TRUE, TRUE) and
 * SetSystemPowerState(FALSE, TRUE)). When the machine did sleep, the call returns
 * after it has woken up again.
 *
 * Result: pass-through, the BOOL of SetSystemPowerState; 0 when the privilege can't
 * be enabled, the user lacks the shutdown right or the state is not available (for
 * example hibernation switched off). */
KYAPI int KYCALL kySystemPowerSuspend(void);
KYAPI int KYCALL kySystemPowerHibernate(void);

/* Puts the monitor into its low-power state: sends WM_SYSCOMMAND SC_MONITORPOWER
 * with 1 (low power, not 2, off) to the desktop window. Moving the mouse or pressing
 * a key brings it back. No privilege is needed.
 *
 * Result: pass-through, the SendMessageA result. Blocks until the desktop window has
 * handled the message. */
KYAPI LRESULT KYCALL kyMonitorOff(void);

/* ---------------------------------------------------------------------------
 * Control-panel applets and the system folder
 * ------------------------------------------------------------------------- */

/* Open the mouse ("main.cpl") and date-and-time ("timedate.cpl") control-panel
 * applets with ShellExecuteA (no owner window, SW_SHOW). The applet runs in a
 * process of its own; the call returns once it is started. As for any ShellExecute
 * call, the calling thread should have COM initialised.
 *
 * Result: pass-through, the ShellExecuteA instance value. It is greater than 32 on
 * success, an error code of 32 or less otherwise (2: the applet file was not
 * found; 32, SE_ERR_DLLNOTFOUND: shell32 could not be loaded). */
KYAPI INT_PTR KYCALL kySystemDialogMP(void);
KYAPI INT_PTR KYCALL kySystemDialogTD(void);

/* Writes the path of the Windows system directory (CSIDL_SYSTEM, for example
 * `C:\WINDOWS\system32`) into buffer, which must hold at least 260 bytes, or an
 * empty string when it can't be had (shell32 not loadable or without
 * SHGetSpecialFolderPathA, or the query failing). A 32-bit program on 64-bit Windows gets the same system32
 * path, which the system's file redirection maps to SysWOW64 for it.
 *
 * Result: none.
 *
 * State: the text passes through resultText, which kyHDid also uses; the buffer
 * never receives an earlier call's text. Don't run the two on two threads at
 * once. */
KYAPI void KYCALL kyGetWSPath(char *buffer);

/* ===========================================================================
 * Screen transition effects
 * Animated GDI transitions over a window or the whole screen.
 * ========================================================================= */

/* ---------------------------------------------------------------------------
 * Effects and their pacing
 * Effect numbers (below 0 counts as 0, above 21 as 21; pictures of each in
 * docs/effects/index.md):
 *      0 column interlace      8 random blocks          16 slide from top
 *      1 row interlace         9 block spiral           17 slide from bottom
 *      2 wipe from left       10 squeeze from left      18 slide from top-left
 *      3 wipe from right      11 squeeze from right     19 slide from bottom-left
 *      4 drip down            12 squeeze from top       20 centre split
 *      5 drip up              13 squeeze from bottom    21 grow from top-left
 *      6 drip right           14 slide from left
 *      7 drip left            15 slide from right
 * Effects 0 to 9 and 21 put each piece of the picture in its own place, so without
 * blanking they show no visible change; 10 to 20 move or squeeze the picture and
 * show their motion over an unblanked window too.
 *
 * Pacing: each step waits one tick of the system tick counter (10 to 16 ms on
 * common systems), so the duration follows the size. For a W x H rectangle the
 * steps are 20 for effects 0, 1, 20 and 21; about W / 20 for 2, 3, 10, 11, 14, 15,
 * 18 and 19 (the larger side for 18 and 19); about H / 20 for 12, 13, 16 and 17;
 * a random number for the drips 4 to 7, about one per ten blocks for 8 and one per
 * 20 x 20 block for the spiral 9, which is about 2000 steps, half a minute, on a
 * 1024 x 768 screen.
 *
 * Messages: while it waits, an effect dispatches every waiting message of the
 * calling thread (for all its windows), so the caller's window procedures run
 * inside the call and its windows stay responsive. A WM_QUIT taken meanwhile is
 * posted again, with its exit code, when the pause ends, so the caller's own loop
 * still ends. Handlers that run meanwhile may call the library again: see each
 * export's busy rule.
 *
 * Windows: a handle that is not a live window, or a window with no area, is drawn
 * on by none of these exports; they return 1 at once. Drawing goes straight to the
 * screen through the window's device context, frame included where stated; the
 * window's next repaint replaces it. Only the part of a window that lies on the
 * screen (all monitors) is played, and all of that part: a maximized window, whose
 * frame reaches a few pixels beyond every edge, is animated up to every edge, and
 * a window wholly off the screen is not drawn on.
 *
 * Several monitors: a window effect plays where the window is, on whichever monitor
 * that is, and over both parts of a window that lies across two monitors. The
 * desktop effect covers the primary monitor only.
 * ------------------------------------------------------------------------- */

/* Takes a snapshot of the whole window as shown (frame and title bar included),
 * blanks the window (blankMode 1 black, 2 white, any other value leaves it as it
 * is), then brings the snapshot back with the effect. The window ends showing the
 * snapshot. When the snapshot can't be made the window is left as it is.
 *
 * Result: constant 1.
 *
 * Busy rule: kyWindowBmpEffect and kyDesktopBmpEffect share one busy flag; a call of
 * either made while one of them runs (from a handler run during its pauses) returns
 * 1 at once without drawing. */
KYAPI int KYCALL kyWindowBmpEffect(HWND window, int effect, int blankMode);

/* The same for the whole primary screen (the desktop window), drawn over every
 * window on it, under the same busy flag. Windows that repaint meanwhile show
 * through until the effect's closing copy. With several monitors only the primary
 * monitor is played; the others go on showing their windows.
 *
 * Result: constant 1. */
KYAPI int KYCALL kyDesktopBmpEffect(int effect, int blankMode);

/* Draws the source window's client area into the target window's client area with
 * the effect: a transition from what the target showed to what the source shows.
 * No snapshot and no blanking: the source is read afresh at each step, as its
 * window shows at that moment.
 * The effect's rectangle is the target's outer size; drawing is clipped to the
 * target's client area. Nothing is drawn when source is not a live window.
 *
 * Result: constant 1.
 *
 * Busy rule: a flag of its own; a call made while another call of it runs returns 1
 * at once. */
KYAPI int KYCALL kyWindowBmpEffect2(HWND target, HWND source, int effect);

/* Sprinkles white pixels at random places over the whole window, frame included (on
 * whichever monitors it lies), in 100 passes of 4% of its area each, with one tick's
 * pause after each pass (1 to 1.6 s in all, plus the drawing). About 98% of the
 * window ends white; the rest keeps a light scatter of the old picture until the
 * window repaints.
 *
 * Result: constant 1. No busy flag: a nested call runs in full inside the outer
 * call's pause. Calls srand(time(NULL)), which also reseeds rand() for a caller that
 * shares the library's C runtime (msvcrt.dll). */
KYAPI int KYCALL kyWindowErase(HWND window);

/* Sweeps white vertical lines over the whole window, frame included (on whichever
 * monitors it lies), from the left, one pixel column per pause of more than 10 ms
 * (one or two ticks), leaving it all white until it repaints. A 400-pixel-wide
 * window takes several seconds.
 *
 * Result: constant 1. No busy flag. */
KYAPI int KYCALL kyWindowD1(HWND window);

/* ===========================================================================
 * Desktop clock and logo show
 * Both run on the caller's thread and don't return until they close; call them from
 * an event handler (a button's click) and expect your code after the call to run
 * only then.
 * ========================================================================= */

/* ---------------------------------------------------------------------------
 * Desktop clock
 * A translucent 128 x 128 always-on-top window with a spinning three-bladed rotor
 * over a glowing disc and the time of day (picture: docs/clock.png). The user moves
 * it by dragging it with the left mouse button.
 * ------------------------------------------------------------------------- */

/* Toggles the desktop clock.
 *
 * First call: shows the note "We will activate clock!" (a message box, caption
 * "Note"), opens the clock where it was last dropped in this process (the primary
 * monitor's top-left corner the first time; the top-left corner of the primary
 * monitor's work area when that place is on no monitor any more, after a monitor
 * was unplugged or the mode got smaller) and runs the clock's message loop, which
 * dispatches the messages of every window of the calling thread, so the caller's
 * windows keep working. The call returns when the clock closes.
 *
 * Second call, made from one of the caller's handlers that the loop dispatched (the
 * same button pressed again): shows the note "We will deactivate clock!", closes the
 * clock and returns at once; the first call returns right after it.
 *
 * Other ways the clock closes, each ending the first call: the command 105 sent to
 * the clock window (WM_COMMAND), Alt+F4 while it has the focus, and a WM_QUIT that
 * the caller posts while the clock runs, which also closes the clock and is posted
 * again for the caller's own loop. The on/off flag follows the calls, not the
 * window: after a close by any of these, the next call only shows the deactivation
 * note, and the call after that opens the clock again.
 *
 * Failures are shown in message boxes (caption "Error") and end the call, with the
 * flag left on: "Not Found Layered Window Support", "Not Found Alpha Blend Support",
 * "Error Create Window" then "Init no OK". The alpha-blend message also stands for a
 * msimg32 (which draws the face) that can't be loaded. A screen of less than 32 bits per pixel
 * is reported ("BitsPerPixel:16 ...") and the clock runs anyway. One clock at a
 * time: a call that would open a second one returns 0.
 *
 * The window class "kydoru" is registered for the clock's life with icons 107 and
 * 108 of the calling program's module, and if that module has an accelerator table
 * 109 the loop translates keys with it (a key mapped to command 105 closes the
 * clock).
 *
 * Result: constant 0.
 *
 * State: the clock's record (on/off flag, window, position, frame count), kept for
 * the whole process; the rotor goes on from where it stopped. */
KYAPI int KYCALL kySoftClock(void);

/* ---------------------------------------------------------------------------
 * Logo show
 * An OpenGL cube textured with two pictures, spinning (picture: docs/logo.png).
 * ------------------------------------------------------------------------- */

/* Plays the logo show: a cube textured with "ky.jpg" (front and back) and
 * "kydoru.jpg" (the other faces), read from the process's current directory, spins
 * in a window with a 640 x 480 client area, titled "KY Computer Software - KY DORU
 * WIN32 Library (F1-full screen)", until the user presses Esc or closes the window.
 * F1 switches between the window and a 640 x 480 x 32 full-screen display mode with
 * the cursor hidden; the display mode and the cursor are restored when the show
 * leaves full screen or ends. With several monitors the window and the full screen
 * are on the primary monitor (its mode is the one switched); the other monitors
 * keep their modes and windows. Pure black in the pictures is see-through.
 *
 * Blocks: runs on the caller's thread and takes only its own window's messages, so
 * the caller's other windows get none, not even repaints, until the show ends. While
 * the window is not minimized frames follow as fast as they can be drawn (one core
 * busy); minimized, it sleeps. The cube turns by the time that passed, measured with
 * the whole 64-bit performance counter, so after a minimize of any length it turns
 * on by all of that time. The screen saver and monitor power-down are refused
 * while the show has the focus.
 *
 * Failures: a picture that can't be read (missing, undecodable, a path longer
 * than 260 characters, or no oleaut32 to decode it) ends the show silently, the
 * window closing at once. A refused full-screen mode shows "Mode Switch Failed."
 * and goes on in a window. A window or GL context that can't be made (also when
 * opengl32 or glu32 can't be loaded) shows "Error Creating OpenGL Window" and ends
 * the show. Boxes have the caption "Error".
 *
 * Result: 0 when the show has ended, -1 when its window class can't be registered.
 * The show ends by the user or by a failure as above. The class "OpenGL" can't be
 * registered when the caller's process already has a class of that name; the boxes
 * "RegisterClassEx Failed!" and "Error Registering Window Class!" say so first.
 *
 * State: the show's running and full-screen flags (one show at a time) and the cube's
 * angles, which carry on into the next show; each show starts in a window. */
KYAPI int KYCALL kyLogo(void);

#ifdef __cplusplus
}
#endif

#endif /* KYDORU_H */
