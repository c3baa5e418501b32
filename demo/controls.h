// Control identifiers of the demo form, shared by the form, its handlers and the tests
// that drive the running program (they find each control with GetDlgItem).
#pragma once

// The form's window class; its title is the product line below.
#define KYDEMO_FORM_CLASS "Form1"
#define KYDEMO_FORM_TITLE "KY Computer Software - DEMO VB Application"

enum DemoControl {
    idCommand1 = 101, idCommand2, idCommand3, idCommand4, idCommand5, idCommand6, idCommand7,
    idCommand8, idCommand9, idCommand10, idCommand11, idCommand12, idCommand13, idCommand14,
    idCommand15, idCommand16, idCommand17, idCommand18, idCommand19, idCommand20, idCommand21,
    idCommand22,
    idLogo = 130,
    idCheck1 = 140, idCheck2,
    idHScroll1 = 150,
    idKyslika = 160,
    idLabel1 = 170, idLabel2, idLabel3, idLabel4, idLabel5, idLabel6, idLabel12, idLabel13,
    idLabel14, idLabel18, idLabel19, idLabel22,
    idLabelgX = 190, idLabelgY, idLabelgC, idLabelgF,
};

// Scroll bar range: the library never goes below alpha 220 either.
enum { transparencyMin = 220, transparencyMax = 255 };
