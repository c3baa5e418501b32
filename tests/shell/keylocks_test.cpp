// Lock keys: the exact key events through replaced system calls, then the real events as
// a low-level keyboard hook sees them and the thread's key state after them.
#include "kytest.h"

#include <vector>

#include "shell/keylocks.h"

namespace {

struct KeyEvent {
    BYTE key, scan;
    DWORD flags;
    ULONG_PTR extra;
};

BYTE plantedState[256];
bool stateReadable = true;
std::vector<KeyEvent> sent;

BOOL WINAPI fakeGetKeyboardState(PBYTE state)
{
    if (!stateReadable)
        return FALSE;
    memcpy(state, plantedState, sizeof plantedState);
    return TRUE;
}

void WINAPI fakeKeybdEvent(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    sent.push_back({key, scan, flags, extra});
}

class LockKeyEvents : public testing::Test {
protected:
    void SetUp() override
    {
        saved = keyboardCalls;
        keyboardCalls = {fakeGetKeyboardState, fakeKeybdEvent};
        memset(plantedState, 0, sizeof plantedState);
        stateReadable = true;
        sent.clear();
    }
    void TearDown() override { keyboardCalls = saved; }
    void expectOnePress(BYTE key, const char *what)
    {
        ASSERT_EQ(sent.size(), 2u) << what << ": one press and one release";
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(sent[i].key, key) << what;
            EXPECT_EQ(sent[i].scan, 0x45) << what << ": scan code 0x45";
            EXPECT_EQ(sent[i].extra, ULONG_PTR(0));
        }
        EXPECT_EQ(sent[0].flags, DWORD(KEYEVENTF_EXTENDEDKEY)) << what;
        EXPECT_EQ(sent[1].flags, DWORD(KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)) << what;
        sent.clear();
    }
    KeyboardCalls saved;
};

TEST_F(LockKeyEvents, OnlyAStateThatDiffersIsToggled)
{
    plantedState[VK_NUMLOCK] = 1;
    kySetNumLock(1);
    EXPECT_TRUE(sent.empty()) << "Num Lock on and wanted on";
    plantedState[VK_NUMLOCK] = 0x81;  // held down and toggled on: only the toggle bit counts
    kySetNumLock(-1);
    EXPECT_TRUE(sent.empty());

    plantedState[VK_NUMLOCK] = 0x80;
    kySetNumLock(-1);
    expectOnePress(VK_NUMLOCK, "Num Lock off, wanted -1");
    kySetNumLock(0);
    EXPECT_TRUE(sent.empty()) << "Num Lock off and wanted off";

    plantedState[VK_CAPITAL] = 1;
    kySetCapsLock(0);
    expectOnePress(VK_CAPITAL, "Caps Lock on, wanted off");
    kySetCapsLock(2);
    EXPECT_TRUE(sent.empty()) << "2 counts as on";
    plantedState[VK_CAPITAL] = 0;
    kySetCapsLock(2);
    expectOnePress(VK_CAPITAL, "Caps Lock off, wanted 2");
}

TEST_F(LockKeyEvents, AnUnreadableStateCountsAsOff)
{
    memset(plantedState, 0xFF, sizeof plantedState);
    stateReadable = false;
    kySetCapsLock(0);
    EXPECT_TRUE(sent.empty());
    kySetCapsLock(1);
    expectOnePress(VK_CAPITAL, "unreadable state, wanted on");
}

std::vector<KBDLLHOOKSTRUCT> hooked;

LRESULT CALLBACK recordKeys(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        hooked.push_back(*reinterpret_cast<KBDLLHOOKSTRUCT *>(lParam));
    return CallNextHookEx(NULL, code, wParam, lParam);
}

bool toggled(BYTE key)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    return (state[key] & 1) != 0;
}

TEST(LockKeys, RealEventsCarryTheKeyScanCodeAndFlagsAndToggleTheState)
{
    HWND window = kytest::createTestWindow(200, 200, 200, 120, RGB(255, 255, 0));
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, recordKeys, GetModuleHandleA(NULL), 0);
    ASSERT_NE(hook, nullptr);
    kytest::pumpMessages(100);

    for (BYTE key : {BYTE(VK_NUMLOCK), BYTE(VK_CAPITAL)}) {
        auto set = key == VK_NUMLOCK ? KYDLL(kySetNumLock) : KYDLL(kySetCapsLock);
        bool initially = toggled(key);
        hooked.clear();
        set(initially ? 0 : -1);
        kytest::waitUntil([] { return hooked.size() >= 2; }, 3000);
        kytest::pumpMessages(100);
        ASSERT_EQ(hooked.size(), 2u) << "one press and one release of key " << int(key);
        for (const auto &event : hooked) {
            EXPECT_EQ(event.vkCode, key);
            EXPECT_EQ(event.scanCode, 0x45u);
            EXPECT_TRUE(event.flags & LLKHF_EXTENDED);
            EXPECT_TRUE(event.flags & LLKHF_INJECTED);
        }
        EXPECT_FALSE(hooked[0].flags & LLKHF_UP);
        EXPECT_TRUE(hooked[1].flags & LLKHF_UP);
        EXPECT_NE(toggled(key), initially) << "the thread's state follows the press of key " << int(key);

        hooked.clear();
        set(initially ? 0 : 1);
        kytest::pumpMessages(200);
        EXPECT_TRUE(hooked.empty()) << "the state already matches";
        set(initially ? 1 : 0);  // back as it was
        kytest::pumpMessages(200);
        EXPECT_EQ(toggled(key), initially);
    }
    UnhookWindowsHookEx(hook);
    DestroyWindow(window);
}

}  // namespace
