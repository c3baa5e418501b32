// The version resource of every shipped binary, read back the way Explorer's Properties
// page reads it, and compared with the header's version macros and the product's names.
#include <windows.h>

#include <string>
#include <vector>

#include "kydoru_version.h"
#include "kytest.h"

namespace {

struct ShippedBinary {
    const char *file;
    const char *description;
    DWORD fileType;
};

const ShippedBinary shippedBinaries[] = {
    {"kydoru.dll", "kydoru utility library", VFT_DLL},
    {"kydemo.exe", "kydoru demonstration program", VFT_APP},
    {"kyctl.exe", "kydoru command-line front end", VFT_APP},
#ifndef _WIN64
    {"kydoru_std.dll", "kydoru stdcall companion for VB6 and VBA", VFT_DLL},
#endif
};

std::vector<char> versionInfo(const std::string &path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        data.clear();
    return data;
}

// A string of the U.S. English, Unicode block; "(missing)" when there is none.
std::string versionString(std::vector<char> &data, const char *name)
{
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void **>(&value), &length) || !value)
        return "(missing)";
    return std::string(value);
}

}  // namespace

TEST(ShippedVersion, EveryBinaryCarriesTheProjectVersionAndNames)
{
    const DWORD versionHigh = (KYDORU_VERSION_MAJOR << 16) | KYDORU_VERSION_MINOR;
    const DWORD versionLow = KYDORU_VERSION_PATCH << 16;
    for (const ShippedBinary &binary : shippedBinaries) {
        SCOPED_TRACE(binary.file);
        std::vector<char> data = versionInfo(kytest::programFolder() + binary.file);
        ASSERT_FALSE(data.empty()) << "no version resource (error " << GetLastError() << ")";

        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
        ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
        EXPECT_EQ(versionHigh, fixed->dwFileVersionMS);
        EXPECT_EQ(versionLow, fixed->dwFileVersionLS);
        EXPECT_EQ(versionHigh, fixed->dwProductVersionMS);
        EXPECT_EQ(versionLow, fixed->dwProductVersionLS);
        EXPECT_EQ(binary.fileType, fixed->dwFileType);

        // Windows picks the string block through the translation table.
        WORD *translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                                   reinterpret_cast<void **>(&translation), &length));
        ASSERT_GE(length, 4u);
        EXPECT_EQ(0x0409, translation[0]);
        EXPECT_EQ(1200, translation[1]);

        EXPECT_EQ(KYDORU_VERSION_STRING, versionString(data, "FileVersion"));
        EXPECT_EQ(KYDORU_VERSION_STRING, versionString(data, "ProductVersion"));
        EXPECT_EQ("kydoru", versionString(data, "ProductName"));
        EXPECT_EQ("KY Computer Software", versionString(data, "CompanyName"));
        EXPECT_EQ("Copyright (c) 2026 KY Computer Software", versionString(data, "LegalCopyright"));
        EXPECT_EQ(binary.file, versionString(data, "OriginalFilename"));
        EXPECT_EQ(binary.description, versionString(data, "FileDescription"));
    }
}
