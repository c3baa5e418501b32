// The application manifest of each shipped program, read back from the file as the
// loader reads it at process start: resource 1 of type RT_MANIFEST made into an
// activation context, whose settings, supported systems and redirections are asked for.
#include <windows.h>

#include <set>
#include <string>

#include "kytest.h"

namespace {

struct ProgramManifest {
    const char *file;
    bool commonControls6;
};

const ProgramManifest programManifests[] = {
    {"kydemo.exe", true},
    {"kyctl.exe", false},
};

BOOL CALLBACK countManifest(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    reinterpret_cast<std::set<ULONG_PTR> *>(names)->insert(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
    return TRUE;
}

std::wstring setting(HANDLE context, const wchar_t *space, const wchar_t *name)
{
    wchar_t value[128] = L"";
    SIZE_T length = 0;
    return QueryActCtxSettingsW(0, context, space, name, value, 128, &length) ? value : L"(none)";
}

// The systems the manifest names, as GUID strings. The record grew a 64-bit field with
// Windows 10 (its entries then 32 bytes from offset 8, before 20 bytes from offset 4).
std::set<std::wstring> supportedSystems(HANDLE context)
{
    BYTE info[1024] = {};
    SIZE_T size = 0;
    std::set<std::wstring> systems;
    if (!QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext, info, sizeof info, &size))
        return systems;
    DWORD count = *reinterpret_cast<DWORD *>(info);
    size_t start = size == 4 + 20 * count ? 4 : 8, stride = size == 4 + 20 * count ? 20 : 32;
    for (DWORD i = 0; i < count && start + stride * (i + 1) <= size; ++i) {
        const BYTE *element = info + start + stride * i;
        wchar_t id[40];
        if (*reinterpret_cast<const DWORD *>(element + 16) == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS &&
            StringFromGUID2(*reinterpret_cast<const GUID *>(element), id, 40))
            systems.insert(id);
    }
    return systems;
}

TEST(ShippedManifest, EveryProgramIsDpiAwareAndNamesWindows7To11)
{
    const std::set<std::wstring> windows7To11 = {
        L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}", L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",
        L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}", L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"};
    for (const ProgramManifest &program : programManifests) {
        SCOPED_TRACE(program.file);
        const std::string path = kytest::programFolder() + program.file;
        HMODULE image = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(image) << "error " << GetLastError();
        std::set<ULONG_PTR> names;
        EnumResourceNamesA(image, MAKEINTRESOURCEA(24), countManifest, reinterpret_cast<LONG_PTR>(&names));
        FreeLibrary(image);
        EXPECT_EQ(std::set<ULONG_PTR>{1}, names) << "one manifest, resource 1 (CREATEPROCESS_MANIFEST_RESOURCE_ID)";

        std::wstring source(path.begin(), path.end());
        ACTCTXW request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = source.c_str();
        request.lpResourceName = MAKEINTRESOURCEW(1);
        HANDLE context = CreateActCtxW(&request);
        ASSERT_NE(INVALID_HANDLE_VALUE, context) << "the loader accepts the manifest (error " << GetLastError() << ")";
        EXPECT_EQ(L"true/pm", setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
        EXPECT_EQ(L"PerMonitorV2, PerMonitor",
                  setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
        EXPECT_EQ(windows7To11, supportedSystems(context));
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
        SIZE_T size = 0;
        EXPECT_TRUE(QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &runLevel, sizeof runLevel,
                                 &size));
        EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, runLevel.RunLevel) << "runs with the caller's rights";

        ULONG_PTR cookie = 0;
        ASSERT_TRUE(ActivateActCtx(context, &cookie));
        ACTCTX_SECTION_KEYED_DATA comctl32 = {};
        comctl32.cbSize = sizeof comctl32;
        EXPECT_EQ(program.commonControls6, FindActCtxSectionStringW(0, NULL, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                                                   L"comctl32.dll", &comctl32) != FALSE)
            << "comctl32.dll redirected to the common controls 6 only for the program with controls";
        DeactivateActCtx(0, cookie);
        ReleaseActCtx(context);
    }
}

}  // namespace
