// Processor speed: the DLL against the system's own registry value, and the failure
// cases against a key of the test's own under HKEY_CURRENT_USER.
#include "kytest.h"

#include "device/procspeed.h"
#include "handles.h"

namespace {

const char cpuKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

TEST(ProcessorSpeed, EqualsTheRegistryValue)
{
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, cpuKey, 0, KEY_READ, &key), ERROR_SUCCESS)
        << "the system records processor 0 under HKLM\\" << cpuKey;
    DWORD mhz = 0, size = sizeof mhz, type = 0;
    LONG status = RegQueryValueExA(key, "~MHz", NULL, &type, reinterpret_cast<BYTE *>(&mhz), &size);
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS) << "the ~MHz value";
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(KYDLL(kyProcSpeed)(), mhz);
    EXPECT_EQ(kyProcSpeed(), mhz) << "the program's own copy reads the same key";
}

TEST(ProcessorSpeed, LeavesNoKeyOpen)
{
    KYDLL(kyProcSpeed)();
    long before = kytest::openHandleCount();
    if (before < 0)
        GTEST_SKIP() << "this system doesn't tell the process's handle count, so open keys can't be counted";
    for (int i = 0; i < 200; ++i)
        KYDLL(kyProcSpeed)();
    EXPECT_EQ(kytest::openHandleCount(), before) << "each call closes the key it opened";
}

// A processor key of the test's own: HKCU\Software\kydoru-tests\CentralProcessor\0.
class ProcSpeedKeyTest : public testing::Test {
protected:
    const char *root = "Software\\kydoru-tests";
    const char *subkey = "Software\\kydoru-tests\\CentralProcessor\\0";
    HKEY key = NULL;

    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, root);
        procSpeedKey = {HKEY_CURRENT_USER, subkey, "~MHz"};
    }
    void TearDown() override
    {
        procSpeedKey = systemProcSpeedKey;
        if (key)
            RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, root);
    }
    void create()
    {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
                  ERROR_SUCCESS);
    }
    void set(DWORD type, const void *data, DWORD size)
    {
        ASSERT_EQ(RegSetValueExA(key, "~MHz", 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
    }
};

TEST_F(ProcSpeedKeyTest, MissingKeyOrValueGivesZero)
{
    EXPECT_EQ(kyProcSpeed(), 0u) << "no such subkey";
    create();
    EXPECT_EQ(kyProcSpeed(), 0u) << "subkey without ~MHz";
    DWORD other = 1234;
    set(REG_DWORD, &other, sizeof other);
    ASSERT_EQ(RegSetValueExA(key, "MHz", 0, REG_DWORD, reinterpret_cast<BYTE *>(&other), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValueA(key, "~MHz"), ERROR_SUCCESS);
    EXPECT_EQ(kyProcSpeed(), 0u) << "only the value named ~MHz counts";
}

TEST_F(ProcSpeedKeyTest, ValueIsReturnedAsANumberWhateverItsType)
{
    create();
    DWORD mhz = 2992;
    set(REG_DWORD, &mhz, sizeof mhz);
    EXPECT_EQ(kyProcSpeed(), 2992u);
    const unsigned char binary[4] = {0x78, 0x56, 0x34, 0x12};
    set(REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(kyProcSpeed(), 0x12345678u) << "a 4-byte value of any type";
    // A shorter value reads as its own bytes; the rest stays zero.
    const unsigned char two[2] = {0xB0, 0x0B};
    set(REG_BINARY, two, sizeof two);
    EXPECT_EQ(kyProcSpeed(), 0x0BB0u);
    // A value too large for 4 bytes can't be read: 0.
    ULONGLONG wide = 0x100000BB0ull;
    set(REG_QWORD, &wide, sizeof wide);
    EXPECT_EQ(kyProcSpeed(), 0u);
}

}  // namespace
