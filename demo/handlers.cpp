// What each control of the demo does: the library calls in their order and what the
// form shows afterwards. Library results are not examined (only the processor speed is
// shown); the form changes as designed even when a call finds nothing to act on.
#include "handlers.h"

#include <string.h>

#include "controls.h"
#include "formtext.h"
#include "library.h"

namespace {

// The disk and path handlers' byte buffer. The disk texts fit in 255 bytes; the path
// export may write a full path of 259 characters and its terminator, so that buffer
// is 260 bytes.
enum { diskBufferSize = 255, pathBufferSize = MAX_PATH };

void setCaption(HWND form, int id, const char *text)
{
    SetDlgItemTextA(form, id, text);
}

void enable(HWND form, int id, bool on)
{
    EnableWindow(GetDlgItem(form, id), on ? TRUE : FALSE);
}

bool isChecked(HWND form, int id)
{
    return SendDlgItemMessageA(form, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Hide/Show pairs: exactly one button of a pair is enabled, flipping on every click.
void swapPair(HWND form, int disabled, int enabled)
{
    enable(form, disabled, false);
    enable(form, enabled, true);
}

void onCapsLock(FormState *state)
{
    if (isChecked(state->form, idCheck1)) {
        setCaption(state->form, idCheck1, "Caps Lock On");
        lib::setCapsLock(-1);
    } else {
        lib::setCapsLock(0);
        setCaption(state->form, idCheck1, "Caps Lock Off");
    }
}

void onNumLock(FormState *state)
{
    if (isChecked(state->form, idCheck2)) {
        setCaption(state->form, idCheck2, "Num Lock On");
        lib::setNumLock(-1);
    } else {
        lib::setNumLock(0);
        setCaption(state->form, idCheck2, "Num Lock Off");
    }
}

void onGetVideoMode(FormState *state)
{
    int depth = 0, width = 0, height = 0, rate = 0;
    lib::getCurrentVideoMode(&depth, &width, &height, &rate);
    char text[64];
    formatNumber("x=", width, text, sizeof text);
    setCaption(state->form, idLabelgX, text);
    formatNumber("y=", height, text, sizeof text);
    setCaption(state->form, idLabelgY, text);
    formatNumber("c=", depth, text, sizeof text);
    setCaption(state->form, idLabelgC, text);
    formatNumber("f=", rate, text, sizeof text);
    setCaption(state->form, idLabelgF, text);
}

void onDiskDetection(FormState *state)
{
    static const struct {
        int kind;
        const char *prefix;
        int label;
    } passes[] = {
        {1, "HDD Model:", idLabel12},
        {2, "HDD S.No:", idLabel13},
        {3, "HDD R.No:", idLabel14},
    };
    for (const auto &pass : passes) {
        unsigned char buffer[diskBufferSize];
        memset(buffer, 0, sizeof buffer);
        lib::hdId(0, pass.kind, reinterpret_cast<char *>(buffer));
        char text[diskBufferSize + 16];
        bytesToText(pass.prefix, buffer, sizeof buffer, text, sizeof text);
        setCaption(state->form, pass.label, text);
    }
}

void onWinEffect(FormState *state)
{
    state->effectNumber = nextEffectNumber(state->effectNumber);
    char title[64];
    effectTitle(state->effectNumber, title, sizeof title);
    SetWindowTextA(state->form, title);
    lib::windowBmpEffect(state->form, state->effectNumber, 1);
}

void onEnd(FormState *state)
{
    // The clock's handler is still running below us: ending now would cut it off.
    if (state->clockState > 0) {
        MessageBoxA(state->form, "Please, Stop Clock First", KYDEMO_TITLE, MB_OK);
        return;
    }
    lib::desktopBmpEffect(11, 0);
    lib::desktopBmpEffect(12, 1);
    lib::desktopBmpEffect(13, 0);
    lib::desktopBmpEffect(14, 0);
    lib::setWTransparent(state->form, 255);
    setCaption(state->form, idLabel19, "First, picture go away line by line,then we go FAST");
    lib::windowD1(GetDlgItem(state->form, idKyslika));
    lib::windowErase(state->form);
    ExitProcess(0);
}

void onClock(FormState *state)
{
    if (state->clockState < 1) {
        setCaption(state->form, idCommand22, "Clock OFF");
        state->clockState = 1;
    } else {
        setCaption(state->form, idCommand22, "Clock ON");
        state->clockState = 0;
    }
    // Switching on returns only when the next click (nested in the clock's own
    // message loop) switches the clock off again.
    lib::softClock(state->clockState);
}

void onProcessorSpeed(FormState *state)
{
    int speed = lib::procSpeed();
    char text[64];
    formatNumber("Processor speed (MHz):", speed, text, sizeof text);
    setCaption(state->form, idLabel18, text);
}

void onPath()
{
    char buffer[pathBufferSize];
    memset(buffer, 0, sizeof buffer);
    lib::getWSPath(buffer);
}

}  // namespace

void initFormState(FormState *state, HWND form)
{
    state->form = form;
    state->effectNumber = -1;
    state->clockState = 0;
}

void handleCommand(FormState *state, int controlId, int notification)
{
    HWND form = state->form;
    bool isClickLabel = controlId == idLabel18 || controlId == idLabel22;
    if (isClickLabel ? notification != STN_CLICKED : notification != BN_CLICKED)
        return;
    switch (controlId) {
    case idCheck1: onCapsLock(state); break;
    case idCheck2: onNumLock(state); break;
    case idCommand1: lib::flashWindow(form, 5); break;
    case idCommand2: lib::hideTaskBar(); swapPair(form, idCommand2, idCommand3); break;
    case idCommand3: lib::showTaskBar(); swapPair(form, idCommand3, idCommand2); break;
    case idCommand4: lib::hideStartButton(); swapPair(form, idCommand4, idCommand5); break;
    case idCommand5: lib::showStartButton(); swapPair(form, idCommand5, idCommand4); break;
    case idCommand6: lib::hideSystemClock(); swapPair(form, idCommand6, idCommand7); break;
    case idCommand7: lib::showSystemClock(); swapPair(form, idCommand7, idCommand6); break;
    case idCommand8: lib::hideDesktopIcons(); swapPair(form, idCommand8, idCommand9); break;
    case idCommand9: lib::showDesktopIcons(); swapPair(form, idCommand9, idCommand8); break;
    case idCommand10: onGetVideoMode(state); break;
    case idCommand11: lib::changeVideoModePermanently(0, 1024, 768, 0); break;
    case idCommand12: lib::removeWindowTrans(form); break;
    case idCommand13: lib::performReboot(); break;
    case idCommand14: onDiskDetection(state); break;
    case idCommand15: lib::monitorOff(form); break;
    case idCommand16: lib::systemPowerSuspend(); break;
    case idCommand17: lib::systemPowerHibernate(); break;
    case idCommand18: onWinEffect(state); break;
    case idCommand19: onEnd(state); break;
    case idCommand20: lib::systemDialogMP(); break;
    case idCommand21: lib::systemDialogTD(); break;
    case idCommand22: onClock(state); break;
    case idLogo: lib::logo(); break;
    case idLabel18: onProcessorSpeed(state); break;
    case idLabel22: onPath(); break;
    default: break;
    }
}

void handleScroll(FormState *state, HWND bar, int request, int thumbPosition)
{
    if (!bar || GetDlgCtrlID(bar) != idHScroll1)
        return;
    int current = GetScrollPos(bar, SB_CTL);
    int value = scrollTarget(request, current, thumbPosition, transparencyMin, transparencyMax, 1, 5);
    bool moved = value != current;
    if (moved)
        SetScrollPos(bar, SB_CTL, value, TRUE);
    // Each thumb move, and every change of value, sets the form's opacity.
    if (moved || request == SB_THUMBTRACK || request == SB_THUMBPOSITION)
        lib::setWTransparent(state->form, value);
}
