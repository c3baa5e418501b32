/*
 * exporttable.h - the fifty exports of kydoru.dll, written once: ordinal, name, result
 * type, parameter list and argument list. kydoru.def (the shipped export table), the
 * binders of the demo, kyctl and the tests, and the stdcall companion all derive from
 * or are checked against this list; exports.h documents each entry.
 *
 * Use: #define X(ordinal, name, result, params, args) ..., then KYDORU_EXPORT_TABLE(X).
 */
#ifndef KYDORU_EXPORTTABLE_H
#define KYDORU_EXPORTTABLE_H

#define KYDORU_EXPORT_COUNT 50

#define KYDORU_EXPORT_TABLE(X) \
    X(1, kyCanChangeVideoMode, int, (void), ()) \
    X(2, kyCancelFullScreen, int, (void), ()) \
    X(3, kyChangeVideoModePermanently, int, (void), ()) \
    X(4, kyChangeVideoModeTemporarily, int, (void), ()) \
    X(5, kyCommIBClear, int, (void), ()) \
    X(6, kyCommOBClear, int, (void), ()) \
    X(7, kyCommRTerminate, int, (void), ()) \
    X(8, kyCommWTerminate, int, (void), ()) \
    X(9, kyDesktopBmpEffect, int, (int effect, int blankMode), (effect, blankMode)) \
    X(10, kyFlashWindow, int, (HWND window, unsigned int count), (window, count)) \
    X(11, kyFullScreen, int, (void), ()) \
    X(12, kyGetCurrentVideoMode, int, (int *bitsPerPixel, int *width, int *height, int *refreshRate), (bitsPerPixel, width, height, refreshRate)) \
    X(13, kyGetWSPath, void, (char *buffer), (buffer)) \
    X(14, kyHDid, int, (int driveIndex, int kind, char *buffer), (driveIndex, kind, buffer)) \
    X(15, kyHideDesktop, int, (void), ()) \
    X(16, kyHideDesktopIcons, int, (void), ()) \
    X(17, kyHideStartButton, int, (void), ()) \
    X(18, kyHideSystemClock, int, (void), ()) \
    X(19, kyHideTaskBar, int, (void), ()) \
    X(20, kyLogo, int, (void), ()) \
    X(21, kyMonitorOff, LRESULT, (void), ()) \
    X(22, kyNewDesktopOff, int, (void), ()) \
    X(23, kyNewDesktopOn, int, (void), ()) \
    X(24, kyPerformReboot, int, (void), ()) \
    X(25, kyProcSpeed, unsigned int, (void), ()) \
    X(26, kyRemoveWindowTrans, int, (HWND window), (window)) \
    X(27, kySetCapsLock, void, (int wanted), (wanted)) \
    X(28, kySetNumLock, void, (int wanted), (wanted)) \
    X(29, kySetWTransparent, int, (HWND window, int alpha), (window, alpha)) \
    X(30, kySetupComm, int, (int ignored, unsigned int inputQueueSize, unsigned int outputQueueSize), (ignored, inputQueueSize, outputQueueSize)) \
    X(31, kyShowDesktop, int, (void), ()) \
    X(32, kyShowDesktopIcons, int, (void), ()) \
    X(33, kyShowStartButton, int, (void), ()) \
    X(34, kyShowSystemClock, int, (void), ()) \
    X(35, kyShowTaskBar, int, (void), ()) \
    X(36, kySoftClock, int, (void), ()) \
    X(37, kySystemDialogMP, INT_PTR, (void), ()) \
    X(38, kySystemDialogTD, INT_PTR, (void), ()) \
    X(39, kySystemPowerHibernate, int, (void), ()) \
    X(40, kySystemPowerSuspend, int, (void), ()) \
    X(41, kyWindowBmpEffect, int, (HWND window, int effect, int blankMode), (window, effect, blankMode)) \
    X(42, kyWindowBmpEffect2, int, (HWND target, HWND source, int effect), (target, source, effect)) \
    X(43, kyWindowD1, int, (HWND window), (window)) \
    X(44, kyWindowErase, int, (HWND window), (window)) \
    X(45, ky_ClosePort, int, (void), ()) \
    X(46, ky_ComConf, int, (unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits), (baud, byteSize, parityCheck, parity, stopBits)) \
    X(47, ky_ComOpen, HANDLE, (const char *name), (name)) \
    X(48, ky_ReadByte, int, (unsigned char *target), (target)) \
    X(49, ky_SetComTimeouts, int, (unsigned int readInterval, unsigned int readTotalMultiplier, unsigned int readTotalConstant, unsigned int writeTotalMultiplier, unsigned int writeTotalConstant), (readInterval, readTotalMultiplier, readTotalConstant, writeTotalMultiplier, writeTotalConstant)) \
    X(50, ky_WriteByte, int, (const unsigned char *source), (source))

#endif /* KYDORU_EXPORTTABLE_H */
