// The form's event handlers: each control event calls its kydoru exports and then
// updates captions and enabled states.
#pragma once
#include <windows.h>

// The form's own variables, live as long as the form.
struct FormState {
    HWND form;
    short effectNumber;  // the effect "win effect" played last; -1 before its first click
    short clockState;    // 1 while the demo has the desktop clock switched on
};

void initFormState(FormState *state, HWND form);

// A WM_COMMAND from a control of the form (button click, check box click, label click).
void handleCommand(FormState *state, int controlId, int notification);
// A WM_HSCROLL from the transparency scroll bar; the thumb position (16 bits are
// plenty for 220 to 255) comes with the thumb requests.
void handleScroll(FormState *state, HWND bar, int request, int thumbPosition);
