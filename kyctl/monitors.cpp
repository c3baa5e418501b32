// The monitors as Windows lists them, for `monitors`, `mode --monitor M` and the check
// of --monitor on the screen-wide commands. No export takes a monitor, so nothing here
// calls one: the screen-wide exports act on the primary monitor, and kyctl takes
// --monitor for them only where it names that one.
#include "platform.h"

namespace kyctl {

namespace {

struct Found {
    HMONITOR monitors[maxMonitors];
    int count, total;
};

BOOL CALLBACK collect(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    Found *found = reinterpret_cast<Found *>(data);
    if (found->count < maxMonitors)
        found->monitors[found->count++] = monitor;
    ++found->total;
    return TRUE;
}

Area areaOf(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// The mode Windows reports for the monitor's device. Wine answers with every field 0 for
// a monitor after the first; the size is then the monitor's own, the rest unknown.
ModeRecord modeOf(const wchar_t *device, const RECT &area)
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsW(device, ENUM_CURRENT_SETTINGS, &mode) && mode.dmPelsWidth && mode.dmPelsHeight &&
        mode.dmBitsPerPel)
        return {static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency), false};
    return {area.right - area.left, area.bottom - area.top, 0, 0, true};
}

// Each monitor's own DPI comes from shcore (Windows 8.1 on); before that Windows has one
// DPI for all, the system's, read from the screen (gdi32 is loaded with user32 already,
// and looked up rather than imported to keep kyctl's imports few).
int dpiOf(HMONITOR monitor)
{
    typedef HRESULT(WINAPI * GetDpiForMonitorFn)(HMONITOR, int, UINT *, UINT *);
    typedef int(WINAPI * GetDeviceCapsFn)(HDC, int);
    static GetDpiForMonitorFn getDpiForMonitor;
    static GetDeviceCapsFn deviceCaps;
    static bool looked;
    if (!looked) {  // once: asked for every monitor
        looked = true;
        getDpiForMonitor = systemFunction<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
        deviceCaps = systemFunction<GetDeviceCapsFn>("gdi32.dll", "GetDeviceCaps");
    }
    const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the one the user chose for it
    UINT x = 0, y = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, effectiveDpi, &x, &y)) && x > 0)
        return static_cast<int>(x);

    HDC screen = deviceCaps ? GetDC(NULL) : NULL;
    int dpi = screen ? deviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(NULL, screen);
    return dpi;
}

// Every monitor, numbered as numberMonitors orders them; the device names live in
// `strings`. Says so when there are more than kyctl lists.
int listMonitors(MonitorRecord *out, Text *strings)
{
    static Found found;
    found.count = found.total = 0;
    EnumDisplayMonitors(NULL, NULL, collect, reinterpret_cast<LPARAM>(&found));
    if (found.total > found.count)
        say("only the first %d of %d monitors are listed", found.count, found.total);
    int count = 0;
    for (int i = 0; i < found.count; ++i) {
        MONITORINFOEXW info = {};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(found.monitors[i], &info))
            continue;  // unplugged meanwhile
        info.szDevice[CCHDEVICENAME - 1] = L'\0';
        MonitorRecord &m = out[count++];
        m.device = pieceFromWide(strings, info.szDevice);
        m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        m.area = areaOf(info.rcMonitor);
        m.workArea = areaOf(info.rcWork);
        m.mode = modeOf(info.szDevice, info.rcMonitor);
        m.dpi = dpiOf(found.monitors[i]);
    }
    numberMonitors(out, count);
    return count;
}

MonitorRecord monitors[maxMonitors];
char deviceNames[maxMonitors * (CCHDEVICENAME * 3 + 1)];

// The monitor --monitor names, or null with the usage error said.
const MonitorRecord *chosenMonitor(const Request &r)
{
    Text strings = textOver(deviceNames, sizeof deviceNames);
    int count = listMonitors(monitors, &strings);
    if (r.monitor >= 1 && r.monitor <= count)
        return &monitors[r.monitor - 1];
    say("%s --monitor %d: there %s %d monitor%s (kyctl monitors lists them)", r.command->name, r.monitor,
        count == 1 ? "is" : "are", count, count == 1 ? "" : "s");
    return nullptr;
}

// The export a screen-wide form calls: each acts on the primary monitor alone.
const char *primaryOnlyExport(Action action)
{
    switch (action) {
    case actModeCheck: return EXPORT_NAME(kyCanChangeVideoMode);
    case actModeTemporary: return EXPORT_NAME(kyChangeVideoModeTemporarily);
    case actModePermanent: return EXPORT_NAME(kyChangeVideoModePermanently);
    case actFullscreen: return EXPORT_NAME(kyFullScreen);
    default: return EXPORT_NAME(kyDesktopBmpEffect);
    }
}

}  // namespace

int runMonitors(const Request &r)
{
    Text strings = textOver(deviceNames, sizeof deviceNames);
    int count = listMonitors(monitors, &strings);
    if (count == 0) {
        say("monitors: Windows lists no monitor");
        return exitFailed;
    }
    static char buffer[maxMonitors * 512];
    Text out = textOver(buffer, sizeof buffer);
    formatMonitors(&out, r.json, monitors, count);
    writeText(STD_OUTPUT_HANDLE, out);
    return exitDone;
}

int runModeOfMonitor(const Request &r)
{
    const MonitorRecord *monitor = chosenMonitor(r);
    if (!monitor)
        return exitUsage;
    char buffer[256];
    Text out = textOver(buffer, sizeof buffer);
    formatMode(&out, r.json, monitor->mode);
    writeText(STD_OUTPUT_HANDLE, out);
    return exitDone;
}

int checkPrimaryOnly(const Request &r)
{
    if (r.monitor < 1 || r.action == actModeMonitor)
        return exitDone;  // no --monitor: the primary, as always; mode --monitor reads any
    const MonitorRecord *monitor = chosenMonitor(r);
    if (!monitor)
        return exitUsage;
    if (monitor->primary)
        return exitDone;
    say("%s --monitor %d: %s works on the primary monitor only (monitor 1); nothing was changed", r.command->name,
        r.monitor, primaryOnlyExport(r.action));
    return exitUsage;
}

}  // namespace kyctl
