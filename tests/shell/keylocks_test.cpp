// Lock keys: the exact key events through replaced system calls, then the real events as
// a low-level keyboard hook sees them and the thread's key state after them.
#include "kytest.h"

#include <string>
#include <vector>

#include "shell/keylocks.h"

namespace {

BYTE plantedState[256];
bool stateReadable = true;
std::string sent;  // "key scan flags extra" of every event, in order

BOOL WINAPI fakeGetKeyboardState(PBYTE state)
{
    if (stateReadable)
        memcpy(state, plantedState, sizeof plantedState);
    return stateReadable;
}

void WINAPI fakeKeybdEvent(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    char event[64];
    snprintf(event, sizeof event, "%02x %02x %lx %lu; ", key, scan, flags, static_cast<unsigned long>(extra));
    sent += event;
}

// One press and one release, both extended, both with scan code 0x45.
const std::string numLockPress = "90 45 1 0; 90 45 3 0; ";
const std::string capsLockPress = "14 45 1 0; 14 45 3 0; ";

class LockKeyEvents : public testing::Test {
protected:
    void SetUp() override
    {
        saved = keyboardCalls;
        keyboardCalls = {fakeGetKeyboardState, fakeKeybdEvent};
        memset(plantedState, 0, sizeof plantedState);
        stateReadable = true;
    }
    void TearDown() override { keyboardCalls = saved; }
    // The events one call sends.
    template <typename Call>
    std::string eventsOf(Call call)
    {
        sent.clear();
        call();
        return sent;
    }
    KeyboardCalls saved;
};

TEST_F(LockKeyEvents, OnlyAStateThatDiffersIsToggled)
{
    plantedState[VK_NUMLOCK] = 1;
    EXPECT_EQ(eventsOf([] { kySetNumLock(1); }), "") << "Num Lock on and wanted on";
    plantedState[VK_NUMLOCK] = 0x81;  // held down and on: only the toggle bit counts
    EXPECT_EQ(eventsOf([] { kySetNumLock(-1); }), "");
    plantedState[VK_NUMLOCK] = 0x80;
    EXPECT_EQ(eventsOf([] { kySetNumLock(-1); }), numLockPress) << "Num Lock off, wanted -1";
    EXPECT_EQ(eventsOf([] { kySetNumLock(0); }), "") << "Num Lock off and wanted off";

    plantedState[VK_CAPITAL] = 1;
    EXPECT_EQ(eventsOf([] { kySetCapsLock(0); }), capsLockPress) << "Caps Lock on, wanted off";
    EXPECT_EQ(eventsOf([] { kySetCapsLock(2); }), "") << "2 counts as on";
    plantedState[VK_CAPITAL] = 0;
    EXPECT_EQ(eventsOf([] { kySetCapsLock(2); }), capsLockPress);
}

TEST_F(LockKeyEvents, AnUnreadableStateCountsAsOff)
{
    memset(plantedState, 0xFF, sizeof plantedState);
    stateReadable = false;
    EXPECT_EQ(eventsOf([] { kySetCapsLock(0); }), "");
    EXPECT_EQ(eventsOf([] { kySetCapsLock(1); }), capsLockPress);
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
