// The form as designed: one table row per control so that the window code, the tests and
// a reader all see the same positions, captions and starting states.
#include "layout.h"
#include "controls.h"

#define ON true
#define OFF false

const ControlDesign formControls[] = {
    // Controls that take the focus, in tab order.
    {idCheck1, "Check1", kindCheckBox, "Caps Lock ON/OFF", 120, 360, 1935, 375, ON, fontForm, colourText},
    {idCheck2, "Check2", kindCheckBox, "Num Lock On", 120, 720, 1815, 375, ON, fontForm, colourText},
    {idCommand1, "Command1", kindButton, "Flash Window (5 times)", 120, 1440, 1935, 495, ON, fontForm, colourText},
    {idCommand2, "Command2", kindButton, "Hide Task bar", 120, 2040, 975, 495, ON, fontForm, colourText},
    {idCommand3, "Command3", kindButton, "Show Task bar", 1200, 2040, 855, 495, OFF, fontForm, colourText},
    {idCommand4, "Command4", kindButton, "Hide START button", 120, 2640, 975, 735, ON, fontForm, colourText},
    {idCommand5, "Command5", kindButton, "Show START button", 1200, 2640, 855, 735, OFF, fontForm, colourText},
    {idCommand6, "Command6", kindButton, "Hide Clock", 120, 3480, 975, 735, ON, fontForm, colourText},
    {idCommand7, "Command7", kindButton, "Show Clock", 1200, 3480, 855, 735, OFF, fontForm, colourText},
    {idCommand8, "Command8", kindButton, "Hide Desktop Icons", 120, 4320, 975, 615, ON, fontForm, colourText},
    {idCommand9, "Command9", kindButton, "Show Desktop Icons", 1200, 4320, 855, 615, OFF, fontForm, colourText},
    {idCommand10, "Command10", kindButton, "Get Video Mode", 2400, 360, 975, 495, ON, fontForm, colourText},
    {idCommand11, "Command11", kindButton, "Set Video Mode", 3600, 360, 855, 495, ON, fontForm, colourText},
    {idHScroll1, "HScroll1", kindScrollBar, "", 120, 5040, 7935, 255, ON, fontForm, colourText},
    {idCommand12, "Command12", kindButton, "Remove Transparency", 6840, 5400, 1215, 495, ON, fontForm, colourText},
    {idCommand13, "Command13", kindButton, "Reboot computer", 2400, 5400, 1575, 375, ON, fontForm, colourText},
    {idCommand14, "Command14", kindButton, "HDD Detection", 4920, 3360, 1455, 735, ON, fontForm, colourText},
    {idCommand15, "Command15", kindButton, "Monitor Off", 120, 1080, 1935, 255, ON, fontForm, colourText},
    {idCommand16, "Command16", kindButton, "Suspend", 4080, 5400, 1215, 375, ON, fontForm, colourText},
    {idCommand17, "Command17", kindButton, "Hibernate", 5400, 5400, 1215, 375, ON, fontForm, colourText},
    {idCommand18, "Command18", kindButton, "win effect", 4200, 2760, 615, 495, ON, fontForm, colourText},
    {idKyslika, "kyslika", kindPicture, "", 4920, 120, 3015, 3015, ON, fontForm, colourText},
    {idCommand19, "Command19", kindButton, "END", 4680, 120, 255, 2535, ON, fontForm, colourText},
    {idCommand20, "Command20", kindButton, "mouse", 4200, 3240, 615, 375, ON, fontForm, colourText},
    {idCommand21, "Command21", kindButton, "time", 4200, 3600, 615, 375, ON, fontForm, colourText},
    {idLogo, "Logo", kindButton, "Logo", 480, 7200, 8175, 255, ON, fontForm, colourText},
    {idCommand22, "Command22", kindButton, "clock ON", 4200, 3960, 615, 495, ON, fontForm, colourText},
    // Labels take no focus.
    {idLabel1, "Label1", kindLabel, "KY computer Software", 120, 120, 1695, 375, ON, fontForm, colourText},
    {idLabelgX, "labelgX", kindLabel, "x=", 2400, 960, 855, 255, ON, fontForm, colourText},
    {idLabelgY, "LabelgY", kindLabel, "y=", 2400, 1320, 975, 255, ON, fontForm, colourText},
    {idLabelgC, "LabelgC", kindLabel, "c=", 2400, 1680, 855, 255, ON, fontForm, colourText},
    {idLabelgF, "LabelgF", kindLabel, "f=", 2400, 2160, 1095, 255, ON, fontForm, colourText},
    {idLabel2, "Label2", kindLabel, "x=1024", 3600, 960, 855, 255, ON, fontForm, colourText},
    {idLabel3, "Label3", kindLabel, "y=768", 3600, 1320, 975, 255, ON, fontForm, colourText},
    {idLabel4, "Label4", kindLabel, "c=32", 3600, 1680, 975, 255, ON, fontForm, colourText},
    {idLabel5, "Label5", kindLabel, "f=0", 3600, 2160, 1095, 255, ON, fontForm, colourText},
    {idLabel12, "Label12", kindLabel, "Model", 6600, 3240, 2895, 255, ON, fontForm, colourText},
    {idLabel13, "Label13", kindLabel, "Serial number", 6600, 3600, 1935, 255, ON, fontForm, colourActiveCaption},
    {idLabel14, "Label14", kindLabel, "Revision", 6600, 3960, 1935, 255, ON, fontForm, colourHighlight},
    {idLabel6, "Label6", kindLabel, "Set Window Transparent ", 5040, 4200, 3015, 255, ON, fontBold12, colourText},
    {idLabel18, "Label18", kindClickLabel, "Click to get Processor speed", 240, 6600, 2295, 255, ON, fontForm,
     colourText},
    {idLabel19, "Label19", kindLabel, "Every control calls kydoru.dll, loaded when first needed", 480, 6840, 8535,
     495, ON, fontBold135, colourText},
    {idLabel22, "Label22", kindClickLabel, "KY Computer Software - the kydoru utility library at work", 480,
     7560, 8175, 255, ON, fontForm, colourText},
};
const size_t formControlCount = sizeof formControls / sizeof formControls[0];

const LineDesign formLines[] = {
    {2280, 120, 4560, 120},
    {4560, 120, 4560, 2640},
    {4560, 2640, 2280, 2640},
    {2280, 2640, 2280, 120},
};
const size_t formLineCount = sizeof formLines / sizeof formLines[0];

// Captions that the controls' own layout would cut. A button breaks its caption twice,
// the second time within the widest line found the first time, and Wine then counts the
// blank after a line against it: a centred caption whose first line holds two words
// ("Get Video" / "Mode") takes a line more than its button has, while left-aligned lines
// are measured with their blank both times. "Set Window Transparent " would lose
// "Transparent" to a second line for its trailing blank alone: one line, the blank cut.
const struct {
    int id;
    ControlText text;
} captionLayouts[] = {
    {idCommand10, textLeftLines},
    {idCommand11, textLeftLines},
    {idLabel6, textOneLine},
};

ControlText captionLayout(int id)
{
    for (const auto &layout : captionLayouts)
        if (layout.id == id)
            return layout.text;
    return textDefault;
}

const ControlDesign *findControl(int id)
{
    for (size_t i = 0; i < formControlCount; ++i)
        if (formControls[i].id == id)
            return &formControls[i];
    return nullptr;
}

bool takesFocus(ControlKind kind)
{
    return kind != kindLabel && kind != kindClickLabel;
}

int twipsToPixels(int twips, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    // Round half away from zero, as the designer's own conversion does.
    long long scaled = static_cast<long long>(twips) * dpi;
    long long half = 720;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : (scaled - half) / 1440);
}
