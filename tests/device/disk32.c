/* disk32: the real kyHDid in the emulated 32-bit run, from a program of one thread.
 *
 * Why a program of its own: under qemu-user the 32-bit Wine never returns from the
 * storage query that every kyHDid call makes while another thread of the process runs,
 * and the test programs always have one (the harness's case clock). Run with "thread",
 * this program starts a thread that only sleeps, as that clock does, and asks one query:
 * it shows the hang (the entry's time limit ends it). Without it, every drive index and
 * kind is asked of kydoru.dll directly and through the stdcall companion kydoru_std.dll
 * beside it: both must give the same result and the same buffer, and on a machine where
 * no disk answers (Wine's) the result is 0 with the buffer rules of the header. */
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <winioctl.h>

typedef int(__cdecl *HDidFn)(int, int, char *);
typedef int(__stdcall *HDidStdFn)(int, int, char *);

static int failures;

static void check(int ok, const char *what, int index, int kind)
{
    if (!ok) {
        printf("disk32: FAIL: kyHDid(%d, %d): %s\n", index, kind, what);
        failures++;
    }
}

static DWORD WINAPI sleeper(void *unused)
{
    (void)unused;
    for (;;)
        Sleep(200);
    return 0;
}

/* Whether a disk of this machine may answer: a miniport port opens, or the first disk's
 * descriptor names a product (Wine's names none). */
static int someDiskMayAnswer(void)
{
    HANDLE port = CreateFileA("\\\\.\\Scsi0:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return 1;
    }
    HANDLE drive = CreateFileA("\\\\.\\PhysicalDrive0", 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                               0, NULL);
    if (drive == INVALID_HANDLE_VALUE)
        return 0;
    STORAGE_PROPERTY_QUERY query = {StorageDeviceProperty, PropertyStandardQuery, {0}};
    unsigned char reply[512] = {0};
    DWORD returned = 0, product = 0;
    if (DeviceIoControl(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, reply, sizeof reply, &returned,
                        NULL) &&
        returned >= 20)
        memcpy(&product, reply + 16, sizeof product);
    CloseHandle(drive);
    return product != 0;
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc > 1 && strcmp(argv[1], "thread") == 0) {
        CloseHandle(CreateThread(NULL, 0, sleeper, NULL, 0, NULL));
        printf("disk32: one storage query beside a sleeping thread\n");
        printf("disk32: %s\n", someDiskMayAnswer() ? "a disk answers" : "answered, no disk");
        return 0;
    }
    HMODULE library = LoadLibraryA("kydoru.dll");
    HMODULE companion = LoadLibraryA("kydoru_std.dll");
    if (!library || !companion) {
        printf("disk32: FAIL: kydoru.dll or kydoru_std.dll not loaded, error %lu\n", GetLastError());
        return 1;
    }
    HDidFn direct = (HDidFn)(void (*)(void))GetProcAddress(library, "kyHDid");
    HDidStdFn viaCompanion = (HDidStdFn)(void (*)(void))GetProcAddress(companion, "kyHDid");
    if (!direct || !viaCompanion) {
        printf("disk32: FAIL: kyHDid missing\n");
        return 1;
    }
    const int noDisk = !someDiskMayAnswer();
    int calls = 0;
    for (int index = -1; index <= 4; index++) {
        for (int kind = 0; kind <= 4; kind++) {
            char cdeclText[64], stdText[64];
            memset(cdeclText, 'x', sizeof cdeclText);
            memset(stdText, 'x', sizeof stdText);
            const int cdeclResult = direct(index, kind, cdeclText);
            const int stdResult = viaCompanion(index, kind, stdText);
            calls += 2;
            check(cdeclResult == stdResult, "the companion's result differs", index, kind);
            check(memcmp(cdeclText, stdText, sizeof stdText) == 0, "the companion's buffer differs", index, kind);
            if (noDisk) {
                check(cdeclResult == 0, "a text where no disk answers", index, kind);
                if (kind >= 2)
                    check(cdeclText[0] == 0 && cdeclText[1] == 'x', "kind 2 and up: not just an empty string", index,
                          kind);
                else
                    check(cdeclText[0] == 'x', "kind 1 or less: the buffer was written", index, kind);
            }
        }
    }
    printf("disk32: %d kyHDid calls (%s), %d failure(s)\n", calls, noDisk ? "no disk answers here" : "disks answer",
           failures);
    return failures ? 1 : 0;
}
